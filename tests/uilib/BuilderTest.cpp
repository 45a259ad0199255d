// The layout builder: the Window tag, fonts and defaults, the callback, includes, bad input, asking
// a built control what kind it is, and the translation of the texts a person reads.

#include "uilib/CButtonUI.h"
#include "uilib/CComboUI.h"
#include "uilib/CContainerUI.h"
#include "uilib/CDialogBuilder.h"
#include "uilib/CEditUI.h"
#include "uilib/COptionUI.h"
#include "uilib/CPaintManagerUI.h"
#include "uilib/CTabLayoutUI.h"
#include "uilib/CTreeNodeUI.h"
#include "uilib/CTreeViewUI.h"
#include "uilib/SkinResources.h"

#include "support/FileText.h"
#include "support/LanguageScope.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>

using namespace UiLib;
using ravelo::test::TempFolder;

namespace {

/// Records every attribute it is given, as a program control passing them on to its base would.
class RecordingContainer : public CContainerUI
{
public:
    QStringList seen;
    void SetAttribute(const QString& name, const QString& value) override
    {
        seen.append(name + u'=' + value);
        CContainerUI::SetAttribute(name, value);
    }
};

class Callback : public IDialogBuilderCallback
{
public:
    QStringList asked;
    CControlUI* CreateControl(const QString& tag) override
    {
        asked.append(tag);
        if (tag == QLatin1String("Custom"))
            return new RecordingContainer;
        if (tag == QLatin1String("Button"))
            return new COptionUI; // the window may even replace a library class
        return nullptr;
    }
};

CControlUI* Named(CControlUI* root, const QString& name)
{
    return root ? root->FindControlIf([&](CControlUI* c) { return c->GetName() == name; }) : nullptr;
}

} // namespace

TEST(Builder, WindowTagFontsAndDefaultsReachTheManager)
{
    CPaintManagerUI manager;
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(builder.CreateFromText(QStringLiteral(R"(
        <Window size="1250,680" caption="0,0,0,70" sizebox="4,4,4,4" mininfo="1250,680" maxinfo="1600,900"
                roundcorner="8,8" showshadow="true" shadowsize="10">
          <Font name="WenQuanYi Micro Hei" size="13" default="true" />
          <Font id="5" size="20" bold="true" />
          <Font size="9" />
          <Default name="Button" value="textcolor=&quot;#FF112233&quot; width=&quot;80&quot;" />
          <VerticalLayout>
            <Button name="plain" />
            <Button name="own" width="40" />
          </VerticalLayout>
        </Window>)"),
                                                            nullptr, &manager));
    ASSERT_TRUE(root) << builder.GetLastError().toStdString();
    EXPECT_EQ(manager.GetInitSize(), QSize(1250, 680));
    EXPECT_EQ(manager.GetCaptionRect(), QMargins(0, 0, 0, 70));
    EXPECT_EQ(manager.GetSizeBox(), QMargins(4, 4, 4, 4));
    EXPECT_EQ(manager.GetMinInfo(), QSize(1250, 680));
    EXPECT_EQ(manager.GetMaxInfo(), QSize(1600, 900));
    EXPECT_EQ(manager.GetRoundCorner(), QSize(8, 8));
    EXPECT_TRUE(manager.IsShowShadow());
    EXPECT_EQ(manager.GetShadowSize(), 10);
    EXPECT_EQ(manager.GetFont(5).pixelSize(), 20);
    EXPECT_TRUE(manager.GetFont(5).bold());
    EXPECT_EQ(manager.GetFont(6).pixelSize(), 9);   // numbered after the highest id so far
    EXPECT_EQ(manager.GetFont(-1).pixelSize(), 13); // the default font
    EXPECT_EQ(manager.GetFont(42).pixelSize(), 13);
    auto* plain = static_cast<CButtonUI*>(Named(root.get(), "plain"));
    auto* own = static_cast<CButtonUI*>(Named(root.get(), "own"));
    ASSERT_TRUE(plain && own);
    EXPECT_EQ(plain->GetTextColor(), 0xFF112233u);
    EXPECT_EQ(plain->GetFixedWidth(), 80);
    EXPECT_EQ(own->GetFixedWidth(), 40); // the control's own attributes come after the defaults
}

