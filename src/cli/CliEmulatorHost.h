#pragma once

#include "emulator/EmulatorHost.h"

namespace ravelo::cli {

/// The command line's answers to the emulator registry. There is no one to ask: the command itself
/// is the user's yes. Messages and the setup's progress go to stderr. Public, so that other commands
/// that drive the registry (launch) can derive their hosts from it.
class CliEmulatorHost : public EmulatorHost
{
public:
    /// Always yes.
    bool AskYesNo(const std::string& text, const std::string& caption, WindowHandle parent) override;

    /// Prints text on stderr.
    void ShowMessage(const std::string& text, const std::string& caption, WindowHandle parent) override;

    /// Calling thread, blocking. Runs worker on a thread of its own and prints its records as they
    /// arrive: a progress line while downloading and unpacking, the error text of a failure, the
    /// success text at the end. Returns worker.Succeeded().
    bool RunPackageSetup(const EmulatorInfo& record, const std::string& title, WindowHandle parent,
                         SetupWorker& worker) override;
};

} // namespace ravelo::cli
