#pragma once

#include "uilib/CButtonUI.h"

#include <functional>

namespace ravelo {

/// A button whose click goes to its parent container (RecvMessage with this button and 0, 0)
/// instead of to the window; the parent decides what the click means. Tag DispatchEventButton.
class CDispatchEventButtonUI : public UiLib::CButtonUI
{
public:
    static constexpr UiLib::TInterfaceName<CDispatchEventButtonUI> kInterface{"CDispatchEventButtonUI"};

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;
    void DoEvent(UiLib::TEventUI& event) override;
};

/// The click handling shared by the dispatch button and option: the button's state moves as on any
/// button, and a release inside the control calls onRelease then the parent's RecvMessage. UI thread.
void DispatchClickEvent(UiLib::CButtonUI& control, UiLib::CButtonState& state, UiLib::TEventUI& event,
                        const std::function<void()>& onRelease,
                        const std::function<void(UiLib::TEventUI&)>& fallback);

} // namespace ravelo
