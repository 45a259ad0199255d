#pragma once

#include "library/ManualResetEvent.h"
#include "store/Gameinfo.h"
#include "store/LocalGame.h"

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace ravelo {

class LibraryDatabase;

/// The my-games store: installed catalogue games keyed by game id and imported local games keyed
/// by file path, loaded once from the library database. It owns its records; readers get copies.
/// Every operation takes the one store lock, so the scan worker, the drop importer and the UI
/// thread may call it concurrently.
class CMyGameStore
{
public:
    /// Loads both maps from the given database, waiting for it. A failed load leaves that map
    /// empty (debug output); the store still works in memory.
    explicit CMyGameStore(LibraryDatabase& database);
    CMyGameStore(const CMyGameStore&) = delete;
    CMyGameStore& operator=(const CMyGameStore&) = delete;

    /// Whether a local game with this file path and a non-empty record is present.
    bool HasLocalGame(const std::string& filePath) const;
    /// Inserts the record under its FilePath; false (nothing changed) when that path is present or
    /// the path is empty. Check and insert happen under one lock, so each file is inserted once.
    bool InsertLocalGame(const LocalGame& game);
    /// Removes the local game; false when it was not present.
    bool RemoveLocalGame(const std::string& filePath);
    /// Renames the local game; false when it is not present.
    bool RenameLocalGame(const std::string& filePath, const std::u16string& newName);
    std::optional<LocalGame> FindLocalGame(const std::string& filePath) const;
    /// A copy of every local game, in file-path order.
    std::vector<LocalGame> LocalGames() const;

    bool HasInstalledGame(const std::string& gameId) const;
    /// Inserts or replaces the installed game under its GameId.
    void PutInstalledGame(const Gameinfo& game);
    bool RemoveInstalledGame(const std::string& gameId);
    std::vector<Gameinfo> InstalledGames() const;

    LibraryDatabase& Database() const { return m_database; }
    ManualResetEvent& InstalledFillDone() { return m_installedFillDone; }
    ManualResetEvent& LocalFillDone() { return m_localFillDone; }

private:
    LibraryDatabase& m_database;
    mutable std::mutex m_lock;
    std::map<std::string, Gameinfo> m_installedGames;
    std::map<std::string, LocalGame> m_localGames;
    ManualResetEvent m_installedFillDone{true};
    ManualResetEvent m_localFillDone{true};
};

} // namespace ravelo
