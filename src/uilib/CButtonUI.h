#pragma once

#include "uilib/CLabelUI.h"

namespace UiLib {

/// A label that can be clicked: state images ("normalimage", "hotimage", "pushedimage",
/// "focusedimage", "disabledimage"), "foreimage"/"hotforeimage" over them, state text colours
/// ("hottextcolor", "pushedtextcolor", "focusedtextcolor") and state backgrounds ("hotbkcolor",
/// "pushedbkcolor", "disabledbkcolor"). A release over the button sends "click".
class CButtonUI : public CLabelUI
{
public:
    CButtonUI();

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;
    unsigned GetControlFlags() const override;
    bool Activate() override;
    void SetEnabled(bool enabled = true) override;

    unsigned GetButtonState() const { return m_uButtonState; }
    void SetButtonState(unsigned state);

    QString GetNormalImage() const { return m_sNormalImage; }
    void SetNormalImage(const QString& description);
    QString GetHotImage() const { return m_sHotImage; }
    void SetHotImage(const QString& description);
    QString GetPushedImage() const { return m_sPushedImage; }
    void SetPushedImage(const QString& description);
    QString GetDisabledImage() const { return m_sDisabledImage; }
    void SetDisabledImage(const QString& description);
    QString GetForeImage() const { return m_sForeImage; }
    void SetForeImage(const QString& description);
    std::uint32_t GetHotTextColor() const { return m_dwHotTextColor; }
    void SetHotTextColor(std::uint32_t argb);
    std::uint32_t GetPushedTextColor() const { return m_dwPushedTextColor; }
    void SetPushedTextColor(std::uint32_t argb);

    void DoEvent(TEventUI& event) override;
    void SetAttribute(const QString& name, const QString& value) override;
    void PaintBkColor(QPainter& painter) override;
    void PaintText(QPainter& painter) override;
    void PaintStatusImage(QPainter& painter) override;

protected:
    /// Draws a description and forgets it when it cannot be drawn; false then.
    bool DrawOrForget(QPainter& painter, QString& description);
    /// The text colour for the current state.
    virtual std::uint32_t StateTextColor() const;

    unsigned m_uButtonState = 0;
    QString m_sNormalImage;
    QString m_sHotImage;
    QString m_sPushedImage;
    QString m_sFocusedImage;
    QString m_sDisabledImage;
    QString m_sForeImage;
    QString m_sHotForeImage;
    std::uint32_t m_dwHotTextColor = 0;
    std::uint32_t m_dwPushedTextColor = 0;
    std::uint32_t m_dwFocusedTextColor = 0;
    std::uint32_t m_dwHotBkColor = 0;
    std::uint32_t m_dwPushedBkColor = 0;
    std::uint32_t m_dwDisabledBkColor = 0;
};

} // namespace UiLib
