// The SQL console: what counts as a query, commands of several statements that change all
// or nothing, interruption, the window's run, files and pages.
#include "admin/SQL.h"
#include "admin/core/SqlConsole.h"
#include "app/BookGridModel.h"
#include "app/Main.h"
#include "data/TextFile.h"
#include "gui/QueryCursorModel.h"
#include "support/Fixture.h"

#include <Qsci/qsciscintilla.h>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <sqlite3.h>

using namespace kodexa;
using namespace kodexa::test;

namespace {

const QString Endless = QStringLiteral("WITH RECURSIVE r(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM r) ");

class SqlConsoleTest : public CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        openCatalogue(true);
        db.exec(QStringLiteral("CREATE TABLE c (x INTEGER CHECK (x < 5));"
                               "INSERT INTO c VALUES (1), (2), (3), (4)"));
    }
    QString column(const QString &sql) {
        Stmt s = db.prepare(sql);
        QStringList out;
        while (s.step())
            out << s.text(0);
        return out.join(QLatin1Char(','));
    }
    qint64 count(const QString &table) { return db.scalar(QStringLiteral("SELECT count(*) FROM ") + table).toLongLong(); }
};

TEST_F(SqlConsoleTest, QueriesAreStatementsThatReturnRowsAndChangeNothing) {
    SqlConsole console(db.path());
    using K = SqlConsole::Kind;
    EXPECT_EQ(console.kindOf(QStringLiteral("  select * from konyvek")), K::Query);
    EXPECT_EQ(console.kindOf(QStringLiteral("-- the titles\nSELECT cim FROM konyvek")), K::Query);
    EXPECT_EQ(console.kindOf(QStringLiteral("WITH x AS (SELECT 1) SELECT * FROM x")), K::Query);
    EXPECT_EQ(console.kindOf(QStringLiteral("PRAGMA table_info(konyvek)")), K::Query);
    EXPECT_EQ(console.kindOf(QStringLiteral("UPDATE c SET x = 1")), K::Command);
    EXPECT_EQ(console.kindOf(QStringLiteral("INSERT INTO c VALUES (0) RETURNING x")), K::Command);
    EXPECT_EQ(console.kindOf(QString()), K::Command);
    EXPECT_EQ(console.kindOf(QStringLiteral("  ;  -- nothing")), K::Command);
}

TEST_F(SqlConsoleTest, ACommandRunsEveryStatementOrNoneOfThem) {
    SqlConsole console(db.path());
    auto ok = console.run(QStringLiteral("CREATE TABLE a (v); INSERT INTO a VALUES (1);\nINSERT INTO a VALUES (2);"));
    EXPECT_EQ(ok.error, QString());
    EXPECT_EQ(column(QStringLiteral("SELECT v FROM a")), QStringLiteral("1,2"));

    auto bad = console.run(QStringLiteral("INSERT INTO a VALUES (3); DELETE FROM c; INSERT INTO nincs VALUES (1)"));
    EXPECT_EQ(bad.error, QStringLiteral("SQL hiba:\nno such table: nincs"));
    EXPECT_EQ(column(QStringLiteral("SELECT v FROM a")), QStringLiteral("1,2")) << "the first statements are undone";
    EXPECT_EQ(count(QStringLiteral("c")), 4);
    EXPECT_FALSE(console.inTransaction()) << "no transaction is left open";

    // An UPDATE failing half-way: rows 1..3 pass the check, row 4 does not.
    auto half = console.run(QStringLiteral("UPDATE c SET x = x + 1"));
    EXPECT_TRUE(half.error.startsWith(QStringLiteral("SQL hiba:\nCHECK constraint failed"))) << half.error.toStdString();
    EXPECT_EQ(column(QStringLiteral("SELECT x FROM c ORDER BY rowid")), QStringLiteral("1,2,3,4"));

    // A text that opens its own transaction and fails stops there, as in the engine's shell:
    // the transaction stays open for the user to end.
    auto tx = console.run(QStringLiteral("BEGIN; DELETE FROM c; INSERT INTO nincs VALUES (1); COMMIT;"));
    EXPECT_EQ(tx.error, QStringLiteral("SQL hiba:\nno such table: nincs"));
    EXPECT_TRUE(console.inTransaction());
    console.endTransaction(false);
    EXPECT_EQ(count(QStringLiteral("c")), 4);
    // …and keeps it when it succeeds.
    EXPECT_EQ(console.run(QStringLiteral("BEGIN; DELETE FROM c WHERE x = 4; COMMIT;")).error, QString());
    EXPECT_EQ(count(QStringLiteral("c")), 3);

    auto empty = console.run(QString());
    EXPECT_EQ(empty.kind, SqlConsole::Kind::Command);
    EXPECT_EQ(empty.error, QString()) << "the engine takes an empty text as done";
    EXPECT_EQ(console.run(QStringLiteral("SELEC 1")).error, QStringLiteral("SQL hiba:\nnear \"SELEC\": syntax error"));
}

