#include "cli/LocalCommands.h"

#include "app/Engines.h"
#include "cli/CliOutput.h"
#include "library/CMyGameStore.h"
#include "library/LocalGameFiles.h"
#include "library/LocalGameImporter.h"
#include "platform/Translate.h"
#include "settings/AppPaths.h"
#include "store/LibraryDatabase.h"
#include "systems/SystemTable.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>

namespace ravelo::cli {
namespace {

void PrintLocalGame(const LocalGame& game)
{
    std::printf("%s\t%s\t%s\t%s\n", Field(game.FilePath).c_str(), Field(game.GameName).c_str(),
                Field(game.EmulatorId).c_str(), Field(game.Size).c_str());
}

// The posted row writes are queued before this load, so once it returns they are on disk.
bool FlushLibrary(CMyGameStore& store)
{
    std::vector<LocalGame> rows;
    return store.Database().PostWait(DbOperation::LoadLocalGames, &rows);
}

// A system given as its code ("FC", any case) or its number ("125"); -1 when it names none.
int SystemNumberOf(const std::string& text)
{
    if (!text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return text.size() <= 4 && !SystemNumberToCode(std::stoi(text)).empty() ? std::stoi(text) : -1;
    std::string upper = text;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; });
    if (upper == SystemNumberToCode(kAllSystems))
        return kAllSystems;
    const std::string number = SystemCodeToNumber(upper);
    return number.empty() ? -1 : std::stoi(number);
}

int ImportCommand(Engines& engines, const Arguments& args)
{
    std::vector<std::string> paths;
    int system = -2;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--system" && i + 1 < args.size()) {
            system = SystemNumberOf(args[++i]);
            if (system < 0) {
                PrintError(Tr("参数错误: 未知的机种 ") + args[i]);
                return 1;
            }
        } else if (args[i].rfind("--", 0) == 0) {
            PrintError(Tr("参数错误: ") + args[i]);
            return 1;
        } else {
            std::error_code error;
            const std::filesystem::path absolute = std::filesystem::absolute(args[i], error);
            paths.push_back(error ? args[i] : absolute.lexically_normal().string());
        }
    }
    if (paths.empty() || system == -2) {
        PrintError(Tr("参数错误: 用法 import PATH... --system CODE"));
        return 1;
    }
    if (ExtensionListOf(SystemNumberToCode(system)).empty()) {
        PrintError(Tr("该机种不能导入本地游戏,请指定具体的机种"));
        return 1;
    }
    CMyGameStore& store = engines.MyGames();
    const std::atomic<bool> stop{false};
    const std::vector<LocalGame> imported = LocalGameImporter(store, 0).ImportPaths(paths, system, stop);
    for (const LocalGame& game : imported)
        PrintLocalGame(game);
    if (!FlushLibrary(store)) {
        PrintError(Tr("写入游戏库失败"));
        return 1;
    }
    if (imported.empty())
        std::fputs(Tr("没有导入新的游戏\n"), stderr);
    return 0;
}

int ScanCommand(Engines& engines, const Arguments& args)
{
    if (!args.empty()) {
        PrintError(Tr("参数错误: scan 不带参数"));
        return 1;
    }
    if (LocalGameFolder().empty()) {
        PrintError(Tr("尚未设置游戏目录: 请在 ") + SettingsFilePath + Tr(" 的 [Set] 中设置 RomPath"));
        return 1;
    }
    CMyGameStore& store = engines.MyGames();
    LocalGameImporter importer(store, 0);
    for (const auto& [path, code] : ScanSystemFolders(kAllSystems))
        if (const std::optional<LocalGame> game = importer.ImportFoundFile(path, code))
            PrintLocalGame(*game);
    if (!FlushLibrary(store)) {
        PrintError(Tr("写入游戏库失败"));
        return 1;
    }
    return 0;
}

int LocalCommand(Engines& engines, const Arguments& args)
{
    if (!args.empty()) {
        PrintError(Tr("参数错误: local 不带参数"));
        return 1;
    }
    std::vector<LocalGame> games;
    if (!engines.Database().PostWait(DbOperation::LoadLocalGames, &games)) {
        PrintError(Tr("读取游戏库失败"));
        return 1;
    }
    std::sort(games.begin(), games.end(),
              [](const LocalGame& a, const LocalGame& b) { return a.FilePath < b.FilePath; });
    for (const LocalGame& game : games)
        PrintLocalGame(game);
    return 0;
}

} // namespace

void RegisterLocalCommands(CommandDispatcher& dispatcher)
{
    dispatcher.Register("import", "import PATH... --system CODE", ImportCommand);
    dispatcher.Register("scan", "scan", ScanCommand);
    dispatcher.Register("local", "local", LocalCommand);
}

} // namespace ravelo::cli
