// The picture queue against a real HTTP server on 127.0.0.1 and a real cache folder: one download per
// picture, the limit on downloads at once, newest first, cancellation, the cache, unsafe addresses,
// answers that must not be cached, many threads at once, and shutdown.
#include "service/PictureQueue.h"
#include "platform/MessageQueue.h"
#include "service/PictureCachePath.h"
#include "support/FileText.h"
#include "support/LoopbackHttpServer.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <thread>

using namespace ravelo;
using ravelo::test::LoopbackHttpServer;
using ravelo::test::ReadText;
using ravelo::test::TempFolder;
using ravelo::test::WriteText;
using namespace std::chrono_literals;

namespace {

/// A picture the server hands out: a PNG signature and the path it was asked for.
std::string PictureBody(const std::string& path)
{
    return std::string("\x89PNG\r\n\x1A\n", 8) + path;
}

/// Holds the handlers of slow pictures until opened; a guard time-out keeps a broken test from hanging.
class Gate
{
public:
    void Pass()
    {
        std::unique_lock lock(m_lock);
        m_changed.wait_for(lock, 20s, [&] { return m_open; });
    }
    void Open()
    {
        {
            std::lock_guard guard(m_lock);
            m_open = true;
        }
        m_changed.notify_all();
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_open = false;
};

/// The image cache one level inside a temporary folder, so that a path escaping it would still land in
/// the test's own folder, where the test can look for it.
class CacheFolder
{
public:
    CacheFolder() { std::filesystem::create_directories(Path()); }
    std::string Path() const { return m_home / "cache/image/"; }
    std::string operator/(const std::string& name) const { return Path() + name; }

private:
    TempFolder m_home;
};

class PictureQueueTest : public testing::Test
{
protected:
    void SetUp() override
    {
        server.Get(R"(/+pic/.*)", [](const httplib::Request& req, httplib::Response& res) {
            res.set_content(PictureBody(req.path), "image/png");
        });
        // Slow pictures count how many are being served at once.
        server.Get(R"(/slow/.*)", [this](const httplib::Request& req, httplib::Response& res) {
            const int now = ++inFlight;
            int seen = peak.load();
            while (now > seen && !peak.compare_exchange_weak(seen, now)) {
            }
            gate.Pass();
            --inFlight;
            res.set_content(PictureBody(req.path), "image/png");
        });
        server.Get("/missing.png", [](const httplib::Request&, httplib::Response& res) {
            res.status = 404;
            res.set_content(PictureBody("404 page dressed as a picture"), "image/png");
        });
        server.Get("/page.png", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("<html><body>moved</body></html>", "text/html");
        });
        server.Get("/big.png", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(PictureBody(std::string(kLimit, 'x')), "image/png");
        });
        server.Get("/bigchunked.png", [](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider("image/png", [](std::size_t offset, httplib::DataSink& sink) {
                if (offset >= 4 * kLimit) {
                    sink.done();
                    return true;
                }
                const std::string block =
                    offset == 0 ? PictureBody(std::string(500, 'c')) : std::string(508, 'c');
                sink.write(block.data(), block.size());
                return true;
            });
        });
        server.Get("/broken.png", [](const httplib::Request&, httplib::Response& res) {
            // Promises 1000 bytes, sends a picture's first ten and drops the connection.
            res.set_content_provider(1000, "image/png",
                                     [](std::size_t, std::size_t, httplib::DataSink& sink) {
                                         const std::string start = PictureBody("ab");
                                         sink.write(start.data(), start.size());
                                         return false;
                                     });
        });
        server.Start();
    }

    void TearDown() override
    {
        gate.Open();
        queue.reset();
        server.Stop();
    }

    PictureQueue& MakeQueue(int maxRunning = 10, std::function<bool(const std::string&)> validator = {})
    {
        PictureQueue::Options options;
        options.cacheFolder = cache.Path();
        options.pictureHost = server.BaseUrl();
        options.maxRunning = maxRunning;
        options.validator = std::move(validator);
        options.maxBytes = kLimit;
        queue = std::make_unique<PictureQueue>(std::move(options));
        return *queue;
    }

