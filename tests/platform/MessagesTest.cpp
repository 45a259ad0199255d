#include "platform/MessageQueue.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

using namespace ravelo;
using namespace std::chrono_literals;

namespace {

// Counts live payloads so that a test can see that none leaked and none was freed twice.
struct Counted
{
    static inline std::atomic<int> live{0};
    int value;
    explicit Counted(int v) : value(v) { ++live; }
    ~Counted() { --live; }
};

} // namespace

TEST(Messages, ReceiverOwnsThePayload)
{
    MessageQueue queue;
    ASSERT_TRUE(PostMessage(queue.Handle(), WM_USER + 125, 3, std::make_unique<Counted>(42)));
    auto message = queue.WaitFor(WM_USER + 125, 1s);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->wParam, 3u);
    auto payload = message->TakePayload<Counted>();
    ASSERT_TRUE(payload);
    EXPECT_EQ(payload->value, 42);
    EXPECT_FALSE(message->TakePayload<std::string>()); // wrong type, or already taken
}

TEST(Messages, PostingToAGoneReceiverFailsAndDestroysThePayload)
{
    WindowHandle stale = 0;
    {
        MessageQueue queue;
        stale = queue.Handle();
    }
    const int before = Counted::live;
    EXPECT_FALSE(PostMessage(stale, WM_USER, 0, std::make_unique<Counted>(1)));
    EXPECT_EQ(Counted::live, before);
    EXPECT_FALSE(PostMessage(0, WM_USER));
}

TEST(Messages, ReceiversDyingWhileWorkersPostLeakNothing)
{
    std::atomic<bool> stop{false};
    std::atomic<WindowHandle> target{0};
    std::vector<std::thread> workers;
    for (int w = 0; w < 4; ++w)
        workers.emplace_back([&] {
            while (!stop)
                PostMessage(target.load(), WM_USER + 1, 0, std::make_unique<Counted>(0));
        });
    for (int round = 0; round < 200; ++round) {
        MessageQueue queue;
        target = queue.Handle();
        std::this_thread::sleep_for(100us);
    } // each queue dies with messages still queued and posts in flight
    stop = true;
    for (auto& w : workers)
        w.join();
    EXPECT_EQ(Counted::live, 0);
}

TEST(Messages, WaitTimesOutWhenNothingArrives)
{
    MessageQueue queue;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(queue.Wait(30ms));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 30ms);
}
