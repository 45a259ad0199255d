// Posting to windows from other threads: messages arrive on the UI thread in order, the receiver
// owns the payload, and a window that goes away takes its queued payloads with it. This file is also
// built with AddressSanitizer (uilib_message_asan_test), where a leak or double free fails the run.

#include "uilib/CWindowWnd.h"

#include "platform/Messages.h"

#include <QCoreApplication>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <random>
#include <thread>
#include <vector>

using namespace UiLib;
using ravelo::Message;
using ravelo::WindowHandle;

namespace {

constexpr std::uint32_t kPing = ravelo::WM_USER + 1;
constexpr std::uint32_t kCloseMe = ravelo::WM_USER + 2;

/// Counts every payload made and destroyed, so a test can tell that each was destroyed once.
struct Counted
{
    static std::atomic<int> made;
    static std::atomic<int> destroyed;
    explicit Counted(int v) : value(v) { ++made; }
    ~Counted() { ++destroyed; }
    Counted(const Counted&) = delete;
    Counted& operator=(const Counted&) = delete;
    int value;
};
std::atomic<int> Counted::made{0};
std::atomic<int> Counted::destroyed{0};

class PlainWindow : public CWindowWnd
{
public:
    std::vector<int> received;
    std::vector<bool> onUiThread;
    int finals = 0;
    int destroyMessages = 0;
    bool keepPayloads = false;
    std::vector<std::unique_ptr<Counted>> kept;

protected:
    QString GetWindowClassName() const override { return QStringLiteral("PlainWindow"); }
    LRESULT HandleMessage(Message& message, bool& handled) override
    {
        if (message.id == WM_DESTROY)
            ++destroyMessages;
        if (message.id == kPing) {
            handled = true;
            onUiThread.push_back(QThread::currentThread() == QCoreApplication::instance()->thread());
            std::unique_ptr<Counted> payload = message.TakePayload<Counted>();
            received.push_back(payload ? payload->value : -1);
            if (keepPayloads)
                kept.push_back(std::move(payload));
            return 1;
        }
        if (message.id == kCloseMe) {
            handled = true;
            Close(static_cast<int>(message.wParam));
        }
        return 0;
    }
    void OnFinalMessage(WindowHandle) override { ++finals; }
};

class MessagePosting : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Counted::made = 0;
        Counted::destroyed = 0;
    }
    static bool Post(WindowHandle handle, int value)
    {
        return ravelo::PostMessage(handle, kPing, 0, std::make_unique<Counted>(value));
    }
};

} // namespace

TEST_F(MessagePosting, WorkerPostsArriveInOrderOnTheUiThreadAndTheWindowOwnsThePayload)
{
    PlainWindow window;
    ASSERT_NE(window.Create(0, QStringLiteral("plain"), WS_POPUP, 0, 0, 0, 10, 10), 0u);
    window.keepPayloads = true;
    const WindowHandle handle = window.GetHWND();
    std::thread worker([handle] {
        for (int i = 0; i < 200; ++i)
            ASSERT_TRUE(Post(handle, i));
    });
    worker.join();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.received.size() == 200; }, 5000));
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(window.received[static_cast<std::size_t>(i)], i);
    for (bool ui : window.onUiThread)
        EXPECT_TRUE(ui);
    // The window took the payloads: none was destroyed behind its back.
    EXPECT_EQ(Counted::destroyed.load(), 0);
    window.kept.clear();
    EXPECT_EQ(Counted::destroyed.load(), 200);
}

TEST_F(MessagePosting, PostingToAClosedWindowFailsAndDestroysThePayload)
{
    PlainWindow window;
    ASSERT_NE(window.Create(0, QStringLiteral("plain"), WS_POPUP, 0, 0, 0, 10, 10), 0u);
    const WindowHandle handle = window.GetHWND();
    window.Close(IDOK);
    EXPECT_EQ(window.GetHWND(), 0u);
    EXPECT_EQ(window.finals, 1);
    EXPECT_EQ(window.destroyMessages, 1);
    EXPECT_FALSE(Post(handle, 7));
    EXPECT_EQ(Counted::made.load(), 1);
    EXPECT_EQ(Counted::destroyed.load(), 1);
    EXPECT_FALSE(ravelo::PostMessage(0, kPing, 0, std::make_unique<Counted>(8)));
    EXPECT_EQ(Counted::destroyed.load(), 2);
}

TEST_F(MessagePosting, QueuedPayloadsDieWithTheWindow)
{
    auto window = std::make_unique<PlainWindow>();
    ASSERT_NE(window->Create(0, QStringLiteral("plain"), WS_POPUP, 0, 0, 0, 10, 10), 0u);
    // Queued but never handled: the window goes first.
    for (int i = 0; i < 50; ++i)
        ASSERT_TRUE(Post(window->GetHWND(), i));
    window.reset();
    EXPECT_EQ(Counted::made.load(), 50);
    EXPECT_EQ(Counted::destroyed.load(), 50);
    QCoreApplication::processEvents();
    EXPECT_EQ(Counted::destroyed.load(), 50);
}

