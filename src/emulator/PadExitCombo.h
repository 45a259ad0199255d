#pragma once

#include "emulator/ExitComboHold.h"
#include "emulator/GameRunObserver.h"
#include "platform/Messages.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace ravelo {

class CGameLauncher;
class InputThread;

/// Leaving any game from the couch: while a game runs, holding Start and Back together on one pad for
/// the hold time ends the game the way the program's own stop does (CGameLauncher::StopGame: the
/// game's process group is asked to end, then ended after a grace period), so everything after a
/// normal end still happens. It watches the pads' states on the input thread only while a game runs,
/// and only when the setting "Set/PadExitCombo" is not "0" (read at each game's start). Register it
/// with CGameLauncher::SetRunObserver; clear that before destroying it.
class PadExitCombo final : public GameRunObserver, private MessageReceiver
{
public:
    static constexpr std::chrono::milliseconds kHold{1500};
    /// The settings file's key (section "Set") that switches the combo off with "0".
    static constexpr const char* kSettingKey = "PadExitCombo";

    /// Any thread. The launcher and the input thread must outlive the combo; settingsFile empty: the
    /// program's settings file.
    PadExitCombo(CGameLauncher& launcher, InputThread& input, std::string settingsFile = {},
                 std::chrono::milliseconds hold = kHold);
    /// Stops watching and joins the timer thread.
    ~PadExitCombo() override;
    PadExitCombo(const PadExitCombo&) = delete;
    PadExitCombo& operator=(const PadExitCombo&) = delete;

    /// Launch thread. Starts watching the pads unless the setting switches the combo off.
    void GameStarted(const std::string& system, int inputKind) override;
    /// Launch thread. Stops watching; after this returns no state of the game reaches the combo.
    void GameEnded() override;

    /// Any thread. Whether pad states are being watched (a game runs and the combo is on).
    bool IsWatching() const;
    /// Any thread. How many times the combo has ended a game.
    int Fired() const;

private:
    /// Input thread: a pad's state or the pad summary.
    void Deliver(Message message) override;
    /// The timer thread: waits until a hold is due, then stops the game.
    void Run();
    void StopWatching();

    CGameLauncher& m_launcher;
    InputThread& m_input;
    std::string m_settingsFile;

    mutable std::mutex m_lock; // guards everything below
    std::condition_variable m_changed;
    ExitComboHold m_hold;
    bool m_watching = false;
    bool m_ending = false;
    int m_fired = 0;
    std::thread m_timer;

    // Last, so destroyed first: once unregistered, nothing is delivered to the members above.
    ScopedReceiverRegistration m_registration{this};
};

} // namespace ravelo
