#include "cli/LaunchCommands.h"

#include "app/Engines.h"
#include "cli/CliEmulatorHost.h"
#include "cli/CliOutput.h"
#include "cli/InterruptWatcher.h"
#include "emulator/CGameLauncher.h"
#include "emulator/EmulatorConfig.h"
#include "platform/MessageQueue.h"
#include "platform/StartThread.h"
#include "platform/Translate.h"
#include "store/LibraryDatabase.h"

#include <charconv>
#include <cstdio>
#include <iostream>
#include <unistd.h>

namespace ravelo::cli {
namespace {

constexpr std::uint32_t UM_CLI_GAME_ENDED = WM_USER + 901;

struct LaunchOptions
{
    std::string game; // a catalogue game id or the path of an imported game
    std::optional<int> inputKind;
    std::optional<int> disc; // 1-based, as the user counts
};

bool ParseOptions(const Arguments& args, LaunchOptions& options)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--input" && hasValue) {
            const std::string& kind = args[++i];
            if (kind == "gamepad")
                options.inputKind = kInputKindGamepad;
            else if (kind == "keyboard")
                options.inputKind = kInputKindKeyboard;
            else
                return false;
        } else if (arg == "--disc" && hasValue) {
            const std::string& text = args[++i];
            int disc = 0;
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), disc);
            if (error != std::errc() || end != text.data() + text.size() || disc < 1 || disc > 4)
                return false;
            options.disc = disc;
        } else if (arg.rfind("--", 0) == 0 || !options.game.empty()) {
            return false;
        } else {
            options.game = arg;
        }
    }
    return !options.game.empty();
}

// A question the terminal can answer; without a terminal the options must say it.
std::optional<int> AskNumber(const std::string& question, int lowest, int highest)
{
    if (!::isatty(STDIN_FILENO))
        return std::nullopt;
    std::fprintf(stderr, "%s", question.c_str());
    std::string line;
    if (!std::getline(std::cin, line))
        return std::nullopt;
    int answer = 0;
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), answer);
    if (error != std::errc() || answer < lowest || answer > highest)
        return std::nullopt;
    return answer;
}

// The registry's questions (the emulator's setup on first use) are answered as `emulator install`
// answers them; the launcher's own are taken from the options or the terminal.
class CliLaunchHost : public LaunchHost
{
public:
    CliLaunchHost(std::optional<int> disc, MessageQueue& interrupts)
        : m_registryHost(&interrupts), m_disc(disc)
    {
    }

    bool Cancelled() const { return m_registryHost.Cancelled(); }

    bool AskYesNo(const std::string& text, const std::string& caption, WindowHandle parent) override
    {
        return m_registryHost.AskYesNo(text, caption, parent);
    }
    void ShowMessage(const std::string& text, const std::string& caption, WindowHandle parent) override
    {
        m_registryHost.ShowMessage(text, caption, parent);
    }
    bool RunPackageSetup(const EmulatorInfo& record, const std::string& title, WindowHandle parent,
                         SetupWorker& worker) override
    {
        return m_registryHost.RunPackageSetup(record, title, parent, worker);
    }

    int ChooseInputKind(WindowHandle) override
    {
        if (const std::optional<int> kind = AskNumber(Tr("选择控制方式 (1 手柄, 2 键盘): "), 1, 2))
            return *kind;
        PrintError(Tr("请用 --input gamepad 或 --input keyboard 选择控制方式"));
        return 0;
    }

    int ChooseDisc(int count, WindowHandle) override
    {
        if (m_disc && *m_disc <= count)
            return *m_disc - 1;
        const std::string range = "1-" + std::to_string(count);
        if (const std::optional<int> disc = AskNumber(Tr("选择光盘 (") + range + "): ", 1, count))
            return *disc - 1;
        PrintError(Tr("该游戏有 ") + std::to_string(count) + Tr(" 张光盘, 请用 --disc ") + range +
                   Tr(" 选择"));
        return -1;
    }

private:
    CliEmulatorHost m_registryHost;
    std::optional<int> m_disc;
};

