#include "controls/CPageLabelUI.h"

#include "controls/CDispatchEventButtonUI.h"
#include "controls/CDispatchEventOptionUI.h"
#include "controls/PageNumbers.h"
#include "platform/Translate.h"

#include "uilib/CPaintManagerUI.h"
#include "uilib/UiParse.h"

#include <atomic>

namespace ravelo {

using namespace UiLib;

namespace {

QString NewGroupName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("PageLabelGroup%1").arg(++counter);
}

} // namespace

CPageLabelUI::CPageLabelUI() : m_sGroup(NewGroupName())
{
    m_iChildPadding = 6;
    m_uChildAlign = DT_CENTER;
    m_uChildVAlign = DT_VCENTER;
    auto makeButton = [](const QString& name, const QString& text) {
        auto* button = new CDispatchEventButtonUI;
        button->SetName(name);
        button->SetText(text);
        button->SetFixedWidth(64);
        button->SetFixedHeight(32);
        button->SetBorderSize(1);
        button->SetBorderColor(0xFFE3E6EB);
        button->SetBorderRound(QSize(8, 8));
        button->SetBkColor(0xFFFFFFFF);
        button->ApplyAttributeList(
            QStringLiteral("hotbkcolor=\"#FFF1F3F6\" disabledtextcolor=\"#FFB5BBC6\""));
        return button;
    };
    auto makeTip = [](const QString& name) {
        auto* tip = new CLabelUI;
        tip->SetName(name);
        tip->SetText(QStringLiteral("…"));
        tip->SetFixedWidth(20);
        tip->SetTextStyle(DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        tip->SetTextColor(0xFF6B7385);
        tip->SetVisible(false);
        return tip;
    };
    m_pButton1 = makeButton(QStringLiteral("PageLabelbutton1"), QString::fromUtf8(ravelo::Tr("上一页")));
    Add(m_pButton1);
    for (int i = 0; i < 7; ++i) {
        auto* option = new CDispatchEventOptionUI;
        option->SetName(QStringLiteral("PageLabelIndex%1").arg(i + 1));
        option->SetText(QString::number(i + 1));
        option->SetTag(static_cast<std::uintptr_t>(i + 1));
        option->SetBorderRound(QSize(8, 8));
        option->ApplyAttributeList(QStringLiteral("bkcolor=\"#FFFFFFFF\" hotbkcolor=\"#FFF1F3F6\" "
                                                  "selectedbkcolor=\"#FFFF6A3D\""));
        m_pIndex[i] = option;
        Add(option);
        if (i == 0) {
            m_pTip1 = makeTip(QStringLiteral("PageLabelTip1"));
            Add(m_pTip1);
        } else if (i == 5) {
            m_pTip2 = makeTip(QStringLiteral("PageLabelTip2"));
            Add(m_pTip2);
        }
    }
    m_pButton2 = makeButton(QStringLiteral("PageLabelbutton2"), QString::fromUtf8(ravelo::Tr("下一页")));
    Add(m_pButton2);
    ApplyItemStyle();
}

QString CPageLabelUI::GetClass() const
{
    return QStringLiteral("PageLabelUI");
}

void* CPageLabelUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CHorizontalLayoutUI::GetInterface(name);
}

void CPageLabelUI::ApplyItemStyle()
{
    for (CDispatchEventOptionUI* option : m_pIndex) {
        option->SetFixedWidth(m_nItemWidth);
        option->SetFixedHeight(m_nItemHeight);
        option->SetBorderSize(m_nItemBorderSize);
        option->SetBorderColor(m_dwItemBorderColor);
        option->SetTextColor(m_dwItemTextColor);
        option->SetPushedTextColor(m_dwItemPushedTextColor);
        option->SetSelectedTextColor(m_dwItemSelectedTextColor);
        option->SetAttribute(QStringLiteral("align"), m_sItemAlign);
        option->SetFont(m_iItemFont);
        option->SetGroup(m_sGroup);
    }
    m_pButton1->SetVisible(m_bUseButton1);
    m_pButton2->SetVisible(m_bUseButton2);
    if (!m_bUseItemTip) {
        m_pTip1->SetVisible(false);
        m_pTip2->SetVisible(false);
    }
}

