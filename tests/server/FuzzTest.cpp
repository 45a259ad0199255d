// The request parser under hostile input: random, huge and binary bodies, random paths and ranges,
// and raw bytes that are not HTTP at all. The server must answer each cleanly (never a 5xx) and
// keep serving afterwards.
#include "server/ServerTestSupport.h"

#include "server/DemoContent.h"
#include "server/DemoGames.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace ravelo::test {
namespace {

using FuzzTest = ServerTest;

const char* const Tokens[] = {
    "model",    "appstore",    "user",   "action",   "gamelist",   "specialinfo", "pc_index", "gameinfo",
    "register", "downfile",    "page",   "pagesize", "categoryid", "emulatorid",  "keyword",  "orderby",
    "language", "id",          "gameid", "uid",      "ticket",     "password",    "=",        "&",
    "%",        "%2",          "%zz",    "%00",      "%FF",        "+",           " ",        "001",
    "-1",       "99999999999", "忍者",   "\xff",     "\x01",       "recommend",   "hot",      "new"};

std::string RandomBody(server::DemoRandom& random)
{
    std::string body;
    const int kind = random.Between(0, 9);
    if (kind == 0) {
        body.resize(static_cast<std::size_t>(random.Between(0, 3000)));
        for (auto& c : body)
            c = static_cast<char>(random.Next());
    } else {
        const int count = random.Between(0, 40);
        for (int i = 0; i < count; ++i)
            body += Tokens[random.Next() % std::size(Tokens)];
    }
    return body;
}

std::string RandomPath(server::DemoRandom& random)
{
    static const char* const prefixes[] = {"/",
                                           "/download/",
                                           "/download/hop/",
                                           "/download/hop/3/",
                                           "/pic/",
                                           "/pic/icon/",
                                           "/clientapi/",
                                           "/wapstat.php?siteid=",
                                           "/portal/",
                                           "/download/games/1001/",
                                           "/download/pc/update/"};
    static const char* const pieces[] = {"..", ".", "/", "%2e", "%2f", "%5c", "\\",   "%00",   "1001.zip",
                                         "a",  "?", "&", "=",   "%",   "~",   "icon", "games", "%252e"};
    std::string path = prefixes[random.Next() % std::size(prefixes)];
    const int count = random.Between(0, 12);
    for (int i = 0; i < count; ++i)
        path += pieces[random.Next() % std::size(pieces)];
    if (random.Between(0, 20) == 0)
        path += std::string(static_cast<std::size_t>(random.Between(1000, 9000)), 'x');
    return path;
}

/// Sends raw bytes on a fresh connection and reads whatever comes back until the server closes.
std::string RawExchange(int port, const std::string& bytes)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return std::string();
    timeval timeout{5, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof(timeout));
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof(timeout));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string answer;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0) {
        ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        ::shutdown(fd, SHUT_WR);
        char block[4096];
        ssize_t got = 0;
        while ((got = ::recv(fd, block, sizeof(block), 0)) > 0)
            answer.append(block, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return answer;
}

TEST_F(FuzzTest, HostileRequestsNeverBreakTheServer)
{
    server::DemoRandom random(20240601);
    httplib::Client client("127.0.0.1", Port());
    client.set_read_timeout(10);
    int answered = 0;
    for (int round = 0; round < 2000; ++round) {
        if (round % 5 == 4) {
            std::string raw;
            switch (random.Between(0, 3)) {
            case 0:
                raw = RandomBody(random);
                break;
            case 1:
                raw = "GET " + RandomPath(random) + " HTTP/1.1\r\nHost: " + RandomBody(random).substr(0, 50) +
                      "\r\n\r\n";
                break;
            case 2:
                raw = "POST /clientapi/ HTTP/1.1\r\nContent-Length: " +
                      std::to_string(random.Between(-10, 100000)) + "\r\n\r\n" + RandomBody(random);
                break;
            default:
                raw = "POST /clientapi/ HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n" + RandomBody(random);
                break;
            }
            const std::string answer = RawExchange(Port(), raw);
            if (answer.rfind("HTTP/1.1 ", 0) == 0) {
                ++answered;
                EXPECT_NE('5', answer[9]) << raw.substr(0, 200) << "\n" << answer.substr(0, 200);
            }
            continue;
        }
        auto send = [&]() -> httplib::Result {
            if (round % 5 < 2) {
                std::string body = RandomBody(random);
                if (round % 97 == 0)
                    body +=
                        std::string(static_cast<std::size_t>(random.Between(64 * 1024, 1024 * 1024)), 'k');
                const char* type =
                    round % 2 ? "application/x-www-form-urlencoded" : "application/octet-stream";
                return client.Post("/clientapi/", body, type);
            }
            if (round % 5 == 2)
                return client.Get(RandomPath(random));
            std::string range = "bytes=" + std::to_string(random.Between(-5, 400000)) + "-";
            if (random.Between(0, 1))
                range += std::to_string(random.Between(-5, 400000));
            if (random.Between(0, 4) == 0)
                range += ",0-1";
            if (random.Between(0, 9) == 0)
                range = RandomBody(random).substr(0, 200);
            return random.Between(0, 1) ? client.Get("/download/games/1071/1071.zip", {{"Range", range}})
                                        : client.Get(RandomPath(random), {{"Range", range}});
        };
        const auto result = send();
        if (result) {
            ++answered;
            EXPECT_LT(result->status, 500) << "round " << round;
        }
    }
    EXPECT_GT(answered, 1500);

    // Still serving, and still right.
    httplib::Client fresh("127.0.0.1", Port());
    const auto list =
        fresh.Post("/clientapi/", ClientBodies::GameList(1, 40), "application/x-www-form-urlencoded");
    ASSERT_TRUE(list);
    EXPECT_EQ(200, list->status);
    EXPECT_EQ(std::to_string(server::DemoGames().size()), ParseJson(list->body)["count"].asString());
    const auto file = fresh.Get("/download/games/1001/1001.zip");
    ASSERT_TRUE(file);
    EXPECT_EQ(200, file->status);
}

} // namespace
} // namespace ravelo::test
