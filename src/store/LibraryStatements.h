#pragma once

#include "store/CppSQLite3DB.h"
#include "store/DbCommand.h"

#include <array>
#include <string>

namespace ravelo {

/// The statements of the library commands, compiled once and reused with bound values, plus the
/// transaction and savepoint statements the worker wraps them in. Lives on the worker thread and
/// must be destroyed before the connection closes.
class LibraryStatements
{
public:
    /// Borrows the connection.
    explicit LibraryStatements(CppSQLite3DB& db);

    /// Runs the statement of one command; a load appends to the caller's container as it reads.
    /// Throws CppSQLite3Exception on any failure. The argument must fit the operation.
    void Run(DbCommand& command);

    void Begin();
    void Commit();
    void Rollback();
    void Savepoint();
    void ReleaseSavepoint();
    void RollbackToSavepoint();

private:
    enum Slot
    {
        InsertGame,
        DeleteGame,
        SelectGames,
        InsertLocalGame,
        DeleteLocalGame,
        RenameLocalGame,
        SelectLocalGames,
        InsertDownload,
        DeleteDownload,
        UpdateDownload,
        SelectDownloads,
        SelectEmulators,
        InsertEmulator,
        DeleteEmulator,
        UpdateEmulator,
        BeginSlot,
        CommitSlot,
        RollbackSlot,
        SavepointSlot,
        ReleaseSlot,
        RollbackToSlot,
        SlotCount
    };

    CppSQLite3Statement& Statement(Slot slot);
    static std::string Text(Slot slot);
    void Write(Slot slot, const std::vector<std::string>& values, const std::string* key = nullptr);
    void Delete(Slot slot, const std::string& key);
    template <typename Record, typename Reader>
    void Load(Slot slot, std::vector<Record>& rows, Reader read);

    CppSQLite3DB& m_db;
    std::array<CppSQLite3Statement, SlotCount> m_statements;
    std::array<bool, SlotCount> m_compiled{};
};

} // namespace ravelo
