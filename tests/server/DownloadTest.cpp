// Downloads and pictures: HEAD, ranges as a resuming client uses them, redirect hops, and paths
// that try to leave the served folders; the archives themselves as the launcher expects them.
#include "server/ServerTestSupport.h"

#include "platform/Md5.h"
#include "server/DemoContent.h"
#include "server/DemoGames.h"

#include "platform/FileSystem.h"

#include <filesystem>

namespace ravelo::test {
namespace {

using DownloadTest = ServerTest;

std::string LocalFile(const std::string& path)
{
    std::string data;
    EXPECT_TRUE(ReadWholeFile(path, data)) << path;
    return data;
}

TEST_F(DownloadTest, HeadAndRangesServeTheRightBytes)
{
    const std::string path = "/download/games/1071/1071.zip";
    const std::string whole = LocalFile(Root() + "download/games/1071/1071.zip");
    const std::string size = std::to_string(whole.size());
    auto client = Client();

    const auto head = client.Head(path);
    ASSERT_TRUE(head);
    EXPECT_EQ(200, head->status);
    EXPECT_EQ(size, head->get_header_value("Content-Length"));
    EXPECT_EQ("bytes", head->get_header_value("Accept-Ranges"));
    EXPECT_TRUE(head->body.empty());

    struct Case
    {
        std::string range;
        std::size_t start;
        std::size_t length;
    };
    const Case cases[] = {
        {"bytes=0-99", 0, 100},
        {"bytes=100000-", 100000, whole.size() - 100000},
        {"bytes=-10", whole.size() - 10, 10},
        {"bytes=" + std::to_string(whole.size() - 5) + "-99999999", whole.size() - 5, 5},
        {"bytes=-99999999", 0, whole.size()},
    };
    for (const auto& c : cases) {
        const auto part = client.Get(path, {{"Range", c.range}});
        ASSERT_TRUE(part) << c.range;
        EXPECT_EQ(206, part->status) << c.range;
        EXPECT_EQ(whole.substr(c.start, c.length), part->body) << c.range;
        EXPECT_EQ("bytes " + std::to_string(c.start) + "-" + std::to_string(c.start + c.length - 1) + "/" +
                      size,
                  part->get_header_value("Content-Range"))
            << c.range;
    }
    const auto headPart = client.Head(path, {{"Range", "bytes=10-19"}});
    ASSERT_TRUE(headPart);
    EXPECT_EQ(206, headPart->status);
    EXPECT_EQ("10", headPart->get_header_value("Content-Length"));

    for (const std::string& range :
         std::vector<std::string>{"bytes=" + size + "-", "bytes=" + size + "-" + size + "0", "bytes=-0"}) {
        const auto beyond = client.Get(path, {{"Range", range}});
        ASSERT_TRUE(beyond) << range;
        EXPECT_EQ(416, beyond->status) << range;
        EXPECT_EQ("bytes */" + size, beyond->get_header_value("Content-Range")) << range;
    }
    // A second range in one header is answered with the whole file.
    const auto several = client.Get(path, {{"Range", "bytes=0-1,5-6"}});
    ASSERT_TRUE(several);
    EXPECT_EQ(200, several->status);
    EXPECT_EQ(whole, several->body);

    // A transfer cut half-way resumes from the bytes on disk and ends with the whole archive.
    const std::string first = client.Get(path, {{"Range", "bytes=0-150000"}})->body;
    const std::string rest =
        client.Get(path, {{"Range", "bytes=" + std::to_string(first.size()) + "-"}})->body;
    EXPECT_EQ(whole, first + rest);
}

TEST_F(DownloadTest, RedirectHopsEndAtTheFile)
{
    const std::string file = "games/1001/1001.zip";
    const std::string whole = LocalFile(Root() + "download/" + file);
    auto client = Client();
    std::string next = "/download/hop/3/" + file;
    for (int hop = 3; hop > 0; --hop) {
        const auto answer = client.Get(next);
        ASSERT_TRUE(answer);
        EXPECT_EQ(302, answer->status) << next;
        const std::string location = answer->get_header_value("Location");
        EXPECT_EQ(hop > 1 ? Base() + "/download/hop/" + std::to_string(hop - 1) + "/" + file
                          : Base() + "/download/" + file,
                  location);
        next = location.substr(Base().size());
    }
    const auto end = client.Get(next);
    ASSERT_TRUE(end);
    EXPECT_EQ(200, end->status);
    EXPECT_EQ(whole, end->body);

    const auto moved = client.Head("/download/hop301/1/" + file);
    ASSERT_TRUE(moved);
    EXPECT_EQ(301, moved->status);

    client.set_follow_location(true);
    const auto followed = client.Get("/download/hop/5/" + file);
    ASSERT_TRUE(followed);
    EXPECT_EQ(200, followed->status);
    EXPECT_EQ(whole, followed->body);

    const auto direct = client.Get("/download/hop/0/" + file);
    ASSERT_TRUE(direct);
    EXPECT_EQ(200, direct->status);
    EXPECT_EQ(whole, direct->body);

    for (const char* bad : {"/download/hop/x/games/1001/1001.zip", "/download/hop/99/games/1001/1001.zip",
                            "/download/hop/2", "/download/hop/2/../catalogue.db"}) {
        const auto refused = client.Get(bad);
        ASSERT_TRUE(refused) << bad;
        EXPECT_EQ(400, refused->status) << bad;
    }
}

TEST_F(DownloadTest, PathsThatLeaveTheServedFoldersAreRefused)
{
    // A link inside the download folder that points out of it must not be followed either.
    std::filesystem::create_symlink(Root() + "catalogue.db", Root() + "download/escape.db");
    std::filesystem::create_symlink(Root(), Root() + "pic/up");

    httplib::Client client("127.0.0.1", Port());
    client.set_url_encode(false); // send the paths exactly as written
    const char* const attempts[] = {
        "/download/../catalogue.db",
        "/download/games/../../catalogue.db",
        "/download/%2e%2e/catalogue.db",
        "/download/%2E%2E%2Fcatalogue.db",
        "/download/games/..%2F..%2Fcatalogue.db",
        "/download/..%5Ccatalogue.db",
        "/download/games\\..\\..\\catalogue.db",
        "/download//etc/passwd",
        "/download/%2Fetc%2Fpasswd",
        "/download/C:/windows/win.ini",
        "/download/games/1001/1001.zip%00.png",
        "/download/%252e%252e/catalogue.db",
        "/download/escape.db",
        "/download/",
        "/download/games",
        "/pic/up/catalogue.db",
        "/pic/../catalogue.db",
        "/pic/icon/./1001.png",
        "/catalogue.db",
    };
    for (const char* path : attempts) {
        const auto answer = client.Get(path);
        ASSERT_TRUE(answer) << path;
        EXPECT_TRUE(answer->status == 400 || answer->status == 404) << path << " gave " << answer->status;
        EXPECT_EQ(std::string::npos, answer->body.find("SQLite format")) << path;
    }
    std::filesystem::remove(Root() + "download/escape.db");
    std::filesystem::remove(Root() + "pic/up");

    const auto icon = client.Get("/pic/icon/1001.png");
    ASSERT_TRUE(icon);
    EXPECT_EQ(200, icon->status);
    EXPECT_EQ("image/png", icon->get_header_value("Content-Type"));
    EXPECT_EQ(LocalFile(Root() + "pic/icon/1001.png"), icon->body);
    const auto post = client.Post("/download/games/1001/1001.zip", "x", "text/plain");
    ASSERT_TRUE(post);
    EXPECT_EQ(405, post->status);
}

TEST_F(DownloadTest, ArchivesHoldTheGameFileNamedByItsId)
{
    for (const auto& game : server::DemoGames()) {
        const std::string id = std::to_string(game.id);
        const ZipContents zip = ReadZipFile(Root() + "download/games/" + id + "/" + id + ".zip");
        ASSERT_TRUE(zip.valid) << id;
        const std::string main = id + server::GameExtension(game.system);
        ASSERT_EQ(1u, zip.files.count(main)) << id << " lacks " << main;
        EXPECT_FALSE(zip.files.at(main).empty());
        if (game.system == 119) {
            ASSERT_EQ(1u, zip.files.count(id + ".cue"));
            EXPECT_NE(std::string::npos, zip.files.at(id + ".cue").find("FILE \"" + id + ".bin\" BINARY"));
        }
        if (game.system == 123 || game.system == 126) {
            EXPECT_EQ(".zip", server::GameExtension(game.system));
            const ZipContents set = ReadZipBytes(*s_catalogue, zip.files.at(main));
            EXPECT_TRUE(set.valid && !set.files.empty()) << "an arcade set is itself a zip";
        }
        if (game.system == 125) {
            EXPECT_EQ(0u, zip.files.at(main).rfind("NES\x1A", 0));
        }
        for (const auto& name : zip.names)
            EXPECT_EQ(std::string::npos, name.find('/')) << "files lie directly in the game folder";
    }
}

TEST_F(DownloadTest, EmulatorListPointsAtPackagesHoldingTheirProgramsAndDefaultFiles)
{
    auto client = Client();
    const auto post =
        client.Post("/download/pc/update/emulators.php", "", "application/x-www-form-urlencoded");
    const auto get = client.Get("/download/pc/update/emulators.php");
    ASSERT_TRUE(post && get);
    EXPECT_EQ(200, post->status);
    EXPECT_EQ(post->body, get->body);
    const Json::Value list = ParseJson(post->body);
    const char* const keys[] = {"fc", "sfc", "n64", "wii", "gbc", "gba",    "nds",  "md",      "dc",
                                "ps", "ps2", "psp", "pce", "wsc", "arcade", "mame", "mameplus"};
    int emulators = 0;
    for (const char* key : keys) {
        ASSERT_TRUE(list[key].isArray()) << key;
        for (const auto& emulator : list[key]) {
            ++emulators;
            for (const char* field : {"emulatorid", "name", "version", "downloadurl", "update", "description",
                                      "emulatortype", "system", "executeparam", "configtype"})
                EXPECT_TRUE(emulator[field].isString()) << key << "." << field;
            ASSERT_TRUE(emulator["execute"].isArray() && emulator["execute"].size() >= 1u);
            ASSERT_TRUE(emulator["keyconfig"].isArray() && emulator["keyconfig"].size() == 1u);
            ASSERT_TRUE(emulator["setconfig"].isArray() && emulator["setconfig"].size() == 1u);
            const Json::Value& keyEntry = emulator["keyconfig"][0];
            for (const char* field : {"source", "target", "defaultsource"})
                EXPECT_TRUE(keyEntry[field].isString()) << field;
            const ZipContents package = ReadZipBytes(*s_catalogue, Fetch(emulator["downloadurl"].asString()));
            ASSERT_TRUE(package.valid) << emulator["downloadurl"].asString();
            for (const auto& program : emulator["execute"]) {
                ASSERT_EQ(1u, package.files.count(program.asString())) << program.asString();
                EXPECT_EQ(0755u, package.modes.at(program.asString()));
            }
            const std::string emulatorProgram =
                emulator["execute"][emulator["execute"].size() - 1].asString();
            EXPECT_EQ(0u, package.files.at(emulatorProgram)
                              .rfind("\x7f"
                                     "ELF",
                                     0))
                << "a real program";
            const std::string defaultKeys = keyEntry["defaultsource"].asString().empty()
                                                ? keyEntry["source"].asString()
                                                : keyEntry["defaultsource"].asString();
            const std::string settings = emulator["setconfig"][0]["source"].asString();
            for (const std::string folder : {"GamePadCfg/", "KeyBoardCfg/"}) {
                EXPECT_EQ(1u, package.files.count(folder + defaultKeys)) << folder << defaultKeys;
                EXPECT_EQ(1u, package.files.count(folder + settings)) << folder << settings;
            }
        }
    }
    EXPECT_EQ(11, emulators) << "one emulator for every system of the demo";
    EXPECT_EQ("1250001", list["fc"][0]["emulatorid"].asString());
    EXPECT_EQ("125", list["fc"][0]["emulatortype"].asString());
    EXPECT_EQ("FC", list["fc"][0]["system"].asString());
}

} // namespace
} // namespace ravelo::test
