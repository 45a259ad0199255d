#pragma once

#include "store/LocalGame.h"
#include "uilib/CHorizontalLayoutUI.h"

namespace ravelo {

/// One imported game on the my-games page, built from "skin\xmls\LocalGameItem.xml": its icon Gi_Icon,
/// name St_GameName, system Lb_EmuType and size Lb_Size ("%sMB"), and the buttons Btn_Play,
/// Btn_OpenFolder, Btn_Rename and Btn_Delete, whose clicks the page tells apart by name. It keeps a copy
/// of its record. Tag LocalGameItem. UI thread.
class CLocalGameItemUI : public UiLib::CHorizontalLayoutUI
{
public:
    static constexpr UiLib::TInterfaceName<CLocalGameItemUI> kInterface{"CLocalGameItemUI"};

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    const LocalGame& Game() const { return m_game; }
    /// Takes the record and shows it, its icon included.
    void Bind(const LocalGame& game);

private:
    LocalGame m_game;
};

} // namespace ravelo
