#pragma once

#include "emulator/LaunchHost.h"
#include "platform/Messages.h"
#include "platform/Process.h"
#include "store/EmulatorInfo.h"
#include "store/Gameinfo.h"
#include "store/LocalGame.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace ravelo {

class CEmulatorManager;
class GameRunObserver;
class InputThread;

/// Starts one game at a time: makes sure the system's emulator is installed, asks once how the user
/// plays, finds the game file (or lets the user pick a disc), puts the emulator's key and settings
/// files in place, runs the emulator on a launch thread and saves the files back when it ends.
/// Games of system 138 are native programs and run without an emulator.
class CGameLauncher
{
public:
    struct Setup
    {
        CEmulatorManager* registry = nullptr; // required; must outlive the launcher
        InputThread* input = nullptr;         // null: pads are not bound before gamepad games
        std::string settingsFile;             // empty: the program's settings file
        std::string documentsFolder;          // empty: the user's documents folder
        /// Whether a top-level window with this title exists; none when it cannot be known.
        std::function<std::optional<bool>(const std::string& title)> windowExists;
    };

    enum class StartResult
    {
        Started,         // the launch thread runs the game
        Busy,            // a game is running (or being started): nothing was done
        NoEmulator,      // none installed and none installed now (nothing offered, setup failed)
        Abandoned,       // the user closed the control-method or the multi-disc dialog
        GameFileMissing, // "游戏文件不存在" was shown
    };

    explicit CGameLauncher(Setup setup);
    CGameLauncher(const CGameLauncher&) = delete;
    CGameLauncher& operator=(const CGameLauncher&) = delete;
    /// Shutdown().
    ~CGameLauncher();

    /// Any thread but the launch thread; idempotent. Ends a running game the way StopGame does and
    /// waits until its files are saved back and the launch thread has ended.
    void Shutdown();

    /// UI thread (or the command line's). Owned by the caller; binding pads needs the input thread.
    void SetInputThread(InputThread* input);
    /// Any thread. Told of each game's start and end from the launch thread (null: nobody); owned by
    /// the caller, who clears it (or shuts the launcher down) before it goes away.
    void SetRunObserver(GameRunObserver* observer);

    /// UI thread. Starts an installed catalogue game; the host answers the questions (emulator setup,
    /// control method, disc). inputKind, when given, is used for this launch without asking or
    /// storing. Returns once the launch thread runs or the launch was given up.
    StartResult LaunchInstalledGame(const Gameinfo* game, WindowHandle owner, LaunchHost& host,
                                    std::optional<int> inputKind = std::nullopt);
    /// UI thread. The same for a game imported from disk (FilePath is the file to start).
    StartResult LaunchLocalGame(const LocalGame* game, WindowHandle owner, LaunchHost& host,
                                std::optional<int> inputKind = std::nullopt);

    /// Any thread. The system number text of the last launch.
    std::string GetCurrentSystem() const;
    /// Any thread. How the user plays the last launched game: kInputKindGamepad or kInputKindKeyboard
    /// (kInputKindGamepad before the first launch).
    int GetCurrentInputKind() const;
    /// Any thread. The file (or, for a native program, the folder) the running game was started
    /// with; empty while no game's launch thread runs.
    std::string GetRunningGamePath() const;
    /// Any thread. Whether a game is being started or runs.
    bool IsBusy() const;
    /// Any thread. Blocks until no game runs; the last game's exit code (0 when the program could not
    /// be started or was ended by the launcher's own window watch).
    int WaitUntilIdle();
    /// Any thread. Ends the running game and everything it started; the launch thread then saves the
    /// files back as after a normal end.
    void StopGame();

private:
    struct Launch
    {
        WindowHandle owner = 0;
        bool fullPath = false;
        std::string system;
        std::string gamePath;
        std::string runTarget;
        int inputKind = 1;
    };

    bool MarkBusy();
    /// Ends the busy state; exitCode, when given, becomes the last game's.
    void MarkIdle(std::optional<int> exitCode);
    bool StopRequested() const;
    std::optional<int> ChooseInputKind(const std::string& system, WindowHandle owner, LaunchHost& host,
                                       std::optional<int> given);
    bool EnsureEmulator(const std::string& system, WindowHandle owner, LaunchHost& host);
    /// The start both entries share: busy, the emulator, the control method. None when the launch
    /// may go on (the launcher stays busy, kind is set); otherwise why not, and the launcher is idle.
    std::optional<StartResult> BeginLaunch(const std::string& system, WindowHandle owner, LaunchHost& host,
                                           std::optional<int> given, int& kind);
    /// Makes the launcher idle again after an entry gave up; returns why.
    StartResult GiveUp(StartResult why);
    void StartLaunchThread(Launch launch);
    void RunEmulatorGame(const Launch& launch);
    void RunNativeProgram(const Launch& launch);
    int RunAndWait(const ProcessStart& start, const EmulatorInfo* emulator);
    int WatchWindowThenEnd(Process& process);
    CEmulatorManager& Registry() const;

    Setup m_setup;
    InputThread* m_input = nullptr;

    void NotifyStarted(const Launch& launch);
    void NotifyEnded();

    mutable std::mutex m_lock; // guards everything below
    std::condition_variable m_idle;
    bool m_busy = false;
    bool m_stopRequested = false;
    int m_lastExitCode = 0;
    std::string m_system;
    int m_inputKind = 1;
    std::string m_runningGame; // the launch thread's game path while it runs
    GameRunObserver* m_observer = nullptr;
    Process* m_running = nullptr; // the launch thread's process while it runs
    bool m_shutDown = false;
    std::thread m_thread;
};

} // namespace ravelo
