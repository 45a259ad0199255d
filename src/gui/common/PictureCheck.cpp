#include "gui/common/PictureCheck.h"

#include <QImage>
#include <QImageReader>
#include <QString>

namespace ravelo {

bool IsDecodablePicture(const std::string& path)
{
    QImageReader reader(QString::fromStdString(path));
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (!reader.canRead() || (size.isValid() && (size.width() > 8192 || size.height() > 8192)))
        return false;
    // Reading the whole picture is the only way to know it is not cut short.
    return !reader.read().isNull();
}

} // namespace ravelo
