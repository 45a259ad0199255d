#include "uilib/CRenderEngine.h"

#include "uilib/CPaintManagerUI.h"
#include "uilib/UiDefines.h"
#include "uilib/UiParse.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace UiLib {

namespace {

void ApplyImageAttributes(TDrawInfo& info, const QString& list)
{
    for (const auto& [name, value] : Parse::AttributeList(list)) {
        if (name == QLatin1String("file") || name == QLatin1String("res"))
            info.file = value;
        else if (name == QLatin1String("source"))
            info.source = Parse::Rect(value);
        else if (name == QLatin1String("dest"))
            info.dest = Parse::Rect(value);
        else if (name == QLatin1String("corner"))
            info.corner = Parse::Margins(value);
        else if (name == QLatin1String("fade"))
            info.fade = qBound(0, Parse::Int(value, 255), 255);
        else if (name == QLatin1String("hole"))
            info.hole = Parse::Bool(value);
        else if (name == QLatin1String("xtiled"))
            info.xtiled = Parse::Bool(value);
        else if (name == QLatin1String("ytiled"))
            info.ytiled = Parse::Bool(value);
    }
}

Qt::Alignment ToAlignment(unsigned style)
{
    Qt::Alignment align;
    if (style & DT_CENTER)
        align |= Qt::AlignHCenter;
    else if (style & DT_RIGHT)
        align |= Qt::AlignRight;
    else
        align |= Qt::AlignLeft;
    if (style & DT_VCENTER)
        align |= Qt::AlignVCenter;
    else if (style & DT_BOTTOM)
        align |= Qt::AlignBottom;
    else
        align |= Qt::AlignTop;
    return align;
}

// Corners keep their size, edges stretch (or tile) along one axis, the centre along both; with a
// hole the centre stays unpainted.
void DrawNineSlice(QPainter& painter, const QPixmap& pixmap, const QRect& dest, const QRect& source,
                   const QMargins& corner, bool hole, bool xtiled, bool ytiled)
{
    const int l = qMin(corner.left(), dest.width()), r = qMin(corner.right(), dest.width() - l);
    const int t = qMin(corner.top(), dest.height()), b = qMin(corner.bottom(), dest.height() - t);
    const int sl = qMin(corner.left(), source.width()), sr = qMin(corner.right(), source.width() - sl);
    const int st = qMin(corner.top(), source.height()), sb = qMin(corner.bottom(), source.height() - st);
    const int dx[4] = {dest.left(), dest.left() + l, dest.left() + dest.width() - r,
                       dest.left() + dest.width()};
    const int dy[4] = {dest.top(), dest.top() + t, dest.top() + dest.height() - b,
                       dest.top() + dest.height()};
    const int sx[4] = {source.left(), source.left() + sl, source.left() + source.width() - sr,
                       source.left() + source.width()};
    const int sy[4] = {source.top(), source.top() + st, source.top() + source.height() - sb,
                       source.top() + source.height()};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            if (hole && row == 1 && column == 1)
                continue;
            const QRect target(dx[column], dy[row], dx[column + 1] - dx[column], dy[row + 1] - dy[row]);
            const QRect from(sx[column], sy[row], sx[column + 1] - sx[column], sy[row + 1] - sy[row]);
            if (target.isEmpty() || from.isEmpty())
                continue;
            const bool tile = (column == 1 && xtiled) || (row == 1 && ytiled);
            if (tile)
                painter.drawTiledPixmap(target, pixmap.copy(from));
            else
                painter.drawPixmap(target, pixmap, from);
        }
    }
}

} // namespace

TDrawInfo CRenderEngine::ParseImageString(const QString& description, const QString& modify)
{
    TDrawInfo info;
    if (description.contains(u'=') && description.contains(u'\''))
        ApplyImageAttributes(info, description);
    else if (description.contains(u'=') && description.contains(u'"'))
        ApplyImageAttributes(info, description);
    else
        info.file = description.trimmed();
    if (!modify.isEmpty())
        ApplyImageAttributes(info, modify);
    return info;
}

bool CRenderEngine::DrawImageString(QPainter& painter, CPaintManagerUI* manager, const QRect& item,
                                    const QRect& paint, const QString& description, const QString& modify)
{
    if (description.isEmpty())
        return false;
    const TDrawInfo info = (manager && modify.isEmpty()) ? manager->GetDrawInfo(description)
                                                         : ParseImageString(description, modify);
    if (info.file.isEmpty())
        return false;
    const QPixmap pixmap = manager ? manager->GetImageEx(info.file) : CPaintManagerUI::LoadImage(info.file);
    if (pixmap.isNull())
        return false;

    QRect dest = item;
    if (!info.dest.isEmpty()) {
        dest = info.dest.translated(item.topLeft());
        dest = dest.intersected(item);
    }
    if (dest.isEmpty() || !dest.intersects(paint))
        return true;
    const QRect source = info.source.isEmpty() ? pixmap.rect() : info.source.intersected(pixmap.rect());
    if (source.isEmpty())
        return true;
    DrawImage(painter, pixmap, dest, source, info.corner, info.fade, info.hole, info.xtiled, info.ytiled);
    return true;
}

