#pragma once

#include "uilib/COptionUI.h"

namespace ravelo {

/// An entry of the main window's left bar: an option that, when selected, draws
/// "selectedleftimage" and "selectedrightimage" (for example a marker and an arrow) and otherwise
/// "unselectedrightimage"; with "isselectedshowborder" its border shows only while selected;
/// "canexpansion" marks an entry that opens a list below it. Tag LeftBarOption.
class CLeftBarOptionUI : public UiLib::COptionUI
{
public:
    static constexpr UiLib::TInterfaceName<CLeftBarOptionUI> kInterface{"CLeftBarOptionUI"};

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    bool CanExpansion() const { return m_bCanExpansion; }
    bool IsSelectedShowBorder() const { return m_bSelectedShowBorder; }

    void SetAttribute(const QString& name, const QString& value) override;
    void PaintStatusImage(QPainter& painter) override;
    void PaintBorder(QPainter& painter) override;

private:
    QString m_sSelectedLeftImage;
    QString m_sSelectedRightImage;
    QString m_sUnselectedRightImage;
    bool m_bSelectedShowBorder = false;
    bool m_bCanExpansion = false;
};

} // namespace ravelo
