#pragma once

#include "platform/Messages.h"
#include "uilib/WindowImplBase.h"

#include <QString>

namespace ravelo {

/// A small modal dialog built from a skin layout, the way every dialog of the program is: created over
/// its owner with the dialog style, centred, shown modally; `Btn_Close` (and Escape) end it with
/// ClosedCode(), kDialogClosed unless the dialog says otherwise. Subclasses add their buttons in OnClick and
/// their set-up in InitWindow. UI thread.
class CSkinDialog : public UiLib::WindowImplBase
{
public:
    CSkinDialog(QString skinFile, QString className);

    /// Creates the dialog over owner with the title, centres it over the owner and runs it until it
    /// closes; returns the code it was closed with (kDialogClosed when closed normally, -1 when it
    /// could not be built).
    int ShowModalOver(WindowHandle owner, const QString& title);

    QString GetSkinFile() override { return m_skinFile; }
    void Notify(UiLib::TNotifyUI& msg) override;

protected:
    QString GetWindowClassName() const override { return m_className; }
    UiLib::LRESULT HandleMessage(Message& message, bool& handled) override;
    /// A click on a named control other than Btn_Close.
    virtual void OnClick(const QString& name, UiLib::TNotifyUI& msg);
    /// The code Btn_Close and Escape end the dialog with (kDialogClosed unless the dialog's answers
    /// use that number).
    virtual int ClosedCode() const;
    /// Finds a control of the layout by name; null when there is none.
    UiLib::CControlUI* Find(const QString& name) { return m_PaintManager.FindControl(name); }
    /// Makes the window `pixels` lower than its layout designs it (rows it hides) and centres it again.
    void ShortenBy(int pixels);

private:
    QString m_skinFile;
    QString m_className;
};

} // namespace ravelo
