#include "server/CatalogueImporter.h"

#include "platform/FileSystem.h"
#include "platform/Md5.h"
#include "server/CatalogueRevision.h"
#include "server/CatalogueSchema.h"
#include "server/SafePath.h"
#include "server/SqliteDatabase.h"
#include "server/SqliteError.h"
#include "server/SqliteStatement.h"
#include "server/SqliteTransaction.h"

#include <minizip/unzip.h>
#include <openssl/evp.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>

namespace ravelo::server {

namespace fs = std::filesystem;

namespace {

constexpr const char* PartSuffix = ".import-part";

struct EntryInfo
{
    std::string name;
    std::int64_t size = 0;
    std::string md5;
};

/// A checked game: the manifest's line resolved against the catalogue and the folder.
struct PreparedGame
{
    const ManifestGame* source = nullptr;
    int system = 0;
    int category = 0;
    int language = 0;
    std::string archivePath;
    std::string iconPath;
    std::vector<std::string> screenPaths;
    std::vector<EntryInfo> entries;
};

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string Extension(const std::string& path)
{
    const auto dot = path.rfind('.');
    return dot == std::string::npos || path.find('/', dot) != std::string::npos ? std::string()
                                                                                : Lower(path.substr(dot));
}

/// Reads every entry of a zip archive, with its size and MD5; nothing when the archive is unreadable
/// or an entry's name could leave the game folder.
std::optional<std::vector<EntryInfo>> ReadEntries(const std::string& path, std::string& reason)
{
    unzFile zip = unzOpen64(path.c_str());
    if (!zip) {
        reason = "不是可读的 zip 压缩包";
        return std::nullopt;
    }
    std::unique_ptr<void, int (*)(unzFile)> closer(zip, &unzClose);
    std::unique_ptr<EVP_MD_CTX, void (*)(EVP_MD_CTX*)> md5(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    std::vector<EntryInfo> entries;
    std::vector<char> block(1 << 16);
    for (int status = unzGoToFirstFile(zip); status != UNZ_END_OF_LIST_OF_FILE;
         status = unzGoToNextFile(zip)) {
        unz_file_info64 info{};
        char name[1024] = {};
        if (status != UNZ_OK ||
            unzGetCurrentFileInfo64(zip, &info, name, sizeof name - 1, nullptr, 0, nullptr, 0) != UNZ_OK) {
            reason = "压缩包已损坏";
            return std::nullopt;
        }
        std::string entry = name;
        if (!entry.empty() && entry.back() == '/')
            continue; // a folder
        if (!SafeRelativePath(entry)) {
            reason = "压缩包中有不安全的文件名: " + entry;
            return std::nullopt;
        }
        if (unzOpenCurrentFile(zip) != UNZ_OK || !md5 ||
            EVP_DigestInit_ex(md5.get(), EVP_md5(), nullptr) != 1) {
            reason = "压缩包已损坏";
            return std::nullopt;
        }
        std::int64_t size = 0;
        int got = 0;
        while ((got = unzReadCurrentFile(zip, block.data(), static_cast<unsigned>(block.size()))) > 0) {
            EVP_DigestUpdate(md5.get(), block.data(), static_cast<std::size_t>(got));
            size += got;
        }
        if (unzCloseCurrentFile(zip) != UNZ_OK || got < 0) {
            reason = "压缩包已损坏: " + entry;
            return std::nullopt;
        }
        unsigned char digest[EVP_MAX_MD_SIZE];
        unsigned int length = 0;
        EVP_DigestFinal_ex(md5.get(), digest, &length);
        static const char* const hex = "0123456789abcdef";
        std::string text;
        for (unsigned int i = 0; i < length; ++i) {
            text += hex[digest[i] >> 4];
            text += hex[digest[i] & 0xF];
        }
        entries.push_back({entry, size, text});
        if (status != UNZ_OK)
            break;
    }
    if (entries.empty()) {
        reason = "压缩包是空的";
        return std::nullopt;
    }
    return entries;
}

/// A table's rows as name (lower case) and id text to id.
std::map<std::string, int> Lookup(SqliteDatabase& db, const std::string& sql)
{
    std::map<std::string, int> ids;
    auto& rows = db.Query(sql);
    while (rows.Step()) {
        const int id = rows.Int(0);
        ids[std::to_string(id)] = id;
        ids[Lower(rows.Text(1))] = id;
    }
    return ids;
}

std::string Today()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

bool CopyPart(const std::string& from, const std::string& to, std::string& error)
{
    std::error_code failure;
    fs::create_directories(fs::path(to).parent_path(), failure);
    if (!failure)
        fs::copy_file(from, to + PartSuffix, fs::copy_options::overwrite_existing, failure);
    if (failure)
        error = "无法写入 " + to + ": " + failure.message();
    return !failure;
}

} // namespace

CatalogueImporter::CatalogueImporter(std::string catalogueFolder)
    : m_root(WithTrailingSeparator(catalogueFolder))
{
}

bool CatalogueImporter::Import(const std::string& manifestPath, ImportResult& result)
{
    std::string text;
    if (!ReadWholeFile(manifestPath, text)) {
        result.error = "无法读取清单文件: " + manifestPath;
        return false;
    }
    const ImportManifest manifest = ImportManifest::Parse(text);
    result.problems = manifest.problems;
    const std::string folder = WithTrailingSeparator(fs::path(manifestPath).parent_path().empty()
                                                         ? std::string(".")
                                                         : fs::path(manifestPath).parent_path().string());
    if (!FileExists(m_root + "catalogue.db")) {
        result.error = "目录文件夹中没有目录数据库: " + m_root + "catalogue.db";
        return false;
    }
    std::vector<std::string> placed;
    const auto cleanUp = [&placed] {
        for (const std::string& path : placed)
            std::remove((path + PartSuffix).c_str());
    };
    try {
        SqliteDatabase db(m_root + "catalogue.db", SqliteDatabase::Mode::ReadWrite);
        {
            auto& schema = db.Query("SELECT value FROM settings WHERE key = 'schema'");
            if (!schema.Step() || schema.Text(0) != CatalogueSchemaVersion) {
                result.error = "目录数据库的版本不受支持: " + m_root + "catalogue.db";
                return false;
            }
        }
        std::map<std::string, int> systems;
        {
            auto& rows = db.Query("SELECT number, code FROM systems");
            while (rows.Step())
                systems[Lower(rows.Text(1))] = rows.Int(0);
        }
        const auto categories = Lookup(db, "SELECT id, name FROM categories");
        const auto languages = Lookup(db, "SELECT id, name FROM languages");

        std::vector<PreparedGame> prepared;
        for (const ManifestGame& game : manifest.games) {
            const auto refuse = [&](const std::string& reason) {
                result.problems.push_back({game.line, reason});
            };
            PreparedGame ready;
            ready.source = &game;
            const auto system = systems.find(Lower(game.system));
            const auto category = categories.find(Lower(game.category));
            const auto language = languages.find(Lower(game.language));
            if (system == systems.end()) {
                refuse("未知的机种: " + game.system);
                continue;
            }
            if (category == categories.end()) {
                refuse("未知的分类: " + game.category);
                continue;
            }
            if (language == languages.end()) {
                refuse("未知的语言: " + game.language);
                continue;
            }
            ready.system = system->second;
            ready.category = category->second;
            ready.language = language->second;
            const auto resolve = [&](const std::string& relative) -> std::optional<std::string> {
                const auto safe = SafeRelativePath(relative);
                return safe ? ResolveInside(folder, *safe) : std::nullopt;
            };
            const auto archive = resolve(game.archive);
            if (!archive || Extension(game.archive) != ".zip") {
                refuse("找不到 zip 压缩包（须在清单所在文件夹内）: " + game.archive);
                continue;
            }
            std::string reason;
            auto entries = ReadEntries(*archive, reason);
            if (!entries) {
                refuse(reason + ": " + game.archive);
                continue;
            }
            ready.archivePath = *archive;
            ready.entries = std::move(*entries);
            bool picturesFound = true;
            std::vector<std::string> pictures{game.icon};
            pictures.insert(pictures.end(), game.screens.begin(), game.screens.end());
            for (const std::string& picture : pictures) {
                const std::string extension = Extension(picture);
                const auto path = resolve(picture);
                if (!path || (extension != ".png" && extension != ".jpg" && extension != ".jpeg")) {
                    refuse("找不到 PNG 或 JPG 图片（须在清单所在文件夹内）: " + picture);
                    picturesFound = false;
                    break;
                }
                (ready.iconPath.empty() ? ready.iconPath : ready.screenPaths.emplace_back()) = *path;
            }
            if (picturesFound)
                prepared.push_back(std::move(ready));
        }
        std::sort(result.problems.begin(), result.problems.end(),
                  [](const ManifestProblem& a, const ManifestProblem& b) { return a.line < b.line; });
        if (!result.problems.empty())
            return false;
        if (prepared.empty()) {
            result.error = "清单中没有游戏: " + manifestPath;
            return false;
        }

        // Files first, beside their final names; the rows next; then the files take their names.
        struct Names
        {
            std::string archive, icon;
            std::vector<std::string> screens;
        };
        std::vector<Names> names;
        for (const PreparedGame& game : prepared) {
            const std::string id = std::to_string(game.source->gameId);
            Names name;
            name.archive = "games/" + id + "/" + id + ".zip";
            name.icon = "icon/" + id + Extension(game.iconPath);
            for (std::size_t i = 0; i < game.screenPaths.size(); ++i)
                name.screens.push_back("screen/" + id + "_" + std::to_string(i + 1) +
                                       Extension(game.screenPaths[i]));
            std::vector<std::pair<std::string, std::string>> copies{
                {game.archivePath, m_root + "download/" + name.archive},
                {game.iconPath, m_root + "pic/" + name.icon}};
            for (std::size_t i = 0; i < game.screenPaths.size(); ++i)
                copies.emplace_back(game.screenPaths[i], m_root + "pic/" + name.screens[i]);
            for (const auto& [from, to] : copies) {
                if (!CopyPart(from, to, result.error)) {
                    cleanUp();
                    return false;
                }
                placed.push_back(to);
            }
            names.push_back(std::move(name));
        }

        CatalogueRevision::Install(db);
        SqliteTransaction transaction(db);
        const std::string now = Today();
        for (std::size_t g = 0; g < prepared.size(); ++g) {
            const PreparedGame& game = prepared[g];
            const ManifestGame& source = *game.source;
            const std::string archivePart = m_root + "download/" + names[g].archive + PartSuffix;
            const auto md5 = FileMd5Hex(archivePart);
            std::error_code sizeError;
            const auto archiveSize = static_cast<std::int64_t>(fs::file_size(archivePart, sizeError));
            if (!md5 || sizeError) {
                result.error = "无法读取 " + archivePart;
                cleanUp();
                return false;
            }
            std::int64_t unpacked = 0;
            for (const EntryInfo& entry : game.entries)
                unpacked += entry.size;
            auto& exists = db.Query("SELECT 1 FROM games WHERE gameid = ?");
            exists.Bind(1, std::int64_t{source.gameId});
            const bool known = exists.Step();
            exists.Reset();
            ++(known ? result.updated : result.added);
            db.Query(
                  "INSERT INTO games (gameid, gamename, orgname, icon, system, categoryid, language, version,"
                  " updatedtime, archive, archive_size, archive_md5, filename, needsize)"
                  " VALUES (?, ?, ?, ?, ?, ?, ?, '1.0', ?, ?, ?, ?, ?, ?)"
                  " ON CONFLICT(gameid) DO UPDATE SET gamename = excluded.gamename, orgname = "
                  "excluded.orgname,"
                  " icon = excluded.icon, system = excluded.system, categoryid = excluded.categoryid,"
                  " language = excluded.language, updatedtime = excluded.updatedtime,"
                  " archive = excluded.archive, archive_size = excluded.archive_size,"
                  " archive_md5 = excluded.archive_md5, filename = excluded.filename,"
                  " needsize = excluded.needsize, unpacked = '', cloud_links = ''")
                .Bind(1, std::int64_t{source.gameId})
                .Bind(2, source.name)
                .Bind(3, source.name)
                .Bind(4, "/pic/" + names[g].icon)
                .Bind(5, std::int64_t{game.system})
                .Bind(6, std::int64_t{game.category})
                .Bind(7, std::int64_t{game.language})
                .Bind(8, now)
                .Bind(9, names[g].archive)
                .Bind(10, archiveSize)
                .Bind(11, *md5)
                .Bind(12, std::to_string(source.gameId) + ".zip")
                .Bind(13, archiveSize + unpacked)
                .Run();
            for (const char* table :
                 {"DELETE FROM game_screens WHERE gameid = ?", "DELETE FROM game_files WHERE gameid = ?",
                  "DELETE FROM game_volumes WHERE gameid = ?"})
                db.Query(table).Bind(1, std::int64_t{source.gameId}).Run();
            for (std::size_t i = 0; i < names[g].screens.size(); ++i)
                db.Query("INSERT INTO game_screens (gameid, seq, path) VALUES (?, ?, ?)")
                    .Bind(1, std::int64_t{source.gameId})
                    .Bind(2, static_cast<std::int64_t>(i + 1))
                    .Bind(3, "/pic/" + names[g].screens[i])
                    .Run();
            for (std::size_t i = 0; i < game.entries.size(); ++i)
                db.Query("INSERT INTO game_files (gameid, seq, path, size, md5) VALUES (?, ?, ?, ?, ?)")
                    .Bind(1, std::int64_t{source.gameId})
                    .Bind(2, static_cast<std::int64_t>(i))
                    .Bind(3, game.entries[i].name)
                    .Bind(4, game.entries[i].size)
                    .Bind(5, game.entries[i].md5)
                    .Run();
        }
        transaction.Commit();
        for (const std::string& path : placed) {
            std::error_code failure;
            fs::rename(path + PartSuffix, path, failure);
            if (failure) {
                result.error = "无法放置 " + path + ": " + failure.message();
                return false;
            }
        }
        return true;
    } catch (const SqliteError& failure) {
        result.error = std::string("目录数据库写入失败: ") + failure.what();
        result.added = result.updated = 0;
        cleanUp();
        return false;
    }
}

} // namespace ravelo::server
