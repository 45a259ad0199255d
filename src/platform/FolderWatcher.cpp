#include "platform/FolderWatcher.h"

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace ravelo {
namespace {

constexpr std::uint32_t kWatchMask = IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE | IN_ONLYDIR | IN_EXCL_UNLINK;

} // namespace

FolderWatcher::FolderWatcher()
{
    m_inotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    m_stop = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
}

FolderWatcher::~FolderWatcher()
{
    if (m_inotify >= 0)
        ::close(m_inotify);
    if (m_stop >= 0)
        ::close(m_stop);
}

bool FolderWatcher::AddOne(const std::string& folder, bool followLink)
{
    // The root may be a link to the real folder; below it, links are not followed, as in the walk.
    const int watch = ::inotify_add_watch(m_inotify, folder.c_str(),
                                          kWatchMask | (followLink ? 0u : std::uint32_t(IN_DONT_FOLLOW)));
    if (watch < 0)
        return false;
    // A folder moved within the tree keeps its descriptor: the new path replaces the old one.
    m_paths[watch] = folder;
    return true;
}

bool FolderWatcher::AddTree(const std::string& folder)
{
    if (!IsValid())
        return false;
    std::string root = folder;
    while (root.size() > 1 && root.back() == '/')
        root.pop_back();
    // Watch first, then walk: a folder made during the walk is then either walked or announced.
    bool all = AddOne(root, true);
    if (!all)
        return false;
    namespace fs = std::filesystem;
    std::error_code error;
    fs::recursive_directory_iterator walk(root, fs::directory_options::skip_permission_denied, error);
    for (const fs::recursive_directory_iterator end; !error && walk != end; walk.increment(error)) {
        std::error_code typeError;
        if (walk->is_directory(typeError) && !walk->is_symlink(typeError))
            all = AddOne(walk->path().string(), false) && all;
    }
    return all && !error;
}

FolderWatcher::WaitResult FolderWatcher::Wait(std::vector<Event>& events, int timeoutMs)
{
    if (!IsValid())
        return WaitResult::Failed;
    pollfd fds[2] = {{m_stop, POLLIN, 0}, {m_inotify, POLLIN, 0}};
    for (;;) {
        const int ready = ::poll(fds, 2, timeoutMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return WaitResult::Failed;
        if (ready == 0)
            return WaitResult::TimedOut;
        if (fds[0].revents)
            return WaitResult::Stopped;
        break;
    }
    bool overflow = false;
    alignas(inotify_event) char buffer[64 * 1024];
    for (;;) {
        const long length = ::read(m_inotify, buffer, sizeof(buffer));
        if (length < 0 && errno == EINTR)
            continue;
        if (length <= 0)
            break; // EAGAIN: everything queued has been read
        Decode(buffer, length, events, overflow);
    }
    return overflow ? WaitResult::Overflow : WaitResult::Events;
}

void FolderWatcher::Decode(const char* buffer, long length, std::vector<Event>& events, bool& overflow)
{
    for (long offset = 0; offset < length;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
        offset += static_cast<long>(sizeof(inotify_event) + event->len);
        if (event->mask & IN_Q_OVERFLOW) {
            overflow = true;
            continue;
        }
        const auto found = m_paths.find(event->wd);
        if (event->mask & IN_IGNORED) {
            if (found != m_paths.end())
                m_paths.erase(found);
            continue;
        }
        if (found == m_paths.end() || event->len == 0)
            continue;
        const std::string path = found->second + "/" + event->name;
        if (event->mask & IN_ISDIR) {
            if (event->mask & (IN_CREATE | IN_MOVED_TO)) {
                AddTree(path);
                events.push_back({Change::FolderAdded, path});
            }
        } else if (event->mask & (IN_CLOSE_WRITE | IN_MOVED_TO)) {
            events.push_back({Change::FileWritten, path});
        } else if (event->mask & IN_CREATE) {
            events.push_back({Change::FileCreated, path});
        }
    }
}

void FolderWatcher::Stop()
{
    if (m_stop >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_stop, &one, sizeof(one));
    }
}

} // namespace ravelo
