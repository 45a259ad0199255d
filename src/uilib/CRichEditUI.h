#pragma once

#include "uilib/CContainerUI.h"
#include "uilib/CHtmlLinkTracker.h"

#include <memory>

namespace UiLib {

class CHtmlText;

/// Read-only rich text that scrolls: a description, tips, contact lines. With "rich" = "true" the
/// text is the layouts' markup (see CHtmlText); otherwise it is shown as it is and web addresses
/// in it become links. A click on a link sends "link" (wParam: its index; GetLinkContent gives the
/// address). Attributes: "font", "textcolor", "textpadding", "wordbreak" (default true),
/// "vscrollbar" (default true).
class CRichEditUI : public CContainerUI
{
public:
    static constexpr TInterfaceName<CRichEditUI> kInterface{"RichEdit"};

    CRichEditUI();
    ~CRichEditUI() override;

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;
    bool TakesCaptionInput() const override { return true; }

    void SetText(const QString& text) override;
    /// Adds text at the end.
    void AppendText(const QString& text);
    bool IsRich() const { return m_bRich; }
    void SetRich(bool rich);
    int GetFont() const { return m_iFont; }
    void SetFont(int font);
    std::uint32_t GetTextColor() const { return m_dwTextColor; }
    void SetTextColor(std::uint32_t argb);
    int GetLinkCount() const;
    QString GetLinkContent(int index) const;
    /// The height the whole text takes at the current width.
    int GetTextHeight();

    void SetPos(QRect rc, bool needInvalidate = true) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(const QString& name, const QString& value) override;
    void DoPaint(QPainter& painter, const QRect& paint) override;

private:
    QRect TextRect() const;
    void UpdateDocument();

    std::unique_ptr<CHtmlText> m_pHtml;
    bool m_bRich = false;
    bool m_bWordBreak = true;
    int m_iFont = -1;
    std::uint32_t m_dwTextColor = 0;
    QMargins m_rcTextPadding{4, 4, 4, 4};
    CHtmlLinkTracker m_links;
};

} // namespace UiLib
