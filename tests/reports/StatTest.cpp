// Statistics: the four totals as the engine counts them, and the genre table.
#include "data/Db.h"
#include "gui/DatasetModel.h"
#include "reports/Stat.h"
#include "reports/core/Stat.h"
#include "support/Fixture.h"

#include <QLabel>
#include <QTableView>

using namespace kodexa;
using namespace kodexa::test;

namespace {

class StatTest : public CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        openCatalogue(false);
    }
    void book(qint64 key, const QVariant &szerzo, const QVariant &kiado, const QVariant &mufaj, const QVariant &ar) {
        Stmt s = db.prepare(QStringLiteral("INSERT INTO konyvek (konyvek, cim, szerzo, kiado, mufaj, ar, dedikalt, kolcsonadva) "
                                           "VALUES (?1, ?2, ?3, ?4, ?5, ?6, 'N', 'N')"));
        s.bind(1, key).bind(2, QStringLiteral("Könyv %1").arg(key)).bind(3, szerzo).bind(4, kiado).bind(5, mufaj).bind(6, ar);
        s.exec();
    }
    void genre(int key, const QString &name) {
        Stmt s = db.prepare(QStringLiteral("INSERT INTO mufaj (mufaj, mufaj_nev) VALUES (?1, ?2)"));
        s.bind(1, key).bind(2, name);
        s.exec();
    }
    QStringList numbers(Tfrm_Stat &w) {
        QStringList r;
        for (int i = 0; i < 4; ++i)
            r << w.numberText(i);
        return r;
    }
    QStringList genreRows(Tfrm_Stat &w) {
        auto *grid = Child<QTableView>(&w, QStringLiteral("DBGrid1"));
        QStringList r;
        for (int i = 0; i < grid->model()->rowCount(); ++i)
            r << grid->model()->index(i, 0).data().toString() + QLatin1Char('=') + grid->model()->index(i, 1).data().toString();
        return r;
    }
};

TEST_F(StatTest, EmptyCollectionShowsZerosAndNoGenres) {
    db.exec(QStringLiteral("DELETE FROM konyvek"));
    reopenList();
    Tfrm_Stat w(*ctx);
    EXPECT_EQ(numbers(w), (QStringList{"0", "0", "0", "0"}));
    EXPECT_TRUE(genreRows(w).isEmpty());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Statisztika"));
}

TEST_F(StatTest, TotalsCountDistinctKeysWithTheEmptyOneAndRoundTheValue) {
    db.exec(QStringLiteral("DELETE FROM konyvek"));
    genre(901, QStringLiteral("Regény"));
    genre(902, QStringLiteral("Regény"));
    genre(903, QStringLiteral("Dráma"));
    book(1, 5, 7, 901, 1000);
    book(2, 5, 7, 901, 499.6);
    book(3, 6, QVariant(), 902, QVariant());
    book(4, QVariant(), 8, 903, 0);
    book(5, 6, 8, 999, 1); // its genre has no row
    book(6, 6, 8, QVariant(), 1);
    reopenList();
    Tfrm_Stat w(*ctx);
    // Authors 5, 6 and the empty one; publishers 7, 8 and the empty one.
    EXPECT_EQ(numbers(w), (QStringList{"6", "3", "3", "1 502"}));
    // One name, two genres: two rows, by name; books without a genre row are left out.
    const QStringList rows = genreRows(w);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0], QStringLiteral("Dráma=1"));
    EXPECT_EQ((QSet<QString>{rows[1], rows[2]}), (QSet<QString>{"Regény=2", "Regény=1"}));
}

TEST_F(StatTest, LargeNumbersAreGroupedAndTheBookCountIsTheLists) {
    db.exec(QStringLiteral("DELETE FROM konyvek"));
    {
        Transaction tx(db);
        for (int i = 1; i <= 1500; ++i)
            book(i, i % 1200, 1, QVariant(), 2000);
        tx.commit();
    }
    reopenList();
    Tfrm_Stat w(*ctx);
    EXPECT_EQ(numbers(w), (QStringList{"1 500", "1 200", "1", "3 000 000"}));
    // The first number is the book list's own count, as the main window holds it.
    EXPECT_EQ(ReadStatTotals(db, 42).books, 42);
    EXPECT_EQ(ReadStatTotals(db).books, 1500);
}

TEST_F(StatTest, GenreGridIsReadOnlyInTheSettingsFontSize) {
    settings.FontSize = 14;
    genre(901, QStringLiteral("Vers"));
    book(9001, 1, 1, 901, 100);
    Tfrm_Stat w(*ctx);
    auto *grid = Child<QTableView>(&w, QStringLiteral("DBGrid1"));
    EXPECT_EQ(grid->font().pointSize(), 14);
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(grid->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("műfaj"));
    EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("db"));
    EXPECT_EQ(grid->columnWidth(0), 221);
    EXPECT_EQ(grid->columnWidth(1), 71);
    ASSERT_GT(grid->model()->rowCount(), 0);
    EXPECT_FALSE(grid->model()->flags(grid->model()->index(0, 0)) & Qt::ItemIsEditable);
}

} // namespace
