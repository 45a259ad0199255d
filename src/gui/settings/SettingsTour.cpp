// The window tour's stops of the self-update: the question with the demo catalogue's release notes,
// and the setup popup fetching the update and refusing a package that fails its checksum.
#include "gui/common/TourStops.h"
#include "gui/downloads/CDownLoadPopFrame.h"
#include "gui/settings/CUpdateAskFrame.h"
#include "platform/Translate.h"
#include "settings/AppPaths.h"
#include "uilib/CControlUI.h"
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
}

} // namespace ravelo
