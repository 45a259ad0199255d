#include "library/LocalScanWorker.h"

#include "library/LocalGameFiles.h"
#include "library/LocalGameImporter.h"
#include "platform/DebugOutput.h"
#include "platform/FolderWatcher.h"
#include "platform/StartThread.h"
#include "settings/AppPaths.h"

#include <sstream>
#include <sys/stat.h>

namespace ravelo {
namespace {

// A created file that is a link (symbolic or hard) is complete at once; any other created file is
// still being written and is imported when it is closed.
bool IsCompleteOnCreation(const std::string& path)
{
    struct stat info
    {
    };
    return ::lstat(path.c_str(), &info) == 0 && (S_ISLNK(info.st_mode) || info.st_nlink > 1);
}

} // namespace

LocalScanWorker::LocalScanWorker(CMyGameStore& store, std::chrono::milliseconds rescanPeriod)
    : m_store(store), m_rescanPeriod(rescanPeriod)
{
}

LocalScanWorker::~LocalScanWorker()
{
    Stop();
}

bool LocalScanWorker::Start(WindowHandle window)
{
    std::lock_guard lock(m_lock);
    if (m_started)
        return false;
    m_started = true;
    m_thread = StartThread([this, window] { Run(window); });
    return true;
}

void LocalScanWorker::Stop()
{
    Interrupt(m_stop);
    std::lock_guard lock(m_lock);
    if (m_thread.joinable())
        m_thread.join();
}

void LocalScanWorker::GamesFolderChanged()
{
    Interrupt(m_rearm);
}

void LocalScanWorker::Interrupt(std::atomic<bool>& flag)
{
    {
        // The worker publishes its watcher under this lock, so either it sees the flag before it
        // waits or this wakes the wait.
        std::lock_guard signal(m_signalLock);
        flag = true;
        if (m_watcher)
            m_watcher->Stop();
    }
    m_stopSignal.notify_all();
}

bool LocalScanWorker::Interrupted() const
{
    return m_stop.load() || m_rearm.load();
}

std::vector<LocalScanWorker::Root> LocalScanWorker::Roots() const
{
    std::vector<Root> roots;
    const std::string localGames = LocalGameFolder();
    if (localGames.empty())
        return roots;
    std::stringstream codes(SystemCodes);
    for (std::string code; std::getline(codes, code, ',');)
        if (!ExtensionListOf(code).empty())
            roots.push_back({localGames + code, code});
    return roots;
}

bool LocalScanWorker::WatchAll(FolderWatcher& watcher, const std::vector<Root>& roots)
{
    bool all = watcher.IsValid() && !roots.empty();
    for (const Root& root : roots)
        all = watcher.AddTree(root.folder) && all;
    m_watchingAll = all;
    return all;
}

void LocalScanWorker::FullScan(LocalGameImporter& importer)
{
    for (const auto& [path, code] : ScanSystemFolders(0)) {
        if (Interrupted())
            return;
        importer.ImportFoundFile(path, code);
    }
    ++m_fullScans;
}

void LocalScanWorker::HandleChange(LocalGameImporter& importer, const std::vector<Root>& roots, int change,
                                   const std::string& path)
{
    for (const Root& root : roots) {
        if (path.compare(0, root.folder.size() + 1, root.folder + "/") != 0)
            continue;
        if (change == int(FolderWatcher::Change::FolderAdded)) {
            FoundGameFiles found;
            ScanFolderTree(path, root.code, found);
            for (const auto& [file, code] : found)
                importer.ImportFoundFile(file, code);
        } else if (change == int(FolderWatcher::Change::FileWritten) || IsCompleteOnCreation(path)) {
            if (ExtensionMatches(ExtensionListOf(root.code), FileNameOf(path)))
                importer.ImportFoundFile(path, root.code);
        }
        return;
    }
}

void LocalScanWorker::Run(WindowHandle window)
{
    LocalGameImporter importer(m_store, window);
    while (!m_stop.load()) {
        // Cleared before the folders are read, so a change made from here on is seen either by this
        // round's reading or by its watch.
        m_rearm = false;
        WatchAndImport(importer);
    }
}

void LocalScanWorker::WatchAndImport(LocalGameImporter& importer)
{
    FolderWatcher watcher;
    {
        std::lock_guard signal(m_signalLock);
        if (Interrupted())
            return;
        m_watcher = &watcher;
    }
    if (!watcher.IsValid())
        DebugOutput("local scan: folder watching unavailable, rescanning every period");
    std::vector<Root> roots = Roots();
    // Watch before the first scan, so a file that appears during the scan is not missed.
    bool watchingAll = WatchAll(watcher, roots);
    FullScan(importer);
    std::vector<FolderWatcher::Event> events;
    while (!Interrupted()) {
        events.clear();
        const int timeout = watchingAll ? -1 : static_cast<int>(m_rescanPeriod.count());
        const FolderWatcher::WaitResult result =
            watcher.IsValid() ? watcher.Wait(events, timeout) : FolderWatcher::WaitResult::Failed;
        if (result == FolderWatcher::WaitResult::Stopped || Interrupted())
            break;
        if (result == FolderWatcher::WaitResult::Events) {
            for (const FolderWatcher::Event& event : events)
                if (!Interrupted())
                    HandleChange(importer, roots, int(event.change), event.path);
            continue;
        }
        if (result == FolderWatcher::WaitResult::Failed) {
            // No watching at all: the slow rescan is all there is. Wait for the period or a stop.
            std::unique_lock signal(m_signalLock);
            if (m_stopSignal.wait_for(signal, m_rescanPeriod, [this] { return Interrupted(); }))
                break;
        }
        // Time-out, overflow or failure: the folders may have changed unseen. Look again.
        roots = Roots();
        watchingAll = WatchAll(watcher, roots);
        FullScan(importer);
    }
    std::lock_guard signal(m_signalLock);
    m_watcher = nullptr;
}

} // namespace ravelo
