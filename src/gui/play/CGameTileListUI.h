#pragma once

#include "uilib/CTileLayoutUI.h"

namespace ravelo {

/// A tile list of the my-games page that says what to do while it is empty: the picture "emptyimage"
/// above the line "emptytext" (font 4) and the line "emptysubtext" (font 1), centred in the list. UI
/// thread. Base of the installed and the imported lists.
class CGameTileListUI : public UiLib::CTileLayoutUI
{
public:
    static constexpr UiLib::TInterfaceName<CGameTileListUI> kInterface{"CGameTileListUI"};

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    QString GetEmptyText() const { return m_sEmptyText; }
    void SetEmptyText(const QString& text);
    void SetEmptySubText(const QString& text);

    void SetAttribute(const QString& name, const QString& value) override;
    void PaintStatusImage(QPainter& painter) override;

private:
    QString m_sEmptyImage;
    QString m_sEmptyText;
    QString m_sEmptySubText;
};

} // namespace ravelo
