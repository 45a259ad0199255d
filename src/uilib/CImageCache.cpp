#include "uilib/CImageCache.h"

#include "uilib/SkinResources.h"

namespace UiLib {

namespace {
constexpr int kMaxDrawInfos = 4096;
} // namespace

QPixmap CImageCache::LoadImage(const QString& file)
{
    const QString path = Skin::Resolve(file);
    if (path.isEmpty())
        return {};
    QPixmap pixmap;
    pixmap.load(path);
    return pixmap;
}

QPixmap CImageCache::GetImage(const QString& file) const
{
    return m_images.value(file);
}

QPixmap CImageCache::GetImageEx(const QString& file)
{
    const auto it = m_images.constFind(file);
    if (it != m_images.constEnd())
        return it.value();
    return AddImage(file);
}

QPixmap CImageCache::AddImage(const QString& file)
{
    const QPixmap pixmap = LoadImage(file);
    if (!pixmap.isNull())
        m_images.insert(file, pixmap);
    return pixmap;
}

bool CImageCache::RemoveImage(const QString& file)
{
    return m_images.remove(file) > 0;
}

void CImageCache::RemoveAllImages()
{
    m_images.clear();
}

TDrawInfo CImageCache::GetDrawInfo(const QString& description)
{
    const auto it = m_drawInfos.constFind(description);
    if (it != m_drawInfos.constEnd())
        return it.value();
    const TDrawInfo info = CRenderEngine::ParseImageString(description);
    if (m_drawInfos.size() >= kMaxDrawInfos)
        m_drawInfos.clear(); // descriptions built from data (star widths, files) must not pile up
    m_drawInfos.insert(description, info);
    return info;
}

} // namespace UiLib
