#include "controls/CWindowContainerUI.h"

#include "uilib/CPaintManagerUI.h"
#include "uilib/WindowHost.h"

#include "platform/DebugOutput.h"

#include <QWidget>

namespace ravelo {

using namespace UiLib;

namespace {

CWindowContainerUI::FrameFactory& Factory()
{
    static CWindowContainerUI::FrameFactory factory;
    return factory;
}

} // namespace

void CWindowContainerUI::SetFrameFactory(FrameFactory factory)
{
    Factory() = std::move(factory);
}

bool CWindowContainerUI::IsKnownFrameName(const QString& frameName)
{
    static const QStringList names = {QStringLiteral("FeaturedFrame"), QStringLiteral("ClassificationFrame"),
                                      QStringLiteral("SearchFrame"), QStringLiteral("MyGameFrame"),
                                      QStringLiteral("SpecialFrame")};
    return names.contains(frameName);
}

CWindowContainerUI::~CWindowContainerUI() = default;

QString CWindowContainerUI::GetClass() const
{
    return QStringLiteral("WindowContainerUI");
}

void* CWindowContainerUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CControlUI::GetInterface(name);
}

void CWindowContainerUI::DoInit()
{
    if (m_pWindow || !IsKnownFrameName(m_sFrameName) || !Factory() || !m_pManager)
        return;
    auto* host = dynamic_cast<WindowHost*>(m_pManager->GetPaintWindow());
    if (!host || !host->Owner())
        return;
    std::unique_ptr<CWindowWnd> window = Factory()(m_sFrameName);
    if (!window)
        return;
    const QRect rect = m_rcItem.isEmpty() ? QRect(0, 0, 1, 1) : m_rcItem.adjusted(1, 1, -1, -1);
    if (!window->Create(host->Owner()->GetHWND(), m_sFrameName, UI_WNDSTYLE_CHILD & ~WS_VISIBLE, 0, rect)) {
        // A page that cannot be built leaves the container empty; the tab still switches.
        DebugOutput("page window " + m_sFrameName.toStdString() + " could not be created");
        return;
    }
    m_pWindow = std::move(window);
    UpdateWindow();
}

void CWindowContainerUI::UpdateWindow()
{
    QWidget* widget = m_pWindow ? m_pWindow->GetWidget() : nullptr;
    if (!widget)
        return;
    const QRect rect = m_rcItem.adjusted(1, 1, -1, -1);
    if (!rect.isEmpty())
        widget->setGeometry(rect);
    widget->setVisible(IsVisible() && !rect.isEmpty());
}

void CWindowContainerUI::SetPos(QRect rc, bool needInvalidate)
{
    CControlUI::SetPos(rc, needInvalidate);
    UpdateWindow();
}

void CWindowContainerUI::SetVisible(bool visible)
{
    CControlUI::SetVisible(visible);
    UpdateWindow();
}

void CWindowContainerUI::SetInternVisible(bool visible)
{
    CControlUI::SetInternVisible(visible);
    UpdateWindow();
}

void CWindowContainerUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("framename"))
        m_sFrameName = value;
    CControlUI::SetAttribute(name, value);
}

} // namespace ravelo
