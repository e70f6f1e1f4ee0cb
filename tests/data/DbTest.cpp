#include "data/Dataset.h"
#include "data/Kozos.h"
#include "data/Seged.h"
#include "data/Catalogue.h"
#include "support/Fixture.h"

#include <QFile>
#include <chrono>
#include <functional>
#include <thread>
#include <sqlite3.h>

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

// Free SQL may not rewrite the schema behind the engine's back: the file would open nowhere again.
TEST_F(DbTest, TheSchemaCannotBeWrittenByHand) {
    makeCatalogue();
    try {
        db.exec("PRAGMA writable_schema=1; UPDATE sqlite_master SET sql='CREATE TABLE konyvek (x)' WHERE name='konyvek';");
        ADD_FAILURE() << "the schema was written";
    } catch (const DbError &e) {
        EXPECT_EQ(e.message(), "table sqlite_master may not be modified");
    }
    db.close();
    db.open(path("Kodexa.sqb"));
    EXPECT_EQ(db.scalar("PRAGMA integrity_check").toString(), "ok");
    EXPECT_TRUE(db.hasTable("konyvek"));
    EXPECT_GT(db.tableColumns("konyvek").size(), 1);
}

// A lock held for a moment (another program writing) is waited out: the write goes through.
TEST_F(DbTest, AShortLockIsWaitedOut) {
    makeCatalogue();
    MemDataset polc(db);
    polc.openTable("polc");
    polc.insert();
    polc.setValue("polc", 1);
    polc.setValue("polc_nev", "A1");
    Db second;
    second.open(path("Kodexa.sqb"));
    second.exec("BEGIN EXCLUSIVE");
    std::jthread other([&second] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        second.exec("ROLLBACK");
    });
    EXPECT_NO_THROW(polc.post());
    other.join();
    EXPECT_EQ(db.scalar("SELECT polc_nev FROM polc WHERE polc = 1").toString(), "A1");
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

// The common failures reach the user with a Hungarian first line and the engine's own text
// after it, unchanged; other engine messages stay as they were.
TEST(EngineErrorText, CommonFailuresGetAHungarianLeadLine) {
    const struct {
        int code;
        const char *lead;
    } cases[] = {
        {SQLITE_BUSY, "A katalógust egy másik program zárolja"},
        {SQLITE_LOCKED, "A katalógust egy másik program zárolja"},
        {SQLITE_BUSY_SNAPSHOT, "A katalógust egy másik program zárolja"},
        {SQLITE_READONLY, "A katalógus csak olvasható"},
        {SQLITE_READONLY_DIRECTORY, "A katalógus csak olvasható"},
        {SQLITE_FULL, "Megtelt a lemez"},
        {SQLITE_CORRUPT, "A katalógus állománya sérült"},
        {SQLITE_CORRUPT_INDEX, "A katalógus állománya sérült"},
        {SQLITE_NOTADB, "Az állomány sérült, vagy nem adatbázis"},
    };
    for (const auto &c : cases) {
        const QStringList lines = EngineErrorText(c.code, "engine says").split('\n');
        ASSERT_EQ(lines.size(), 2) << c.code;
        EXPECT_TRUE(lines[0].startsWith(QString::fromUtf8(c.lead))) << lines[0].toStdString();
        EXPECT_EQ(lines[1], "engine says");
    }
    for (int code : {SQLITE_ERROR, SQLITE_CONSTRAINT, SQLITE_CONSTRAINT_UNIQUE, SQLITE_CANTOPEN, SQLITE_MISMATCH})
        EXPECT_EQ(EngineErrorText(code, "no such table: x"), "no such table: x") << code;
}

namespace {
// The message of the DbError that run throws; empty when it throws none.
QString FailureOf(const std::function<void()> &run) {
    try {
        run();
    } catch (const DbError &e) {
        return e.message();
    }
    return {};
}
} // namespace

