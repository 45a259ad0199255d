#pragma once

#include "uilib/CButtonState.h"
#include "uilib/CLabelUI.h"

#include <QEvent>
#include <QLineEdit>
#include <QPointer>

namespace UiLib {

/// A one-line text box. The typing happens in a native QLineEdit placed over the control, so input
/// methods, the clipboard and selection work as everywhere on the desktop; the control paints the
/// frame and state images around it. Attributes: "maxchar" (default 255), "password", "readonly",
/// "numberonly", "prompttext" (also "tipvalue") with "prompttextcolor", "nativebkcolor", and the
/// state images of buttons ("normalimage", "hotimage", "focusedimage", "disabledimage"; focused
/// shows before hot). Enter sends "return", each change "textchanged".
class CEditUI : public CLabelUI
{
public:
    static constexpr TInterfaceName<CEditUI> kInterface{"Edit"};

    CEditUI();
    ~CEditUI() override;

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;
    bool TakesCaptionInput() const override { return true; }
    unsigned GetControlFlags() const override;

    void SetText(const QString& text) override;
    int GetMaxChar() const { return m_iMaxChar; }
    void SetMaxChar(int max);
    bool IsReadOnly() const { return m_bReadOnly; }
    void SetReadOnly(bool readOnly);
    bool IsPasswordMode() const { return m_bPassword; }
    void SetPasswordMode(bool password);
    bool IsNumberOnly() const { return m_bNumberOnly; }
    void SetNumberOnly(bool numberOnly);
    QString GetPromptText() const { return m_sPrompt; }
    void SetPromptText(const QString& text);
    void SetSel(int start, int end);
    void SetSelAll();
    /// The native edit, or null before the control joined a shown window.
    QLineEdit* GetNativeEdit() const { return m_pEdit; }

    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    void SetPos(QRect rc, bool needInvalidate = true) override;
    void SetVisible(bool visible = true) override;
    void SetInternVisible(bool visible = true) override;
    void SetEnabled(bool enabled = true) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(const QString& name, const QString& value) override;
    void PaintStatusImage(QPainter& painter) override;
    void PaintText(QPainter& painter) override;

private:
    class NativeWatcher;
    void OnNativeEvent(QEvent::Type type);
    void EnsureNative();
    void ApplyNativeStyle();
    void UpdateNativeGeometry();

    QPointer<QLineEdit> m_pEdit;
    int m_iMaxChar = 255;
    bool m_bReadOnly = false;
    bool m_bPassword = false;
    bool m_bNumberOnly = false;
    bool m_bSettingText = false;
    QString m_sPrompt;
    std::uint32_t m_dwPromptColor = 0xFFA8AFBC;
    std::uint32_t m_dwNativeBkColor = 0;
    CButtonState m_state;
};

} // namespace UiLib
