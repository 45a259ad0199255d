#pragma once

#include "uilib/CControlUI.h"

namespace UiLib {

class CMenuUI;

/// One entry of a menu: "text", an optional "icon" at its left, or a separator with "line" = "true".
/// A click on an enabled entry sends "itemclick"; the menu window then closes with its name.
class CMenuElementUI : public CControlUI
{
public:
    static constexpr TInterfaceName<CMenuElementUI> kInterface{"MenuElement"};

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;
    unsigned GetControlFlags() const override;

    bool IsLine() const { return m_bLine; }
    QString GetIcon() const { return m_sIcon; }

    QSize EstimateSize(QSize available) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(const QString& name, const QString& value) override;
    void DoPaint(QPainter& painter, const QRect& paint) override;

private:
    CMenuUI* Menu() const;

    bool m_bLine = false;
    bool m_bHot = false;
    QString m_sIcon;
};

} // namespace UiLib
