#pragma once

#include "uilib/CHtmlLinkTracker.h"
#include "uilib/CLabelUI.h"

namespace UiLib {

/// A label for longer text: it wraps by default and, with "showhtml", its <a> links send "link"
/// (wParam: the link's index, GetLinkContent gives its target) when clicked.
class CTextUI : public CLabelUI
{
public:
    static constexpr TInterfaceName<CTextUI> kInterface{"Text"};

    CTextUI();

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;
    bool TakesCaptionInput() const override { return true; }
    unsigned GetControlFlags() const override;

    int GetLinkCount() const;
    QString GetLinkContent(int index) const;

    void DoEvent(TEventUI& event) override;
    void PaintText(QPainter& painter) override;

private:
    CHtmlLinkTracker m_links;
};

} // namespace UiLib
