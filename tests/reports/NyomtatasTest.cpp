// The report windows driven as a user would: the print-type choice, our preview, printing
// without a printer, the period dialog, and the printing commands of the main window.
#include "app/Main.h"
#include "data/Catalogue.h"
#include "data/Schema.h"
#include "data/Seged.h"
#include "reports/Elonezet.h"
#include "reports/Idoszak.h"
#include "reports/NyomValaszt.h"
#include "reports/Nyomtatas.h"
#include "support/Fixture.h"

#include <QDialog>
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

using namespace kodexa;
using namespace kodexa::report;

class NyomtatasTest : public test::CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        openCatalogue();
    }
    void addBooks(int n, const QString &author = QStringLiteral("Móricz Zsigmond")) {
        Transaction tx(db);
        for (int i = 0; i < n; ++i)
            AddBook(db, {.cim = QStringLiteral("Cím %1").arg(i, 4, 10, QChar('0')), .szerzo = author});
        tx.commit();
    }
};

TEST_F(NyomtatasTest, PrintTypeChoiceAnswersWhatWasChosen) {
    test::WhenModal([](QWidget *w) {
        EXPECT_EQ(w->windowTitle(), "Nyomtatás típusa");
        EXPECT_TRUE(test::Child<QRadioButton>(w, "RadioItem0")->isChecked());
        test::Child<QPushButton>(w, "Button1")->click();
    });
    EXPECT_EQ(ChoosePrintType(services), 0);
    test::WhenModal([](QWidget *w) {
        test::Child<QRadioButton>(w, "RadioItem1")->setChecked(true);
        test::PressKey(w, Qt::Key_Return);
    });
    EXPECT_EQ(ChoosePrintType(services), 1);
    test::WhenModal([](QWidget *w) {
        test::Child<QRadioButton>(w, "RadioItem1")->setChecked(true);
        test::PressKey(w, Qt::Key_Escape);
    });
    EXPECT_EQ(ChoosePrintType(services), -1);
    test::WhenModal([](QWidget *w) { test::Child<QPushButton>(w, "Button2")->click(); });
    EXPECT_EQ(ChoosePrintType(services), -1);
}

TEST_F(NyomtatasTest, PreviewPagesZoomsSavesPdfAndClosesWithEsc) {
    addBooks(300);
    auto r = MakeQueryReport(db, CompactListDef(0, {}), CompactListQuery(0, -1));
    const QString pdf = path("elonezet.pdf");
    services.fileAnswers.push_back(pdf);
    bool seen = false;
    test::WhenModal([&](QWidget *w) {
        auto *p = qobject_cast<Tfrm_Elonezet *>(w);
        ASSERT_NE(p, nullptr);
        seen = true;
        EXPECT_EQ(p->lPages->text(), "/ 6 oldal");
        EXPECT_EQ(p->currentLayout().number, 1);
        EXPECT_FALSE(p->bPrior->isEnabled());
        p->bNext->click();
        EXPECT_EQ(p->ePage->value(), 2);
        EXPECT_TRUE(p->currentLayout().findText("oldal: 2"));
        p->bLast->click();
        EXPECT_EQ(p->currentLayout().number, 6);
        EXPECT_FALSE(p->bNext->isEnabled());
        p->ePage->setValue(3);
        EXPECT_EQ(p->page(), 2);
        test::PressKey(p, Qt::Key_PageDown);
        EXPECT_EQ(p->page(), 3);
        p->ePage->setFocus(); // from the page number box too, one page at a time
        test::PressKey(p->ePage, Qt::Key_PageUp);
        EXPECT_EQ(p->page(), 2);
        p->bFirst->click();
        EXPECT_EQ(p->page(), 0);
        p->cZoom->setCurrentIndex(2); // 100 %: A4 at 96 dpi
        EXPECT_NEAR(p->pageView->width(), 794 + 24, 2);
        p->cZoom->setCurrentIndex(0);
        EXPECT_LE(p->pageView->height(), p->scroll->viewport()->height());
        p->bPdf->click();
        test::PressKey(p, Qt::Key_Escape);
    });
    PreviewReport(*r, services);
    EXPECT_TRUE(seen);
    EXPECT_EQ(services.fileDialogs, QStringList{"PDF mentés"});
    EXPECT_TRUE(readFile(pdf).startsWith("%PDF"));
}

