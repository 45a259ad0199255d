#pragma once

#include "uilib/CTabLayoutUI.h"

namespace UiLib {

/// A tab layout whose newly selected page slides in ("animation_direction" = "vertical" slides from
/// below, anything else from the right). The selection itself changes at once; only the painting
/// moves.
class CAnimationTabLayoutUI : public CTabLayoutUI
{
public:
    static constexpr TInterfaceName<CAnimationTabLayoutUI> kInterface{"AnimationTabLayout"};

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    bool SelectItem(int index) override;
    bool IsAnimating() const { return m_nOffset != 0; }

    void DoEvent(TEventUI& event) override;
    void DoPaint(QPainter& painter, const QRect& paint) override;
    void SetAttribute(const QString& name, const QString& value) override;

private:
    bool m_bVertical = false;
    int m_nOffset = 0;
};

} // namespace UiLib
