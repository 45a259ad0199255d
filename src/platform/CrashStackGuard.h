#pragma once

#include <cstddef>

namespace ravelo {

/// Gives the calling thread an alternate signal stack of its own for as long as the guard lives, so
/// that the crash handler still runs (and writes its dump) when this thread overflows its stack. A
/// thread that already has one (the main thread after InstallCrashHandler, or an outer guard) keeps it
/// and this guard does nothing. Create it first thing in a thread and let it end with the thread;
/// StartThread does both.
class CrashStackGuard
{
public:
    /// The calling thread. Never fails the thread: without memory for a stack, the thread simply runs
    /// without one (a crash in it then ends the process without a dump).
    CrashStackGuard();
    /// The same thread. Switches the alternate stack off before freeing it.
    ~CrashStackGuard();
    CrashStackGuard(const CrashStackGuard&) = delete;
    CrashStackGuard& operator=(const CrashStackGuard&) = delete;

    /// True when this guard installed the thread's alternate stack.
    bool Installed() const { return m_mapping != nullptr; }

private:
    void* m_mapping = nullptr; // a guard page, then the stack
    std::size_t m_mappingSize = 0;
};

} // namespace ravelo
