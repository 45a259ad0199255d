#pragma once

#include "store/Gameinfo.h"
#include "uilib/CHorizontalLayoutUI.h"

namespace ravelo {

/// One installed catalogue game on the my-games page, built from "skin\xmls\DownLoadGameItem.xml": its
/// icon Gi_Icon, name St_GameName, system Lb_EmuType and size Lb_Size, and the buttons Btn_Play,
/// Btn_OpenFolder and Btn_Delete, whose clicks the page tells apart by name. It keeps a copy of its
/// record. Tag DownLoadGameItem. UI thread.
class CDownLoadGameItemUI : public UiLib::CHorizontalLayoutUI
{
public:
    static constexpr UiLib::TInterfaceName<CDownLoadGameItemUI> kInterface{"CDownLoadGameItemUI"};

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    const Gameinfo& Game() const { return m_game; }
    /// Takes the record and shows its name, system and size (the icon is the page's to ask for).
    void Bind(const Gameinfo& game);
    UiLib::CControlUI* Icon();

private:
    Gameinfo m_game;
};

} // namespace ravelo
