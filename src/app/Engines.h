#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace ravelo {

class CEmulatorManager;
class CGameLauncher;
class CMyGameStore;
class CatalogueClient;
class DownloadManager;
class DropImporter;
class InputThread;
class LibraryDatabase;
class LocalScanWorker;
class PadExitCombo;
class PageViewPinger;
class PictureQueue;
class InstalledGameSink;

/// Owns every engine of the program: builds them in dependency order, hands out references, and
/// shuts them down in reverse order, each ending and joining its threads. The windows, ravelo-cli and
/// the tests receive what they use from here; nothing reaches for a process-wide instance.
/// Made after the program paths are known and the HTTP library is initialised; Shutdown (or the
/// destructor) must run before the HTTP library is cleaned up.
class Engines
{
public:
    struct Setup
    {
        std::string databaseFile;   // the library database
        std::string instanceFolder; // emulators live under its "Emulator/"
        std::string dataFolder;     // package archives are fetched into it
        std::string settingsFile;
        std::string emulatorListUrl;
        std::string imageCacheFolder;
        std::string pictureHost;
        /// Decides whether a downloaded picture is one; empty: its signature is checked. The windows
        /// give a full decode check.
        std::function<bool(const std::string& path)> pictureValidator;
    };

    /// The program's engines over the program-wide paths and settings.
    static Setup ProgramSetup();

    explicit Engines(Setup setup);
    /// Shutdown().
    ~Engines();
    Engines(const Engines&) = delete;
    Engines& operator=(const Engines&) = delete;

    /// The thread that made the root (the UI thread); idempotent. Ends the engines in the reverse of
    /// the order they were made: picture downloads, a running game, imports and the scan, the input
    /// thread, emulator work, downloads, catalogue requests and page views, then the database after
    /// its queue ran.
    void Shutdown();

    LibraryDatabase& Database() { return *m_database; }
    CatalogueClient& Catalogue() { return *m_catalogue; }
    PageViewPinger& PageViews() { return *m_pageViews; }
    CMyGameStore& MyGames() { return *m_myGames; }
    DownloadManager& Downloads() { return *m_downloads; }
    CEmulatorManager& Emulators() { return *m_emulators; }
    LocalScanWorker& LocalScan() { return *m_localScan; }
    DropImporter& Drops() { return *m_drops; }
    CGameLauncher& Launcher() { return *m_launcher; }
    PictureQueue& Pictures() { return *m_pictures; }

    /// Any thread. The input thread owns SDL; it is started on first use (a command that never needs
    /// pads never starts SDL) and given to the launcher then, together with the pad combo that ends a
    /// running game.
    InputThread& Input();

    /// Any thread; blocks up to the list request's time-out the first time. Reads the installed
    /// emulators and the server's emulator list once; later calls return at once.
    CEmulatorManager& LoadedEmulators();

    /// Any thread. Applies a new games folder and re-arms the local scan on it.
    void ChangeGamesFolder(const std::string& romPath);

private:
    Setup m_setup;
    std::unique_ptr<LibraryDatabase> m_database;
    std::unique_ptr<CatalogueClient> m_catalogue;
    std::unique_ptr<PageViewPinger> m_pageViews;
    std::unique_ptr<CMyGameStore> m_myGames;
    std::unique_ptr<DownloadManager> m_downloads;
    std::unique_ptr<CEmulatorManager> m_emulators;
    std::unique_ptr<LocalScanWorker> m_localScan;
    std::unique_ptr<DropImporter> m_drops;
    std::unique_ptr<CGameLauncher> m_launcher;
    std::unique_ptr<InstalledGameSink> m_installedSink;
    std::unique_ptr<PictureQueue> m_pictures;

    std::once_flag m_emulatorsLoaded;
    std::mutex m_inputLock; // guards m_input and m_padExit
    std::unique_ptr<InputThread> m_input;
    std::unique_ptr<PadExitCombo> m_padExit; // Start+Back on a pad ends the running game
    bool m_shutDown = false;                 // the owning thread's
};

} // namespace ravelo
