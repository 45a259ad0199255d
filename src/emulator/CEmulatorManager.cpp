#include "emulator/CEmulatorManager.h"

#include "emulator/EmulatorConfig.h"
#include "emulator/EmulatorMessages.h"
#include "emulator/EmulatorRecords.h"
#include "platform/DebugOutput.h"
#include "platform/DesktopOpen.h"
#include "platform/FileSystem.h"
#include "platform/StartThread.h"
#include "platform/TextConvert.h"
#include "platform/Translate.h"
#include "service/HttpTransport.h"
#include "service/ServiceEndpoints.h"
#include "settings/AppPaths.h"
#include "settings/AppSettings.h"
#include "store/LibraryDatabase.h"
#include "update/SetupWorker.h"

#include <filesystem>

namespace ravelo {
namespace {

constexpr long kListTimeoutSeconds = 5;

} // namespace

bool EmulatorHost::RunPackageSetup(const EmulatorInfo&, const std::string&, WindowHandle, SetupWorker& worker)
{
    worker.Run(0);
    return worker.Succeeded();
}

CEmulatorManager::CEmulatorManager(Setup setup) : m_setup(std::move(setup)) {}

CEmulatorManager::~CEmulatorManager()
{
    Shutdown();
}

void CEmulatorManager::Shutdown()
{
    WaitForRefresh();
    EndStandalone();
    WaitForStandalone();
}

void CEmulatorManager::EndStandalone()
{
    std::lock_guard lock(m_standaloneLock);
    // A run still putting its files in place ends its emulator as soon as it has started it.
    if (m_standaloneRunning.load())
        m_standaloneEndAsked = true;
    if (m_standaloneProcess)
        m_standaloneProcess->Terminate();
}

LibraryDatabase& CEmulatorManager::Database() const
{
    return *m_setup.database;
}

bool CEmulatorManager::Load()
{
    std::vector<EmulatorInfo> rows;
    if (!Database().PostWait(DbOperation::LoadEmulators, &rows))
        DebugOutput("emulators: the installed emulators could not be read");
    {
        std::lock_guard lock(m_lock);
        m_installed.clear();
        for (EmulatorInfo& row : rows) {
            const std::string id = row.EmulatorId;
            m_installed.try_emplace(id, std::make_unique<EmulatorInfo>(std::move(row)));
        }
    }
    std::string body;
    return FetchList(body) && RebuildFromText(body);
}

bool CEmulatorManager::FetchList(std::string& body) const
{
    TransferError error;
    if (HttpPost(body, m_setup.listUrl, "", "", kListTimeoutSeconds, &error) != 1) {
        DebugOutput("emulator list: " + m_setup.listUrl + " failed");
        return false;
    }
    return true;
}

bool CEmulatorManager::RebuildFromText(const std::string& text)
{
    const std::unique_ptr<CEmulatorList> list = ParseEmulatorList(text);
    if (!list)
        return false;
    RecordMap fresh;
    for (const auto& array : list->lists) {
        for (const auto& emulator : array) {
            auto record = std::make_unique<EmulatorInfo>(MakeEmulatorInfo(*emulator));
            // A name that would leave the emulator folder (or an id that is not a name) is never
            // offered: installing it would write, and uninstalling delete, outside "Emulator/".
            if (!HasSafeFolderNames(*record)) {
                DebugOutput("emulator list: skipped unsafe emulator " + record->EmulatorId);
                continue;
            }
            const std::string id = record->EmulatorId;
            fresh.try_emplace(id, std::move(record));
        }
    }
    std::lock_guard lock(m_lock);
    m_available.swap(fresh);
    return true;
}

std::vector<EmulatorInfo> CEmulatorManager::Available() const
{
    std::lock_guard lock(m_lock);
    std::vector<EmulatorInfo> records;
    for (const auto& [id, record] : m_available)
        records.push_back(*record);
    return records;
}

std::vector<EmulatorInfo> CEmulatorManager::Installed() const
{
    std::lock_guard lock(m_lock);
    std::vector<EmulatorInfo> records;
    for (const auto& [id, record] : m_installed)
        records.push_back(*record);
    return records;
}

std::optional<EmulatorInfo> CEmulatorManager::FindByType(const RecordMap& map, int system)
{
    for (const auto& [id, record] : map)
        if (record->Emulatortype == system)
            return *record;
    return std::nullopt;
}

std::optional<EmulatorInfo> CEmulatorManager::FindInstalledByType(int system) const
{
    std::lock_guard lock(m_lock);
    return FindByType(m_installed, system);
}

bool CEmulatorManager::HasInstalledType(int system) const
{
    return FindInstalledByType(system).has_value();
}

std::optional<EmulatorInfo> CEmulatorManager::FindAvailableByType(int system) const
{
    std::lock_guard lock(m_lock);
    return FindByType(m_available, system);
}

std::optional<EmulatorInfo> CEmulatorManager::FindAvailable(const std::string& emulatorId) const
{
    std::lock_guard lock(m_lock);
    const auto found = m_available.find(emulatorId);
    return found == m_available.end() ? std::nullopt : std::optional<EmulatorInfo>(*found->second);
}

std::optional<EmulatorInfo> CEmulatorManager::FindInstalled(const std::string& emulatorId) const
{
    std::lock_guard lock(m_lock);
    const auto found = m_installed.find(emulatorId);
    return found == m_installed.end() ? std::nullopt : std::optional<EmulatorInfo>(*found->second);
}

std::string CEmulatorManager::EmulatorFolder(const EmulatorInfo& record) const
{
    return EmulatorFolderOf(record, m_setup.instanceFolder);
}

bool CEmulatorManager::SetUpAndRecord(const EmulatorInfo& record, WindowHandle parent, EmulatorHost& host)
{
    SetupWorker worker(record, EmulatorFolder(record), m_setup.dataFolder);
    if (!host.RunPackageSetup(record, Tr("下载文件"), parent, worker))
        return false;
    if (!AddInstalled(record))
        return false;
    Database().Post(DbOperation::AddEmulator, record);
    return true;
}

std::optional<EmulatorInfo> CEmulatorManager::EnsureInstalled(int system, WindowHandle parent,
                                                              EmulatorHost& host)
{
    if (std::optional<EmulatorInfo> installed = FindInstalledByType(system))
        return installed;
    const std::optional<EmulatorInfo> offered = FindAvailableByType(system);
    if (!offered || !SetUpAndRecord(*offered, parent, host))
        return std::nullopt;
    return offered;
}

bool CEmulatorManager::Install(const EmulatorInfo& record, WindowHandle parent, EmulatorHost& host)
{
    if (FindInstalled(record.EmulatorId))
        return false;
    return SetUpAndRecord(record, parent, host);
}

bool CEmulatorManager::Uninstall(const EmulatorInfo& record, WindowHandle parent, EmulatorHost& host)
{
    if (!FindInstalled(record.EmulatorId))
        return false;
    if (!host.AskYesNo(Tr("是否删除模拟器"), Tr("提示"), parent))
        return false;
    if (!RemoveInstalled(record.EmulatorId))
        return false;
    Database().Post(DbOperation::RemoveEmulator, record.EmulatorId);
    const std::string folder = EmulatorFolder(record);
    if (!folder.empty()) {
        std::error_code error;
        std::filesystem::remove_all(folder, error);
        if (error)
            DebugOutput("emulator folder " + folder + ": " + error.message());
    }
    return true;
}

CEmulatorManager::UpdateResult CEmulatorManager::CheckUpdate(const EmulatorInfo* offered, WindowHandle parent,
                                                             EmulatorHost& host)
{
    if (!offered)
        return UpdateResult::NotInstalled;
    const std::optional<EmulatorInfo> installed = FindInstalled(offered->EmulatorId);
    if (!installed)
        return UpdateResult::NotInstalled;
    if (VersionNumber(offered->Version) <= VersionNumber(installed->Version)) {
        host.ShowMessage(Utf16ToUtf8(offered->Name) + Tr("已是最新版本"), Tr("提示"), parent);
        return UpdateResult::UpToDate;
    }
    if (!host.AskYesNo(Tr("更新说明:\n\n") + Utf16ToUtf8(offered->Description),
                       Tr("提示:检测到新版本") + offered->Version + Tr("是否更新"), parent))
        return UpdateResult::Declined;
    SetupWorker worker(*offered, EmulatorFolder(*offered), m_setup.dataFolder);
    if (!host.RunPackageSetup(*offered, Tr("下载文件"), parent, worker))
        return UpdateResult::SetupFailed;
    if (UpdateInstalled(*offered))
        Database().Post(DbOperation::UpdateEmulator, *offered);
    return UpdateResult::Updated;
}

bool CEmulatorManager::RefreshAsync(WindowHandle window)
{
    std::lock_guard lock(m_refreshLock);
    // The emulator being set up reads its files now; its list entry stays as it is until it ends.
    if (m_refreshing.load() || m_standaloneRunning.load())
        return false;
    if (m_refreshThread.joinable())
        m_refreshThread.join(); // the last worker has finished; only its handle is left
    m_refreshing = true;
    m_refreshThread = StartThread([this, window] {
        std::string body;
        if (FetchList(body) && RebuildFromText(body))
            PostMessage(window, kEmulatorListRefreshed, 0);
        m_refreshing = false;
    });
    return true;
}

void CEmulatorManager::WaitForRefresh()
{
    std::lock_guard lock(m_refreshLock);
    if (m_refreshThread.joinable())
        m_refreshThread.join();
}

bool CEmulatorManager::RunStandalone(const EmulatorInfo& record)
{
    const std::string folder = EmulatorFolder(record);
    const std::string program = EmulatorProgramPath(record, folder, 0);
    if (program.empty())
        return false;
    std::lock_guard lock(m_standaloneLock);
    if (m_standaloneRunning.load())
        return false;
    if (m_standaloneThread.joinable())
        m_standaloneThread.join(); // the last worker has finished; only its handle is left
    m_standaloneRunning = true;
    m_standaloneEndAsked = false;
    m_standaloneThread = StartThread([this, record, folder, program] {
        RunStandaloneWorker(record, folder, program);
        m_standaloneRunning = false;
    });
    return true;
}

void CEmulatorManager::RunStandaloneWorker(const EmulatorInfo& record, const std::string& folder,
                                           const std::string& program)
{
    const AppSettings settings(m_setup.settingsFile.empty() ? SettingsFilePath : m_setup.settingsFile);
    const int kind = settings.HandleType == "2" ? kInputKindKeyboard : kInputKindGamepad;
    const EmulatorConfig config(folder, m_setup.documentsFolder.empty() ? EmulatorConfig::DocumentsFolder()
                                                                        : m_setup.documentsFolder);
    config.PrepareUserFolder(record, kind);
    config.ApplyConfig(record, "", kind);

    Process process;
    std::string error;
    if (process.Start({program, {}, folder}, &error)) {
        {
            std::lock_guard lock(m_standaloneLock);
            m_standaloneProcess = &process;
            if (m_standaloneEndAsked)
                process.Terminate();
        }
        process.Wait();
        std::lock_guard lock(m_standaloneLock);
        m_standaloneProcess = nullptr;
    } else {
        DebugOutput("stand-alone run: " + error);
    }
    config.SaveConfig(record, "", kind);
}

void CEmulatorManager::WaitForStandalone()
{
    // Joined without the lock: the worker takes it to forget its process. A new run cannot start
    // meanwhile, since the worker counts as running until it ends.
    std::thread worker;
    {
        std::lock_guard lock(m_standaloneLock);
        worker = std::move(m_standaloneThread);
    }
    if (worker.joinable())
        worker.join();
}

bool CEmulatorManager::OpenFolder(const EmulatorInfo& record) const
{
    const std::string folder = EmulatorFolder(record);
    return !folder.empty() && OpenWithDesktop(folder);
}

bool CEmulatorManager::AddInstalled(const EmulatorInfo& record)
{
    std::lock_guard lock(m_lock);
    return m_installed.try_emplace(record.EmulatorId, std::make_unique<EmulatorInfo>(record)).second;
}

bool CEmulatorManager::RemoveInstalled(const std::string& emulatorId)
{
    std::lock_guard lock(m_lock);
    return m_installed.erase(emulatorId) > 0;
}

bool CEmulatorManager::UpdateInstalled(const EmulatorInfo& record)
{
    std::lock_guard lock(m_lock);
    const auto found = m_installed.find(record.EmulatorId);
    if (found == m_installed.end())
        return false;
    *found->second = record;
    return true;
}

} // namespace ravelo
