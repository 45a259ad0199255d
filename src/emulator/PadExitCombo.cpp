#include "emulator/PadExitCombo.h"

#include "emulator/CGameLauncher.h"
#include "input/InputMessages.h"
#include "input/InputThread.h"
#include "platform/DebugOutput.h"
#include "platform/IniFile.h"
#include "platform/StartThread.h"
#include "settings/AppPaths.h"

namespace ravelo {

PadExitCombo::PadExitCombo(CGameLauncher& launcher, InputThread& input, std::string settingsFile,
                           std::chrono::milliseconds hold)
    : m_launcher(launcher), m_input(input), m_settingsFile(std::move(settingsFile)), m_hold(hold)
{
    m_timer = StartThread([this] { Run(); });
}

PadExitCombo::~PadExitCombo()
{
    StopWatching();
    {
        std::lock_guard lock(m_lock);
        m_ending = true;
    }
    m_changed.notify_all();
    m_timer.join();
}

void PadExitCombo::GameStarted(const std::string&, int)
{
    const std::string file = m_settingsFile.empty() ? SettingsFilePath : m_settingsFile;
    if (ReadProfileString(file, "Set", kSettingKey, "1") == "0")
        return;
    {
        std::lock_guard lock(m_lock);
        if (m_watching)
            return;
        m_watching = true;
        m_hold.Reset();
    }
    // Not under the lock: the input thread delivers the first summary and states before this returns.
    m_input.AddStateWatch(m_registration.Handle());
}

void PadExitCombo::GameEnded()
{
    StopWatching();
}

void PadExitCombo::StopWatching()
{
    {
        std::lock_guard lock(m_lock);
        if (!m_watching)
            return;
        m_watching = false;
    }
    m_input.RemoveStateWatch(m_registration.Handle());
    {
        std::lock_guard lock(m_lock);
        m_hold.Reset();
    }
    m_changed.notify_all();
}

bool PadExitCombo::IsWatching() const
{
    std::lock_guard lock(m_lock);
    return m_watching;
}

int PadExitCombo::Fired() const
{
    std::lock_guard lock(m_lock);
    return m_fired;
}

void PadExitCombo::Deliver(Message message)
{
    std::lock_guard lock(m_lock);
    if (!m_watching)
        return;
    if (message.id == WM_PAD_SUMMARY) {
        m_hold.Reset();
    } else if (message.id == WM_PAD_STATE) {
        if (const std::unique_ptr<PadState> state = message.TakePayload<PadState>())
            m_hold.Update(message.wParam, *state, ExitComboHold::Clock::now());
    } else {
        return;
    }
    m_changed.notify_all();
}

void PadExitCombo::Run()
{
    std::unique_lock lock(m_lock);
    while (!m_ending) {
        const std::optional<ExitComboHold::Clock::time_point> due = m_hold.Due();
        if (!due) {
            m_changed.wait(lock);
            continue;
        }
        m_changed.wait_until(lock, *due);
        if (m_ending || !m_watching || !m_hold.Fire(ExitComboHold::Clock::now()))
            continue;
        ++m_fired;
        lock.unlock();
        DebugOutput("pad: Start and Back held, ending the game");
        m_launcher.StopGame();
        lock.lock();
    }
}

} // namespace ravelo
