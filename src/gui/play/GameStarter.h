#pragma once

#include "platform/Messages.h"
#include "store/Gameinfo.h"
#include "store/LocalGame.h"

#include <atomic>
#include <mutex>
#include <thread>

namespace ravelo {

class CGameLauncher;
class LaunchHost;

/// Starts games for the windows. The launcher's entry may fetch the system's emulator and asks its
/// questions (control method, disc, setup progress) through the host, which shows them from the UI
/// thread; so the entry runs on a worker of this object's, never on the UI thread. One start at a
/// time: a start asked for while another is still being set up is refused. The launcher posts the
/// start and end of the game (UM_SHOW_KEYMAP_TIPS) to the owner window.
class GameStarter
{
public:
    /// Both must outlive the starter.
    GameStarter(CGameLauncher& launcher, LaunchHost& host);
    /// Shutdown().
    ~GameStarter();
    GameStarter(const GameStarter&) = delete;
    GameStarter& operator=(const GameStarter&) = delete;

    /// UI thread. Starts an installed catalogue game (a copy is taken) over owner; false when another
    /// start is being set up or the starter is shut down.
    bool StartInstalled(const Gameinfo& game, WindowHandle owner);
    /// UI thread. The same for a game imported from disk.
    bool StartLocal(const LocalGame& game, WindowHandle owner);

    /// Any thread. Whether a start is being set up (the game itself may run longer).
    bool IsStarting() const { return m_starting.load(); }

    /// UI thread; idempotent. Waits for the set-up in progress (its questions are answered "closed"
    /// once the prompt broker is shut down first) and refuses later starts.
    void Shutdown();

private:
    template <typename Entry>
    bool Begin(Entry entry);

    CGameLauncher& m_launcher;
    LaunchHost& m_host;
    std::mutex m_lock; // guards m_worker and m_shutDown
    std::thread m_worker;
    bool m_shutDown = false;
    std::atomic<bool> m_starting{false};
};

} // namespace ravelo
