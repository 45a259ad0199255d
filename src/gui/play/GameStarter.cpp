#include "gui/play/GameStarter.h"

#include "emulator/CGameLauncher.h"
#include "emulator/LaunchHost.h"
#include "platform/StartThread.h"

namespace ravelo {

GameStarter::GameStarter(CGameLauncher& launcher, LaunchHost& host) : m_launcher(launcher), m_host(host) {}

GameStarter::~GameStarter()
{
    Shutdown();
}

template <typename Entry>
bool GameStarter::Begin(Entry entry)
{
    std::lock_guard guard(m_lock);
    if (m_shutDown || m_starting.exchange(true))
        return false;
    if (m_worker.joinable())
        m_worker.join(); // the last set-up has ended; only its thread is left to collect
    m_worker = StartThread([this, entry = std::move(entry)] {
        entry();
        m_starting = false;
    });
    return true;
}

bool GameStarter::StartInstalled(const Gameinfo& game, WindowHandle owner)
{
    return Begin([this, game, owner] { m_launcher.LaunchInstalledGame(&game, owner, m_host); });
}

bool GameStarter::StartLocal(const LocalGame& game, WindowHandle owner)
{
    return Begin([this, game, owner] { m_launcher.LaunchLocalGame(&game, owner, m_host); });
}

void GameStarter::Shutdown()
{
    std::thread worker;
    {
        std::lock_guard guard(m_lock);
        m_shutDown = true;
        worker = std::move(m_worker);
    }
    if (worker.joinable())
        worker.join();
}

} // namespace ravelo
