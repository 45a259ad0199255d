#include "platform/CrashHandler.h"

#include "support/FileText.h"
#include "support/TempFolder.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace ravelo;

namespace {

[[noreturn]] void CrashWithDumpIn(const std::string& folder)
{
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    InstallCrashHandler(folder);
    volatile int* null = nullptr;
    *null = 1;
    std::abort();
}

} // namespace

TEST(CrashHandlerDeathTest, WritesTheDumpAndEndsWithFatalError)
{
    GTEST_FLAG_SET(death_test_style, "fast"); // the child must see this test's folder
    test::TempFolder temp;
    test::WriteText(temp / "Crash.dmp", "an older dump that the new one replaces");
    EXPECT_EXIT(CrashWithDumpIn(temp.Path()), testing::KilledBySignal(SIGSEGV), "Fatal Error");
    const std::string dump = test::ReadText(temp / "Crash.dmp");
    EXPECT_NE(dump.find("Signal: 11 (SEGV)"), std::string::npos) << dump;
    EXPECT_NE(dump.find("Address: 0x0"), std::string::npos) << dump;
    EXPECT_NE(dump.find("Backtrace:"), std::string::npos);
    EXPECT_EQ(dump.find("older dump"), std::string::npos);
}

TEST(CrashHandlerDeathTest, EndsTheSameWayWhenNoDumpCanBeWritten)
{
    GTEST_FLAG_SET(death_test_style, "fast"); // the child must see this test's folder
    EXPECT_EXIT(CrashWithDumpIn("/nonexistent/folder/"), testing::KilledBySignal(SIGSEGV), "Fatal Error");
}
