#include "emulator/CGameLauncher.h"

#include "emulator/CEmulatorManager.h"
#include "emulator/CommandLineTemplate.h"
#include "emulator/EmulatorConfig.h"
#include "emulator/EmulatorMessages.h"
#include "emulator/EmulatorRecords.h"
#include "emulator/GameFileSearch.h"
#include "emulator/GameRunObserver.h"
#include "emulator/PadBinding.h"
#include "platform/DebugOutput.h"
#include "platform/Decimal.h"
#include "platform/FileSystem.h"
#include "platform/StartThread.h"
#include "platform/TopLevelWindows.h"
#include "platform/Translate.h"
#include "settings/AppSettings.h"
#include "store/ListCodec.h"
#include "systems/SystemTable.h"

#include <filesystem>

namespace ravelo {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// This emulator leaves its process behind when its window closes: the launcher ends it then.
constexpr char kWindowWatchedEmulator[] = "1190001";
constexpr char kWatchedWindowTitle[] = "ePSXe - 增强型 PSX 模拟器";
constexpr auto kWindowWatchPeriod = 500ms;

// Arcade emulators load sets by name from their own "roms/" folder.
bool CopiesGameIntoRoms(const std::string& emulatorId)
{
    return emulatorId == "1260001" || emulatorId == "1230001" || emulatorId == "1460001";
}

void CopyIntoRoms(const std::string& gamePath, const std::string& emulatorFolder)
{
    const std::size_t separator = gamePath.find_last_of("/\\");
    const std::string name = separator == std::string::npos ? gamePath : gamePath.substr(separator + 1);
    const std::string roms = emulatorFolder + "/roms/";
    std::error_code error;
    fs::create_directories(roms, error);
    // An existing set is the user's: never overwritten.
    fs::copy_file(gamePath, roms + name, fs::copy_options::skip_existing, error);
    if (error)
        DebugOutput("launcher: copying " + gamePath + " into " + roms + " failed: " + error.message());
}

} // namespace

CGameLauncher::CGameLauncher(Setup setup) : m_setup(std::move(setup)), m_input(m_setup.input)
{
    if (!m_setup.windowExists)
        m_setup.windowExists = TopLevelWindowExists;
}

CGameLauncher::~CGameLauncher()
{
    Shutdown();
}

void CGameLauncher::Shutdown()
{
    {
        std::lock_guard lock(m_lock);
        m_shutDown = true; // no new launch from here on
    }
    StopGame();
    WaitUntilIdle();
    std::thread ending;
    {
        std::lock_guard lock(m_lock);
        ending = std::move(m_thread);
    }
    if (ending.joinable())
        ending.join();
}

void CGameLauncher::SetInputThread(InputThread* input)
{
    std::lock_guard lock(m_lock);
    m_input = input;
}

void CGameLauncher::SetRunObserver(GameRunObserver* observer)
{
    std::lock_guard lock(m_lock);
    m_observer = observer;
}

void CGameLauncher::NotifyStarted(const Launch& launch)
{
    GameRunObserver* observer = nullptr;
    {
        std::lock_guard lock(m_lock);
        observer = m_observer;
    }
    if (observer)
        observer->GameStarted(launch.system, launch.inputKind);
}

void CGameLauncher::NotifyEnded()
{
    GameRunObserver* observer = nullptr;
    {
        std::lock_guard lock(m_lock);
        observer = m_observer;
    }
    if (observer)
        observer->GameEnded();
}

CEmulatorManager& CGameLauncher::Registry() const
{
    return *m_setup.registry;
}

bool CGameLauncher::MarkBusy()
{
    // Busy from the entry on, so a second request while the first still asks its questions is refused.
    std::lock_guard lock(m_lock);
    if (m_busy || m_shutDown)
        return false;
    m_busy = true;
    m_stopRequested = false;
    return true;
}

void CGameLauncher::MarkIdle(std::optional<int> exitCode)
{
    {
        std::lock_guard lock(m_lock);
        m_busy = false;
        m_runningGame.clear();
        if (exitCode)
            m_lastExitCode = *exitCode;
    }
    m_idle.notify_all();
}

bool CGameLauncher::EnsureEmulator(const std::string& system, WindowHandle owner, LaunchHost& host)
{
    return IsNativeSystem(system) ||
           Registry().EnsureInstalled(ParseDecimal(system), owner, host).has_value();
}

