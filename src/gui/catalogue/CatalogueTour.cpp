// The catalogue area's stops of the window tour: the home page, a special topic, a game's detail
// window and the suggestion window, each against the demo catalogue.
#include "app/Engines.h"
#include "emulator/LaunchHost.h"
#include "gui/catalogue/CFeaturedFrame.h"
#include "gui/catalogue/CGameInfoFrameNew.h"
#include "gui/catalogue/CSpecialFrame.h"
#include "gui/catalogue/CSuggestionFrame.h"
#include "gui/catalogue/CatalogueActions.h"
#include "gui/catalogue/CatalogueWorker.h"
#include "gui/common/GuiMessages.h"
#include "gui/common/TourStops.h"
#include "gui/play/GameStarter.h"
#include "service/CatalogueClient.h"
#include "uilib/CControlUI.h"
#include "uilib/WinDefines.h"

namespace ravelo {

using namespace UiLib;

namespace {

/// The tour answers no question.
class TourHost final : public LaunchHost
{
public:
    bool AskYesNo(const std::string&, const std::string&, WindowHandle) override { return false; }
    void ShowMessage(const std::string&, const std::string&, WindowHandle) override {}
    int ChooseInputKind(WindowHandle) override { return 0; }
    int ChooseDisc(int, WindowHandle) override { return -1; }
};

/// What the catalogue's windows stand on during a stop.
struct TourParts
{
    explicit TourParts(Engines& engines)
        : starter(engines.Launcher(), host), actions(engines, host, starter),
          worker(engines.Catalogue()), context{engines, actions, 0, nullptr}
    {
    }
    ~TourParts()
    {
        actions.Shutdown();
        starter.Shutdown();
    }

    TourHost host;
    GameStarter starter;
    CatalogueActions actions;
    CatalogueWorker worker;
    CataloguePageContext context;
};

void TourHome(TourContext& ctx)
{
    TourParts parts(ctx.GetEngines());
    CFeaturedFrame page(parts.context);
    if (!page.Create(0, QStringLiteral("FeaturedFrame"), WS_POPUP | WS_VISIBLE, 0, 0, 0, 1078, 608))
        return;
    ctx.WaitFor([&] { return page.IsFilled() || page.IsFailed(); });
    ctx.Settle(1200); // the pictures
    ctx.Shoot(QStringLiteral("catalogue-home"), page, true);
    page.Close(kDialogClosed);
    ctx.Settle(100);
}

void TourTopic(TourContext& ctx)
{
    TourParts parts(ctx.GetEngines());
    CSpecialFrame page(parts.context);
    if (!page.Create(0, QStringLiteral("SpecialFrame"), WS_POPUP | WS_VISIBLE, 0, 0, 0, 1078, 608))
        return;
    page.PostMessage(
        UM_OPEN_SPECIAL, 1,
        std::make_unique<TypedPayload<std::u16string>>(std::make_unique<std::u16string>(u"格斗对决")));
    ctx.WaitFor([&] { return page.IsLoaded() || !page.IsLoading(); });
    ctx.Settle(800);
    ctx.Shoot(QStringLiteral("catalogue-topic"), page, true);
    page.Close(kDialogClosed);
    ctx.Settle(100);
}

void TourDetail(TourContext& ctx)
{
    Engines& engines = ctx.GetEngines();
    TourParts parts(engines);
    // The detail banner comes from the home page's answer.
    engines.Catalogue().StartHomePage(0);
    ctx.WaitFor([&] { return !engines.Catalogue().Featured()->ads_index_gamedetail.empty(); }, 5000);
    CGame game;
    game.gameid = "1011"; // as a banner opens it: only the id
    CGameInfoFrameNew detail(engines, parts.actions, parts.worker, game);
    if (detail.Create(0, QStringLiteral("游戏信息"), UI_WNDSTYLE_DIALOG, WS_EX_WINDOWEDGE) == 0)
        return;
    detail.CenterWindow();
    ctx.WaitFor([&] { return detail.HasDetail() && !detail.Screenshots().empty(); });
    ctx.Settle(1000);
    ctx.Shoot(QStringLiteral("catalogue-detail"), detail);
    detail.Close(kDialogClosed);
    ctx.Settle(100);
}

void TourSuggestion(TourContext& ctx)
{
    TourParts parts(ctx.GetEngines());
    CSuggestionFrame dialog(parts.worker);
    if (dialog.Create(0, QStringLiteral("建议与反馈"), UI_WNDSTYLE_DIALOG, WS_EX_WINDOWEDGE) == 0)
        return;
    dialog.CenterWindow();
    ctx.Shoot(QStringLiteral("catalogue-suggestion"), dialog);
    // Sending nothing is refused under the boxes.
    if (CControlUI* send = dialog.GetPaintManager().FindControl(QStringLiteral("Btn_Send")))
        send->Activate();
    ctx.Shoot(QStringLiteral("catalogue-suggestion-empty"), dialog);
    if (CControlUI* box = dialog.GetPaintManager().FindControl(QStringLiteral("Ed_Suggestion")))
        box->SetText(QStringLiteral("希望增加更多 PSP 的角色扮演游戏"));
    if (CControlUI* send = dialog.GetPaintManager().FindControl(QStringLiteral("Btn_Send")))
        send->Activate();
    ctx.WaitFor([&] { return !dialog.IsSending(); });
    ctx.Shoot(QStringLiteral("catalogue-suggestion-sent"), dialog);
    dialog.Close(kDialogClosed);
    ctx.Settle(100);
}

} // namespace

void AddCatalogueTourStops(std::vector<TourStop>& stops)
{
    stops.push_back({QStringLiteral("catalogue-home"), TourHome});
    stops.push_back({QStringLiteral("catalogue-topic"), TourTopic});
    stops.push_back({QStringLiteral("catalogue-detail"), TourDetail});
    stops.push_back({QStringLiteral("catalogue-suggestion"), TourSuggestion});
}

} // namespace ravelo
