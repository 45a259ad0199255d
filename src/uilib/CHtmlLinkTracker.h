#pragma once

#include "uilib/UiDefines.h"

namespace UiLib {

class CControlUI;
class CHtmlText;

/// The pointer side of the links in a control's HTML text: the hand cursor over a link, the link
/// under the pointer drawn hot, and "link" (wParam: the link's index) sent when a press and its
/// release hit the same link. UI thread only.
class CHtmlLinkTracker
{
public:
    /// The link under the pointer, -1 for none.
    int HoverLink() const { return m_hover; }
    /// Forgets the hover and a press (the text changed).
    void Reset();
    /// Handles a pointer event for control showing html. True when it moved or set the cursor, or
    /// pressed or released a link: the control does nothing more with it.
    bool HandleEvent(CControlUI& control, const CHtmlText& html, TEventUI& event);

private:
    int m_hover = -1;
    int m_pressed = -1;
};

} // namespace UiLib
