#pragma once

#include "platform/Messages.h"
#include "service/PictureMessages.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace ravelo {

/// Fetches catalogue pictures into the image cache in the background for the windows that show them.
/// A window asks with Request(window, requestId, address) and receives one UM_PICTURE_READY per
/// request: the cached file, or the default icon when the picture cannot be had. Each distinct picture
/// is downloaded once however many requests wait for it, at most maxRunning at a time, the most
/// recently requested first. A scheduler thread starts workers up to that limit; a worker goes on with
/// the newest waiting picture when it finishes one and ends when none waits, so an idle queue holds
/// only the sleeping scheduler. The queue owns and joins every thread. Everything is callable from any
/// thread except a worker's (the validator's).
class PictureQueue
{
public:
    struct Options
    {
        std::string cacheFolder; // ImageCacheFolder in the program
        std::string pictureHost; // base address of relative picture addresses, e.g. "http://host:8650"
        int maxRunning = 10;     // downloads at once, at least 1
        /// Decides on a complete download (the temporary file's path) before it enters the cache; runs
        /// on the workers, several at once. Empty: the signature check of IsPictureFile.
        std::function<bool(const std::string& path)> validator;
        std::uint64_t maxBytes = 8u * 1024u * 1024u; // a longer answer is not a picture we keep; 0: none
    };

    /// Starts the scheduler.
    explicit PictureQueue(Options options);
    /// Shutdown().
    ~PictureQueue();
    PictureQueue(const PictureQueue&) = delete;
    PictureQueue& operator=(const PictureQueue&) = delete;

    /// Returns at once. The result goes to window as UM_PICTURE_READY carrying requestId. An address
    /// that cannot be made into a safe cache file, or names a scheme other than http(s), is answered
    /// with the default icon at once, without fetching. Asking again with the same window and request
    /// id replaces the earlier request. Ignored after Shutdown.
    void Request(WindowHandle window, std::uint64_t requestId, const std::string& address);

    /// Drops every request of window (a page that refills or closes). A picture nobody waits for any
    /// more is not fetched; one already downloading still lands in the cache, and posts nothing.
    void Cancel(WindowHandle window);
    /// Drops one request.
    void Cancel(WindowHandle window, std::uint64_t requestId);

    /// Waits until no request waits and no download runs (every result posted); false after timeout.
    bool WaitUntilIdle(std::chrono::milliseconds timeout) const;

    /// Idempotent. Drops waiting requests, cuts running downloads short (nothing is cached or posted
    /// for them), ends the scheduler and joins every thread.
    void Shutdown();

private:
    using RequestKey = std::pair<WindowHandle, std::uint64_t>;

    /// One distinct picture, named by its cache file.
    struct Entry
    {
        std::string url;
        std::vector<RequestKey> waiters; // in the order they asked
        std::uint64_t order = 0;         // while not started: the sequence number of its newest request
        bool running = false;
    };

    /// A picture a worker fetches.
    struct Job
    {
        std::string path; // the cache file, which names the entry
        std::string url;
    };

    void RunScheduler();
    void RunWorker(std::uint64_t worker, Job job);
    bool FetchInto(const std::string& path, const std::string& url);

    // With m_lock held.
    void DropRequestLocked(const RequestKey& key);
    void DropWaiterLocked(const RequestKey& key, const std::string& path);
    std::vector<RequestKey> TakeWaitersLocked(const std::string& path);
    /// Marks the most recently requested waiting entry as running and hands it out.
    Job TakeNewestLocked();
    void JoinFinishedLocked(std::unique_lock<std::mutex>& lock);

    static void Post(const std::vector<RequestKey>& to, const std::string& localPath, bool failed);

    Options m_options;

    mutable std::mutex m_lock;
    std::condition_variable m_wake;         // the scheduler: new work, a finished download, shutdown
    mutable std::condition_variable m_idle; // WaitUntilIdle: a download finished or requests were dropped
    std::map<std::string, Entry> m_entries; // by cache path
    std::map<RequestKey, std::string> m_requests;   // each waiting request's entry
    std::map<std::uint64_t, std::string> m_waiting; // entries not started, by order (newest last)
    std::map<std::uint64_t, std::thread> m_workers;
    std::vector<std::uint64_t> m_finished; // workers that are done and wait to be joined
    std::uint64_t m_nextOrder = 1;
    std::uint64_t m_nextWorker = 1;
    int m_running = 0;
    bool m_stopping = false;
    std::atomic<bool> m_abort{false}; // cuts running transfers short at shutdown

    std::mutex m_shutdownLock; // one Shutdown at a time
    std::thread m_scheduler;
};

} // namespace ravelo
