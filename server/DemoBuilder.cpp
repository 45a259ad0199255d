#include "server/DemoBuilder.h"

#include "platform/Md5.h"
#include "server/CatalogueSchema.h"
#include "server/DemoPictures.h"
#include "server/SqliteDatabase.h"
#include "server/SqliteError.h"
#include "server/SqliteTransaction.h"
#include "server/SystemTable.h"
#include "server/UpdatePackage.h"
#include "server/ZipWriter.h"

#include "platform/FileSystem.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <json/json.h>
#include <set>

namespace ravelo::server {

namespace {

std::string CategoryName(int id)
{
    for (const auto& category : DemoCategories()) {
        if (category.id == id)
            return std::string(category.name);
    }
    return std::string();
}

std::string DateText(DemoRandom& random)
{
    char text[32];
    std::snprintf(text, sizeof(text), "2024-%02d-%02d %02d:00:00", random.Between(1, 12),
                  random.Between(1, 28), random.Between(8, 22));
    return text;
}

/// The recommendation rank of every game: a fixed shuffle, so that "recommend" differs from id order.
int RecommendRank(int gameId)
{
    return static_cast<int>(DemoRandom(static_cast<std::uint64_t>(gameId) * 2654435761U).Next() % 100000);
}

} // namespace

const std::vector<int>& DemoBuilder::VolumeGames()
{
    static const std::vector<int> games{1064, 1071};
    return games;
}

int DemoBuilder::UnpackedGame()
{
    return 1081;
}

DemoBuilder::DemoBuilder(DemoOptions options) : m_options(std::move(options))
{
    m_root = WithTrailingSeparator(m_options.folder);
}

bool DemoBuilder::PrepareFolder(std::string& error)
{
    namespace fs = std::filesystem;
    std::error_code failure;
    fs::create_directories(m_root, failure);
    if (!FolderExists(m_root)) {
        error = "无法创建文件夹: " + m_root;
        return false;
    }
    if (FileExists(m_root + "catalogue.db")) {
        if (!m_options.force) {
            error = "文件夹中已有目录数据库，如需重建请加 --force: " + m_root;
            return false;
        }
        for (const char* name : {"catalogue.db", "catalogue.db-wal", "catalogue.db-shm", "download", "pic"})
            fs::remove_all(m_root + name, failure);
    }
    return true;
}

bool DemoBuilder::WriteFile(const std::string& relative, const std::string& data, std::string& error)
{
    const std::string path = m_root + relative;
    CreateFolderChain(path);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    out.close();
    if (!out) {
        error = "无法写入文件: " + path;
        return false;
    }
    return true;
}

bool DemoBuilder::WriteZip(const std::string& relative, const std::vector<ArchiveEntry>& entries,
                           std::string& error)
{
    const std::string path = m_root + relative;
    CreateFolderChain(path);
    ZipWriter zip;
    bool written = zip.Open(path);
    for (const auto& entry : entries)
        written = written && zip.Add(entry.name, entry.data, entry.executable);
    written = zip.Close() && written;
    if (!written)
        error = "无法写入压缩包: " + path;
    return written;
}

bool DemoBuilder::Build(std::string& error)
{
    // Every package carries the demo emulator: without it nothing is written at all.
    std::string programPath = m_options.emulatorProgram;
    if (programPath.empty()) {
        // Beside the program in a build or a portable folder; in libexec when installed.
        programPath = ExecutableFolder() + DemoEmulatorProgram;
        const std::string installed = ExecutableFolder() + "../libexec/ravelo/" + DemoEmulatorProgram;
        if (!FileExists(programPath) && FileExists(installed))
            programPath = installed;
    }
    if (!ReadWholeFile(programPath, m_emulatorProgram) || m_emulatorProgram.empty()) {
        error = "找不到演示模拟器程序 " + std::string(DemoEmulatorProgram) + "（请先构建它）: " + programPath;
        return false;
    }
    if (!PrepareFolder(error))
        return false;
    try {
        SqliteDatabase db(m_root + "catalogue.db", SqliteDatabase::Mode::CreateReadWrite);
        db.Execute("PRAGMA foreign_keys = ON");
        SqliteTransaction transaction(db);
        CreateCatalogueSchema(db);
        AddReferenceTables(db);
        if (!AddGames(db, error) || !AddTopicsAndAds(db, error) || !AddEmulators(db, error))
            return false;
        // The update package is the programs this builder was built with, under the offered version.
        const std::string updatePackage = "Update.zip";
        std::string updateSha256;
        const std::string programFolder =
            m_options.updateProgramFolder.empty() ? ExecutableFolder() : m_options.updateProgramFolder;
        if (!MakeUpdatePackage(programFolder, m_root + "download/" + updatePackage, updateSha256, error))
            return false;
        const std::pair<const char*, std::string> settings[] = {
            {"schema", CatalogueSchemaVersion},
            {"home.game_top", "1011"},
            {"update.version", m_options.updateVersion},
            {"update.package", updatePackage},
            {"update.sha256", updateSha256},
            {"update.description",
             "Ravelo " + m_options.updateVersion + "\n- 演示目录的更新包\n- 修正若干问题"},
        };
        for (const auto& [key, value] : settings)
            db.Query("INSERT INTO settings (key, value) VALUES (?, ?)").Bind(1, key).Bind(2, value).Run();
        transaction.Commit();
        if (!WriteFile("builder-version", std::string(FormatVersion) + "\n", error))
            return false;
        // Readers on many request threads while registrations and page views are written.
        db.Execute("PRAGMA journal_mode = WAL");
    } catch (const SqliteError& failure) {
        error = std::string("目录数据库写入失败: ") + failure.what();
        return false;
    }
    return true;
}

void DemoBuilder::AddReferenceTables(SqliteDatabase& db)
{
    for (const auto& system : Systems()) {
        auto& insert =
            db.Query("INSERT INTO systems (number, code, json_key, filter_index) VALUES (?, ?, ?, ?)");
        insert.Bind(1, std::int64_t{system.number}).Bind(2, system.code).Bind(3, system.key);
        if (system.filterIndex != 0)
            insert.Bind(4, std::int64_t{system.filterIndex});
        else
            insert.BindNull(4);
        insert.Run();
    }
    for (const auto& category : DemoCategories())
        db.Query("INSERT INTO categories (id, name) VALUES (?, ?)")
            .Bind(1, std::int64_t{category.id})
            .Bind(2, category.name)
            .Run();
    for (const auto& language : DemoLanguages())
        db.Query("INSERT INTO languages (id, name) VALUES (?, ?)")
            .Bind(1, std::int64_t{language.id})
            .Bind(2, language.name)
            .Run();
}

bool DemoBuilder::AddGames(SqliteDatabase& db, std::string& error)
{
    for (const auto& game : DemoGames()) {
        if (!AddGame(db, game, error))
            return false;
    }
    return true;
}

bool DemoBuilder::AddGame(SqliteDatabase& db, const DemoGame& game, std::string& error)
{
    const std::string id = std::to_string(game.id);
    const std::string folder = "games/" + id + "/";
    const auto& volumeGames = VolumeGames();
    const bool inVolumes = std::find(volumeGames.begin(), volumeGames.end(), game.id) != volumeGames.end();
    const bool unpackedVariant = game.id == UnpackedGame();
    const GameContent content = MakeGameContent(game, inVolumes);

    // What lies in the game folder once installed: the files themselves, or for an arcade set the
    // set's own zip, which is also what the unpacked variant serves as it is.
    std::vector<ArchiveEntry> installed = content.files;
    if (content.arcadeSet) {
        const std::string setPath = "download/" + folder + "nozip/" + id + ".zip";
        if (!WriteZip(setPath, content.files, error))
            return false;
        std::string setBytes;
        ReadWholeFile(m_root + setPath, setBytes);
        installed = {{id + ".zip", setBytes}};
        if (!unpackedVariant)
            std::filesystem::remove_all(m_root + "download/" + folder + "nozip");
    }
    const std::string archive = folder + id + ".zip";
    if (!WriteZip("download/" + archive, installed, error))
        return false;
    std::string archiveBytes;
    ReadWholeFile(m_root + "download/" + archive, archiveBytes);

    std::int64_t unpackedBytes = 0;
    for (const auto& file : installed)
        unpackedBytes += static_cast<std::int64_t>(file.data.size());

    DemoRandom random(static_cast<std::uint64_t>(game.id));
    const SystemInfo* system = FindSystem(game.system);
    const std::string systemCode = system ? std::string(system->code) : std::string();
    const std::string icon = "/pic/icon/" + id + ".png";
    if (!WriteFile("pic/icon/" + id + ".png", DrawGameIcon(game), error))
        return false;

    std::string cloudLinks;
    if (!m_options.cloudShareBase.empty()) {
        const std::string share = m_options.cloudShareBase + "/s/" + id;
        if (inVolumes) {
            const auto count =
                (static_cast<std::int64_t>(archiveBytes.size()) + VolumeBytes - 1) / VolumeBytes;
            for (std::int64_t number = 1; number <= count; ++number)
                cloudLinks += (number > 1 ? "," : "") + share + "_" + std::to_string(number) + "|" +
                              std::to_string(number);
        } else {
            cloudLinks = share;
        }
    }

    const std::int64_t downloads = random.Between(1000, 99999);
    auto& insert =
        db.Query("INSERT INTO games (gameid, gamename, orgname, icon, system, categoryid, language, version, "
                 "updatedtime,"
                 " downloads, week_downloads, recommend, good, bad, rating, min_players, max_players, "
                 "description, archive,"
                 " archive_size, archive_md5, filename, needsize, unpacked, cloud_links)"
                 " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    static const char* const ratings[] = {"3.0", "3.5", "4.0", "4.5", "5.0"};
    insert.Bind(1, std::int64_t{game.id})
        .Bind(2, game.name)
        .Bind(3, game.orgName)
        .Bind(4, icon)
        .Bind(5, std::int64_t{game.system})
        .Bind(6, std::int64_t{game.category})
        .Bind(7, std::int64_t{game.language})
        .Bind(8, "1.0")
        .Bind(9, DateText(random))
        .Bind(10, downloads)
        .Bind(11, std::int64_t{random.Between(10, 5000)})
        .Bind(12, std::int64_t{RecommendRank(game.id)})
        .Bind(13, std::int64_t{random.Between(50, 900)})
        .Bind(14, std::int64_t{random.Between(0, 40)})
        .Bind(15, ratings[random.Between(0, 4)])
        .Bind(16, std::int64_t{1})
        .Bind(17, std::int64_t{random.Between(1, 2)})
        .Bind(18, GameDescription(game, systemCode, CategoryName(game.category)))
        .Bind(19, archive)
        .Bind(20, static_cast<std::int64_t>(archiveBytes.size()))
        .Bind(21, Md5Hex(archiveBytes))
        .Bind(22, id + ".zip")
        .Bind(23, static_cast<std::int64_t>(archiveBytes.size()) + unpackedBytes)
        .Bind(24, unpackedVariant ? folder + "nozip/" + id + ".zip" : std::string())
        .Bind(25, cloudLinks);
    insert.Run();

    for (int index = 1; index <= 3; ++index) {
        const std::string screen = "screen/" + id + "_" + std::to_string(index) + ".png";
        if (!WriteFile("pic/" + screen, DrawGameScreen(game, index), error))
            return false;
        db.Query("INSERT INTO game_screens (gameid, seq, path) VALUES (?, ?, ?)")
            .Bind(1, std::int64_t{game.id})
            .Bind(2, std::int64_t{index})
            .Bind(3, "/pic/" + screen)
            .Run();
    }
    for (std::size_t index = 0; index < installed.size(); ++index) {
        db.Query("INSERT INTO game_files (gameid, seq, path, size, md5) VALUES (?, ?, ?, ?, ?)")
            .Bind(1, std::int64_t{game.id})
            .Bind(2, static_cast<std::int64_t>(index))
            .Bind(3, installed[index].name)
            .Bind(4, static_cast<std::int64_t>(installed[index].data.size()))
            .Bind(5, Md5Hex(installed[index].data))
            .Run();
    }
    if (inVolumes) {
        // Volumes are consecutive byte ranges of the archive: appended in order they are the archive.
        int number = 1;
        for (std::size_t at = 0; at < archiveBytes.size(); at += VolumeBytes, ++number) {
            char suffix[16];
            std::snprintf(suffix, sizeof(suffix), ".%03d", number);
            const std::string volume = archive + suffix;
            const std::string part = archiveBytes.substr(at, VolumeBytes);
            if (!WriteFile("download/" + volume, part, error))
                return false;
            db.Query("INSERT INTO game_volumes (gameid, number, path, size) VALUES (?, ?, ?, ?)")
                .Bind(1, std::int64_t{game.id})
                .Bind(2, std::int64_t{number})
                .Bind(3, volume)
                .Bind(4, static_cast<std::int64_t>(part.size()))
                .Run();
        }
    }
    return true;
}

bool DemoBuilder::AddTopicsAndAds(SqliteDatabase& db, std::string& error)
{
    struct Topic
    {
        int id;
        const char* name;
        const char* desc;
        std::set<int> categories;
        std::set<int> systems;
    };
    const Topic topics[] = {
        {1, "格斗对决", "拳拳到肉的格斗游戏合集，街机与家用机的经典对决。", {2}, {}},
        {2, "射击精选", "从横版卷轴到纵版弹幕，一次玩遍各平台射击游戏。", {3}, {}},
        {3, "角色扮演名作", "剑与魔法的冒险旅程，适合慢慢品味的角色扮演游戏。", {10, 12}, {}},
        {4, "掌上乐园", "GBA、GBC、NDS 与 PSP 上的轻松好玩之作。", {}, {120, 124, 127, 129}},
    };
    for (const auto& topic : topics) {
        const std::string id = std::to_string(topic.id);
        if (!WriteFile("pic/special/" + id + ".png", DrawBanner(220, 120, topic.id), error) ||
            !WriteFile("pic/special/" + id + "_banner.png", DrawBanner(720, 200, topic.id + 10), error))
            return false;
        db.Query("INSERT INTO topics (id, name, description, icon, banner, seq) VALUES (?, ?, ?, ?, ?, ?)")
            .Bind(1, std::int64_t{topic.id})
            .Bind(2, topic.name)
            .Bind(3, topic.desc)
            .Bind(4, "/pic/special/" + id + ".png")
            .Bind(5, "/pic/special/" + id + "_banner.png")
            .Bind(6, std::int64_t{topic.id})
            .Run();
        int seq = 0;
        for (const auto& game : DemoGames()) {
            if (!topic.categories.count(game.category) && !topic.systems.count(game.system))
                continue;
            db.Query("INSERT INTO topic_games (topic, gameid, seq) VALUES (?, ?, ?)")
                .Bind(1, std::int64_t{topic.id})
                .Bind(2, std::int64_t{game.id})
                .Bind(3, std::int64_t{++seq})
                .Run();
        }
    }

    struct Ad
    {
        const char* slot;
        const char* title;
        const char* target;
        const char* action;
        int width;
        int height;
    };
    const Ad ads[] = {
        {"ads_index_left", "龙之剑：剑与魔法的传说", "1011", "game", 720, 300},
        {"ads_index_left", "三国英杰：街机名作，免解压即玩", "1081", "game", 720, 300},
        {"ads_index_left", "泰坦之怒：PSP 动作大作", "1063", "game", 720, 300},
        {"ads_index_left", "Ravelo 游戏目录", "/portal/", "url", 720, 300},
        {"ads_index_gamedetail", "星之卡片：NDS 桌面游戏", "1053", "game", 600, 100},
        {"ads_index_gamedetail", "星际战舰：PCE 射击经典", "1102", "game", 600, 100},
    };
    int number = 0;
    for (const auto& ad : ads) {
        ++number;
        const std::string picture = "banner/" + std::to_string(number) + ".png";
        if (!WriteFile("pic/" + picture, DrawBanner(ad.width, ad.height, number + 20), error))
            return false;
        db.Query("INSERT INTO ads (id, slot, seq, title, target, action, icon, description)"
                 " VALUES (?, ?, ?, ?, ?, ?, ?, ?)")
            .Bind(1, std::int64_t{number})
            .Bind(2, ad.slot)
            .Bind(3, std::int64_t{number})
            .Bind(4, ad.title)
            .Bind(5, ad.target)
            .Bind(6, ad.action)
            .Bind(7, "/pic/" + picture)
            .Bind(8, ad.title)
            .Run();
    }
    return true;
}

bool DemoBuilder::AddEmulators(SqliteDatabase& db, std::string& error)
{
    std::set<int> systems;
    for (const auto& game : DemoGames())
        systems.insert(game.system);
    Json::StreamWriterBuilder writer;
    writer["indentation"] = "";
    writer["emitUTF8"] = true;
    for (int number : systems) {
        const SystemInfo* system = FindSystem(number);
        if (!system)
            continue;
        const std::string code(system->code);
        const std::string name = code + "-Demo";
        const std::string package = "emulators/" + code + "/" + name + ".zip";
        const DemoEmulator emulator = DemoEmulatorFor(number, code, name);
        if (!WriteZip("download/" + package, EmulatorPackage(emulator, code, name, m_emulatorProgram), error))
            return false;

        Json::Value execute(Json::arrayValue);
        for (const auto& file : emulator.execute)
            execute.append(file);
        Json::Value key(Json::objectValue);
        key["source"] = emulator.keySource;
        key["target"] = emulator.keyTarget;
        key["defaultsource"] = emulator.keyDefault;
        Json::Value settings(Json::objectValue);
        settings["source"] = emulator.settingsTarget;
        settings["target"] = emulator.settingsTarget;
        Json::Value keyConfig(Json::arrayValue);
        keyConfig.append(key);
        Json::Value setConfig(Json::arrayValue);
        setConfig.append(settings);
        db.Query("INSERT INTO emulators (emulatorid, system, name, version, package, updatedate, description,"
                 " execute, executeparam, configtype, keyconfig, setconfig)"
                 " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
            .Bind(1, std::to_string(number * 10000 + 1))
            .Bind(2, std::int64_t{number})
            .Bind(3, name)
            .Bind(4, "1.0.0")
            .Bind(5, package)
            .Bind(6, "2024-01-01")
            .Bind(7, "Ravelo 演示模拟器（" + code + "）：显示游戏、输入方式和已绑定的手柄，按 Esc 退出。")
            .Bind(8, Json::writeString(writer, execute))
            .Bind(9, emulator.executeParam)
            .Bind(10, "0")
            .Bind(11, Json::writeString(writer, keyConfig))
            .Bind(12, Json::writeString(writer, setConfig))
            .Run();
    }
    return true;
}

} // namespace ravelo::server
