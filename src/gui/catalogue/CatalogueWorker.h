#pragma once

#include "platform/Messages.h"
#include "service/CGame.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace ravelo {

class CatalogueClient;

/// Runs the catalogue windows' blocking exchanges (game details, suggestions) on a worker of its own,
/// one after another, so that a window never waits for the network, not even to close. Jobs own
/// what they work on and answer by posting to a window handle; a window that has gone simply
/// receives nothing. Its destructor drops the jobs not begun and waits for the running one (at most
/// its time-out).
class CatalogueWorker
{
public:
    explicit CatalogueWorker(CatalogueClient& client);
    ~CatalogueWorker();
    CatalogueWorker(const CatalogueWorker&) = delete;
    CatalogueWorker& operator=(const CatalogueWorker&) = delete;

    /// Any thread; returns at once. Fetches the game's detail on its own copy of the game: the
    /// client's messages go to window, then the copy, filled with the detail's fields, as
    /// UM_DETAIL_LOADED with a CGame payload.
    void FetchDetail(const CGame& game, bool useCache, WindowHandle window);
    /// Any thread; returns at once. job runs on the worker.
    void Run(std::function<void()> job);

private:
    void Loop();

    CatalogueClient& m_client;
    std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_jobs;
    bool m_stop = false;
    std::thread m_worker;
};

} // namespace ravelo
