#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

namespace ravelo {

/// Shows games in the desktop's file manager. A file is shown selected in its folder where the file
/// manager offers the freedesktop FileManager1 service on the session bus (asked without waiting);
/// without one, or when it answers with an error, the folder is opened with the desktop's opener
/// (UiLib::OpenUrl, which tests replace). UI thread.
class FileManagerReveal
{
public:
    /// bus: where to look for the file manager (the session bus by default).
    explicit FileManagerReveal(QDBusConnection bus = QDBusConnection::sessionBus());
    ~FileManagerReveal();
    FileManagerReveal(const FileManagerReveal&) = delete;
    FileManagerReveal& operator=(const FileManagerReveal&) = delete;

    void SetBus(QDBusConnection bus) { m_bus = std::move(bus); }

    /// Shows the file selected in its folder, or opens the folder.
    void ShowFile(const QString& path);
    /// Opens the folder.
    void OpenFolder(const QString& folder);

private:
    QDBusConnection m_bus;
    QObject m_context; // pending answers die with it
};

} // namespace ravelo
