// Layout arithmetic: fixed sizes, stretching, limits, padding, floats, tiles, tabs and scrolling,
// computed on trees built from layout text without a window.

#include "uilib/CContainerUI.h"
#include "uilib/CDialogBuilder.h"
#include "uilib/CLabelUI.h"
#include "uilib/CScrollBarUI.h"
#include "uilib/CTabLayoutUI.h"
#include "uilib/CTileLayoutUI.h"
#include "uilib/LayoutMath.h"

#include <gtest/gtest.h>

#include <memory>

using namespace UiLib;

namespace {

class Tree
{
public:
    explicit Tree(const QString& xml)
    {
        CDialogBuilder builder;
        m_root.reset(builder.CreateFromText(xml));
        EXPECT_TRUE(m_root) << builder.GetLastError().toStdString();
    }
    CControlUI* Root() const { return m_root.get(); }
    QRect Place(QRect rc)
    {
        m_root->SetPos(rc);
        return rc;
    }
    QRect Pos(const QString& name) const
    {
        CControlUI* c = m_root->FindControlIf([&](CControlUI* x) { return x->GetName() == name; });
        EXPECT_TRUE(c) << name.toStdString();
        return c ? c->GetPos() : QRect();
    }

private:
    std::unique_ptr<CControlUI> m_root;
};

} // namespace