    /// Waits for count results to window (fewer when they do not come within a few seconds).
    static std::vector<PictureResult> Receive(MessageQueue& window, std::size_t count)
    {
        std::vector<PictureResult> results;
        while (results.size() < count) {
            auto message = window.WaitFor(UM_PICTURE_READY, 10s);
            if (!message)
                break;
            EXPECT_EQ(message->wParam, 0u);
            auto result = message->TakePayload<PictureResult>();
            EXPECT_TRUE(result);
            if (result)
                results.push_back(*result);
        }
        return results;
    }

    std::size_t Fetches(const std::string& path) const
    {
        const auto all = server.Requests();
        return std::count_if(all.begin(), all.end(), [&](const auto& r) { return r.path == path; });
    }

    std::vector<std::string> FetchOrder() const
    {
        std::vector<std::string> order;
        for (const auto& request : server.Requests())
            order.push_back(request.path);
        return order;
    }

    /// Every regular file under the cache folder, relative to it.
    std::set<std::string> CachedFiles() const
    {
        std::set<std::string> files;
        for (const auto& item : std::filesystem::recursive_directory_iterator(cache.Path()))
            if (item.is_regular_file())
                files.insert(std::filesystem::relative(item.path(), cache.Path()).generic_string());
        return files;
    }

    static constexpr std::size_t kLimit = 1024;

    LoopbackHttpServer server;
    CacheFolder cache;
    Gate gate;
    std::atomic<int> inFlight{0};
    std::atomic<int> peak{0};
    std::unique_ptr<PictureQueue> queue;
};

} // namespace

TEST_F(PictureQueueTest, TwentyRequestsForOnePictureMakeOneDownloadAndTwentyResults)
{
    PictureQueue& pictures = MakeQueue();
    MessageQueue page;
    MessageQueue detail;
    for (std::uint64_t id = 1; id <= 15; ++id)
        pictures.Request(page.Handle(), id, "/slow/icon/7.png");
    for (std::uint64_t id = 16; id <= 20; ++id)
        pictures.Request(detail.Handle(), id, "/slow/icon/7.png");
    ASSERT_TRUE(server.WaitForRequests(1));
    gate.Open();

    const auto onPage = Receive(page, 15);
    const auto onDetail = Receive(detail, 5);
    ASSERT_EQ(onPage.size(), 15u);
    ASSERT_EQ(onDetail.size(), 5u);
    ASSERT_TRUE(pictures.WaitUntilIdle(10s));
    EXPECT_EQ(Fetches("/slow/icon/7.png"), 1u);

    const std::string file = cache / "slow/icon/7.png";
    std::set<std::uint64_t> ids;
    for (const auto& result : onPage) {
        ids.insert(result.requestId);
        EXPECT_EQ(result.localPath, file);
        EXPECT_FALSE(result.failed);
    }
    for (const auto& result : onDetail)
        ids.insert(result.requestId);
    EXPECT_EQ(ids.size(), 20u);
    // Results of one picture go out in the order they were asked for.
    EXPECT_EQ(onPage.front().requestId, 1u);
    EXPECT_EQ(onPage.back().requestId, 15u);
    EXPECT_EQ(ReadText(file), PictureBody("/slow/icon/7.png"));
    EXPECT_EQ(CachedFiles(), std::set<std::string>{"slow/icon/7.png"});

    // Later requests are served from the cache, without the network.
    pictures.Request(page.Handle(), 21, "/slow/icon/7.png");
    const auto again = Receive(page, 1);
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].localPath, file);
    EXPECT_EQ(Fetches("/slow/icon/7.png"), 1u);
}

