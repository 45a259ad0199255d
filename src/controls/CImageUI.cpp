#include "controls/CImageUI.h"

#include "uilib/CPaintManagerUI.h"
#include "uilib/CRenderEngine.h"

namespace ravelo {

using namespace UiLib;

CImageUI::~CImageUI()
{
    if (m_pManager && !m_sBkImage.isEmpty()) {
        const QString file = CRenderEngine::ParseImageString(m_sBkImage).file;
        if (!file.isEmpty())
            m_pManager->RemoveImage(file);
    }
}

QString CImageUI::GetClass() const
{
    return QStringLiteral("ImageUI");
}

void* CImageUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CControlUI::GetInterface(name);
}

void CImageUI::SetFrameImage(const QString& description)
{
    m_sFrameImage = description;
    Invalidate();
}

void CImageUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("frame"))
        SetFrameImage(value);
    CControlUI::SetAttribute(name, value);
}

void CImageUI::PaintStatusImage(QPainter& painter)
{
    if (!m_sFrameImage.isEmpty() && !DrawImage(painter, m_sFrameImage))
        m_sFrameImage.clear();
}

} // namespace ravelo
