#include "gui/catalogue/CatalogueWorker.h"

#include "service/CatalogueClient.h"
#include "service/CatalogueMessages.h"

namespace ravelo {

CatalogueWorker::CatalogueWorker(CatalogueClient& client) : m_client(client)
{
    m_worker = std::thread([this] { Loop(); });
}

CatalogueWorker::~CatalogueWorker()
{
    {
        std::lock_guard lock(m_lock);
        m_stop = true;
        m_jobs.clear();
    }
    m_wake.notify_all();
    m_worker.join();
}

void CatalogueWorker::Run(std::function<void()> job)
{
    {
        std::lock_guard lock(m_lock);
        if (m_stop)
            return;
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_one();
}

void CatalogueWorker::FetchDetail(const CGame& game, bool useCache, WindowHandle window)
{
    Run([this, game, useCache, window] {
        auto copy = std::make_unique<CGame>(game);
        if (m_client.FetchGameDetail(*copy, useCache, true, window))
            ravelo::PostMessage(window, UM_DETAIL_LOADED, 0, std::move(copy));
    });
}

void CatalogueWorker::Loop()
{
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(m_lock);
            m_wake.wait(lock, [this] { return m_stop || !m_jobs.empty(); });
            if (m_stop)
                return;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        job();
    }
}

} // namespace ravelo
