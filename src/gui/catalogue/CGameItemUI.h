#pragma once

#include "service/CGame.h"
#include "uilib/CHorizontalLayoutUI.h"

namespace ravelo {

/// A game tile of the catalogue pages: the game's icon, name, system and genre, rating and an action
/// button that follows the game's download state. It keeps its own copy of the game. A click on the
/// tile is a "click" from it with wParam 0 (open the game); a click on its button one with wParam 1
/// and the tile's state in lParam. Tag GameItem, built from "skin\xmls\GameItem.xml".
class CGameItemUI : public UiLib::CHorizontalLayoutUI
{
public:
    static constexpr UiLib::TInterfaceName<CGameItemUI> kInterface{"CGameItemUI"};

    /// Builds a tile from its layout with the page's manager; null when the layout cannot be built.
    static CGameItemUI* Build(UiLib::CPaintManagerUI& manager);

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    void SetGame(const CGame& game);
    const CGame& GetGame() const { return m_game; }

    /// A state code of UM_ITEM_STATE; codes a tile does not show are ignored.
    void SetState(int state);
    int GetState() const { return m_state; }
    /// Bytes done and in all while the game downloads or unpacks; the bar hides in other states.
    void SetProgress(bool unpacking, double done, double total);

    /// The control that shows the game's icon (the page asks the picture queue for it).
    UiLib::CControlUI* Icon() const;

    void DoEvent(UiLib::TEventUI& event) override;
    void RecvMessage(UiLib::CControlUI* sender, UiLib::WPARAM wParam, UiLib::LPARAM lParam) override;
    void SetAttribute(const QString& name, const QString& value) override;
    void PaintBorder(QPainter& painter) override;

private:
    void ShowState();
    void ShowProgressRows(bool show);

    CGame m_game;
    int m_state = 0;
    bool m_hot = false;
    std::uint32_t m_hotBorderColor = 0xFFFF6A3D;
    int m_hotBorderSize = 1;
};

} // namespace ravelo
