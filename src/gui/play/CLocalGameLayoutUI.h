#pragma once

#include "gui/play/CDropTileLayoutUI.h"

namespace ravelo {

/// The list of imported games on the my-games page; it takes dropped files and folders and keeps the
/// system number the list shows, which is the system a drop onto it imports for (0: all systems, which
/// imports nothing). Tag LocalGameLayout. UI thread.
class CLocalGameLayoutUI : public CDropTileLayoutUI
{
public:
    static constexpr UiLib::TInterfaceName<CLocalGameLayoutUI> kInterface{"CLocalGameLayoutUI"};

    CLocalGameLayoutUI() { SetAcceptDrop(true); }

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    int GetSystem() const { return m_nSystem; }
    void SetSystem(int systemNumber) { m_nSystem = systemNumber; }

private:
    int m_nSystem = 0;
};

} // namespace ravelo