std::optional<Gameinfo> FindInstalledGame(Engines& engines, const std::string& gameId)
{
    std::vector<Gameinfo> games;
    engines.Database().PostWait(DbOperation::LoadGames, &games);
    for (Gameinfo& game : games)
        if (game.GameId == gameId)
            return std::move(game);
    return std::nullopt;
}

std::optional<LocalGame> FindImportedGame(Engines& engines, const std::string& path)
{
    std::vector<LocalGame> games;
    engines.Database().PostWait(DbOperation::LoadLocalGames, &games);
    for (LocalGame& game : games)
        if (game.FilePath == path)
            return std::move(game);
    return std::nullopt;
}

int LaunchCommand(Engines& engines, const Arguments& args)
{
    LaunchOptions options;
    if (!ParseOptions(args, options)) {
        PrintError(Tr("参数错误: 用法 launch GAMEID|PATH [--input gamepad|keyboard] [--disc N]"));
        return 1;
    }
    MessageQueue queue;
    // Before any other thread starts, so that Ctrl-C reaches only the watcher and ends the game.
    const InterruptWatcher interrupts(queue.Handle(), UM_CLI_INTERRUPT);

    const bool isPath = options.game.find('/') != std::string::npos;
    std::optional<Gameinfo> installed;
    std::optional<LocalGame> imported;
    if (isPath)
        imported = FindImportedGame(engines, options.game);
    else
        installed = FindInstalledGame(engines, options.game);
    if (!installed && !imported) {
        PrintError(isPath ? Tr("游戏未导入: 请先用 import 导入 ") + options.game
                          : Tr("游戏未安装: 请先用 install 安装 ") + options.game);
        return 1;
    }

    engines.LoadedEmulators();
    engines.Input(); // binds the attached pads before a gamepad game
    CGameLauncher& launcher = engines.Launcher();
    CliLaunchHost host(options.disc, queue);
    const CGameLauncher::StartResult started =
        installed ? launcher.LaunchInstalledGame(&*installed, queue.Handle(), host, options.inputKind)
                  : launcher.LaunchLocalGame(&*imported, queue.Handle(), host, options.inputKind);
    switch (started) {
    case CGameLauncher::StartResult::Started:
        break;
    case CGameLauncher::StartResult::Busy:
        PrintError(Tr("已有游戏在运行"));
        return 1;
    case CGameLauncher::StartResult::NoEmulator:
        PrintError(host.Cancelled() ? Tr("已取消") : Tr("没有可用的模拟器"));
        return 1;
    case CGameLauncher::StartResult::Abandoned:
    case CGameLauncher::StartResult::GameFileMissing:
        return 1;
    }
    std::fputs(Tr("游戏已启动\n"), stderr);

    int exitCode = 0;
    std::thread waiter = StartThread([&] {
        exitCode = launcher.WaitUntilIdle();
        PostMessage(queue.Handle(), UM_CLI_GAME_ENDED, 0);
    });
    for (;;) {
        const std::optional<Message> message = queue.Wait(std::chrono::hours(24));
        if (!message)
            continue;
        if (message->id == UM_CLI_INTERRUPT) {
            std::fputs(Tr("\n正在结束游戏...\n"), stderr);
            launcher.StopGame();
        } else if (message->id == UM_CLI_GAME_ENDED) {
            break;
        }
    }
    waiter.join();
    std::printf(Tr("退出码\t%d\n"), exitCode);
    return 0;
}

} // namespace

void RegisterLaunchCommands(CommandDispatcher& dispatcher)
{
    dispatcher.Register("launch", "launch GAMEID|PATH [--input gamepad|keyboard] [--disc N]", LaunchCommand);
}

} // namespace ravelo::cli
