#include "cli/DownloadCommands.h"

#include "app/Engines.h"
#include "cli/CliOutput.h"
#include "cli/InterruptWatcher.h"
#include "cli/ProgressLine.h"
#include "download/DownloadAddresses.h"
#include "download/DownloadManager.h"
#include "download/DownloadMessages.h"
#include "download/DownloadResult.h"
#include "platform/MessageQueue.h"
#include "platform/PlainName.h"
#include "platform/Translate.h"
#include "service/CGame.h"
#include "service/CatalogueClient.h"
#include "settings/AppPaths.h"
#include "store/LibraryDatabase.h"

#include <cstdio>
#include <iostream>
#include <unistd.h>

namespace ravelo::cli {
namespace {

std::string SourceNames(int offered)
{
    std::string names;
    for (const auto& [bit, name] :
         {std::pair{kSourceServers, "server"}, {kSourceCloudDrive, "cloud"}, {kSourceUnpacked, "nozip"}})
        if (offered & bit)
            names += (names.empty() ? "" : ", ") + std::string(name);
    return names.empty() ? Tr("无") : names;
}

/// Answers the engine from the command line: the source from --source, the captcha from the terminal.
class TerminalPrompts final : public DownloadPrompts
{
public:
    explicit TerminalPrompts(int wanted) : m_wanted(wanted) {}

    int ChooseSource(WindowHandle, const DownloadInfo&, int offered) override
    {
        m_offered = offered;
        if (m_wanted == 0)
            return (offered & kSourceServers) ? kSourceServers : (offered & -offered);
        return (offered & m_wanted) ? m_wanted : kSourceDialogClosed;
    }

    bool AskCaptcha(const std::string& imagePath, std::string& code) override
    {
        std::fprintf(stderr, Tr("\n云盘需要验证码: 请查看图片 %s\n请输入右侧验证码以完成下载 (4 个字符): "),
                     imagePath.c_str());
        std::fflush(stderr);
        for (std::string line; std::getline(std::cin, line);) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (line.size() == 4) {
                code = line;
                return true;
            }
            std::fputs(Tr("验证码应为 4 个字符,请重新输入: "), stderr);
            std::fflush(stderr);
        }
        return false; // no terminal to answer: the user cannot read the picture
    }

    int Offered() const { return m_offered; }
    bool Refused() const { return m_wanted != 0 && m_offered != 0 && !(m_offered & m_wanted); }

private:
    int m_wanted;
    std::atomic<int> m_offered{0};
};

bool FindInstalled(LibraryDatabase& database, const std::string& gameId, Gameinfo& found)
{
    std::vector<Gameinfo> games;
    database.PostWait(DbOperation::LoadGames, &games);
    for (const Gameinfo& game : games)
        if (game.GameId == gameId) {
            found = game;
            return true;
        }
    return false;
}

class InstallSession
{
public:
    InstallSession(Engines& engines, std::string gameId, int source)
        : m_engines(engines), m_gameId(std::move(gameId)), m_prompts(source),
          m_progress(::isatty(STDERR_FILENO)), m_database(engines.Database())
    {
    }
    /// The engine asks this session's prompts and posts to its queue: it ends before they do.
    ~InstallSession() { m_engines.Downloads().Shutdown(); }

    int Run()
    {
        Gameinfo installed;
        if (FindInstalled(m_database, m_gameId, installed)) {
            std::printf(Tr("已安装\t%s\n"), installed.FilePath.c_str());
            return 0;
        }
        CGame game;
        game.gameid = m_gameId;
        std::string failure;
        if (!m_engines.Catalogue().FetchGameDetail(game, true, true, 0, &failure)) {
            PrintError(Tr("获取游戏详情失败: ") + (failure.empty() ? std::string(Tr("请求失败")) : failure));
            return 1;
        }

        DownloadManager& engine = m_engines.Downloads();
        engine.SetPrompts(&m_prompts);
        engine.SetInstalledGamesWindow(m_queue.Handle());
        engine.AddListener(m_queue.Handle(), m_gameId, 0);
        engine.Start(0, m_queue.Handle());
        bool restored = false;
        for (const DownloadTaskView& task : engine.Tasks())
            restored = restored || task.gameId == m_gameId;
        if (restored) {
            std::fputs(Tr("继续上次未完成的下载\n"), stderr);
        } else if (const AddTaskResult added = engine.AddTask(game, 0); added != AddTaskResult::Added) {
            PrintError(Tr("无法添加下载任务: ") + AddTaskFailureText(added));
            return 1;
        } else {
            m_started = true;
        }
        return Wait(engine);
    }

private:
    int Wait(DownloadManager& engine)
    {
        for (;;) {
            std::optional<Message> message = m_queue.Wait(std::chrono::hours(24));
            if (!message)
                continue;
            if (message->id == UM_CLI_INTERRUPT) {
                m_stopping = true;
                std::fputs(Tr("\n正在停止下载...\n"), stderr);
            } else if (message->id == UM_DOWNLOAD_PROGRESS) {
                const auto progress = message->TakePayload<DownloadProgress>();
                if (!progress || progress->gameId != m_gameId)
                    continue;
                if (const int code = OnProgress(engine, *progress); code >= 0)
                    return code;
            } else if (message->id == UM_ITEM_STATE &&
                       StatusFromWParam(message->wParam) == TaskStatus::None) {
                m_progress.Finish();
                if (m_prompts.Refused())
                    PrintError(Tr("下载失败,该游戏没有所选的下载来源 (可用: ") +
                               SourceNames(m_prompts.Offered()) + ")");
                else
                    PrintError(Tr("下载失败,获取下载地址失败"));
                return 1;
            } else if (message->id == UM_GAME_INSTALLED) {
                return OnInstalled();
            }
            // A stop asked for while the task was still being prepared is applied once it can be.
            if (m_stopping && !m_stopSent)
                m_stopSent = engine.SetCommand(m_gameId, TaskCommand::Stop);
        }
    }