TEST_F(PictureQueueTest, ACachedFileIsUsedAsItIsAndAnEmptyOneIsFetchedAgain)
{
    std::filesystem::create_directories(cache / "pic/icon");
    WriteText(cache / "pic/icon/1.png", "kept");
    WriteText(cache / "pic/icon/2.png", "");

    PictureQueue& pictures = MakeQueue();
    MessageQueue page;
    pictures.Request(page.Handle(), 1, "/pic/icon/1.png");
    pictures.Request(page.Handle(), 2, "/pic/icon/2.png");
    auto results = Receive(page, 2);
    ASSERT_EQ(results.size(), 2u);
    std::sort(results.begin(), results.end(), [](auto& a, auto& b) { return a.requestId < b.requestId; });

    EXPECT_EQ(results[0].localPath, cache / "pic/icon/1.png");
    EXPECT_FALSE(results[0].failed);
    EXPECT_EQ(ReadText(cache / "pic/icon/1.png"), "kept");
    EXPECT_EQ(Fetches("/pic/icon/1.png"), 0u);

    EXPECT_EQ(results[1].localPath, cache / "pic/icon/2.png");
    EXPECT_FALSE(results[1].failed);
    EXPECT_EQ(ReadText(cache / "pic/icon/2.png"), PictureBody("/pic/icon/2.png"));
    EXPECT_EQ(Fetches("/pic/icon/2.png"), 1u);
}

TEST_F(PictureQueueTest, UnsafeAddressesGiveTheDefaultIconAtOnceWithoutFetching)
{
    PictureQueue& pictures = MakeQueue();
    MessageQueue page;
    const std::vector<std::string> unsafe = {
        "/../x",
        "\\..\\x",
        "/a/./b",
        "/pic/" + std::string(129, 'n') + ".png",
        "/pic/a\x01.png",
        "/pic/",
        "ftp://127.0.0.1/pic/a.png",
        "file:///etc/passwd",
        "http://127.0.0.1:1/../x.png",
    };
    for (std::size_t i = 0; i < unsafe.size(); ++i)
        pictures.Request(page.Handle(), i, unsafe[i]);
    // Answered on the asking thread: every result is there before Request returns.
    ASSERT_EQ(page.Pending(), unsafe.size());
    const auto results = Receive(page, unsafe.size());
    ASSERT_EQ(results.size(), unsafe.size());
    for (std::size_t i = 0; i < results.size(); ++i) {
        EXPECT_EQ(results[i].requestId, i);
        EXPECT_EQ(results[i].localPath, kDefaultGameIcon);
        EXPECT_TRUE(results[i].failed);
    }
    EXPECT_TRUE(server.Requests().empty());
    EXPECT_TRUE(CachedFiles().empty());
    EXPECT_FALSE(std::filesystem::exists(cache.Path() + "../x"));
    EXPECT_FALSE(std::filesystem::exists(cache.Path() + "a"));

    // Doubled separators only: fetched as given, cached at a/b.png.
    pictures.Request(page.Handle(), 100, "//pic//b.png");
    const auto doubled = Receive(page, 1);
    ASSERT_EQ(doubled.size(), 1u);
    EXPECT_FALSE(doubled[0].failed);
    EXPECT_EQ(doubled[0].localPath, cache / "pic/b.png");
    EXPECT_EQ(ReadText(cache / "pic/b.png"), PictureBody("//pic//b.png"));
}

TEST_F(PictureQueueTest, AbsoluteAddressesAreFetchedAsTheyAreAndCachedByTheirPath)
{
    LoopbackHttpServer elsewhere;
    elsewhere.Get("/cdn/shot.png", [](const httplib::Request& req, httplib::Response& res) {
        res.set_content(PictureBody("cdn " + req.get_param_value("v")), "image/png");
    });
    elsewhere.Start();

    PictureQueue& pictures = MakeQueue();
    MessageQueue page;
    pictures.Request(page.Handle(), 1, elsewhere.Url("/cdn/shot.png?v=2"));
    const auto results = Receive(page, 1);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_FALSE(results[0].failed);
    EXPECT_EQ(results[0].localPath, cache / "cdn/shot.png");
    EXPECT_EQ(ReadText(cache / "cdn/shot.png"), PictureBody("cdn 2"));
    EXPECT_TRUE(server.Requests().empty());
    ASSERT_EQ(elsewhere.Requests().size(), 1u);
    EXPECT_EQ(elsewhere.Requests()[0].target, "/cdn/shot.png?v=2");
}

