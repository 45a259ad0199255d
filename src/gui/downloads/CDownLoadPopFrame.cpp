#include "gui/downloads/CDownLoadPopFrame.h"

#include "gui/common/GuiMessages.h"
#include "platform/StartThread.h"
#include "platform/Translate.h"
#include "uilib/CButtonUI.h"
#include "uilib/CProgressUI.h"
#include "uilib/UiDefines.h"
#include "uilib/WinDefines.h"
#include "update/PrerequisiteDetection.h"
#include "update/SetupErrorText.h"
#include "update/SetupProgress.h"
#include "update/SetupView.h"
#include "update/SetupWorker.h"

#include <algorithm>
#include <climits>

namespace ravelo {

using namespace UiLib;

namespace {

/// Posted by the popup's thread after the worker's last record: the thread is about to end.
constexpr std::uint32_t UM_SETUP_WORKER_ENDED = WM_USER + 1108;

int ToInt(long value)
{
    return static_cast<int>(std::clamp<long>(value, 0, INT_MAX));
}

} // namespace

CDownLoadPopFrame::CDownLoadPopFrame(SetupWorker& worker, const EmulatorInfo* emulator)
    : CSkinDialog(QStringLiteral("skin\\xmls\\DownLoadPopDialog.xml"), QStringLiteral("DownLoadPopFrame")),
      m_worker(worker), m_emulator(emulator)
{
}

CDownLoadPopFrame::~CDownLoadPopFrame()
{
    JoinWorker();
}

int CDownLoadPopFrame::Run(WindowHandle owner, std::function<void(WindowHandle popup)> shown)
{
    m_shown = std::move(shown);
    const int code = ShowModalOver(owner, QString::fromUtf8(Tr("下载文件")));
    // Normally ended already; when the window went away unasked, the worker is stopped here.
    JoinWorker();
    return code == kDialogExitForUpdate ? kDialogExitForUpdate : kDialogClosed;
}

void CDownLoadPopFrame::JoinWorker()
{
    if (!m_thread.joinable())
        return;
    m_worker.Cancel();
    m_thread.join();
    m_running = false;
}

void CDownLoadPopFrame::Notify(TNotifyUI& msg)
{
    if (msg.sType == DUI_MSGTYPE_WINDOWINIT) {
        Start();
        if (m_shown)
            m_shown(GetHWND());
        return;
    }
    CSkinDialog::Notify(msg);
}

void CDownLoadPopFrame::Start()
{
    SetText(QStringLiteral("LB_Caption"), SetupCaption(m_worker.Task(), m_emulator));
    if (!m_worker.IsApplicable()) {
        ShowNotApplicable();
        return;
    }
    SetText(QStringLiteral("LB_Status"), SetupDownloadingText(m_worker.Task(), m_emulator));
    const WindowHandle window = GetHWND();
    SetupWorker& worker = m_worker;
    m_running = true;
    m_thread = StartThread([&worker, window] {
        worker.Run(window);
        ravelo::PostMessage(window, UM_SETUP_WORKER_ENDED);
    });
}

void CDownLoadPopFrame::ShowNotApplicable()
{
    // A Windows runtime package: nothing to fetch, nothing to install here.
    SetText(QStringLiteral("LB_Status"), Tr("提示：本系统不需要此组件"));
    SetText(QStringLiteral("LB_Size"), SetupErrorText(kSetupWindowsOnly));
    if (CControlUI* bar = Find(QStringLiteral("Progress_Download")))
        bar->SetVisible(false);
    SetText(QStringLiteral("Btn_Cancel"), Tr("确定"));
}

void CDownLoadPopFrame::SetText(const QString& name, const std::string& text)
{
    if (CControlUI* control = Find(name))
        control->SetText(QString::fromStdString(text));
}

LRESULT CDownLoadPopFrame::HandleMessage(Message& message, bool& handled)
{
    switch (message.id) {
    case WM_SETUP_PROGRESS:
        if (const auto record = message.TakePayload<SetupProgress>())
            Apply(*record);
        handled = true;
        return 0;
    case UM_SETUP_WORKER_ENDED:
        OnWorkerEnded();
        handled = true;
        return 0;
    case WM_CLOSE:
        if (m_closing || !m_running)
            break;
        // Escape or the window's close while the worker runs: a cancel like the button's.
        RequestCancel();
        handled = true;
        return 0;
    default:
        break;
    }
    return CSkinDialog::HandleMessage(message, handled);
}

void CDownLoadPopFrame::Apply(const SetupProgress& record)
{
    const SetupTask task = m_worker.Task();
    const bool present = record.kind == kSetupFinished && IsPackageInstalled(task);
    const SetupView view = ViewOfSetupProgress(task, m_emulator, record, present);
    if (m_cancelAsked && record.kind != kSetupFinished)
        return; // "取消中" stays until the popup closes
    if (view.status)
        SetText(QStringLiteral("LB_Status"), *view.status);
    if (view.size)
        SetText(QStringLiteral("LB_Size"), *view.size);
    auto* bar = ControlAs<CProgressUI>(Find(QStringLiteral("Progress_Download")));
    if (bar && view.progress) {
        bar->SetMaxValue(std::max(1, ToInt(view.progress->maximum)));
        bar->SetValue(ToInt(view.progress->value));
    }
    if (bar) // the bar keeps its length and turns red when the setup failed
        bar->SetAttribute(QStringLiteral("forecolor"), record.kind == kSetupError
                                                           ? QStringLiteral("#FFE5484D")
                                                           : QStringLiteral("#FFFF6A3D"));
    if (view.button)
        SetText(QStringLiteral("Btn_Cancel"), *view.button);
    if (view.closeAsUpdated)
        m_updaterStarted = true;
}

void CDownLoadPopFrame::OnWorkerEnded()
{
    if (m_thread.joinable())
        m_thread.join(); // it posted this as its last act
    m_running = false;
    if (m_updaterStarted)
        CloseWith(kDialogExitForUpdate);
    else if (m_cancelAsked)
        CloseWith(kDialogClosed);
    // Otherwise the outcome stays on screen until the user closes the popup.
}

void CDownLoadPopFrame::OnClick(const QString& name, TNotifyUI&)
{
    if (name != QLatin1String("Btn_Cancel"))
        return;
    if (m_running)
        RequestCancel();
    else
        CloseWith(kDialogClosed);
}

void CDownLoadPopFrame::RequestCancel()
{
    if (m_cancelAsked)
        return;
    m_cancelAsked = true;
    m_worker.Cancel();
    if (CControlUI* button = Find(QStringLiteral("Btn_Cancel")))
        button->SetEnabled(false);
    SetText(QStringLiteral("LB_Status"), Tr("提示：正在取消..."));
}

void CDownLoadPopFrame::CloseWith(int code)
{
    m_closing = true;
    Close(code);
}

int RunSetupPopup(WindowHandle owner, SetupWorker& worker, const EmulatorInfo* emulator, bool* succeeded,
                  std::function<void(WindowHandle popup)> shown)
{
    CDownLoadPopFrame popup(worker, emulator ? emulator : worker.Emulator());
    const int result = popup.Run(owner, std::move(shown));
    if (succeeded)
        *succeeded = worker.Succeeded();
    return result;
}

} // namespace ravelo
