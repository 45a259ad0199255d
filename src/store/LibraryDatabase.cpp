#include "store/LibraryDatabase.h"

#include "platform/DebugOutput.h"
#include "platform/FileSystem.h"
#include "platform/StartThread.h"
#include "store/CppSQLite3Exception.h"
#include "store/LibrarySchema.h"
#include "store/LibraryStatements.h"

#include <atomic>
#include <exception>
#include <memory>
#include <vector>

namespace ravelo {
namespace {

// Commands that manage transactions or run arbitrary text cannot sit inside the worker's own
// transaction, and a load fills its caller's container as it reads, so it must run exactly once
// (a group may be run twice). These run on their own, between groups.
bool RunsAlone(DbOperation operation)
{
    switch (operation) {
    case DbOperation::RunStatement:
    case DbOperation::CreateTables:
    case DbOperation::BeginTransaction:
    case DbOperation::CommitTransaction:
    case DbOperation::LoadGames:
    case DbOperation::LoadLocalGames:
    case DbOperation::LoadDownloads:
    case DbOperation::LoadEmulators:
        return true;
    default:
        return false;
    }
}

void ReportFailure(const DbCommand& command, const char* message)
{
    DebugOutput("library database: command " + std::to_string(static_cast<int>(command.Operation)) +
                " failed: " + (message ? message : "unknown error"));
}

} // namespace

LibraryDatabase::LibraryDatabase(const std::string& filePath) : m_filePath(filePath)
{
    CreateFolderChain(m_filePath);
    try {
        m_db.setBusyTimeout(60000);
        m_db.open(m_filePath);
        // WAL: a commit is complete once written, so a killed process loses no committed row, and
        // readers never block the writer. NORMAL sync is enough for process crashes.
        m_db.execDML("PRAGMA journal_mode=WAL;");
        m_db.execDML("PRAGMA synchronous=NORMAL;");
        LibrarySchema::CreateOrMigrate(m_db);
    } catch (const CppSQLite3Exception& error) {
        m_openError = error.errorMessage() ? error.errorMessage() : "CPPSQLITE_ERROR";
        DebugOutput("library database " + m_filePath + ": " + m_openError);
    }
    m_worker = StartThread(&LibraryDatabase::WorkerLoop, this);
}

LibraryDatabase::~LibraryDatabase()
{
    Shutdown();
}

void LibraryDatabase::Shutdown()
{
    {
        std::lock_guard guard(m_queueLock);
        m_stop = true;
    }
    m_queueSignal.notify_one();
    std::lock_guard guard(m_shutdownLock);
    if (m_worker.joinable())
        m_worker.join();
    try {
        m_db.close();
    } catch (const CppSQLite3Exception& error) {
        DebugOutput(std::string("library database: ") + (error.errorMessage() ? error.errorMessage() : ""));
    }
}

void LibraryDatabase::Post(DbOperation operation, DbArgument argument)
{
    if (!ArgumentFits(operation, argument)) {
        DebugOutput("library database: command " + std::to_string(static_cast<int>(operation)) +
                    " refused: wrong argument");
        return;
    }
    DbCommand command;
    command.Operation = operation;
    command.Argument = DbCommand::Box(std::move(argument));
    if (!Enqueue(std::move(command)))
        DebugOutput("library database: command posted after shutdown, dropped");
}

bool LibraryDatabase::PostWait(DbOperation operation, DbArgument argument)
{
    if (!ArgumentFits(operation, argument)) {
        DebugOutput("library database: command " + std::to_string(static_cast<int>(operation)) +
                    " refused: wrong argument");
        return false;
    }
    DbCommand command;
    command.Operation = operation;
    command.Argument = DbCommand::Box(std::move(argument));
    std::future<bool> done = command.Completion.emplace().get_future();
    if (!Enqueue(std::move(command)))
        return false;
    return done.get();
}

bool LibraryDatabase::PostWait(DbOperation operation, DbOutput output)
{
    if (!OutputFits(operation, output)) {
        DebugOutput("library database: load " + std::to_string(static_cast<int>(operation)) +
                    " refused: wrong container");
        return false;
    }
    DbCommand command;
    command.Operation = operation;
    command.Output = output;
    std::future<bool> done = command.Completion.emplace().get_future();
    if (!Enqueue(std::move(command)))
        return false;
    return done.get();
}

std::size_t LibraryDatabase::QueuedCount() const
{
    std::lock_guard guard(m_queueLock);
    return m_queue.size();
}

bool LibraryDatabase::Enqueue(DbCommand command)
{
    bool wasEmpty = false;
    {
        std::lock_guard guard(m_queueLock);
        if (m_workerEnded)
            return false;
        wasEmpty = m_queue.empty();
        m_queue.push_back(std::move(command));
    }
    // The worker only ever waits on an empty queue, so only the first command needs to wake it.
    if (wasEmpty)
        m_queueSignal.notify_one();
    return true;
}

void LibraryDatabase::WorkerLoop()
{
    LibraryStatements statements(m_db);
    for (;;) {
        std::deque<DbCommand> batch;
        {
            std::unique_lock lock(m_queueLock);
            m_queueSignal.wait(lock, [this] { return m_stop || !m_queue.empty(); });
            if (m_queue.empty()) {
                m_workerEnded = true;
                return;
            }
            // Everything queued so far; the lock is given back before any statement runs.
            batch.swap(m_queue);
        }
        RunBatch(batch, statements);
    }
}

void LibraryDatabase::RunBatch(std::deque<DbCommand>& batch, LibraryStatements& statements)
{
    std::size_t first = 0;
    while (first < batch.size()) {
        if (RunsAlone(batch[first].Operation)) {
            Complete(batch[first], RunAlone(batch[first], statements));
            ++first;
            continue;
        }
        std::size_t last = first;
        while (last < batch.size() && !RunsAlone(batch[last].Operation))
            ++last;
        RunGroup(batch, first, last, statements);
        first = last;
    }
}

void LibraryDatabase::RunGroup(std::deque<DbCommand>& batch, std::size_t first, std::size_t last,
                               LibraryStatements& statements)
{
    if (last - first == 1) {
        Complete(batch[first], RunAlone(batch[first], statements));
        return;
    }
    // One transaction for the group, one savepoint per command: a failing command undoes only
    // itself. The transaction takes the write lock at once, so that another process holding it
    // makes the worker wait (busy timeout) rather than fail half-way through the group. A
    // transaction that a client opened (operation 15) is left to that client.
    const bool ownTransaction = !m_db.inTransaction();
    std::vector<char> succeeded(last - first, 0);
    std::string groupFailure;
    try {
        if (ownTransaction)
            statements.Begin();
        for (std::size_t k = first; k < last; ++k) {
            statements.Savepoint();
            try {
                statements.Run(batch[k]);
                succeeded[k - first] = 1;
            } catch (const CppSQLite3Exception& error) {
                ReportFailure(batch[k], error.errorMessage());
            } catch (const std::exception& error) {
                ReportFailure(batch[k], error.what());
            }
            if (succeeded[k - first]) {
                statements.ReleaseSavepoint();
                continue;
            }
            // Some errors (a full disk, say) end the whole transaction; then the group's earlier
            // work is gone and the group is run again command by command.
            if (!m_db.inTransaction())
                throw CppSQLite3Exception(CPPSQLITE_ERROR, "transaction rolled back");
            statements.RollbackToSavepoint();
            statements.ReleaseSavepoint();
        }
        if (ownTransaction)
            statements.Commit();
    } catch (const CppSQLite3Exception& error) {
        groupFailure = error.errorMessage() ? error.errorMessage() : "CPPSQLITE_ERROR";
    } catch (const std::exception& error) {
        groupFailure = error.what();
    }
    if (!groupFailure.empty()) {
        DebugOutput("library database: group of commands failed, running them one by one: " + groupFailure);
        if (ownTransaction && m_db.inTransaction()) {
            try {
                statements.Rollback();
            } catch (const CppSQLite3Exception&) {
            }
        }
        for (std::size_t k = first; k < last; ++k)
            Complete(batch[k], RunAlone(batch[k], statements));
        return;
    }
    // Waiters wake only now, after the commit: a returned PostWait means the row is on disk.
    for (std::size_t k = first; k < last; ++k)
        Complete(batch[k], succeeded[k - first] != 0);
}

bool LibraryDatabase::RunAlone(DbCommand& command, LibraryStatements& statements)
{
    try {
        statements.Run(command);
        return true;
    } catch (const CppSQLite3Exception& error) {
        ReportFailure(command, error.errorMessage());
    } catch (const std::exception& error) {
        ReportFailure(command, error.what());
    }
    return false;
}

void LibraryDatabase::Complete(DbCommand& command, bool succeeded)
{
    if (command.Completion)
        command.Completion->set_value(succeeded);
    // The command owned its argument; it goes now rather than with the rest of the batch.
    command.Argument = std::monostate{};
}

} // namespace ravelo
