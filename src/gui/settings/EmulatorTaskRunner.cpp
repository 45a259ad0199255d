#include "gui/settings/EmulatorTaskRunner.h"

#include "platform/StartThread.h"

#include <memory>

namespace ravelo {

EmulatorTaskRunner::EmulatorTaskRunner(WindowHandle window) : m_window(window) {}

EmulatorTaskRunner::~EmulatorTaskRunner()
{
    if (m_thread.joinable())
        m_thread.join();
}

bool EmulatorTaskRunner::Start(EmulatorTask task, std::string emulatorId, std::function<bool()> work)
{
    if (m_busy.load())
        return false;
    if (m_thread.joinable())
        m_thread.join(); // the last task has posted its message; only its handle is left
    m_busy = true;
    m_thread = StartThread([this, task, id = std::move(emulatorId), work = std::move(work)] {
        auto done = std::make_unique<EmulatorTaskDone>();
        done->task = task;
        done->emulatorId = id;
        done->succeeded = work();
        // Not busy before the message: the window may start the next task when it handles it.
        m_busy = false;
        PostMessage(m_window, UM_SETTINGS_TASK_DONE, 0, std::move(done));
    });
    return true;
}

} // namespace ravelo