TEST_F(DbTest, LockDamageAndForeignFilesAreNamedInHungarianBeforeTheEngineText) {
    makeCatalogue(true);
    // Another program holds the catalogue.
    Db::setBusyTimeout(50);
    Db second;
    second.open(path("Kodexa.sqb"));
    Db::setBusyTimeout(3000);
    db.exec("BEGIN EXCLUSIVE");
    const QString locked = FailureOf([&] { second.scalar("SELECT count(*) FROM konyvek"); });
    EXPECT_EQ(locked, "A katalógust egy másik program zárolja, próbálja újra később.\ndatabase is locked");
    db.exec("ROLLBACK");
    second.close();
    db.close();

    // A page of the book table overwritten with zeros.
    test::ZeroRootPages(path("Kodexa.sqb"), "name='konyvek'");
    Db damaged;
    damaged.open(path("Kodexa.sqb"));
    const QString corrupt = FailureOf([&] { damaged.scalar("SELECT count(*) FROM konyvek WHERE cim <> ''"); });
    EXPECT_TRUE(corrupt.startsWith("A katalógus állománya sérült.\n")) << corrupt.toStdString();
    EXPECT_TRUE(corrupt.contains("malformed")) << corrupt.toStdString();

    writeFile("idegen.sqb", "Ez nem adatbázis, csak egy szöveg.\n" + QByteArray(5000, 'x'));
    Db foreign;
    EXPECT_EQ(FailureOf([&] { foreign.open(path("idegen.sqb")); }),
              "Az állomány sérült, vagy nem adatbázis.\nfile is not a database");
}

TEST_F(DbTest, AWriteProtectedFileOrFolderIsReadOnlyAndSaysSoOnAWrite) {
    makeCatalogue();
    EXPECT_FALSE(db.isReadOnly());
    db.close();
    const QByteArray before = readFile("Kodexa.sqb");
    const QString readOnly = "A katalógus csak olvasható: az állomány vagy a mappája írásvédett.\n"
                             "attempt to write a readonly database";
    {
        test::WriteProtected file(path("Kodexa.sqb"));
        if (!file.ok())
            GTEST_SKIP() << "the file system cannot write-protect files here";
        db.open(path("Kodexa.sqb"));
        EXPECT_TRUE(db.isReadOnly());
        EXPECT_EQ(FailureOf([&] { db.exec("INSERT INTO polc (polc, polc_nev) VALUES (1, 'A1')"); }), readOnly);
        db.close();
    }
    {
        // The file may be written, its folder takes no journal.
        test::WriteProtected folder(dir());
        ASSERT_TRUE(folder.ok());
        db.open(path("Kodexa.sqb"));
        EXPECT_TRUE(db.isReadOnly());
        const QString failure = FailureOf([&] { db.exec("INSERT INTO polc (polc, polc_nev) VALUES (1, 'A1')"); });
        EXPECT_TRUE(failure.startsWith("A katalógus csak olvasható: az állomány vagy a mappája írásvédett.\n"))
            << failure.toStdString();
        db.close();
    }
    EXPECT_EQ(readFile("Kodexa.sqb"), before);
}

