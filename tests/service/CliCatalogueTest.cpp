#include "platform/IniFile.h"
#include "support/FileText.h"
#include "support/LoopbackHttpServer.h"
#include "support/TempFolder.h"

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <mutex>
#include <sys/wait.h>
#include <unistd.h>

using ravelo::test::LoopbackHttpServer;
using ravelo::test::ReadText;
using ravelo::test::TempFolder;

namespace {

struct CliRun
{
    int code = -1;
    std::string out;
    std::string err;
};

/// Runs the real ravelo-cli against a catalogue on a loopback server, with its own settings and caches.
class CliCatalogue : public testing::Test
{
protected:
    void SetUp() override
    {
        server.Post("/clientapi/", [this](const httplib::Request& req, httplib::Response& res) {
            const std::string action = req.get_param_value("action");
            std::lock_guard guard(answerLock);
            if (action == "gameinfo") {
                res.set_content(detailAnswer, "application/json");
            } else {
                res.status = listStatus;
                res.set_content(listAnswer, "application/json");
            }
        });
        server.Start();
        ::setenv("RAVELO_HOME", home.Path().c_str(), 1);
        ::setenv("TMPDIR", tmp.Path().c_str(), 1);
        ravelo::WriteProfileString(home / "ravelo.cfg", "Service", "BaseUrl", server.BaseUrl());
    }
    void TearDown() override
    {
        ::unsetenv("RAVELO_HOME");
        ::unsetenv("TMPDIR");
    }

    CliRun Cli(const std::string& arguments)
    {
        const std::string out = output / "out.txt", err = output / "err.txt";
        const std::string command =
            std::string("'") + RAVELO_CLI_PATH + "' " + arguments + " >'" + out + "' 2>'" + err + "'";
        const int status = std::system(command.c_str());
        CliRun run;
        run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.out = ReadText(out);
        run.err = ReadText(err);
        return run;
    }

    TempFolder home, tmp, output;
    LoopbackHttpServer server;
    std::atomic<int> listStatus{200};
    std::mutex answerLock;
    std::string detailAnswer = R"({"status": 1, "gameinfo": {"gameid": "1001", "gamename": "魂斗罗",
        "orgname": "Contra", "emulatorshortname": "FC", "size": "0.25", "language": "中文",
        "description": "两行\n简介", "screens": ["http://pic/1.jpg", "http://pic/2.jpg"]}})";
    std::string listAnswer = R"({"status": 1, "count": "2", "gamelist": [
        {"gameid": "1001", "gamename": "魂斗罗", "emulatorshortname": "FC", "size": "0.25"},
        {"gameid": "1002", "gamename": "Tab\there", "emulatorshortname": "MD", "size": "1.5"}]})";

    void SetAnswers(std::string detail, std::string list)
    {
        std::lock_guard guard(answerLock);
        detailAnswer = std::move(detail);
        listAnswer = std::move(list);
    }
};

} // namespace

TEST_F(CliCatalogue, ListPrintsOneGameALineWithTheFiltersSent)
{
    const CliRun run = Cli("list --system 125 --order hot --page 2");
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "1001\t魂斗罗\tFC\t0.25\n1002\tTab here\tMD\t1.5\n");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].body, "model=appstore&action=gamelist&clientparams= | |zh| | |pc1.0&page=2"
                                         "&pagesize=40&categoryid= &emulatorid=125&orderby=hot&language= ");
}

TEST_F(CliCatalogue, SearchJoinsTheWords)
{
    const CliRun run = Cli("search 魂斗罗 2");
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "1001\t魂斗罗\tFC\t0.25");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_NE(server.Requests()[0].body.find("&keyword=%E9%AD%82%E6%96%97%E7%BD%97+2&"), std::string::npos);
}

TEST_F(CliCatalogue, InfoPrintsTheDetailAndCachesIt)
{
    const CliRun run = Cli("info 1001");
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "1001\t魂斗罗\tFC\t0.25");
    EXPECT_NE(run.out.find("orgname\tContra\n"), std::string::npos);
    EXPECT_NE(run.out.find("language\t中文\n"), std::string::npos);
    EXPECT_NE(run.out.find("description\t两行 简介\n"), std::string::npos);
    EXPECT_NE(run.out.find("screenshot\thttp://pic/1.jpg\nscreenshot\thttp://pic/2.jpg\n"),
              std::string::npos);
    EXPECT_FALSE(
        ReadText(tmp / "RaveloAppStore-" + std::to_string(::geteuid()) + "/GameInfoCache/1001/1001.gameinfo")
            .empty());

    server.Stop();
    const CliRun cached = Cli("info 1001");
    EXPECT_EQ(cached.code, 0) << cached.err;
    EXPECT_EQ(cached.out, run.out);
    const CliRun uncached = Cli("info --no-cache 1001");
    EXPECT_EQ(uncached.code, 1);
    EXPECT_EQ(uncached.err, "获取游戏详情失败: 无法连接服务器\n");
}

TEST_F(CliCatalogue, FailuresAndBadArgumentsExitWithOneAndALineOnStderr)
{
    listStatus = 500;
    CliRun run = Cli("list");
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "获取游戏列表失败: 服务器返回错误 (HTTP 500)\n");

    run = Cli("list --page 0");
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "参数错误: --page 的取值无效: 0\n");
    run = Cli("list --order best");
    EXPECT_EQ(run.code, 1);
    run = Cli("search");
    EXPECT_EQ(run.code, 1);
    run = Cli("frobnicate");
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')), "未知命令: frobnicate");
    EXPECT_EQ(server.Requests().size(), 1u); // bad arguments send nothing
    EXPECT_EQ(Cli("help").code, 0);
}

TEST_F(CliCatalogue, AnAnswerWithoutAGameIsAFailureAndNullGamesAreNotListed)
{
    SetAnswers(R"({"status": -1, "msg": "游戏已下架", "gameinfo": null})",
               R"({"status": 1, "count": "3", "gamelist": [null,
                   {"gameid": "1001", "gamename": "魂斗罗", "emulatorshortname": "FC", "size": "0.25"}, null]})");
    CliRun run = Cli("info 1001");
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "获取游戏详情失败: 游戏已下架\n");
    EXPECT_FALSE(std::filesystem::exists(tmp / "RaveloAppStore/GameInfoCache/1001/1001.gameinfo"));

    SetAnswers(R"({"status": 1, "gameinfo": {}})", "");
    run = Cli("info --no-cache 1001");
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "获取游戏详情失败: 游戏不存在\n");

    SetAnswers("", R"({"status": 1, "count": "3", "gamelist": [null,
                   {"gameid": "1001", "gamename": "魂斗罗", "emulatorshortname": "FC", "size": "0.25"}, null]})");
    run = Cli("list");
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "1001\t魂斗罗\tFC\t0.25\n");
}
