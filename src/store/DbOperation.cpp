#include "store/DbOperation.h"

namespace ravelo {

bool ArgumentFits(DbOperation operation, const DbArgument& argument)
{
    switch (operation) {
    case DbOperation::AddGame:
        return std::holds_alternative<Gameinfo>(argument);
    case DbOperation::AddLocalGame:
    case DbOperation::RenameLocalGame:
        return std::holds_alternative<LocalGame>(argument);
    case DbOperation::AddDownload:
    case DbOperation::UpdateDownload:
        return std::holds_alternative<DownloadInfo>(argument);
    case DbOperation::AddEmulator:
    case DbOperation::UpdateEmulator:
        return std::holds_alternative<EmulatorInfo>(argument);
    case DbOperation::RemoveGame:
    case DbOperation::RemoveLocalGame:
    case DbOperation::RemoveDownload:
    case DbOperation::RunStatement:
    case DbOperation::RemoveEmulator:
        return std::holds_alternative<std::string>(argument);
    case DbOperation::LoadGames:
    case DbOperation::LoadLocalGames:
    case DbOperation::LoadDownloads:
    case DbOperation::LoadEmulators:
        return false; // a load takes an output container, not an argument
    case DbOperation::CreateTables:
    case DbOperation::BeginTransaction:
    case DbOperation::CommitTransaction:
        return std::holds_alternative<std::monostate>(argument);
    }
    return false;
}

bool OutputFits(DbOperation operation, const DbOutput& output)
{
    const bool notNull = std::visit([](auto* container) { return container != nullptr; }, output);
    switch (operation) {
    case DbOperation::LoadGames:
        return notNull && std::holds_alternative<std::vector<Gameinfo>*>(output);
    case DbOperation::LoadLocalGames:
        return notNull && std::holds_alternative<std::vector<LocalGame>*>(output);
    case DbOperation::LoadDownloads:
        return notNull && std::holds_alternative<DownloadMap*>(output);
    case DbOperation::LoadEmulators:
        return notNull && std::holds_alternative<std::vector<EmulatorInfo>*>(output);
    default:
        return false;
    }
}

} // namespace ravelo
