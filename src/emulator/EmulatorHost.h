#pragma once

#include "platform/Messages.h"
#include "store/EmulatorInfo.h"

#include <string>

namespace ravelo {

class SetupWorker;

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

    /// The setup popup for the emulator's package (worker.Task() is SetupTask::Emulator) over parent
    /// under title: the host runs worker.Run once (on a thread of its choice) with a receiver of its
    /// progress records, may offer worker.Cancel, shows failures itself (kind 9) and returns
    /// worker.Succeeded(). The default runs it on the calling thread and shows nothing.
    virtual bool RunPackageSetup(const EmulatorInfo& record, const std::string& title, WindowHandle parent,
                                 SetupWorker& worker);
};

} // namespace ravelo
