#include "input/DeviceChangeWatcher.h"

#include "platform/DebugOutput.h"
#include "platform/StartThread.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <linux/netlink.h>
#include <poll.h>
#include <pthread.h>
#include <string_view>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <unistd.h>

namespace ravelo {

namespace {

// What SDL's own folder watch reacts to: nodes made, removed, renamed, or given new permissions (a
// node may become readable only once udev has set its access).
constexpr std::uint32_t kNodeMask = IN_CREATE | IN_DELETE | IN_MOVED_TO | IN_MOVED_FROM | IN_ATTRIB;
constexpr unsigned kUdevGroup = 2; // udevd's broadcasts, after its rules have run

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

int OpenUevents()
{
    const int fd = ::socket(AF_NETLINK, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, NETLINK_KOBJECT_UEVENT);
    if (fd < 0)
        return -1;
    sockaddr_nl address{};
    address.nl_family = AF_NETLINK;
    address.nl_groups = kUdevGroup;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

DeviceChangeWatcher::DeviceChangeWatcher(std::function<void()> onChange, const std::string& devFolder,
                                         bool listenToUdev)
    : m_onChange(std::move(onChange)), m_devFolder(devFolder)
{
    m_stop = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    m_inotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_inotify >= 0) {
        m_devWatch = ::inotify_add_watch(m_inotify, m_devFolder.c_str(), kNodeMask | IN_ONLYDIR);
        WatchInputFolder();
    }
    if (listenToUdev)
        m_uevents = OpenUevents();
    if (m_stop < 0) {
        DebugOutput("input: no stop descriptor for the device watcher; pads are seen only on request");
        return;
    }
    m_thread = StartThread([this] { Run(); });
}

DeviceChangeWatcher::~DeviceChangeWatcher()
{
    if (m_thread.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_stop, &one, sizeof one);
        m_thread.join();
    }
    for (const int fd : {m_inotify, m_uevents, m_stop})
        if (fd >= 0)
            ::close(fd);
}

void DeviceChangeWatcher::WatchInputFolder()
{
    // The folder appears with the first input device on some systems, so it may be missing at first.
    m_inputWatch = ::inotify_add_watch(m_inotify, (m_devFolder + "/input").c_str(), kNodeMask | IN_ONLYDIR);
}

bool DeviceChangeWatcher::IsInputUevent(const char* data, std::size_t length)
{
    const std::string_view message(data, length);
    if (!StartsWith(message, "libudev"))
        return false; // the kernel's own messages come before udev has set devices up
    for (std::size_t at = 0; at < message.size();) {
        const std::size_t end = message.find('\0', at);
        const std::string_view field = message.substr(at, end == std::string_view::npos ? end : end - at);
        if (field == "SUBSYSTEM=input" || field == "SUBSYSTEM=hidraw")
            return true;
        if (end == std::string_view::npos)
            break;
        at = end + 1;
    }
    return false;
}

bool DeviceChangeWatcher::ReadFolderChanges()
{
    bool relevant = false;
    alignas(inotify_event) char buffer[16 * 1024];
    for (;;) {
        const ssize_t length = ::read(m_inotify, buffer, sizeof buffer);
        if (length < 0 && errno == EINTR)
            continue;
        if (length <= 0)
            return relevant;
        for (ssize_t offset = 0; offset < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
            offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            if (event->mask & IN_Q_OVERFLOW) {
                relevant = true;
                continue;
            }
            if (event->wd == m_inputWatch) {
                if (event->mask & IN_IGNORED)
                    m_inputWatch = -1;
                relevant = true;
                continue;
            }
            if (event->wd != m_devWatch || event->len == 0)
                continue;
            const std::string_view name(event->name);
            if (name == "input") {
                if (m_inputWatch < 0 && (event->mask & (IN_CREATE | IN_MOVED_TO)))
                    WatchInputFolder();
                relevant = true;
            } else if (StartsWith(name, "hidraw")) {
                relevant = true;
            }
        }
    }
}

bool DeviceChangeWatcher::ReadUevents()
{
    bool relevant = false;
    char buffer[8 * 1024];
    for (;;) {
        const ssize_t length = ::recv(m_uevents, buffer, sizeof buffer, MSG_DONTWAIT);
        if (length < 0 && errno == EINTR)
            continue;
        if (length < 0 && errno == ENOBUFS) {
            relevant = true; // messages were dropped: one of them may have been a pad
            continue;
        }
        if (length <= 0)
            return relevant;
        relevant = IsInputUevent(buffer, static_cast<std::size_t>(length)) || relevant;
    }
}

void DeviceChangeWatcher::Run()
{
    pthread_setname_np(pthread_self(), "ravelo-devices");
    pollfd fds[3] = {{m_stop, POLLIN, 0}, {m_inotify, POLLIN, 0}, {m_uevents, POLLIN, 0}};
    for (;;) {
        if (::poll(fds, 3, -1) < 0) {
            if (errno == EINTR)
                continue;
            DebugOutput(std::string("input: device watch failed: ") + std::strerror(errno));
            return;
        }
        if (fds[0].revents)
            return;
        for (pollfd& fd : fds) {
            // A descriptor the kernel has given up on would wake poll at once, again and again.
            if (fd.revents & (POLLNVAL | POLLHUP)) {
                DebugOutput("input: a device watch source failed and is no longer watched");
                fd.fd = -1;
                fd.revents = 0;
            }
        }
        bool relevant = false;
        if (fds[1].revents)
            relevant = ReadFolderChanges() || relevant;
        if (fds[2].revents)
            relevant = ReadUevents() || relevant;
        if (relevant)
            m_onChange();
    }
}

} // namespace ravelo
