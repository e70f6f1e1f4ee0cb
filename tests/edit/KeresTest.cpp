// Keyword search: the statement, the dialog's pages and buttons, and the choice.
#include "data/Catalogue.h"
#include "data/Seged.h"
#include "edit/Keres.h"
#include "edit/core/Keres.h"
#include "support/Fixture.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

using namespace kodexa;
using namespace kodexa::test;

namespace {

class KeresTest : public CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        openCatalogue(true);
    }

    // One result column (0 author, 1 title) in grid order.
    static QStringList column(Tfrm_Keres &dlg, int c = 1) {
        auto *grid = Child<QTableView>(&dlg, QStringLiteral("DBGrid1"));
        QStringList out;
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            out << grid->model()->index(r, c).data().toString();
        return out;
    }
    static void searchFor(Tfrm_Keres &dlg, const QString &text) {
        auto *edit = Child<QLineEdit>(&dlg, QStringLiteral("Edit1"));
        edit->clear();
        TypeText(edit, text);
        Child<QPushButton>(&dlg, QStringLiteral("Button1"))->click();
    }
};

TEST(KeresSql, OneQuotedLiteralWithFoldedKey) {
    const QString sql = KeywordSearchSql(QStringLiteral("kőszeg's_%"));
    EXPECT_EQ(sql, QStringLiteral("SELECT konyvek, szerzo_nev, cim FROM konyvek\n"
                                  "WHERE (kulcsszavaks LIKE '%KOSZEG''S_%%')\n"
                                  "ORDER BY 1;"));
    EXPECT_EQ(ReorderSearchSql(ReorderSearchSql(sql, QStringLiteral("cim")), QStringLiteral("szerzo_nev")),
              QStringLiteral("SELECT konyvek, szerzo_nev, cim FROM konyvek\n"
                             "WHERE (kulcsszavaks LIKE '%KOSZEG''S_%%')\n"
                             "ORDER BY szerzo_nev;"));
}

TEST_F(KeresTest, FindsAccentFoldedKeywordAndEveryBookForEmptyText) {
    Tfrm_Keres dlg(*ctx);
    searchFor(dlg, QStringLiteral("konyv"));
    // Expected: every book whose keywords hold "könyv" in any case or accent, in key order.
    QStringList expected;
    Stmt all = db.prepare(QStringLiteral("SELECT cim, kulcsszavak FROM konyvek ORDER BY konyvek"));
    while (all.step())
        if (NormalizeKey(all.text(1)).contains(QStringLiteral("KONYV")))
            expected << all.text(0);
    EXPECT_TRUE(expected.contains(QStringLiteral("A rózsa neve")));
    EXPECT_EQ(column(dlg), expected);
    EXPECT_EQ(Child<QTabWidget>(&dlg, QStringLiteral("PageControl1"))->currentIndex(), 1);

    searchFor(dlg, QString());
    const int withKeywords = db.scalar(QStringLiteral("SELECT count(*) FROM konyvek WHERE kulcsszavaks IS NOT NULL")).toInt();
    EXPECT_GT(withKeywords, 1);
    EXPECT_EQ(dlg.query().recordCount(), withKeywords);
    EXPECT_TRUE(services.messages.isEmpty());
}

TEST_F(KeresTest, ApostropheIsPartOfTheTextAndPatternsStayPatterns) {
    BookInput b;
    b.cim = QStringLiteral("Zenei lexikon");
    b.kulcsszavak = QStringLiteral("rock'n'roll; blues");
    AddBook(db, b);
    Tfrm_Keres dlg(*ctx);
    searchFor(dlg, QStringLiteral("k'n'r"));
    EXPECT_TRUE(services.errorTexts().isEmpty()) << services.errorTexts().join(u'|').toStdString();
    EXPECT_EQ(column(dlg), QStringList{QStringLiteral("Zenei lexikon")});
    // "_" stands for any one character, so "Eg_r" finds "Eger".
    searchFor(dlg, QStringLiteral("Eg_r"));
    EXPECT_EQ(column(dlg), QStringList{QStringLiteral("Egri csillagok")});
}