// The console works on a connection of its own: what the user types runs as typed there,
// and the windows' connection never finds itself inside the user's transaction.
TEST_F(SqlConsoleTest, TypedTransactionControlRunsAsTypedOnTheConsolesOwnConnection) {
    SqlConsole console(db.path());
    ASSERT_EQ(console.run(QStringLiteral("-- a comment first\nBEGIN; DELETE FROM c WHERE x = 4;")).error, QString());
    EXPECT_TRUE(console.inTransaction());
    EXPECT_TRUE(sqlite3_get_autocommit(db.handle())) << "the windows' connection is not in it";
    EXPECT_EQ(count(QStringLiteral("c")), 4) << "not committed yet";
    EXPECT_EQ(console.run(QStringLiteral("COMMIT")).error, QString());
    EXPECT_FALSE(console.inTransaction());
    EXPECT_EQ(count(QStringLiteral("c")), 3);

    ASSERT_EQ(console.run(QStringLiteral("/* mine */ begin transaction; DELETE FROM c")).error, QString());
    // Inside the user's transaction a failing text of several statements leaves nothing of
    // itself and the transaction goes on.
    EXPECT_FALSE(console.run(QStringLiteral("INSERT INTO c VALUES (0); INSERT INTO nincs VALUES (1)")).error.isEmpty());
    EXPECT_TRUE(console.inTransaction());
    EXPECT_EQ(console.db().scalar(QStringLiteral("SELECT count(*) FROM c")).toInt(), 0);
    EXPECT_EQ(console.run(QStringLiteral("ROLLBACK;")).error, QString());
    EXPECT_EQ(count(QStringLiteral("c")), 3);

    EXPECT_EQ(console.run(QStringLiteral("SAVEPOINT a; DELETE FROM c; ROLLBACK TO a; INSERT INTO c VALUES (0); RELEASE a;"))
                  .error,
              QString());
    EXPECT_FALSE(console.inTransaction());
    EXPECT_EQ(column(QStringLiteral("SELECT x FROM c ORDER BY x")), QStringLiteral("0,1,2,3"));
    // A trigger's body holds semicolons and an END of its own; it is no transaction control.
    EXPECT_EQ(console.run(QStringLiteral("CREATE TRIGGER t AFTER INSERT ON c BEGIN DELETE FROM c WHERE x = 0; END;"
                                         " INSERT INTO c VALUES (1); INSERT INTO nincs VALUES (1)"))
                  .asTyped,
              false);
    EXPECT_FALSE(db.hasTable(QStringLiteral("nincs")));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'trigger'")).toInt(), 0)
        << "the failing text left nothing";
}

TEST_F(SqlConsoleTest, AQueryOpensACursorOverItsFirstStatement) {
    SqlConsole console(db.path());
    auto q = console.run(QStringLiteral("SELECT cim FROM konyvek ORDER BY konyvek; DELETE FROM konyvek"));
    ASSERT_EQ(q.error, QString());
    ASSERT_EQ(q.kind, SqlConsole::Kind::Query);
    EXPECT_EQ(q.cursor->rowCount(), count(QStringLiteral("konyvek")));
    EXPECT_GT(count(QStringLiteral("konyvek")), 0) << "what follows a query's first statement is not run";
}

