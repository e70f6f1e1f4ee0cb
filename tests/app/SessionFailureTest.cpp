// The failures that must not end the session: a catalogue locked by another program while
// the list is browsed, a damaged book table at start, a book save refused half-way.
// Each is a real failure of the engine, met through the real main window.

#include "app/BookGridModel.h"
#include "app/Main.h"
#include "data/Catalogue.h"
#include "data/Kozos.h"
#include "support/Fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace kodexa;

namespace {

class SessionFailureTest : public test::ProgramDirTest {
protected:
    void SetUp() override {
        ProgramDirTest::SetUp();
        // A lock held on purpose is met after a moment, not after the usual wait.
        Db::setBusyTimeout(50);
    }
    void TearDown() override {
        w.reset();
        Db::setBusyTimeout(3000);
        ProgramDirTest::TearDown();
    }
    void addBooks(int n) {
        Transaction tx(db);
        for (int i = 1; i <= n; ++i)
            AddBook(db, {.cim = QStringLiteral("Cím %1").arg(i, 3, 10, QLatin1Char('0')),
                         .szerzo = QStringLiteral("Szerző %1").arg(i % 7)});
        tx.commit();
    }
    void startShown() { w = test::ShowMainWindow(services); }
    // Paints the grid now, as the desktop would, and lets queued reports run.
    void paintAndSettle() {
        w->Grid()->viewport()->repaint();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
    // The title cell of a row as the grid paints it.
    QString title(int row) {
        return w->GridModel()->index(row, int(w->GridModel()->fields().indexOf(QStringLiteral("cim")))).data().toString();
    }
    QString detail(const char *field) { return w->findChild<QLabel *>(QStringLiteral("Detail_") + field)->text(); }

    std::unique_ptr<Tfrm_Main> w;
};

TEST_F(SessionFailureTest, ALockHeldByAnotherProgramWhileBrowsingIsReportedOnceAndTheListGoesOn) {
    makeCatalogue();
    addBooks(300);
    startShown();
    EXPECT_EQ(title(0), QStringLiteral("Cím 001"));

    // Another program takes the file for itself: not even reading is possible.
    Db other;
    other.open(path(QStringLiteral("Kodexa.sqb")));
    other.exec(QStringLiteral("BEGIN EXCLUSIVE"));
    test::PressKey(w->Grid(), Qt::Key_End, Qt::ControlModifier);
    for (int i = 0; i < 3; ++i)
        paintAndSettle();
    EXPECT_EQ(w->Tbl().currentIndex(), 299);
    ASSERT_EQ(services.errorTexts().size(), 1) << services.errorTexts().join(" / ").toStdString();
    EXPECT_TRUE(services.errorTexts()[0].contains(QStringLiteral("locked"))) << services.errorTexts()[0].toStdString();
    EXPECT_EQ(services.messages[0].caption, QStringLiteral("Hiba"));
    // What could not be read shows empty, not another book's details.
    EXPECT_EQ(title(299), QString());
    EXPECT_EQ(detail("cim"), QString());
    // Moving on while the lock stays brings no box per row or per repaint.
    test::PressKey(w->Grid(), Qt::Key_Up);
    paintAndSettle();
    EXPECT_EQ(services.errorTexts().size(), 1);

    // The other program lets go: the next read works and the rows appear.
    other.exec(QStringLiteral("ROLLBACK"));
    test::PressKey(w->Grid(), Qt::Key_Down);
    paintAndSettle();
    EXPECT_EQ(title(299), QStringLiteral("Cím 300"));
    EXPECT_EQ(detail("cim"), QStringLiteral("Cím 300"));
    EXPECT_EQ(services.errorTexts().size(), 1);

    // A new lock later is a new failure and is reported again; commands keep working.
    other.exec(QStringLiteral("BEGIN EXCLUSIVE"));
    // A row in the middle of the list, not read so far.
    w->Grid()->setCurrentIndex(w->GridModel()->index(200, 1));
    paintAndSettle();
    other.exec(QStringLiteral("ROLLBACK"));
    EXPECT_EQ(services.errorTexts().size(), 2);
    EXPECT_TRUE(w->isVisible());
}

// Zeroes the first page of every b-tree of the book table: the table and its indexes.
void DamageBookTable(const QString &file) { test::ZeroRootPages(file, QStringLiteral("tbl_name='konyvek'")); }

TEST_F(SessionFailureTest, ADamagedBookTableAtStartGivesTheEnginesMessageAndAnError) {
    makeCatalogue();
    addBooks(300);
    db.close();
    DamageBookTable(path(QStringLiteral("Kodexa.sqb")));

    w = std::make_unique<Tfrm_Main>(services);
    EXPECT_FALSE(w->FormCreate());
    EXPECT_TRUE(w->StartFailed());
    ASSERT_EQ(services.errorTexts().size(), 1) << services.errorTexts().join(" / ").toStdString();
    EXPECT_TRUE(services.errorTexts()[0].contains(QStringLiteral("malformed"))) << services.errorTexts()[0].toStdString();
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(w->Db1().isOpen());
}

TEST_F(SessionFailureTest, ARefusedBookSaveLeavesNoNewLookupRowsBehind) {
    makeCatalogue();
    addBooks(3);
    db.exec(QStringLiteral("CREATE TRIGGER tele BEFORE INSERT ON konyvek "
                           "BEGIN SELECT RAISE(ABORT, 'a lemez megtelt'); END"));
    const QString lookups = QStringLiteral("SELECT (SELECT count(*) FROM szerzo) || '/' || (SELECT count(*) FROM kiado)");
    const QString before = db.scalar(lookups).toString();
    startShown();
    bool stayedOpen = false;
    test::WhenModal([&](QWidget *d) {
        test::TypeText(d->findChild<QLineEdit *>(QStringLiteral("DBEdit6")), QStringLiteral("Új könyv"));
        d->findChild<QComboBox *>(QStringLiteral("DBComboBox1"))->setEditText(QStringLiteral("Új Szerző"));
        d->findChild<QComboBox *>(QStringLiteral("DBComboBox4"))->setEditText(QStringLiteral("Új Kiadó"));
        d->findChild<QPushButton *>(QStringLiteral("Button1"))->click();
        stayedOpen = d->isVisible();
        d->findChild<QPushButton *>(QStringLiteral("Button2"))->click();
    });
    test::PressKey(w->Grid(), Qt::Key_Insert);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(services.errorTexts(), QStringList{QStringLiteral("a lemez megtelt")});
    // Neither the author nor the publisher made for the refused book stays.
    EXPECT_EQ(db.scalar(lookups).toString(), before);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM konyvek")).toInt(), 3);
    EXPECT_EQ(w->Tbl().recordCount(), 3);
}

} // namespace
