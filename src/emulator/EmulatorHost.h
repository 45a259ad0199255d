#pragma once

#include "platform/Messages.h"
#include "store/EmulatorInfo.h"

#include <string>

namespace ravelo {

class EmulatorPackageInstaller;

/// What the emulator registry asks of whoever drives it: the windows answer with message boxes and
/// the setup popup, the command line with its own prompts, tests with set answers. Called on the
/// thread that called the registry operation; texts are UTF-8.
class EmulatorHost
{
public:
    virtual ~EmulatorHost() = default;

    /// A yes/no question over parent; true for "yes".
    virtual bool AskYesNo(const std::string& text, const std::string& caption, WindowHandle parent) = 0;

    /// A box with an OK button over parent.
    virtual void ShowMessage(const std::string& text, const std::string& caption, WindowHandle parent) = 0;

    /// Fetches and unpacks the emulator's package, showing progress over parent under title and
    /// offering a cancel. The host runs installer.Run (on any one thread) and returns its result; it
    /// reports failures to the user itself (installer.Error()). The default runs it directly.
    virtual bool RunPackageSetup(const EmulatorInfo& record, const std::string& title, WindowHandle parent,
                                 EmulatorPackageInstaller& installer);
};

} // namespace ravelo
