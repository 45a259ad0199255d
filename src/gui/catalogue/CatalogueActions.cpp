#include "gui/catalogue/CatalogueActions.h"

#include "app/Engines.h"
#include "download/AddTaskResult.h"
#include "download/DownloadManager.h"
#include "emulator/CEmulatorManager.h"
#include "emulator/EmulatorHost.h"
#include "gui/play/GameStarter.h"
#include "library/CMyGameStore.h"
#include "platform/Decimal.h"
#include "platform/StartThread.h"
#include "platform/Translate.h"
#include "systems/SystemTable.h"

namespace ravelo {

CatalogueActions::CatalogueActions(Engines& engines, EmulatorHost& host, GameStarter& starter)
    : m_engines(engines), m_host(host), m_starter(starter)
{
    m_worker = StartThread([this] { RunInstalls(); });
}

CatalogueActions::~CatalogueActions()
{
    Shutdown();
}

void CatalogueActions::Act(TileAction action, const CGame& game, WindowHandle parent)
{
    switch (action) {
    case TileAction::Install: {
        std::lock_guard guard(m_lock);
        if (m_stop)
            return;
        for (const Install& waiting : m_installs)
            if (waiting.game.gameid == game.gameid)
                return; // asked twice before the first was done
        m_installs.push_back({game, parent});
        m_wake.notify_one();
        return;
    }
    case TileAction::Stop:
        m_engines.Downloads().SetCommand(game.gameid, TaskCommand::Stop);
        return;
    case TileAction::Resume:
        m_engines.Downloads().SetCommand(game.gameid, TaskCommand::Start);
        return;
    case TileAction::Play:
        Play(game, parent);
        return;
    case TileAction::None:
        return;
    }
}

std::size_t CatalogueActions::PendingInstalls() const
{
    std::lock_guard guard(m_lock);
    return m_installs.size() + (m_installing ? 1 : 0);
}

void CatalogueActions::RunInstalls()
{
    for (;;) {
        Install next;
        {
            std::unique_lock guard(m_lock);
            m_wake.wait(guard, [this] { return m_stop || !m_installs.empty(); });
            if (m_stop)
                return;
            next = std::move(m_installs.front());
            m_installs.pop_front();
            m_installing = true;
        }
        InstallOne(next);
        std::lock_guard guard(m_lock);
        m_installing = false;
    }
}

void CatalogueActions::InstallOne(const Install& install)
{
    const CGame& game = install.game;
    if (!IsNativeSystem(game.emulatorid)) {
        CEmulatorManager& emulators = m_engines.LoadedEmulators();
        if (!emulators.EnsureInstalled(ParseDecimal(game.emulatorid), install.parent, m_host))
            return; // no emulator offered, or its setup failed or was cancelled: the popup said so
    }
    const AddTaskResult added = m_engines.Downloads().AddTask(game, install.parent);
    if (added != AddTaskResult::Added && added != AddTaskResult::AlreadyAdded)
        m_host.ShowMessage(std::string(Tr("无法添加下载任务: ")) + AddTaskFailureText(added), Tr("提示"),
                           install.parent);
}

void CatalogueActions::Play(const CGame& game, WindowHandle parent)
{
    for (const Gameinfo& installed : m_engines.MyGames().InstalledGames()) {
        if (installed.GameId == game.gameid) {
            m_starter.StartInstalled(installed, parent);
            return;
        }
    }
}

void CatalogueActions::Shutdown()
{
    {
        std::lock_guard guard(m_lock);
        m_stop = true;
        m_installs.clear();
    }
    m_wake.notify_all();
    if (m_worker.joinable())
        m_worker.join();
}

} // namespace ravelo
