#include "uilib/UiDialogs.h"

#include "platform/Translate.h"
#include "uilib/CPaintManagerUI.h"
#include "uilib/CWindowWnd.h"
#include "uilib/WinDefines.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace UiLib {

namespace {

std::function<int(const MessageBoxRequest&)>& MessageBoxHandler()
{
    static std::function<int(const MessageBoxRequest&)> handler;
    return handler;
}

std::function<QString(ravelo::WindowHandle, const QString&)>& FolderHandler()
{
    static std::function<QString(ravelo::WindowHandle, const QString&)> handler;
    return handler;
}

std::function<bool(const QUrl&)>& UrlOpener()
{
    static std::function<bool(const QUrl&)> opener;
    return opener;
}

QWidget* OwnerWidget(ravelo::WindowHandle owner)
{
    CWindowWnd* window = CWindowWnd::FromHandle(owner);
    return window ? window->GetWidget() : nullptr;
}

} // namespace

int MessageBox(ravelo::WindowHandle owner, const QString& text, const QString& caption, unsigned type)
{
    if (MessageBoxHandler())
        return MessageBoxHandler()({owner, text, caption, type});

    QMessageBox box(OwnerWidget(owner));
    box.setWindowTitle(caption);
    box.setText(text);
    box.setFont(CPaintManagerUI::DefaultFont());
    switch (type & 0xF0) {
    case MB_ICONERROR:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONWARNING:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    QPushButton* ok = nullptr;
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    switch (type & 0x0F) {
    case MB_OKCANCEL:
        ok = box.addButton(QString::fromUtf8(ravelo::Tr("确定")), QMessageBox::AcceptRole);
        box.addButton(QString::fromUtf8(ravelo::Tr("取消")), QMessageBox::RejectRole);
        break;
    case MB_YESNO:
        yes = box.addButton(QString::fromUtf8(ravelo::Tr("是")), QMessageBox::YesRole);
        no = box.addButton(QString::fromUtf8(ravelo::Tr("否")), QMessageBox::NoRole);
        box.setEscapeButton(no);
        break;
    case MB_YESNOCANCEL:
        yes = box.addButton(QString::fromUtf8(ravelo::Tr("是")), QMessageBox::YesRole);
        no = box.addButton(QString::fromUtf8(ravelo::Tr("否")), QMessageBox::NoRole);
        box.addButton(QString::fromUtf8(ravelo::Tr("取消")), QMessageBox::RejectRole);
        break;
    default:
        ok = box.addButton(QString::fromUtf8(ravelo::Tr("确定")), QMessageBox::AcceptRole);
        box.setEscapeButton(ok);
        break;
    }
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked && clicked == yes)
        return IDYES;
    if (clicked && clicked == no)
        return IDNO;
    if (clicked && clicked == ok)
        return IDOK;
    if ((type & 0x0F) == MB_YESNO)
        return IDNO;
    return (type & 0x0F) == MB_OK ? IDOK : IDCANCEL;
}

QString BrowseForFolder(ravelo::WindowHandle owner, const QString& title, const QString& startFolder)
{
    if (FolderHandler())
        return FolderHandler()(owner, title);
    return QFileDialog::getExistingDirectory(OwnerWidget(owner), title, startFolder,
                                             QFileDialog::ShowDirsOnly);
}

bool OpenUrl(const QUrl& url)
{
    if (UrlOpener())
        return UrlOpener()(url);
    return QDesktopServices::openUrl(url);
}

void SetMessageBoxHandler(std::function<int(const MessageBoxRequest&)> handler)
{
    MessageBoxHandler() = std::move(handler);
}

void SetFolderDialogHandler(std::function<QString(ravelo::WindowHandle, const QString&)> handler)
{
    FolderHandler() = std::move(handler);
}

void SetUrlOpener(std::function<bool(const QUrl&)> opener)
{
    UrlOpener() = std::move(opener);
}

} // namespace UiLib
