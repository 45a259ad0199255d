#include "uilib/SkinResources.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace UiLib::Skin {

namespace {

bool IsFile(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

} // namespace

QString Resolve(const QString& name)
{
    if (name.isEmpty())
        return {};
    QString path = name;
    path.replace(u'\\', u'/');
    if (path.startsWith(QLatin1String(":/")))
        return IsFile(path) ? path : QString();
    if (QDir::isAbsolutePath(path))
        return IsFile(path) ? path : QString();
    // A relative name never climbs out of the skin.
    if (path.startsWith(QLatin1String("../")) || path.contains(QLatin1String("/../")))
        return {};

    const QString overrideFolder = qEnvironmentVariable("RAVELO_SKIN_DIR");
    if (!overrideFolder.isEmpty()) {
        const QString root = QDir(overrideFolder).absolutePath() + u'/';
        for (const QString& candidate : {root + path, root + QLatin1String("skin/") + path}) {
            if (IsFile(candidate))
                return candidate;
        }
    }
    for (const QString& candidate : {QLatin1String(":/") + path, QLatin1String(":/skin/") + path}) {
        if (IsFile(candidate))
            return candidate;
    }
    return {};
}

bool ReadAll(const QString& name, QByteArray& contents)
{
    const QString path = Resolve(name);
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    contents = file.readAll();
    return true;
}

} // namespace UiLib::Skin
