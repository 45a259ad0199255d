// Skinned windows: modal runs, the message handler's first look, per-control timers, the picture
// cache, menus, the tray fallback, the replaceable dialogs, and placing and showing without the focus.

#include "support/TestWindow.h"

#include "uilib/CContainerUI.h"
#include "uilib/CMenuWnd.h"
#include "uilib/CTrayIcon.h"
#include "uilib/UiDialogs.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace UiLib;
using ravelo::Message;
using ravelo::test::Layout;
using ravelo::test::TestWindow;

namespace {

/// Counts the timer events it gets.
class TimerControl : public CControlUI
{
public:
    std::vector<WPARAM> ticks;
    void DoEvent(TEventUI& event) override
    {
        if (event.Type == UIEVENT_TIMER) {
            ticks.push_back(event.wParam);
            return;
        }
        CControlUI::DoEvent(event);
    }
};

class HandlerWindow : public TestWindow
{
public:
    using TestWindow::TestWindow;
    bool keepOpen = false;
    std::vector<std::uint32_t> seen;
    int finals = 0;

protected:
    LRESULT HandleMessage(Message& message, bool& handled) override
    {
        seen.push_back(message.id);
        if (message.id == WM_CLOSE && keepOpen) {
            handled = true;
            ShowWindow(false);
        }
        return 0;
    }
    void OnFinalMessage(ravelo::WindowHandle) override { ++finals; }
};

const QString kTwoButtons = Layout(QStringLiteral(R"(<HorizontalLayout>
    <Button name="Btn_Ok" /><Button name="Btn_Close" />
</HorizontalLayout>)"));

} // namespace

TEST(Window, ShowModalReturnsTheCodeGivenToCloseAfterTheWindowIsDestroyed)
{
    HandlerWindow window(kTwoButtons);
    window.onNotify = [&](TNotifyUI& msg) {
        if (msg.sType == DUI_MSGTYPE_WINDOWINIT) {
            // Click the way a user would, once the modal loop runs.
            QTimer::singleShot(0, [&] {
                QTest::mouseClick(window.GetWidget(), Qt::LeftButton, {}, window.Centre("Btn_Ok"));
            });
        } else if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender->GetName() == "Btn_Ok") {
            window.Close(886); // from inside the click: destroyed once the click is over
            EXPECT_TRUE(window.GetWidget() != nullptr);
        }
    };
    ASSERT_NE(window.Create(0, QStringLiteral("dialog"), UI_WNDSTYLE_DIALOG & ~WS_VISIBLE, 0), 0u);
    EXPECT_EQ(window.ShowModal(), 886);
    EXPECT_EQ(window.finals, 1);
    EXPECT_EQ(window.GetWidget(), nullptr);
    EXPECT_EQ(window.GetHWND(), 0u);
    // The controls stay readable after the window is gone, as a closing window may need.
    EXPECT_TRUE(window.Find("Btn_Ok") != nullptr);
}

TEST(Window, TheHandlerSeesMessagesFirstAndMayKeepTheWindowOpen)
{
    HandlerWindow window(kTwoButtons);
    ASSERT_TRUE(window.Open());
    window.keepOpen = true;
    window.GetWidget()->close(); // what Alt+F4 or the window manager's close button does
    EXPECT_NE(window.GetHWND(), 0u);
    EXPECT_FALSE(window.IsWindowVisible());
    ASSERT_GE(window.seen.size(), 2u);
    const auto syscommand = std::find(window.seen.begin(), window.seen.end(), WM_SYSCOMMAND);
    ASSERT_NE(syscommand, window.seen.end());
    EXPECT_NE(std::find(syscommand, window.seen.end(), WM_CLOSE), window.seen.end());

    window.keepOpen = false;
    window.Close(1);
    EXPECT_EQ(window.GetHWND(), 0u);
    EXPECT_EQ(window.finals, 1);
    EXPECT_NE(std::find(window.seen.begin(), window.seen.end(), WM_DESTROY), window.seen.end());
}

TEST(Window, PerControlTimersTickUntilKilledAndDieWithTheControl)
{
    TestWindow window(Layout(QStringLiteral("<VerticalLayout><Ticker name=\"ticker\" /></VerticalLayout>")),
                      [](const QString& tag) -> CControlUI* {
                          return tag == QLatin1String("Ticker") ? new TimerControl : nullptr;
                      });
    ASSERT_TRUE(window.Open());
    auto* ticker = window.FindAs<TimerControl>("ticker");
    ASSERT_TRUE(ticker);
    CPaintManagerUI& manager = window.GetPaintManager();
    ASSERT_TRUE(manager.SetTimer(ticker, 7, 5));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticker->ticks.size() >= 3; }, 3000));
    EXPECT_EQ(ticker->ticks.front(), 7u);
    EXPECT_TRUE(manager.KillTimer(ticker, 7));
    EXPECT_FALSE(manager.HasTimer(ticker, 7));
    const std::size_t ticks = ticker->ticks.size();
    QTest::qWait(30);
    EXPECT_EQ(ticker->ticks.size(), ticks);

    ASSERT_TRUE(manager.SetTimer(ticker, 8, 5));
    static_cast<CContainerUI*>(manager.GetRoot())->Remove(ticker);
    EXPECT_FALSE(manager.HasTimer(ticker, 8));
}

