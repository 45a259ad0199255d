#include "cli/EmulatorCommands.h"

#include "app/Engines.h"
#include "cli/CliEmulatorHost.h"
#include "cli/CliOutput.h"
#include "cli/InterruptWatcher.h"
#include "emulator/CEmulatorManager.h"
#include "platform/MessageQueue.h"
#include "platform/Translate.h"
#include "store/LibraryDatabase.h"
#include "systems/SystemTable.h"

#include <cstdio>
#include <map>

namespace ravelo::cli {
namespace {

void PrintEmulatorLine(const EmulatorInfo& record, bool installed)
{
    std::printf("%s\t%s\t%s\t%s\t%s\n", Field(record.EmulatorId).c_str(), Field(record.Name).c_str(),
                Field(record.Version).c_str(), Field(SystemNumberToCode(record.Emulatortype)).c_str(),
                installed ? "installed" : "available");
}

int EmulatorsCommand(Engines& engines, const Arguments& args)
{
    if (!args.empty()) {
        PrintError(Tr("参数错误: emulators 不带参数"));
        return 1;
    }
    CEmulatorManager& registry = engines.LoadedEmulators();
    // Installed ones show what is on disk; the rest of the server's list follows in id order.
    std::map<std::string, std::pair<EmulatorInfo, bool>> lines;
    for (const EmulatorInfo& record : registry.Available())
        lines.try_emplace(record.EmulatorId, record, false);
    for (const EmulatorInfo& record : registry.Installed())
        lines.insert_or_assign(record.EmulatorId, std::pair(record, true));
    for (const auto& [id, line] : lines)
        PrintEmulatorLine(line.first, line.second);
    if (registry.Available().empty())
        std::fputs(Tr("无法获取模拟器列表\n"), stderr);
    return 0;
}

int EmulatorCommand(Engines& engines, const Arguments& args)
{
    if (args.size() != 2 || args[0] != "install") {
        PrintError(Tr("参数错误: 用法 emulator install ID"));
        return 1;
    }
    MessageQueue interrupts;
    // Before the registry starts its threads, so that Ctrl-C reaches only the watcher and cancels.
    const InterruptWatcher watcher(interrupts.Handle(), UM_CLI_INTERRUPT);
    CEmulatorManager& registry = engines.LoadedEmulators();
    if (const std::optional<EmulatorInfo> installed = registry.FindInstalled(args[1])) {
        std::fputs(Tr("模拟器已安装\n"), stderr);
        PrintEmulatorLine(*installed, true);
        return 0;
    }
    const std::optional<EmulatorInfo> offered = registry.FindAvailable(args[1]);
    if (!offered) {
        PrintError(registry.Available().empty() ? Tr("无法获取模拟器列表") : Tr("没有该模拟器: ") + args[1]);
        return 1;
    }
    CliEmulatorHost host(&interrupts);
    if (!registry.Install(*offered, 0, host)) {
        if (host.Cancelled())
            PrintError(Tr("已取消"));
        return 1;
    }
    // The row is written by the library worker; a load queued behind it returns once it is on disk.
    std::vector<EmulatorInfo> rows;
    if (!engines.Database().PostWait(DbOperation::LoadEmulators, &rows)) {
        PrintError(Tr("写入游戏库失败"));
        return 1;
    }
    PrintEmulatorLine(*offered, true);
    return 0;
}

} // namespace

void RegisterEmulatorCommands(CommandDispatcher& dispatcher)
{
    dispatcher.Register("emulators", "emulators", EmulatorsCommand);
    dispatcher.Register("emulator", "emulator install ID", EmulatorCommand);
}

} // namespace ravelo::cli
