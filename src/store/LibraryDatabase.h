#pragma once

#include "store/CppSQLite3DB.h"
#include "store/DbCommand.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

namespace ravelo {

class LibraryStatements;

/// The library database: installed games, imported games, unfinished downloads and installed
/// emulators in one SQLite file. One worker thread owns the connection and runs the posted
/// commands first in, first out; posting never waits for a running statement.
class LibraryDatabase
{
public:
    /// Opens (creating it and its folders) the given file, migrates its tables and starts the
    /// worker. Never throws for a bad file: the failure goes to DebugOutput and OpenError(), and
    /// every command then fails (waiters are still woken).
    explicit LibraryDatabase(const std::string& filePath);

    LibraryDatabase(const LibraryDatabase&) = delete;
    LibraryDatabase& operator=(const LibraryDatabase&) = delete;

    /// Shutdown().
    ~LibraryDatabase();

    /// Any thread but the worker; idempotent. Runs every command still queued, then stops and joins
    /// the worker and closes the file. Later posts are dropped (a waiting post returns false).
    void Shutdown();

    /// Any thread; returns at once. The argument is moved into the command and destroyed by the
    /// worker after it ran; pass a copy to keep a record. A wrong argument kind is refused (debug
    /// output) and nothing is queued.
    void Post(DbOperation operation, DbArgument argument = {});

    /// Any thread but the worker; returns after the command ran and its transaction committed, so
    /// the change is on disk. False when the statement failed or the argument does not fit.
    bool PostWait(DbOperation operation, DbArgument argument = {});

    /// Any thread but the worker; runs a load and returns with its rows appended to the caller's
    /// container (which must stay untouched until then). False when the load failed or the
    /// container does not fit the operation.
    bool PostWait(DbOperation operation, DbOutput output);

    /// Whether the file was opened and its tables checked; when not, OpenError() holds the
    /// wrapper's message.
    bool IsReady() const { return m_openError.empty(); }
    const std::string& OpenError() const { return m_openError; }
    const std::string& FilePath() const { return m_filePath; }

    /// Commands posted but not yet taken up by the worker.
    std::size_t QueuedCount() const;

private:
    bool Enqueue(DbCommand command);
    void WorkerLoop();
    void RunBatch(std::deque<DbCommand>& batch, LibraryStatements& statements);
    void RunGroup(std::deque<DbCommand>& batch, std::size_t first, std::size_t last,
                  LibraryStatements& statements);
    bool RunAlone(DbCommand& command, LibraryStatements& statements);
    static void Complete(DbCommand& command, bool succeeded);

    std::string m_filePath;
    std::string m_openError;
    CppSQLite3DB m_db;

    mutable std::mutex m_queueLock;
    std::condition_variable m_queueSignal;
    std::deque<DbCommand> m_queue;
    bool m_stop = false;
    bool m_workerEnded = false;
    std::mutex m_shutdownLock; // one joiner at a time
    std::thread m_worker;
};

} // namespace ravelo
