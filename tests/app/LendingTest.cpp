#include "app/BookGridModel.h"
#include "app/Main.h"
#include "data/Catalogue.h"
#include "data/Seged.h"
#include "support/Fixture.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace kodexa;

class LendingTest : public test::ProgramDirTest {
protected:
    void SetUp() override {
        ProgramDirTest::SetUp();
        makeCatalogue();
        AddBook(db, {.cim = "Az ünnepélyes pillanat: ötven év után", .szerzo = "Örkény István", .kiado = "Magvető",
                     .kulcsszavak = "novella; groteszk"});
        w = test::ShowMainWindow(services);
    }
    // Presses F7 and answers the "Kinek?" box with text (nullopt: Mégsem).
    void lend(std::optional<QString> borrower) {
        services.textAnswers.push_back(borrower);
        key(Qt::Key_F7);
        ASSERT_FALSE(services.questions.isEmpty());
        EXPECT_EQ(services.questions.last().caption, "Tétel kölcsönzés");
        EXPECT_EQ(services.questions.last().text, "Kinek?");
        EXPECT_EQ(services.textShown.last(), "");
        EXPECT_TRUE(services.textAnswers.empty());
    }
    void key(Qt::Key k) { test::PressKey(w->Grid(), k); }
    QString row(const QString &sql) { return db.scalar(sql).toString(); }
    std::unique_ptr<Tfrm_Main> w;
};

TEST_F(LendingTest, LendWithEmptyNameAndTwiceKeepsTheFirst) {
    lend(QString());
    EXPECT_EQ(row("SELECT kolcsonadva || '|' || kolcsonadva_kinek || '|' || kolcsonadva_dat FROM konyvek"),
              "I||" + QDate::currentDate().toString("yyyy-MM-dd"));
    db.exec("UPDATE konyvek SET kolcsonadva_kinek='Első', kolcsonadva_dat='2020-01-01'");
    w->Tbl().refreshRow(0);
    key(Qt::Key_F7); // refused before any question
    EXPECT_EQ(services.errorTexts(), QStringList{"Ez a tétel már ki lett adva"});
    EXPECT_EQ(row("SELECT kolcsonadva_kinek || kolcsonadva_dat FROM konyvek"), "Első2020-01-01");
}

TEST_F(LendingTest, BorrowerIsCutToTwentyFiveAndKeysStayTheSame) {
    const QString before = row("SELECT szerzo_nevs||cims||kiado_nevs||kulcsszavaks FROM konyvek");
    lend(QString("Kovács-Nagy Erzsébet Zsófia"));
    EXPECT_EQ(row("SELECT kolcsonadva_kinek FROM konyvek"), "Kovács-Nagy Erzsébet Zsóf");
    EXPECT_EQ(row("SELECT szerzo_nevs||cims||kiado_nevs||kulcsszavaks FROM konyvek"), before);
    // The list shows it at once: the flag and the detail line.
    EXPECT_EQ(w->GridModel()->index(0, 0).data(Qt::UserRole).toString(), "I");
    EXPECT_EQ(w->findChild<QLabel *>("Detail_kolcsonadva_kinek")->text(), "Kovács-Nagy Erzsébet Zsóf");
    EXPECT_FALSE(w->findChild<QLabel *>("Detail_kolcsonadva_dat")->text().isEmpty());
}

TEST_F(LendingTest, CancelChangesNothing) {
    lend(std::nullopt);
    EXPECT_EQ(row("SELECT kolcsonadva FROM konyvek"), "N");
    EXPECT_TRUE(services.messages.isEmpty());
    EXPECT_EQ(w->Tbl().state(), DsState::Browse);
}

TEST_F(LendingTest, TakingBackClearsTheNoteAndABookAtHomeIsRefused) {
    key(Qt::Key_F8);
    EXPECT_EQ(services.errorTexts(), QStringList{"Ez a tétel még nem lett kiadva"});
    lend(QString("Szabó Ádám"));
    w->Action("aVisszavesz")->trigger(); // the menu, toolbar and context menu share this command
    EXPECT_EQ(row("SELECT kolcsonadva || '|' || kolcsonadva_kinek || '|' || (kolcsonadva_dat IS NULL) FROM konyvek"), "N||1");
    EXPECT_EQ(w->findChild<QLabel *>("Detail_kolcsonadva_dat")->text(), "");
    EXPECT_EQ(w->GridModel()->index(0, 0).data(Qt::UserRole).toString(), "N");
    // Any flag other than "N" can be taken back; only "I" refuses lending.
    db.exec("UPDATE konyvek SET kolcsonadva=NULL");
    w->Tbl().refreshRow(0);
    w->Action("aVisszavesz")->trigger();
    EXPECT_EQ(row("SELECT kolcsonadva FROM konyvek"), "N");
}

TEST_F(LendingTest, AFailedWriteIsShownAndTheRowIsNotLeftInEditState) {
    db.exec("CREATE TRIGGER tilt BEFORE UPDATE ON konyvek BEGIN SELECT RAISE(ABORT, 'a könyv zárolva'); END");
    lend(QString("Tóth Ödön"));
    EXPECT_EQ(services.errorTexts(), QStringList{"a könyv zárolva"});
    EXPECT_EQ(w->Tbl().state(), DsState::Browse);
    EXPECT_EQ(w->Tbl().text("kolcsonadva"), "N");
    EXPECT_EQ(row("SELECT kolcsonadva FROM konyvek"), "N");
}
