#include "gui/catalogue/GameTileTracker.h"

#include "app/Engines.h"
#include "download/DownloadManager.h"
#include "download/DownloadMessages.h"
#include "gui/catalogue/CGameItemUI.h"
#include "gui/catalogue/CGameListPage.h"
#include "gui/catalogue/CatalogueActions.h"
#include "gui/common/UiProbe.h"
#include "library/CMyGameStore.h"
#include "service/PageViewPinger.h"
#include "service/PictureMessages.h"
#include "service/PortalPages.h"
#include "uilib/UiDefines.h"

namespace ravelo {

using namespace UiLib;

GameTileTracker::GameTileTracker(Engines& engines, WindowHandle window)
    : m_engines(engines), m_window(window), m_pictures(engines.Pictures(), window)
{
}

GameTileTracker::~GameTileTracker()
{
    Clear();
}

CGameItemUI* GameTileTracker::Build(CPaintManagerUI& manager, const CGame& game)
{
    CGameItemUI* tile = CGameItemUI::Build(manager);
    if (!tile)
        return nullptr;
    tile->SetGame(game);
    DownloadManager& downloads = m_engines.Downloads();
    const TaskStatus shown = downloads.GetShownStatus(game.gameid);
    tile->SetState(shown != TaskStatus::None ? static_cast<int>(shown)
                                             : (m_engines.MyGames().HasInstalledGame(game.gameid) ? 8 : 0));
    if (!game.gameid.empty() && !m_tiles.count(game.gameid))
        downloads.AddListener(m_window, game.gameid, m_generation);
    m_tiles.emplace(game.gameid, tile);
    m_pictures.Request(tile->Icon(), game.icon);
    return tile;
}

void GameTileTracker::Clear()
{
    DownloadManager& downloads = m_engines.Downloads();
    for (auto it = m_tiles.begin(); it != m_tiles.end(); it = m_tiles.upper_bound(it->first))
        if (!it->first.empty())
            downloads.RemoveListener(m_window, it->first, m_generation);
    m_tiles.clear();
    ++m_generation;
    m_pictures.Clear();
}

std::vector<CGameItemUI*> GameTileTracker::TilesOf(const std::string& gameId) const
{
    std::vector<CGameItemUI*> tiles;
    const auto [first, last] = m_tiles.equal_range(gameId);
    for (auto it = first; it != last; ++it)
        tiles.push_back(it->second);
    return tiles;
}

bool GameTileTracker::HandleMessage(Message& message)
{
    switch (message.id) {
    case UM_ITEM_STATE:
        if (const std::unique_ptr<ItemStateCookie> cookie = message.TakePayload<ItemStateCookie>();
            cookie && cookie->cookie == m_generation)
            for (CGameItemUI* tile : TilesOf(cookie->gameId))
                tile->SetState(static_cast<int>(message.wParam));
        return true;
    case UM_DOWNLOAD_PROGRESS:
        if (const std::unique_ptr<DownloadProgress> progress = message.TakePayload<DownloadProgress>())
            for (CGameItemUI* tile : TilesOf(progress->gameId))
                tile->SetProgress(progress->state == TaskStatus::Unpacking, progress->done, progress->total);
        return true;
    case UM_PICTURE_READY:
        if (const std::unique_ptr<PictureResult> result = message.TakePayload<PictureResult>();
            result && m_pictures.Deliver(*result) && m_pictures.Waiting() == 0)
            UiProbe::PageComplete(TileCount());
        return true;
    default:
        return false;
    }
}

CGameItemUI* GameTileTracker::TileOfClick(const TNotifyUI& msg, std::uintptr_t& part)
{
    if (msg.sType != DUI_MSGTYPE_CLICK || !msg.pSender)
        return nullptr;
    if (auto* tile = ControlAs<CGameItemUI>(msg.pSender)) {
        part = msg.wParam;
        return tile;
    }
    if (msg.pSender->GetName() != QLatin1String("Btn_InstallGame"))
        return nullptr;
    for (CControlUI* up = msg.pSender->GetParent(); up; up = up->GetParent())
        if (auto* owner = ControlAs<CGameItemUI>(up)) {
            part = 1;
            return owner;
        }
    return nullptr;
}

void ActOnTile(CataloguePageContext& context, CGameItemUI& tile, std::uintptr_t part)
{
    const CGame game = tile.GetGame(); // the tile may go while the action runs
    if (part == 0) {
        context.engines.PageViews().Send(GamePage(game.gameid));
        if (context.openDetail)
            context.openDetail(game, context.mainWindow);
        return;
    }
    context.actions.Act(TileActionFor(tile.GetState()), game, context.mainWindow);
}

} // namespace ravelo
