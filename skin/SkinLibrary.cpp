// The skin library holds only resources; this function lets a program check that they are linked in.

#include <QFile>

namespace ravelo {

bool SkinIsLinked();

bool SkinIsLinked()
{
    return QFile::exists(QStringLiteral(":/skin/xmls/Theme.xml"));
}

} // namespace ravelo
