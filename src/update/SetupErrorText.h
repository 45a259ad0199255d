#pragma once

#include <string>

namespace ravelo {

/// The setup worker's own error codes; libcurl's result numbers and HTTP statuses are reported as
/// they are.
enum SetupErrorCode : int
{
    kSetupNoAddress = 1000,
    kSetupNoLength = 1001,
    kSetupCannotCreateFile = 1002,
    kSetupUnpackFailed = 1003,
    kSetupWindowsOnly = 1004, // a Windows runtime package on this system
    kSetupInstallerNotStarted = 1005,
    kSetupChecksumMismatch = 1006, // the update package is not the one the update answer names
    kSetupNotPortable = 1007,      // no writable portable install to update in place
};

/// Any thread. The text the popup shows for an error code: our own codes, libcurl's result names of
/// 1 to 91 as they stood in libcurl 7.39, else "错误代码=" and the number.
std::string SetupErrorText(int code);

} // namespace ravelo
