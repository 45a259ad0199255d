#pragma once

#include "gui/play/CGameTileListUI.h"

namespace ravelo {

/// The list of installed catalogue games on the my-games page. Tag DownLoadGameLayout. UI thread.
class CDownLoadGameLayoutUI : public CGameTileListUI
{
public:
    static constexpr UiLib::TInterfaceName<CDownLoadGameLayoutUI> kInterface{"CDownLoadGameLayoutUI"};

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;
};

} // namespace ravelo