TEST_F(SqlConsoleTest, AnInterruptedRunChangesNothing) {
    SqlConsole console(db.path());
    // Asked before the statement starts: the run still stops (the stop is not lost).
    console.interrupt();
    auto cmd = console.run(QStringLiteral("DELETE FROM c; INSERT INTO c ") + Endless + QStringLiteral("SELECT 1 FROM r"));
    EXPECT_TRUE(cmd.interrupted);
    EXPECT_EQ(count(QStringLiteral("c")), 4);
    auto query = console.run(Endless + QStringLiteral("SELECT i FROM r"));
    EXPECT_TRUE(query.interrupted);
    EXPECT_EQ(query.cursor, nullptr);
    console.clearInterrupt();
    EXPECT_FALSE(console.run(QStringLiteral("DELETE FROM c")).interrupted);
    EXPECT_EQ(count(QStringLiteral("c")), 0);
}

// ---- The window ----

class SqlWindowTest : public SqlConsoleTest {
protected:
    void SetUp() override {
        SqlConsoleTest::SetUp();
        w = std::make_unique<Tfrm_SQL>(*ctx);
        w->show();
        memo = Child<QsciScintilla>(w.get(), QStringLiteral("Memo1"));
        pages = Child<QTabWidget>(w.get(), QStringLiteral("PageControl1"));
        grid = Child<QTableView>(w.get(), QStringLiteral("DBGrid1"));
    }
    void TearDown() override {
        w.reset();
        SqlConsoleTest::TearDown();
    }
    void run(const QString &text) {
        memo->setText(text);
        w->aFuttat->trigger();
    }
    QStringList infos() const {
        QStringList r;
        for (const auto &m : services.messages)
            if (m.kind == MessageKind::Info)
                r << m.text;
        return r;
    }

    std::unique_ptr<Tfrm_SQL> w;
    QsciScintilla *memo = nullptr;
    QTabWidget *pages = nullptr;
    QTableView *grid = nullptr;
};

QStringList Names(const QList<QAction *> &actions) {
    QStringList out;
    for (QAction *a : actions)
        out << (a->isSeparator() ? QStringLiteral("-") : a->menu() ? a->text() : a->objectName());
    return out;
}

TEST_F(SqlWindowTest, CommandsStandInTheirPlaces) {
    EXPECT_EQ(Names(Child<QToolBar>(w.get(), QStringLiteral("ToolBar1"))->actions()),
              QStringList({"aUj", "aMegnyit", "aMent", "-", "aExport", "-", "aFuttat", "aMegszakit", "-", "aKivag",
                           "aMasol", "aBeilleszt", "-", "aBezar"}));
    EXPECT_EQ(Names(Child<QMenu>(w.get(), QStringLiteral("PopupMenu1"))->actions()),
              QStringList({"aFuttat", "-", "aUj", "aMegnyit", "aMent", "-", "aKivag", "aMasol", "aBeilleszt", "aMindet"}));
    EXPECT_EQ(Names(Child<QMenu>(w.get(), QStringLiteral("PopupMenu2"))->actions()), QStringList({"aMasol", "-", "aExport"}));
    EXPECT_EQ(Names(Child<QMenuBar>(w.get(), QStringLiteral("MainMenu1"))->actions()),
              QStringList({"Fájl", "Szerkesztés", "SQL"}));
    EXPECT_EQ(w->aFuttat->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(w->aFuttat->text(), QStringLiteral("SQL lekérdezés"));
    EXPECT_TRUE(w->aBezar->shortcut().isEmpty());
    // The engine keeps colours as 0xBBGGRR.
    EXPECT_EQ(memo->SendScintilla(QsciScintillaBase::SCI_GETCARETLINEBACK), 0xFFF0E1L);
}

TEST_F(SqlWindowTest, AQueryShowsItsRowsOnTheResultPage) {
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_FALSE(w->aExport->isEnabled());
    run(QStringLiteral("  select konyvek, cim from konyvek order by konyvek"));
    EXPECT_EQ(services.messages.size(), 0);
    EXPECT_EQ(pages->currentIndex(), 1);
    EXPECT_EQ(grid->model()->rowCount(), count(QStringLiteral("konyvek")));
    EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("cim"));
    EXPECT_EQ(grid->model()->data(grid->model()->index(0, 0)).toString(), QStringLiteral("1"));
    EXPECT_EQ(grid->horizontalHeader()->sectionSize(1), 64);
    ASSERT_TRUE(w->aExport->isEnabled());
    QString exportTitle;
    WhenModal([&exportTitle](QWidget *dlg) {
        exportTitle = dlg->objectName() + QLatin1Char('|') + dlg->windowTitle();
        dlg->close();
    });
    w->aExport->trigger();
    EXPECT_EQ(exportTitle, QStringLiteral("frm_Hatarolt|Határolt szöveg export"));

    // A command closes the result first; the page stays where it is.
    pages->setCurrentIndex(0);
    run(QStringLiteral("UPDATE c SET x = 0 WHERE x = 1"));
    EXPECT_EQ(infos(), QStringList{QStringLiteral("SQL futtatás kész.")});
    EXPECT_EQ(grid->model()->rowCount(), 0);
    EXPECT_FALSE(w->aExport->isEnabled()) << "closed with the result";
    EXPECT_EQ(pages->currentIndex(), 0);
}

