#pragma once

#include "server/CatalogueServer.h"
#include "server/DemoBuilder.h"
#include "server/FormBody.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <json/reader.h>
#include <json/value.h>
#include <minizip/unzip.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace ravelo::test {

/// The request bodies exactly as the client formats them.
struct ClientBodies
{
    static constexpr const char* Params = " | |zh| | |pc1.0";

    /// "%03d" for a filter, a single space for "no filter".
    static std::string Filter(int value)
    {
        if (value == 0)
            return " ";
        char text[16];
        std::snprintf(text, sizeof(text), "%03d", value);
        return text;
    }
    static std::string Order(int order)
    {
        return order == 0 ? "recommend" : order == 1 ? "new" : order == 2 ? "hot" : "";
    }
    static std::string GameList(int page, int pageSize, int category = 0, int emulator = 0, int order = 0,
                                int language = 0)
    {
        return "model=appstore&action=gamelist&clientparams=" + std::string(Params) +
               "&page=" + std::to_string(page) + "&pagesize=" + std::to_string(pageSize) +
               "&categoryid=" + Filter(category) + "&emulatorid=" + Filter(emulator) +
               "&orderby=" + Order(order) +
               "&language=" + (language == 0 ? std::string(" ") : std::to_string(language));
    }
    static std::string Search(const std::string& keyword, int page = 1, int pageSize = 40)
    {
        return "model=appstore&action=gamelist&clientparams=" + std::string(Params) +
               "&page=" + std::to_string(page) + "&pagesize=" + std::to_string(pageSize) +
               "&categoryid= &emulatorid= &keyword=" + server::FormBody::Encode(keyword) +
               "&orderby=recommend&language= ";
    }
    static std::string Special(int topic, int page = 1, int pageSize = 40)
    {
        char id[16];
        std::snprintf(id, sizeof(id), "%03d", topic);
        return "model=appstore&action=specialinfo&clientparams=" + std::string(Params) +
               "&page=" + std::to_string(page) + "&pagesize=" + std::to_string(pageSize) + "&id=" + id +
               "&orderby=recommend";
    }
    static std::string Home() { return "model=appstore&action=pc_index&clientparams=" + std::string(Params); }
    static std::string Detail(const std::string& gameId)
    {
        return "model=appstore&action=gameinfo&clientparams=" + std::string(Params) + "&gameid=" + gameId;
    }
    static std::string Register() { return "model=user&action=register&password=48213377"; }
    /// The client keeps the ticket percent-encoded and sends it as kept.
    static std::string DownFile(const std::string& uid, const std::string& encodedTicket,
                                const std::string& gameId)
    {
        return "model=user&action=downfile&uid=" + uid + "&ticket=" + encodedTicket + "&gameid=" + gameId;
    }
};

/// Parses JSON text; a test failure (and a null value) when it is not JSON.
inline Json::Value ParseJson(const std::string& text)
{
    Json::CharReaderBuilder builder;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value value;
    std::string errors;
    EXPECT_TRUE(reader->parse(text.data(), text.data() + text.size(), &value, &errors)) << errors << "\n"
                                                                                        << text;
    return value;
}

/// The entries of a zip archive held in memory: name to contents, plus each entry's Unix mode.
struct ZipContents
{
    bool valid = false;
    std::vector<std::string> names;
    std::map<std::string, std::string> files;
    std::map<std::string, unsigned long> modes;
};

inline ZipContents ReadZipFile(const std::string& path)
{
    ZipContents contents;
    unzFile zip = unzOpen64(path.c_str());
    if (!zip)
        return contents;
    bool ok = unzGoToFirstFile(zip) == UNZ_OK;
    while (ok) {
        char name[512];
        unz_file_info64 info{};
        ok = unzGetCurrentFileInfo64(zip, &info, name, sizeof(name), nullptr, 0, nullptr, 0) == UNZ_OK &&
             unzOpenCurrentFile(zip) == UNZ_OK;
        if (!ok)
            break;
        std::string data;
        char block[65536];
        int got = 0;
        while ((got = unzReadCurrentFile(zip, block, sizeof(block))) > 0)
            data.append(block, static_cast<std::size_t>(got));
        ok = got == 0 && unzCloseCurrentFile(zip) == UNZ_OK;
        contents.names.push_back(name);
        contents.files[name] = data;
        contents.modes[name] = (info.external_fa >> 16) & 07777;
        const int next = unzGoToNextFile(zip);
        if (next == UNZ_END_OF_LIST_OF_FILE)
            break;
        ok = ok && next == UNZ_OK;
    }
    contents.valid = ok;
    unzClose(zip);
    return contents;
}

/// Writes bytes to a file of the folder and reads them back as a zip.
inline ZipContents ReadZipBytes(const TempFolder& folder, const std::string& bytes)
{
    static int counter = 0;
    const std::string path = folder / ("zip-" + std::to_string(++counter) + ".zip");
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return {};
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return ReadZipFile(path);
}

/// A demo catalogue built once per test process, served by an in-process server per test.
class ServerTest : public ::testing::Test
{
public:
    static std::string Root() { return s_catalogue->Path(); }

protected:
    static void SetUpTestSuite()
    {
        s_catalogue = new TempFolder;
        server::DemoOptions options;
        options.folder = s_catalogue->Path();
        options.emulatorProgram = RAVELO_DEMO_EMU_EXE;
        options.updateProgramFolder = RAVELO_PROGRAM_FOLDER;
        std::string error;
        ASSERT_TRUE(server::DemoBuilder(options).Build(error)) << error;
    }
    static void TearDownTestSuite()
    {
        delete s_catalogue;
        s_catalogue = nullptr;
    }

    void SetUp() override
    {
        server::ServerOptions options;
        options.root = Root();
        options.port = 0;
        options.threads = 4;
        m_server = std::make_unique<server::CatalogueServer>(options);
        std::string error;
        ASSERT_TRUE(m_server->Open(error)) << error;
        m_server->Start();
    }
    void TearDown() override { m_server.reset(); }

    int Port() const { return m_server->Port(); }
    std::string Base() const { return "http://127.0.0.1:" + std::to_string(Port()); }

    httplib::Client Client() const
    {
        httplib::Client client("127.0.0.1", Port());
        client.set_connection_timeout(5);
        client.set_read_timeout(10);
        return client;
    }

    /// POSTs a body to /clientapi/ as the client does and parses the answer, expecting the status.
    Json::Value Api(const std::string& body, int expectedStatus = 200) const
    {
        auto client = Client();
        const auto result = client.Post("/clientapi/", body, "application/x-www-form-urlencoded");
        EXPECT_TRUE(result) << "no answer for " << body;
        if (!result)
            return Json::Value();
        EXPECT_EQ(expectedStatus, result->status) << body << "\n" << result->body;
        EXPECT_EQ("application/json; charset=utf-8", result->get_header_value("Content-Type"));
        return ParseJson(result->body);
    }

    /// GETs an absolute address of this server and returns the body; a failure unless 200.
    std::string Fetch(const std::string& address) const
    {
        const std::string base = Base();
        EXPECT_EQ(0u, address.rfind(base, 0)) << address;
        auto client = Client();
        const auto result = client.Get(address.substr(base.size()));
        EXPECT_TRUE(result && result->status == 200) << address;
        return result ? result->body : std::string();
    }

    static TempFolder* s_catalogue;
    std::unique_ptr<server::CatalogueServer> m_server;
};

inline TempFolder* ServerTest::s_catalogue = nullptr;

} // namespace ravelo::test
