#pragma once

#include "uilib/CButtonUI.h"

namespace ravelo {

/// A button with a number badge: when the number is above 0 the "NumBkImage" picture and the number
/// (white, centred) are drawn over the button's top right. The number is set in code (SetNumber) or
/// by the "number" attribute. Tag ButtonEx.
class CButtonUIEx : public UiLib::CButtonUI
{
public:
    static constexpr UiLib::TInterfaceName<CButtonUIEx> kInterface{"CButtonUIEx"};

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    int GetNumber() const { return m_nNumber; }
    void SetNumber(int number);
    QString GetNumBkImage() const { return m_sNumBkImage; }

    void SetAttribute(const QString& name, const QString& value) override;
    void PaintStatusImage(QPainter& painter) override;

private:
    QString m_sNumBkImage;
    int m_nNumber = 0;
};

} // namespace ravelo
