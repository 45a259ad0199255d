// Clicks of the dispatch controls go to their parent container, never straight to the window;
// "checkedself" options change their own state silently; the page label turns clicks into pages.

#include "controls/CDispatchEventOptionUI.h"
#include "controls/CPageLabelUI.h"
#include "controls/ControlFactory.h"

#include "uilib/CHorizontalLayoutUI.h"
#include "uilib/support/TestWindow.h"

#include <gtest/gtest.h>

using namespace UiLib;
using ravelo::CDispatchEventOptionUI;
using ravelo::test::Layout;
using ravelo::test::TestWindow;

namespace {

/// A composite control that handles its dispatch children itself.
class RecvBox : public CHorizontalLayoutUI
{
public:
    std::vector<QString> received;
    void RecvMessage(CControlUI* sender, WPARAM wParam, LPARAM lParam) override
    {
        received.push_back(sender->GetName());
        EXPECT_EQ(wParam, 0u);
        EXPECT_EQ(lParam, 0);
    }
};

CControlUI* Factory(const QString& tag)
{
    if (tag == QLatin1String("RecvBox"))
        return new RecvBox;
    return ravelo::CreateProgramControl(tag);
}

void Click(TestWindow& window, const QString& name)
{
    QTest::mouseClick(window.GetWidget(), Qt::LeftButton, {}, window.Centre(name));
}

} // namespace

TEST(Dispatch, AButtonInAPlainContainerDoesNothingVisible)
{
    TestWindow window(Layout(QStringLiteral(R"(<HorizontalLayout>
        <DispatchEventButton name="lonely" /><Control />
    </HorizontalLayout>)")),
                      Factory);
    ASSERT_TRUE(window.Open());
    Click(window, "lonely");
    EXPECT_TRUE(window.Types().empty());
    EXPECT_EQ(window.Find("lonely")->GetClass(), "DispatchEventButtonUI");
}

TEST(Dispatch, TheParentReceivesTheClickInsteadOfTheWindow)
{
    TestWindow window(Layout(QStringLiteral(R"(<VerticalLayout>
        <RecvBox name="box" height="60"><DispatchEventButton name="inner" /><DispatchEventOption name="opt" /></RecvBox>
        <Control name="away" />
    </VerticalLayout>)")),
                      Factory);
    ASSERT_TRUE(window.Open());
    auto* box = window.FindAs<RecvBox>("box");
    Click(window, "inner");
    Click(window, "opt");
    QTest::mousePress(window.GetWidget(), Qt::LeftButton, {}, window.Centre("inner"));
    QTest::mouseMove(window.GetWidget(), window.Centre("away"));
    QTest::mouseRelease(window.GetWidget(), Qt::LeftButton, {}, window.Centre("away")); // released outside
    EXPECT_EQ(box->received, (std::vector<QString>{"inner", "opt"}));
    EXPECT_TRUE(window.Types().empty());
}

TEST(Dispatch, CheckedSelfInAGroupSelectsAndCannotBeUnselectedByAClick)
{
    TestWindow window(Layout(QStringLiteral(R"(<HorizontalLayout>
        <DispatchEventOption name="a" group="g" checkedself="true" />
        <DispatchEventOption name="b" group="g" checkedself="true" selected="true" />
        <DispatchEventOption name="solo" checkedself="true" />
        <DispatchEventOption name="passive" />
        <DispatchEventOption name="notTrue" checkedself="yes" />
    </HorizontalLayout>)")),
                      Factory);
    ASSERT_TRUE(window.Open());
    auto* a = window.FindAs<CDispatchEventOptionUI>("a");
    auto* b = window.FindAs<CDispatchEventOptionUI>("b");
    Click(window, "a");
    EXPECT_TRUE(a->IsSelected());
    EXPECT_FALSE(b->IsSelected());
    Click(window, "a");
    EXPECT_TRUE(a->IsSelected()); // in a group a click selects, never unselects

    auto* solo = window.FindAs<CDispatchEventOptionUI>("solo");
    Click(window, "solo");
    EXPECT_TRUE(solo->IsSelected());
    Click(window, "solo");
    EXPECT_FALSE(solo->IsSelected()); // without a group it toggles

    Click(window, "passive");
    EXPECT_FALSE(window.FindAs<CDispatchEventOptionUI>("passive")->IsSelected()); // the parent decides
    EXPECT_FALSE(window.FindAs<CDispatchEventOptionUI>("notTrue")->IsCheckedSelf());
    // All of it silently: no "selectchanged", no "click".
    EXPECT_TRUE(window.Types().empty());
}

TEST(Dispatch, ThePageLabelTurnsClicksIntoPagesEvenPageZero)
{
    TestWindow window(Layout(QStringLiteral(R"(<VerticalLayout>
        <PageLabel name="pages" height="40" pagecardinalnumber="40" itemwidth="36" itembordercolor="#FF123456" button1text="前一页" />
        <Control />
    </VerticalLayout>)"),
                             QStringLiteral("size=\"700,200\"")),
                      Factory);
    ASSERT_TRUE(window.Open(700, 200));
    auto* label = window.FindAs<ravelo::CPageLabelUI>("pages");
    label->SetPage(1, 400);
    window.Layout();
    Click(window, "PageLabelbutton1");
    Click(window, "PageLabelIndex2");
    Click(window, "PageLabelbutton2");
    std::vector<WPARAM> pages;
    for (const auto& note : window.notes) {
        if (note.type == DUI_MSGTYPE_CLICK) {
            EXPECT_EQ(note.sender, "pages");
            pages.push_back(note.wParam);
        }
    }
    EXPECT_EQ(pages, (std::vector<WPARAM>{0, 2, 2}));
    // The item styling reaches every page item.
    for (int i = 1; i <= 7; ++i) {
        auto* option = window.FindAs<CDispatchEventOptionUI>(QStringLiteral("PageLabelIndex%1").arg(i));
        EXPECT_EQ(option->GetFixedWidth(), 36);
        EXPECT_EQ(option->GetBorderColor(), 0xFF123456u);
    }
    EXPECT_EQ(window.Find("PageLabelbutton1")->GetText(), "前一页");
    label->SetAttribute(QStringLiteral("itemwidth"), QStringLiteral("28"));
    EXPECT_EQ(window.Find("PageLabelIndex7")->GetFixedWidth(), 28);
}