TEST_F(SqlWindowTest, AFailingCommandSaysSoAndChangesNothing) {
    run(QStringLiteral("UPDATE c SET x = x + 1"));
    ASSERT_EQ(services.errorTexts().size(), 1);
    EXPECT_TRUE(services.errorTexts()[0].startsWith(QStringLiteral("SQL hiba:\n")));
    EXPECT_TRUE(infos().isEmpty());
    EXPECT_EQ(column(QStringLiteral("SELECT x FROM c ORDER BY rowid")), QStringLiteral("1,2,3,4"));
    EXPECT_EQ(pages->currentIndex(), 0);
}

TEST_F(SqlWindowTest, ASelectionRunsAloneAndAnEmptyEditorIsACommand) {
    memo->setText(QStringLiteral("DELETE FROM c;\nSELECT x FROM c"));
    memo->setSelection(1, 0, 1, 15);
    w->aFuttat->trigger();
    EXPECT_EQ(pages->currentIndex(), 1);
    EXPECT_EQ(grid->model()->rowCount(), 4) << "the DELETE outside the selection did not run";

    pages->setCurrentIndex(0);
    run(QString());
    EXPECT_EQ(infos(), QStringList{QStringLiteral("SQL futtatás kész.")});
}

// What runs is what the editor holds when F5 is pressed: the selection, or the whole text.
TEST_F(SqlWindowTest, F5RunsWhatTheEditorHoldsAtThatMoment) {
    w->activateWindow();
    memo->setFocus();
    TypeText(memo, QStringLiteral("SELECT 1"));
    PressKey(memo, Qt::Key_A, Qt::ControlModifier);
    TypeText(memo, QStringLiteral("DELETE FROM konyvek WHERE konyvek=2"));
    PressKey(memo, Qt::Key_F5);
    EXPECT_EQ(services.errorTexts(), QStringList());
    EXPECT_EQ(infos(), QStringList{QStringLiteral("SQL futtatás kész.")});
    EXPECT_EQ(count(QStringLiteral("konyvek WHERE konyvek = 2")), 0);

    // A selection typed over in part runs as it reads now.
    services.messages.clear();
    memo->setText(QStringLiteral("DELETE FROM c WHERE x = 1;\nDELETE FROM konyvek"));
    memo->setSelection(0, 24, 0, 25);
    TypeText(memo, QStringLiteral("3"));
    memo->setSelection(0, 0, 0, 26);
    PressKey(memo, Qt::Key_F5);
    EXPECT_EQ(infos(), QStringList{QStringLiteral("SQL futtatás kész.")});
    EXPECT_EQ(column(QStringLiteral("SELECT x FROM c ORDER BY x")), QStringLiteral("1,2,4"));
    EXPECT_GT(count(QStringLiteral("konyvek")), 0) << "the line outside the selection did not run";
}

