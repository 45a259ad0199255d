// Options bound to the pages of a tab layout: selecting the option shows its page, and a window can
// bind the option to another page while it runs.

#include "support/TestWindow.h"

#include "uilib/COptionUI.h"
#include "uilib/CTabLayoutUI.h"

#include <QTest>

#include <gtest/gtest.h>

using namespace UiLib;
using ravelo::test::Layout;
using ravelo::test::TestWindow;

namespace {

using Types = std::vector<QString>;

const QString kPages = Layout(QStringLiteral(R"(<VerticalLayout>
    <HorizontalLayout height="40">
      <Option name="home" group="bar" selected="true" bindtabindex="0" bindtablayoutname="pages" />
      <Option name="category" group="bar" bindtabindex="1" bindtablayoutname="pages" />
      <Option name="mine" group="bar" bindtabindex="2" bindtablayoutname="pages" />
      <Option name="loose" bindtabindex="9" bindtablayoutname="pages" />
      <Option name="wrongKind" bindtabindex="0" bindtablayoutname="home" />
    </HorizontalLayout>
    <TabLayout name="pages">
      <Control name="page0" /><Control name="page1" /><Control name="page2" /><Control name="page3" />
    </TabLayout>
    <TabLayout name="side"><Control /><Control /></TabLayout>
</VerticalLayout>)"));

void Click(TestWindow& window, const char* name)
{
    QTest::mouseClick(window.GetWidget(), Qt::LeftButton, {}, window.Centre(name));
}

} // namespace

TEST(TabBinding, SelectingAnOptionShowsItsPageBeforeTheWindowHearsOfIt)
{
    TestWindow window(kPages);
    ASSERT_TRUE(window.Open());
    auto* pages = window.FindAs<CTabLayoutUI>("pages");
    ASSERT_EQ(pages->GetCurSel(), 0);
    int pageSeenBySelectChanged = -1;
    window.onNotify = [&](TNotifyUI& msg) {
        if (msg.sType == DUI_MSGTYPE_SELECTCHANGED)
            pageSeenBySelectChanged = pages->GetCurSel();
    };

    Click(window, "category");
    EXPECT_EQ(pages->GetCurSel(), 1);
    EXPECT_EQ(pageSeenBySelectChanged, 1);
    EXPECT_EQ(window.Types(), (Types{"click:category", "tabselect:pages", "selectchanged:category"}));
    EXPECT_TRUE(window.Find("page1")->IsVisible());
    EXPECT_FALSE(window.Find("page0")->IsVisible());

    // In code, silently or not, the page follows too.
    window.FindAs<COptionUI>("mine")->Selected(true, false);
    EXPECT_EQ(pages->GetCurSel(), 2);
    EXPECT_EQ(window.Types().back(), "tabselect:pages"); // and no "selectchanged" from mine

    // Something else shows another page; clicking the selected option brings its page back.
    pages->SelectItem(3);
    Click(window, "mine");
    EXPECT_EQ(pages->GetCurSel(), 2);

    // A page that does not exist, or a name that is no tab layout, changes nothing.
    Click(window, "loose");
    EXPECT_TRUE(window.FindAs<COptionUI>("loose")->IsSelected());
    EXPECT_EQ(pages->GetCurSel(), 2);
    Click(window, "wrongKind");
    EXPECT_EQ(pages->GetCurSel(), 2);
}

TEST(TabBinding, AWindowRebindsAnOptionWhileItRuns)
{
    TestWindow window(kPages);
    ASSERT_TRUE(window.Open());
    auto* pages = window.FindAs<CTabLayoutUI>("pages");
    auto* side = window.FindAs<CTabLayoutUI>("side");
    auto* category = window.FindAs<COptionUI>("category");
    EXPECT_EQ(category->GetBindTabIndex(), 1);
    EXPECT_EQ(category->GetBindTabLayoutName(), "pages");

    // Not selected: the binding changes, the page does not until the option is chosen.
    category->SetBindTabIndex(3);
    EXPECT_EQ(pages->GetCurSel(), 0);
    Click(window, "category");
    EXPECT_EQ(pages->GetCurSel(), 3);

    // Selected: the new page shows at once.
    category->SetBindTabIndex(1);
    EXPECT_EQ(pages->GetCurSel(), 1);
    category->SetBindTabLayoutName(QStringLiteral("side"));
    EXPECT_EQ(side->GetCurSel(), 1);
    EXPECT_EQ(pages->GetCurSel(), 1);

    // Unbound: selecting it leaves every page where it is.
    category->SetBindTabIndex(-1);
    Click(window, "home");
    EXPECT_EQ(pages->GetCurSel(), 0);
    side->SelectItem(0);
    Click(window, "category");
    EXPECT_EQ(side->GetCurSel(), 0);
    EXPECT_EQ(pages->GetCurSel(), 0);
}
