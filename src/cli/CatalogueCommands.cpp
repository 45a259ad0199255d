#include "cli/CatalogueCommands.h"

#include "app/Engines.h"
#include "cli/CliOutput.h"
#include "platform/MessageQueue.h"
#include "platform/Translate.h"
#include "service/CGameList.h"
#include "service/CatalogueClient.h"
#include "service/CatalogueMessages.h"

#include <charconv>
#include <chrono>
#include <optional>

namespace ravelo::cli {
namespace {

// Every request ends within its own time-outs; this only guards against a lost message.
constexpr std::chrono::seconds kResultWait{60};

std::optional<int> ParseNumber(const std::string& text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0)
        return std::nullopt;
    return value;
}

std::optional<int> ParseOrder(const std::string& text)
{
    if (text == "recommend")
        return 0;
    if (text == "new")
        return 1;
    if (text == "hot")
        return 2;
    return std::nullopt;
}

/// Waits for the list a slot posts and prints it; failureText prefixes the reason of a failure.
int PrintListResult(MessageQueue& queue, std::uint32_t readyMessage, const std::string& failureText)
{
    const auto deadline = std::chrono::steady_clock::now() + kResultWait;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        std::optional<Message> message = queue.Wait(std::max(left, std::chrono::milliseconds(0)));
        if (!message) {
            PrintError(failureText + Tr(": 等待服务器应答超时"));
            return 1;
        }
        if (message->id == UM_REQUEST_FAILED) {
            const auto reason = message->TakePayload<std::string>();
            PrintError(failureText + ": " + (reason && !reason->empty() ? *reason : Tr("请求失败")));
            return 1;
        }
        if (message->id != readyMessage)
            continue;
        const auto list = message->TakePayload<CGameList>();
        if (!list) {
            PrintError(failureText + Tr(": 请求失败"));
            return 1;
        }
        // A null entry decodes to a game without an id: nothing to show or install.
        for (const auto& game : list->gamelist)
            if (!game->gameid.empty())
                PrintGameLine(*game);
        return 0;
    }
}

int ListCommand(Engines& engines, const Arguments& args)
{
    const std::string failureText = Tr("获取游戏列表失败");
    int system = 0, category = 0, order = 0, page = 1;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (i + 1 >= args.size()) {
            PrintError(Tr("参数错误: ") + option + Tr(" 缺少取值"));
            return 1;
        }
        const std::string& value = args[++i];
        std::optional<int> parsed;
        if (option == "--system" || option == "--category" || option == "--page")
            parsed = ParseNumber(value);
        else if (option == "--order")
            parsed = ParseOrder(value);
        else {
            PrintError(Tr("参数错误: 未知选项 ") + option);
            return 1;
        }
        if (!parsed || (option == "--page" && *parsed < 1)) {
            PrintError(Tr("参数错误: ") + option + Tr(" 的取值无效: ") + value);
            return 1;
        }
        (option == "--system"     ? system
         : option == "--category" ? category
         : option == "--page"     ? page
                                  : order) = *parsed;
    }
    MessageQueue queue;
    if (!engines.Catalogue().StartGameList(queue.Handle(), category, system, order, 0, page)) {
        PrintError(failureText + Tr(": 上一个请求尚未结束"));
        return 1;
    }
    return PrintListResult(queue, UM_GAMELIST_READY, failureText);
}

int SearchCommand(Engines& engines, const Arguments& args)
{
    const std::string failureText = Tr("搜索游戏失败");
    std::string keyword;
    for (const std::string& word : args)
        keyword += (keyword.empty() ? "" : " ") + word;
    if (keyword.empty()) {
        PrintError(Tr("参数错误: 请输入要搜索的文字"));
        return 1;
    }
    MessageQueue queue;
    if (!engines.Catalogue().StartSearch(queue.Handle(), 0, 0, 0, 0, 1, keyword)) {
        PrintError(failureText + Tr(": 上一个请求尚未结束"));
        return 1;
    }
    return PrintListResult(queue, UM_SEARCH_READY, failureText);
}

int InfoCommand(Engines& engines, const Arguments& args)
{
    bool useCache = true;
    std::string gameid;
    for (const std::string& arg : args) {
        if (arg == "--no-cache")
            useCache = false;
        else if (gameid.empty())
            gameid = arg;
        else {
            PrintError(Tr("参数错误: 多余的参数 ") + arg);
            return 1;
        }
    }
    if (gameid.empty()) {
        PrintError(Tr("参数错误: 请指定游戏编号"));
        return 1;
    }
    MessageQueue queue;
    CGame game;
    game.gameid = gameid;
    std::string failure;
    // The detail request runs on the caller's thread; its messages are all queued when it returns.
    if (!engines.Catalogue().FetchGameDetail(game, useCache, true, queue.Handle(), &failure)) {
        PrintError(Tr("获取游戏详情失败: ") + (failure.empty() ? std::string(Tr("请求失败")) : failure));
        return 1;
    }
    PrintGameLine(game);
    PrintDetail("orgname", Field(game.orgname));
    PrintDetail("language", Field(game.language));
    PrintDetail("category", Field(game.categoryshortname));
    PrintDetail("version", game.version);
    PrintDetail("rating", game.rating);
    PrintDetail("downloads", game.downloads);
    PrintDetail("updated", game.updatedtime);
    while (std::optional<Message> message = queue.Wait(std::chrono::milliseconds(0))) {
        if (message->id == UM_DETAIL_DESCRIPTION) {
            if (const auto text = message->TakePayload<std::u16string>())
                PrintDetail("description", Field(*text));
        } else if (message->id == UM_DETAIL_SCREENSHOT) {
            if (const auto address = message->TakePayload<std::string>())
                PrintDetail("screenshot", *address);
        }
    }
    return 0;
}

} // namespace

void RegisterCatalogueCommands(CommandDispatcher& dispatcher)
{
    dispatcher.Register("list", "list [--system N] [--category N] [--order recommend|new|hot] [--page P]",
                        ListCommand);
    dispatcher.Register("search", "search WORDS...", SearchCommand);
    dispatcher.Register("info", "info [--no-cache] GAMEID", InfoCommand);
}

} // namespace ravelo::cli
