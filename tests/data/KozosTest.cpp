#include "data/BookList.h"
#include "data/Catalogue.h"
#include "data/Kozos.h"
#include "data/Seged.h"
#include "support/Fixture.h"

#include <QDate>
#include <QFileInfo>

using namespace kodexa;

class KozosTest : public test::CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        openCatalogue();
    }
    // A new book with the given publisher name, resolved and written as the edit dialog does.
    qint64 saveWithPublisher(const QString &name) {
        tbl->insert();
        NewBookDefaults(db, tbl->buffer());
        tbl->setValue("kiado_nev", name);
        ResolveLookup(db, "kiado", tbl->buffer());
        tbl->post();
        return VarToInt(tbl->value("kiado"));
    }
};

TEST_F(KozosTest, ResolveLookupMatchesPlainLettersWithoutCaseOnly) {
    db.exec("INSERT INTO kiado (kiado, kiado_nev, kiado_nevs) VALUES (1, 'Mezei Kiado', 'MEZEI KIADO'),"
            " (2, 'ÁBRÁNDOS KIADÓ', 'ABRANDOS KIADO')");
    EXPECT_EQ(saveWithPublisher("mezei kiado"), 1);
    EXPECT_EQ(tbl->text("kiado_nev"), "Mezei Kiado");
    EXPECT_EQ(tbl->text("kiado_nevs"), "MEZEI KIADO");
    // Accented letters differ in case: a second publisher row.
    EXPECT_EQ(saveWithPublisher("Ábrándos Kiadó"), 3);
    EXPECT_EQ(tbl->text("kiado_nev"), "Ábrándos Kiadó");
    EXPECT_EQ(db.scalar("SELECT kiado_nevs FROM kiado WHERE kiado=3").toString(), "ABRANDOS KIADO");
}

TEST_F(KozosTest, TwoBooksWithTheSameNewPublisherShareOneRow) {
    EXPECT_EQ(saveWithPublisher("Új Kiadó"), 1);
    EXPECT_EQ(saveWithPublisher("új kiadó"), 2); // ú differs in case: no match
    EXPECT_EQ(saveWithPublisher("Új Kiadó"), 1);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM kiado").toInt(), 2);
}

TEST_F(KozosTest, NewLanguageGetsNextKeyAndNoSearchKey) {
    db.exec("INSERT INTO nyelv (nyelv, nyelv_nev) VALUES (4, 'magyar')");
    tbl->insert();
    NewBookDefaults(db, tbl->buffer());
    tbl->setValue("nyelv_nev", "eszperantó");
    ResolveLookup(db, "nyelv", tbl->buffer());
    tbl->post();
    EXPECT_EQ(VarToInt(tbl->value("nyelv")), 5);
    EXPECT_EQ(db.scalar("SELECT nyelv_nev FROM nyelv WHERE nyelv=5").toString(), "eszperantó");
}

TEST_F(KozosTest, ClearingANameKeepsTheOldKey) {
    AddBook(db, BookInput{.cim = "Egy", .szerzo = "Jókai Mór"});
    tbl->open("cims", "cim");
    tbl->edit();
    tbl->setValue("szerzo_nev", "");
    ResolveLookup(db, "szerzo", tbl->buffer());
    tbl->post();
    EXPECT_EQ(db.scalar("SELECT szerzo FROM konyvek").toInt(), 1);
    EXPECT_EQ(db.scalar("SELECT coalesce(szerzo_nev,'') || '|' || coalesce(szerzo_nevs,'') FROM konyvek").toString(), "|");
}

TEST_F(KozosTest, BeforePostFillsTheNineKeys) {
    tbl->insert();
    NewBookDefaults(db, tbl->buffer());
    tbl->setValue("cim", "Az ünnepélyes pillanat: ötven év után");
    tbl->setValue("szerzo_nev", "Čapek");
    tbl->setValue("kulcsszavak", QString(250, QChar('k')) + "őrület");
    tbl->post();
    Stmt s = db.prepare("SELECT cims, szerzo_nevs, kulcsszavaks, alcims, szerzoks FROM konyvek");
    ASSERT_TRUE(s.step());
    EXPECT_EQ(s.text(0), "AZ UNNEPELYES PILLAN");
    EXPECT_EQ(s.text(1), "ČAPEK");
    EXPECT_EQ(s.text(2).size(), 255);
    EXPECT_TRUE(s.text(2).endsWith("ORULE"));
    EXPECT_EQ(s.text(3), "");      // empty source, empty key
    EXPECT_TRUE(s.isNull(4));      // szerzoks is carried, never written
}

