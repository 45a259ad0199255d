#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ravelo::server {

/// One catalogue game as the lists show it.
struct GameRecord
{
    int id = 0;
    std::string name;    ///< display title (Chinese)
    std::string orgName; ///< untranslated title (Latin)
    std::string icon;    ///< picture address, a path under the picture host
    int system = 0;      ///< system number, e.g. 125
    std::string systemCode;
    int category = 0;
    std::string categoryName;
    int language = 0;
    std::string languageName;
    std::string version;
    std::string updatedTime;
    std::int64_t downloads = 0;
    std::int64_t good = 0;
    std::int64_t bad = 0;
    std::string rating;
    int minPlayers = 1;
    int maxPlayers = 1;
    std::int64_t archiveSize = 0;
    std::int64_t needSize = 0;
};

/// A game with the detail page's extra fields.
struct GameDetail
{
    GameRecord game;
    std::string description;
    std::vector<std::string> screens; ///< picture addresses
};

/// One file of a game as it lies in the game folder once installed.
struct FileCheck
{
    std::string path;
    std::int64_t size = 0;
    std::string md5;
};

/// One volume of an archive: a byte range of it kept as a file of its own.
struct VolumeRecord
{
    int number = 0;
    std::string path; ///< under the download root
    std::int64_t size = 0;
};

/// Where a game's files are and how to check them.
struct DownloadRecord
{
    int gameId = 0;
    std::string archive; ///< under the download root
    std::int64_t archiveSize = 0;
    std::string archiveMd5;
    std::string fileName;
    std::int64_t needSize = 0;
    std::string unpacked; ///< under the download root; empty when the game has no unpacked variant
    std::vector<std::string> cloudLinks;
    std::vector<FileCheck> files;
    std::vector<VolumeRecord> volumes; ///< empty unless the game comes in volumes
};

/// Matches per value of one filter dimension.
struct GroupCount
{
    int id = 0;
    std::string name;
    std::int64_t count = 0;
};

/// One page of a game list with the total and the per-dimension counts.
struct GamePage
{
    std::int64_t total = 0;
    std::vector<GameRecord> games;
    std::vector<GroupCount> categories;
    std::vector<GroupCount> systems;
    std::vector<GroupCount> languages;
};

struct TopicRecord
{
    int id = 0;
    std::string name;
    std::string desc;
    std::string icon;
    std::string banner;
    std::int64_t count = 0;
};

struct AdRecord
{
    int id = 0;
    std::string title;
    std::string target;
    std::string action;
    std::string icon;
    std::string desc;
    int order = 0;
};

struct EmulatorRecord
{
    std::string emulatorId;
    int system = 0;
    std::string systemKey; ///< lower-case key of the system's array in the list
    std::string systemCode;
    std::string name;
    std::string version;
    std::string package; ///< under the download root
    std::string updateDate;
    std::string description;
    std::string executeJson; ///< JSON array of executable names
    std::string executeParam;
    std::string configType;
    std::string keyConfigJson; ///< JSON array of {source, target, defaultsource}
    std::string setConfigJson; ///< JSON array of {source, target}
};

/// One page-view ping as the counter received it.
struct PageView
{
    std::string time;
    std::string siteId;
    std::string referer;
    std::string userAgent;
    std::string r;
    std::string rnd;
    std::string remoteAddr;
};

/// A user's suggestion as the service received it (UTF-8 text).
struct Suggestion
{
    std::string time;
    std::string uid;
    std::string content;
    std::string contact;
    std::string remoteAddr;
};

} // namespace ravelo::server
