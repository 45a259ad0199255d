#include "gui/play/CGameTileListUI.h"

#include "uilib/CPaintManagerUI.h"
#include "uilib/CRenderEngine.h"

#include <QPainter>

namespace ravelo {

using namespace UiLib;

namespace {

constexpr std::uint32_t kInk = 0xFF1F2430;
constexpr std::uint32_t kInkSoft = 0xFF6B7385;

} // namespace

QString CGameTileListUI::GetClass() const
{
    return QStringLiteral("GameTileListUI");
}

void* CGameTileListUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CTileLayoutUI::GetInterface(name);
}

void CGameTileListUI::SetEmptyText(const QString& text)
{
    if (m_sEmptyText == text)
        return;
    m_sEmptyText = text;
    Invalidate();
}

void CGameTileListUI::SetEmptySubText(const QString& text)
{
    if (m_sEmptySubText == text)
        return;
    m_sEmptySubText = text;
    Invalidate();
}

void CGameTileListUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("emptyimage"))
        m_sEmptyImage = value;
    else if (name == QLatin1String("emptytext"))
        m_sEmptyText = value;
    else if (name == QLatin1String("emptysubtext"))
        m_sEmptySubText = value;
    CTileLayoutUI::SetAttribute(name, value);
}

void CGameTileListUI::PaintStatusImage(QPainter& painter)
{
    CTileLayoutUI::PaintStatusImage(painter);
    if (GetCount() > 0 || !m_pManager)
        return;
    const QPixmap picture = m_sEmptyImage.isEmpty() ? QPixmap() : m_pManager->GetImageEx(m_sEmptyImage);
    const int pictureHeight = picture.isNull() ? 0 : picture.height();
    const int block = pictureHeight + 16 + 24 + 6 + 18;
    int top = m_rcItem.top() + (m_rcItem.height() - block) / 2;
    if (!picture.isNull()) {
        const QRect at(m_rcItem.left() + (m_rcItem.width() - picture.width()) / 2, top, picture.width(),
                       picture.height());
        painter.drawPixmap(at, picture);
        top += pictureHeight + 16;
    }
    const QRect line(m_rcItem.left() + 16, top, m_rcItem.width() - 32, 24);
    CRenderEngine::DrawText(painter, m_pManager, line, m_sEmptyText, kInk, 4,
                            DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS);
    const QRect sub(line.left(), line.bottom() + 7, line.width(), 18);
    CRenderEngine::DrawText(painter, m_pManager, sub, m_sEmptySubText, kInkSoft, 1,
                            DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS);
}

} // namespace ravelo