TEST_F(NyomtatasTest, PreviewAfterALockErrorShowsThePageItsNumberSays) {
    addBooks(300);
    auto r = MakeQueryReport(db, CompactListDef(0, {}), CompactListQuery(0, -1));
    Db::setBusyTimeout(50); // a lock held on purpose is met after a moment
    struct Restore {
        ~Restore() { Db::setBusyTimeout(3000); }
    } restore;
    Tfrm_Elonezet p(*r, services);
    p.show();
    ASSERT_EQ(p.currentLayout().number, 1);
    // Another program takes the file for itself: no page can be read.
    Db other;
    other.open(path("Kodexa.sqb"));
    other.exec("BEGIN EXCLUSIVE");
    test::PressKey(&p, Qt::Key_PageDown);
    p.ePage->setValue(4);
    p.bLast->click();
    test::PressKey(&p, Qt::Key_End, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(p.page(), 0);
    EXPECT_EQ(p.ePage->value(), 1) << "the number of the page still shown";
    EXPECT_EQ(p.currentLayout().number, 1);
    ASSERT_EQ(services.errorTexts().size(), 1) << "one box for the run of failures";
    EXPECT_TRUE(services.errorTexts()[0].contains("locked")) << services.errorTexts()[0].toStdString();
    // Let go: the pages turn again.
    other.exec("ROLLBACK");
    test::PressKey(&p, Qt::Key_PageDown);
    EXPECT_EQ(p.page(), 1);
    EXPECT_EQ(p.ePage->value(), 2);
    EXPECT_EQ(p.currentLayout().number, 2);
}

TEST_F(NyomtatasTest, PreviewPrintsTheRangeChosenInThePrintDialog) {
    addBooks(300);
    auto r = MakeQueryReport(db, CompactListDef(0, {}), CompactListQuery(0, -1));
    Tfrm_Elonezet p(*r, services);
    p.bPrint->click(); // the dialog cancelled: nothing printed
    services.printerAnswers.push_back({path("nyomtatott.pdf"), 2, 3});
    p.bPrint->click();
    EXPECT_EQ(services.printDialogs, (QVector<int>{6, 6})) << "the dialog offers the report's pages";
    const QByteArray pdf = readFile("nyomtatott.pdf");
    ASSERT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page/") + pdf.count("/Type /Page "), 2);
    EXPECT_TRUE(services.errorTexts().isEmpty());
}

TEST_F(NyomtatasTest, WithoutAPrinterTheReportCanBeSavedAsPdf) {
    // A print server that is not there: the system has no printer.
    const QByteArray server = qgetenv("CUPS_SERVER");
    qputenv("CUPS_SERVER", path("nincs-cups.sock").toUtf8());
    struct Restore {
        QByteArray v;
        ~Restore() { v.isNull() ? qunsetenv("CUPS_SERVER") : qputenv("CUPS_SERVER", v); }
    } restore{server};
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "the printers of this machine are still seen";
    addBooks(3);
    auto r = MakeQueryReport(db, LendingDef({}), LendingQuery());
    PrintReport(*r, services); // answered No: nothing written
    ASSERT_EQ(services.questions.size(), 1);
    EXPECT_EQ(services.questions[0].caption, "Nyomtatás");
    EXPECT_TRUE(services.questions[0].text.startsWith("Nincs nyomtató"));
    EXPECT_TRUE(services.fileDialogs.isEmpty());

    services.yesNoAnswers.push_back(true);
    services.fileAnswers.push_back(path("kolcson.pdf"));
    PrintReport(*r, services);
    EXPECT_TRUE(readFile("kolcson.pdf").startsWith("%PDF"));
    EXPECT_TRUE(services.errorTexts().isEmpty());
}

TEST_F(NyomtatasTest, PeriodDialogEnterMovesOnAndOkGivesTheDates) {
    QDate first(2024, 2, 29), last(2024, 3, 31);
    test::WhenModal([](QWidget *w) {
        EXPECT_EQ(w->windowTitle(), "Időszak megadása");
        auto *from = test::Child<QDateEdit>(w, "eAlso");
        EXPECT_EQ(from->date(), QDate(2024, 2, 29));
        EXPECT_FALSE(from->calendarPopup());
        from->setFocus();
        from->setDate(QDate(2024, 1, 1));
        test::PressKey(from, Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), test::Child<QDateEdit>(w, "eFelso"));
        EXPECT_TRUE(w->isVisible()); // Enter pressed no button
        test::Child<QPushButton>(w, "Button1")->click();
    });
    EXPECT_TRUE(ChoosePeriod(first, last));
    EXPECT_EQ(first, QDate(2024, 1, 1));
    EXPECT_EQ(last, QDate(2024, 3, 31));
    test::WhenModal([](QWidget *w) { test::Child<QPushButton>(w, "Button2")->click(); });
    EXPECT_FALSE(ChoosePeriod(first, last));
    EXPECT_EQ(first, QDate(2024, 1, 1));
}

