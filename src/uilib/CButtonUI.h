#pragma once

#include "uilib/CButtonState.h"
#include "uilib/CLabelUI.h"

namespace UiLib {

/// A label that can be clicked: state images ("normalimage", "hotimage", "pushedimage",
/// "focusedimage", "disabledimage"), "foreimage"/"hotforeimage" over them, state text colours
/// ("hottextcolor", "pushedtextcolor", "focusedtextcolor") and state backgrounds ("hotbkcolor",
/// "pushedbkcolor", "disabledbkcolor"). A release over the button sends "click". The state and its
/// pictures are a CButtonState, shared with options, combos and edits.
class CButtonUI : public CLabelUI
{
public:
    static constexpr TInterfaceName<CButtonUI> kInterface{"Button"};

    CButtonUI();

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;
    bool TakesCaptionInput() const override { return true; }
    unsigned GetControlFlags() const override;
    bool Activate() override;
    void SetEnabled(bool enabled = true) override;

    unsigned GetButtonState() const { return m_state.Get(); }
    void SetButtonState(unsigned state);

    QString GetNormalImage() const { return m_state.GetImage(CButtonState::Normal); }
    void SetNormalImage(const QString& description) { SetStateImage(CButtonState::Normal, description); }
    QString GetHotImage() const { return m_state.GetImage(CButtonState::Hot); }
    void SetHotImage(const QString& description) { SetStateImage(CButtonState::Hot, description); }
    QString GetPushedImage() const { return m_state.GetImage(CButtonState::Pushed); }
    void SetPushedImage(const QString& description) { SetStateImage(CButtonState::Pushed, description); }
    QString GetFocusedImage() const { return m_state.GetImage(CButtonState::Focused); }
    void SetFocusedImage(const QString& description) { SetStateImage(CButtonState::Focused, description); }
    QString GetDisabledImage() const { return m_state.GetImage(CButtonState::Disabled); }
    void SetDisabledImage(const QString& description) { SetStateImage(CButtonState::Disabled, description); }
    QString GetForeImage() const { return m_state.GetImage(CButtonState::Fore); }
    void SetForeImage(const QString& description) { SetStateImage(CButtonState::Fore, description); }
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
    void SetStateImage(CButtonState::Image image, const QString& description);
    /// Draws a description and forgets it when it cannot be drawn; false then.
    bool DrawOrForget(QPainter& painter, QString& description);
    /// The text colour for the current state.
    virtual std::uint32_t StateTextColor() const;

    CButtonState m_state;
    std::uint32_t m_dwHotTextColor = 0;
    std::uint32_t m_dwPushedTextColor = 0;
    std::uint32_t m_dwFocusedTextColor = 0;
    std::uint32_t m_dwHotBkColor = 0;
    std::uint32_t m_dwPushedBkColor = 0;
    std::uint32_t m_dwDisabledBkColor = 0;
};

} // namespace UiLib