TEST(Builder, TheCallbackIsAskedFirstAndEveryAttributeReachesTheControl)
{
    Callback callback;
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(builder.CreateFromText(QStringLiteral(R"(
        <VerticalLayout>
          <Custom name="c" speed="30" text="x" pagecardinalnumber="40" />
          <Button name="b" />
          <NoSuchTag name="n"><Label name="inside" /></NoSuchTag>
        </VerticalLayout>)"),
                                                            &callback));
    ASSERT_TRUE(root);
    EXPECT_EQ(callback.asked, (QStringList{"VerticalLayout", "Custom", "Button", "NoSuchTag", "Label"}));
    auto* custom = dynamic_cast<RecordingContainer*>(Named(root.get(), "c"));
    ASSERT_TRUE(custom);
    EXPECT_EQ(custom->seen, (QStringList{"name=c", "speed=30", "text=x", "pagecardinalnumber=40"}));
    EXPECT_EQ(custom->GetText(), "x");
    EXPECT_EQ(Named(root.get(), "b")->GetClass(), "OptionUI");
    // An unknown tag still shows its children.
    CControlUI* unknown = Named(root.get(), "n");
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->GetClass(), "ContainerUI");
    EXPECT_TRUE(Named(root.get(), "inside"));
}

TEST(Builder, AttributesComeAfterTheChildrenAndStructuresNest)
{
    CPaintManagerUI manager;
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(builder.CreateFromText(QStringLiteral(R"(
        <VerticalLayout>
          <TabLayout name="tab" selectedid="2"><Control /><Control /><Control name="third" /></TabLayout>
          <Option name="o1" group="g" selected="true" />
          <Option name="o2" group="g" selected="true" />
          <TreeView name="tree">
            <TreeNode name="a"><TreeNode name="a1" /><TreeNode name="a2"><TreeNode name="a2x" /></TreeNode></TreeNode>
            <TreeNode name="b" />
          </TreeView>
          <Combo name="combo" selectedid="1"><ListLabelElement text="one" /><ListLabelElement text="two" /></Combo>
        </VerticalLayout>)"),
                                                            nullptr, &manager));
    ASSERT_TRUE(root) << builder.GetLastError().toStdString();
    auto* tab = static_cast<CTabLayoutUI*>(Named(root.get(), "tab"));
    EXPECT_EQ(tab->GetCurSel(), 2);
    EXPECT_TRUE(Named(root.get(), "third")->IsVisible());
    // One selected option per group.
    EXPECT_FALSE(static_cast<COptionUI*>(Named(root.get(), "o1"))->IsSelected());
    EXPECT_TRUE(static_cast<COptionUI*>(Named(root.get(), "o2"))->IsSelected());
    // Nodes are listed depth first, children after their parent.
    auto* tree = static_cast<CTreeViewUI*>(Named(root.get(), "tree"));
    QStringList order;
    for (int i = 0; i < tree->GetCount(); ++i)
        order.append(tree->GetItemAt(i)->GetName());
    EXPECT_EQ(order, (QStringList{"a", "a1", "a2", "a2x", "b"}));
    EXPECT_EQ(static_cast<CTreeNodeUI*>(Named(root.get(), "a2x"))->GetDepth(), 2);
    static_cast<CTreeNodeUI*>(Named(root.get(), "a"))->Expand(false);
    EXPECT_FALSE(Named(root.get(), "a2x")->IsVisible());
    EXPECT_TRUE(Named(root.get(), "b")->IsVisible());
    EXPECT_EQ(static_cast<CComboUI*>(Named(root.get(), "combo"))->GetText(), "two");
}

