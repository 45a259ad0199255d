#pragma once

#include "controls/CImageUI.h"

namespace ravelo {

/// A picture made in code (screenshots). With "autoremovecontorl" = "true" a picture that cannot be
/// drawn takes the control out of the layout (it hides), so a missing screenshot leaves no gap.
class CImageUIEx : public CImageUI
{
public:
    static constexpr UiLib::TInterfaceName<CImageUIEx> kInterface{"CImageUIEx"};

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    bool IsAutoRemove() const { return m_bAutoRemove; }
    void SetAutoRemove(bool autoRemove) { m_bAutoRemove = autoRemove; }

    void SetAttribute(const QString& name, const QString& value) override;
    void PaintBkImage(QPainter& painter) override;

private:
    bool m_bAutoRemove = false;
};

} // namespace ravelo