// A transaction begun in the console is the console's: shown while open, and closing the
// window asks whether to keep it (Igen commits, Nem rolls back, Mégse stays).
TEST_F(SqlWindowTest, AnOpenTransactionIsShownAndClosingAsksWhatBecomesOfIt) {
    auto *state = Child<QLabel>(w.get(), QStringLiteral("TransactionState"));
    const auto title = [this] { return db.scalar(QStringLiteral("SELECT cim FROM konyvek WHERE konyvek = 1")).toString(); };
    const QString before = title();
    for (const Answer answer : {Answer::Cancel, Answer::No, Answer::Yes}) {
        if (!w->isVisible()) {
            w = std::make_unique<Tfrm_SQL>(*ctx);
            w->show();
            memo = Child<QsciScintilla>(w.get(), QStringLiteral("Memo1"));
            state = Child<QLabel>(w.get(), QStringLiteral("TransactionState"));
        }
        if (answer != Answer::Cancel || state->text().isEmpty())
            run(QStringLiteral("BEGIN; UPDATE konyvek SET cim = 'X' WHERE konyvek = 1;"));
        EXPECT_EQ(state->text(), QStringLiteral("Nyitott tranzakció"));
        EXPECT_TRUE(sqlite3_get_autocommit(db.handle())) << "the windows' connection is never in it";
        EXPECT_EQ(title(), before);
        services.questions.clear();
        services.yesNoCancelAnswers = {answer};
        w->aBezar->trigger();
        ASSERT_EQ(services.questions.size(), 1);
        EXPECT_EQ(services.questions[0].text,
                  QStringLiteral("A lekérdezőablak nyitott tranzakciót tart. Véglegesíti a módosításokat?"));
        EXPECT_EQ(w->isVisible(), answer == Answer::Cancel);
        EXPECT_EQ(title(), answer == Answer::Yes ? QStringLiteral("X") : before);
    }
    // Closed without a transaction open: nothing is asked.
    w = std::make_unique<Tfrm_SQL>(*ctx);
    w->show();
    Child<QsciScintilla>(w.get(), QStringLiteral("Memo1"))->setText(QStringLiteral("BEGIN; DELETE FROM c; COMMIT"));
    w->aFuttat->trigger();
    EXPECT_TRUE(Child<QLabel>(w.get(), QStringLiteral("TransactionState"))->text().isEmpty());
    services.questions.clear();
    w->aBezar->trigger();
    EXPECT_TRUE(services.questions.isEmpty());
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(count(QStringLiteral("c")), 0);
}

TEST_F(SqlWindowTest, EscStopsALongRunAndTheWindowSaysSo) {
    memo->setText(QStringLiteral("DELETE FROM c; INSERT INTO c ") + Endless + QStringLiteral("SELECT 1 FROM r"));
    bool sawRunning = false;
    QTimer::singleShot(0, w.get(), [&] {
        sawRunning = w->running() && w->aMegszakit->isEnabled() && !w->aFuttat->isEnabled();
        PressKey(memo, Qt::Key_Escape);
    });
    w->aFuttat->trigger();
    EXPECT_TRUE(sawRunning);
    EXPECT_TRUE(w->isVisible()) << "Esc during a run stops the run, not the window";
    EXPECT_EQ(infos(), QStringList{QStringLiteral("A futtatás megszakítva, az adatbázis nem változott.")});
    EXPECT_EQ(count(QStringLiteral("c")), 4);
    EXPECT_FALSE(w->running());
    // The next run is not stopped by the old request.
    run(QStringLiteral("DELETE FROM c"));
    EXPECT_EQ(count(QStringLiteral("c")), 0);
}

TEST_F(SqlWindowTest, EditingActionsActOnlyOnTheEditorPage) {
    QApplication::clipboard()->setText(QStringLiteral("előtte"));
    memo->setText(QStringLiteral("SELECT 1"));
    w->aMindet->trigger();
    pages->setCurrentIndex(1);
    w->aMasol->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("előtte")) << "Másol on the result page copies nothing";
    pages->setCurrentIndex(0);
    w->aMasol->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("SELECT 1"));
    w->aUj->trigger();
    EXPECT_EQ(memo->text(), QString());
}

