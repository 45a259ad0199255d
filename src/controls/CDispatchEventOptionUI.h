#pragma once

#include "uilib/COptionUI.h"

namespace ravelo {

/// An option whose click goes to its parent container (RecvMessage) instead of to the window. With
/// "checkedself" = "true" the click also selects it (in a group) or toggles it (without one),
/// silently; otherwise the parent sets its state. "selectedfont" is the font while selected.
/// Tag DispatchEventOption.
class CDispatchEventOptionUI : public UiLib::COptionUI
{
public:
    static constexpr UiLib::TInterfaceName<CDispatchEventOptionUI> kInterface{"DispatchEventOptionUI"};

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    bool IsCheckedSelf() const { return m_bCheckedSelf; }
    void SetCheckedSelf(bool checkedSelf) { m_bCheckedSelf = checkedSelf; }
    int GetSelectedFont() const { return m_iSelectedFont; }
    void SetSelectedFont(int font);

    void DoEvent(UiLib::TEventUI& event) override;
    void SetAttribute(const QString& name, const QString& value) override;
    void PaintText(QPainter& painter) override;

private:
    bool m_bCheckedSelf = false;
    int m_iSelectedFont = -1;
};

} // namespace ravelo
