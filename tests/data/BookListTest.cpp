#include "data/BookList.h"
#include "data/Catalogue.h"
#include "data/Seged.h"
#include "support/Fixture.h"

using namespace kodexa;

class BookListTest : public test::CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        openCatalogue();
        // Equal search keys in an order that is neither the key's nor the title's, a gap in
        // the rowids, and a book without title or author.
        for (const char *t : {"Béla", "Ábel", "abel", "Cecil", "Abel", "ÁBEL", "Zord"}) {
            BookInput b;
            b.cim = QString::fromUtf8(t);
            b.szerzo = QStringLiteral("Ács Ödön");
            b.polc = QString::fromUtf8(t).left(1);
            AddBook(db, b);
        }
        db.exec("DELETE FROM konyvek WHERE cim='Cecil'");
        db.exec("INSERT INTO konyvek (konyvek) VALUES (50)");
    }

    // What the engine answers for the list's query in one statement.
    void expectEnginesOrder(const QString &orderColumn, const QString &sortField) {
        SCOPED_TRACE(orderColumn.toStdString());
        tbl->open(orderColumn, sortField);
        Stmt s = db.prepare(QStringLiteral("SELECT rowid, %1 FROM konyvek ORDER BY %2").arg(sortField, orderColumn));
        int row = 0;
        while (s.step()) {
            ASSERT_LT(row, tbl->recordCount());
            EXPECT_EQ(tbl->rowidAt(row), s.int64(0)) << "row " << row;
            EXPECT_EQ(tbl->sortTextAt(row), s.text(1)) << "row " << row;
            ++row;
        }
        EXPECT_EQ(row, tbl->recordCount());
        // The one-pass stream gives the same books in the same order, ties included.
        const int keyAt = tbl->fieldIndex("konyvek"), sortAt = tbl->fieldIndex(sortField);
        row = 0;
        BookList::streamInOrder(db, orderColumn, {"konyvek", sortField}, [&](const QVector<QVariant> &v) {
            ASSERT_LT(row, tbl->recordCount());
            EXPECT_EQ(v[0], tbl->valueAt(row, keyAt)) << "row " << row;
            EXPECT_EQ(v[1], tbl->valueAt(row, sortAt)) << "row " << row;
            ++row;
        });
        EXPECT_EQ(row, tbl->recordCount());
    }
};

TEST_F(BookListTest, OrderTiesAndSortTextsAreTheEnginesOwn) {
    expectEnginesOrder("cims", "cim");          // keyed text, through its index
    expectEnginesOrder("szerzo_nevs", "szerzo_nev"); // every tie
    expectEnginesOrder("konyvek", "konyvek");   // indexed, sorted by itself
    expectEnginesOrder("polc_nev", "polc_nev"); // no index
    db.exec("DROP INDEX konyvek_cims");         // a catalogue made elsewhere
    expectEnginesOrder("cims", "cim");
}

TEST_F(BookListTest, AFaultySortNameLeavesTheListAsItWas) {
    tbl->open("cims", "cim");
    tbl->moveTo(2);
    const qint64 current = tbl->rowidAt(2);
    EXPECT_THROW(tbl->open("cims", "nincs_ilyen"), DbError);
    EXPECT_THROW(tbl->open("nincs_ilyens", "cim"), DbError);
    EXPECT_THROW(BookList::streamInOrder(db, "nincs_ilyens", {"cim"}, [](const QVector<QVariant> &) {}), DbError);
    EXPECT_EQ(tbl->sortField(), "cim");
    EXPECT_EQ(tbl->recordCount(), 7);
    EXPECT_EQ(tbl->currentIndex(), 2);
    EXPECT_EQ(tbl->rowidAt(2), current);
}

TEST_F(BookListTest, QuickSearchFindsTheFirstStartAfterEveryKindOfChange) {
    tbl->open("cims", "cim");
    const QStringList prefixes = {"ab", "AB", "Ábel", "á", "b", "BÉ", "zo", "q", "XY", " "};
    auto check = [&](const char *when) {
        SCOPED_TRACE(when);
        for (const QString &p : prefixes) {
            int expected = tbl->recordCount() - 1;
            for (int i = 0; i < tbl->recordCount(); ++i)
                if (StartsWithAsciiNoCase(tbl->sortTextAt(i), p)) {
                    expected = i;
                    break;
                }
            EXPECT_EQ(tbl->quickSearchIndex(p), expected) << p.toStdString();
        }
    };
    check("opened");
    EXPECT_EQ(tbl->quickSearchIndex("ab"), tbl->quickSearchIndex("aB"));
    EXPECT_NE(tbl->sortTextAt(tbl->quickSearchIndex("á")).left(1), "Á");

    tbl->moveTo(0);
    EditAndPost(*tbl, [](Dataset &d) { d.setValue("cim", "xylofon"); });
    check("edited");
    tbl->moveTo(3);
    tbl->insert();
    tbl->setValue("cim", "Bodza");
    tbl->post();
    check("inserted");
    tbl->moveTo(1);
    tbl->deleteCurrent();
    check("deleted");
}
