#include "data/Catalogue.h"
#include "data/Error.h"
#include "data/Kozos.h"
#include "data/LookupTables.h"
#include "data/Schema.h"
#include "support/Fixture.h"

#include <QSet>

using namespace kodexa;

class LookupTablesTest : public test::ProgramDirTest {};

namespace {
bool IsBookColumn(const char *name) {
    for (const ColumnDef &c : BookColumns())
        if (QLatin1String(c.name) == QLatin1String(name))
            return true;
    return false;
}
} // namespace

// The description and the book table must agree: every column it names exists in a book,
// and a table has a search key exactly when the book's name copy is a keyed text.
TEST_F(LookupTablesTest, DescriptionAgreesWithTheBookTable) {
    QSet<int> orders;
    for (const LookupTable &t : LookupTables()) {
        EXPECT_TRUE(IsBookColumn(t.table)) << t.table;
        EXPECT_TRUE(IsBookColumn(t.nameColumn)) << t.nameColumn;
        EXPECT_EQ(t.keyed(), IsKeyedText(QLatin1String(t.nameColumn))) << t.table;
        if (t.keyed()) {
            EXPECT_TRUE(IsBookColumn(t.searchKeyColumn)) << t.searchKeyColumn;
            EXPECT_EQ(QLatin1String(t.searchKeyColumn), KeyColumn(QLatin1String(t.nameColumn)));
        }
        orders.insert(t.resolveOrder);
        EXPECT_EQ(FindLookup(QLatin1String(t.table)), &t);
    }
    EXPECT_EQ(orders.size(), qsizetype(LookupTables().size())); // no two tables share a place
    QStringList resolved;
    for (const LookupTable *t : BookResolveOrder())
        resolved << QLatin1String(t->table);
    EXPECT_EQ(resolved, QStringList({"szerzo", "polc", "kiado", "sorozat", "targykor", "mufaj", "nyelv"}));
}

TEST_F(LookupTablesTest, NewCatalogueHoldsTheDescribedTables) {
    makeCatalogue();
    for (const LookupTable &t : LookupTables()) {
        QVector<QPair<QString, QString>> expected = {{QLatin1String(t.table), "INTEGER"},
                                                     {QLatin1String(t.nameColumn), QStringLiteral("TEXT(%1)").arg(t.nameSize)}};
        if (t.keyed())
            expected.append({QLatin1String(t.searchKeyColumn), "TEXT(20)"});
        EXPECT_EQ(db.tableColumns(QLatin1String(t.table)), expected) << t.table;
    }
}

TEST_F(LookupTablesTest, AnUnknownTableIsAProgramMistake) {
    makeCatalogue();
    EXPECT_EQ(FindLookup(u"felhasznalo"), nullptr);
    EXPECT_THROW(LookupFor(u"szerzo_nev"), ProgramError);
    // Before any statement is made of the name.
    EXPECT_THROW(NameList(db, "felhasznalo"), ProgramError);
    EXPECT_THROW(RenameStatements("konyvek", 1, "x"), ProgramError);
}
