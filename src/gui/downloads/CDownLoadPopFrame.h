#pragma once

#include "gui/common/CSkinDialog.h"
#include "store/EmulatorInfo.h"

#include <functional>
#include <thread>

namespace ravelo {

class SetupWorker;
struct SetupProgress;

/// The setup popup ("下载文件"): runs one SetupWorker (an emulator's package, a runtime package, the
/// program's update) on a thread of its own and shows its progress records. Cancel sets the worker's
/// flag, disables the button and closes the popup once the worker has ended; the popup never ends
/// before its thread. A task this system cannot carry out is shown as not applicable, and nothing is
/// fetched. Ends with kDialogExitForUpdate (886) when the self-update started its updater, else with
/// kDialogClosed (2). UI thread.
class CDownLoadPopFrame : public CSkinDialog
{
public:
    /// worker must outlive the popup; emulator names task 7's emulator (may be null otherwise).
    CDownLoadPopFrame(SetupWorker& worker, const EmulatorInfo* emulator);
    /// Cancels and joins a worker still running (only when the window went away unasked).
    ~CDownLoadPopFrame() override;

    /// Shows the popup modally over owner and returns its result once the worker's thread has ended.
    /// shown (may be empty) gets the popup's handle once it shows: a WM_CLOSE posted to it cancels
    /// like the button does.
    int Run(WindowHandle owner, std::function<void(WindowHandle popup)> shown = {});

    void Notify(UiLib::TNotifyUI& msg) override;

protected:
    UiLib::LRESULT HandleMessage(Message& message, bool& handled) override;
    void OnClick(const QString& name, UiLib::TNotifyUI& msg) override;

private:
    void Start();
    void ShowNotApplicable();
    void Apply(const SetupProgress& record);
    void OnWorkerEnded();
    void RequestCancel();
    void CloseWith(int code);
    void JoinWorker();
    void SetText(const QString& name, const std::string& text);

    SetupWorker& m_worker;
    const EmulatorInfo* m_emulator;
    std::function<void(WindowHandle)> m_shown;
    std::thread m_thread;
    bool m_running = false;        // the worker's thread runs
    bool m_cancelAsked = false;    // close once it has ended
    bool m_updaterStarted = false; // the self-update handed over: close with 886 once it has ended
    bool m_closing = false;        // a close that is let through
};

/// UI thread. The one way the program runs a setup: shows the popup modally over owner, runs
/// worker.Run on the popup's thread and joins it, and returns the popup's result: 886 when the updater
/// was started, else 2. succeeded (may be null) receives worker.Succeeded(). emulator names task 7's
/// emulator; null takes the worker's. shown (may be empty) gets the popup's handle once it shows, so
/// that a prompt broker can register a closer that posts WM_CLOSE to it (a cancel). Called from the UI
/// thread, for example by the launch host through the prompt broker.
int RunSetupPopup(WindowHandle owner, SetupWorker& worker, const EmulatorInfo* emulator = nullptr,
                  bool* succeeded = nullptr, std::function<void(WindowHandle popup)> shown = {});

} // namespace ravelo
