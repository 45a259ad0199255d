// The demo catalogue builder: the same files every time, and an existing catalogue kept safe.
#include "server/DemoBuilder.h"
#include "platform/Md5.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace ravelo::test {
namespace {

std::map<std::string, std::string> Digests(const std::string& root)
{
    std::map<std::string, std::string> digests;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::string path = entry.path().string();
        if (!entry.is_regular_file() || path.find("catalogue.db") != std::string::npos)
            continue;
        digests[path.substr(root.size())] = FileMd5Hex(path).value_or("unreadable");
    }
    return digests;
}

TEST(DemoBuilderTest, BuildsTheSameFilesEveryTimeAndKeepsAnExistingCatalogue)
{
    TempFolder first;
    TempFolder second;
    std::string error;
    server::DemoOptions options;
    options.emulatorProgram = RAVELO_DEMO_EMU_EXE;
    options.updateProgramFolder = RAVELO_PROGRAM_FOLDER;
    options.folder = first.Path();
    ASSERT_TRUE(server::DemoBuilder(options).Build(error)) << error;
    options.folder = second.Path();
    ASSERT_TRUE(server::DemoBuilder(options).Build(error)) << error;
    const auto digests = Digests(first.Path());
    EXPECT_GT(digests.size(), 300u);
    EXPECT_EQ(digests, Digests(second.Path()));

    ASSERT_FALSE(server::DemoBuilder(options).Build(error));
    EXPECT_NE(std::string::npos, error.find("--force"));
    options.force = true;
    options.updateVersion = "0.1.0";
    ASSERT_TRUE(server::DemoBuilder(options).Build(error)) << error;
    // The update package is the programs, whatever version the answer offers: made once, reused.
    EXPECT_EQ(digests.at("download/Update.zip"), Digests(second.Path()).at("download/Update.zip"));
}

} // namespace
} // namespace ravelo::test
