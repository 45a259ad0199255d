#pragma once

#include "uilib/CControlUI.h"

#include <cstdint>

namespace ravelo {

/// A stick of the gamepad test's pad: a ring and a knob that moves with the stick and changes colour
/// while the stick is pressed. Attributes "circlecolor", "stickcolor", "stickpushcolor" (ARGB). Tag
/// Stick. UI thread.
class CStickUI : public UiLib::CControlUI
{
public:
    static constexpr UiLib::TInterfaceName<CStickUI> kInterface{"CStickUI"};
    static constexpr int kPenWidth = 5;
    static constexpr int kMargin = 10;

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    /// The stick's axes (XInput's range, Y upwards); repaints when the knob moves.
    void SetValue(int x, int y);
    void SetPushed(bool pushed);
    bool IsPushed() const { return m_bPushed; }
    /// The knob's centre in window coordinates.
    QPoint GetKnobCenter() const { return m_ptKnob; }
    QPoint GetCenter() const { return m_ptCenter; }
    int GetRingRadius() const { return m_nRingRadius; }

    void SetPos(QRect rc, bool needInvalidate = true) override;
    void SetAttribute(const QString& name, const QString& value) override;
    void DoPaint(QPainter& painter, const QRect& paint) override;

private:
    std::uint32_t m_dwCircleColor = 0xFFFF0000;
    std::uint32_t m_dwStickColor = 0xFFFF0000;
    std::uint32_t m_dwPushColor = 0xFF00FF00;
    QPoint m_ptCenter;
    QPoint m_ptKnob;
    int m_nRingRadius = 0;
    int m_nKnobRadius = 0;
    int m_nX = 0;
    int m_nY = 0;
    bool m_bPushed = false;
};

} // namespace ravelo
