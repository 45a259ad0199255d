#include "updater/UpdaterCommandLine.h"

#include <gtest/gtest.h>

namespace ravelo {
namespace {

TEST(UpdaterCommandLine, ReadsWhatTheProgramPassesAndRefusesTheRest)
{
    std::string error;
    const auto line = ParseUpdaterCommandLine(
        {"--install", "/opt/ravelo/", "--wait", "4242", "--start", "ravelo", "--timeout", "5"}, error);
    ASSERT_TRUE(line) << error;
    EXPECT_EQ(line->installFolder, "/opt/ravelo/");
    EXPECT_EQ(line->waitPid, 4242);
    EXPECT_EQ(line->program, "ravelo");
    EXPECT_EQ(line->sourceFolder, "");
    EXPECT_EQ(line->timeoutSeconds, 5);

    const std::vector<std::vector<std::string>> refused = {
        {},
        {"--install", "/opt/ravelo/", "--wait", "4242"},
        {"--install", "relative/", "--wait", "4242", "--start", "ravelo"},
        {"--install", "/opt/ravelo/", "--wait", "-1", "--start", "ravelo"},
        {"--install", "/opt/ravelo/", "--wait", "12x", "--start", "ravelo"},
        {"--install", "/opt/ravelo/", "--wait", "4242", "--start", "../../bin/sh"},
        {"--install", "/opt/ravelo/", "--wait", "4242", "--start", "ravelo", "--start", "other"},
        {"--install", "/opt/ravelo/", "--wait", "4242", "--start", "ravelo", "--unknown", "x"},
        {"--install", "/opt/ravelo/", "--wait", "4242", "--start"},
    };
    for (const auto& arguments : refused) {
        error.clear();
        EXPECT_FALSE(ParseUpdaterCommandLine(arguments, error));
        EXPECT_FALSE(error.empty());
    }
}

} // namespace
} // namespace ravelo
