// The window tour's stops of the downloads area: the download centre empty and with tasks in every
// state, and the setup popup while it downloads, after a success, after a failure and for a package
// this system does not need. The windows are brought into their states through the messages their
// engines post.
#include "app/Engines.h"
#include "download/DownloadMessages.h"
#include "download/DownloadResult.h"
#include "gui/common/TourStops.h"
#include "gui/downloads/CDownLoadFrameNew.h"
#include "gui/downloads/CDownLoadPopFrame.h"
#include "gui/downloads/CDownloadItemUI.h"
#include "platform/FileSystem.h"
#include "platform/Translate.h"
#include "settings/AppPaths.h"
#include "uilib/CListUI.h"
#include "uilib/COptionUI.h"
#include "uilib/WinDefines.h"
#include "update/SetupProgress.h"
#include "update/SetupWorker.h"

namespace ravelo {
namespace {

using namespace UiLib;

struct TourTask
{
    const char* id;
    const char16_t* name;
    const char* total; // megabytes
};

constexpr TourTask kTasks[] = {
    {"1001", u"星际突击队", "30.20"}, {"1064", u"幻梦物语", "48.00"}, {"1011", u"龙之剑", "12.50"},
    {"1021", u"口袋骑士", "8.75"},    {"1041", u"小巷怒火", "20.00"}, {"1051", u"料理达人", "64.00"},
    {"1031", u"小精灵冒险", "6.40"},
};

void PostTask(WindowHandle window, const TourTask& task)
{
    auto view = std::make_unique<DownloadTaskView>();
    view->gameId = task.id;
    view->gameName = task.name;
    view->icon = std::string("/pic/icon/") + task.id + ".png";
    view->currentSize = "0.00";
    view->totalSize = task.total;
    view->shownStatus = TaskStatus::Stopped;
    PostMessage(window, UM_TASK_ADDED, 0, std::move(view));
}

void PostProgress(WindowHandle window, const char* id, TaskStatus state, double doneMb, double totalMb,
                  int code = 0, int volume = 0, int volumes = 0)
{
    auto record = std::make_unique<DownloadProgress>();
    record->gameId = id;
    record->state = state;
    record->done = doneMb * 1048576;
    record->total = totalMb * 1048576;
    record->code = code;
    record->multiVolume = volumes > 0 ? 1 : 0;
    record->currentVolume = volume;
    record->volumeCount = volumes;
    char text[32];
    std::snprintf(text, sizeof(text), "%.2f", doneMb);
    record->currentSize = text;
    std::snprintf(text, sizeof(text), "%.2f", totalMb);
    record->totalSize = text;
    PostMessage(window, UM_DOWNLOAD_PROGRESS, 0, std::move(record));
    PostMessage(window, UM_TASK_STATUS, IsActiveStatus(state) ? 1 : 0, std::make_unique<std::string>(id));
}

void DownloadCentreStops(std::vector<TourStop>& stops)
{
    stops.push_back({QStringLiteral("downloads-empty"), [](TourContext& ctx) {
                         Engines& engines = ctx.GetEngines();
                         CDownLoadFrameNew frame(engines.Downloads(), engines.Pictures());
                         frame.CreateHidden(0);
                         frame.ShowAndActivate();
                         ctx.Settle();
                         ctx.Shoot(QStringLiteral("downloads-empty"), frame, true);
                         frame.Destroy();
                     }});
    stops.push_back({QStringLiteral("downloads-tasks"), [](TourContext& ctx) {
                         Engines& engines = ctx.GetEngines();
                         CDownLoadFrameNew frame(engines.Downloads(), engines.Pictures());
                         const WindowHandle window = frame.CreateHidden(0);
                         frame.ShowAndActivate();
                         for (const TourTask& task : kTasks)
                             PostTask(window, task);
                         ctx.WaitFor([&] { return frame.RowIds().size() == std::size(kTasks); });
                         // Two reports a little apart, so that the first rows show their speed.
                         PostProgress(window, "1001", TaskStatus::Downloading, 9.1, 30.2);
                         PostProgress(window, "1064", TaskStatus::Downloading, 20.0, 48.0, 0, 2, 4);
                         ctx.Settle(1200);
                         PostProgress(window, "1001", TaskStatus::Downloading, 12.6, 30.2);
                         PostProgress(window, "1064", TaskStatus::Downloading, 22.5, 48.0, 0, 2, 4);
                         PostProgress(window, "1011", TaskStatus::Waiting, 0, 12.5);
                         PostProgress(window, "1021", TaskStatus::Stopped, 3.1, 8.75);
                         PostProgress(window, "1041", TaskStatus::Failed, 4.0, 20.0, kResultCannotCreateFile);
                         PostProgress(window, "1051", TaskStatus::Unpacking, 40.2, 64.0);
                         PostProgress(window, "1031", TaskStatus::Failed, 1.2, 6.4, 7);
                         ctx.Settle(400);
                         // Two rows ticked: the group buttons follow them.
                         auto* list = ControlAs<CListUI>(
                             frame.GetPaintManager().FindControl(QStringLiteral("List_DownLoad")));
                         if (list) {
                             list->SelectMultiItem(0);
                             list->SelectMultiItem(3);
                         }
                         ctx.Settle();
                         ctx.Shoot(QStringLiteral("downloads-tasks"), frame, true);
                         frame.Destroy();
                     }});
}

/// A popup whose worker ends at once (nobody answers its address), then shows the record given.
void PopupStop(std::vector<TourStop>& stops, const QString& name, SetupTask task,
               std::function<void(WindowHandle)> records)
{
    stops.push_back({name, [name, task, records](TourContext& ctx) {
                         EmulatorInfo emulator;
                         emulator.Name = u"FCEUX";
                         emulator.Version = "2.6.6";
                         emulator.Downloadurl = "http://127.0.0.1:1/FCEUX.zip";
                         const std::string temp = DataFolder + "tour/";
                         std::unique_ptr<SetupWorker> worker =
                             task == SetupTask::Emulator
                                 ? std::make_unique<SetupWorker>(emulator, temp + "Emulator/FC/FCEUX/", temp)
                                 : std::make_unique<SetupWorker>(task, "http://127.0.0.1:1/download/", temp);
                         CreateFolderChain(temp);
                         CDownLoadPopFrame popup(*worker, worker->Emulator());
                         popup.Create(0, QStringLiteral("下载文件"), UI_WNDSTYLE_DIALOG, WS_EX_WINDOWEDGE);
                         popup.CenterWindow();
                         CControlUI* status =
                             popup.GetPaintManager().FindControl(QStringLiteral("LB_Status"));
                         const QString failed = QString::fromUtf8(Tr("提示：错误"));
                         // Nobody answers the worker's address: it ends with an error, then the
                         // records of the state shown follow.
                         if (records)
                             ctx.WaitFor([&] { return status && status->GetText() == failed; });
                         ctx.Settle();
                         if (records)
                             records(popup.GetHWND());
                         ctx.Settle();
                         ctx.Shoot(name, popup);
                         popup.Close(2);
                         ctx.WaitFor([&] { return popup.GetHWND() == 0; });
                     }});
}

void PostSetup(WindowHandle popup, std::int32_t kind, double now, double total, std::int32_t code = 0)
{
    auto record = std::make_unique<SetupProgress>();
    record->kind = kind;
    record->now = now;
    record->total = total;
    record->code = code;
    PostMessage(popup, WM_SETUP_PROGRESS, 0, std::move(record));
}

} // namespace

void AddDownloadsTourStops(std::vector<TourStop>& stops)
{
    DownloadCentreStops(stops);
    PopupStop(stops, QStringLiteral("setup-popup-downloading"), SetupTask::Emulator, [](WindowHandle popup) {
        PostSetup(popup, kSetupDownloading, 0, 0);
        PostSetup(popup, kSetupDownloading, 5.5 * 1048576, 14.2 * 1048576);
    });
    PopupStop(stops, QStringLiteral("setup-popup-installed"), SetupTask::Emulator, [](WindowHandle popup) {
        PostSetup(popup, kSetupUnpacking, 14.2 * 1048576, 14.2 * 1048576);
        PostSetup(popup, kSetupFinished, 0, 0);
    });
    PopupStop(stops, QStringLiteral("setup-popup-failed"), SetupTask::Emulator,
              [](WindowHandle popup) { PostSetup(popup, kSetupError, 0, 0, 404); });
    PopupStop(stops, QStringLiteral("setup-popup-not-applicable"), SetupTask::Vc2010, nullptr);
}

} // namespace ravelo