    // Returns the exit code when the session ends, -1 to go on.
    int OnProgress(DownloadManager& engine, const DownloadProgress& progress)
    {
        switch (progress.state) {
        case TaskStatus::Stopped:
            if (!m_started && !m_stopping) {
                // The restored task was announced as stopped: start it again.
                m_started = engine.SetCommand(m_gameId, TaskCommand::Start);
                return -1;
            }
            m_progress.Finish();
            std::fprintf(stderr, Tr("下载停止,完成%sM/%sM,再次运行本命令可继续下载\n"),
                         progress.currentSize.c_str(), progress.totalSize.c_str());
            return 130;
        case TaskStatus::Failed:
            m_progress.Finish();
            PrintError(Tr("下载失败,") + DownloadFailureText(progress.code, progress.lastProbe));
            return 1;
        default:
            m_progress.Show(progress);
            return -1;
        }
    }

    int OnInstalled()
    {
        m_progress.Finish();
        Gameinfo installed;
        if (!FindInstalled(m_database, m_gameId, installed)) {
            PrintError(Tr("安装失败: 无法写入游戏库"));
            return 1;
        }
        std::printf(Tr("安装完成\t%s\n"), installed.FilePath.c_str());
        return 0;
    }

    Engines& m_engines;
    std::string m_gameId;
    MessageQueue m_queue;
    InterruptWatcher m_interrupts{m_queue.Handle(), UM_CLI_INTERRUPT};
    TerminalPrompts m_prompts;
    ProgressLine m_progress;
    LibraryDatabase& m_database;
    bool m_started = false;
    bool m_stopping = false;
    bool m_stopSent = false;
};

int InstallCommand(Engines& engines, const Arguments& args)
{
    std::string gameId;
    int source = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--source" && i + 1 < args.size()) {
            const std::string& name = args[++i];
            source = name == "server"  ? kSourceServers
                     : name == "cloud" ? kSourceCloudDrive
                     : name == "nozip" ? kSourceUnpacked
                                       : -1;
            if (source < 0) {
                PrintError(Tr("参数错误: --source 只能是 server、cloud 或 nozip"));
                return 1;
            }
        } else if (gameId.empty() && args[i].rfind("--", 0) != 0) {
            gameId = args[i];
        } else {
            PrintError(Tr("参数错误: ") + args[i]);
            return 1;
        }
    }
    if (gameId.empty()) {
        PrintError(Tr("参数错误: 请指定游戏编号"));
        return 1;
    }
    if (GamesFolder().empty()) {
        PrintError(Tr("尚未设置游戏目录: 请在 ") + SettingsFilePath + Tr(" 的 [Set] 中设置 RomPath"));
        return 1;
    }
    if (!IsPlainName(gameId)) {
        PrintError(Tr("参数错误: 游戏编号无效"));
        return 1;
    }
    return InstallSession(engines, gameId, source).Run();
}

int InstalledCommand(Engines& engines, const Arguments& args)
{
    if (!args.empty()) {
        PrintError(Tr("参数错误: installed 不带参数"));
        return 1;
    }
    std::vector<Gameinfo> games;
    if (!engines.Database().PostWait(DbOperation::LoadGames, &games)) {
        PrintError(Tr("读取游戏库失败"));
        return 1;
    }
    for (const Gameinfo& game : games)
        std::printf("%s\t%s\t%s\n", Field(game.GameId).c_str(), Field(game.GameName).c_str(),
                    Field(game.FilePath).c_str());
    return 0;
}

} // namespace

void RegisterDownloadCommands(CommandDispatcher& dispatcher)
{
    dispatcher.Register("install", "install GAMEID [--source server|cloud|nozip]", InstallCommand);
    dispatcher.Register("installed", "installed", InstalledCommand);
}

} // namespace ravelo::cli
