#include "data/Dataset.h"
#include "data/Kozos.h"
#include "data/Seged.h"
#include "support/Fixture.h"

using namespace kodexa;

class DbTest : public test::ProgramDirTest {};

TEST_F(DbTest, ForeignFileIsRefusedAndLeftUntouched) {
    const QByteArray text = "Ez nem adatbázis, csak egy szöveg.\n" + QByteArray(5000, 'x');
    writeFile("idegen.sqb", text);
    Db other;
    EXPECT_THROW(other.open(path("idegen.sqb")), DbError);
    EXPECT_FALSE(other.isOpen());
    EXPECT_EQ(readFile("idegen.sqb"), text);
}

TEST_F(DbTest, OpenNeverCreatesAFile) {
    Db other;
    EXPECT_THROW(other.open(path("nincs.sqb")), DbError);
    EXPECT_FALSE(QFile::exists(path("nincs.sqb")));
}

TEST_F(DbTest, NextKeyIsLargestPlusOneAndNotReserved) {
    makeCatalogue();
    EXPECT_EQ(NextKey(db, "konyvek"), 1);
    EXPECT_EQ(NextKey(db, "kiado", ""), 1);
    db.exec("INSERT INTO kiado (kiado, kiado_nev) VALUES (7, 'A'), (3, 'B')");
    EXPECT_EQ(NextKey(db, "kiado"), 8);
    EXPECT_EQ(NextKey(db, "kiado"), 8);
    EXPECT_EQ(NextKey(db, "mezo"), 16);
}

TEST_F(DbTest, RunStatementSwallowsErrorsAndRunsGoodStatements) {
    makeCatalogue();
    RunStatement(db, "UPDATE nincs_ilyen SET x=1;");
    RunStatement(db, "this is no sql");
    RunStatement(db, "UPDATE beallit SET sendername='Próba';");
    EXPECT_EQ(db.scalar("SELECT sendername FROM beallit").toString(), "Próba");
}

TEST_F(DbTest, TransactionRollsBackWhenAnExceptionLeaves) {
    makeCatalogue();
    try {
        Transaction tx(db);
        db.exec("INSERT INTO polc (polc, polc_nev) VALUES (1, 'A1')");
        throw std::runtime_error("megszakítva");
    } catch (const std::runtime_error &) {
    }
    EXPECT_EQ(db.scalar("SELECT count(*) FROM polc").toInt(), 0);
    {
        Transaction tx(db);
        db.exec("INSERT INTO polc (polc, polc_nev) VALUES (1, 'A1')");
        tx.commit();
    }
    EXPECT_EQ(db.scalar("SELECT count(*) FROM polc").toInt(), 1);
}

TEST_F(DbTest, LockedDatabaseGivesAnErrorNotAHang) {
    makeCatalogue();
    Db second;
    second.open(path("Kodexa.sqb"));
    MemDataset polc(db);
    polc.openTable("polc");
    second.exec("BEGIN EXCLUSIVE");
    polc.insert();
    polc.setValue("polc", 1);
    polc.setValue("polc_nev", "A1");
    EXPECT_THROW(polc.post(), DbError);
    // The failed row stays in insert state for the caller to fix or cancel; nothing was written.
    EXPECT_EQ(polc.state(), DsState::Insert);
    polc.cancel();
    EXPECT_EQ(polc.recordCount(), 0);
    second.exec("ROLLBACK");
}

TEST_F(DbTest, RecordHoldsColumnRules) {
    makeCatalogue();
    MemDataset books(db);
    books.openTable("konyvek");
    books.insert();
    books.setValue("kolcsonadva_kinek", QString(30, QChar('k')));
    books.setValue("dat_besz", QDate(2007, 3, 15));
    books.setValue("ar", "");
    EXPECT_EQ(books.text("kolcsonadva_kinek").size(), 25);
    EXPECT_EQ(books.value("dat_besz").toString(), "2007-03-15");
    EXPECT_TRUE(books.value("ar").isNull());
    books.post();
    EXPECT_EQ(db.scalar("SELECT dat_besz FROM konyvek").toString(), "2007-03-15");
    EXPECT_TRUE(db.scalar("SELECT ar IS NULL FROM konyvek").toBool());
}

TEST_F(DbTest, TextReadsBackAsWrittenEvenWithAByteOrderMarkAtItsStart) {
    makeCatalogue();
    const QChar bom(0xFEFF);
    Stmt ins = db.prepare("INSERT INTO polc (polc, polc_nev) VALUES (?1, ?2)");
    const QStringList texts = {QString(bom) + "A1", QString(2, bom) + "B2", "C" + QString(bom), QString(bom), "Árvíz"};
    for (int i = 0; i < texts.size(); ++i) {
        ins.reset();
        ins.bind(1, i + 1).bind(2, texts[i]).exec();
    }
    Stmt s = db.prepare("SELECT polc_nev FROM polc ORDER BY polc");
    for (const QString &t : texts) {
        ASSERT_TRUE(s.step());
        EXPECT_EQ(s.text(0), t);
        EXPECT_EQ(s.value(0).toString(), t);
    }
}
