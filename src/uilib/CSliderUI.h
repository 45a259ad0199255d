#pragma once

#include "uilib/CProgressUI.h"

namespace UiLib {

/// A progress bar whose value the user sets: dragging the thumb (a press on the track jumps the
/// thumb there and drags on), the wheel and the arrow, page, Home and End keys. While dragging the
/// window gets "movevaluechanged" for each new value; when a change is done (release, wheel, key)
/// it gets "valuechanged" (wParam: the new value). Attributes of Progress plus "thumbimage",
/// "thumbhotimage", "thumbpushedimage" (drawn inside the thumb), "thumbsize" (default 16,16),
/// "step" (wheel and arrow keys, default 1), "tracksize" (the bar's thickness, default 4; 0 fills
/// the control like a progress bar), "thumbcolor", "thumbhotcolor", "thumbpushedcolor" (the ring
/// of the thumb drawn without pictures) and "disabledforecolor". Tag Slider.
class CSliderUI : public CProgressUI
{
public:
    static constexpr TInterfaceName<CSliderUI> kInterface{"Slider"};

    CSliderUI();

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;
    bool TakesCaptionInput() const override { return true; }
    unsigned GetControlFlags() const override;
    void SetEnabled(bool enabled = true) override;

    int GetChangeStep() const { return m_nStep; }
    void SetChangeStep(int step);
    QSize GetThumbSize() const { return m_szThumb; }
    void SetThumbSize(QSize size);
    /// The thumb's rectangle in the window for the current value.
    QRect GetThumbRect() const;
    /// The bar's rectangle in the window (the whole control when "tracksize" is 0).
    QRect GetTrackRect() const;
    bool IsDragging() const { return m_uThumbState & UISTATE_CAPTURED; }

    void DoEvent(TEventUI& event) override;
    void SetAttribute(const QString& name, const QString& value) override;
    void PaintBkColor(QPainter& painter) override;
    void PaintStatusImage(QPainter& painter) override;

private:
    /// Sets a value clamped to min..max and sends notification when it changed; false when not.
    bool ChangeValue(int value, const QString& notification);
    /// The value that puts the thumb's grab point under a window point.
    int ValueAt(QPoint point) const;
    void SetThumbState(unsigned state);
    void PaintThumb(QPainter& painter);

    int m_nStep = 1;
    int m_nTrackSize = 4;
    QSize m_szThumb{16, 16};
    unsigned m_uThumbState = 0;
    int m_nGrabOffset = 0;
    int m_nPressValue = 0;
    QString m_sThumbImage;
    QString m_sThumbHotImage;
    QString m_sThumbPushedImage;
    std::uint32_t m_dwThumbColor = 0xFFFF6A3D;
    std::uint32_t m_dwThumbHotColor = 0xFFFF8259;
    std::uint32_t m_dwThumbPushedColor = 0xFFE65528;
    std::uint32_t m_dwDisabledForeColor = 0xFFCDD2DA;
};

} // namespace UiLib
