#pragma once

#include "platform/Messages.h"
#include "store/EmulatorInfo.h"
#include "update/ProgressThrottle.h"
#include "update/SelfUpdateHandOff.h"
#include "update/SetupOptions.h"
#include "update/SetupTask.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

namespace ravelo {

/// The setup popup's worker: fetches a package archive into the data folder (resuming from the bytes
/// already there), unpacks it and runs its installer, or for an emulator unpacks it into the emulator's
/// folder. Reports as SetupProgress records posted to a receiver, download progress at most once per
/// 50 ms. One worker serves one setup.
class SetupWorker
{
public:
    /// Tasks 0 to 6. packageHost is the package host's "/download/" folder (ServiceEndpoints'
    /// PackageHost); dataFolder holds the archive, the unpacked installer and its working folder.
    SetupWorker(SetupTask task, std::string packageHost, std::string dataFolder, SetupOptions options = {});
    /// Task 7: the emulator's package from its record's address into emulatorFolder (made when missing).
    SetupWorker(EmulatorInfo emulator, std::string emulatorFolder, std::string dataFolder,
                SetupOptions options = {});
    SetupWorker(const SetupWorker&) = delete;
    SetupWorker& operator=(const SetupWorker&) = delete;

    /// Task 0, before Run: the install the updater replaces, and the package's SHA-256 from the update
    /// answer (lower-case hexadecimal; empty when the answer gave none). A package that does not match
    /// is deleted unopened. Without a hand-off the self-update refuses to start (kSetupNotPortable).
    void SetSelfUpdate(SelfUpdateHandOff handOff, std::string expectedSha256);

    /// Whether this system can carry out the task at all: the runtime packages are Windows installers,
    /// refused unless the options say otherwise. Run reports kSetupWindowsOnly for them at once.
    bool IsApplicable() const;

    /// Blocks the calling worker thread until the setup ended, failed or was cancelled; posts
    /// WM_SETUP_PROGRESS records (owned by the receiver) to receiver, the last one kind 10 or 9. An
    /// installer that was started is waited for even after a cancel. The self-update unpacks its
    /// package into UpdateFolder() and starts the updater from there with the hand-off's arguments,
    /// without waiting for it.
    void Run(WindowHandle receiver);

    /// Any thread. Ends a download at once, also while nothing arrives; unpacking and a running
    /// installer are let finish.
    void Cancel();

    /// Any thread, after Run: the setup finished (kind 10 was posted).
    bool Succeeded() const { return m_succeeded.load(); }
    /// Any thread, after Run: the code of the kind-9 record, 0 when none was posted.
    int ErrorCode() const { return m_errorCode.load(); }

    SetupTask Task() const { return m_task; }
    /// The emulator of task 7, null for the other tasks.
    const EmulatorInfo* Emulator() const { return m_task == SetupTask::Emulator ? &m_emulator : nullptr; }
    /// Where the archive is kept while it downloads.
    std::string ArchivePath() const;
    /// Task 0: the folder the update package is unpacked into, and its updater is started from.
    std::string UpdateFolder() const { return m_dataFolder + "update/"; }

private:
    int RunSteps();
    int Download(const std::string& url, const std::string& archive);
    int Unpack(const std::string& archive, const std::string& destination);
    int Install();
    int StartUpdater();
    bool WaitUnlessCancelled(std::chrono::milliseconds pause);
    void Post(std::int32_t kind, double now, double total, std::int32_t code = 0);

    SetupTask m_task;
    std::string m_packageHost;
    std::string m_dataFolder; // with a trailing '/'
    EmulatorInfo m_emulator;
    std::string m_emulatorFolder;
    SetupOptions m_options;
    int m_bitness = 32;
    std::optional<SelfUpdateHandOff> m_handOff;
    std::string m_expectedSha256;
    ProgressThrottle m_throttle;

    WindowHandle m_receiver = 0;
    std::atomic<bool> m_cancel{false};
    std::mutex m_cancelLock; // pairs with m_cancelled for the pauses between resumes
    std::condition_variable m_cancelled;
    std::atomic<bool> m_succeeded{false};
    std::atomic<int> m_errorCode{0};
};

} // namespace ravelo