// Enter moves through the dates; on a button it presses that button.
TEST_F(NyomtatasTest, PeriodDialogEnterOnAButtonPressesIt) {
    QDate first(2024, 2, 1), last(2024, 2, 29);
    QWidget *focused = nullptr;
    test::WhenModal([&focused](QWidget *w) {
        auto *from = test::Child<QDateEdit>(w, "eAlso");
        from->setFocus();
        test::PressKey(from, Qt::Key_Return);
        test::PressKey(QApplication::focusWidget(), Qt::Key_Return);
        focused = QApplication::focusWidget();
        EXPECT_EQ(focused, test::Child<QPushButton>(w, "Button1"));
        test::PressKey(focused, Qt::Key_Return);
        if (w->isVisible()) // the key did nothing: end the dialog the other way
            static_cast<QDialog *>(w)->reject();
    });
    EXPECT_TRUE(ChoosePeriod(first, last)) << "Enter on OK accepted the dialog";
    test::WhenModal([](QWidget *w) {
        auto *cancel = test::Child<QPushButton>(w, "Button2");
        cancel->setFocus();
        test::PressKey(cancel, Qt::Key_Enter, Qt::KeypadModifier);
        if (w->isVisible())
            static_cast<QDialog *>(w)->accept();
    });
    EXPECT_FALSE(ChoosePeriod(first, last)) << "Enter on Mégsem cancelled it";
}

// The main window's commands open the reports.
class ReportCommandsTest : public test::DemoMainWindowTest {};

TEST_F(ReportCommandsTest, CtrlKPreviewsTheGridEvenFromTheQuickSearchBox) {
    auto *edit = w->findChild<QLineEdit *>("Edit1");
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    int pages = 0;
    QStringList heads;
    test::WhenModal([&](QWidget *m) {
        auto *p = qobject_cast<Tfrm_Elonezet *>(m);
        ASSERT_NE(p, nullptr);
        pages = p->ePage->maximum();
        for (const PlacedItem *t : p->currentLayout().texts())
            if (t->rect.top() == 72)
                heads << t->text;
        test::PressKey(p, Qt::Key_Escape);
    });
    test::PressKey(edit, Qt::Key_K, Qt::ControlModifier);
    EXPECT_GE(pages, 1);
    ASSERT_FALSE(heads.isEmpty());
    EXPECT_EQ(heads[0], "!");
}

TEST_F(ReportCommandsTest, EveryPrintingCommandIsInPlace) {
    for (const char *name : {"aNyomtat", "aNyomtatKep", "aNyomSzerzo", "aNyomSzerzo2", "aNyomKiado", "aNyomKiado2",
                             "aNyomSorozat", "aNyomSorozat2", "aNyomTargykor", "aNyomTargykor2", "aNyomMufaj",
                             "aNyomMufaj2", "aNyomPolc", "aNyomPolc2", "aAdatlap", "aAdatlap2", "aNyomKolcson",
                             "aNyomVasarol"})
        EXPECT_NE(w->Action(name), nullptr) << name;
    EXPECT_EQ(w->Action("aNyomtat")->shortcut(), QKeySequence("Ctrl+P"));
    EXPECT_EQ(w->Action("aNyomtatKep")->shortcut(), QKeySequence("Ctrl+K"));
}

