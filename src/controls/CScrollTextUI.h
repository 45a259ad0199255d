#pragma once

#include "uilib/CLabelUI.h"

namespace ravelo {

/// A one-line label that shows text too long for it with an ellipsis and, while the pointer rests
/// on it, scrolls the text one pixel every "speed" milliseconds (default 20). Tag ScrollText.
class CScrollTextUI : public UiLib::CLabelUI
{
public:
    static constexpr UiLib::TInterfaceName<CScrollTextUI> kInterface{"CScrollTextUI"};

    static constexpr unsigned kScrollTimer = 400;

    CScrollTextUI();
    ~CScrollTextUI() override;

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    int GetSpeed() const { return m_nSpeed; }
    int GetScrollOffset() const { return m_nOffset; }
    int GetScrollTextWidth() const { return m_nTextWidth; }

    void DoEvent(UiLib::TEventUI& event) override;
    void SetAttribute(const QString& name, const QString& value) override;
    void PaintText(QPainter& painter) override;

private:
    int m_nSpeed = 20;
    int m_nTextWidth = 0;
    int m_nOffset = 0;
};

} // namespace ravelo