TEST_F(KozosTest, NewBookDefaultsAndKeyReuse) {
    Record r(tbl->fieldList());
    NewBookDefaults(db, r);
    EXPECT_EQ(r.value("konyvek").toInt(), 1);
    EXPECT_EQ(r.text("dedikalt"), "N");
    EXPECT_EQ(r.text("kolcsonadva"), "N");
    EXPECT_EQ(r.text("dat_besz"), QDate::currentDate().toString("yyyy-MM-dd"));
    AddBook(db, {.cim = "A"});
    AddBook(db, {.cim = "B"});
    AddBook(db, {.cim = "C"});
    tbl->open("cims", "cim");
    ASSERT_TRUE(tbl->locateKey(3));
    tbl->deleteCurrent();
    EXPECT_EQ(NextKey(db, "konyvek"), 3);
    ASSERT_TRUE(tbl->locateKey(1));
    tbl->deleteCurrent();
    EXPECT_EQ(NextKey(db, "konyvek"), 3); // a gap in the middle is never filled
}

TEST_F(KozosTest, NameListAndPicturePath) {
    db.exec("INSERT INTO polc (polc, polc_nev) VALUES (1, 'B2'), (2, NULL), (3, 'A1'), (4, 'A1')");
    EXPECT_EQ(NameList(db, "polc"), "\r\nA1\r\nA1\r\nB2\r\n");
    EXPECT_FALSE(QFileInfo::exists(path("Images")));
    EXPECT_EQ(PicturePath(7), path("Images/00007.jpg"));
    EXPECT_TRUE(QFileInfo(path("Images")).isDir());
    EXPECT_EQ(PicturePath(123456), path("Images/123456.jpg"));
}

TEST_F(KozosTest, RenameStatementsQuoteTheName) {
    const QStringList s = RenameStatements("mufaj", 4, "Bűnügyi 'regény'");
    ASSERT_EQ(s.size(), 2);
    EXPECT_EQ(s[0], "UPDATE konyvek SET mufaj_nev='Bűnügyi ''regény''' WHERE mufaj=4;");
    EXPECT_EQ(s[1], "UPDATE konyvek SET mufaj_nevs='BUNUGYI ''REGENY''' WHERE mufaj=4;");
    EXPECT_EQ(RenameStatements("polc", 1, "A").size(), 1);
    // A name that looks like a placeholder is written as it is, not with the key in it.
    EXPECT_EQ(RenameStatements("polc", 7, "50%1 %2")[0], "UPDATE konyvek SET polc_nev='50%1 %2' WHERE polc=7;");
    // The books' copy is cut to its column (a shelf name copy holds ten characters), as every
    // other write of it is; the catalogue check would call a longer one a disagreeing copy.
    EXPECT_EQ(RenameStatements("polc", 7, "Nappali nagy szekrény")[0], "UPDATE konyvek SET polc_nev='Nappali na' WHERE polc=7;");
}

TEST_F(KozosTest, BookListFollowsSearchKeyOrderAndQuickSearchComparesTheValue) {
    for (const char *t : {"Béla", "abel", "Ábel", "Abel", "Cica"})
        AddBook(db, {.cim = QString::fromUtf8(t)});
    tbl->open("cims", "cim");
    QStringList order;
    for (int i = 0; i < tbl->recordCount(); ++i)
        order << tbl->sortTextAt(i);
    // Ábel sorts together with Abel, before Béla.
    EXPECT_EQ(order.indexOf("Béla"), 3);
    EXPECT_LT(order.indexOf("Ábel"), order.indexOf("Béla"));
    EXPECT_EQ(tbl->quickSearchIndex(""), 0);
    EXPECT_EQ(order[tbl->quickSearchIndex("AB")].toLower(), "abel");
    EXPECT_EQ(order[tbl->quickSearchIndex("á")], order.last()); // á never matches Á: last row
    EXPECT_EQ(order[tbl->quickSearchIndex("Á")], "Ábel");
    EXPECT_EQ(tbl->quickSearchIndex("zzz"), 4);
}

TEST_F(KozosTest, BookListStreamsEveryRowInOrderPastTheCache) {
    Transaction tx(db);
    for (int i = 0; i < BookList::BlockRows * 3 + 5; ++i)
        AddBook(db, {.cim = QStringLiteral("Könyv %1").arg(i, 4, 10, QLatin1Char('0'))});
    tx.commit();
    tbl->open("cims", "cim");
    int n = 0;
    bool ordered = true;
    tbl->forEachRow([&](const Record &r) {
        ordered = ordered && r.text("cim") == tbl->sortTextAt(n);
        ++n;
    });
    EXPECT_EQ(n, tbl->recordCount());
    EXPECT_TRUE(ordered);
    EXPECT_EQ(tbl->valueAt(200, tbl->fieldIndex("cim")).toString(), "Könyv 0200");
}
