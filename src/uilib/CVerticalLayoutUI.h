#pragma once

#include "uilib/CContainerUI.h"

namespace UiLib {

/// Lays out its children in a vertical line: fixed sizes first, the rest shared among the children
/// without a fixed size, with padding and child padding.
class CVerticalLayoutUI : public CContainerUI
{
public:
    static constexpr TInterfaceName<CVerticalLayoutUI> kInterface{"VerticalLayout"};

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;
    void SetPos(QRect rc, bool needInvalidate = true) override;
};

} // namespace UiLib
