// The main window's backups: the one at exit, the one on command, and the restore that
// first saves what it replaces.
#include "app/Main.h"
#include "data/Backup.h"
#include "data/Catalogue.h"
#include "support/Fixture.h"

#include <QAction>
#include <QDir>
#include <QPushButton>
#include <QTableWidget>

using namespace kodexa;
using namespace kodexa::test;

class MainBackupTest : public ProgramDirTest {
protected:
    QStringList backups() const { return QDir(path("Backup")).entryList({"*.sqb"}, QDir::Files, QDir::Name); }
    std::unique_ptr<Tfrm_Main> start() {
        auto w = std::make_unique<Tfrm_Main>(services);
        EXPECT_TRUE(w->FormCreate());
        return w;
    }
};

TEST_F(MainBackupTest, ClosingBacksUpAChangedCatalogueOnceAndAnUnchangedOneNotAgain) {
    makeCatalogue(true);
    const qint64 books = db.scalar("SELECT count(*) FROM konyvek").toLongLong();
    db.close();
    for (int run = 0; run < 2; ++run) {
        auto w = start();
        w->show();
        w->close();
        // The second run only looked: its start and end wrote nothing worth a copy.
        ASSERT_EQ(backups().size(), 1) << run;
    }
    EXPECT_EQ(BooksInBackup(path("Backup/") + backups()[0]), books);
    EXPECT_TRUE(services.messages.isEmpty());
}

TEST_F(MainBackupTest, RestoreFromTheMenuBringsBackTheChosenStateAndKeepsTheReplacedOne) {
    makeCatalogue(true);
    const qint64 demo = db.scalar("SELECT count(*) FROM konyvek").toLongLong();
    auto w = start();
    w->Action("aMentes")->trigger();
    ASSERT_EQ(backups().size(), 1);
    ASSERT_EQ(services.messages.size(), 1);
    EXPECT_TRUE(services.messages[0].text.contains(path("Backup/") + backups()[0]));
    AddBook(db, {.cim = QStringLiteral("Később vett könyv")});
    w->ReadListAgain();
    ASSERT_EQ(w->Tbl().recordCount(), demo + 1);

    // The user looks at the list and gives up: nothing changes.
    WhenModal([](QWidget *chooser) { Child<QPushButton>(chooser, "btnMegse")->click(); });
    w->Action("aVisszaallit")->trigger();
    EXPECT_EQ(w->Tbl().recordCount(), demo + 1);
    EXPECT_EQ(backups().size(), 1);

    QStringList row;
    WhenModal([&row](QWidget *chooser) {
        auto *grid = Child<QTableWidget>(chooser, "DBGrid1");
        for (int c = 0; c < grid->columnCount(); ++c)
            row << grid->item(0, c)->text();
        Child<QPushButton>(chooser, "btnVisszaallit")->click();
    });
    services.yesNoAnswers.push_back(true);
    w->Action("aVisszaallit")->trigger();
    ASSERT_EQ(row.size(), 4);
    EXPECT_EQ(row[2], QString::number(demo));
    EXPECT_EQ(w->Tbl().recordCount(), demo);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM konyvek WHERE cim='Később vett könyv'").toInt(), 0);
    // The state it replaced is the newest backup now.
    ASSERT_EQ(backups().size(), 2);
    EXPECT_EQ(BooksInBackup(ListBackups(path("Backup"), path("Kodexa.sqb"))[0].path), demo + 1);
    EXPECT_TRUE(services.errorTexts().isEmpty());
}
