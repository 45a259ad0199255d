#pragma once

#include "platform/Messages.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

namespace ravelo {

/// What became of a deletion. Payload of the message the remover posts.
struct GameFilesRemoved
{
    std::string path;
    bool gone = false; // nothing is left at the path
};

/// Deletes games' files off the UI thread, one job after another: an installed game's folder is
/// removed with everything in it (links inside are removed, never followed), a file goes to the
/// desktop's trash, never deleted outright. After each job it posts the message given at construction
/// with a GameFilesRemoved to the window. The destructor finishes the job in progress and drops the
/// rest.
class GameFileRemover
{
public:
    GameFileRemover(WindowHandle window, std::uint32_t message);
    ~GameFileRemover();
    GameFileRemover(const GameFileRemover&) = delete;
    GameFileRemover& operator=(const GameFileRemover&) = delete;

    /// Any thread. Removes the folder and everything in it.
    void RemoveFolder(std::string folder);
    /// Any thread. Moves the file to the desktop's trash.
    void MoveToTrash(std::string file);

private:
    struct Job
    {
        std::string path;
        bool trash = false;
    };

    void Add(Job job);
    void Run();

    WindowHandle m_window;
    std::uint32_t m_message;
    std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<Job> m_jobs;
    bool m_stop = false;
    std::thread m_thread;
};

} // namespace ravelo
