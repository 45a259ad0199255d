#pragma once

#include "download/DownloadMessages.h"
#include "download/TaskStatus.h"
#include "platform/Messages.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace ravelo {

/// Who hears of downloads besides the download centre: listeners of one game (the game tiles, told
/// its status with UM_ITEM_STATE) and watchers of the number of active downloads (UM_DOWNLOAD_COUNT).
/// A receiver that is gone (a post to it fails) is dropped. Any thread; never blocks on a receiver.
class DownloadNotifier
{
public:
    void AddListener(WindowHandle window, const std::string& gameId, std::uintptr_t cookie);
    /// Removes the listener registered with exactly these three values.
    void RemoveListener(WindowHandle window, const std::string& gameId, std::uintptr_t cookie);
    /// Posts UM_ITEM_STATE (status, ItemStateCookie) to each listener of the game.
    void NotifyListeners(const std::string& gameId, TaskStatus status);
    /// Posts a copy of a progress record (UM_DOWNLOAD_PROGRESS) to each listener of its game, so a
    /// tile can show how far its game is.
    void NotifyProgress(const DownloadProgress& progress);
    std::size_t ListenerCount() const;

    /// Registers a watcher (once per window) and posts it `count` at once.
    void AddCountWatcher(WindowHandle window, int count);
    void RemoveCountWatcher(WindowHandle window);
    /// Posts `count` to every watcher that was last told another number.
    void PostCount(int count);
    std::size_t CountWatcherCount() const;

private:
    struct Listener
    {
        WindowHandle window;
        std::string gameId;
        std::uintptr_t cookie;
    };
    struct CountWatcher
    {
        WindowHandle window;
        int lastCount;
    };

    mutable std::mutex m_lock;
    std::vector<Listener> m_listeners;
    std::vector<CountWatcher> m_watchers;
};

} // namespace ravelo
