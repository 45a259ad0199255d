#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <thread>

namespace ravelo {

/// Tells the input thread when input devices may have come or gone, so it pumps SDL only then. SDL
/// learns of pads either from udev (a netlink message) or, where udev is not used, from inotify on
/// /dev/input and /dev (hidraw nodes); this watches the same two sources, and a thread of its own
/// blocks on them without a timeout. Any source that cannot be opened is simply not watched.
class DeviceChangeWatcher
{
public:
    /// Any thread. Starts watching devFolder ("/dev"; tests pass a folder of their own and no udev).
    /// onChange runs on the watcher's thread after each burst of relevant changes; it must not block.
    DeviceChangeWatcher(std::function<void()> onChange, const std::string& devFolder = "/dev",
                        bool listenToUdev = true);
    /// Any thread but the watcher's. Stops and joins the thread; onChange is not called after this.
    ~DeviceChangeWatcher();
    DeviceChangeWatcher(const DeviceChangeWatcher&) = delete;
    DeviceChangeWatcher& operator=(const DeviceChangeWatcher&) = delete;

    /// Any thread. True when a udev message (as broadcast by udevd: "libudev" header, then KEY=value
    /// texts each ending in a zero byte) is about an input or hidraw device.
    static bool IsInputUevent(const char* data, std::size_t length);

private:
    void Run();
    bool ReadFolderChanges();
    bool ReadUevents();
    void WatchInputFolder();

    std::function<void()> m_onChange;
    std::string m_devFolder;
    int m_inotify = -1;
    int m_devWatch = -1;
    int m_inputWatch = -1;
    int m_uevents = -1;
    int m_stop = -1;
    std::thread m_thread;
};

} // namespace ravelo