TEST(Window, ThePictureCacheLoadsOnceAndForgetsOnRequest)
{
    TestWindow window(Layout(QStringLiteral(R"(<VerticalLayout>
        <Control name="icon" bkimage="skin\ui\DefaultGameIcon.png" />
        <Control name="missing" bkimage="file='skin\ui\no_such_picture.png' corner='2,2,2,2'" />
    </VerticalLayout>)")));
    ASSERT_TRUE(window.Open());
    window.GetWidget()->repaint();
    CPaintManagerUI& manager = window.GetPaintManager();
    EXPECT_FALSE(manager.GetImage(QStringLiteral("skin\\ui\\DefaultGameIcon.png")).isNull());
    EXPECT_EQ(manager.GetImageCount(), 1);
    // A picture that cannot be drawn is forgotten, so it is not tried again on every paint.
    EXPECT_TRUE(window.Find("missing")->GetBkImage().isEmpty());
    EXPECT_TRUE(manager.RemoveImage(QStringLiteral("skin\\ui\\DefaultGameIcon.png")));
    EXPECT_EQ(manager.GetImageCount(), 0);
    EXPECT_FALSE(manager.RemoveImage(QStringLiteral("skin\\ui\\DefaultGameIcon.png")));
}

TEST(Window, AMenuFromALayoutReportsTheChosenEntrysName)
{
    CMenuWnd menu(QStringLiteral("skin\\xmls\\TrayMenu.xml"));
    ASSERT_TRUE(menu.Init(0, QPoint(100, 100)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu.GetWidget()));
    CControlUI* exit = menu.GetPaintManager().FindControl(QStringLiteral("Menu_Exit"));
    ASSERT_TRUE(exit);
    EXPECT_EQ(exit->GetText(), "退出");
    QTest::mouseClick(menu.GetWidget(), Qt::LeftButton, {}, exit->GetPos().center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu.GetHWND() == 0; }, 2000));
    EXPECT_EQ(menu.GetChosen(), "Menu_Exit");

    CMenuWnd dismissed(QStringLiteral("skin\\xmls\\TrayMenu.xml"));
    ASSERT_TRUE(dismissed.Init(0, QPoint(100, 100)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dismissed.GetWidget()));
    QTest::keyClick(dismissed.GetWidget(), Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dismissed.GetHWND() == 0; }, 2000));
    EXPECT_EQ(dismissed.GetChosen(), "");
}

TEST(Window, WithoutANotificationAreaHidingToTheTrayMinimises)
{
    if (CTrayIcon::IsTrayAvailable())
        GTEST_SKIP() << "this desktop has a notification area";
    TestWindow window(kTwoButtons);
    ASSERT_TRUE(window.Open());
    CTrayIcon tray;
    EXPECT_FALSE(tray.CreateTrayIcon(window.GetHWND(), QIcon(), QStringLiteral("Ravelo")));
    EXPECT_FALSE(tray.IsVisible());
    tray.HideWindowToTray(window);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.IsMinimized(); }, 2000));
    EXPECT_NE(window.GetHWND(), 0u); // still there to come back to
}

TEST(Window, DialogsCanBeAnsweredInPlaceOfAPerson)
{
    std::vector<MessageBoxRequest> asked;
    SetMessageBoxHandler([&](const MessageBoxRequest& request) {
        asked.push_back(request);
        return IDYES;
    });
    EXPECT_EQ(MessageBox(0, QStringLiteral("有下载任务进行中是否退出"), QStringLiteral("提示"), MB_YESNO),
              IDYES);
    SetMessageBoxHandler(nullptr);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].caption, "提示");
    EXPECT_EQ(asked[0].type, MB_YESNO);

    SetFolderDialogHandler([](ravelo::WindowHandle, const QString& title) {
        return title == QStringLiteral("游戏下载目录") ? QStringLiteral("/games") : QString();
    });
    EXPECT_EQ(BrowseForFolder(0, QStringLiteral("游戏下载目录")), "/games");
    SetFolderDialogHandler(nullptr);
}

