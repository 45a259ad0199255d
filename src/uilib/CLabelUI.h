#pragma once

#include "uilib/CControlUI.h"

#include <memory>

namespace UiLib {

class CHtmlText;

/// A control that shows text: alignment ("align", "valign"), "endellipsis", "wordbreak", "font",
/// "textcolor", "disabledtextcolor", "textpadding", "showhtml" and "autocalcwidth".
class CLabelUI : public CControlUI
{
public:
    static constexpr TInterfaceName<CLabelUI> kInterface{"Label"};

    CLabelUI();
    ~CLabelUI() override;

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    void SetText(const QString& text) override;
    unsigned GetTextStyle() const { return m_uTextStyle; }
    void SetTextStyle(unsigned style);
    /// 0 means the window's default colour.
    std::uint32_t GetTextColor() const { return m_dwTextColor; }
    void SetTextColor(std::uint32_t argb);
    std::uint32_t GetDisabledTextColor() const { return m_dwDisabledTextColor; }
    void SetDisabledTextColor(std::uint32_t argb);
    int GetFont() const { return m_iFont; }
    void SetFont(int index);
    QMargins GetTextPadding() const { return m_rcTextPadding; }
    void SetTextPadding(const QMargins& padding);
    bool IsShowHtml() const { return m_bShowHtml; }
    void SetShowHtml(bool showHtml = true);
    bool IsAutoCalcWidth() const { return m_bAutoCalcWidth; }
    void SetAutoCalcWidth(bool autoCalc = true);
    /// The width the text takes in the control's font.
    int MeasureTextWidth() const;

    QSize EstimateSize(QSize available) override;
    void SetAttribute(const QString& name, const QString& value) override;
    void PaintText(QPainter& painter) override;

protected:
    /// The colour the text is drawn in now (enabled or disabled).
    std::uint32_t CurrentTextColor() const;
    /// Draws the text in a colour and font, plain or as markup, inside the item minus the padding.
    void DrawLabelText(QPainter& painter, const QRect& rect, std::uint32_t color, int font, int hotLink = -1);
    CHtmlText& Html();

    std::uint32_t m_dwTextColor = 0;
    std::uint32_t m_dwDisabledTextColor = 0;
    int m_iFont = -1;
    unsigned m_uTextStyle = DT_VCENTER | DT_SINGLELINE;
    QMargins m_rcTextPadding;
    bool m_bShowHtml = false;
    bool m_bAutoCalcWidth = false;
    std::unique_ptr<CHtmlText> m_pHtml;
};

} // namespace UiLib
