#pragma once

#include "uilib/CVerticalLayoutUI.h"

namespace ravelo {

/// The overlay a page shows when its request failed. Tag LoadingFail.
class CLoadingFailUI : public UiLib::CVerticalLayoutUI
{
public:
    static constexpr UiLib::TInterfaceName<CLoadingFailUI> kInterface{"CLoadingFailUI"};

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    /// A click anywhere on it (its picture and text included) is a "click" from it: the page retries.
    void DoEvent(UiLib::TEventUI& event) override;
    unsigned GetControlFlags() const override;
};

} // namespace ravelo
