#include "platform/CrashHandler.h"
#include "platform/StartThread.h"

#include "support/FileText.h"
#include "support/TempFolder.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <thread>

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

volatile int s_never = -1;

// Each level keeps a page of its own alive across the call, so the recursion cannot become a loop.
int Recurse(int depth)
{
    volatile char frame[4096];
    frame[0] = static_cast<char>(depth);
    if (depth == s_never)
        return 0;
    return Recurse(depth + 1) + frame[0];
}

[[noreturn]] void OverflowWorkerWithDumpIn(const std::string& folder)
{
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    InstallCrashHandler(folder);
    std::thread worker = StartThread([] { Recurse(0); });
    worker.join();
    std::abort();
}

bool HasAlternateStack()
{
    stack_t current{};
    return ::sigaltstack(nullptr, &current) == 0 && !(current.ss_flags & SS_DISABLE);
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

TEST(CrashHandlerDeathTest, AStackOverflowOnAWorkerThreadStillWritesTheDump)
{
    GTEST_FLAG_SET(death_test_style, "fast"); // the child must see this test's folder
    test::TempFolder temp;
    EXPECT_EXIT(OverflowWorkerWithDumpIn(temp.Path()), testing::KilledBySignal(SIGSEGV), "Fatal Error");
    const std::string dump = test::ReadText(temp / "Crash.dmp");
    EXPECT_NE(dump.find("Signal: 11 (SEGV)"), std::string::npos) << dump;
    EXPECT_NE(dump.find("Backtrace:"), std::string::npos) << dump;
}

TEST(CrashStackGuard, EachStartedThreadHasItsOwnStackAndAnExistingOneIsKept)
{
    bool started = false;
    bool plain = true;
    bool nestedInstalled = true;
    bool keptAfterNested = false;
    bool goneAfterGuard = false;
    const void* outer = nullptr;
    const void* afterNested = nullptr;
    StartThread([&] {
        started = HasAlternateStack();
        stack_t current{};
        ::sigaltstack(nullptr, &current);
        outer = current.ss_sp;
        {
            // An inner guard must neither replace nor free the stack the thread already has.
            const CrashStackGuard inner;
            nestedInstalled = inner.Installed();
        }
        keptAfterNested = HasAlternateStack();
        ::sigaltstack(nullptr, &current);
        afterNested = current.ss_sp;
    }).join();
    std::thread([&] {
        plain = HasAlternateStack();
        {
            const CrashStackGuard guard;
        }
        goneAfterGuard = !HasAlternateStack();
    }).join();

    EXPECT_TRUE(started);
    EXPECT_FALSE(plain) << "a thread does not inherit an alternate stack";
    EXPECT_FALSE(nestedInstalled);
    EXPECT_TRUE(keptAfterNested);
    EXPECT_EQ(afterNested, outer);
    EXPECT_TRUE(goneAfterGuard) << "the stack is switched off before it is freed";
}
