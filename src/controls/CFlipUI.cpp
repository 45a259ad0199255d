#include "controls/CFlipUI.h"

#include "controls/PageNumbers.h"

#include "uilib/COptionUI.h"
#include "uilib/CPaintManagerUI.h"
#include "uilib/UiParse.h"

namespace ravelo {

using namespace UiLib;

QString CFlipUI::GetClass() const
{
    return QStringLiteral("FlipUI");
}

void* CFlipUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CHorizontalLayoutUI::GetInterface(name);
}

int CFlipUI::GetPageCount() const
{
    return PageCount(m_nTotalItems, m_nItemsPerPage);
}

void CFlipUI::SetPage(int currentPage, int totalItems)
{
    if (currentPage < 1 || totalItems < 1) {
        SetVisible(false);
        // Forget the last values, so that the same page shown again brings the bar back.
        m_nCurrentPage = 0;
        m_nTotalItems = 0;
        return;
    }
    if (currentPage == m_nCurrentPage && totalItems == m_nTotalItems)
        return;
    SetVisible(true);
    m_nCurrentPage = currentPage;
    m_nTotalItems = totalItems;
    const int pages = GetPageCount();
    const PageWindow window = ComputePageWindow(currentPage, pages);

    if (CControlUI* tip = FindSubControl(QStringLiteral("PageLabelTip1")))
        tip->SetVisible(window.tip1);
    if (CControlUI* tip = FindSubControl(QStringLiteral("PageLabelTip2")))
        tip->SetVisible(window.tip2);
    COptionUI* current = nullptr;
    for (int i = 0; i < 7; ++i) {
        CControlUI* control = FindSubControl(QStringLiteral("PageLabelIndex%1").arg(i + 1));
        if (!control)
            continue;
        const int number = window.numbers[static_cast<std::size_t>(i)];
        control->SetText(QString::number(number));
        control->SetTag(static_cast<std::uintptr_t>(number));
        control->SetVisible(i < window.visibleOptions);
        auto* option = control->As<COptionUI>();
        if (option && number == currentPage && i < window.visibleOptions)
            current = option;
        else if (option)
            option->Selected(false, false);
    }
    if (current)
        current->Selected(true, false);

    CControlUI* previous = FindSubControl(QStringLiteral("PageLabelbutton1"));
    CControlUI* next = FindSubControl(QStringLiteral("PageLabelbutton2"));
    const bool onePage = pages <= 1;
    if (previous)
        previous->SetEnabled(!onePage && currentPage != 1);
    if (next)
        next->SetEnabled(!onePage && currentPage != pages);
    NeedUpdate();
}

void CFlipUI::RecvMessage(CControlUI* sender, WPARAM, LPARAM lParam)
{
    if (m_pManager)
        m_pManager->SendNotify(this, DUI_MSGTYPE_CLICK,
                               static_cast<WPARAM>(RequestedPage(sender, m_nCurrentPage)), lParam);
}

void CFlipUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("pagecardinalnumber"))
        m_nItemsPerPage = qMax(1, Parse::Int(value, 40));
    CHorizontalLayoutUI::SetAttribute(name, value);
}

} // namespace ravelo
