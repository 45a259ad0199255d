#pragma once

#include "platform/Messages.h"
#include "update/SelfUpdateHandOff.h"
#include "update/SetupOptions.h"
#include "update/UpdateAnswer.h"

#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace ravelo {

class UiThreadReceiver;

/// The program's update check, owned by each window that offers it: the main window (at start, unless
/// updates are manual) and the settings window (Btn_Update). Check asks the update endpoint on a thread
/// of this object's and returns at once; the answer comes back to the UI thread as a posted message and
/// shows its notices over the owner: "获取更新信息失败", "Ravelo已是最新版本", or the question. On "是" a
/// portable install fetches, checks and unpacks the update through the setup popup, which starts the
/// updater; when the popup ends with 886, WM_CLOSE with wParam 886 is posted to the owner, which then
/// closes (the main window ends the program). An installed program opens the answer's download page
/// instead and says to update through the package manager. UI thread only.
///
/// The main window: a member `CSelfUpdate m_selfUpdate;` and, at "windowinit" when `UpdateType` is not
/// "0", `m_selfUpdate.Check(GetHWND());`. The settings window the same on Btn_Update.
class CSelfUpdate
{
public:
    /// Everything is found out at each check unless given (tests and the tour give them).
    struct Options
    {
        std::string updateUrl;                    // empty: the settings' update endpoint
        std::string packageHost;                  // empty: the settings' package host
        std::string dataFolder;                   // empty: DataFolder
        std::string localVersion;                 // empty: AppVersion
        std::optional<SelfUpdateHandOff> handOff; // none: the running program's
        SetupOptions setup;
    };

    explicit CSelfUpdate(Options options = {});
    /// Waits for a request still on its way (at most its 5-second time-out); its answer is dropped.
    ~CSelfUpdate();
    CSelfUpdate(const CSelfUpdate&) = delete;
    CSelfUpdate& operator=(const CSelfUpdate&) = delete;

    /// Starts a check whose answer shows over owner. False (nothing started) while one is under way.
    bool Check(WindowHandle owner);
    /// A check is under way: the request, or the notices and the setup it led to.
    bool IsChecking() const { return m_checking; }

private:
    void OnAnswer(Message& message);
    void Answer(const UpdateAnswer& answer);
    void UpdateInPlace(const UpdateAnswer& answer, const SelfUpdateHandOff& handOff);
    void UpdateThroughPackageManager(const UpdateAnswer& answer);

    Options m_options;
    std::unique_ptr<UiThreadReceiver> m_receiver;
    std::thread m_request;
    WindowHandle m_owner = 0;
    bool m_checking = false;
};

} // namespace ravelo
