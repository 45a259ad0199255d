#include "controls/CWkeWebkitUI.h"

#include "platform/Translate.h"
#include "uilib/CPaintManagerUI.h"
#include "uilib/CRenderEngine.h"
#include "uilib/UiDialogs.h"

#include <QPainter>
#include <QUrl>

namespace ravelo {

using namespace UiLib;

QString CWkeWebkitUI::GetClass() const
{
    return QStringLiteral("WkeWebkitUI");
}

void* CWkeWebkitUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CControlUI::GetInterface(name);
}

unsigned CWkeWebkitUI::GetControlFlags() const
{
    return CanOpen() ? UIFLAG_SETCURSOR : 0;
}

void CWkeWebkitUI::SetURL(const QString& url)
{
    m_sUrl = url;
    Invalidate();
}

void CWkeWebkitUI::SetTitle(const QString& title)
{
    m_sTitle = title;
    Invalidate();
}

bool CWkeWebkitUI::CanOpen() const
{
    const QUrl url(m_sUrl, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}

void CWkeWebkitUI::DoEvent(TEventUI& event)
{
    switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
        m_bPressed = IsEnabled() && m_rcItem.contains(event.ptMouse);
        return;
    case UIEVENT_BUTTONUP:
        if (m_bPressed && m_rcItem.contains(event.ptMouse) && CanOpen())
            OpenUrl(QUrl(m_sUrl, QUrl::StrictMode));
        m_bPressed = false;
        return;
    case UIEVENT_MOUSEENTER:
        m_bHot = true;
        Invalidate();
        return;
    case UIEVENT_MOUSELEAVE:
        m_bHot = false;
        Invalidate();
        return;
    case UIEVENT_SETCURSOR:
        if (m_pManager)
            m_pManager->SetCursor(CanOpen() ? Qt::PointingHandCursor : Qt::ArrowCursor);
        return;
    default:
        CControlUI::DoEvent(event);
    }
}

void CWkeWebkitUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("url"))
        SetURL(value);
    else if (name == QLatin1String("title"))
        SetTitle(value);
    CControlUI::SetAttribute(name, value);
}

void CWkeWebkitUI::PaintText(QPainter& painter)
{
    const bool picture = !m_sBkImage.isEmpty();
    QString caption = m_sTitle;
    if (caption.isEmpty())
        caption = CanOpen() ? QUrl(m_sUrl).host() : m_sUrl;
    if (!picture) {
        // No picture: a quiet panel that says where the click goes.
        CRenderEngine::DrawColor(painter, m_rcItem, (m_dwBackColor >> 24) ? 0 : 0xFFF1F3F6);
        const QRect text = m_rcItem.adjusted(16, 0, -16, 0);
        CRenderEngine::DrawText(painter, m_pManager, text.adjusted(0, 0, 0, -text.height() / 2 + 12), caption,
                                0xFF1F2430, 3, DT_SINGLELINE | DT_CENTER | DT_BOTTOM | DT_END_ELLIPSIS);
        if (CanOpen())
            CRenderEngine::DrawText(painter, m_pManager, text.adjusted(0, text.height() / 2 + 4, 0, 0),
                                    QString::fromUtf8(ravelo::Tr("点击在浏览器中打开")),
                                    m_bHot ? 0xFFE65528 : 0xFF6B7385, 1, DT_SINGLELINE | DT_CENTER | DT_TOP);
        return;
    }
    if (caption.isEmpty())
        return;
    // A band along the bottom of the picture carries the title.
    const int band = qMin(m_rcItem.height(), 36);
    const QRect strip(m_rcItem.left(), m_rcItem.top() + m_rcItem.height() - band, m_rcItem.width(), band);
    CRenderEngine::DrawColor(painter, strip, m_bHot ? 0xB0000000 : 0x80000000);
    CRenderEngine::DrawText(painter, m_pManager, strip.adjusted(12, 0, -12, 0), caption, 0xFFFFFFFF, -1,
                            DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
}

} // namespace ravelo
