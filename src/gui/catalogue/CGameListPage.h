#pragma once

#include "gui/catalogue/GameListQuery.h"
#include "gui/common/PictureSlots.h"
#include "platform/Messages.h"
#include "service/CGame.h"
#include "uilib/CContainerUI.h"
#include "uilib/WindowImplBase.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace ravelo {

class CatalogueActions;
class CFlipUI;
class CGameItemUI;
class CGameList;
class CGameRankFilterUI;
class CGameTypeFilterUI;
class Engines;

/// What a catalogue page is given by the main window.
struct CataloguePageContext
{
    Engines& engines;
    CatalogueActions& actions;
    WindowHandle mainWindow = 0;
    /// Opens a game's detail window (nothing until there is one).
    std::function<void(const CGame& game, WindowHandle parent)> openDetail;
};

/// The category page and the search page: filters, a grid of game tiles, the page switcher and the
/// loading and failure overlays. Every list request carries the filters that asked for it; an
/// answer for other filters than the page now wants is asked for once more and never shown. Each
/// tile follows its game's download state, looked up by game id; a refill drops the old tiles'
/// listeners and picture requests first. A child window of the main window's tab layout; UI thread.
class CGameListPage : public UiLib::WindowImplBase
{
public:
    CGameListPage(CataloguePageContext context, bool isSearch);
    ~CGameListPage() override;

    QString GetSkinFile() override;
    void InitWindow() override;
    void Notify(UiLib::TNotifyUI& msg) override;
    UiLib::CControlUI* CreateControl(const QString& className) override;

    /// What the page shows or waits for now.
    const GameListQuery& Query() const { return m_query; }
    /// The tile of a game on the page, or null.
    CGameItemUI* TileOf(const std::string& gameId) const;
    /// The tiles in their order.
    std::vector<CGameItemUI*> Tiles() const;
    /// Whether a request is out (the loading overlay is up).
    bool IsLoading() const { return m_loading; }

protected:
    QString GetWindowClassName() const override;
    UiLib::LRESULT HandleMessage(Message& message, bool& handled) override;

private:
    /// Asks for the query's page, showing the loading overlay.
    void Request();
    void ShowList(std::unique_ptr<CGameList> list);
    void ShowFailure();
    void ClearTiles();
    void OnTileClick(CGameItemUI& tile, UiLib::WPARAM part);
    void OnItemState(int state, const std::string& gameId, std::uintptr_t cookie);
    void ResetFilters();

    CataloguePageContext m_context;
    bool m_isSearch;
    GameListQuery m_query;
    bool m_loading = false;
    bool m_askedAgain = false; // the wanted query was asked for again after a stale answer
    int m_total = 0;
    std::uintptr_t m_generation = 0; // tiles' listener cookie; a new list makes a new one
    std::map<std::string, CGameItemUI*> m_tiles;
    std::unique_ptr<PictureSlots> m_pictures;

    UiLib::CContainerUI* m_view = nullptr;
    CFlipUI* m_flip = nullptr;
    CGameTypeFilterUI* m_type = nullptr;
    CGameRankFilterUI* m_rank = nullptr;
    UiLib::CControlUI* m_language = nullptr;
    UiLib::CControlUI* m_loadingOverlay = nullptr;
    UiLib::CControlUI* m_failedOverlay = nullptr;
};

} // namespace ravelo