TEST_F(SqlWindowTest, FilesAreWindows1250InTheSqlFolder) {
    // Made when the window opens, so the file dialogs start there.
    EXPECT_TRUE(QDir(path(QStringLiteral("SQL"))).exists());
    memo->setText(QStringLiteral("SELECT 'árvíztűrő'\nFROM c"));
    services.fileAnswers.push_back(path(QStringLiteral("SQL/proba.sql")));
    w->aMent->trigger();
    EXPECT_EQ(readFile(QStringLiteral("SQL/proba.sql")), QByteArray("SELECT '\xE1rv\xEDzt\xFBr\xF5'\r\nFROM c\r\n"));
    EXPECT_EQ(w->fileName(), path(QStringLiteral("SQL/proba.sql")));

    writeFile(QStringLiteral("SQL/masik.sql"), QByteArray("SELECT '\xF5'\r\n-- v\xE9ge\r\n"));
    services.fileAnswers.push_back(path(QStringLiteral("SQL/masik.sql")));
    w->aMegnyit->trigger();
    EXPECT_EQ(memo->text(), QStringLiteral("SELECT 'ő'\n-- vége"));
    EXPECT_EQ(w->fileName(), path(QStringLiteral("SQL/masik.sql")));
    w->aMegnyit->trigger(); // cancelled: nothing changes
    EXPECT_EQ(w->fileName(), path(QStringLiteral("SQL/masik.sql")));
    EXPECT_EQ(services.fileDialogs,
              (QStringList{QStringLiteral("SQL mentése"), QStringLiteral("SQL megnyitás"), QStringLiteral("SQL megnyitás")}));
}

TEST_F(SqlWindowTest, AValueFailingWhileScrollingIsReportedOnce) {
    // Row 1000 cannot be computed; the count and the first block can.
    run(QStringLiteral("WITH RECURSIVE r(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM r WHERE i < 2000) "
                       "SELECT CASE WHEN i = 1000 THEN abs(i - i - 9223372036854775807 - 1) ELSE i END AS v FROM r"));
    ASSERT_TRUE(services.errorTexts().isEmpty());
    QAbstractItemModel *m = grid->model();
    ASSERT_EQ(m->rowCount(), 2000);
    EXPECT_EQ(m->data(m->index(999, 0)), QVariant());
    EXPECT_EQ(m->data(m->index(998, 0)), QVariant()) << "its block is not shown";
    EXPECT_EQ(m->data(m->index(1500, 0)).toString(), QStringLiteral("1501"));
    QCoreApplication::processEvents();
    EXPECT_EQ(services.errorTexts(), QStringList{QStringLiteral("SQL hiba:\ninteger overflow")});
    m->data(m->index(999, 0));
    QCoreApplication::processEvents();
    EXPECT_EQ(services.errorTexts().size(), 1) << "told once, not at every paint";
}

// ---- From the main window ----

class SqlFromMainWindowTest : public DemoMainWindowTest {};

// The book list follows what the console did: after an UPDATE there, it shows the new title.
TEST_F(SqlFromMainWindowTest, TheBookListShowsWhatTheConsoleChanged) {
    BookList &tbl = w->Tbl();
    const qint64 key = tbl.value(QStringLiteral("konyvek")).toLongLong();
    const int titleColumn = int(w->GridModel()->fields().indexOf(QStringLiteral("cim")));
    ASSERT_GE(titleColumn, 0);
    const auto shownTitle = [&] {
        // The current row: a new title may move the book in a list sorted by title.
        return w->GridModel()->data(w->GridModel()->index(tbl.recNo() - 1, titleColumn), Qt::DisplayRole).toString();
    };
    QString whileOpen;
    WhenModal([&](QWidget *console) {
        Child<QsciScintilla>(console, QStringLiteral("Memo1"))
            ->setText(QStringLiteral("UPDATE konyvek SET cim = 'Új cím' WHERE konyvek = %1").arg(key));
        qobject_cast<Tfrm_SQL *>(console)->aFuttat->trigger();
        whileOpen = shownTitle();
        qobject_cast<Tfrm_SQL *>(console)->aBezar->trigger();
    });
    w->Action(QStringLiteral("aSQL"))->trigger();
    EXPECT_EQ(whileOpen, QStringLiteral("Új cím"));
    EXPECT_EQ(tbl.value(QStringLiteral("cim")).toString(), QStringLiteral("Új cím"));
    EXPECT_EQ(tbl.value(QStringLiteral("konyvek")).toLongLong(), key) << "the same book stays current";
    EXPECT_TRUE(sqlite3_get_autocommit(w->Db1().handle()));
}

} // namespace
