// File downloads with a size limit, an acceptance check and an abort flag: the target is replaced only
// by a complete answer within the limit that the check took, and nothing else is left beside it.
#include "service/HttpTransport.h"
#include "support/FileText.h"
#include "support/LoopbackHttpServer.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace ravelo;
using ravelo::test::LoopbackHttpServer;
using ravelo::test::ReadText;
using ravelo::test::TempFolder;
using ravelo::test::WriteText;

namespace {

constexpr std::size_t kLimit = 4096;

class DownloadChecksTest : public testing::Test
{
protected:
    void SetUp() override
    {
        // /bytes/N answers N bytes, with its length declared; /chunked/N the same without it.
        server.Get(R"(/bytes/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
            res.set_content(std::string(std::stoul(req.matches[1]), 'b'), "application/octet-stream");
        });
        server.Get(R"(/chunked/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
            const std::size_t size = std::stoul(req.matches[1]);
            res.set_chunked_content_provider(
                "application/octet-stream", [size](std::size_t offset, httplib::DataSink& sink) {
                    const std::size_t block = std::min<std::size_t>(1000, size - offset);
                    if (block == 0) {
                        sink.done();
                        return true;
                    }
                    const std::string data(block, 'c');
                    sink.write(data.data(), data.size());
                    return true;
                });
        });
        server.Start();
    }

    /// Files in the folder other than the target: there must never be any.
    std::size_t Leftovers(const std::string& target) const
    {
        std::size_t count = 0;
        for (const auto& item : std::filesystem::directory_iterator(folder.Path()))
            count += item.path().string() != target;
        return count;
    }

    LoopbackHttpServer server;
    TempFolder folder;
};

} // namespace

TEST_F(DownloadChecksTest, TheLimitHoldsWhetherTheLengthIsDeclaredOrNot)
{
    DownloadChecks checks;
    checks.maxBytes = kLimit;
    const std::string target = folder / "file.bin";
    for (const std::string kind : {"/bytes/", "/chunked/"}) {
        std::filesystem::remove(target);
        ASSERT_EQ(DownloadFile(server.Url(kind + std::to_string(kLimit)), target, checks), 1) << kind;
        EXPECT_EQ(std::filesystem::file_size(target), kLimit);

        WriteText(target, "old");
        EXPECT_EQ(DownloadFile(server.Url(kind + std::to_string(kLimit + 1)), target, checks), 0) << kind;
        EXPECT_EQ(ReadText(target), "old") << "a refused answer replaced the file";
        EXPECT_EQ(Leftovers(target), 0u);
    }
    // Without a limit the same answer is taken.
    EXPECT_EQ(DownloadFile(server.Url("/chunked/" + std::to_string(4 * kLimit)), target, DownloadChecks{}),
              1);
    EXPECT_EQ(std::filesystem::file_size(target), 4 * kLimit);
}

TEST_F(DownloadChecksTest, TheCheckSeesTheWholeFileAndARefusalOrThrowKeepsNothing)
{
    const std::string target = folder / "file.bin";
    std::string seenPath;
    std::string seenBody;
    DownloadChecks checks;
    checks.accept = [&](const std::string& path) {
        seenPath = path;
        seenBody = ReadText(path);
        return false;
    };
    EXPECT_EQ(DownloadFile(server.Url("/chunked/2500"), target, checks), 0);
    EXPECT_EQ(seenBody, std::string(2500, 'c'));
    EXPECT_NE(seenPath, target);
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_FALSE(std::filesystem::exists(seenPath));

    checks.accept = [](const std::string&) -> bool { throw std::runtime_error("cannot decode"); };
    EXPECT_EQ(DownloadFile(server.Url("/bytes/10"), target, checks), 0);
    EXPECT_EQ(Leftovers(target), 0u);
    EXPECT_FALSE(std::filesystem::exists(target));

    checks.accept = [](const std::string&) { return true; };
    EXPECT_EQ(DownloadFile(server.Url("/bytes/10"), target, checks), 1);
    EXPECT_EQ(ReadText(target), std::string(10, 'b'));
}

TEST_F(DownloadChecksTest, AnAbortFlagEndsAStalledTransferSoon)
{
    LoopbackHttpServer stalled;
    std::mutex lock;
    std::condition_variable changed;
    bool release = false;
    stalled.Get("/stall", [&](const httplib::Request&, httplib::Response& res) {
        std::unique_lock guard(lock);
        changed.wait_for(guard, std::chrono::seconds(20), [&] { return release; });
        res.set_content("late", "text/plain");
    });
    stalled.Start();

    std::atomic<bool> abort{false};
    DownloadChecks checks;
    checks.abort = &abort;
    const std::string target = folder / "stalled.bin";
    std::thread raise([&] {
        stalled.WaitForRequests(1);
        abort = true;
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(DownloadFile(stalled.Url("/stall"), target, checks), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    raise.join();
    EXPECT_EQ(Leftovers(target), 0u);
    EXPECT_FALSE(std::filesystem::exists(target));
    {
        std::lock_guard guard(lock);
        release = true;
    }
    changed.notify_all();
}
