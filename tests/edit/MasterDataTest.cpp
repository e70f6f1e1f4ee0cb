// The master data rules without the window: bulk entry and rename, each all or nothing,
// with the books' copies of a name kept in step.
#include "edit/core/MasterData.h"

#include "data/Catalogue.h"
#include "support/Fixture.h"

using namespace kodexa;

namespace {

class MasterDataTest : public test::ProgramDirTest {
protected:
    void SetUp() override {
        ProgramDirTest::SetUp();
        makeCatalogue();
    }
    QString names(const QString &table) {
        return db.scalar(QStringLiteral("SELECT group_concat(%1_nev || '=' || %1, ',') FROM (SELECT * FROM %1 ORDER BY %1)")
                             .arg(table))
            .toString();
    }
};

TEST_F(MasterDataTest, BulkEntryKeysEveryNameAndARefusedOneTakesAllBack) {
    MemDataset ds(db);
    const MasterTable &authors = MasterTableAt(0);
    OpenMasterTable(ds, authors);
    const QStringList typed = BulkNames(QStringLiteral("  Ady Endre \r\n\n   \nÖrkény István\n"));
    EXPECT_EQ(typed, (QStringList{"  Ady Endre ", "Örkény István"}));
    EXPECT_EQ(CheckNames(authors, typed), QString());
    AddNames(ds, authors, typed);
    EXPECT_EQ(names("szerzo"), QStringLiteral("  Ady Endre =1,Örkény István=2"));
    EXPECT_EQ(db.scalar("SELECT szerzo_nevs FROM szerzo WHERE szerzo=2").toString(), QStringLiteral("ORKENY ISTVAN"));
    EXPECT_EQ(ds.text(authors.nameColumn), QStringLiteral("Örkény István"));

    // The third name is refused by the file: the first two of this batch do not stay either.
    db.exec("CREATE TRIGGER tele BEFORE INSERT ON szerzo WHEN NEW.szerzo_nev = 'Rossz' "
            "BEGIN SELECT RAISE(ABORT, 'megtelt'); END");
    EXPECT_THROW(AddNames(ds, authors, {"Babits Mihály", "Juhász Gyula", "Rossz"}), DbError);
    EXPECT_EQ(names("szerzo"), QStringLiteral("  Ady Endre =1,Örkény István=2"));
    EXPECT_EQ(ds.recordCount(), 2);
    EXPECT_EQ(ds.state(), DsState::Browse);

    const QString tooLong = QString(51, QLatin1Char('x'));
    EXPECT_TRUE(CheckNames(MasterTableAt(4), {"Regény", tooLong}).endsWith(tooLong));
}

TEST_F(MasterDataTest, RenameCarriesTheNameIntoItsBooksOrChangesNothing) {
    AddBook(db, {.cim = "Egri csillagok", .kiado = "Móra"});
    AddBook(db, {.cim = "Toldi", .kiado = "Európa"});
    MemDataset ds(db);
    const MasterTable &publishers = MasterTableAt(1);
    OpenMasterTable(ds, publishers);
    ASSERT_TRUE(ds.locate(publishers.nameColumn, QStringLiteral("Móra")));
    RenameCurrent(ds, publishers, QStringLiteral("Móra Kiadó"));
    EXPECT_EQ(ds.text(publishers.nameColumn), QStringLiteral("Móra Kiadó"));
    EXPECT_EQ(db.scalar("SELECT group_concat(kiado_nev || '/' || kiado_nevs, ',') FROM (SELECT * FROM konyvek ORDER BY konyvek)").toString(),
              QStringLiteral("Móra Kiadó/MORA KIADO,Európa/EUROPA"));

    // The lookup row is refused after the books were changed: both are taken back.
    db.exec("CREATE TRIGGER tilos BEFORE UPDATE ON kiado WHEN NEW.kiado_nev = 'Tilos' "
            "BEGIN SELECT RAISE(ABORT, 'tiltott név'); END");
    EXPECT_THROW(RenameCurrent(ds, publishers, QStringLiteral("Tilos")), DbError);
    EXPECT_EQ(db.scalar("SELECT kiado_nev FROM konyvek WHERE cim='Egri csillagok'").toString(), QStringLiteral("Móra Kiadó"));
    EXPECT_EQ(names("kiado"), QStringLiteral("Móra Kiadó=1,Európa=2"));
    EXPECT_EQ(ds.text(publishers.nameColumn), QStringLiteral("Móra Kiadó"));
    EXPECT_EQ(ds.state(), DsState::Browse);
}

TEST_F(MasterDataTest, SearchComparesTheSearchKeyOrForShelvesTheName) {
    MemDataset ds(db);
    OpenMasterTable(ds, MasterTableAt(0));
    AddNames(ds, MasterTableAt(0), {"Ábrahám Pál", "Babits Mihály"});
    EXPECT_EQ(MasterSearchIndex(ds, MasterTableAt(0), QStringLiteral("ab")), 0);
    EXPECT_EQ(MasterSearchIndex(ds, MasterTableAt(0), QStringLiteral("bá")), 1);
    EXPECT_EQ(MasterSearchIndex(ds, MasterTableAt(0), QStringLiteral("x")), -1);
    MemDataset shelves(db);
    OpenMasterTable(shelves, MasterTableAt(5));
    AddNames(shelves, MasterTableAt(5), {"A1", "B2"});
    EXPECT_EQ(MasterSearchIndex(shelves, MasterTableAt(5), QStringLiteral("b")), 1);
}

} // namespace