TEST(Window, ChildWindowsLiveInsideTheirParentAndDieWithIt)
{
    auto parent = std::make_unique<HandlerWindow>(kTwoButtons);
    ASSERT_TRUE(parent->Open());
    HandlerWindow child(Layout(QStringLiteral("<VerticalLayout bkcolor=\"#FFFFFFFF\" />")));
    ASSERT_NE(
        child.Create(parent->GetHWND(), QStringLiteral("page"), UI_WNDSTYLE_CHILD, 0, QRect(10, 10, 100, 80)),
        0u);
    EXPECT_EQ(child.GetWidget()->parentWidget(), parent->GetWidget());
    EXPECT_EQ(child.GetWidget()->geometry(), QRect(10, 10, 100, 80));
    parent.reset();
    EXPECT_EQ(child.GetHWND(), 0u);
    EXPECT_EQ(child.finals, 1);
}

TEST(Window, CentringPutsTheWindowInTheMiddleOfTheScreen)
{
    TestWindow window(kTwoButtons);
    ASSERT_TRUE(window.Open(300, 200));
    window.CenterWindow();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint centre = window.GetWidget()->frameGeometry().center();
    EXPECT_LE(std::abs(centre.x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(centre.y() - screen.center().y()), 1);
}

TEST(Window, TheRightEdgePositionKeepsTheWindowInsideTheAvailableArea)
{
    // A second screen to the right, its panel taking the top 30 pixels.
    const QRect area(1920, 30, 1280, 994);
    EXPECT_EQ(RightEdgePosition(QSize(300, 200), area, RightEdgeAnchor::Centre),
              QPoint(1920 + 1280 - 300, 30 + (994 - 200) / 2));
    EXPECT_EQ(RightEdgePosition(QSize(300, 200), area, RightEdgeAnchor::Bottom, 12),
              QPoint(1920 + 1280 - 300 - 12, 30 + 994 - 200 - 12));
    EXPECT_EQ(RightEdgePosition(QSize(300, 200), area, RightEdgeAnchor::Bottom, -5),
              QPoint(1920 + 1280 - 300, 30 + 994 - 200)); // no negative margins
    // Larger than the area: the top-left corner stays on the screen.
    EXPECT_EQ(RightEdgePosition(QSize(1500, 1200), area, RightEdgeAnchor::Centre), QPoint(1920, 30));
    EXPECT_EQ(RightEdgePosition(QSize(1500, 1200), area, RightEdgeAnchor::Bottom, 8), QPoint(1920, 30));
}

TEST(Window, ANoticeShowsAtTheRightEdgeWithoutTakingTheFocus)
{
    TestWindow main(kTwoButtons);
    ASSERT_TRUE(main.Open());
    main.Activate();
    if (!QTest::qWaitForWindowActive(main.GetWidget()))
        GTEST_SKIP() << "this platform does not activate windows";

    TestWindow notice(Layout(QStringLiteral("<VerticalLayout bkcolor=\"#FFFFFFFF\" />")));
    ASSERT_NE(notice.Create(main.GetHWND(), QStringLiteral("notice"), WS_POPUP, 0, 0, 0, 260, 120), 0u);
    notice.PlaceAtScreenRightEdge(RightEdgeAnchor::Bottom, 16);
    notice.ShowNoActivate();
    QWidget* widget = notice.GetWidget();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(widget));
    // Platforms that activate every window they show (the offscreen one does) get the focus handed
    // straight back; the others never move it.
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == main.GetWidget(); }, 3000));
    EXPECT_FALSE(widget->hasFocus());
    EXPECT_TRUE(widget->isVisible());
    const Qt::WindowFlags flags = widget->windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool); // no taskbar entry
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(flags & Qt::WindowDoesNotAcceptFocus);
    const QRect available = widget->screen()->availableGeometry();
    EXPECT_EQ(widget->frameGeometry().right(), available.right() - 16);
    EXPECT_EQ(widget->frameGeometry().bottom(), available.bottom() - 16);

    // An ordinary window does take the focus here, so the check above means something.
    TestWindow other(kTwoButtons);
    ASSERT_TRUE(other.Open());
    other.Activate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(other.GetWidget()));

    // Created as a window that never activates, it shows the same way from the start.
    TestWindow created(Layout(QStringLiteral("<VerticalLayout bkcolor=\"#FFFFFFFF\" />")));
    ASSERT_NE(created.Create(0, QStringLiteral("notice"), WS_POPUP | WS_VISIBLE,
                             WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, 0, 0, 200, 100),
              0u);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(created.GetWidget()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == other.GetWidget(); }, 3000));
    EXPECT_TRUE(created.GetWidget()->windowFlags() & Qt::WindowDoesNotAcceptFocus);
}
