// The window tour's stops of the self-update: the question with the demo catalogue's release notes,
// and the setup popup fetching the update and refusing a package that fails its checksum.
#include "app/Engines.h"
#include "emulator/CEmulatorManager.h"
#include "emulator/EmulatorHost.h"
#include "gui/common/TourStops.h"
#include "gui/downloads/CDownLoadPopFrame.h"
#include "gui/settings/CSystemSetFrame.h"
#include "gui/settings/CUpdateAskFrame.h"
#include "gui/settings/EmulatorPage.h"
#include "platform/Translate.h"
#include "settings/AppPaths.h"
#include "uilib/CControlUI.h"
#include "uilib/CMenuWnd.h"
#include "uilib/CPaintManagerUI.h"
#include "uilib/WinDefines.h"
#include "update/SetupErrorText.h"
#include "update/SetupProgress.h"
#include "update/SetupWorker.h"
#include "update/UpdateAnswer.h"

namespace ravelo {
namespace {

using namespace UiLib;

void PostSetup(WindowHandle popup, std::int32_t kind, double now, double total, std::int32_t code = 0)
{
    auto record = std::make_unique<SetupProgress>();
    record->kind = kind;
    record->now = now;
    record->total = total;
    record->code = code;
    PostMessage(popup, WM_SETUP_PROGRESS, 0, std::move(record));
}

/// The self-update's popup in a state: its worker has no install to hand over to and ends at once,
/// then the records of the state shown follow.
void UpdatePopupStop(std::vector<TourStop>& stops, const QString& name,
                     std::function<void(WindowHandle)> records)
{
    stops.push_back(
        {name, [name, records](TourContext& ctx) {
             SetupWorker worker(SetupTask::SelfUpdate, ctx.ServerUrl() + "/download/", DataFolder);
             CDownLoadPopFrame popup(worker, nullptr);
             popup.Create(0, QStringLiteral("下载文件"), UI_WNDSTYLE_DIALOG, WS_EX_WINDOWEDGE);
             popup.CenterWindow();
             CControlUI* status = popup.GetPaintManager().FindControl(QStringLiteral("LB_Status"));
             const QString failed = QString::fromUtf8(Tr("提示：错误"));
             ctx.WaitFor([&] { return status && status->GetText() == failed; });
             records(popup.GetHWND());
             ctx.Settle();
             ctx.Shoot(name, popup);
             popup.Close(2);
             ctx.WaitFor([&] { return popup.GetHWND() == 0; });
         }});
}

/// Answers the registry's questions with yes and installs without a popup: the tour only needs an
/// emulator on disk.
class QuietHost final : public EmulatorHost
{
public:
    bool AskYesNo(const std::string&, const std::string&, WindowHandle) override { return true; }
    void ShowMessage(const std::string&, const std::string&, WindowHandle) override {}
};

/// The settings window in a state: opened over nothing, its registry loaded, then brought into the
/// state by step, which takes the pictures.
void SettingsStop(std::vector<TourStop>& stops, const QString& name, bool firstRun,
                  std::function<void(TourContext&, CSystemSetFrame&)> step)
{
    stops.push_back({name, [firstRun, step](TourContext& ctx) {
                         QuietHost host;
                         CSystemSetFrame frame({ctx.GetEngines(), host});
                         frame.SetFirstRun(firstRun);
                         frame.Create(0, QStringLiteral("系统设置"), UI_WNDSTYLE_DIALOG, WS_EX_WINDOWEDGE);
                         frame.CenterWindow();
                         ctx.WaitFor([&] { return frame.Emulators() && frame.Emulators()->IsLoaded(); },
                                     20000);
                         step(ctx, frame);
                         frame.Close(2);
                         ctx.WaitFor([&] { return frame.GetHWND() == 0; });
                     }});
}

} // namespace

void AddSettingsTourStops(std::vector<TourStop>& stops)
{
    stops.push_back({QStringLiteral("update-question"), [](TourContext& ctx) {
                         // The demo catalogue's own answer, as an older program sees it.
                         UpdateAnswer answer =
                             FetchUpdateAnswer(ctx.ServerUrl() + "/download/pc/update/index.php", "0.0.1");
                         if (answer.kind != UpdateAnswerKind::Newer) {
                             answer.kind = UpdateAnswerKind::Newer;
                             answer.version = "0.0.19";
                             answer.description = "Ravelo 0.0.19\n- 演示目录的更新包\n- 修正若干问题";
                         }
                         CUpdateAskFrame question(answer);
                         question.Create(0, QString::fromStdString(UpdateQuestionCaption(answer)),
                                         UI_WNDSTYLE_DIALOG, WS_EX_WINDOWEDGE);
                         question.CenterWindow();
                         ctx.Settle();
                         ctx.Shoot(QStringLiteral("update-question"), question);
                         question.Close(IDNO);
                         ctx.WaitFor([&] { return question.GetHWND() == 0; });
                     }});
    UpdatePopupStop(stops, QStringLiteral("update-popup-downloading"), [](WindowHandle popup) {
        PostSetup(popup, kSetupDownloading, 11.4 * 1048576, 29.4 * 1048576);
    });
    UpdatePopupStop(stops, QStringLiteral("update-popup-checksum-failed"), [](WindowHandle popup) {
        PostSetup(popup, kSetupDownloading, 29.4 * 1048576, 29.4 * 1048576);
        PostSetup(popup, kSetupError, 0, 0, kSetupChecksumMismatch);
    });
    SettingsStop(stops, QStringLiteral("settings-general"), false,
                 [](TourContext& ctx, CSystemSetFrame& frame) {
                     ctx.Settle();
                     ctx.Shoot(QStringLiteral("settings-general"), frame);
                 });
    SettingsStop(
        stops, QStringLiteral("settings-emulators"), false, [](TourContext& ctx, CSystemSetFrame& frame) {
            CEmulatorManager& emulators = ctx.GetEngines().Emulators();
            if (const auto fc = emulators.FindAvailableByType(125);
                fc && !emulators.FindInstalled(fc->EmulatorId)) {
                QuietHost host;
                emulators.Install(*fc, frame.GetHWND(), host);
            }
            frame.SelectTab(1);
            frame.Emulators()->ShowSystem(121);
            ctx.Settle();
            ctx.Shoot(QStringLiteral("settings-emulators-available"), frame);
            frame.Emulators()->ShowSystem(125);
            ctx.Settle();
            ctx.Shoot(QStringLiteral("settings-emulators-installed"), frame);
            // The menu of the installed emulator's 更多, opened without waiting for a choice.
            const auto fc = emulators.FindInstalledByType(125);
            CControlUI* item = fc ? frame.Emulators()->Item(fc->EmulatorId) : nullptr;
            CControlUI* more =
                item ? frame.GetPaintManager().FindSubControlByName(item, QStringLiteral("Btn_Option"))
                     : nullptr;
            if (more && frame.GetWidget()) {
                CMenuWnd menu(QStringLiteral("skin\\xmls\\EmulatorMenu.xml"));
                menu.Init(frame.GetHWND(), frame.GetWidget()->mapToGlobal(more->GetPos().bottomLeft()));
                ctx.Settle();
                ctx.Shoot(QStringLiteral("settings-emulator-menu"), menu);
                menu.Close(0);
                ctx.WaitFor([&] { return menu.GetHWND() == 0; });
            }
        });
    SettingsStop(stops, QStringLiteral("settings-components"), false,
                 [](TourContext& ctx, CSystemSetFrame& frame) {
                     frame.SelectTab(2);
                     ctx.Settle();
                     ctx.Shoot(QStringLiteral("settings-components"), frame);
                 });
    SettingsStop(stops, QStringLiteral("settings-download-update"), false,
                 [](TourContext& ctx, CSystemSetFrame& frame) {
                     frame.SelectTab(3);
                     ctx.Settle();
                     ctx.Shoot(QStringLiteral("settings-download-update"), frame);
                 });
    SettingsStop(stops, QStringLiteral("settings-first-run"), true,
                 [](TourContext& ctx, CSystemSetFrame& frame) {
                     ctx.Settle();
                     ctx.Shoot(QStringLiteral("settings-first-run"), frame);
                 });
}

} // namespace ravelo
