#include "download/DownloadNotifier.h"

#include "download/DownloadMessages.h"

#include <algorithm>

namespace ravelo {

void DownloadNotifier::AddListener(WindowHandle window, const std::string& gameId, std::uintptr_t cookie)
{
    std::lock_guard guard(m_lock);
    m_listeners.push_back({window, gameId, cookie});
}

void DownloadNotifier::RemoveListener(WindowHandle window, const std::string& gameId, std::uintptr_t cookie)
{
    std::lock_guard guard(m_lock);
    std::erase_if(m_listeners, [&](const Listener& l) {
        return l.window == window && l.gameId == gameId && l.cookie == cookie;
    });
}

void DownloadNotifier::NotifyListeners(const std::string& gameId, TaskStatus status)
{
    std::lock_guard guard(m_lock);
    std::erase_if(m_listeners, [&](const Listener& l) {
        if (l.gameId != gameId)
            return false;
        // Posting only queues the message, so holding the lock here is short.
        return !PostMessage(l.window, UM_ITEM_STATE, ToWParam(status),
                            std::make_unique<ItemStateCookie>(ItemStateCookie{gameId, l.cookie}));
    });
}

void DownloadNotifier::NotifyProgress(const DownloadProgress& progress)
{
    std::lock_guard guard(m_lock);
    std::erase_if(m_listeners, [&](const Listener& l) {
        return l.gameId == progress.gameId &&
               !PostMessage(l.window, UM_DOWNLOAD_PROGRESS, 0, std::make_unique<DownloadProgress>(progress));
    });
}

std::size_t DownloadNotifier::ListenerCount() const
{
    std::lock_guard guard(m_lock);
    return m_listeners.size();
}

void DownloadNotifier::AddCountWatcher(WindowHandle window, int count)
{
    std::lock_guard guard(m_lock);
    std::erase_if(m_watchers, [&](const CountWatcher& w) { return w.window == window; });
    if (PostMessage(window, UM_DOWNLOAD_COUNT, static_cast<std::uintptr_t>(count)))
        m_watchers.push_back({window, count});
}

void DownloadNotifier::RemoveCountWatcher(WindowHandle window)
{
    std::lock_guard guard(m_lock);
    std::erase_if(m_watchers, [&](const CountWatcher& w) { return w.window == window; });
}

void DownloadNotifier::PostCount(int count)
{
    std::lock_guard guard(m_lock);
    std::erase_if(m_watchers, [&](CountWatcher& w) {
        if (w.lastCount == count)
            return false;
        w.lastCount = count;
        return !PostMessage(w.window, UM_DOWNLOAD_COUNT, static_cast<std::uintptr_t>(count));
    });
}

std::size_t DownloadNotifier::CountWatcherCount() const
{
    std::lock_guard guard(m_lock);
    return m_watchers.size();
}

} // namespace ravelo
