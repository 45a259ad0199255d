#include "service/PictureQueue.h"

#include "platform/DebugOutput.h"
#include "platform/FileSystem.h"
#include "platform/StartThread.h"
#include "service/HttpTransport.h"
#include "service/PictureCachePath.h"
#include "service/PictureSignature.h"

#include <memory>
#include <sys/stat.h>
#include <system_error>

namespace ravelo {
namespace {

/// A cached picture is a regular file of at least one byte; an empty one is fetched again.
bool IsCached(const std::string& path)
{
    struct stat info = {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0;
}

} // namespace

PictureQueue::PictureQueue(Options options) : m_options(std::move(options))
{
    m_options.cacheFolder = WithTrailingSeparator(m_options.cacheFolder);
    while (!m_options.pictureHost.empty() && m_options.pictureHost.back() == '/')
        m_options.pictureHost.pop_back();
    if (m_options.maxRunning < 1)
        m_options.maxRunning = 1;
    if (!m_options.validator)
        m_options.validator = &IsPictureFile;
    m_scheduler = StartThread(&PictureQueue::RunScheduler, this);
}

PictureQueue::~PictureQueue()
{
    Shutdown();
}

void PictureQueue::Request(WindowHandle window, std::uint64_t requestId, const std::string& address)
{
    const std::string path = PictureCachePath(m_options.cacheFolder, address);
    const std::string url = path.empty() ? std::string() : PictureFetchUrl(m_options.pictureHost, address);
    const RequestKey key{window, requestId};
    {
        std::lock_guard guard(m_lock);
        if (m_stopping)
            return;
        DropRequestLocked(key);
        if (!url.empty()) {
            Entry& entry = m_entries[path];
            if (!entry.running && entry.waiters.empty())
                entry.url = url; // a new entry; a running one keeps the address it fetches
            entry.waiters.push_back(key);
            m_requests.emplace(key, path);
            if (!entry.running) {
                // Asked again: it moves to the front of the line.
                m_waiting.erase(entry.order);
                entry.order = m_nextOrder++;
                m_waiting.emplace(entry.order, path);
                m_wake.notify_one();
            }
            return;
        }
    }
    DebugOutput("picture address refused: " + address);
    Post({key}, kDefaultGameIcon, true);
}

void PictureQueue::Cancel(WindowHandle window)
{
    std::lock_guard guard(m_lock);
    const auto first = m_requests.lower_bound(RequestKey{window, 0});
    auto last = first;
    while (last != m_requests.end() && last->first.first == window) {
        DropWaiterLocked(last->first, last->second);
        ++last;
    }
    m_requests.erase(first, last);
    m_idle.notify_all();
}

void PictureQueue::Cancel(WindowHandle window, std::uint64_t requestId)
{
    std::lock_guard guard(m_lock);
    DropRequestLocked(RequestKey{window, requestId});
    m_idle.notify_all();
}

bool PictureQueue::WaitUntilIdle(std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(m_lock);
    return m_idle.wait_for(lock, timeout, [&] { return m_entries.empty() && m_running == 0; });
}

void PictureQueue::Shutdown()
{
    std::lock_guard once(m_shutdownLock);
    {
        std::lock_guard guard(m_lock);
        m_stopping = true;
        m_abort = true;
        // Waiting requests are dropped; running entries stay until their workers end.
        for (const auto& [order, path] : m_waiting)
            m_entries.erase(path);
        m_waiting.clear();
        m_requests.clear();
    }
    m_wake.notify_all();
    if (m_scheduler.joinable())
        m_scheduler.join();
    std::map<std::uint64_t, std::thread> workers;
    {
        std::lock_guard guard(m_lock);
        workers.swap(m_workers);
        m_finished.clear();
    }
    for (auto& [id, worker] : workers)
        worker.join();
    m_idle.notify_all();
}

void PictureQueue::RunScheduler()
{
    std::unique_lock lock(m_lock);
    for (;;) {
        m_wake.wait(lock, [&] {
            return m_stopping || !m_finished.empty() ||
                   (m_running < m_options.maxRunning && !m_waiting.empty());
        });
        if (!m_finished.empty()) {
            JoinFinishedLocked(lock);
            continue;
        }
        if (m_stopping)
            return;
        while (m_running < m_options.maxRunning && !m_waiting.empty()) {
            Job job = TakeNewestLocked();
            ++m_running;
            const std::uint64_t worker = m_nextWorker++;
            try {
                m_workers.emplace(worker, StartThread(&PictureQueue::RunWorker, this, worker, job));
            } catch (const std::system_error&) {
                // No thread to fetch with: the waiters get the default icon and may ask again.
                DebugOutput("picture queue: cannot start a download thread");
                --m_running;
                const std::vector<RequestKey> waiters = TakeWaitersLocked(job.path);
                lock.unlock();
                Post(waiters, kDefaultGameIcon, true);
                lock.lock();
                m_idle.notify_all();
            }
        }
    }
}

PictureQueue::Job PictureQueue::TakeNewestLocked()
{
    const auto newest = std::prev(m_waiting.end());
    Job job;
    job.path = newest->second;
    m_waiting.erase(newest);
    Entry& entry = m_entries.at(job.path);
    entry.running = true;
    entry.order = 0;
    job.url = entry.url;
    return job;
}

void PictureQueue::JoinFinishedLocked(std::unique_lock<std::mutex>& lock)
{
    std::vector<std::thread> done;
    for (const std::uint64_t id : m_finished) {
        const auto it = m_workers.find(id);
        if (it == m_workers.end())
            continue;
        done.push_back(std::move(it->second));
        m_workers.erase(it);
    }
    m_finished.clear();
    lock.unlock();
    for (std::thread& worker : done)
        worker.join(); // each has returned from its last step or is about to
    lock.lock();
}

void PictureQueue::RunWorker(std::uint64_t worker, Job job)
{
    // A worker keeps its slot while pictures wait, so a busy queue does not start a thread per picture.
    for (;;) {
        bool fetched = false;
        try {
            fetched = FetchInto(job.path, job.url);
        } catch (...) {
            fetched = false; // nothing may escape a thread; the waiters get the default icon
        }
        std::vector<RequestKey> waiters;
        bool stopping = false;
        {
            std::lock_guard guard(m_lock);
            waiters = TakeWaitersLocked(job.path);
            stopping = m_stopping;
        }
        if (!stopping)
            Post(waiters, fetched ? job.path : std::string(kDefaultGameIcon), !fetched);
        std::lock_guard guard(m_lock);
        if (m_stopping || m_waiting.empty()) {
            --m_running;
            m_finished.push_back(worker);
            // The scheduler (or Shutdown) joins this thread once it sees it here.
            m_wake.notify_one();
            m_idle.notify_all();
            return;
        }
        job = TakeNewestLocked();
    }
}

bool PictureQueue::FetchInto(const std::string& path, const std::string& url)
{
    if (IsCached(path))
        return true;
    DownloadChecks checks;
    checks.maxBytes = m_options.maxBytes;
    checks.accept = m_options.validator;
    checks.abort = &m_abort;
    if (DownloadFile(url, path, checks) == 1)
        return true;
    if (!m_abort)
        DebugOutput("picture " + url + " could not be fetched");
    return false;
}

void PictureQueue::DropRequestLocked(const RequestKey& key)
{
    const auto it = m_requests.find(key);
    if (it == m_requests.end())
        return;
    DropWaiterLocked(key, it->second);
    m_requests.erase(it);
}

void PictureQueue::DropWaiterLocked(const RequestKey& key, const std::string& path)
{
    const auto it = m_entries.find(path);
    if (it == m_entries.end())
        return;
    Entry& entry = it->second;
    std::erase(entry.waiters, key);
    if (entry.running || !entry.waiters.empty())
        return;
    // Nobody waits and it has not started: it is never fetched.
    m_waiting.erase(entry.order);
    m_entries.erase(it);
}

std::vector<PictureQueue::RequestKey> PictureQueue::TakeWaitersLocked(const std::string& path)
{
    std::vector<RequestKey> waiters;
    const auto it = m_entries.find(path);
    if (it == m_entries.end())
        return waiters;
    waiters = std::move(it->second.waiters);
    m_entries.erase(it);
    for (const RequestKey& key : waiters)
        m_requests.erase(key);
    return waiters;
}

void PictureQueue::Post(const std::vector<RequestKey>& to, const std::string& localPath, bool failed)
{
    for (const auto& [window, requestId] : to) {
        auto result = std::make_unique<PictureResult>();
        result->requestId = requestId;
        result->localPath = localPath;
        result->failed = failed;
        // A window that has gone away simply does not receive it.
        PostMessage(window, UM_PICTURE_READY, 0, std::move(result));
    }
}

} // namespace ravelo
