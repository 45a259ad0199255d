#pragma once

#include <chrono>

namespace ravelo {

/// The setup worker's limits; the defaults are the program's, tests shorten them.
struct SetupOptions
{
    long connectTimeoutSeconds = 5;
    /// A transfer that receives nothing for this long ends and is resumed (no limit on a whole piece).
    long stallSeconds = 30;
    /// The pause before resuming after network trouble, doubling up to retryPauseMax.
    std::chrono::milliseconds retryPauseFirst{250};
    std::chrono::milliseconds retryPauseMax{4000};
    /// Resumes in a row that bring no byte before the last error is reported.
    int idleRetries = 8;
    /// The installer is waited for in slices of this length, one progress step each.
    std::chrono::milliseconds installerSlice{400};
    /// Runs the runtime packages' installers as a Windows system would (tests, with stand-in
    /// installers); otherwise they are refused at once.
    bool runtimePackagesInstallable = false;
    /// The system's bitness for the package table; 0 asks GetOsBitness.
    int bitness = 0;
};

} // namespace ravelo
