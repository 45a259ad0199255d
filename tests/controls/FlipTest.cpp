// The page flip bar's page-number rules, and the clicks it turns into page requests.

#include "controls/CFlipUI.h"
#include "controls/ControlFactory.h"
#include "controls/PageNumbers.h"

#include "uilib/COptionUI.h"
#include "uilib/support/TestWindow.h"

#include <gtest/gtest.h>

using namespace UiLib;
using ravelo::CFlipUI;
using ravelo::test::Layout;
using ravelo::test::TestWindow;

namespace {

QString FlipLayout(const QString& perPage = QStringLiteral("40"))
{
    QString options;
    for (int i = 1; i <= 7; ++i) {
        options +=
            QStringLiteral("<DispatchEventOption name=\"PageLabelIndex%1\" group=\"page\" width=\"30\" />")
                .arg(i);
        if (i == 1)
            options += QStringLiteral("<Label name=\"PageLabelTip1\" text=\"…\" width=\"16\" />");
        if (i == 6)
            options += QStringLiteral("<Label name=\"PageLabelTip2\" text=\"…\" width=\"16\" />");
    }
    return Layout(
        QStringLiteral("<VerticalLayout><Flip name=\"Flip\" height=\"30\" pagecardinalnumber=\"%1\">"
                       "<DispatchEventButton name=\"PageLabelbutton1\" width=\"50\" />%2"
                       "<DispatchEventButton name=\"PageLabelbutton2\" width=\"50\" /></Flip><Control />"
                       "</VerticalLayout>")
            .arg(perPage, options),
        QStringLiteral("size=\"600,200\""));
}

class FlipBar : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(window.Open(600, 200)); }

    CFlipUI* Flip() { return window.FindAs<CFlipUI>("Flip"); }
    /// The texts of the page options that show.
    QStringList Shown()
    {
        QStringList texts;
        for (int i = 1; i <= 7; ++i) {
            CControlUI* option = window.Find(QStringLiteral("PageLabelIndex%1").arg(i));
            if (option->IsVisible()) {
                texts.append(option->GetText());
                EXPECT_EQ(option->GetTag(), option->GetText().toULongLong());
            }
        }
        return texts;
    }
    QString Selected()
    {
        QString selected;
        for (int i = 1; i <= 7; ++i) {
            auto* option = window.FindAs<COptionUI>(QStringLiteral("PageLabelIndex%1").arg(i));
            if (option->IsSelected()) {
                EXPECT_TRUE(selected.isEmpty()) << "two selected options";
                selected = option->GetText();
            }
        }
        return selected;
    }
    bool Tip(int n) { return window.Find(QStringLiteral("PageLabelTip%1").arg(n))->IsVisible(); }
    bool Button(int n) { return window.Find(QStringLiteral("PageLabelbutton%1").arg(n))->IsEnabled(); }

    TestWindow window{FlipLayout(), [](const QString& tag) { return ravelo::CreateProgramControl(tag); }};
};

} // namespace

TEST_F(FlipBar, AHundredItemsShowThreePagesWithoutTips)
{
    Flip()->SetPage(1, 100);
    EXPECT_TRUE(Flip()->IsVisible());
    EXPECT_EQ(Shown(), (QStringList{"1", "2", "3"}));
    EXPECT_FALSE(Tip(1));
    EXPECT_FALSE(Tip(2));
    EXPECT_EQ(Selected(), "1");
    EXPECT_FALSE(Button(1));
    EXPECT_TRUE(Button(2));
}

TEST_F(FlipBar, FourHundredItemsOnPagesOneFiveAndNine)
{
    Flip()->SetPage(1, 400);
    EXPECT_EQ(Shown(), (QStringList{"1", "2", "3", "4", "5", "6", "10"}));
    EXPECT_FALSE(Tip(1));
    EXPECT_TRUE(Tip(2));
    EXPECT_EQ(Selected(), "1");

    Flip()->SetPage(5, 400);
    EXPECT_EQ(Shown(), (QStringList{"1", "3", "4", "5", "6", "7", "10"}));
    EXPECT_TRUE(Tip(1));
    EXPECT_TRUE(Tip(2));
    EXPECT_EQ(Selected(), "5");
    EXPECT_TRUE(Button(1));
    EXPECT_TRUE(Button(2));

    Flip()->SetPage(9, 400);
    EXPECT_EQ(Shown(), (QStringList{"1", "5", "6", "7", "8", "9", "10"}));
    EXPECT_TRUE(Tip(1));
    EXPECT_FALSE(Tip(2));
    EXPECT_EQ(Selected(), "9");

    Flip()->SetPage(10, 400);
    EXPECT_EQ(Selected(), "10");
    EXPECT_TRUE(Button(1));
    EXPECT_FALSE(Button(2));
}

