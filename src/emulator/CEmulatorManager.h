#pragma once

#include "emulator/EmulatorHost.h"
#include "platform/Messages.h"
#include "platform/Process.h"
#include "store/EmulatorInfo.h"

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace ravelo {

class LibraryDatabase;

/// The emulator registry: which emulators the server offers (available) and which are installed
/// (mirrored in the library's EmulatorInfo table), keyed by EmulatorId in byte-wise order. One lock
/// guards both maps; lookups hand out copies, so a refresh never pulls a record from under a reader.
class CEmulatorManager
{
public:
    /// Where the registry keeps things. The database must be given and outlive the registry.
    struct Setup
    {
        std::string listUrl;        // the emulator list endpoint
        std::string instanceFolder; // the program folder; emulators live under its "Emulator/"
        std::string dataFolder;     // the package archive goes here
        LibraryDatabase* database = nullptr;
        std::string settingsFile = {};    // empty: the program's settings file
        std::string documentsFolder = {}; // empty: the user's documents folder
    };

    /// Makes an empty registry; Load fills it.
    explicit CEmulatorManager(Setup setup);
    CEmulatorManager(const CEmulatorManager&) = delete;
    CEmulatorManager& operator=(const CEmulatorManager&) = delete;
    /// Shutdown().
    ~CEmulatorManager();

    /// Any thread but the registry's workers; idempotent. Waits for a running refresh to end; ends an
    /// emulator the stand-alone run still runs and waits until its files are saved back.
    void Shutdown();

    /// Calling thread, blocking. Reads the installed emulators from the library, then fetches the
    /// server list. A failed fetch leaves the available map empty and says nothing; returns whether
    /// the list was loaded.
    bool Load();

    /// Any thread. Replaces the available map with the emulators of an emulator list text (the first
    /// of a duplicate id in key order wins; records whose id or name cannot be a folder name are left
    /// out). Text that is not an emulator list changes nothing and gives false.
    bool RebuildFromText(const std::string& text);

    /// Any thread. Copies of the maps in key order.
    std::vector<EmulatorInfo> Available() const;
    std::vector<EmulatorInfo> Installed() const;

    /// Any thread. The installed (available) emulator of a system with the smallest id, if any.
    std::optional<EmulatorInfo> FindInstalledByType(int system) const;
    bool HasInstalledType(int system) const;
    std::optional<EmulatorInfo> FindAvailableByType(int system) const;
    std::optional<EmulatorInfo> FindAvailable(const std::string& emulatorId) const;
    std::optional<EmulatorInfo> FindInstalled(const std::string& emulatorId) const;

    /// A launch or worker thread (the host's setup may block it). The installed emulator of the
    /// system, else the server's first offer for it installed through host; none when nothing is
    /// offered, the setup failed or the insert was refused.
    std::optional<EmulatorInfo> EnsureInstalled(int system, WindowHandle parent, EmulatorHost& host);

    /// The user's install of a listed emulator. False when it is installed already or the setup
    /// failed; true when it was unpacked and recorded.
    bool Install(const EmulatorInfo& record, WindowHandle parent, EmulatorHost& host);

    /// Asks "是否删除模拟器"; on yes forgets the emulator, drops its row and deletes its folder. False
    /// (asking nothing) when it is not installed, and on "no".
    bool Uninstall(const EmulatorInfo& record, WindowHandle parent, EmulatorHost& host);

    enum class UpdateResult
    {
        NotInstalled,
        UpToDate,
        Declined,
        SetupFailed,
        Updated,
    };
    /// The update check of an available record against its installed copy (version rule of
    /// VersionNumber); says "已是最新版本" or offers the update through host.
    UpdateResult CheckUpdate(const EmulatorInfo* offered, WindowHandle parent, EmulatorHost& host);

    /// Any thread. Starts a worker that fetches the list and, when it parses, replaces the available
    /// map and posts kEmulatorListRefreshed to window. False (nothing started) while one runs or while
    /// an emulator runs stand-alone.
    bool RefreshAsync(WindowHandle window);
    /// Any thread. Waits for a running refresh to end (command line and tests).
    void WaitForRefresh();

    /// Any thread. Runs the emulator without a game on a worker of its own, so the user can set it up:
    /// the user's files of the stored input kind go in first and come back after it ended. False
    /// (nothing started) while another stand-alone run goes on, or when the record names no program
    /// inside its folder.
    bool RunStandalone(const EmulatorInfo& record);
    /// Any thread. Waits for a stand-alone run to end (command line and tests).
    void WaitForStandalone();
    /// Any thread. Whether a stand-alone run goes on (its emulator runs or its files are being put in
    /// place or saved back).
    bool IsStandaloneRunning() const { return m_standaloneRunning.load(); }
    /// Any thread. Ends the emulator of a stand-alone run, if one runs, without waiting; its worker
    /// then saves its files back as after a normal end.
    void EndStandalone();
    /// Any thread. Opens the emulator's folder in the file manager; false when there is no opener.
    bool OpenFolder(const EmulatorInfo& record) const;

    /// Any thread. Inserts a copy under its id; false when the id is present already.
    bool AddInstalled(const EmulatorInfo& record);
    /// Any thread. Forgets the installed emulator with this id; false when there is none.
    bool RemoveInstalled(const std::string& emulatorId);
    /// Any thread. Overwrites the installed record with the same id; false when there is none.
    bool UpdateInstalled(const EmulatorInfo& record);

    /// The folder of a record under this registry's program folder, without a trailing '/'; empty
    /// when its names cannot be folder names.
    std::string EmulatorFolder(const EmulatorInfo& record) const;

private:
    using RecordMap = std::map<std::string, std::unique_ptr<EmulatorInfo>>;

    LibraryDatabase& Database() const;
    bool FetchList(std::string& body) const;
    bool SetUpAndRecord(const EmulatorInfo& record, WindowHandle parent, EmulatorHost& host);
    static std::optional<EmulatorInfo> FindByType(const RecordMap& map, int system);
    void RunStandaloneWorker(const EmulatorInfo& record, const std::string& folder,
                             const std::string& program);

    Setup m_setup;
    mutable std::mutex m_lock; // guards both maps
    RecordMap m_available;
    RecordMap m_installed;

    std::mutex m_refreshLock; // guards the worker handle
    std::thread m_refreshThread;
    std::atomic<bool> m_refreshing{false};

    std::mutex m_standaloneLock; // guards the worker handle and the process pointer
    std::thread m_standaloneThread;
    std::atomic<bool> m_standaloneRunning{false};
    Process* m_standaloneProcess = nullptr; // the worker's emulator while it runs
    bool m_standaloneEndAsked = false;      // EndStandalone came before the emulator started
};

} // namespace ravelo
