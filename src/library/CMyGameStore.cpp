#include "library/CMyGameStore.h"

#include "platform/DebugOutput.h"
#include "store/LibraryDatabase.h"

namespace ravelo {

CMyGameStore::CMyGameStore(LibraryDatabase& database) : m_database(database)
{
    std::vector<Gameinfo> installed;
    if (!m_database.PostWait(DbOperation::LoadGames, &installed))
        DebugOutput("my games: loading the installed games failed");
    std::vector<LocalGame> local;
    if (!m_database.PostWait(DbOperation::LoadLocalGames, &local))
        DebugOutput("my games: loading the local games failed");
    for (Gameinfo& game : installed)
        m_installedGames[game.GameId] = std::move(game);
    for (LocalGame& game : local)
        m_localGames[game.FilePath] = std::move(game);
}

bool CMyGameStore::HasLocalGame(const std::string& filePath) const
{
    std::lock_guard lock(m_lock);
    const auto found = m_localGames.find(filePath);
    return found != m_localGames.end() && !(found->second == LocalGame{});
}

bool CMyGameStore::InsertLocalGame(const LocalGame& game)
{
    if (game.FilePath.empty())
        return false;
    std::lock_guard lock(m_lock);
    LocalGame& slot = m_localGames[game.FilePath];
    if (!(slot == LocalGame{}))
        return false;
    slot = game;
    return true;
}

bool CMyGameStore::RemoveLocalGame(const std::string& filePath)
{
    std::lock_guard lock(m_lock);
    return m_localGames.erase(filePath) > 0;
}

bool CMyGameStore::RenameLocalGame(const std::string& filePath, const std::u16string& newName)
{
    std::lock_guard lock(m_lock);
    const auto found = m_localGames.find(filePath);
    if (found == m_localGames.end())
        return false;
    found->second.GameName = newName;
    return true;
}

std::optional<LocalGame> CMyGameStore::FindLocalGame(const std::string& filePath) const
{
    std::lock_guard lock(m_lock);
    const auto found = m_localGames.find(filePath);
    if (found == m_localGames.end())
        return std::nullopt;
    return found->second;
}

std::vector<LocalGame> CMyGameStore::LocalGames() const
{
    std::lock_guard lock(m_lock);
    std::vector<LocalGame> games;
    games.reserve(m_localGames.size());
    for (const auto& [path, game] : m_localGames)
        games.push_back(game);
    return games;
}

bool CMyGameStore::HasInstalledGame(const std::string& gameId) const
{
    std::lock_guard lock(m_lock);
    return m_installedGames.count(gameId) > 0;
}

void CMyGameStore::PutInstalledGame(const Gameinfo& game)
{
    std::lock_guard lock(m_lock);
    m_installedGames[game.GameId] = game;
}

bool CMyGameStore::RemoveInstalledGame(const std::string& gameId)
{
    std::lock_guard lock(m_lock);
    return m_installedGames.erase(gameId) > 0;
}

std::vector<Gameinfo> CMyGameStore::InstalledGames() const
{
    std::lock_guard lock(m_lock);
    std::vector<Gameinfo> games;
    games.reserve(m_installedGames.size());
    for (const auto& [id, game] : m_installedGames)
        games.push_back(game);
    return games;
}

} // namespace ravelo
