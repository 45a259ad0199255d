#include "gui/play/FileManagerReveal.h"

#include "platform/DebugOutput.h"
#include "uilib/UiDialogs.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QFileInfo>
#include <QUrl>

namespace ravelo {

namespace {

const QString kService = QStringLiteral("org.freedesktop.FileManager1");
const QString kPath = QStringLiteral("/org/freedesktop/FileManager1");

} // namespace

FileManagerReveal::FileManagerReveal() = default;

FileManagerReveal::~FileManagerReveal() = default;

void FileManagerReveal::OpenFolder(const QString& folder)
{
    if (!UiLib::OpenUrl(QUrl::fromLocalFile(folder)))
        DebugOutput("my games: nothing could open " + folder.toStdString());
}

void FileManagerReveal::ShowFile(const QString& path)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!m_bus)
        m_bus = QDBusConnection::sessionBus();
    if (!m_bus->isConnected()) {
        OpenFolder(folder);
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(path).toString()} << QString();
    // The bus starts the file manager if it has to; a desktop without one answers with an error.
    auto* watcher = new QDBusPendingCallWatcher(m_bus->asyncCall(call, 5000), &m_context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, &m_context,
                     [this, watcher, folder](QDBusPendingCallWatcher*) {
                         if (watcher->isError()) {
                             DebugOutput("my games: the file manager did not show the file: " +
                                         watcher->error().message().toStdString());
                             OpenFolder(folder);
                         }
                         watcher->deleteLater();
                     });
}

} // namespace ravelo
