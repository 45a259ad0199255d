#include "gui/catalogue/CLoopBanner.h"

#include "gui/catalogue/CatalogueLinks.h"
#include "gui/common/PictureSlots.h"
#include "uilib/CLabelUI.h"
#include "uilib/COptionUI.h"
#include "uilib/CPaintManagerUI.h"
#include "uilib/CTabLayoutUI.h"
#include "uilib/CVerticalLayoutUI.h"
#include "uilib/UiDialogs.h"

#include <QUrl>

namespace ravelo {

using namespace UiLib;

namespace {

constexpr int kDotSize = 10;
constexpr int kDotGap = 8;
constexpr int kDotsHeight = 28;

} // namespace

CLoopBanner::~CLoopBanner()
{
    if (m_pManager)
        m_pManager->KillTimer(this, kRotateTimer);
}

QString CLoopBanner::GetClass() const
{
    return QStringLiteral("LoopBannerUI");
}

void* CLoopBanner::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CContainerUI::GetInterface(name);
}

CContainerUI* CLoopBanner::Pages() const
{
    return ControlAs<CContainerUI>(
        const_cast<CLoopBanner*>(this)->FindSubControl(QStringLiteral("TL_Banner")));
}

CContainerUI* CLoopBanner::Dots() const
{
    return ControlAs<CContainerUI>(
        const_cast<CLoopBanner*>(this)->FindSubControl(QStringLiteral("Hl_BannerIndex")));
}

void CLoopBanner::DoInit()
{
    CContainerUI::DoInit();
    // The banner takes every pointer event itself: pages and dots are pictures.
    SetMouseChildEnabled(false);
    UpdateTimer();
}

void CLoopBanner::SetAds(const std::vector<CAd>& ads, PictureSlots& pictures)
{
    m_ads = ads;
    CContainerUI* pages = Pages();
    CContainerUI* dots = Dots();
    if (pages) {
        for (int i = 0; i < pages->GetCount(); ++i)
            pictures.Forget(pages->GetItemAt(i));
        pages->RemoveAll();
    }
    if (dots)
        dots->RemoveAll();
    for (std::size_t i = 0; i < m_ads.size(); ++i) {
        const CAd& ad = m_ads[i];
        if (pages) {
            auto* page = new CVerticalLayoutUI;
            page->SetAttribute(QStringLiteral("bkcolor"), QStringLiteral("#FF3A4254"));
            page->SetAttribute(QStringLiteral("inset"), QStringLiteral("20,0,20,30"));
            page->SetAttribute(QStringLiteral("childvalign"), QStringLiteral("bottom"));
            auto* title = new CLabelUI;
            title->SetAttribute(QStringLiteral("height"), QStringLiteral("30"));
            title->SetAttribute(QStringLiteral("font"), QStringLiteral("4"));
            title->SetAttribute(QStringLiteral("textcolor"), QStringLiteral("#FFFFFFFF"));
            title->SetAttribute(QStringLiteral("endellipsis"), QStringLiteral("true"));
            title->SetText(QString::fromStdString(ad.title));
            page->Add(title);
            pages->Add(page);
            pictures.Request(page, ad.icon);
        }
        if (dots) {
            auto* dot = new COptionUI;
            dot->SetAttribute(QStringLiteral("width"), QString::number(kDotSize));
            dot->SetAttribute(QStringLiteral("height"), QString::number(kDotSize));
            dot->SetAttribute(QStringLiteral("normalimage"), QStringLiteral("skin\\ui\\92_92_92.png"));
            dot->SetAttribute(QStringLiteral("selectedimage"), QStringLiteral("skin\\ui\\white.png"));
            dot->SetAttribute(QStringLiteral("group"), QStringLiteral("banner_dots"));
            dot->SetTag(static_cast<std::uintptr_t>(i));
            dots->Add(dot);
        }
    }
    ShowPage(0);
    SetPos(GetPos(), true);
    UpdateTimer();
}

const CAd* CLoopBanner::AdAt(int index) const
{
    return index >= 0 && index < PageCount() ? &m_ads[static_cast<std::size_t>(index)] : nullptr;
}

