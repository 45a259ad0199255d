#pragma once

#include "uilib/CControlUI.h"

namespace UiLib {

class CContainerUI;

/// The scroll bar of a container: a track with a draggable thumb. It has no buttons; the wheel and
/// clicks on the track scroll its owner.
class CScrollBarUI : public CControlUI
{
public:
    static constexpr TInterfaceName<CScrollBarUI> kInterface{"ScrollBar"};

    CScrollBarUI();

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;
    bool TakesCaptionInput() const override { return true; }

    CContainerUI* GetOwner() const { return m_pOwner; }
    void SetOwner(CContainerUI* owner) { m_pOwner = owner; }
    bool IsHorizontal() const { return m_bHorizontal; }
    void SetHorizontal(bool horizontal = true);
    /// The content length beyond what shows; 0 means nothing to scroll.
    int GetScrollRange() const { return m_nRange; }
    void SetScrollRange(int range);
    int GetScrollPos() const { return m_nScrollPos; }
    void SetScrollPos(int pos);
    int GetLineSize() const { return m_nLineSize; }
    void SetLineSize(int size) { m_nLineSize = qMax(1, size); }
    /// The thickness the owner reserves for the bar.
    int GetThickness() const;

    void SetPos(QRect rc, bool needInvalidate = true) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(const QString& name, const QString& value) override;
    void DoPaint(QPainter& painter, const QRect& paint) override;

    QRect GetThumbRect() const { return m_rcThumb; }

private:
    void UpdateThumb();
    void ScrollOwnerTo(int pos);

    CContainerUI* m_pOwner = nullptr;
    bool m_bHorizontal = false;
    int m_nRange = 0;
    int m_nScrollPos = 0;
    int m_nLineSize = 40;
    QRect m_rcThumb;
    unsigned m_uThumbState = 0;
    QPoint m_ptDragStart;
    int m_nDragStartPos = 0;
    std::uint32_t m_dwThumbColor = 0x66000000;
    std::uint32_t m_dwThumbHotColor = 0x99000000;
    std::uint32_t m_dwThumbPushedColor = 0xB3000000;
    QString m_sThumbNormalImage;
    QString m_sThumbHotImage;
    QString m_sThumbPushedImage;
};

} // namespace UiLib
