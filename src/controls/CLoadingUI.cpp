#include "controls/CLoadingUI.h"

#include "platform/Translate.h"
#include "uilib/CPaintManagerUI.h"
#include "uilib/UiParse.h"

namespace ravelo {

using namespace UiLib;

CLoadingUI::CLoadingUI()
{
    m_bVisible = false;
}

CLoadingUI::~CLoadingUI()
{
    if (m_pManager)
        m_pManager->KillTimer(this, kFrameTimer);
}

QString CLoadingUI::GetClass() const
{
    return QStringLiteral("LoadingUI");
}

void* CLoadingUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CVerticalLayoutUI::GetInterface(name);
}

void CLoadingUI::SetVisible(bool visible)
{
    if (visible) {
        if (m_bShown)
            return;
        m_bShown = true;
        m_nFrame = 1;
        m_start = std::chrono::steady_clock::now();
        if (m_pManager)
            m_pManager->SetTimer(this, kFrameTimer, kFrameMs);
        return; // the control itself appears only when the delay has passed
    }
    if (m_bShown) {
        m_bShown = false;
        if (m_pManager)
            m_pManager->KillTimer(this, kFrameTimer);
    }
    CVerticalLayoutUI::SetVisible(false);
}

void CLoadingUI::DoInit()
{
    // Shown before the control joined its window: the frames start now.
    if (m_bShown && m_pManager && !m_pManager->HasTimer(this, kFrameTimer))
        m_pManager->SetTimer(this, kFrameTimer, kFrameMs);
}

void CLoadingUI::DoEvent(TEventUI& event)
{
    if (event.Type == UIEVENT_TIMER && event.wParam == kFrameTimer) {
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_start);
        if (m_bShown && elapsed.count() >= m_nDelayMs) {
            CVerticalLayoutUI::SetVisible(true);
            // Three dots, none, one, two: the word stays put while the dots grow after it.
            const int dots = (m_nFrame + 3) % 4;
            if (CControlUI* label = FindSubControl(QStringLiteral("Lb_LoadingText")))
                label->SetText(QString::fromUtf8(ravelo::Tr("加载中")) + QStringLiteral(" .").repeated(dots));
            ++m_nFrame;
        }
        return;
    }
    CVerticalLayoutUI::DoEvent(event);
}

void CLoadingUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("delaytime"))
        m_nDelayMs = qMax(0, Parse::Int(value, 1000));
    CVerticalLayoutUI::SetAttribute(name, value);
}

} // namespace ravelo