void CPageLabelUI::SetPage(int currentPage, int totalItems)
{
    if (currentPage < 1 || totalItems < 1) {
        SetVisible(false);
        m_nCurrentPage = 0;
        m_nTotalItems = 0;
        return;
    }
    if (currentPage == m_nCurrentPage && totalItems == m_nTotalItems)
        return;
    SetVisible(true);
    m_nCurrentPage = currentPage;
    m_nTotalItems = totalItems;
    m_nPageCount = PageCount(totalItems, m_nItemsPerPage);
    const PageWindow window = ComputePageWindow(currentPage, m_nPageCount);
    m_pTip1->SetVisible(m_bUseItemTip && window.tip1);
    m_pTip2->SetVisible(m_bUseItemTip && window.tip2);
    CDispatchEventOptionUI* current = nullptr;
    for (int i = 0; i < 7; ++i) {
        const int number = window.numbers[static_cast<std::size_t>(i)];
        CDispatchEventOptionUI* option = m_pIndex[i];
        option->SetText(QString::number(number));
        option->SetTag(static_cast<std::uintptr_t>(number));
        option->SetVisible(i < window.visibleOptions);
        if (number == currentPage && i < window.visibleOptions)
            current = option;
        else
            option->Selected(false, false);
    }
    if (current)
        current->Selected(true, false);
    NeedUpdate();
}

void CPageLabelUI::RecvMessage(CControlUI* sender, WPARAM, LPARAM lParam)
{
    if (m_pManager)
        m_pManager->SendNotify(this, DUI_MSGTYPE_CLICK,
                               static_cast<WPARAM>(RequestedPage(sender, m_nCurrentPage)), lParam);
}

void CPageLabelUI::SetAttribute(const QString& name, const QString& value)
{
    bool restyle = true;
    if (name == QLatin1String("itemwidth"))
        m_nItemWidth = Parse::Int(value);
    else if (name == QLatin1String("itemheight"))
        m_nItemHeight = Parse::Int(value);
    else if (name == QLatin1String("itembordersize"))
        m_nItemBorderSize = Parse::Int(value);
    else if (name == QLatin1String("itembordercolor"))
        m_dwItemBorderColor = Parse::Color(value);
    else if (name == QLatin1String("itemtextcolor"))
        m_dwItemTextColor = Parse::Color(value);
    else if (name == QLatin1String("itempushedtextcolor"))
        m_dwItemPushedTextColor = Parse::Color(value);
    else if (name == QLatin1String("itemselectedtextcolor"))
        m_dwItemSelectedTextColor = Parse::Color(value);
    else if (name == QLatin1String("itemalign"))
        m_sItemAlign = value;
    else if (name == QLatin1String("itemfont"))
        m_iItemFont = Parse::Int(value, -1);
    else if (name == QLatin1String("pagelabelgroup"))
        m_sGroup = value.isEmpty() ? m_sGroup : value;
    else if (name == QLatin1String("usebutton1"))
        m_bUseButton1 = Parse::Bool(value);
    else if (name == QLatin1String("usebutton2"))
        m_bUseButton2 = Parse::Bool(value);
    else if (name == QLatin1String("useitemtip"))
        m_bUseItemTip = Parse::Bool(value);
    else if (name == QLatin1String("button1text"))
        m_pButton1->SetText(value);
    else if (name == QLatin1String("button2text"))
        m_pButton2->SetText(value);
    else if (name == QLatin1String("itemtiptext")) {
        m_pTip1->SetText(value);
        m_pTip2->SetText(value);
    } else if (name == QLatin1String("pagecardinalnumber"))
        m_nItemsPerPage = qMax(1, Parse::Int(value, 40));
    else
        restyle = false;
    if (restyle)
        ApplyItemStyle();
    CHorizontalLayoutUI::SetAttribute(name, value);
}

} // namespace ravelo
