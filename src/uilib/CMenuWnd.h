#pragma once

#include "uilib/WindowImplBase.h"

#include <QPoint>

namespace UiLib {

/// A pop-up menu built from a layout file whose root is Menu. It closes when an entry is chosen
/// (reporting the entry's name) or when the user clicks elsewhere or presses Escape.
class CMenuWnd : public WindowImplBase
{
public:
    explicit CMenuWnd(QString layout, IDialogBuilderCallback* callback = nullptr);

    /// Shows the menu at a screen point (kept on the screen), waits for the user and returns the
    /// chosen entry's name, or an empty string when the menu was dismissed. UI thread; runs an event
    /// loop while the menu is open.
    static QString TrackPopupMenu(ravelo::WindowHandle owner, const QString& layout, QPoint globalPos,
                                  IDialogBuilderCallback* callback = nullptr);

    /// Creates the menu at a screen point and, with show, shows it without waiting; GetChosen tells
    /// the result after it closed.
    bool Init(ravelo::WindowHandle owner, QPoint globalPos, bool show = true);
    QString GetChosen() const { return m_sChosen; }

    QString GetSkinFile() override { return m_sLayout; }
    void Notify(TNotifyUI& msg) override;
    CControlUI* CreateControl(const QString& className) override;

protected:
    QString GetWindowClassName() const override { return QStringLiteral("MenuWnd"); }
    Qt::WindowFlags ExtraWindowFlags() const override { return Qt::Popup; }
    LRESULT HandleMessage(ravelo::Message& message, bool& handled) override;

private:
    QString m_sLayout;
    IDialogBuilderCallback* m_pCallback;
    QString m_sChosen;
};

} // namespace UiLib
