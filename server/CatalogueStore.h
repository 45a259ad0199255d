#pragma once

#include "server/CatalogueRecords.h"
#include "server/ConnectionPool.h"
#include "server/GameListQuery.h"

#include <optional>
#include <string>
#include <vector>

namespace ravelo::server {

/// Read side of the catalogue: games, topics, advertisements, emulators and settings. Safe to call
/// from any number of request threads at once; each call borrows a connection from the pool.
/// Every operation throws SqliteError when the database fails.
class CatalogueStore
{
public:
    explicit CatalogueStore(ConnectionPool& pool) : m_pool(pool) {}

    /// One page of games; the per-dimension counts only when withGroups.
    GamePage FindGames(const GameFilter& filter, bool withGroups);
    std::optional<GameDetail> FindGameDetail(int gameId);
    std::optional<DownloadRecord> FindDownload(int gameId);

    std::vector<TopicRecord> Topics();
    std::optional<TopicRecord> FindTopic(int id);
    /// Advertisements of one home-page slot ("ads_index_left", "ads_index_gamedetail") in order.
    std::vector<AdRecord> Ads(const std::string& slot);
    /// Emulators in the order of the system keys of the emulator list, then by id.
    std::vector<EmulatorRecord> Emulators();

    /// A value of the settings table, or the fallback when the key is missing.
    std::string Setting(const std::string& key, const std::string& fallback = std::string());

private:
    ConnectionPool& m_pool;
};

} // namespace ravelo::server
