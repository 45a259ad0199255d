#pragma once

#include "platform/Messages.h"

#include <QString>
#include <QUrl>

#include <functional>

// The desktop's standard dialogs and services as windows use them. Each has a replaceable handler
// so that tests (and headless runs) can answer in place of a person. UI thread only.
namespace UiLib {

struct MessageBoxRequest
{
    ravelo::WindowHandle owner = 0;
    QString text;
    QString caption;
    unsigned type = 0;
};

/// Shows a message box over the owner window with the given text and caption; type is MB_OK,
/// MB_OKCANCEL, MB_YESNO or MB_YESNOCANCEL with an MB_ICON... bit. Buttons read "确定", "取消", "是",
/// "否". Returns IDOK, IDCANCEL, IDYES or IDNO (closing the box answers IDCANCEL, or IDNO for
/// MB_YESNO).
int MessageBox(ravelo::WindowHandle owner, const QString& text, const QString& caption, unsigned type);

/// Lets the user pick a folder; returns its path, or an empty string when the user cancelled.
QString BrowseForFolder(ravelo::WindowHandle owner, const QString& title, const QString& startFolder = {});

/// Opens a web address in the desktop's browser; false when nothing could open it.
bool OpenUrl(const QUrl& url);

/// Replaces the dialogs (null restores the real ones).
void SetMessageBoxHandler(std::function<int(const MessageBoxRequest&)> handler);
void SetFolderDialogHandler(std::function<QString(ravelo::WindowHandle, const QString& title)> handler);
void SetUrlOpener(std::function<bool(const QUrl&)> opener);

} // namespace UiLib
