#pragma once

#include "uilib/CLabelUI.h"

namespace UiLib {

/// A bar filled in proportion to value between min and max: "foreimage" (or "forecolor") is drawn
/// over the filled part, stretched ("isstretchfore", the default) or cut; "hor" = false fills
/// upwards. The label's text, if any, is drawn over it.
class CProgressUI : public CLabelUI
{
public:
    static constexpr TInterfaceName<CProgressUI> kInterface{"Progress"};

    CProgressUI();

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    bool IsHorizontal() const { return m_bHorizontal; }
    void SetHorizontal(bool horizontal = true);
    int GetMinValue() const { return m_nMin; }
    void SetMinValue(int min);
    int GetMaxValue() const { return m_nMax; }
    void SetMaxValue(int max);
    int GetValue() const { return m_nValue; }
    void SetValue(int value);
    QString GetForeImage() const { return m_sForeImage; }
    void SetForeImage(const QString& description);

    void SetAttribute(const QString& name, const QString& value) override;
    void PaintStatusImage(QPainter& painter) override;

protected:
    /// How far value is between min and max, from 0 to 1 (0 when the range is empty).
    double Fraction() const;
    /// Draws the filled part of the bar (window coordinates): "foreimage" stretched or cut into it,
    /// else "forecolor" (or color when given) with round corners.
    void PaintFill(QPainter& painter, const QRect& filled, QSize round, std::uint32_t color = 0);

    bool m_bHorizontal = true;
    bool m_bStretchForeImage = true;
    int m_nMin = 0;
    int m_nMax = 100;
    int m_nValue = 0;
    QString m_sForeImage;
    std::uint32_t m_dwForeColor = 0;
};

} // namespace UiLib