TEST(Layout, VerticalFixedStretchPaddingAndChildPadding)
{
    Tree tree(QStringLiteral(R"(<VerticalLayout inset="10,10,10,10" childpadding="5">
        <Control name="a" height="50" />
        <Control name="b" />
        <Control name="c" height="30" padding="3,4,0,6" width="40" />
        <Control name="d" />
    </VerticalLayout>)"));
    tree.Place(QRect(0, 0, 200, 300));
    // 280 high inside: 50 + 30 + 10 padding + 15 child padding leave 175 for b and d.
    EXPECT_EQ(tree.Pos("a"), QRect(10, 10, 180, 50));
    EXPECT_EQ(tree.Pos("b"), QRect(10, 65, 180, 87));
    EXPECT_EQ(tree.Pos("c"), QRect(13, 161, 40, 30));
    EXPECT_EQ(tree.Pos("d"), QRect(10, 202, 180, 88));
    EXPECT_EQ(tree.Pos("d").bottom() + 1, 290); // the last stretching child takes the remainder
}

TEST(Layout, StretchingChildrenRespectTheirLimitsAndShareTheRest)
{
    Tree tree(QStringLiteral(R"(<HorizontalLayout>
        <Control name="capped" maxwidth="50" />
        <Control name="free" />
        <Control name="floor" minwidth="200" />
    </HorizontalLayout>)"));
    tree.Place(QRect(0, 0, 300, 20));
    // An equal share would be 100: the capped one keeps 50, the floor 200, the free one the rest.
    EXPECT_EQ(tree.Pos("capped").width(), 50);
    EXPECT_EQ(tree.Pos("floor").width(), 200);
    EXPECT_EQ(tree.Pos("free").width(), 50);
    EXPECT_EQ(tree.Pos("free").left(), 50);
    EXPECT_EQ(tree.Pos("floor").left(), 100);

    std::vector<LayoutSlot> cells(3);
    cells[0].fixed = 120;
    cells[1].fixed = 0;
    cells[2].fixed = 0;
    cells[2].max = 30;
    DistributeSpace(cells, 100);
    EXPECT_EQ(cells[0].size, 120); // fixed sizes win even when they overflow
    EXPECT_EQ(cells[1].size, 0);
    EXPECT_EQ(cells[2].size, 0);
}

TEST(Layout, AlignmentOfChildrenThatDoNotFill)
{
    Tree tree(QStringLiteral(R"(<HorizontalLayout childalign="center" childvalign="vcenter" childpadding="10">
        <Control name="a" width="40" height="20" />
        <Control name="b" width="60" height="10" />
    </HorizontalLayout>)"));
    tree.Place(QRect(0, 0, 210, 50));
    EXPECT_EQ(tree.Pos("a"), QRect(50, 15, 40, 20));
    EXPECT_EQ(tree.Pos("b"), QRect(100, 20, 60, 10));
}

TEST(Layout, FloatingChildrenSitAtTheirPositionAndTakeNoSpace)
{
    Tree tree(QStringLiteral(R"(<VerticalLayout>
        <Control name="flow" />
        <Control name="badge" float="true" pos="10,20,60,40" />
    </VerticalLayout>)"));
    tree.Place(QRect(100, 100, 200, 100));
    EXPECT_EQ(tree.Pos("flow"), QRect(100, 100, 200, 100));
    EXPECT_EQ(tree.Pos("badge"), QRect(110, 120, 50, 20));

    // Without a size of its own a floating child covers the rest of its container: an overlay.
    Tree overlay(QStringLiteral(R"(<VerticalLayout>
        <Control name="content" />
        <Control name="cover" float="true" />
        <Control name="below" float="true" pos="0,30,0,0" />
    </VerticalLayout>)"));
    overlay.Place(QRect(0, 0, 300, 200));
    EXPECT_EQ(overlay.Pos("cover"), QRect(0, 0, 300, 200));
    EXPECT_EQ(overlay.Pos("below"), QRect(0, 30, 300, 170));
    overlay.Place(QRect(0, 0, 500, 400));
    EXPECT_EQ(overlay.Pos("cover"), QRect(0, 0, 500, 400));
}

TEST(Layout, TileColumnsComeFromTheItemSizeOrTheColumnCount)
{
    Tree bySize(QStringLiteral(R"(<TileLayout itemsize="100,50" childpadding="10">
        <Control name="t1" /><Control name="t2" /><Control name="t3" /><Control name="t4" />
    </TileLayout>)"));
    bySize.Place(QRect(0, 0, 330, 200));
    auto* tile = static_cast<CTileLayoutUI*>(bySize.Root());
    EXPECT_EQ(tile->GetActualColumns(), 3);
    EXPECT_EQ(bySize.Pos("t3"), QRect(220, 0, 100, 50));
    EXPECT_EQ(bySize.Pos("t4"), QRect(0, 60, 100, 50));

    Tree byColumns(QStringLiteral(R"(<TileLayout columns="2" childpadding="10" childvpadding="4">
        <Control name="a" height="30" /><Control name="b" height="40" /><Control name="c" />
    </TileLayout>)"));
    byColumns.Place(QRect(0, 0, 210, 200));
    EXPECT_EQ(byColumns.Pos("a"), QRect(0, 0, 100, 30));
    EXPECT_EQ(byColumns.Pos("b"), QRect(110, 0, 100, 40));
    // A row is as high as its tallest child; the next starts after the row gap.
    EXPECT_EQ(byColumns.Pos("c").top(), 44);

    // A minimum item width: as many columns as fit, sharing the width.
    Tree byMinimum(QStringLiteral(R"(<TileLayout minitemwidth="100" itemsize="0,50" childpadding="10">
        <Control name="m1" /><Control name="m2" /><Control name="m3" /><Control name="m4" />
    </TileLayout>)"));
    byMinimum.Place(QRect(0, 0, 350, 200));
    auto* shared = static_cast<CTileLayoutUI*>(byMinimum.Root());
    EXPECT_EQ(shared->GetActualColumns(), 3);
    EXPECT_EQ(byMinimum.Pos("m2"), QRect(120, 0, 110, 50));
    byMinimum.Place(QRect(0, 0, 90, 200));
    EXPECT_EQ(shared->GetActualColumns(), 1); // never fewer than one column

    // Children that want no height share the layout's height, row by row.
    Tree filling(QStringLiteral(R"(<TileLayout columns="2" childpadding="10">
        <Control name="a" /><Control name="b" /><Control name="c" />
    </TileLayout>)"));
    filling.Place(QRect(0, 0, 210, 110));
    EXPECT_EQ(filling.Pos("a"), QRect(0, 0, 100, 50));
    EXPECT_EQ(filling.Pos("c"), QRect(0, 60, 100, 50));
}

TEST(Layout, TabLayoutShowsOnePageFillingTheLayout)
{
    Tree tree(QStringLiteral(R"(<TabLayout selectedid="1" inset="2,2,2,2">
        <Control name="p0" /><Control name="p1" /><Control name="p2" />
    </TabLayout>)"));
    auto* tab = static_cast<CTabLayoutUI*>(tree.Root());
    tree.Place(QRect(0, 0, 100, 100));
    EXPECT_EQ(tab->GetCurSel(), 1);
    EXPECT_FALSE(tab->GetItemAt(0)->IsVisible());
    EXPECT_TRUE(tab->GetItemAt(1)->IsVisible());
    EXPECT_EQ(tree.Pos("p1"), QRect(2, 2, 96, 96));
    EXPECT_TRUE(tab->SelectItem(2));
    EXPECT_FALSE(tab->GetItemAt(1)->IsVisible());
    EXPECT_TRUE(tab->GetItemAt(2)->IsVisible());
    EXPECT_FALSE(tab->SelectItem(3));
    EXPECT_EQ(tab->GetCurSel(), 2);
}

TEST(Layout, ContentTallerThanTheLayoutScrolls)
{
    Tree tree(QStringLiteral(R"(<VerticalLayout vscrollbar="true" childpadding="10">
        <Control name="a" height="100" /><Control name="b" height="100" /><Control name="c" height="100" />
    </VerticalLayout>)"));
    auto* layout = static_cast<CContainerUI*>(tree.Root());
    tree.Place(QRect(0, 0, 200, 150));
    ASSERT_TRUE(layout->GetVerticalScrollBar());
    EXPECT_TRUE(layout->GetVerticalScrollBar()->IsVisible());
    EXPECT_EQ(layout->GetScrollRange().height(), 320 - 150);
    // The bar takes its width from the content.
    EXPECT_EQ(tree.Pos("a").width(), 200 - layout->GetVerticalScrollBar()->GetThickness());
    layout->SetScrollPos(QPoint(0, 60));
    EXPECT_EQ(tree.Pos("b").top(), 110 - 60);
    layout->SetScrollPos(QPoint(0, 10000));
    EXPECT_EQ(layout->GetScrollPos().y(), 170);

    // Enough room again: the bar goes away and the content is back at the top.
    tree.Place(QRect(0, 0, 200, 400));
    EXPECT_FALSE(layout->GetVerticalScrollBar()->IsVisible());
    EXPECT_EQ(tree.Pos("a").top(), 0);
    EXPECT_EQ(tree.Pos("a").width(), 200);
}

TEST(Layout, HiddenChildrenTakeNoSpaceAndAutoWidthFollowsTheText)
{
    Tree tree(QStringLiteral(R"(<HorizontalLayout>
        <Label name="auto" text="自动宽度" autocalcwidth="true" textpadding="4,0,4,0" />
        <Control name="gone" width="50" visible="false" />
        <Control name="rest" />
    </HorizontalLayout>)"));
    auto* label = static_cast<CLabelUI*>(
        tree.Root()->FindControlIf([](CControlUI* c) { return c->GetName() == "auto"; }));
    tree.Place(QRect(0, 0, 300, 20));
    const int textWidth = label->MeasureTextWidth();
    EXPECT_GT(textWidth, 20);
    EXPECT_EQ(tree.Pos("auto").width(), textWidth + 8);
    EXPECT_EQ(tree.Pos("rest").left(), textWidth + 8);
    EXPECT_EQ(tree.Pos("rest").width(), 300 - textWidth - 8);
}
