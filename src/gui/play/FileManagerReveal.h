#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <optional>

namespace ravelo {

/// Shows games in the desktop's file manager. A file is shown selected in its folder where the file
/// manager offers the freedesktop FileManager1 service on the session bus (asked without waiting);
/// without one, or when it answers with an error, the folder is opened with the desktop's opener
/// (UiLib::OpenUrl, which tests replace). UI thread.
class FileManagerReveal
{
public:
    /// Looks for the file manager on the session bus, connected when a file is first shown.
    FileManagerReveal();
    ~FileManagerReveal();
    FileManagerReveal(const FileManagerReveal&) = delete;
    FileManagerReveal& operator=(const FileManagerReveal&) = delete;

    /// Looks for the file manager on this bus instead.
    void SetBus(QDBusConnection bus) { m_bus = std::move(bus); }

    /// Shows the file selected in its folder, or opens the folder.
    void ShowFile(const QString& path);
    /// Opens the folder.
    void OpenFolder(const QString& folder);

private:
    std::optional<QDBusConnection> m_bus;
    QObject m_context; // pending answers die with it
};

} // namespace ravelo
