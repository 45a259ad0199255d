#pragma once

#include <string>

namespace ravelo {

/// Installs handlers for the fatal signals (SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT) on an alternate
/// stack. On a crash the handler writes "Crash.dmp" (signal, faulting address, backtrace) into
/// dumpFolder, replacing any earlier dump, prints "Fatal Error" to stderr, then restores the default
/// action and re-raises so that the system can still keep a core dump. If the dump cannot be
/// created the process ends the same way. Call once, early, on the main thread; it gives the main
/// thread its alternate stack, and threads started with StartThread get their own.
void InstallCrashHandler(const std::string& dumpFolder);

} // namespace ravelo
