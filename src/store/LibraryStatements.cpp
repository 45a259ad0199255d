#include "store/LibraryStatements.h"

#include "store/LibraryRows.h"
#include "store/LibrarySchema.h"

namespace ravelo {

LibraryStatements::LibraryStatements(CppSQLite3DB& db) : m_db(db) {}

std::string LibraryStatements::Text(Slot slot)
{
    switch (slot) {
    case InsertGame:
        return LibraryRows::InsertStatement(LibraryRows::GameinfoTable());
    case DeleteGame:
        return "delete from Gameinfo where GameId = ?1;";
    case SelectGames:
        return "select * from Gameinfo;";
    case InsertLocalGame:
        return LibraryRows::InsertStatement(LibraryRows::LocalGameTable());
    case DeleteLocalGame:
        return "delete from LocalGame where FilePath = ?1;";
    case RenameLocalGame:
        return "update LocalGame set GameName = ?1, DbVer=?2 where FilePath = ?3;";
    case SelectLocalGames:
        return "select * from LocalGame;";
    case InsertDownload:
        return LibraryRows::InsertStatement(LibraryRows::DownloadInfoTable());
    case DeleteDownload:
        return "delete from DownloadInfo where GameId = ?1;";
    case UpdateDownload:
        // Every column but Id and the key GameId.
        return LibraryRows::UpdateStatement(LibraryRows::DownloadInfoTable(), 1, "GameId");
    case SelectDownloads:
        return "select * from DownloadInfo;";
    case SelectEmulators:
        return "select * from EmulatorInfo;";
    case InsertEmulator:
        return LibraryRows::InsertStatement(LibraryRows::EmulatorInfoTable());
    case DeleteEmulator:
        return "delete from EmulatorInfo where EmulatorId = ?1;";
    case UpdateEmulator:
        // Every column but Id, the key EmulatorId included.
        return LibraryRows::UpdateStatement(LibraryRows::EmulatorInfoTable(), 0, "EmulatorId");
    case BeginSlot:
        return "BEGIN IMMEDIATE;";
    case CommitSlot:
        return "COMMIT;";
    case RollbackSlot:
        return "ROLLBACK;";
    case SavepointSlot:
        return "SAVEPOINT library_command;";
    case ReleaseSlot:
        return "RELEASE library_command;";
    case RollbackToSlot:
        return "ROLLBACK TO library_command;";
    case SlotCount:
        break;
    }
    return {};
}

CppSQLite3Statement& LibraryStatements::Statement(Slot slot)
{
    if (!m_compiled[slot]) {
        m_statements[slot] = m_db.compileStatement(Text(slot));
        m_compiled[slot] = true;
    }
    return m_statements[slot];
}

void LibraryStatements::Write(Slot slot, const std::vector<std::string>& values, const std::string* key)
{
    CppSQLite3Statement& statement = Statement(slot);
    int parameter = 1;
    for (const auto& value : values)
        statement.bind(parameter++, value);
    if (key)
        statement.bind(parameter, *key);
    statement.execDML();
}

void LibraryStatements::Delete(Slot slot, const std::string& key)
{
    CppSQLite3Statement& statement = Statement(slot);
    statement.bind(1, key);
    statement.execDML();
}

template <typename Record, typename Reader>
void LibraryStatements::Load(Slot slot, std::vector<Record>& rows, Reader read)
{
    for (CppSQLite3Query query = Statement(slot).execQuery(); !query.eof(); query.nextRow())
        rows.push_back(read(query));
}

namespace {

template <typename Record>
const Record& Argument(const DbCommand& command)
{
    return *std::get<std::unique_ptr<Record>>(command.Argument);
}

const std::string& KeyText(const DbCommand& command)
{
    return std::get<std::string>(command.Argument);
}

// The caller's container of a load; it waits until the command completes.
template <typename Container>
Container& Output(const DbCommand& command)
{
    return *std::get<Container*>(*command.Output);
}

} // namespace

void LibraryStatements::Run(DbCommand& command)
{
    switch (command.Operation) {
    case DbOperation::AddGame:
        Write(InsertGame, LibraryRows::Values(Argument<Gameinfo>(command)));
        break;
    case DbOperation::RemoveGame:
        Delete(DeleteGame, KeyText(command));
        break;
    case DbOperation::LoadGames:
        Load(SelectGames, Output<std::vector<Gameinfo>>(command), &LibraryRows::ReadGameinfo);
        break;
    case DbOperation::AddLocalGame:
        Write(InsertLocalGame, LibraryRows::Values(Argument<LocalGame>(command)));
        break;
    case DbOperation::RemoveLocalGame:
        Delete(DeleteLocalGame, KeyText(command));
        break;
    case DbOperation::RenameLocalGame: {
        const auto& game = Argument<LocalGame>(command);
        Write(RenameLocalGame, {LibraryRows::EncodeWide(game.GameName), LibraryRows::TextVersion},
              &game.FilePath);
        break;
    }
    case DbOperation::LoadLocalGames:
        Load(SelectLocalGames, Output<std::vector<LocalGame>>(command), &LibraryRows::ReadLocalGame);
        break;
    case DbOperation::AddDownload:
        Write(InsertDownload, LibraryRows::Values(Argument<DownloadInfo>(command)));
        break;
    case DbOperation::RemoveDownload:
        Delete(DeleteDownload, KeyText(command));
        break;
    case DbOperation::UpdateDownload: {
        const auto& download = Argument<DownloadInfo>(command);
        auto values = LibraryRows::Values(download);
        values.erase(values.begin()); // GameId selects the row instead
        Write(UpdateDownload, values, &download.GameId);
        break;
    }
    case DbOperation::LoadDownloads: {
        auto& downloads = Output<DownloadMap>(command);
        for (CppSQLite3Query query = Statement(SelectDownloads).execQuery(); !query.eof(); query.nextRow()) {
            DownloadInfo download = LibraryRows::ReadDownloadInfo(query);
            // A game id already in the map (from the caller, or an earlier row) keeps its record.
            downloads.emplace(download.GameId, std::move(download));
        }
        break;
    }
    case DbOperation::RunStatement:
        m_db.execDML(KeyText(command));
        break;
    case DbOperation::CreateTables:
        LibrarySchema::CreateOrMigrate(m_db);
        break;
    case DbOperation::BeginTransaction:
        m_db.execDML("BEGIN TRANSACTION;");
        break;
    case DbOperation::CommitTransaction:
        m_db.execDML("COMMIT TRANSACTION; ");
        break;
    case DbOperation::LoadEmulators:
        Load(SelectEmulators, Output<std::vector<EmulatorInfo>>(command), &LibraryRows::ReadEmulatorInfo);
        break;
    case DbOperation::AddEmulator:
        Write(InsertEmulator, LibraryRows::Values(Argument<EmulatorInfo>(command)));
        break;
    case DbOperation::RemoveEmulator:
        Delete(DeleteEmulator, KeyText(command));
        break;
    case DbOperation::UpdateEmulator: {
        const auto& emulator = Argument<EmulatorInfo>(command);
        Write(UpdateEmulator, LibraryRows::Values(emulator), &emulator.EmulatorId);
        break;
    }
    }
}

void LibraryStatements::Begin()
{
    Statement(BeginSlot).execDML();
}

void LibraryStatements::Commit()
{
    Statement(CommitSlot).execDML();
}

void LibraryStatements::Rollback()
{
    Statement(RollbackSlot).execDML();
}

void LibraryStatements::Savepoint()
{
    Statement(SavepointSlot).execDML();
}

void LibraryStatements::ReleaseSavepoint()
{
    Statement(ReleaseSlot).execDML();
}

void LibraryStatements::RollbackToSavepoint()
{
    Statement(RollbackToSlot).execDML();
}

} // namespace ravelo
