#pragma once

#include "uilib/CControlUI.h"

#include <string>

namespace ravelo {

/// A picture (the background image) with a "frame" picture drawn over it. When the control is
/// destroyed its picture leaves the window's picture cache, so covers loaded for one page do not
/// stay in memory. Tag GameIcon.
class CImageUI : public UiLib::CControlUI
{
public:
    static constexpr UiLib::TInterfaceName<CImageUI> kInterface{"CImageUI"};

    ~CImageUI() override;

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    QString GetFrameImage() const { return m_sFrameImage; }
    void SetFrameImage(const QString& description);
    /// Narrow text its user keeps with it (for example the picture's address).
    const std::string& GetUserString() const { return m_sUserString; }
    void SetUserString(std::string text) { m_sUserString = std::move(text); }

    void SetAttribute(const QString& name, const QString& value) override;
    void PaintStatusImage(QPainter& painter) override;

protected:
    QString m_sFrameImage;
    std::string m_sUserString;
};

} // namespace ravelo
