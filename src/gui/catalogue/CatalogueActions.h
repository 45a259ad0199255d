#pragma once

#include "gui/catalogue/GameTileView.h"
#include "platform/Messages.h"
#include "service/CGame.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace ravelo {

class EmulatorHost;
class Engines;
class GameStarter;

/// What a game tile's button does, for every page that shows tiles. Stop and resume are commands to
/// the download engine. An install first makes sure the game's system has an emulator (which may set
/// one up, with its progress shown through the host) and then adds the download; that can take a
/// while, so installs run one after another on a worker of this object's. Play starts the installed
/// game through the game starter. Refusals are shown through the host ("提示" boxes).
class CatalogueActions
{
public:
    /// All three must outlive the object.
    CatalogueActions(Engines& engines, EmulatorHost& host, GameStarter& starter);
    /// Shutdown().
    ~CatalogueActions();
    CatalogueActions(const CatalogueActions&) = delete;
    CatalogueActions& operator=(const CatalogueActions&) = delete;

    /// UI thread. Carries out what the tile's state calls for, over parent.
    void Act(TileAction action, const CGame& game, WindowHandle parent);

    /// Any thread. Installs asked for and not yet done (the one in progress included).
    std::size_t PendingInstalls() const;

    /// UI thread; idempotent. Drops the installs not begun, waits for the one in progress (its
    /// questions are answered "closed" once the prompt broker is shut down first).
    void Shutdown();

private:
    struct Install
    {
        CGame game;
        WindowHandle parent;
    };

    void RunInstalls();
    void InstallOne(const Install& install);
    void Play(const CGame& game, WindowHandle parent);

    Engines& m_engines;
    EmulatorHost& m_host;
    GameStarter& m_starter;

    mutable std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<Install> m_installs;
    bool m_installing = false;
    bool m_stop = false;
    std::thread m_worker;
};

} // namespace ravelo
