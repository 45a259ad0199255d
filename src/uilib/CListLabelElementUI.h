#pragma once

#include "uilib/CControlUI.h"
#include "uilib/CListItemBase.h"

namespace UiLib {

/// A list item that is one line of text, drawn with its list's item styling.
class CListLabelElementUI : public CListItemBase<CControlUI>
{
public:
    static constexpr TInterfaceName<CListLabelElementUI> kInterface{"ListLabelElement"};

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    QSize EstimateSize(QSize available) override;
    void DoPaint(QPainter& painter, const QRect& paint) override;
};

} // namespace UiLib