int CLoopBanner::CurrentPage() const
{
    auto* tabs = ControlAs<CTabLayoutUI>(Pages());
    return tabs && PageCount() > 0 ? tabs->GetCurSel() : -1;
}

void CLoopBanner::ShowPage(int index)
{
    if (index < 0 || index >= PageCount())
        return;
    if (auto* tabs = ControlAs<CTabLayoutUI>(Pages()))
        tabs->SelectItem(index);
    if (CContainerUI* dots = Dots())
        if (auto* dot = ControlAs<COptionUI>(dots->GetItemAt(index)))
            dot->Selected(true, false);
}

void CLoopBanner::SetPaused(bool paused)
{
    m_paused = paused;
    UpdateTimer();
}

bool CLoopBanner::IsRotating() const
{
    return m_pManager && m_pManager->HasTimer(const_cast<CLoopBanner*>(this), kRotateTimer);
}

void CLoopBanner::UpdateTimer()
{
    if (!m_pManager)
        return;
    const bool wanted = PageCount() > 1 && !m_hovered && !m_paused;
    if (wanted && !IsRotating())
        m_pManager->SetTimer(this, kRotateTimer, kRotateMs);
    else if (!wanted && IsRotating())
        m_pManager->KillTimer(this, kRotateTimer);
}

void CLoopBanner::ActivateCurrent()
{
    const int index = CurrentPage();
    const CAd* ad = AdAt(index);
    if (!ad)
        return;
    switch (BannerActionFor(ad->action, ad->target)) {
    case LinkAction::OpenAddress:
        OpenUrl(QUrl(QString::fromStdString(ad->target), QUrl::StrictMode));
        break;
    case LinkAction::OpenGame:
        if (m_pManager)
            m_pManager->SendNotify(this, DUI_MSGTYPE_CLICK, static_cast<WPARAM>(index), 0);
        break;
    case LinkAction::None:
        break;
    }
}

void CLoopBanner::DoEvent(TEventUI& event)
{
    switch (event.Type) {
    case UIEVENT_TIMER:
        if (event.wParam == kRotateTimer && PageCount() > 1)
            ShowPage((CurrentPage() + 1) % PageCount());
        return;
    case UIEVENT_MOUSEENTER:
        m_hovered = true;
        UpdateTimer();
        return;
    case UIEVENT_MOUSELEAVE:
        m_hovered = false;
        UpdateTimer();
        return;
    case UIEVENT_SETCURSOR:
        if (PageCount() > 0 && m_pManager)
            m_pManager->SetCursor(Qt::PointingHandCursor);
        return;
    case UIEVENT_BUTTONUP:
        if (!GetPos().contains(event.ptMouse))
            return;
        if (CContainerUI* dots = Dots())
            for (int i = 0; i < dots->GetCount(); ++i)
                if (dots->GetItemAt(i)->GetPos().adjusted(-3, -6, 3, 6).contains(event.ptMouse)) {
                    ShowPage(i);
                    return;
                }
        ActivateCurrent();
        return;
    default:
        CContainerUI::DoEvent(event);
    }
}

void CLoopBanner::SetPos(QRect rc, bool needInvalidate)
{
    CContainerUI::SetPos(rc, needInvalidate);
    CContainerUI* dots = Dots();
    if (!dots)
        return;
    // The dots sit on the banner's bottom edge, right-aligned, over the picture.
    const int count = dots->GetCount();
    const int width = count * kDotSize + qMax(0, count - 1) * kDotGap;
    const QRect strip(rc.left(), rc.bottom() + 1 - kDotsHeight, rc.width(), kDotsHeight);
    dots->CControlUI::SetPos(strip, needInvalidate);
    int x = strip.right() - 20 - width;
    for (int i = 0; i < count; ++i) {
        dots->GetItemAt(i)->SetPos(
            QRect(x, strip.top() + (kDotsHeight - kDotSize) / 2 - 2, kDotSize, kDotSize), needInvalidate);
        x += kDotSize + kDotGap;
    }
}

} // namespace ravelo
