#pragma once

#include <map>
#include <string>
#include <vector>

namespace ravelo {

/// Watches folder trees for files that appear (written and closed, moved in, or linked) and for
/// new folders, which it starts watching itself. One thread waits; any thread may Stop. Waiting
/// blocks in the kernel, so an idle watcher costs no CPU.
class FolderWatcher
{
public:
    enum class Change
    {
        FileWritten, // closed after writing, or moved in: the file is complete
        FileCreated, // created (a link, or a file still being written: FileWritten follows)
        FolderAdded, // created or moved in, and now watched with everything below it
    };

    struct Event
    {
        Change change;
        std::string path;
    };

    enum class WaitResult
    {
        Events,   // changes were read; events may still be empty (bookkeeping only)
        Overflow, // the kernel dropped changes: the caller must look at its folders again
        TimedOut,
        Stopped,
        Failed, // the watcher could not be created or its descriptor failed
    };

    /// Creates the inotify and stop descriptors; IsValid() says whether that worked.
    FolderWatcher();
    ~FolderWatcher();
    FolderWatcher(const FolderWatcher&) = delete;
    FolderWatcher& operator=(const FolderWatcher&) = delete;

    bool IsValid() const { return m_inotify >= 0 && m_stop >= 0; }

    /// Waiting thread. Watches the folder and every folder below it (links to folders are not
    /// followed). False when the folder or any folder below it could not be watched (missing,
    /// unreadable, the system's watch limit reached); what could be watched stays watched.
    bool AddTree(const std::string& folder);

    /// Waiting thread. Blocks until changes arrive, Stop is called or timeoutMs passes (-1: no
    /// limit). Events are appended to events (paths are the watched path + '/' + name).
    WaitResult Wait(std::vector<Event>& events, int timeoutMs);

    /// Any thread, also from a destructor racing the waiter: makes the current and every later
    /// Wait return Stopped.
    void Stop();

    /// Number of folders being watched.
    std::size_t WatchCount() const { return m_paths.size(); }

private:
    bool AddOne(const std::string& folder, bool followLink);
    void Decode(const char* buffer, long length, std::vector<Event>& events, bool& overflow);

    int m_inotify = -1;
    int m_stop = -1;
    std::map<int, std::string> m_paths; // watch descriptor -> folder path; waiting thread only
};

} // namespace ravelo
