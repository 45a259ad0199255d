// Kept catalogue answers: what makes two requests the same, what is never kept, and that a change to
// the catalogue by another writer is seen at once while accounts and page views keep the answers.
#include "server/ServerTestSupport.h"

#include "server/AnswerCache.h"
#include "server/CatalogueRevision.h"
#include "server/SqliteDatabase.h"

namespace ravelo::test {
namespace {

using server::AnswerAddresses;
using server::AnswerCache;
using server::ApiAnswer;
using server::ConnectionPool;
using server::SqliteDatabase;

class AnswerCacheTest : public ServerTest
{
protected:
    void SetUp() override
    {
        // The server installs the revision counter when it opens the catalogue.
        ServerTest::SetUp();
        m_pool = std::make_unique<ConnectionPool>(Root() + "catalogue.db", 2);
    }

    /// The answer through the cache, counting how often it had to be built.
    ApiAnswer Ask(AnswerCache& cache, const std::string& body, const std::string& host = "127.0.0.1:8650",
                  int status = 200)
    {
        return cache.Answer(body, AnswerAddresses(host, false), [&] {
            ++m_builds;
            return ApiAnswer{status, "{\"build\":" + std::to_string(m_builds) + "}"};
        });
    }

    void Write(const std::string& sql)
    {
        SqliteDatabase db(Root() + "catalogue.db", SqliteDatabase::Mode::ReadWrite);
        db.Execute(sql.c_str());
    }

    std::unique_ptr<ConnectionPool> m_pool;
    int m_builds = 0;
};

TEST_F(AnswerCacheTest, SameRequestIsBuiltOnceWhateverTheClientParameters)
{
    AnswerCache cache(*m_pool);
    const std::string list = ClientBodies::GameList(1, 20);
    EXPECT_EQ(Ask(cache, list).body, "{\"build\":1}");
    EXPECT_EQ(Ask(cache, list).body, "{\"build\":1}");
    std::string otherClient = list;
    otherClient.replace(otherClient.find("pc1.0"), 5, "pc2.0");
    EXPECT_EQ(Ask(cache, otherClient).body, "{\"build\":1}");
    EXPECT_EQ(m_builds, 1);

    // Every other field, and the address the client used, make another request.
    Ask(cache, ClientBodies::GameList(2, 20));
    Ask(cache, ClientBodies::GameList(1, 20, 0, 2));
    Ask(cache, ClientBodies::Search("三国"));
    Ask(cache, ClientBodies::Special(1));
    Ask(cache, ClientBodies::Home());
    Ask(cache, ClientBodies::Detail("1001"));
    Ask(cache, list, "192.168.1.20:8650");
    EXPECT_EQ(m_builds, 8);
    EXPECT_EQ(cache.Size(), 8u);
    Ask(cache, ClientBodies::Detail("1001"));
    Ask(cache, list, "192.168.1.20:8650");
    EXPECT_EQ(m_builds, 8);
}

TEST_F(AnswerCacheTest, FailuresAccountsAndMalformedBodiesAreNeverKept)
{
    AnswerCache cache(*m_pool);
    for (int i = 0; i < 2; ++i) {
        Ask(cache, ClientBodies::Detail("999999"), "127.0.0.1:8650", 404);
        Ask(cache, ClientBodies::Register());
        Ask(cache, ClientBodies::DownFile("1", "x", "1001"));
        Ask(cache, "model=appstore&action=gamelist&page=%zz");
        Ask(cache, "model=appstore&action=suggestion&text=1");
    }
    EXPECT_EQ(m_builds, 10);
    EXPECT_EQ(cache.Size(), 0u);
}

TEST_F(AnswerCacheTest, ACatalogueChangeByAnotherWriterIsSeenAtOnceAPageViewIsNot)
{
    AnswerCache cache(*m_pool);
    const std::string detail = ClientBodies::Detail("1001");
    Ask(cache, detail);
    Write("INSERT INTO page_views (time, siteid, referer, user_agent, r, rnd, remote_addr) "
          "VALUES ('2026-01-01 00:00:00', '1', '', '', '', '', '127.0.0.1')");
    Ask(cache, detail);
    EXPECT_EQ(m_builds, 1);

    Write("UPDATE games SET gamename = gamename || '!' WHERE gameid = 1001");
    EXPECT_EQ(Ask(cache, detail).body, "{\"build\":2}");
    Write("UPDATE games SET gamename = substr(gamename, 1, length(gamename) - 1) WHERE gameid = 1001");
    EXPECT_EQ(Ask(cache, detail).body, "{\"build\":3}");
    Write("DELETE FROM topic_games WHERE rowid = (SELECT min(rowid) FROM topic_games)");
    EXPECT_EQ(Ask(cache, detail).body, "{\"build\":4}");
    EXPECT_EQ(Ask(cache, detail).body, "{\"build\":4}");
}

TEST_F(AnswerCacheTest, KeptAnswersStayWithinTheirBound)
{
    AnswerCache cache(*m_pool, 1000);
    for (int page = 1; page <= 40; ++page)
        Ask(cache, ClientBodies::GameList(page, 20));
    // Each entry is a key of about 120 bytes and a body of about 12.
    EXPECT_LE(cache.Size(), 1000u / 120 + 1);
    EXPECT_GE(cache.Size(), 1u);
}

TEST_F(AnswerCacheTest, TheServerAnswersAChangedCatalogueAfterServingItsOldAnswer)
{
    const std::string detail = ClientBodies::Detail("1002");
    const std::string before = Api(detail)["gameinfo"]["gamename"].asString();
    ASSERT_FALSE(before.empty());
    EXPECT_EQ(Api(detail)["gameinfo"]["gamename"].asString(), before);
    Write("UPDATE games SET gamename = '改过的名字' WHERE gameid = 1002");
    EXPECT_EQ(Api(detail)["gameinfo"]["gamename"].asString(), "改过的名字");
    EXPECT_EQ(Api(ClientBodies::Search("改过的名字"))["gamelist"][0]["gamename"].asString(), "改过的名字");
    SqliteDatabase db(Root() + "catalogue.db", SqliteDatabase::Mode::ReadWrite);
    auto& restore = db.Query("UPDATE games SET gamename = ?1 WHERE gameid = 1002");
    restore.Bind(1, before);
    restore.Step();
    EXPECT_EQ(Api(detail)["gameinfo"]["gamename"].asString(), before);
}

} // namespace
} // namespace ravelo::test
