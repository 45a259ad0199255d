// When windows go away: a window deleting itself in its final hook, an owner closing under a modal
// dialog, a close requested from inside an event. Built into the AddressSanitizer run as well.

#include "uilib/CWindowWnd.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace UiLib;
using ravelo::Message;
using ravelo::WindowHandle;

namespace {

constexpr std::uint32_t kCloseMe = ravelo::WM_USER + 10;

class SelfDeletingWindow : public CWindowWnd
{
public:
    explicit SelfDeletingWindow(bool* deleted) : m_deleted(deleted) {}
    ~SelfDeletingWindow() override { *m_deleted = true; }
    bool closeOnCreate = false;

protected:
    QString GetWindowClassName() const override { return QStringLiteral("SelfDeleting"); }
    LRESULT HandleMessage(Message& message, bool& handled) override
    {
        if (message.id == kCloseMe) {
            handled = true;
            Close(static_cast<int>(message.wParam));
        }
        return 0;
    }
    bool OnCreate() override
    {
        if (closeOnCreate)
            Close(IDCANCEL);
        return true;
    }
    void OnFinalMessage(WindowHandle) override { delete this; }

private:
    bool* m_deleted;
};

class Counting : public CWindowWnd
{
public:
    int finals = 0;

protected:
    QString GetWindowClassName() const override { return QStringLiteral("Counting"); }
    void OnFinalMessage(WindowHandle) override { ++finals; }
};

/// Runs a callback when it gets kCloseMe.
class Relay : public Counting
{
public:
    std::function<void()> onMessage;

protected:
    LRESULT HandleMessage(Message& message, bool& handled) override
    {
        if (message.id == kCloseMe && onMessage) {
            handled = true;
            onMessage();
        }
        return 0;
    }
};

} // namespace

TEST(WindowLifetime, AWindowDeletingItselfInItsFinalHookStillGivesItsModalResult)
{
    bool deleted = false;
    auto* window = new SelfDeletingWindow(&deleted);
    ASSERT_NE(window->Create(0, QStringLiteral("self"), WS_POPUP, 0, 0, 0, 20, 20), 0u);
    ravelo::PostMessage(window->GetHWND(), kCloseMe, 7);
    EXPECT_EQ(window->ShowModal(), 7);
    EXPECT_TRUE(deleted);
}

TEST(WindowLifetime, ClosingTheOwnerEndsItsModalDialog)
{
    auto owner = std::make_unique<Counting>();
    ASSERT_NE(owner->Create(0, QStringLiteral("owner"), WS_POPUP | WS_VISIBLE, 0, 0, 0, 200, 200), 0u);
    Counting dialog;
    ASSERT_NE(dialog.Create(owner->GetHWND(), QStringLiteral("dialog"), WS_POPUP, 0, 0, 0, 50, 50), 0u);
    EXPECT_EQ(dialog.GetParentHWND(), owner->GetHWND());
    QTimer::singleShot(0, [&] { owner->Close(1); });
    EXPECT_EQ(dialog.ShowModal(), IDCANCEL); // the dialog went with its owner; nobody chose a code
    EXPECT_EQ(dialog.finals, 1);
    EXPECT_EQ(owner->finals, 1);
    EXPECT_EQ(dialog.GetHWND(), 0u);
}

TEST(WindowLifetime, AnOwnerClosedFromItsChildsHandlerWaitsUntilTheHandlerReturns)
{
    Counting owner;
    ASSERT_NE(owner.Create(0, QStringLiteral("owner"), WS_POPUP | WS_VISIBLE, 0, 0, 0, 200, 200), 0u);
    Relay child;
    ASSERT_NE(child.Create(owner.GetHWND(), QStringLiteral("child"), WS_CHILD | WS_VISIBLE, 0, 0, 0, 50, 50),
              0u);
    bool stillThereInHandler = false;
    child.onMessage = [&] {
        owner.Close(3);
        // The child's event is still running: neither window may go yet.
        stillThereInHandler = owner.GetWidget() != nullptr && child.GetWidget() != nullptr;
    };
    ASSERT_TRUE(ravelo::PostMessage(child.GetHWND(), kCloseMe));
    ASSERT_TRUE(QTest::qWaitFor([&] { return owner.GetHWND() == 0; }, 2000));
    EXPECT_TRUE(stillThereInHandler);
    EXPECT_EQ(owner.finals, 1);
    EXPECT_EQ(child.finals, 1);
}

TEST(WindowLifetime, DeletingTheObjectDestroysTheWindowWithoutTheFinalHook)
{
    auto window = std::make_unique<Counting>();
    ASSERT_NE(window->Create(0, QStringLiteral("plain"), WS_POPUP | WS_VISIBLE, 0, 0, 0, 20, 20), 0u);
    const WindowHandle handle = window->GetHWND();
    QPointer<QWidget> widget = window->GetWidget();
    window.reset();
    EXPECT_TRUE(widget.isNull());
    EXPECT_EQ(CWindowWnd::FromHandle(handle), nullptr);
    EXPECT_FALSE(ravelo::PostMessage(handle, kCloseMe));
}

TEST(WindowLifetime, AWindowClosedWhileBeingCreatedIsNotCreated)
{
    bool deleted = false;
    auto* window = new SelfDeletingWindow(&deleted);
    window->closeOnCreate = true;
    EXPECT_EQ(window->Create(0, QStringLiteral("self"), WS_POPUP | WS_VISIBLE, 0, 0, 0, 20, 20), 0u);
    EXPECT_TRUE(deleted); // its final hook ran once Create was done with it
}