TEST_F(KeresTest, TitleClicksReorderTheSameBooks) {
    Tfrm_Keres dlg(*ctx);
    auto *header = Child<QTableView>(&dlg, QStringLiteral("DBGrid1"))->horizontalHeader();
    // Before any search a title click does nothing (and raises nothing).
    emit header->sectionClicked(1);
    EXPECT_FALSE(dlg.query().isOpen());

    searchFor(dlg, QStringLiteral("a"));
    QStringList books = column(dlg);
    ASSERT_GT(books.size(), 3);
    // The engine's binary order of UTF-8 text.
    auto sorted = [](QStringList l) {
        std::sort(l.begin(), l.end(), [](const QString &a, const QString &b) { return a.toUtf8() < b.toUtf8(); });
        return l;
    };
    emit header->sectionClicked(1);
    EXPECT_EQ(column(dlg), sorted(books));
    EXPECT_EQ(dlg.query().currentIndex(), 0);
    emit header->sectionClicked(0);
    EXPECT_EQ(column(dlg, 0), sorted(column(dlg, 0)));
    EXPECT_EQ(sorted(column(dlg)), sorted(books));
}

TEST_F(KeresTest, MegvanOnlyAfterAFirstSuccessfulSearch) {
    Tfrm_Keres dlg(*ctx);
    auto *megvan = Child<QPushButton>(&dlg, QStringLiteral("Button3"));
    auto *pages = Child<QTabWidget>(&dlg, QStringLiteral("PageControl1"));
    EXPECT_FALSE(megvan->isEnabled());

    searchFor(dlg, QStringLiteral("nincs ilyen szó"));
    EXPECT_EQ(services.errorTexts(), QStringList{QStringLiteral("Nincs ilyen sor, keresés sikertelen")});
    EXPECT_EQ(services.messages.last().caption, QStringLiteral("Hiba"));
    EXPECT_FALSE(megvan->isEnabled());
    EXPECT_EQ(pages->currentIndex(), 0);

    searchFor(dlg, QStringLiteral("budapest"));
    EXPECT_TRUE(megvan->isEnabled());
    EXPECT_EQ(dlg.query().recordCount(), 2);

    // A later empty result keeps the button; accepting it chooses nothing.
    pages->setCurrentIndex(0);
    searchFor(dlg, QStringLiteral("xyz"));
    EXPECT_TRUE(megvan->isEnabled());
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_EQ(dlg.chosenKey(), 0);
}

TEST_F(KeresTest, EnterSearchesThenChoosesAndTheListMovesToTheBook) {
    const qint64 wanted = db.scalar(QStringLiteral("SELECT konyvek FROM konyvek WHERE cim='A rózsa neve'")).toLongLong();
    tbl->first();
    WhenModal([](QWidget *w) {
        auto *edit = Child<QLineEdit>(w, QStringLiteral("Edit1"));
        edit->setFocus();
        TypeText(edit, QStringLiteral("KÖNYV"));
        QTest::keyClick(edit, Qt::Key_Return);
        auto *grid = Child<QTableView>(w, QStringLiteral("DBGrid1"));
        EXPECT_TRUE(grid->isVisible());
        QTest::keyClick(grid, Qt::Key_Return);
    });
    EXPECT_TRUE(KeywordSearch(*ctx));
    EXPECT_EQ(tbl->value(QStringLiteral("konyvek")).toLongLong(), wanted);
}

TEST_F(KeresTest, DoubleClickChoosesAndBezarLeavesTheListAlone) {
    WhenModal([this](QWidget *w) {
        searchFor(*static_cast<Tfrm_Keres *>(w), QStringLiteral("ostrom"));
        auto *grid = Child<QTableView>(w, QStringLiteral("DBGrid1"));
        QApplication::processEvents(); // lets the result page lay itself out
        const QRect cell = grid->visualRect(grid->model()->index(0, 1));
        // A real double click starts with a press on the same cell.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        if (w->isVisible()) {
            ADD_FAILURE() << "the double click did not choose";
            static_cast<QDialog *>(w)->reject();
        }
    });
    EXPECT_TRUE(KeywordSearch(*ctx));
    EXPECT_EQ(tbl->text(QStringLiteral("cim")), QStringLiteral("Egri csillagok"));

    tbl->first();
    const int before = tbl->currentIndex();
    WhenModal([](QWidget *w) {
        searchFor(*static_cast<Tfrm_Keres *>(w), QStringLiteral("ostrom"));
        Child<QPushButton>(w, QStringLiteral("Button4"))->click();
    });
    EXPECT_FALSE(KeywordSearch(*ctx));
    EXPECT_EQ(tbl->currentIndex(), before);
}

TEST_F(KeresTest, OpensAtTheParentsBottomRightCorner) {
    QWidget main;
    main.setGeometry(50, 40, 900, 700);
    main.show();
    Tfrm_Keres dlg(*ctx, &main);
    dlg.show();
    EXPECT_EQ(dlg.frameGeometry().bottomRight(), main.frameGeometry().bottomRight());
    EXPECT_EQ(dlg.focusWidget(), Child<QLineEdit>(&dlg, QStringLiteral("Edit1")));
}

} // namespace
