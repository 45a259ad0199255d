#include "store/CppSQLite3DB.h"
#include "store/CppSQLite3Exception.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <string>

using namespace ravelo;

namespace {

// Runs the call and returns the exception it must throw.
template <typename Call>
CppSQLite3Exception Thrown(Call call)
{
    try {
        call();
    } catch (const CppSQLite3Exception& error) {
        return error;
    }
    ADD_FAILURE() << "no CppSQLite3Exception";
    return CppSQLite3Exception(0, "not thrown");
}

class CppSQLite3Test : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_db.open(m_folder / "wrapper.db");
        m_db.execDML("create table t (id integer primary key, name text unique, value text);"
                     "insert into t values (1, 'one', NULL);"
                     "insert into t values (2, 'two', '22');");
    }

    test::TempFolder m_folder;
    CppSQLite3DB m_db;
};

} // namespace

TEST(CppSQLite3Exception, MessageCarriesCodeNameCodeAndDetail)
{
    EXPECT_STREQ(CppSQLite3Exception(19, "UNIQUE constraint failed: t.name").errorMessage(),
                 "SQLITE_CONSTRAINT[19]: UNIQUE constraint failed: t.name");
    EXPECT_STREQ(CppSQLite3Exception(1000, nullptr).errorMessage(), "CPPSQLITE_ERROR[1000]: ");
    EXPECT_STREQ(CppSQLite3Exception(42, "x").errorMessage(), "UNKNOWN_ERROR[42]: x");
    EXPECT_STREQ(CppSQLite3Exception::errorCodeAsString(101), "SQLITE_DONE");
    EXPECT_STREQ(CppSQLite3Exception::errorCodeAsString(26), "UNKNOWN_ERROR");

    // A copy owns its own message: it outlives the original.
    auto* original = new CppSQLite3Exception(5, "database is locked");
    CppSQLite3Exception copy(*original);
    delete original;
    EXPECT_EQ(copy.errorCode(), 5);
    EXPECT_STREQ(copy.errorMessage(), "SQLITE_BUSY[5]: database is locked");
    copy = CppSQLite3Exception(8, "ro");
    EXPECT_STREQ(copy.errorMessage(), "SQLITE_READONLY[8]: ro");
}

TEST_F(CppSQLite3Test, ExecScalarCountsAndTreatsNullAsZero)
{
    EXPECT_EQ(m_db.execScalar("select count(1) from t;"), 2);
    EXPECT_EQ(m_db.execScalar("select value from t where id = 1;"), 0); // NULL
    EXPECT_EQ(m_db.execScalar("select value from t where id = 2;"), 22);
    const auto none = Thrown([&] { m_db.execScalar("select id from t where id = 99;"); });
    EXPECT_EQ(none.errorCode(), CPPSQLITE_ERROR);
    EXPECT_STREQ(none.errorMessage(), "CPPSQLITE_ERROR[1000]: Invalid scalar query");
}

TEST_F(CppSQLite3Test, FieldAccessChecksIndexNameAndState)
{
    CppSQLite3Query query = m_db.execQuery("select id, name, value from t order by id;");
    ASSERT_FALSE(query.eof());
    EXPECT_EQ(query.numFields(), 3);
    EXPECT_STREQ(query.fieldValue(1), "one");
    EXPECT_EQ(query.fieldValue(2), nullptr);
    EXPECT_EQ(query.fieldDataType(2), 5);
    EXPECT_EQ(query.fieldIndex("value"), 2);

    for (int bad : {-1, 3}) {
        const auto error = Thrown([&] { query.fieldValue(bad); });
        EXPECT_STREQ(error.errorMessage(), "CPPSQLITE_ERROR[1000]: Invalid field index requested");
        EXPECT_STREQ(Thrown([&] { query.fieldDataType(bad); }).errorMessage(),
                     "CPPSQLITE_ERROR[1000]: Invalid field index requested");
    }
    EXPECT_STREQ(Thrown([&] { query.fieldIndex("Value"); }).errorMessage(),
                 "CPPSQLITE_ERROR[1000]: Invalid field name requested");

    query.nextRow();
    ASSERT_FALSE(query.eof());
    EXPECT_STREQ(query.fieldValue(1), "two");
    query.nextRow();
    EXPECT_TRUE(query.eof());

    query.finalize();
    EXPECT_STREQ(Thrown([&] { query.fieldValue(0); }).errorMessage(),
                 "CPPSQLITE_ERROR[1000]: Null Virtual Machine pointer");
    query.finalize(); // a second finalize does nothing

    EXPECT_TRUE(m_db.execQuery("select * from t where id > 5;").eof());
}