TEST_F(PictureQueueTest, AnswersThatAreNotGoodPicturesAreNeverCached)
{
    PictureQueue& pictures = MakeQueue();
    MessageQueue page;
    const std::vector<std::string> bad = {
        "/missing.png",        // an error status, whatever its body
        "/page.png",           // not a picture
        "/big.png",            // over the size limit, length declared
        "/bigchunked.png",     // over the size limit, found while reading
        "/broken.png",         // the connection breaks mid-answer
        "/absent/nothing.png", // no such path on the server
    };
    for (std::size_t i = 0; i < bad.size(); ++i)
        pictures.Request(page.Handle(), i, bad[i]);
    const auto results = Receive(page, bad.size());
    ASSERT_EQ(results.size(), bad.size());
    for (const auto& result : results) {
        EXPECT_TRUE(result.failed) << bad[result.requestId];
        EXPECT_EQ(result.localPath, kDefaultGameIcon) << bad[result.requestId];
    }
    ASSERT_TRUE(pictures.WaitUntilIdle(10s));
    EXPECT_TRUE(CachedFiles().empty());

    // Nothing was kept, so the next request tries the network again.
    pictures.Request(page.Handle(), 10, "/missing.png");
    ASSERT_EQ(Receive(page, 1).size(), 1u);
    EXPECT_EQ(Fetches("/missing.png"), 2u);
    EXPECT_TRUE(CachedFiles().empty());
}

TEST_F(PictureQueueTest, TheInjectedValidatorDecidesOnTheCompleteTemporaryFile)
{
    std::mutex seenLock;
    std::vector<std::string> seen;
    PictureQueue& pictures = MakeQueue(10, [&](const std::string& path) {
        std::lock_guard guard(seenLock);
        seen.push_back(path);
        return ReadText(path) == PictureBody("/pic/good.png");
    });
    MessageQueue page;
    pictures.Request(page.Handle(), 1, "/pic/good.png");
    pictures.Request(page.Handle(), 2, "/pic/refused.png");
    auto results = Receive(page, 2);
    ASSERT_EQ(results.size(), 2u);
    std::sort(results.begin(), results.end(), [](auto& a, auto& b) { return a.requestId < b.requestId; });
    EXPECT_FALSE(results[0].failed);
    EXPECT_EQ(results[0].localPath, cache / "pic/good.png");
    EXPECT_TRUE(results[1].failed);
    EXPECT_EQ(results[1].localPath, kDefaultGameIcon);
    EXPECT_EQ(CachedFiles(), std::set<std::string>{"pic/good.png"});

    std::lock_guard guard(seenLock);
    ASSERT_EQ(seen.size(), 2u);
    for (const auto& path : seen) {
        // A sibling of the cache file, never the cache file itself.
        EXPECT_EQ(path.rfind(cache / "pic/", 0), 0u) << path;
        EXPECT_NE(path, cache / "pic/good.png");
        EXPECT_NE(path, cache / "pic/refused.png");
    }
}

TEST_F(PictureQueueTest, NoMoreThanTheMaximumRunAtOnce)
{
    PictureQueue& pictures = MakeQueue(3);
    MessageQueue page;
    for (std::uint64_t id = 0; id < 10; ++id)
        pictures.Request(page.Handle(), id, "/slow/" + std::to_string(id) + ".png");
    ASSERT_TRUE(server.WaitForRequests(3));
    EXPECT_FALSE(server.WaitForRequests(4, 300ms)) << "a fourth download started while three ran";
    gate.Open();
    const auto results = Receive(page, 10);
    EXPECT_EQ(results.size(), 10u);
    EXPECT_EQ(server.Requests().size(), 10u);
    EXPECT_EQ(peak.load(), 3);
}

