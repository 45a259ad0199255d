#include "gui/catalogue/CGameListPage.h"

#include "app/Engines.h"
#include "controls/CFlipUI.h"
#include "controls/CLoadingUI.h"
#include "download/DownloadManager.h"
#include "download/DownloadMessages.h"
#include "emulator/EmulatorMessages.h"
#include "gui/catalogue/CGameFilterUI.h"
#include "gui/catalogue/CGameItemUI.h"
#include "gui/catalogue/CatalogueActions.h"
#include "gui/catalogue/CatalogueControls.h"
#include "gui/common/GuiMessages.h"
#include "gui/common/UiProbe.h"
#include "library/CMyGameStore.h"
#include "platform/Translate.h"
#include "service/CGameList.h"
#include "service/CatalogueClient.h"
#include "service/CatalogueMessages.h"
#include "service/PageViewPinger.h"
#include "service/PictureMessages.h"
#include "service/PortalPages.h"
#include "uilib/CComboUI.h"
#include "uilib/CContainerUI.h"

namespace ravelo {

using namespace UiLib;

CGameListPage::CGameListPage(CataloguePageContext context, bool isSearch)
    : m_context(std::move(context)), m_isSearch(isSearch)
{
}

CGameListPage::~CGameListPage()
{
    for (const auto& [gameId, tile] : m_tiles)
        m_context.engines.Downloads().RemoveListener(GetHWND(), gameId, m_generation);
}

QString CGameListPage::GetSkinFile()
{
    return m_isSearch ? QStringLiteral("skin\\xmls\\SearchDialog.xml")
                      : QStringLiteral("skin\\xmls\\ClassificationDialog.xml");
}

QString CGameListPage::GetWindowClassName() const
{
    return m_isSearch ? QStringLiteral("SearchFrame") : QStringLiteral("ClassificationFrame");
}

CControlUI* CGameListPage::CreateControl(const QString& className)
{
    return CreateCatalogueControl(className);
}

void CGameListPage::InitWindow()
{
    CPaintManagerUI& pm = m_PaintManager;
    m_view = ControlAs<CContainerUI>(pm.FindControl(QStringLiteral("View")));
    m_flip = ControlAs<CFlipUI>(pm.FindControl(QStringLiteral("Flip")));
    m_type = ControlAs<CGameTypeFilterUI>(pm.FindControl(QStringLiteral("Type")));
    m_rank = ControlAs<CGameRankFilterUI>(pm.FindControl(QStringLiteral("Rank")));
    m_language = pm.FindControl(QStringLiteral("Language"));
    m_loadingOverlay = pm.FindControl(QStringLiteral("Loading"));
    m_failedOverlay = pm.FindControl(QStringLiteral("LoadingFail"));
    m_pictures = std::make_unique<PictureSlots>(m_context.engines.Pictures(), GetHWND());
    if (m_loadingOverlay)
        m_loadingOverlay->SetVisible(false);
}

CGameItemUI* CGameListPage::TileOf(const std::string& gameId) const
{
    const auto it = m_tiles.find(gameId);
    return it == m_tiles.end() ? nullptr : it->second;
}

std::vector<CGameItemUI*> CGameListPage::Tiles() const
{
    std::vector<CGameItemUI*> tiles;
    for (int i = 0; m_view && i < m_view->GetCount(); ++i)
        if (auto* tile = ControlAs<CGameItemUI>(m_view->GetItemAt(i)))
            tiles.push_back(tile);
    return tiles;
}

void CGameListPage::Notify(TNotifyUI& msg)
{
    if (msg.sType == DUI_MSGTYPE_WINDOWINIT) {
        if (!m_isSearch)
            Request(); // the search page waits for its first keyword
        return;
    }
    if (!msg.pSender)
        return;
    const QString name = msg.pSender->GetName();
    if (msg.sType == DUI_MSGTYPE_ITEMSELECT && msg.pSender == m_language) {
        const int index = static_cast<CComboUI*>(m_language)->GetCurSel();
        if (index >= 0 && index != m_query.language) {
            m_query.language = index;
            m_query.page = 1;
            Request();
        }
        return;
    }
    if (msg.sType != DUI_MSGTYPE_CLICK)
        return;
    if (auto* tile = ControlAs<CGameItemUI>(msg.pSender)) {
        OnTileClick(*tile, msg.wParam);
    } else if (name == QLatin1String("Btn_InstallGame")) {
        // The tile's button: the tile it belongs to acts on its state.
        for (CControlUI* up = msg.pSender->GetParent(); up; up = up->GetParent())
            if (auto* owner = ControlAs<CGameItemUI>(up)) {
                OnTileClick(*owner, 1);
                break;
            }
    } else if (msg.pSender == m_type) {
        m_query.category = static_cast<int>(msg.wParam);
        m_query.page = 1;
        Request();
    } else if (msg.pSender == m_rank) {
        m_query.order = static_cast<int>(msg.wParam);
        m_query.page = 1;
        Request();
    } else if (msg.pSender == m_flip) {
        m_query.page = ClampPage(static_cast<int>(msg.wParam), m_total, m_flip->GetItemsPerPage());
        Request();
    } else if (msg.pSender == m_failedOverlay) {
        Request(); // try again
    } else if (name == QLatin1String("Btn_Back")) {
        ravelo::PostMessage(m_context.mainWindow, UM_SHOW_CATEGORY_PAGE);
    }
}

LRESULT CGameListPage::HandleMessage(Message& message, bool& handled)
{
    handled = true;
    switch (message.id) {
    case UM_GAMELIST_READY:
    case UM_SEARCH_READY:
        if ((message.id == UM_SEARCH_READY) == m_isSearch)
            if (std::unique_ptr<CGameList> list = message.TakePayload<CGameList>())
                ShowList(std::move(list));
        return 0;
    case UM_REQUEST_FAILED:
        ShowFailure();
        return 0;
    case UM_EMULATOR_FILTER:
        m_query.emulator = static_cast<int>(message.wParam);
        m_query.page = 1;
        if (!m_isSearch || !m_query.keyword.empty())
            Request();
        return 0;
    case UM_SEARCH_KEYWORD:
        if (const std::unique_ptr<std::string> keyword = message.TakePayload<std::string>();
            keyword && m_isSearch) {
            ResetFilters();
            m_query.keyword = *keyword;
            if (CControlUI* label = m_PaintManager.FindControl(QStringLiteral("Lb_Keyword")))
                label->SetText(QString::fromUtf8("“%1”").arg(QString::fromStdString(*keyword)));
            Request();
        }
        return 0;
    case UM_ITEM_STATE:
        if (const std::unique_ptr<ItemStateCookie> cookie = message.TakePayload<ItemStateCookie>())
            OnItemState(static_cast<int>(message.wParam), cookie->gameId, cookie->cookie);
        return 0;
    case UM_DOWNLOAD_PROGRESS:
        if (const std::unique_ptr<DownloadProgress> progress = message.TakePayload<DownloadProgress>())
            if (CGameItemUI* tile = TileOf(progress->gameId))
                tile->SetProgress(progress->state == TaskStatus::Unpacking, progress->done, progress->total);
        return 0;
    case UM_PICTURE_READY:
        if (const std::unique_ptr<PictureResult> result = message.TakePayload<PictureResult>();
            result && m_pictures && m_pictures->Deliver(*result) && m_pictures->Waiting() == 0)
            UiProbe::PageComplete(m_tiles.size());
        return 0;
    case kGameLaunchState:
        ravelo::PostMessage(m_context.mainWindow, kGameLaunchState, message.wParam);
        return 0;
    default:
        handled = false;
        return WindowImplBase::HandleMessage(message, handled);
    }
}

void CGameListPage::ResetFilters()
{
    const std::string keyword = m_query.keyword;
    m_query = GameListQuery{};
    m_query.keyword = keyword;
    if (m_type)
        m_type->SelectIndex(0);
    if (m_rank)
        m_rank->SelectIndex(0);
    if (auto* combo = ControlAs<CComboUI>(m_language))
        combo->SelectItem(0, false, false);
}

void CGameListPage::Request()
{
    m_askedAgain = false;
    m_loading = true;
    if (m_failedOverlay)
        m_failedOverlay->SetVisible(false);
    if (m_loadingOverlay)
        m_loadingOverlay->SetVisible(true);
    const int pageSize = m_flip ? m_flip->GetItemsPerPage() : 40;
    CatalogueClient& client = m_context.engines.Catalogue();
    // A request made while the last one still runs is dropped by the client; the answer to the
    // running one then arrives for other filters and this query is asked for again.
    if (m_isSearch)
        client.StartSearch(GetHWND(), m_query.category, m_query.emulator, m_query.order, m_query.language,
                           m_query.page, m_query.keyword, pageSize);
    else
        client.StartGameList(GetHWND(), m_query.category, m_query.emulator, m_query.order, m_query.language,
                             m_query.page, pageSize);
}

void CGameListPage::ShowList(std::unique_ptr<CGameList> list)
{
    if (!m_query.IsAnsweredBy(list->request)) {
        if (!m_askedAgain) {
            Request();
            m_askedAgain = true;
        }
        return; // an answer for filters the page no longer shows
    }
    m_total = ParseGameCount(list->count);
    if (m_flip)
        m_flip->SetPage(m_query.page, m_total > 0 ? m_total : static_cast<int>(list->gamelist.size()));
    if (m_type)
        m_type->SelectIndex(m_query.category);
    if (m_rank)
        m_rank->SelectIndex(m_query.order);
    UiLib::SendMessage(m_context.mainWindow, UM_SELECT_CATEGORY_ENTRY);
    if (CControlUI* total = m_PaintManager.FindControl(QStringLiteral("Lb_Total"))) {
        // TRANSLATORS: %1 is the number of games found.
        total->SetText(m_total > 0 ? QString::fromUtf8(ravelo::Tr("共 %1 款")).arg(m_total) : QString());
    }

    ClearTiles();
    DownloadManager& downloads = m_context.engines.Downloads();
    CMyGameStore& myGames = m_context.engines.MyGames();
    for (const auto& record : list->gamelist) {
        if (!record)
            continue;
        const CGame& game = *record;
        if (game.gameid.empty() || m_tiles.count(game.gameid))
            continue; // an empty record, or the same game twice in one answer
        CGameItemUI* tile = CGameItemUI::Build(m_PaintManager);
        if (!tile)
            break;
        tile->SetGame(game);
        const TaskStatus shown = downloads.GetShownStatus(game.gameid);
        tile->SetState(shown != TaskStatus::None ? static_cast<int>(shown)
                                                 : (myGames.HasInstalledGame(game.gameid) ? 8 : 0));
        m_view->Add(tile);
        m_tiles.emplace(game.gameid, tile);
        downloads.AddListener(GetHWND(), game.gameid, m_generation);
        m_pictures->Request(tile->Icon(), game.icon);
    }
    if (m_view)
        m_view->SetScrollPos(QPoint(0, 0));
    m_loading = false;
    if (m_loadingOverlay)
        m_loadingOverlay->SetVisible(false);
    if (m_failedOverlay)
        m_failedOverlay->SetVisible(false);
}

void CGameListPage::ShowFailure()
{
    m_loading = false;
    if (m_loadingOverlay)
        m_loadingOverlay->SetVisible(false);
    if (m_failedOverlay)
        m_failedOverlay->SetVisible(true); // the last list stays underneath
}

void CGameListPage::ClearTiles()
{
    DownloadManager& downloads = m_context.engines.Downloads();
    for (const auto& [gameId, tile] : m_tiles)
        downloads.RemoveListener(GetHWND(), gameId, m_generation);
    m_tiles.clear();
    ++m_generation; // a state for an old tile that is already on its way is dropped
    if (m_pictures)
        m_pictures->Clear();
    if (m_view)
        m_view->RemoveAll();
}

void CGameListPage::OnItemState(int state, const std::string& gameId, std::uintptr_t cookie)
{
    if (cookie != m_generation)
        return;
    if (CGameItemUI* tile = TileOf(gameId))
        tile->SetState(state);
}

void CGameListPage::OnTileClick(CGameItemUI& tile, WPARAM part)
{
    const CGame game = tile.GetGame(); // the tile may go while the action runs
    if (part == 0) {
        m_context.engines.PageViews().Send(GamePage(game.gameid));
        if (m_context.openDetail)
            m_context.openDetail(game, m_context.mainWindow);
        return;
    }
    m_context.actions.Act(TileActionFor(tile.GetState()), game, m_context.mainWindow);
}

} // namespace ravelo