std::optional<int> CGameLauncher::ChooseInputKind(const std::string& system, WindowHandle owner,
                                                  LaunchHost& host, std::optional<int> given)
{
    if (given == kInputKindGamepad || given == kInputKindKeyboard)
        return given;
    AppSettings settings(m_setup.settingsFile.empty() ? SettingsFilePath : m_setup.settingsFile);
    if (settings.HandleType == "1")
        return kInputKindGamepad;
    if (settings.HandleType == "2")
        return kInputKindKeyboard;
    if (IsNativeSystem(system))
        return kInputKindGamepad; // a native program is not asked; the kind is not used
    const int chosen = host.ChooseInputKind(owner);
    if (chosen != kInputKindGamepad && chosen != kInputKindKeyboard)
        return std::nullopt;
    // Asked once: the answer is kept so the dialog does not come again.
    settings.HandleType = std::to_string(chosen);
    settings.Save();
    return chosen;
}

std::optional<CGameLauncher::StartResult> CGameLauncher::BeginLaunch(const std::string& system,
                                                                     WindowHandle owner, LaunchHost& host,
                                                                     std::optional<int> given, int& kind)
{
    if (!MarkBusy())
        return StartResult::Busy;
    if (!EnsureEmulator(system, owner, host))
        return GiveUp(StartResult::NoEmulator);
    const std::optional<int> chosen = ChooseInputKind(system, owner, host, given);
    if (!chosen)
        return GiveUp(StartResult::Abandoned);
    kind = *chosen;
    return std::nullopt;
}

CGameLauncher::StartResult CGameLauncher::GiveUp(StartResult why)
{
    MarkIdle(std::nullopt);
    return why;
}

CGameLauncher::StartResult CGameLauncher::LaunchInstalledGame(const Gameinfo* game, WindowHandle owner,
                                                              LaunchHost& host, std::optional<int> inputKind)
{
    if (!game)
        return StartResult::Abandoned;
    int kind = kInputKindGamepad;
    if (const std::optional<StartResult> refused =
            BeginLaunch(game->EmulatorId, owner, host, inputKind, kind))
        return *refused;
    std::optional<std::string> file = GameFileSearch::FindGameFile(*game);
    if (!file) {
        const std::vector<std::string> discs = GameFileSearch::FindDiscs(*game);
        if (discs.empty()) {
            host.ShowMessage(Tr("游戏文件不存在"), Tr("提示"), owner);
            return GiveUp(StartResult::GameFileMissing);
        }
        const int chosen = host.ChooseDisc(static_cast<int>(discs.size()), owner);
        if (chosen < 0 || chosen >= static_cast<int>(discs.size()))
            return GiveUp(StartResult::Abandoned);
        file = discs[static_cast<std::size_t>(chosen)];
    }
    StartLaunchThread({owner, false, game->EmulatorId, *file, game->PlayUrl, kind});
    return StartResult::Started;
}

CGameLauncher::StartResult CGameLauncher::LaunchLocalGame(const LocalGame* game, WindowHandle owner,
                                                          LaunchHost& host, std::optional<int> inputKind)
{
    if (!game)
        return StartResult::Abandoned;
    int kind = kInputKindGamepad;
    if (const std::optional<StartResult> refused =
            BeginLaunch(game->EmulatorId, owner, host, inputKind, kind))
        return *refused;
    if (!PathExists(game->FilePath)) {
        host.ShowMessage(Tr("游戏文件不存在"), Tr("提示"), owner);
        return GiveUp(StartResult::GameFileMissing);
    }
    StartLaunchThread({owner, true, game->EmulatorId, game->FilePath, game->PlayUrl, kind});
    return StartResult::Started;
}

void CGameLauncher::StartLaunchThread(Launch launch)
{
    std::lock_guard lock(m_lock);
    m_system = launch.system;
    m_inputKind = launch.inputKind;
    m_runningGame = launch.gamePath;
    // The last launch thread has marked the launcher idle and is ending; only its handle is left.
    if (m_thread.joinable())
        m_thread.join();
    m_thread = StartThread([this, launch = std::move(launch)] {
        if (IsNativeSystem(launch.system))
            RunNativeProgram(launch);
        else
            RunEmulatorGame(launch);
    });
}