TEST_F(PictureQueueTest, TheMostRecentlyRequestedPictureStartsFirst)
{
    PictureQueue& pictures = MakeQueue(1);
    MessageQueue page;
    pictures.Request(page.Handle(), 1, "/slow/a.png");
    ASSERT_TRUE(server.WaitForRequests(1));
    pictures.Request(page.Handle(), 2, "/slow/b.png");
    pictures.Request(page.Handle(), 3, "/slow/c.png");
    pictures.Request(page.Handle(), 4, "/slow/d.png");
    pictures.Request(page.Handle(), 5, "/slow/e.png");
    pictures.Request(page.Handle(), 6, "/slow/c.png"); // asked again: now the newest
    gate.Open();
    EXPECT_EQ(Receive(page, 6).size(), 6u);
    EXPECT_EQ(FetchOrder(), (std::vector<std::string>{"/slow/a.png", "/slow/c.png", "/slow/e.png",
                                                      "/slow/d.png", "/slow/b.png"}));
}

TEST_F(PictureQueueTest, CancelledRequestsAreNotFetchedAndReceiveNothing)
{
    PictureQueue& pictures = MakeQueue(1);
    MessageQueue refilled;
    MessageQueue other;
    auto closed = std::make_unique<MessageQueue>();
    pictures.Request(refilled.Handle(), 1, "/slow/a.png");
    ASSERT_TRUE(server.WaitForRequests(1));
    pictures.Request(other.Handle(), 2, "/slow/a.png");
    pictures.Request(closed->Handle(), 3, "/slow/a.png");
    pictures.Request(refilled.Handle(), 4, "/slow/b.png"); // only the cancelled page wants b
    pictures.Request(refilled.Handle(), 5, "/slow/c.png");
    pictures.Request(other.Handle(), 6, "/slow/c.png");
    pictures.Request(other.Handle(), 7, "/slow/d.png");

    pictures.Cancel(refilled.Handle()); // a, b and c of this page
    pictures.Cancel(other.Handle(), 6); // c now has nobody
    closed.reset();                     // a window that went away without cancelling
    gate.Open();

    ASSERT_TRUE(pictures.WaitUntilIdle(10s));
    EXPECT_EQ(FetchOrder(), (std::vector<std::string>{"/slow/a.png", "/slow/d.png"}));
    // The running download finished into the cache even though its first asker left.
    EXPECT_EQ(CachedFiles(), (std::set<std::string>{"slow/a.png", "slow/d.png"}));
    EXPECT_EQ(refilled.Pending(), 0u);
    auto results = Receive(other, 2);
    ASSERT_EQ(results.size(), 2u);
    std::sort(results.begin(), results.end(), [](auto& a, auto& b) { return a.requestId < b.requestId; });
    EXPECT_EQ(results[0].requestId, 2u);
    EXPECT_EQ(results[1].requestId, 7u);
    EXPECT_EQ(other.Pending(), 0u);
}

TEST_F(PictureQueueTest, AskingAgainWithTheSameIdReplacesTheEarlierRequest)
{
    PictureQueue& pictures = MakeQueue(1);
    MessageQueue page;
    pictures.Request(page.Handle(), 9, "/slow/first.png");
    ASSERT_TRUE(server.WaitForRequests(1));
    pictures.Request(page.Handle(), 10, "/slow/waits.png");
    pictures.Request(page.Handle(), 10, "/slow/instead.png"); // the control now shows another game
    pictures.Request(page.Handle(), 9, "/slow/later.png");
    gate.Open();
    ASSERT_TRUE(pictures.WaitUntilIdle(10s));

    auto results = Receive(page, 2);
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(page.Pending(), 0u);
    std::sort(results.begin(), results.end(), [](auto& a, auto& b) { return a.requestId < b.requestId; });
    EXPECT_EQ(results[0].localPath, cache / "slow/later.png");
    EXPECT_EQ(results[1].localPath, cache / "slow/instead.png");
    EXPECT_EQ(Fetches("/slow/waits.png"), 0u);
}