void CRenderEngine::DrawImage(QPainter& painter, const QPixmap& pixmap, const QRect& dest,
                              const QRect& source, const QMargins& corner, int fade, bool hole, bool xtiled,
                              bool ytiled)
{
    if (fade <= 0)
        return;
    const bool faded = fade < 255;
    const qreal oldOpacity = painter.opacity();
    if (faded)
        painter.setOpacity(oldOpacity * fade / 255.0);
    const bool scaled = dest.size() != source.size();
    if (scaled)
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);

    if (!corner.isNull()) {
        DrawNineSlice(painter, pixmap, dest, source, corner, hole, xtiled, ytiled);
    } else if (xtiled || ytiled) {
        const QPixmap tile = pixmap.copy(source);
        painter.drawTiledPixmap(dest, tile);
    } else {
        painter.drawPixmap(dest, pixmap, source);
    }

    if (faded)
        painter.setOpacity(oldOpacity);
}

void CRenderEngine::DrawColor(QPainter& painter, const QRect& rect, std::uint32_t argb)
{
    if ((argb >> 24) == 0 || rect.isEmpty())
        return;
    painter.fillRect(rect, QColor::fromRgba(argb));
}

void CRenderEngine::DrawRoundColor(QPainter& painter, const QRect& rect, QSize round, std::uint32_t argb)
{
    if ((argb >> 24) == 0 || rect.isEmpty())
        return;
    if (round.width() <= 0 || round.height() <= 0) {
        DrawColor(painter, rect, argb);
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgba(argb));
    painter.drawRoundedRect(QRectF(rect), round.width() / 2.0, round.height() / 2.0);
    painter.restore();
}

void CRenderEngine::DrawBorder(QPainter& painter, const QRect& rect, const QMargins& widths,
                               std::uint32_t argb)
{
    if ((argb >> 24) == 0 || rect.isEmpty())
        return;
    const QColor color = QColor::fromRgba(argb);
    if (widths.left() > 0)
        painter.fillRect(QRect(rect.left(), rect.top(), widths.left(), rect.height()), color);
    if (widths.right() > 0)
        painter.fillRect(
            QRect(rect.left() + rect.width() - widths.right(), rect.top(), widths.right(), rect.height()),
            color);
    if (widths.top() > 0)
        painter.fillRect(QRect(rect.left() + widths.left(), rect.top(),
                               rect.width() - widths.left() - widths.right(), widths.top()),
                         color);
    if (widths.bottom() > 0)
        painter.fillRect(QRect(rect.left() + widths.left(), rect.top() + rect.height() - widths.bottom(),
                               rect.width() - widths.left() - widths.right(), widths.bottom()),
                         color);
}

void CRenderEngine::DrawRoundBorder(QPainter& painter, const QRect& rect, int width, QSize round,
                                    std::uint32_t argb)
{
    if ((argb >> 24) == 0 || rect.isEmpty() || width <= 0)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(QColor::fromRgba(argb), width));
    painter.setBrush(Qt::NoBrush);
    const qreal half = width / 2.0;
    painter.drawRoundedRect(QRectF(rect).adjusted(half, half, -half, -half), round.width() / 2.0,
                            round.height() / 2.0);
    painter.restore();
}

void CRenderEngine::DrawText(QPainter& painter, CPaintManagerUI* manager, const QRect& rect,
                             const QString& text, std::uint32_t argb, int font, unsigned style)
{
    if (text.isEmpty() || (argb >> 24) == 0 || rect.isEmpty())
        return;
    const QFont& f = manager ? manager->GetFont(font) : CPaintManagerUI::DefaultFont();
    painter.setFont(f);
    painter.setPen(QColor::fromRgba(argb));
    int flags = static_cast<int>(ToAlignment(style));
    if (style & DT_SINGLELINE) {
        flags |= Qt::TextSingleLine;
        if (style & DT_END_ELLIPSIS) {
            const QFontMetrics metrics = manager ? manager->GetFontMetrics(font) : QFontMetrics(f);
            if (metrics.horizontalAdvance(text) > rect.width()) {
                painter.drawText(rect, flags, metrics.elidedText(text, Qt::ElideRight, rect.width()));
                return;
            }
        }
    } else if (style & DT_WORDBREAK) {
        flags |= Qt::TextWordWrap;
    }
    painter.drawText(rect, flags, text);
}

QSize CRenderEngine::MeasureText(CPaintManagerUI* manager, const QString& text, int font, unsigned style,
                                 int width)
{
    const QFontMetrics metrics =
        manager ? manager->GetFontMetrics(font) : QFontMetrics(CPaintManagerUI::DefaultFont());
    if (text.isEmpty())
        return QSize(0, metrics.height());
    if ((style & DT_SINGLELINE) || !(style & DT_WORDBREAK) || width <= 0)
        return QSize(metrics.horizontalAdvance(text), metrics.height());
    return metrics.boundingRect(QRect(0, 0, width, 100000), Qt::TextWordWrap, text).size();
}

} // namespace UiLib
