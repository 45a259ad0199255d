#include "gui/shell/PromptBroker.h"

#include "platform/StartThread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace ravelo;

namespace {

/// A question that stays on screen the way a modal dialog does: its own event loop, until answered or
/// closed through the broker.
class FakeDialog
{
public:
    int Show(PromptBroker& broker, int answer, std::atomic<int>& showing, std::atomic<int>& most)
    {
        const int now = ++showing;
        most = std::max(most.load(), now);
        QEventLoop loop;
        int result = answer;
        broker.SetCloser([&] {
            result = -1;
            loop.quit();
        });
        QTimer::singleShot(30, &loop, &QEventLoop::quit);
        loop.exec();
        --showing;
        return result;
    }
};

} // namespace

TEST(PromptBroker, QuestionsFromSeveralWorkersAreShownOneAfterAnother)
{
    PromptBroker broker(QCoreApplication::instance());
    std::atomic<int> showing{0}, most{0};
    std::vector<int> answers(4, 0);
    std::vector<std::thread> workers;
    for (int i = 0; i < 4; ++i)
        workers.push_back(StartThread([&, i] {
            answers[i] = broker.Ask<int>(
                [&, i](PromptBroker& b) { return FakeDialog().Show(b, 10 + i, showing, most); }, -1);
        }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return answers[0] && answers[1] && answers[2] && answers[3]; }, 10000));
    for (std::thread& worker : workers)
        worker.join();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(answers[i], 10 + i);
    EXPECT_EQ(most.load(), 1); // never two dialogs at once
}

TEST(PromptBroker, ShuttingDownAnswersClosedToTheShownTheWaitingAndLaterQuestions)
{
    PromptBroker broker(QCoreApplication::instance());
    std::atomic<int> showing{0}, most{0};
    std::atomic<int> first{0}, second{0};
    std::thread b;
    // While the first question's loop runs, only the event loop runs test code: a second question
    // is asked, and once it waits the broker is shut down.
    QTimer step;
    QObject::connect(&step, &QTimer::timeout, [&] {
        if (!b.joinable())
            b = StartThread([&] {
                second = broker.Ask<int>(
                    [&](PromptBroker& p) { return FakeDialog().Show(p, 5, showing, most); }, -2);
            });
        else if (broker.Waiting() == 1)
            broker.Shutdown();
    });
    std::thread a = StartThread([&] {
        first = broker.Ask<int>(
            [&](PromptBroker& p) {
                QEventLoop loop;
                int result = 1;
                p.SetCloser([&] {
                    result = -1;
                    loop.quit();
                });
                step.start(10);
                loop.exec(); // answered only by the shutdown
                step.stop();
                return result;
            },
            -2);
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return first != 0 && second != 0; }, 5000));
    a.join();
    b.join();
    EXPECT_EQ(first.load(), -1);  // its dialog was closed
    EXPECT_EQ(second.load(), -2); // never shown: the closed answer
    EXPECT_EQ(most.load(), 0);
    EXPECT_EQ(broker.Ask<int>([](PromptBroker&) { return 7; }, -2), -2);
}