TEST_F(PictureQueueTest, ManyThreadsRequestAndCancelAtOnce)
{
    PictureQueue& pictures = MakeQueue(4);
    constexpr int kThreads = 4;
    constexpr std::uint64_t kRequests = 300;
    std::vector<std::unique_ptr<MessageQueue>> windows;
    for (int i = 0; i < kThreads; ++i)
        windows.push_back(std::make_unique<MessageQueue>());

    // What each thread asked for, and which requests it may have cancelled.
    std::vector<std::map<std::uint64_t, std::string>> asked(kThreads);
    std::vector<std::set<std::uint64_t>> cancelled(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            std::mt19937 random(t);
            const WindowHandle window = windows[t]->Handle();
            for (std::uint64_t id = 0; id < kRequests; ++id) {
                const std::string address = "/pic/" + std::to_string(random() % 40) + ".png";
                pictures.Request(window, id, address);
                asked[t][id] = address;
                const unsigned roll = random() % 10;
                if (roll == 0) {
                    pictures.Cancel(window, id - random() % std::min<std::uint64_t>(id + 1, 5));
                    for (std::uint64_t back = 0; back < 5 && back <= id; ++back)
                        cancelled[t].insert(id - back);
                } else if (roll == 1 && t == 0) {
                    pictures.Cancel(window); // a page that refills
                    for (std::uint64_t back = 0; back <= id; ++back)
                        cancelled[t].insert(back);
                }
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    ASSERT_TRUE(pictures.WaitUntilIdle(30s));

    for (int t = 0; t < kThreads; ++t) {
        std::set<std::uint64_t> answered;
        while (auto message = windows[t]->Wait(0ms)) {
            auto result = message->TakePayload<PictureResult>();
            ASSERT_TRUE(result);
            EXPECT_TRUE(answered.insert(result->requestId).second) << "two results for one request";
            EXPECT_FALSE(result->failed);
            EXPECT_EQ(result->localPath, PictureCachePath(cache.Path(), asked[t][result->requestId]));
        }
        for (std::uint64_t id = 0; id < kRequests; ++id) {
            if (!cancelled[t].count(id)) {
                EXPECT_TRUE(answered.count(id)) << "thread " << t << " request " << id << " was lost";
            }
        }
    }
    // One entry per picture at a time and the cache behind it: no picture is fetched twice.
    for (const auto& request : server.Requests())
        EXPECT_EQ(request.path.rfind("/pic/", 0), 0u);
    EXPECT_LE(server.Requests().size(), 40u);
}

TEST_F(PictureQueueTest, ShutdownCutsDownloadsShortDropsWaitingOnesAndJoins)
{
    PictureQueue& pictures = MakeQueue(1);
    MessageQueue page;
    pictures.Request(page.Handle(), 1, "/slow/held.png");
    ASSERT_TRUE(server.WaitForRequests(1));
    pictures.Request(page.Handle(), 2, "/pic/waiting.png");

    const auto start = std::chrono::steady_clock::now();
    pictures.Shutdown();
    // Well inside the transfer's own 10 s time-out: the running download was aborted, not awaited.
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_TRUE(pictures.WaitUntilIdle(0ms));
    EXPECT_EQ(page.Pending(), 0u);
    EXPECT_TRUE(CachedFiles().empty());
    EXPECT_EQ(Fetches("/pic/waiting.png"), 0u);

    // Requests after shutdown are ignored; a second Shutdown is harmless.
    pictures.Request(page.Handle(), 3, "/pic/late.png");
    pictures.Request(page.Handle(), 4, "/../unsafe");
    pictures.Shutdown();
    EXPECT_EQ(page.Pending(), 0u);
    EXPECT_EQ(Fetches("/pic/late.png"), 0u);
}
