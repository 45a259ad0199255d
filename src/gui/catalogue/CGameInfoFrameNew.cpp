#include "gui/catalogue/CGameInfoFrameNew.h"

#include "app/Engines.h"
#include "download/DownloadManager.h"
#include "download/DownloadMessages.h"
#include "gui/catalogue/CLoopBanner.h"
#include "gui/catalogue/CatalogueActions.h"
#include "gui/catalogue/CatalogueControls.h"
#include "gui/catalogue/CatalogueLinks.h"
#include "gui/catalogue/CatalogueWorker.h"
#include "gui/catalogue/GameDetailView.h"
#include "gui/catalogue/GameTileView.h"
#include "gui/common/PictureSlots.h"
#include "library/CMyGameStore.h"
#include "platform/Translate.h"
#include "service/CatalogueClient.h"
#include "service/CatalogueMessages.h"
#include "service/PageViewPinger.h"
#include "service/PictureMessages.h"
#include "service/PortalPages.h"
#include "uilib/CContainerUI.h"
#include "uilib/CRichEditUI.h"

namespace ravelo {

using namespace UiLib;

namespace {

/// The listener cookie of the window's one game.
constexpr std::uintptr_t kGameCookie = 1;

QString Q(const std::u16string& text)
{
    return QString::fromStdU16String(text);
}

} // namespace

CGameInfoFrameNew::CGameInfoFrameNew(Engines& engines, CatalogueActions& actions, CatalogueWorker& worker,
                                     CGame game, bool useCache)
    : CSkinDialog(QStringLiteral("skin\\xmls\\GameInfoDialogNew.xml"), QStringLiteral("GameInfoFrame")),
      m_engines(engines), m_actions(actions), m_worker(worker), m_game(std::move(game)), m_useCache(useCache)
{
}

CGameInfoFrameNew::~CGameInfoFrameNew()
{
    if (m_listening)
        m_engines.Downloads().RemoveListener(GetHWND(), m_game.gameid, kGameCookie);
}

int CGameInfoFrameNew::ShowModalOver(WindowHandle owner)
{
    return CSkinDialog::ShowModalOver(owner, QString::fromUtf8(Tr("游戏信息")));
}

CControlUI* CGameInfoFrameNew::CreateControl(const QString& className)
{
    return CreateCatalogueControl(className);
}

void CGameInfoFrameNew::InitWindow()
{
    m_pictures = std::make_unique<PictureSlots>(m_engines.Pictures(), GetHWND());
    m_banner = ControlAs<CLoopBanner>(Find(QStringLiteral("Hl_Banner")));
    ShowGame();

    DownloadManager& downloads = m_engines.Downloads();
    const TaskStatus shown = downloads.GetShownStatus(m_game.gameid);
    ShowState(shown != TaskStatus::None ? static_cast<int>(shown)
                                        : (m_engines.MyGames().HasInstalledGame(m_game.gameid) ? 8 : 0));
    if (!m_game.gameid.empty()) {
        downloads.AddListener(GetHWND(), m_game.gameid, kGameCookie);
        m_listening = true;
    }

    if (m_banner) {
        std::vector<CAd> ads;
        if (const auto featured = m_engines.Catalogue().Featured())
            for (const auto& ad : featured->ads_index_gamedetail)
                if (ad)
                    ads.push_back(*ad);
        m_banner->SetVisible(!ads.empty());
        m_banner->SetAds(ads, *m_pictures);
    }
}

void CGameInfoFrameNew::Notify(TNotifyUI& msg)
{
    if (msg.sType == DUI_MSGTYPE_WINDOWINIT) {
        if (!m_game.gameid.empty())
            m_worker.FetchDetail(m_game, m_useCache, GetHWND());
        return;
    }
    CSkinDialog::Notify(msg);
}

void CGameInfoFrameNew::OnClick(const QString& name, TNotifyUI& msg)
{
    if (name == QLatin1String("Btn_InstallGame")) {
        m_actions.Act(TileActionFor(m_state), m_game, GetHWND());
    } else if (msg.pSender == m_banner) {
        // A detail banner names another game: show that one in this window.
        const CAd* ad = m_banner->AdAt(static_cast<int>(msg.wParam));
        if (!ad || BannerActionFor(ad->action, ad->target) != LinkAction::OpenGame ||
            ad->target == m_game.gameid)
            return;
        m_engines.PageViews().Send(GamePage(ad->target));
        if (m_listening)
            m_engines.Downloads().RemoveListener(GetHWND(), m_game.gameid, kGameCookie);
        m_game = CGame();
        m_game.gameid = ad->target;
        m_detailLoaded = false;
        m_screens.clear();
        if (auto* strip = ControlAs<CContainerUI>(Find(QStringLiteral("HL_GameScreenshot")))) {
            for (int i = 0; i < strip->GetCount(); ++i)
                m_pictures->Forget(strip->GetItemAt(i));
            strip->RemoveAll();
        }
        if (CControlUI* text = Find(QStringLiteral("Rd_GameIntroduce")))
            text->SetText(QString());
        ShowGame();
        const TaskStatus shown = m_engines.Downloads().GetShownStatus(m_game.gameid);
        ShowState(shown != TaskStatus::None ? static_cast<int>(shown)
                                            : (m_engines.MyGames().HasInstalledGame(m_game.gameid) ? 8 : 0));
        m_engines.Downloads().AddListener(GetHWND(), m_game.gameid, kGameCookie);
        m_listening = true;
        m_worker.FetchDetail(m_game, m_useCache, GetHWND());
    }
}

void CGameInfoFrameNew::ShowGame()
{
    const auto set = [this](const char* name, const QString& text) {
        if (CControlUI* control = Find(QString::fromLatin1(name))) {
            control->SetText(text);
            control->SetToolTip(text);
        }
    };
    set("Lb_GameName1", Q(m_game.gamename));
    set("Lb_GameName2", Q(m_game.orgname == m_game.gamename ? std::u16string() : m_game.orgname));
    set("Lb_GameLang", Q(m_game.language));
    set("Lb_GameClassify", Q(m_game.categoryshortname));
    set("Lb_EmulatorType", Q(m_game.emulatorshortname));
    set("Lb_GameSize", QString::fromStdString(SizeText(m_game.size)));
    m_starWidth = StarWidth(m_game.rating);
    if (CControlUI* stars = Find(QStringLiteral("Opt_Level")))
        stars->SetAttribute(QStringLiteral("foreimage"), QString::fromStdString(StarImage(m_starWidth)));
    if (CControlUI* icon = Find(QStringLiteral("Ctr_GameIcon")))
        m_pictures->Request(icon, m_game.icon);
}

void CGameInfoFrameNew::ShowState(int state)
{
    const std::optional<TileButtonLook> look = TileButtonFor(state);
    if (!look)
        return; // a state the button does not show
    m_state = state;
    CControlUI* button = Find(QStringLiteral("Btn_InstallGame"));
    if (!button)
        return;
    button->SetText(QString::fromUtf8(Tr(look->text)));
    const bool accent = look->style == TileButtonStyle::Install;
    const bool play = look->style == TileButtonStyle::Play;
    button->SetAttribute(QStringLiteral("textcolor"), accent || play ? "#FFFFFFFF" : "#FFE65528");
    button->SetAttribute(QStringLiteral("bkcolor"), accent ? "#FFFF6A3D" : play ? "#FF2DB46C" : "#FFFFE9E1");
    button->SetAttribute(QStringLiteral("hotbkcolor"), accent ? "#FFFF8259"
                                                       : play ? "#FF34C47A"
                                                              : "#FFFFD9CC");
    if (CControlUI* progress = Find(QStringLiteral("Lb_Progress"));
        progress && look->style != TileButtonStyle::Busy)
        progress->SetText(QString());
}

void CGameInfoFrameNew::AddScreenshot(const std::string& address)
{
    if (static_cast<int>(m_screens.size()) >= kMaxScreenshots)
        return;
    auto* strip = ControlAs<CContainerUI>(Find(QStringLiteral("HL_GameScreenshot")));
    if (!strip)
        return;
    m_screens.push_back(address);
    auto* picture = new CControlUI;
    picture->SetAttribute(QStringLiteral("width"), QStringLiteral("240"));
    picture->SetAttribute(QStringLiteral("bkcolor"), QStringLiteral("#FFF1F3F6"));
    picture->SetAttribute(QStringLiteral("borderround"), QStringLiteral("10,10"));
    strip->Add(picture);
    m_pictures->Request(picture, address);
    if (CControlUI* none = Find(QStringLiteral("Lb_NoScreens")))
        none->SetVisible(false);
}

LRESULT CGameInfoFrameNew::HandleMessage(Message& message, bool& handled)
{
    handled = true;
    switch (message.id) {
    case UM_DETAIL_LOADED:
        // The fetcher's copy of the game with the detail's fields; the client's own notice has none.
        if (std::unique_ptr<CGame> game = message.TakePayload<CGame>();
            game && game->gameid == m_game.gameid) {
            m_game = std::move(*game);
            m_detailLoaded = true;
            ShowGame();
        }
        return 0;
    case UM_DETAIL_DESCRIPTION:
        if (const std::unique_ptr<std::u16string> text = message.TakePayload<std::u16string>())
            if (CControlUI* box = Find(QStringLiteral("Rd_GameIntroduce")))
                box->SetText(Q(*text));
        return 0;
    case UM_DETAIL_SCREENSHOT:
        if (const std::unique_ptr<std::string> address = message.TakePayload<std::string>())
            AddScreenshot(*address);
        return 0;
    case UM_ITEM_STATE:
        if (const std::unique_ptr<ItemStateCookie> cookie = message.TakePayload<ItemStateCookie>();
            cookie && cookie->gameId == m_game.gameid)
            ShowState(static_cast<int>(message.wParam));
        return 0;
    case UM_DOWNLOAD_PROGRESS:
        if (const std::unique_ptr<DownloadProgress> progress = message.TakePayload<DownloadProgress>();
            progress && progress->gameId == m_game.gameid)
            if (CControlUI* label = Find(QStringLiteral("Lb_Progress")))
                label->SetText(QString::fromStdString(TileProgressText(
                    progress->state == TaskStatus::Unpacking, progress->done, progress->total)));
        return 0;
    case UM_PICTURE_READY:
        if (const std::unique_ptr<PictureResult> result = message.TakePayload<PictureResult>();
            result && m_pictures)
            m_pictures->Deliver(*result);
        return 0;
    default:
        handled = false;
        return CSkinDialog::HandleMessage(message, handled);
    }
}

} // namespace ravelo
