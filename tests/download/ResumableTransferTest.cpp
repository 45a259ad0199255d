#include "download/ResumableTransfer.h"

#include "TestFileServer.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

#include <future>
#include <gtest/gtest.h>

using namespace ravelo;
using namespace ravelo::test;

namespace {

class ResumableTransferTest : public testing::Test
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < 100000; ++i)
            m_content += static_cast<char>('a' + i % 26);
        m_server.Start();
    }

    TransferOutcome Fetch(const std::string& name, std::int64_t have)
    {
        TransferRequest request;
        request.url = m_server.FileUrl(name);
        request.path = m_path;
        request.filePosition = have;
        request.resumeOffset = have;
        return RunResumableTransfer(request);
    }

    TempFolder m_temp;
    TestFileServer m_server;
    std::string m_content;
    std::string m_path = m_temp / "game/archive.zip";
};

} // namespace

TEST_F(ResumableTransferTest, ResumesWithARangeAndAppends)
{
    m_server.Put("f", m_content);
    ASSERT_TRUE(Fetch("f", 0).Succeeded()); // creates the folder too
    WriteText(m_path, m_content.substr(0, 40000) + "garbage past the good bytes");
    const TransferOutcome outcome = Fetch("f", 40000);
    EXPECT_TRUE(outcome.Succeeded());
    EXPECT_EQ(outcome.httpStatus, 206);
    EXPECT_EQ(ReadText(m_path), m_content);
    EXPECT_EQ(m_server.RangesAsked("f").back(), "bytes=40000-");
}

TEST_F(ResumableTransferTest, AWholeAnswerToARangedRequestStartsTheFileAgain)
{
    m_server.Put("f", m_content, TestFileServer::Mode::IgnoreRange);
    Fetch("f", 0);
    WriteText(m_path, m_content.substr(0, 30000));
    const TransferOutcome outcome = Fetch("f", 30000);
    EXPECT_TRUE(outcome.Succeeded());
    EXPECT_TRUE(outcome.restarted);
    EXPECT_EQ(ReadText(m_path), m_content); // not 30000 bytes followed by the whole file
}

TEST_F(ResumableTransferTest, APartForAnotherRangeIsRefused)
{
    m_server.Put("f", m_content, TestFileServer::Mode::WrongRange);
    Fetch("f", 0);
    WriteText(m_path, m_content.substr(0, 30000));
    const TransferOutcome outcome = Fetch("f", 30000);
    EXPECT_FALSE(outcome.Succeeded());
    EXPECT_TRUE(outcome.rangeRefused);
    EXPECT_EQ(ReadText(m_path), m_content.substr(0, 30000));
}

TEST_F(ResumableTransferTest, ErrorAnswersWriteNothing)
{
    m_server.Put("f", m_content);
    Fetch("f", 0);
    const TransferOutcome unsatisfiable = Fetch("f", static_cast<std::int64_t>(m_content.size()));
    EXPECT_EQ(unsatisfiable.httpStatus, 416);
    EXPECT_EQ(unsatisfiable.bytesWritten, 0);
    EXPECT_EQ(ReadText(m_path), m_content);

    WriteText(m_path, "part");
    const TransferOutcome missing = Fetch("missing", 4);
    EXPECT_EQ(missing.httpStatus, 404);
    EXPECT_EQ(ReadText(m_path), "part");
}

TEST_F(ResumableTransferTest, AVolumeIsAppendedAfterTheEarlierOnes)
{
    m_server.Put("v2", m_content);
    WriteText(m_temp / "a.zip", "VOLUME-ONE" + m_content.substr(0, 500));
    TransferRequest request;
    request.url = m_server.FileUrl("v2");
    request.path = m_temp / "a.zip";
    request.filePosition = 10 + 500;
    request.resumeOffset = 500;
    ASSERT_TRUE(RunResumableTransfer(request).Succeeded());
    EXPECT_EQ(ReadText(m_temp / "a.zip"), "VOLUME-ONE" + m_content);
}

TEST_F(ResumableTransferTest, AStopEndsAStalledTransferAtOnce)
{
    m_server.Put("f", m_content);
    m_server.CloseGate("f", 1000);
    std::atomic<bool> stop{false};
    TransferRequest request;
    request.url = m_server.FileUrl("f");
    request.path = m_path;
    request.stop = &stop;
    auto outcome = std::async(std::launch::async, [&] { return RunResumableTransfer(request); });
    ASSERT_TRUE(m_server.WaitAtGate());
    stop = true;
    ASSERT_EQ(outcome.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    const TransferOutcome result = outcome.get();
    EXPECT_TRUE(result.stopped);
    EXPECT_LE(result.bytesWritten, 1000); // what arrived before the stop, and nothing after it
}

TEST_F(ResumableTransferTest, AStalledServerEndsWithATimeOutEvenWithoutATotalLimit)
{
    m_server.Put("f", m_content);
    m_server.CloseGate("f", 1000);
    TransferRequest request;
    request.url = m_server.FileUrl("f");
    request.path = m_path;
    request.totalTimeoutSeconds = 0;
    request.stallSeconds = 1;
    const TransferOutcome outcome = RunResumableTransfer(request);
    EXPECT_EQ(outcome.curlCode, 28); // CURLE_OPERATION_TIMEDOUT: retried from the bytes on disk
    EXPECT_FALSE(outcome.Succeeded());
}

TEST_F(ResumableTransferTest, AFileThatCannotBeCreatedIsReported)
{
    WriteText(m_temp / "blocker", "x");
    TransferRequest request;
    request.url = m_server.FileUrl("f");
    request.path = m_temp / "blocker/archive.zip";
    EXPECT_TRUE(RunResumableTransfer(request).openFailed);
}

TEST_F(ResumableTransferTest, AFileShorterThanTheGoodBytesIsNeverFilledWithZeros)
{
    m_server.Put("v2", m_content);
    WriteText(m_temp / "a.zip", "VOLUME-ONE-CUT");
    TransferRequest request;
    request.url = m_server.FileUrl("v2");
    request.path = m_temp / "a.zip";
    request.filePosition = 5000; // the earlier volumes' length: more than the file holds
    request.resumeOffset = 0;
    const TransferOutcome outcome = RunResumableTransfer(request);
    EXPECT_TRUE(outcome.shortFile);
    EXPECT_FALSE(outcome.Succeeded());
    EXPECT_EQ(ReadText(m_temp / "a.zip"), "VOLUME-ONE-CUT");
    EXPECT_EQ(m_server.GetCount("v2"), 0); // nothing was asked for
}