TEST_F(DbTest, AFullDiskIsNamedAndTheCatalogueKeepsWhatWasCommitted) {
    test::SmallDisk disk(path("kicsi"), 256);
    if (!disk.ok())
        GTEST_SKIP() << "no right to mount a small file system";
    CreateCatalogue(path("kicsi/Kodexa.sqb"), false);
    db.open(path("kicsi/Kodexa.sqb"));
    QString failure;
    int added = 0;
    for (; added < 1000 && failure.isEmpty(); ++added)
        failure = FailureOf([&] {
            Transaction tx(db);
            db.exec(QStringLiteral("INSERT INTO konyvek (konyvek, cim, tartalom) VALUES (%1, 'Könyv', '%2')")
                        .arg(added + 1)
                        .arg(QString(4000, QChar('t'))));
            tx.commit();
        });
    EXPECT_TRUE(failure.startsWith("Megtelt a lemez, nincs hely a mentéshez.\n")) << failure.toStdString();
    EXPECT_TRUE(failure.contains("database or disk is full")) << failure.toStdString();
    EXPECT_EQ(db.scalar("SELECT count(*) FROM konyvek").toInt(), added - 1);
    EXPECT_EQ(db.scalar("PRAGMA integrity_check").toString(), "ok");
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

// A statement of a text prepared before comes back reset and with nothing bound; two in use
// at once are two statements; a schema change (kept or rolled back) is seen at once, column
// list included; statements outliving their connection's close still finalize cleanly.
TEST_F(DbTest, ReusedStatementsStartCleanAndFollowTheSchema) {
    makeCatalogue();
    db.exec("CREATE TABLE t (a INTEGER, b TEXT)");
    db.exec("INSERT INTO t VALUES (1, 'x'), (2, 'y')");
    const QString pick = "SELECT b FROM t WHERE a = ?1";
    {
        Stmt s = db.prepare(pick);
        s.bind(1, 2);
        ASSERT_TRUE(s.step()); // left in the middle of its rows
        EXPECT_EQ(s.text(0), "y");
    }
    {
        Stmt s = db.prepare(pick); // nothing bound: a = NULL matches no row
        EXPECT_FALSE(s.step());
    }
    {
        Stmt a = db.prepare("SELECT a FROM t ORDER BY a");
        Stmt b = db.prepare("SELECT a FROM t ORDER BY a");
        ASSERT_TRUE(a.step());
        ASSERT_TRUE(b.step());
        ASSERT_TRUE(a.step());
        EXPECT_EQ(a.int64(0), 2);
        EXPECT_EQ(b.int64(0), 1);
    }
    const QString all = "SELECT * FROM t";
    EXPECT_EQ(db.prepare(all).columnCount(), 2);
    db.exec("ALTER TABLE t ADD COLUMN c TEXT");
    EXPECT_EQ(db.prepare(all).columnCount(), 3);
    EXPECT_EQ(TableFields(db, "t")->size(), 3);
    db.exec("SAVEPOINT s; ALTER TABLE t ADD COLUMN d TEXT");
    EXPECT_EQ(db.prepare(all).columnCount(), 4);
    EXPECT_EQ(TableFields(db, "t")->size(), 4);
    db.exec("ROLLBACK TO s; RELEASE s");
    EXPECT_EQ(db.prepare(all).columnCount(), 3);
    EXPECT_EQ(TableFields(db, "T")->size(), 3);
    EXPECT_EQ(TableFields(db, "t")->fields.last().name, "c");
    // The same number of changes again, but another column: the list is the new one.
    db.exec("SAVEPOINT s; ALTER TABLE t ADD COLUMN d TEXT");
    EXPECT_EQ(TableFields(db, "t")->fields.last().name, "d");
    db.exec("ROLLBACK TO s; RELEASE s; ALTER TABLE t ADD COLUMN x TEXT");
    EXPECT_EQ(TableFields(db, "t")->fields.last().name, "x");
    db.exec("ALTER TABLE t DROP COLUMN x");
    {
        // Bound before the column list is asked for: still bound after.
        Stmt s = db.prepare("SELECT * FROM t WHERE a = ?1");
        s.bind(1, 2);
        EXPECT_EQ(s.columnCount(), 3);
        ASSERT_TRUE(s.step());
        EXPECT_EQ(s.text(1), "y");
    }

    // A list handed out is the caller's own: changing it changes no later list.
    FieldListPtr mine = TableFields(db, "t");
    mine->fields[0].label = "Saját";
    EXPECT_NE(TableFields(db, "t")->fields[0].label, "Saját");

    // Another connection's change of the schema is seen too.
    {
        Db other;
        other.open(db.path());
        other.exec("ALTER TABLE t ADD COLUMN e INTEGER");
    }
    EXPECT_EQ(TableFields(db, "t")->size(), 4);
    EXPECT_EQ(db.prepare(all).columnCount(), 4); // prepared afresh

    auto kept = std::make_unique<Stmt>(db.prepare(pick));
    db.close();
    kept.reset(); // finalized by its owner after the close
    db.open(path("Kodexa.sqb"));
    EXPECT_EQ(db.scalar("SELECT count(*) FROM t").toInt(), 2);
}
