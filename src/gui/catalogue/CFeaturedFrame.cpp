#include "gui/catalogue/CFeaturedFrame.h"

#include "app/Engines.h"
#include "emulator/EmulatorMessages.h"
#include "gui/catalogue/CGameItemUI.h"
#include "gui/catalogue/CLoopBanner.h"
#include "gui/catalogue/CWeekHotSpecialUI.h"
#include "gui/catalogue/CatalogueControls.h"
#include "gui/catalogue/CatalogueLinks.h"
#include "gui/common/GuiMessages.h"
#include "platform/Translate.h"
#include "service/CatalogueClient.h"
#include "service/CatalogueMessages.h"
#include "service/PageViewPinger.h"
#include "service/PortalPages.h"
#include "uilib/CContainerUI.h"
#include "uilib/WinDefines.h"

namespace ravelo {

using namespace UiLib;

namespace {

constexpr int kTwoRows = 8;
constexpr int kThreeRows = 12;

} // namespace

CFeaturedFrame::CFeaturedFrame(CataloguePageContext context) : m_context(std::move(context)) {}

CFeaturedFrame::~CFeaturedFrame() = default;

QString CFeaturedFrame::GetSkinFile()
{
    return QStringLiteral("skin\\xmls\\FeaturedDialog.xml");
}

QString CFeaturedFrame::GetWindowClassName() const
{
    return QStringLiteral("FeaturedFrame");
}

CControlUI* CFeaturedFrame::CreateControl(const QString& className)
{
    return CreateCatalogueControl(className);
}

void CFeaturedFrame::InitWindow()
{
    CPaintManagerUI& pm = m_PaintManager;
    m_tracker = std::make_unique<GameTileTracker>(m_context.engines, GetHWND());
    m_banner = ControlAs<CLoopBanner>(pm.FindControl(QStringLiteral("Hl_LeftTopBanner")));
    m_topics = ControlAs<CWeekHotSpecialUI>(pm.FindControl(QStringLiteral("SpecialView")));
    m_content = pm.FindControl(QStringLiteral("Vl_Content"));
    m_loadingOverlay = pm.FindControl(QStringLiteral("Loading"));
    m_failedOverlay = pm.FindControl(QStringLiteral("LoadingFail"));
    if (m_loadingOverlay)
        m_loadingOverlay->SetVisible(false);
}

void CFeaturedFrame::Notify(TNotifyUI& msg)
{
    if (msg.sType == DUI_MSGTYPE_WINDOWINIT) {
        Request();
        return;
    }
    if (msg.sType != DUI_MSGTYPE_CLICK || !msg.pSender)
        return;
    std::uintptr_t part = 0;
    if (CGameItemUI* tile = GameTileTracker::TileOfClick(msg, part))
        ActOnTile(m_context, *tile, part);
    else if (msg.pSender == m_topics)
        OpenTopic(static_cast<int>(msg.wParam));
    else if (msg.pSender == m_banner)
        OpenBannerGame(static_cast<int>(msg.wParam));
    else if (msg.pSender == m_failedOverlay)
        Request(); // try again
}

LRESULT CFeaturedFrame::HandleMessage(Message& message, bool& handled)
{
    handled = true;
    if (m_tracker && m_tracker->HandleMessage(message))
        return 0;
    switch (message.id) {
    case UM_HOME_READY:
        m_featured = m_context.engines.Catalogue().Featured();
        Fill();
        return 0;
    case UM_REQUEST_FAILED:
        m_loading = false;
        m_failed = true;
        if (m_loadingOverlay)
            m_loadingOverlay->SetVisible(false);
        if (m_failedOverlay)
            m_failedOverlay->SetVisible(true);
        return 0;
    case kGameLaunchState:
        ravelo::PostMessage(m_context.mainWindow, kGameLaunchState, message.wParam);
        return 0;
    case WM_SHOWWINDOW:
        // The banner turns only while someone can see it.
        if (m_banner)
            m_banner->SetPaused(message.wParam == 0);
        break;
    default:
        break;
    }
    handled = false;
    return WindowImplBase::HandleMessage(message, handled);
}

void CFeaturedFrame::Request()
{
    if (m_loading)
        return;
    m_failed = false;
    if (m_failedOverlay)
        m_failedOverlay->SetVisible(false);
    if (m_loadingOverlay)
        m_loadingOverlay->SetVisible(true);
    m_loading = m_context.engines.Catalogue().StartHomePage(GetHWND());
    if (!m_loading && m_failedOverlay) { // refused (the client is closing): nothing will come
        m_failed = true;
        m_loadingOverlay->SetVisible(false);
        m_failedOverlay->SetVisible(true);
    }
}

void CFeaturedFrame::Fill()
{
    m_loading = false;
    m_failed = false;
    if (m_loadingOverlay)
        m_loadingOverlay->SetVisible(false);
    if (m_failedOverlay)
        m_failedOverlay->SetVisible(false);
    if (m_content)
        m_content->SetVisible(true);
    if (!m_featured)
        return;
    const CFeatured& home = *m_featured;
    m_tracker->Clear();

    if (m_banner) {
        std::vector<CAd> ads;
        for (const auto& ad : home.ads_index_left)
            if (ad)
                ads.push_back(*ad);
        m_banner->SetAds(ads, m_tracker->Pictures());
    }
    if (auto* holder =
            ControlAs<CContainerUI>(m_PaintManager.FindControl(QStringLiteral("Vl_GameTopTile")))) {
        holder->RemoveAll();
        if (!home.game_top.gameid.empty())
            if (CGameItemUI* tile = m_tracker->Build(m_PaintManager, home.game_top))
                holder->Add(tile);
        const CGame& top = home.game_top;
        if (CControlUI* note = m_PaintManager.FindControl(QStringLiteral("Lb_GameTopNote")))
            note->SetText(top.orgname.empty() || top.orgname == top.gamename
                              ? QString()
                              : QString::fromStdU16String(top.orgname));
        if (CControlUI* facts = m_PaintManager.FindControl(QStringLiteral("Lb_GameTopFacts")))
            facts->SetText(
                top.downloads.empty() || top.downloads == "0"
                    ? QString()
                    : QString::fromUtf8(Tr("%1 次下载")).arg(QString::fromStdString(top.downloads)));
    }
    if (m_topics) {
        std::vector<CSpecialTopic> topics;
        for (const auto& topic : home.special_list)
            if (topic)
                topics.push_back(*topic);
        m_topics->SetTopics(topics, m_tracker->Pictures());
    }
    FillView(QStringLiteral("WeekHotGameView"), home.game_list_hot, kTwoRows);
    // The genre charts, in the order of the tab's pages.
    FillView(QStringLiteral("Tl_FightHot"), home.game_list_fight, kTwoRows);
    FillView(QStringLiteral("Tl_ShootHot"), home.game_list_shoot, kTwoRows);
    FillView(QStringLiteral("Tl_RacingHot"), home.game_list_racing, kTwoRows);
    FillView(QStringLiteral("Tl_ActionHot"), home.game_list_action, kTwoRows);
    FillView(QStringLiteral("Tl_TotalHot"), home.game_list_totalhot, kTwoRows);
    FillView(QStringLiteral("NewGameView"), home.game_list_new, kTwoRows);
    FillView(QStringLiteral("RecommendGameView"), home.game_list_recommend, kThreeRows);
}

void CFeaturedFrame::FillView(const QString& name, const RecordVector<CGame>& games, int most)
{
    auto* view = ControlAs<CContainerUI>(m_PaintManager.FindControl(name));
    if (!view)
        return;
    view->RemoveAll();
    int shown = 0;
    for (const auto& game : games) {
        if (shown == most)
            break;
        if (!game || game->gameid.empty())
            continue;
        if (CGameItemUI* tile = m_tracker->Build(m_PaintManager, *game)) {
            view->Add(tile);
            ++shown;
        }
    }
}

void CFeaturedFrame::OpenTopic(int index)
{
    const CSpecialTopic* topic = m_topics ? m_topics->TopicAt(index) : nullptr;
    if (!topic)
        return;
    // A topic id that is not a number is topic 0.
    ravelo::PostMessage(m_context.mainWindow, UM_SHOW_SPECIAL,
                        static_cast<std::uintptr_t>(TopicNumber(topic->id)),
                        std::make_unique<std::u16string>(topic->name));
}

void CFeaturedFrame::OpenBannerGame(int index)
{
    const CAd* ad = m_banner ? m_banner->AdAt(index) : nullptr;
    if (!ad || BannerActionFor(ad->action, ad->target) != LinkAction::OpenGame)
        return;
    m_context.engines.PageViews().Send(GamePage(ad->target));
    CGame game; // the banner knows only the game's id; the detail window fetches the rest
    game.gameid = ad->target;
    if (m_context.openDetail)
        m_context.openDetail(game, m_context.mainWindow);
}

} // namespace ravelo
