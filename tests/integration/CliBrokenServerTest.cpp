// ravelo-cli install as a new user meets a catalogue whose answers are broken: each failure names its
// real cause, and only a real games-folder problem mentions the games folder.
#include "support/CliCapture.h"
#include "support/LoopbackHttpServer.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <mutex>

namespace ravelo::test {
namespace {

namespace fs = std::filesystem;

std::string Detail(const std::string& gameid, const std::string& system = R"("FC")")
{
    return R"({"status": 1, "msg": "", "gameinfo": {"gameid": ")" + gameid +
           R"(", "gamename": "测试", "emulatorshortname": )" + system + R"(, "size": "0.01"}})";
}

class CliBrokenServer : public testing::Test
{
protected:
    void SetUp() override
    {
        m_server.Post("/clientapi/", [this](const httplib::Request& req, httplib::Response& res) {
            const std::string action = req.get_param_value("action");
            if (action == "register") {
                res.set_content(R"({"status": 1, "uid": "7", "ticket": "t"})", "application/json");
                return;
            }
            std::lock_guard guard(m_lock);
            const auto& answers = action == "gameinfo" ? m_details : m_addresses;
            const auto it = answers.find(req.get_param_value("gameid"));
            if (it == answers.end()) {
                res.status = 404;
                res.set_content(R"({"status": -1, "msg": "游戏不存在"})", "application/json");
                return;
            }
            res.set_content(it->second, "application/json");
        });
        m_server.Start();
        ::setenv("RAVELO_HOME", m_home.Path().c_str(), 1);
        ::setenv("TMPDIR", m_tmp.Path().c_str(), 1);
        WriteText(m_home / "ravelo.cfg",
                  "[Set]\nRomPath=" + m_games.Path() + "\n[Service]\nBaseUrl=" + m_server.BaseUrl() + "\n");
    }
    void TearDown() override
    {
        ::unsetenv("RAVELO_HOME");
        ::unsetenv("TMPDIR");
    }

    void Answer(const std::string& gameid, std::string detail, std::string addresses = "")
    {
        std::lock_guard guard(m_lock);
        m_details[gameid] = std::move(detail);
        m_addresses[gameid] = std::move(addresses);
    }

    /// The one line `install` printed on stderr, after checking that it failed.
    std::string InstallFailure(const std::string& gameid)
    {
        const CliCapture run = RunCapturing(RAVELO_CLI_EXE, {"install", gameid});
        EXPECT_EQ(run.code, 1) << gameid << ": " << run.err;
        EXPECT_EQ(run.out, "") << gameid;
        const auto lastLine = run.err.find_last_of('\n', run.err.size() - 2);
        return run.err.substr(lastLine == std::string::npos ? 0 : lastLine + 1);
    }

    TempFolder m_home, m_tmp, m_games;
    LoopbackHttpServer m_server;
    std::mutex m_lock;
    std::map<std::string, std::string> m_details, m_addresses;
};

TEST_F(CliBrokenServer, EachBrokenDetailAnswerIsNamedAsWhatItIs)
{
    Answer("2001", R"({"status": 1, "gameinfo": {"gameid": "2001", "gamen)");
    Answer("2002", R"({"status": 1, "gameinfo": null})");
    Answer("2003", R"({"status": 1, "gameinfo": {"gameid": {"id": 2003}}})");
    Answer("2004", std::string(200000, '[') + std::string(200000, ']'));
    Answer("2005", Detail("../../../tmp/2005"));
    Answer("2006", Detail("2006", R"("../..")"));
    Answer("2007", Detail("2007", "null"));

    EXPECT_EQ(InstallFailure("2001"), "获取游戏详情失败: 服务器应答无法解析\n");
    EXPECT_EQ(InstallFailure("2002"), "获取游戏详情失败: 游戏不存在\n");
    EXPECT_EQ(InstallFailure("2003"), "获取游戏详情失败: 服务器应答内容有误\n");
    EXPECT_EQ(InstallFailure("2004").rfind("获取游戏详情失败: 服务器应答", 0), 0u);
    EXPECT_EQ(InstallFailure("2005"), "获取游戏详情失败: 游戏信息无法读取\n");
    EXPECT_EQ(InstallFailure("2006"), "无法添加下载任务: 游戏信息无法读取:所属系统无效\n");
    EXPECT_EQ(InstallFailure("2007"), "无法添加下载任务: 游戏信息无法读取:所属系统无效\n");
    EXPECT_EQ(InstallFailure("2999"), "获取游戏详情失败: 游戏不存在\n"); // the catalogue's 404 answer
    EXPECT_EQ(InstallFailure("../2001"), "参数错误: 游戏编号无效\n");
    EXPECT_FALSE(fs::exists(m_tmp / "2005"));
    // Only the folders every start makes: no game folder, no file.
    for (const auto& entry : fs::recursive_directory_iterator(m_games.Path()))
        EXPECT_TRUE(entry.is_directory() && entry.path().filename().string().rfind("200", 0) != 0)
            << entry.path();
}

TEST_F(CliBrokenServer, WhenNoAddressAnswersTheFailureNamesTheLastAnswer)
{
    LoopbackHttpServer closed;
    closed.Start();
    const std::string closedUrl = closed.Url("/files/3002.zip");
    closed.Stop();
    Answer("3001", Detail("3001"),
           R"({"status": 1, "fileurl": ")" + m_server.Url("/files/3001.zip") + R"("})");
    Answer("3002", Detail("3002"), R"({"status": 1, "fileurl": ")" + closedUrl + R"("})");
    Answer("3003", Detail("3003"), R"({"status": 1, "fileurl": [1, 2]})");

    EXPECT_EQ(InstallFailure("3001"), "下载失败,没有可用的下载链接(HTTP 404)\n");
    EXPECT_EQ(InstallFailure("3002"), "下载失败,没有可用的下载链接(CURLE_COULDNT_CONNECT)\n");
    EXPECT_EQ(InstallFailure("3003"), "下载失败,获取下载地址失败\n");

    // Only a games folder that is really missing is blamed on the games folder.
    WriteText(m_home / "ravelo.cfg", "[Service]\nBaseUrl=" + m_server.BaseUrl() + "\n");
    EXPECT_NE(InstallFailure("3001").find("游戏目录"), std::string::npos);
}

} // namespace
} // namespace ravelo::test
