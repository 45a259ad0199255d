#pragma once

#include "gui/common/PictureSlots.h"
#include "platform/Messages.h"
#include "service/CGame.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace UiLib {
class CPaintManagerUI;
struct TNotifyUI;
} // namespace UiLib

namespace ravelo {

class CGameItemUI;
class Engines;
struct CataloguePageContext;

/// The tiles of a page that shows games in several places (the home page, a topic): builds them,
/// keeps each following its game's download state (one listener per game with the page's current
/// generation as cookie, so a state meant for tiles of an earlier fill is dropped), asks for their
/// icons and pictures through the page's picture slots. A game may show in several tiles at once.
/// UI thread.
class GameTileTracker
{
public:
    GameTileTracker(Engines& engines, WindowHandle window);
    /// Drops the listeners.
    ~GameTileTracker();
    GameTileTracker(const GameTileTracker&) = delete;
    GameTileTracker& operator=(const GameTileTracker&) = delete;

    /// A new tile for the game, showing its current state and asking for its icon; null when the
    /// tile's layout cannot be built. The caller adds it to a container (which then owns it).
    CGameItemUI* Build(UiLib::CPaintManagerUI& manager, const CGame& game);
    /// Forgets every tile (their containers are emptied by the caller), listeners and pictures.
    void Clear();
    /// The page's pictures other than tile icons (banners, topics, screenshots) go through these too.
    PictureSlots& Pictures() { return m_pictures; }

    /// Handles UM_ITEM_STATE, UM_DOWNLOAD_PROGRESS and UM_PICTURE_READY; false for other messages.
    bool HandleMessage(Message& message);

    std::vector<CGameItemUI*> TilesOf(const std::string& gameId) const;
    std::size_t TileCount() const { return m_tiles.size(); }

    /// The tile a "click" came from: the tile itself (part = its wParam) or its action button (part
    /// 1); null for any other sender.
    static CGameItemUI* TileOfClick(const UiLib::TNotifyUI& msg, std::uintptr_t& part);

private:
    Engines& m_engines;
    WindowHandle m_window;
    std::uintptr_t m_generation = 1;
    std::multimap<std::string, CGameItemUI*> m_tiles;
    PictureSlots m_pictures;
};

/// What a click on a tile does on every catalogue page: the body opens the game's detail window
/// (after its page view), the button acts on the tile's state.
void ActOnTile(CataloguePageContext& context, CGameItemUI& tile, std::uintptr_t part);

} // namespace ravelo