void CGameLauncher::RunEmulatorGame(const Launch& launch)
{
    CEmulatorManager& registry = Registry();
    const std::optional<EmulatorInfo> emulator = registry.FindInstalledByType(ParseDecimal(launch.system));
    const std::string folder = emulator ? registry.EmulatorFolder(*emulator) : std::string();
    if (folder.empty()) {
        MarkIdle(0);
        return;
    }
    AppSettings settings(m_setup.settingsFile.empty() ? SettingsFilePath : m_setup.settingsFile);
    if (settings.ShowKeyMapTips == "1")
        PostMessage(launch.owner, kGameLaunchState, 1);

    const EmulatorConfig config(folder, m_setup.documentsFolder.empty() ? EmulatorConfig::DocumentsFolder()
                                                                        : m_setup.documentsFolder);
    config.PrepareUserFolder(*emulator, launch.inputKind);
    config.ApplyConfig(*emulator, launch.gamePath, launch.inputKind);
    InputThread* input = nullptr;
    {
        std::lock_guard lock(m_lock);
        input = m_input;
    }
    if (launch.inputKind == kInputKindGamepad && input)
        PadBinding::BindControllers(*emulator, folder, *input);
    if (CopiesGameIntoRoms(emulator->EmulatorId))
        CopyIntoRoms(launch.gamePath, folder);

    const std::string parameters =
        ApplyCommandLineTemplate(emulator->Executeparam, QuoteGamePath(launch.gamePath));
    NotifyStarted(launch);
    int exitCode = 0;
    std::size_t index = 0;
    while (index < emulator->Executet.size()) {
        // Program names come from the server: only files inside the emulator folder are started.
        const std::string program = EmulatorProgramPath(*emulator, folder, index);
        if (program.empty()) {
            DebugOutput("launcher: refusing program name " + emulator->Executet[index]);
            break;
        }
        exitCode = RunAndWait({program, SplitParameters(parameters), folder}, &*emulator);
        // The first program ends with 1 when it cannot run here: the second one is tried instead.
        if (exitCode != 1 || emulator->Executet.size() < 2 || StopRequested())
            break;
        index = 1;
    }

    NotifyEnded();
    PostMessage(launch.owner, kGameLaunchState, 0);
    config.SaveConfig(*emulator, launch.gamePath, launch.inputKind);
    MarkIdle(exitCode);
}

void CGameLauncher::RunNativeProgram(const Launch& launch)
{
    std::string program;
    if (launch.fullPath) {
        program = launch.gamePath;
    } else {
        std::string target = launch.runTarget;
        for (char& c : target)
            if (c == '\\')
                c = '/';
        // The program named by the catalogue must lie inside the game's folder.
        program = EmulatorConfig::ContainedPath(launch.gamePath, target);
    }
    const std::size_t separator = program.rfind('/');
    int exitCode = 0;
    if (program.empty() || separator == std::string::npos || separator + 1 == program.size()) {
        DebugOutput("launcher: no program to start for " + launch.gamePath);
    } else {
        NotifyStarted(launch);
        exitCode = RunAndWait({program.substr(separator + 1), {}, program.substr(0, separator + 1)}, nullptr);
        NotifyEnded();
    }
    MarkIdle(exitCode);
}

int CGameLauncher::RunAndWait(const ProcessStart& start, const EmulatorInfo* emulator)
{
    Process process;
    std::string error;
    if (!process.Start(start, &error)) {
        // Nothing runs: the launch goes on as after a game that ended at once.
        DebugOutput("launcher: " + error);
        return 0;
    }
    {
        std::lock_guard lock(m_lock);
        m_running = &process;
        if (m_stopRequested)
            process.Terminate();
    }
    // Two arcade emulators open a console window beside the game that is hidden elsewhere; a program
    // started here has no console window of its own, so there is nothing to hide.
    const int exitCode = emulator && emulator->EmulatorId == kWindowWatchedEmulator
                             ? WatchWindowThenEnd(process)
                             : process.Wait();
    std::lock_guard lock(m_lock);
    m_running = nullptr;
    return exitCode;
}

int CGameLauncher::WatchWindowThenEnd(Process& process)
{
    // Once its window has been seen and is gone, the emulator is ended. Until the window appears the
    // game is simply waited for, so a slow start is never cut short.
    bool seen = false;
    for (;;) {
        if (const std::optional<int> exitCode = process.WaitFor(kWindowWatchPeriod))
            return *exitCode;
        const std::optional<bool> exists = m_setup.windowExists(kWatchedWindowTitle);
        if (!exists)
            return process.Wait(); // no desktop to ask
        if (*exists) {
            seen = true;
        } else if (seen) {
            process.Terminate();
            process.Wait();
            return 0;
        }
    }
}

std::string CGameLauncher::GetCurrentSystem() const
{
    std::lock_guard lock(m_lock);
    return m_system;
}

int CGameLauncher::GetCurrentInputKind() const
{
    std::lock_guard lock(m_lock);
    return m_inputKind;
}

std::string CGameLauncher::GetRunningGamePath() const
{
    std::lock_guard lock(m_lock);
    return m_runningGame;
}

bool CGameLauncher::IsBusy() const
{
    std::lock_guard lock(m_lock);
    return m_busy;
}

bool CGameLauncher::StopRequested() const
{
    std::lock_guard lock(m_lock);
    return m_stopRequested;
}

int CGameLauncher::WaitUntilIdle()
{
    std::unique_lock lock(m_lock);
    m_idle.wait(lock, [this] { return !m_busy; });
    return m_lastExitCode;
}

void CGameLauncher::StopGame()
{
    std::lock_guard lock(m_lock);
    if (!m_busy)
        return;
    m_stopRequested = true;
    if (m_running)
        m_running->Terminate();
}

} // namespace ravelo
