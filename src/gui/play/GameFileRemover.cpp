#include "gui/play/GameFileRemover.h"

#include "platform/DebugOutput.h"
#include "platform/StartThread.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QString>

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>

namespace ravelo {

namespace {

/// Moves a file to the desktop's trash. Qt, finding no trash folder, makes one in the working folder:
/// the home trash is made first, and a move that went anywhere but into a trash is undone.
bool MoveToDesktopTrash(const QString& path)
{
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!dataHome.isEmpty()) {
        QDir().mkpath(dataHome + QStringLiteral("/Trash/files"));
        QDir().mkpath(dataHome + QStringLiteral("/Trash/info"));
    }
    const QString files = QStringLiteral("files");
    const QString info = QStringLiteral("info");
    const bool hadFiles = QDir(files).exists();
    const bool hadInfo = QDir(info).exists();
    QString inTrash;
    const bool moved = QFile::moveToTrash(path, &inTrash);
    if (moved && QDir::isAbsolutePath(inTrash))
        return true;
    if (moved) {
        QFile::rename(inTrash, path);
        QFile::remove(info + QLatin1Char('/') + QFileInfo(inTrash).fileName() + QStringLiteral(".trashinfo"));
    }
    // What Qt made in the working folder goes again (only when empty, and only if it was not there).
    if (!hadFiles)
        QDir().rmdir(files);
    if (!hadInfo)
        QDir().rmdir(info);
    return false;
}

bool NothingAt(const std::string& path)
{
    struct stat info
    {
    };
    return ::lstat(path.c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR);
}

} // namespace

GameFileRemover::GameFileRemover(WindowHandle window, std::uint32_t message)
    : m_window(window), m_message(message)
{
    m_thread = StartThread([this] { Run(); });
}

GameFileRemover::~GameFileRemover()
{
    {
        std::lock_guard lock(m_lock);
        m_stop = true;
        m_jobs.clear();
    }
    m_wake.notify_all();
    m_thread.join();
}

void GameFileRemover::RemoveFolder(std::string folder)
{
    Add({std::move(folder), false});
}

void GameFileRemover::MoveToTrash(std::string file)
{
    Add({std::move(file), true});
}

void GameFileRemover::Add(Job job)
{
    {
        std::lock_guard lock(m_lock);
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_all();
}

void GameFileRemover::Run()
{
    std::unique_lock lock(m_lock);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || !m_jobs.empty(); });
        if (m_stop)
            return;
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        lock.unlock();
        // Without its trailing separator a folder that is a link is removed as the link, not followed.
        std::string path = job.path;
        while (path.size() > 1 && path.back() == '/')
            path.pop_back();
        if (job.trash) {
            if (!MoveToDesktopTrash(QString::fromStdString(path)))
                DebugOutput("my games: cannot move " + path + " to the trash");
        } else {
            std::error_code error;
            std::filesystem::remove_all(path, error);
            if (error)
                DebugOutput("my games: removing " + path + " failed: " + error.message());
        }
        auto result = std::make_unique<GameFilesRemoved>();
        result->path = job.path;
        result->gone = NothingAt(path);
        PostMessage(m_window, m_message, 0, std::move(result));
        lock.lock();
    }
}

} // namespace ravelo
