#pragma once

#include "gui/settings/SettingsMessages.h"

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace ravelo {

/// Runs the settings window's blocking emulator work (the first load of the registry, install,
/// update, removal, resets of key folders) one task at a time on a thread of its own, so that the
/// window never waits on the network, a setup or the disk. The work may ask the user through the
/// emulator host (the prompt broker shows its dialogs on the UI thread). When a task ends,
/// UM_SETTINGS_TASK_DONE with an EmulatorTaskDone reaches the window. Create, use and destroy on the
/// UI thread.
class EmulatorTaskRunner
{
public:
    explicit EmulatorTaskRunner(WindowHandle window);
    /// Joins a task still running: its questions must be answerable meanwhile (the prompt broker
    /// answers "closed" once it is shut down), so the window refuses to close while one runs.
    ~EmulatorTaskRunner();
    EmulatorTaskRunner(const EmulatorTaskRunner&) = delete;
    EmulatorTaskRunner& operator=(const EmulatorTaskRunner&) = delete;

    /// Starts work, which returns whether it succeeded. False (nothing started) while a task runs.
    bool Start(EmulatorTask task, std::string emulatorId, std::function<bool()> work);
    /// Whether a task runs; it counts as running until its message is posted.
    bool IsBusy() const { return m_busy.load(); }

private:
    WindowHandle m_window;
    std::thread m_thread;
    std::atomic<bool> m_busy{false};
};

} // namespace ravelo
