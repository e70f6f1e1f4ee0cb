// A query result read in blocks: counts, values across blocks, reading forward without
// starting over, the bounded cache, statements that cannot be wrapped, late failures.
#include "data/QueryCursor.h"
#include "support/Fixture.h"

using namespace kodexa;
using namespace kodexa::test;

namespace {

class QueryCursorTest : public ProgramDirTest {
protected:
    void SetUp() override {
        ProgramDirTest::SetUp();
        makeCatalogue(false);
        // 20,000 rows: more blocks than the cache holds.
        db.exec(QStringLiteral("CREATE TABLE t (a INTEGER, b TEXT);"
                               "WITH RECURSIVE r(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM r WHERE i < 20000)"
                               " INSERT INTO t SELECT i, 'sor ' || i FROM r"));
    }
};

TEST_F(QueryCursorTest, CountsAndReadsEveryRowInOrderThroughABoundedCache) {
    QueryCursor c(db, QStringLiteral("SELECT a, b AS szoveg FROM t ORDER BY a DESC;"));
    EXPECT_EQ(c.rowCount(), 20000);
    EXPECT_EQ(c.columnNames(), (QStringList{QStringLiteral("a"), QStringLiteral("szoveg")}));
    EXPECT_EQ(c.statement(), QStringLiteral("SELECT a, b AS szoveg FROM t ORDER BY a DESC"));
    EXPECT_EQ(c.cachedBlocks(), 1) << "the first block is read at once, nothing more";
    for (int r = 0; r < c.rowCount(); ++r)
        ASSERT_EQ(c.value(r, 0).toInt(), 20000 - r) << r;
    EXPECT_EQ(c.value(19999, 1).toString(), QStringLiteral("sor 1"));
    EXPECT_EQ(c.cachedBlocks(), QueryCursor::CacheBlocks);
    EXPECT_EQ(c.restarts(), 1) << "reading forward goes on with the open statement";
    // A jump back starts again at the wanted offset and still gives the right rows.
    EXPECT_EQ(c.value(5, 0).toInt(), 19995);
    EXPECT_EQ(c.restarts(), 2);
    EXPECT_TRUE(c.value(20000, 0).isNull()) << "past the end: nothing, no failure";
}

TEST_F(QueryCursorTest, ARowTakenStaysSoundWhenItsBlockIsEvicted) {
    QueryCursor c(db, QStringLiteral("SELECT a, b FROM t ORDER BY a"));
    const auto &first = c.row(0);
    // Reading on through more blocks than the cache holds evicts the first block.
    for (int r = QueryCursor::BlockRows; r < (QueryCursor::CacheBlocks + 2) * QueryCursor::BlockRows; r += QueryCursor::BlockRows)
        c.value(r, 0);
    ASSERT_EQ(first.size(), 2);
    EXPECT_EQ(first[0].toInt(), 1);
    EXPECT_EQ(first[1].toString(), QStringLiteral("sor 1"));
}

TEST_F(QueryCursorTest, TakesTheFirstStatementWhateverSurroundsIt) {
    // A line comment at the end must not swallow the wrapper's bracket; a lone semicolon
    // before it is no statement; what follows the first statement is not run.
    QueryCursor c(db, QStringLiteral(";\n  select count(*) n from t -- how many\n; DELETE FROM t"));
    EXPECT_EQ(c.rowCount(), 1);
    EXPECT_EQ(c.value(0, 0).toInt(), 20000);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM t")).toInt(), 20000);

    QueryCursor param(db, QStringLiteral("SELECT ? AS p, a FROM t"));
    EXPECT_TRUE(param.value(300, 0).isNull()) << "the reader's own offset does not fill the query's parameter";
    EXPECT_EQ(param.value(300, 1).toInt(), 301);

    QueryCursor with(db, QStringLiteral("WITH x(v) AS (VALUES (1), (2), (3)) SELECT v * 10 FROM x"));
    EXPECT_EQ(with.rowCount(), 3);
    EXPECT_EQ(with.value(2, 0).toInt(), 30);
}

TEST_F(QueryCursorTest, APragmaIsReadWhole) {
    QueryCursor c(db, QStringLiteral("PRAGMA table_info(konyvek)"));
    EXPECT_EQ(c.rowCount(), int(db.tableColumns(QStringLiteral("konyvek")).size()));
    EXPECT_EQ(c.columnNames().value(1), QStringLiteral("name"));
    EXPECT_EQ(c.value(0, 1).toString(), QStringLiteral("konyvek"));
}

TEST_F(QueryCursorTest, FailuresCarryTheEnginesText) {
    try {
        QueryCursor c(db, QStringLiteral("SELECT nincs FROM t"));
        FAIL() << "a missing column is refused";
    } catch (const DbError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("no such column: nincs"));
    }
    // A value the engine refuses only when it computes it: the count succeeds, the block fails.
    QueryCursor late(db, QStringLiteral("SELECT CASE WHEN a = 9000 THEN abs(a - a - 9223372036854775807 - 1) ELSE a END FROM t"));
    EXPECT_EQ(late.rowCount(), 20000);
    EXPECT_EQ(late.value(10, 0).toInt(), 11);
    EXPECT_THROW(late.value(8999, 0), DbError);
    EXPECT_EQ(late.value(15000, 0).toInt(), 15001) << "a later block reads again";
}

} // namespace