TEST_F(FlipBar, OnePageDisablesBothButtons)
{
    Flip()->SetPage(1, 40);
    EXPECT_EQ(Shown(), QStringList{"1"});
    EXPECT_FALSE(Button(1));
    EXPECT_FALSE(Button(2));
    EXPECT_EQ(Flip()->GetPageCount(), 1);
    Flip()->SetPage(1, 41);
    EXPECT_EQ(Shown(), (QStringList{"1", "2"}));
}

TEST_F(FlipBar, NothingToShowHidesTheBarUntilThereIsAgain)
{
    Flip()->SetPage(2, 100);
    Flip()->SetPage(0, 100);
    EXPECT_FALSE(Flip()->IsVisible());
    Flip()->SetPage(1, 0);
    EXPECT_FALSE(Flip()->IsVisible());
    // The bar comes back for the same page it showed before it was hidden.
    Flip()->SetPage(2, 100);
    EXPECT_TRUE(Flip()->IsVisible());
    EXPECT_EQ(Selected(), "2");
}

TEST_F(FlipBar, TheSameValuesAgainChangeNothing)
{
    Flip()->SetPage(3, 400);
    window.FindAs<COptionUI>("PageLabelIndex1")->Selected(true, false);
    Flip()->SetPage(3, 400);
    EXPECT_EQ(Selected(), "1");
    Flip()->SetPage(4, 400);
    EXPECT_EQ(Selected(), "4");
}

TEST_F(FlipBar, ClicksAskTheWindowForAPageAndChangeNothingThemselves)
{
    Flip()->SetPage(5, 400);
    QTest::mouseClick(window.GetWidget(), Qt::LeftButton, {}, window.Centre("PageLabelIndex5")); // "6"
    QTest::mouseClick(window.GetWidget(), Qt::LeftButton, {}, window.Centre("PageLabelbutton1"));
    QTest::mouseClick(window.GetWidget(), Qt::LeftButton, {}, window.Centre("PageLabelbutton2"));
    ASSERT_EQ(window.Types(), (std::vector<QString>{"click:Flip", "click:Flip", "click:Flip"}));
    std::vector<UiLib::WPARAM> pages;
    for (const auto& note : window.notes) {
        if (note.type == DUI_MSGTYPE_CLICK)
            pages.push_back(note.wParam);
    }
    EXPECT_EQ(pages, (std::vector<UiLib::WPARAM>{6, 4, 6}));
    EXPECT_EQ(Selected(), "5"); // the page changes when the window loads it and calls SetPage
}

TEST(PageNumbers, RulesAtTheEdges)
{
    using ravelo::ComputePageWindow;
    EXPECT_EQ(ravelo::PageCount(400, 40), 10);
    EXPECT_EQ(ravelo::PageCount(401, 40), 11);
    EXPECT_EQ(ravelo::PageCount(5, 0), 5); // at least one item per page
    EXPECT_EQ(ravelo::PageCount(0, 40), 0);
    const ravelo::PageWindow seven = ComputePageWindow(7, 7);
    EXPECT_FALSE(seven.tip1 || seven.tip2);
    EXPECT_EQ(seven.visibleOptions, 7);
    const ravelo::PageWindow eight = ComputePageWindow(4, 8);
    EXPECT_FALSE(eight.tip1);
    EXPECT_TRUE(eight.tip2);
    EXPECT_EQ(eight.numbers, (std::array<int, 7>{1, 2, 3, 4, 5, 6, 8}));
    const ravelo::PageWindow middle = ComputePageWindow(5, 8);
    EXPECT_TRUE(middle.tip1);
    EXPECT_FALSE(middle.tip2);
    EXPECT_EQ(middle.numbers, (std::array<int, 7>{1, 3, 4, 5, 6, 7, 8}));
}