TEST(Builder, IncludesBuildInPlaceAndALoopFailsCleanly)
{
    TempFolder temp;
    ravelo::test::WriteText(temp / "item.xml",
                            R"(<HorizontalLayout name="item"><Label name="label" /></HorizontalLayout>)");
    const std::string loop = temp / "loop.xml";
    ravelo::test::WriteText(loop, "<VerticalLayout><Include source=\"" + loop + "\" /></VerticalLayout>");

    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(builder.CreateFromText(
        QStringLiteral("<VerticalLayout><Include source=\"%1\" count=\"3\" /></VerticalLayout>")
            .arg(QString::fromStdString(temp / "item.xml"))));
    ASSERT_TRUE(root);
    EXPECT_EQ(static_cast<CContainerUI*>(root.get())->GetCount(), 3);

    CDialogBuilder looping;
    std::unique_ptr<CControlUI> looped(looping.Create(QString::fromStdString(loop)));
    ASSERT_TRUE(looped); // the outer layouts stand; the include that would recurse forever is refused
    EXPECT_TRUE(looping.GetLastError().contains("nested too deeply"));
}

TEST(Builder, BadLayoutsGiveAClearErrorAndNoTree)
{
    CDialogBuilder builder;
    EXPECT_EQ(builder.CreateFromText(QStringLiteral("<VerticalLayout><Label></VerticalLayout>")), nullptr);
    EXPECT_TRUE(builder.GetLastError().contains("line 1")) << builder.GetLastError().toStdString();
    EXPECT_EQ(builder.CreateFromText(QString()), nullptr);
    EXPECT_EQ(builder.Create(QStringLiteral("skin\\xmls\\NoSuchDialog.xml")), nullptr);
    EXPECT_TRUE(builder.GetLastError().contains("no such layout"));

    // Values that are not numbers read as 0 rather than stopping the layout.
    std::unique_ptr<CControlUI> lenient(
        builder.CreateFromText(QStringLiteral(R"(<Control width="wide" height="12px" bkcolor="blue" />)")));
    ASSERT_TRUE(lenient);
    EXPECT_EQ(lenient->GetFixedWidth(), 0);
    EXPECT_EQ(lenient->GetFixedHeight(), 12);
}

TEST(Builder, SkinFilesResolveByTheProgramsNamesAndNeverClimbOut)
{
    EXPECT_FALSE(Skin::Resolve(QStringLiteral("skin\\xmls\\Theme.xml")).isEmpty());
    EXPECT_EQ(Skin::Resolve(QStringLiteral("skin\\xmls\\Theme.xml")),
              Skin::Resolve(QStringLiteral("xmls/Theme.xml")));
    EXPECT_FALSE(Skin::Resolve(QStringLiteral("skin\\ui\\DefaultGameIcon.png")).isEmpty());
    EXPECT_FALSE(Skin::Resolve(QStringLiteral("skin\\ui\\local_mameplus.png")).isEmpty());
    EXPECT_TRUE(Skin::Resolve(QStringLiteral("skin/../../etc/passwd")).isEmpty());
    EXPECT_TRUE(Skin::Resolve(QStringLiteral("skin\\ui\\missing.png")).isEmpty());
    EXPECT_FALSE(CPaintManagerUI::LoadImage(QStringLiteral("skin\\ui\\level_foreimage.png")).isNull());
    EXPECT_EQ(CPaintManagerUI::LoadImage(QStringLiteral("skin\\ui\\level_foreimage.png")).size(),
              QSize(109, 18));
}

