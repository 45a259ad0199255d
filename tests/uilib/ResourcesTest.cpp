// A window's resources on their own: the font table, the picture cache, the option groups and the
// per-control timers, and the paint manager forgetting a control in all of them.

#include "uilib/CContainerUI.h"
#include "uilib/CControlTimers.h"
#include "uilib/CControlUI.h"
#include "uilib/CDialogBuilder.h"
#include "uilib/CFontTable.h"
#include "uilib/CImageCache.h"
#include "uilib/COptionGroups.h"
#include "uilib/COptionUI.h"
#include "uilib/CPaintManagerUI.h"

#include "support/TempFolder.h"

#include <QImage>
#include <QTest>
#include <QTimerEvent>

#include <gtest/gtest.h>

#include <memory>
#include <set>

using namespace UiLib;
using ravelo::test::TempFolder;

namespace {

/// Counts the timer events it receives, by Qt timer id.
class TimerHost : public QObject
{
public:
    std::vector<int> fired;

protected:
    void timerEvent(QTimerEvent* event) override { fired.push_back(event->timerId()); }
};

} // namespace

TEST(Resources, UnknownFontsAreTheDefaultAndTheirMetricsFollowIt)
{
    CFontTable fonts;
    EXPECT_EQ(fonts.GetFont(3).pixelSize(), CFontTable::DefaultFont().pixelSize());
    fonts.AddFont(0, QString(), 13, false, false, false, true);
    fonts.AddFont(4, QString(), 16, true, false, false, false);
    EXPECT_EQ(fonts.GetFont(4).pixelSize(), 16);
    EXPECT_TRUE(fonts.GetFont(4).bold());
    EXPECT_EQ(fonts.GetFont(99).pixelSize(), 13);
    const int small = fonts.GetFontMetrics(99).height();

    // Replacing the default font must not leave unknown indexes measuring the old one.
    fonts.AddFont(0, QString(), 30, false, false, false, false);
    EXPECT_EQ(fonts.GetFont(99).pixelSize(), 30);
    EXPECT_GT(fonts.GetFontMetrics(99).height(), small);
    EXPECT_EQ(fonts.GetFontMetrics(99).height(), fonts.GetFontMetrics(0).height());
}

TEST(Resources, APictureIsCachedOnceAndAMissingOneIsTriedAgainLater)
{
    TempFolder temp;
    const QString file = QString::fromStdString(temp / "late.png");
    CImageCache cache;
    EXPECT_TRUE(cache.GetImageEx(file).isNull());
    EXPECT_EQ(cache.GetImageCount(), 0);

    QImage picture(8, 6, QImage::Format_ARGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(file));
    EXPECT_EQ(cache.GetImageEx(file).size(), QSize(8, 6)); // there now
    EXPECT_EQ(cache.GetImageCount(), 1);
    EXPECT_EQ(cache.GetImage(file).size(), QSize(8, 6));

    const TDrawInfo info = cache.GetDrawInfo(QStringLiteral("file='%1' dest='1,2,5,6' fade='100'").arg(file));
    EXPECT_EQ(info.file, file);
    EXPECT_EQ(info.dest, QRect(QPoint(1, 2), QPoint(4, 5)));
    EXPECT_EQ(info.fade, 100);
    EXPECT_TRUE(cache.RemoveImage(file));
    EXPECT_TRUE(cache.GetImage(file).isNull());
}

TEST(Resources, OptionGroupsKeepTheirOrderAndForgetAControlEverywhere)
{
    CControlUI a, b, c;
    COptionGroups groups;
    groups.Add(QStringLiteral("g"), &a);
    groups.Add(QStringLiteral("g"), &b);
    groups.Add(QStringLiteral("g"), &a); // once only
    groups.Add(QStringLiteral("h"), &b);
    groups.Add(QStringLiteral("h"), &c);
    EXPECT_EQ(groups.Get(QStringLiteral("g")), (std::vector<CControlUI*>{&a, &b}));
    groups.Forget(&b);
    EXPECT_EQ(groups.Get(QStringLiteral("g")), (std::vector<CControlUI*>{&a}));
    EXPECT_EQ(groups.Get(QStringLiteral("h")), (std::vector<CControlUI*>{&c}));
    groups.Remove(QStringLiteral("h"), &c);
    EXPECT_TRUE(groups.Get(QStringLiteral("h")).empty());
    EXPECT_TRUE(groups.Get(QStringLiteral("unknown")).empty());
}

TEST(Resources, TimersMapTheHostsEventsBackAndStopWithTheirHost)
{
    CControlUI a, b;
    CControlTimers timers;
    EXPECT_FALSE(timers.Set(&a, 1, 5)); // no host yet

    auto host = std::make_unique<TimerHost>();
    timers.SetHost(host.get());
    ASSERT_TRUE(timers.Set(&a, 1, 5));
    ASSERT_TRUE(timers.Set(&a, 1, 5)); // a restart, not a second timer
    ASSERT_TRUE(timers.Set(&b, 1, 5));
    ASSERT_TRUE(QTest::qWaitFor([&] { return host->fired.size() >= 4; }, 3000));
    std::set<CControlUI*> owners;
    for (int id : host->fired) {
        const auto timer = timers.Find(id);
        ASSERT_TRUE(timer.has_value());
        EXPECT_EQ(timer->id, 1u);
        owners.insert(timer->control);
    }
    EXPECT_EQ(owners, (std::set<CControlUI*>{&a, &b}));

    timers.Kill(&a);
    EXPECT_FALSE(timers.Has(&a, 1));
    EXPECT_TRUE(timers.Has(&b, 1));
    EXPECT_FALSE(timers.Kill(&a, 1));

    // A window that lets go of its widget stops every timer on it.
    timers.SetHost(nullptr);
    EXPECT_FALSE(timers.Has(&b, 1));
    host->fired.clear();
    // A later timer of the host's own fires after any 5 ms timer still running would have.
    const int sentinel = host->startTimer(20);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !host->fired.empty(); }, 3000));
    EXPECT_EQ(host->fired, (std::vector<int>{sentinel}));
}

TEST(Resources, AControlLeavingTheWindowLeavesItsGroupAndName)
{
    CPaintManagerUI manager;
    CDialogBuilder builder;
    auto* root = static_cast<CContainerUI*>(builder.CreateFromText(QStringLiteral(R"(
        <HorizontalLayout><Option name="a" group="g" /><Option name="b" group="g" /></HorizontalLayout>)"),
                                                                   nullptr, &manager));
    ASSERT_TRUE(root);
    manager.AttachDialog(root);
    CControlUI* b = manager.FindControl(QStringLiteral("b"));
    ASSERT_TRUE(b);
    EXPECT_EQ(manager.GetOptionGroup(QStringLiteral("g")).size(), 2u);
    root->Remove(b); // no widget: destroyed at once
    EXPECT_EQ(manager.GetOptionGroup(QStringLiteral("g")),
              (std::vector<CControlUI*>{manager.FindControl(QStringLiteral("a"))}));
    EXPECT_EQ(manager.FindControl(QStringLiteral("b")), nullptr);
}
