#include "platform/CrashHandler.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <execinfo.h>
#include <fcntl.h>
#include <unistd.h>

namespace ravelo {
namespace {

constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};

// Everything the handler needs is prepared in advance: it may only make async-signal-safe calls.
char s_dumpPath[4096];
char s_altStack[64 * 1024];

void WriteText(int fd, const char* text)
{
    (void)!::write(fd, text, std::strlen(text));
}

void WriteHex(int fd, unsigned long value)
{
    char buffer[2 + 2 * sizeof(value) + 1];
    char* p = buffer + sizeof(buffer);
    *--p = '\0';
    do {
        *--p = "0123456789abcdef"[value & 0xF];
        value >>= 4;
    } while (value);
    *--p = 'x';
    *--p = '0';
    WriteText(fd, p);
}

void WriteDecimal(int fd, int value)
{
    char buffer[16];
    char* p = buffer + sizeof(buffer);
    *--p = '\0';
    const bool negative = value < 0;
    unsigned v = negative ? -static_cast<unsigned>(value) : static_cast<unsigned>(value);
    do {
        *--p = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v);
    if (negative)
        *--p = '-';
    WriteText(fd, p);
}

void OnFatalSignal(int signal, siginfo_t* info, void*)
{
    const int fd = ::open(s_dumpPath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd >= 0) {
        WriteText(fd, "Ravelo crash dump\nSignal: ");
        WriteDecimal(fd, signal);
        WriteText(fd, " (");
        WriteText(fd, sigabbrev_np(signal) ? sigabbrev_np(signal) : "?");
        WriteText(fd, ")\nAddress: ");
        WriteHex(fd, reinterpret_cast<unsigned long>(info ? info->si_addr : nullptr));
        WriteText(fd, "\nProcess: ");
        WriteDecimal(fd, static_cast<int>(::getpid()));
        WriteText(fd, "\nBacktrace:\n");
        void* frames[64];
        const int count = ::backtrace(frames, 64);
        ::backtrace_symbols_fd(frames, count, fd);
        ::close(fd);
    }
    WriteText(STDERR_FILENO, "Fatal Error\n");

    struct sigaction restore
    {
    };
    restore.sa_handler = SIG_DFL;
    ::sigemptyset(&restore.sa_mask);
    ::sigaction(signal, &restore, nullptr);
    ::raise(signal);
}

} // namespace

void InstallCrashHandler(const std::string& dumpFolder)
{
    std::string path = dumpFolder;
    if (!path.empty() && path.back() != '/')
        path.push_back('/');
    path += "Crash.dmp";
    std::strncpy(s_dumpPath, path.c_str(), sizeof(s_dumpPath) - 1);

    // backtrace() loads its unwinder on first use, which is not safe inside a handler.
    void* warmUp[1];
    ::backtrace(warmUp, 1);

    stack_t stack{};
    stack.ss_sp = s_altStack;
    stack.ss_size = sizeof(s_altStack);
    ::sigaltstack(&stack, nullptr);

    struct sigaction action
    {
    };
    action.sa_sigaction = OnFatalSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    ::sigemptyset(&action.sa_mask);
    for (const int signal : kFatalSignals)
        ::sigaction(signal, &action, nullptr);
}

} // namespace ravelo
