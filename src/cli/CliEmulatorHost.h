#pragma once

#include "emulator/EmulatorHost.h"

namespace ravelo {
class MessageQueue;
}

namespace ravelo::cli {

/// The command line's answers to the emulator registry. There is no one to ask: the command itself
/// is the user's yes. Messages and the setup's progress go to stderr. Public, so that other commands
/// that drive the registry (launch) can derive their hosts from it.
class CliEmulatorHost : public EmulatorHost
{
public:
    /// interrupts, when given, is the command's queue that an InterruptWatcher posts UM_CLI_INTERRUPT
    /// to: a setup then cancels on Ctrl-C. The queue outlives the host.
    explicit CliEmulatorHost(MessageQueue* interrupts = nullptr) : m_interrupts(interrupts) {}

    /// Always yes.
    bool AskYesNo(const std::string& text, const std::string& caption, WindowHandle parent) override;

    /// Prints text on stderr.
    void ShowMessage(const std::string& text, const std::string& caption, WindowHandle parent) override;

    /// Calling thread, blocking. Runs worker on a thread of its own and prints its records as they
    /// arrive: a progress line while downloading and unpacking, the error text of a failure, the
    /// success text at the end. Returns worker.Succeeded().
    bool RunPackageSetup(const EmulatorInfo& record, const std::string& title, WindowHandle parent,
                         SetupWorker& worker) override;

    /// Whether the user cancelled a setup with Ctrl-C.
    bool Cancelled() const { return m_cancelled; }

private:
    MessageQueue* m_interrupts;
    bool m_cancelled = false;
};

} // namespace ravelo::cli
