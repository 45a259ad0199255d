#include "app/Engines.h"

#include "download/DownloadManager.h"
#include "download/InstalledGameSink.h"
#include "emulator/CEmulatorManager.h"
#include "emulator/CGameLauncher.h"
#include "emulator/PadExitCombo.h"
#include "input/InputThread.h"
#include "library/CMyGameStore.h"
#include "library/DropImporter.h"
#include "library/LocalScanWorker.h"
#include "service/CatalogueClient.h"
#include "service/PageViewPinger.h"
#include "service/PictureQueue.h"
#include "service/ServiceEndpoints.h"
#include "settings/AppPaths.h"
#include "store/LibraryDatabase.h"

namespace ravelo {
namespace {

/// Games the engine installs join the my-games store at once, whoever shows them.
class MyGamesSink final : public InstalledGameSink
{
public:
    explicit MyGamesSink(CMyGameStore& store) : m_store(store) {}
    void GameInstalled(const Gameinfo& game) override { m_store.PutInstalledGame(game); }

private:
    CMyGameStore& m_store;
};

} // namespace

Engines::Setup Engines::ProgramSetup()
{
    Setup setup;
    setup.databaseFile = InstanceFolder + "database/ravelo.db";
    setup.instanceFolder = InstanceFolder;
    setup.dataFolder = DataFolder;
    setup.settingsFile = SettingsFilePath;
    const ServiceEndpoints endpoints = ServiceEndpoints::Load(SettingsFilePath);
    setup.emulatorListUrl = endpoints.EmulatorListUrl;
    setup.imageCacheFolder = ImageCacheFolder;
    setup.pictureHost = endpoints.PictureHost;
    return setup;
}

Engines::Engines(Setup setup) : m_setup(std::move(setup))
{
    m_database = std::make_unique<LibraryDatabase>(m_setup.databaseFile);
    m_catalogue = std::make_unique<CatalogueClient>();
    m_pageViews = std::make_unique<PageViewPinger>();
    m_myGames = std::make_unique<CMyGameStore>(*m_database);

    DownloadOptions downloads;
    downloads.fetchAddresses = [catalogue = m_catalogue.get()](CDownLoadUrl& answer, const std::string& id) {
        return catalogue->FetchDownloadAddresses(answer, id);
    };
    m_downloads = std::make_unique<DownloadManager>(*m_database, std::move(downloads));
    m_installedSink = std::make_unique<MyGamesSink>(*m_myGames);
    m_downloads->SetInstalledGameSink(m_installedSink.get());

    CEmulatorManager::Setup emulators;
    emulators.listUrl = m_setup.emulatorListUrl;
    emulators.instanceFolder = m_setup.instanceFolder;
    emulators.dataFolder = m_setup.dataFolder;
    emulators.database = m_database.get();
    emulators.settingsFile = m_setup.settingsFile;
    m_emulators = std::make_unique<CEmulatorManager>(std::move(emulators));

    m_localScan = std::make_unique<LocalScanWorker>(*m_myGames);
    m_drops = std::make_unique<DropImporter>(*m_myGames);

    CGameLauncher::Setup launcher;
    launcher.registry = m_emulators.get();
    launcher.settingsFile = m_setup.settingsFile;
    m_launcher = std::make_unique<CGameLauncher>(std::move(launcher));

    PictureQueue::Options pictures;
    pictures.cacheFolder = m_setup.imageCacheFolder;
    pictures.pictureHost = m_setup.pictureHost;
    pictures.validator = m_setup.pictureValidator;
    m_pictures = std::make_unique<PictureQueue>(std::move(pictures));
}

Engines::~Engines()
{
    Shutdown();
}

void Engines::Shutdown()
{
    if (m_shutDown)
        return;
    m_shutDown = true;
    m_pictures->Shutdown();
    m_launcher->Shutdown();
    m_drops->Shutdown();
    m_localScan->Stop();
    {
        std::lock_guard guard(m_inputLock);
        m_launcher->SetRunObserver(nullptr);
        m_padExit.reset();
        m_input.reset();
    }
    m_emulators->Shutdown();
    m_downloads->Shutdown();
    m_pageViews->Shutdown();
    m_catalogue->Shutdown();
    m_database->Shutdown();
}

InputThread& Engines::Input()
{
    std::lock_guard guard(m_inputLock);
    if (!m_input) {
        m_input = std::make_unique<InputThread>();
        m_launcher->SetInputThread(m_input.get());
        m_padExit = std::make_unique<PadExitCombo>(*m_launcher, *m_input, m_setup.settingsFile);
        m_launcher->SetRunObserver(m_padExit.get());
    }
    return *m_input;
}

CEmulatorManager& Engines::LoadedEmulators()
{
    std::call_once(m_emulatorsLoaded, [this] { m_emulators->Load(); });
    return *m_emulators;
}

void Engines::ChangeGamesFolder(const std::string& romPath)
{
    ApplyGamesFolder(romPath);
    CreateSystemFolders(SystemCodes);
    m_localScan->GamesFolderChanged();
}

} // namespace ravelo