TEST(Builder, AsAnswersForTheControlsKindAndItsBasesOnly)
{
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(builder.CreateFromText(QStringLiteral(R"(
        <VerticalLayout>
          <Option name="opt" />
          <Button name="btn" />
          <Combo name="combo"><ListLabelElement name="item" text="一" /><ListLabelElement text="二" /></Combo>
          <TabLayout name="tabs" />
        </VerticalLayout>)")));
    ASSERT_TRUE(root);
    auto* layout = root->As<CContainerUI>();
    ASSERT_TRUE(layout);
    CControlUI* option = layout->GetItemAt(0);
    EXPECT_EQ(option->As<COptionUI>(), option);
    EXPECT_EQ(option->As<CButtonUI>(), option);
    EXPECT_EQ(option->As<CControlUI>(), option);
    EXPECT_EQ(option->As<CContainerUI>(), nullptr);
    EXPECT_EQ(layout->GetItemAt(1)->As<COptionUI>(), nullptr); // a button is no option
    EXPECT_EQ(layout->GetItemAt(3)->As<CTabLayoutUI>(), layout->GetItemAt(3));
    EXPECT_EQ(ControlAs<CButtonUI>(nullptr), nullptr);

    // Interfaces that are not the control's first base come back as that part of the object.
    auto* combo = layout->GetItemAt(2)->As<CComboUI>();
    ASSERT_TRUE(combo);
    IListOwnerUI* owner = combo->As<IListOwnerUI>();
    ASSERT_EQ(owner, static_cast<IListOwnerUI*>(combo));
    IListItemUI* second = combo->GetItemAt(1)->As<IListItemUI>();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->GetIndex(), 1);
    EXPECT_EQ(second->GetOwner(), owner);
    EXPECT_EQ(owner->GetOwnerControl(), combo);
}

// A layout's readable attributes are looked up in the catalogue as the extraction wrote them
// (entities decoded, white space made one space); everything else, and any text the catalogue does
// not hold, reaches the control exactly as written.
TEST(Builder, ReadableTextsAreTranslatedWhenTheLayoutLoads)
{
    ravelo::test::LanguageScope english("en");
    Callback callback;
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(builder.CreateFromText(QStringLiteral(R"(
        <VerticalLayout>
          <Custom name="c" text="下载中心" tooltip="搜索" userdata="安装" />
          <Edit name="e" prompttext="搜索想要的游戏.." />
          <Label name="spaced" text="  下载中心 &#10;  2 " />
          <Label name="entity" text="建议&amp;反馈" />
          <Label name="unknown" text="  不在目录中的  文字 " />
          <Label name="下载中心" />
          <Label name="notice" text="提示" />
          <Label name="show" text="提示" textcontext="show or hide" />
          <Label name="nocontext" text="提示" textcontext="no such meaning" />
        </VerticalLayout>)"),
                                                            &callback));
    ASSERT_TRUE(root);
    auto* custom = dynamic_cast<RecordingContainer*>(Named(root.get(), "c"));
    ASSERT_TRUE(custom);
    // A window's own control sees the translated value, as its base class does.
    EXPECT_EQ(custom->seen,
              (QStringList{"name=c", "text=Download centre", "tooltip=Search", "userdata=安装"}));
    EXPECT_EQ(custom->GetToolTip(), "Search");
    auto* edit = dynamic_cast<CEditUI*>(Named(root.get(), "e"));
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->GetPromptText(), "Search for games..");
    EXPECT_EQ(Named(root.get(), "spaced")->GetText(), "Download centre 2");
    EXPECT_EQ(Named(root.get(), "entity")->GetText(), "Feedback & ideas");
    EXPECT_EQ(Named(root.get(), "unknown")->GetText(), "  不在目录中的  文字 ");
    EXPECT_TRUE(Named(root.get(), "下载中心")); // names are never translated
    // One word, two meanings: the context picks the translation; an unknown context keeps the text.
    EXPECT_EQ(Named(root.get(), "notice")->GetText(), "Notice");
    EXPECT_EQ(Named(root.get(), "show")->GetText(), "Show");
    EXPECT_EQ(Named(root.get(), "nocontext")->GetText(), "提示");
}