TEST_F(MessagePosting, AWindowClosingItselfInAHandlerDropsTheRestOfItsQueue)
{
    PlainWindow window;
    ASSERT_NE(window.Create(0, QStringLiteral("plain"), WS_POPUP, 0, 0, 0, 10, 10), 0u);
    const WindowHandle handle = window.GetHWND();
    ASSERT_TRUE(Post(handle, 1));
    ASSERT_TRUE(ravelo::PostMessage(handle, kCloseMe, 42));
    for (int i = 2; i < 10; ++i)
        ASSERT_TRUE(Post(handle, i));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.finals == 1; }, 5000));
    EXPECT_EQ(window.received, std::vector<int>{1});
    EXPECT_EQ(Counted::made.load(), 9);
    EXPECT_EQ(Counted::destroyed.load(), 9);
}

TEST_F(MessagePosting, ShowModalReturnsTheCloseCodeOnlyAfterTheWindowIsGone)
{
    PlainWindow window;
    ASSERT_NE(window.Create(0, QStringLiteral("plain"), WS_POPUP, 0, 0, 0, 10, 10), 0u);
    std::thread worker([handle = window.GetHWND()] { ravelo::PostMessage(handle, kCloseMe, 886); });
    const int code = window.ShowModal();
    worker.join();
    EXPECT_EQ(code, 886);
    EXPECT_EQ(window.finals, 1);
    EXPECT_EQ(window.GetHWND(), 0u);
    EXPECT_EQ(window.GetWidget(), nullptr);
}

TEST_F(MessagePosting, SendMessageRunsOnlyOnTheUiThread)
{
    PlainWindow window;
    ASSERT_NE(window.Create(0, QStringLiteral("plain"), WS_POPUP, 0, 0, 0, 10, 10), 0u);
    window.keepPayloads = true;
    EXPECT_EQ(
        UiLib::SendMessage(window.GetHWND(), kPing, 0,
                           std::make_unique<ravelo::TypedPayload<Counted>>(std::make_unique<Counted>(5))),
        1);
    EXPECT_EQ(window.received, std::vector<int>{5});
    LRESULT fromWorker = -1;
    std::thread worker([&] {
        fromWorker =
            UiLib::SendMessage(window.GetHWND(), kPing, 0,
                               std::make_unique<ravelo::TypedPayload<Counted>>(std::make_unique<Counted>(6)));
    });
    worker.join();
    EXPECT_EQ(fromWorker, 0);
    EXPECT_EQ(window.received, std::vector<int>{5});
    EXPECT_EQ(Counted::destroyed.load(), 1); // the refused one
}

TEST_F(MessagePosting, WindowsDyingWhileWorkersPostLoseNothingAndFreeNothingTwice)
{
    constexpr int kWindows = 24;
    std::vector<std::unique_ptr<PlainWindow>> windows;
    std::vector<WindowHandle> handles;
    for (int i = 0; i < kWindows; ++i) {
        windows.push_back(std::make_unique<PlainWindow>());
        ASSERT_NE(windows.back()->Create(0, QStringLiteral("plain"), WS_POPUP, 0, 0, 0, 10, 10), 0u);
        handles.push_back(windows.back()->GetHWND());
    }
    std::atomic<bool> stop{false};
    std::atomic<int> delivered{0};
    std::vector<std::thread> workers;
    for (int w = 0; w < 3; ++w) {
        workers.emplace_back([&, w] {
            std::mt19937 random(static_cast<unsigned>(w + 1));
            int value = 0;
            while (!stop.load()) {
                const WindowHandle target = handles[random() % handles.size()];
                if (Post(target, value++))
                    ++delivered;
            }
        });
    }
    // Destroy the windows one by one while the posts keep coming: some through Close from a
    // handler, some by deleting the object, some with events still queued.
    std::mt19937 random(7);
    for (int i = 0; i < kWindows; ++i) {
        QTest::qWait(2);
        PlainWindow* window = windows[static_cast<std::size_t>(i)].get();
        if (i % 3 == 0)
            ravelo::PostMessage(window->GetHWND(), kCloseMe, 1);
        else if (i % 3 == 1)
            window->Close(2);
        else
            windows[static_cast<std::size_t>(i)].reset();
        QCoreApplication::processEvents();
    }
    stop = true;
    for (std::thread& worker : workers)
        worker.join();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            for (const auto& window : windows) {
                if (window && window->GetHWND() != 0)
                    return false;
            }
            return true;
        },
        5000));
    windows.clear();
    QCoreApplication::processEvents();
    EXPECT_GT(delivered.load(), 0);
    EXPECT_EQ(Counted::made.load(), Counted::destroyed.load());
}