TEST_F(ReportCommandsTest, CompactListAsksTheTypeThenPreviews) {
    int pages = 0;
    test::WhenModal([&](QWidget *m) {
        EXPECT_EQ(m->objectName(), "frm_NyomValaszt");
        test::WhenModal([&](QWidget *p) {
            auto *preview = qobject_cast<Tfrm_Elonezet *>(p);
            ASSERT_NE(preview, nullptr);
            pages = preview->ePage->maximum();
            EXPECT_TRUE(preview->currentLayout().findText("Szerzők szerint"));
            preview->reject();
        });
        test::Child<QPushButton>(m, "Button1")->click();
    });
    w->Action("aNyomSzerzo")->trigger();
    EXPECT_GE(pages, 1);
    EXPECT_TRUE(services.errorTexts().isEmpty()) << services.errorTexts().join("; ").toStdString();

    // A cancelled choice does nothing.
    test::WhenModal([](QWidget *m) { test::Child<QPushButton>(m, "Button2")->click(); });
    w->Action("aAdatlap")->trigger();
    EXPECT_TRUE(services.errorTexts().isEmpty());
}

TEST_F(NyomtatasTest, CsvChoiceWritesTheQueryWithSemicolonsAndNoQualifier) {
    AddBook(db, {.cim = QStringLiteral("Vásárolt"), .szerzo = QStringLiteral("Őri Ödön"), .ar = 1500, .datBesz = "2024-01-15"});
    AddBook(db, {.cim = QStringLiteral("Később"), .ar = 10, .datBesz = "2024-02-15"});
    EXPECT_EQ(PurchasesQuery(QDate(2024, 1, 1), QDate(2024, 1, 31)).sqlWithValues(),
              "SELECT\n konyvek.*\nFROM konyvek\nWHERE dat_besz BETWEEN '2024-01-01' AND '2024-01-31'\nORDER BY dat_besz, konyvek;");
    const QString out = path("vasarlas.csv");
    services.fileAnswers.push_back(out);
    test::WhenModal([&](QWidget *choice) {
        test::Child<QRadioButton>(choice, "RadioItem2")->setChecked(true);
        test::WhenModal([&](QWidget *dlg) {
            EXPECT_EQ(dlg->objectName(), "frm_Hatarolt");
            test::Child<QAbstractButton>(dlg, "SpeedButton1")->click();
            test::Child<QAbstractButton>(dlg, "Button1")->click();
            test::Child<QAbstractButton>(dlg, "Button2")->click();
        });
        test::Child<QPushButton>(choice, "Button1")->click();
    });
    PrintPurchases(*ctx, QDate(2024, 1, 1), QDate(2024, 1, 31));
    const QList<QByteArray> lines = readFile(out).split('\n');
    ASSERT_GE(lines.size(), 2);
    QStringList names;
    for (const auto &c : BookColumns())
        names << QLatin1String(c.name);
    EXPECT_EQ(lines[0], names.join(';').toLatin1() + ";\r");
    EXPECT_EQ(lines.size(), 3); // header, one book, the end
    EXPECT_TRUE(lines[1].contains(QStringLiteral(";Vásárolt;").toLatin1()));
    EXPECT_FALSE(lines[1].contains('"'));
}

TEST_F(ReportCommandsTest, OneShelfIsPickedThenListedAlone) {
    QStringList groups;
    int books = -1;
    test::WhenModal([&](QWidget *pick) {
        EXPECT_EQ(pick->objectName(), "frm_TorzsAdat");
        test::WhenModal([&](QWidget *choice) {
            test::WhenModal([&](QWidget *p) {
                auto *preview = qobject_cast<Tfrm_Elonezet *>(p);
                ASSERT_NE(preview, nullptr);
                books = 0;
                for (const PlacedItem *t : preview->currentLayout().texts()) {
                    if (t->rect.left() == 16 || t->rect.left() == 16 + 288)
                        groups << t->text;
                    books += t->font.bold && t->font.family == QLatin1String("Tahoma");
                }
                preview->reject();
            });
            test::Child<QPushButton>(choice, "Button1")->click();
        });
        pick->findChild<QAction *>("aElfogad")->trigger();
    });
    w->Action("aNyomPolc2")->trigger();
    ASSERT_EQ(groups.size(), 1);
    const qint64 expected =
        w->Db1().scalar(QStringLiteral("SELECT COUNT(*) FROM konyvek WHERE polc_nev=%1").arg(SqlQuote(groups[0]))).toLongLong();
    EXPECT_GT(expected, 0);
    EXPECT_EQ(books, expected);
}