TEST_F(CppSQLite3Test, FailuresCarrySqliteCodeAndText)
{
    const auto constraint = Thrown([&] { m_db.execDML("insert into t values (3, 'one', NULL);"); });
    EXPECT_EQ(constraint.errorCode(), 19);
    EXPECT_EQ(std::string(constraint.errorMessage()).rfind("SQLITE_CONSTRAINT[19]: ", 0), 0u)
        << constraint.errorMessage();
    EXPECT_NE(std::string(constraint.errorMessage()).find("UNIQUE"), std::string::npos);

    const auto syntax = Thrown([&] { m_db.execQuery("selec nothing"); });
    EXPECT_EQ(syntax.errorCode(), 1);
    EXPECT_EQ(std::string(syntax.errorMessage()).rfind("SQLITE_ERROR[1]: ", 0), 0u);

    // The failed statement changed nothing; execDML reports the rows changed by a good one.
    EXPECT_EQ(m_db.execDML("update t set value = 'x';"), 2);
}

TEST_F(CppSQLite3Test, BoundStatementKeepsValuesOutOfTheSqlText)
{
    CppSQLite3Statement insert = m_db.compileStatement("insert into t (name, value) values (?1, ?2);");
    const std::string hostile = "x'); drop table t; --";
    insert.bind(1, hostile);
    insert.bindNull(2);
    EXPECT_EQ(insert.execDML(), 1);
    insert.bind(1, std::string("with\0nul", 8));
    insert.bind(2, std::int64_t{1} << 40);
    EXPECT_EQ(insert.execDML(), 1); // reused after a reset
    EXPECT_EQ(m_db.execScalar("select count(1) from t;"), 4);

    CppSQLite3Statement select = m_db.compileStatement("select name, value from t where name = ?1;");
    select.bind(1, hostile);
    {
        CppSQLite3Query query = select.execQuery();
        ASSERT_FALSE(query.eof());
        EXPECT_EQ(query.fieldString(0), hostile);
        EXPECT_EQ(query.fieldDataType(1), 5);
    }
    select.bind(1, std::string("with\0nul", 8));
    {
        CppSQLite3Query query = select.execQuery(); // the statement was reset by the last cursor
        ASSERT_FALSE(query.eof());
        EXPECT_EQ(query.fieldString(0), std::string("with\0nul", 8));
        EXPECT_EQ(query.fieldString(1), "1099511627776");
    }

    EXPECT_EQ(Thrown([&] { insert.bind(3, 1); }).errorCode(), 25); // SQLITE_RANGE
    insert.bind(1, "one");
    EXPECT_EQ(Thrown([&] { insert.execDML(); }).errorCode(), 19);
    insert.bind(1, "three");
    EXPECT_EQ(insert.execDML(), 1); // usable again after the failure
}

TEST(CppSQLite3DB, ClosedConnectionAndBadFiles)
{
    CppSQLite3DB db;
    const auto closed = Thrown([&] { db.execDML("select 1;"); });
    EXPECT_EQ(closed.errorCode(), 1000);
    EXPECT_STREQ(closed.errorMessage(), "CPPSQLITE_ERROR[1000]: Database not open");
    EXPECT_STREQ(Thrown([&] { db.execQuery("select 1;"); }).errorMessage(),
                 "CPPSQLITE_ERROR[1000]: Database not open");
    EXPECT_STREQ(Thrown([&] { db.compileStatement("select 1;"); }).errorMessage(),
                 "CPPSQLITE_ERROR[1000]: Database not open");
    db.close(); // nothing to close

    test::TempFolder folder;
    const auto cannotOpen = Thrown([&] { db.open(folder / "missing/folder/x.db"); });
    EXPECT_EQ(cannotOpen.errorCode(), 14);
    EXPECT_FALSE(db.isOpen());

    db.open(folder / "x.db");
    EXPECT_TRUE(db.isOpen());
    CppSQLite3Statement pending = db.compileStatement("select 1;");
    // A statement still compiled keeps the connection from closing.
    EXPECT_STREQ(Thrown([&] { db.close(); }).errorMessage(),
                 "CPPSQLITE_ERROR[1000]: Unable to close database");
    EXPECT_TRUE(db.isOpen());
    pending.finalize();
    db.close();
    EXPECT_FALSE(db.isOpen());
}
