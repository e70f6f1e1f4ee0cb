#include "edit/core/BookEdit.h"

#include "support/Fixture.h"

#include <gtest/gtest.h>

using namespace kodexa;

TEST(BookEdit, AppendEditorToEmptyAndFilledField) {
    EXPECT_EQ(AppendEditor(QString(), QStringLiteral("Weöres Sándor")), QStringLiteral("Weöres Sándor"));
    // Blanks are text like any other: the separator follows them.
    EXPECT_EQ(AppendEditor(QStringLiteral("   "), QStringLiteral("Weöres Sándor")), QStringLiteral("   ; Weöres Sándor"));
    EXPECT_EQ(AppendEditor(QStringLiteral("Szabó Magda"), QStringLiteral("Weöres Sándor")),
              QStringLiteral("Szabó Magda; Weöres Sándor"));
    // A field that happens to begin with a semicolon keeps every character.
    EXPECT_EQ(AppendEditor(QStringLiteral(";x"), QStringLiteral("Y")), QStringLiteral(";x; Y"));
}

TEST(BookEdit, NameLinesDropOnlyTheTrailingLineEnd) {
    EXPECT_EQ(NameLines(QString()), QStringList());
    EXPECT_EQ(NameLines(QStringLiteral("\r\nA\r\nA\r\n")), QStringList({QString(), QStringLiteral("A"), QStringLiteral("A")}));
}

TEST(BookEdit, KeyAndDateAsShown) {
    EXPECT_EQ(BookKeyText(7), QStringLiteral("00007"));
    EXPECT_EQ(BookKeyText(123456), QStringLiteral("123456"));
    EXPECT_EQ(BookKeyText(QVariant()), QString());
    EXPECT_EQ(StoredDate(QStringLiteral("2021-03-04")), QDate(2021, 3, 4));
    EXPECT_EQ(StoredDate(QStringLiteral("2021-03-04 10:00:00")), QDate(2021, 3, 4));
    EXPECT_FALSE(StoredDate(QVariant()).isValid());
    EXPECT_FALSE(StoredDate(QStringLiteral("tegnap")).isValid());
}

namespace {

class BookFieldsTest : public kodexa::test::ProgramDirTest {
protected:
    void SetUp() override {
        ProgramDirTest::SetUp();
        makeCatalogue();
        fields = TableFields(db, QStringLiteral("konyvek"));
    }
    FieldListPtr fields;
};

TEST_F(BookFieldsTest, NumbersAreCheckedOnlyWhereTheUserChangedThem) {
    using F = TypedField;
    // A stored value that is not a number (written by another tool) does not block the save,
    // nor does an emptied number; texts are left to their edits.
    FieldRefusal r = FirstRefusedField(*fields, {{"ar", "12a", "12a", F::WholeNumber},
                                                 {"terjedelem", "10", " 12 ", F::WholeNumber},
                                                 {"kiadas", "3", "", F::WholeNumber},
                                                 {"cim", "", "x y", F::Text}});
    EXPECT_EQ(r.index, -1);
    EXPECT_EQ(r.reason, QString());
    r = FirstRefusedField(*fields, {{"cim", "", "abc", F::Text},
                                    {"ar", "", "1 200", F::WholeNumber},
                                    {"terjedelem", "", "x", F::WholeNumber}});
    EXPECT_EQ(r.index, 1);
    EXPECT_EQ(r.reason, QStringLiteral("A(z) „ár” mezőbe csak egész szám írható."));
    r = FirstRefusedField(*fields, {{"terjedelem", "", "x", F::WholeNumber}});
    EXPECT_EQ(r.reason, QStringLiteral("A(z) „terjedelem” mezőbe csak egész szám írható."));
    // Ten digits do not fit the column's whole numbers.
    EXPECT_EQ(FirstRefusedField(*fields, {{"ar", "", "1234567890", F::WholeNumber}}).index, 0);
}

TEST_F(BookFieldsTest, ContentsAreHeldToTheirColumnsSizeEvenWhenUntouched) {
    using F = TypedField;
    const QString full(2048, QLatin1Char('x')), over(2049, QChar(0x0151));
    EXPECT_EQ(FirstRefusedField(*fields, {{"tartalom", "", full, F::Contents}}).index, -1);
    const FieldRefusal r = FirstRefusedField(*fields, {{"ar", "", "5", F::WholeNumber}, {"tartalom", over, over, F::Contents}});
    EXPECT_EQ(r.index, 1);
    EXPECT_EQ(r.reason, QStringLiteral("A tartalom legfeljebb 2048 karakter lehet, most 2049 karakter."));
}

TEST_F(BookFieldsTest, OnlyChangedFieldsAreWrittenAndEmptiedOnesBecomeNull) {
    using F = TypedField;
    Record book(fields);
    book.setValue("cim", QStringLiteral("Régi  cím "));
    book.setValue("ar", QStringLiteral("12a")); // as another tool stored it
    book.setValue("terjedelem", 100);
    book.setValue("alcim", QStringLiteral("Alcím"));
    book.setValue("tartalom", QStringLiteral("első\nmásodik"));
    StoreChangedFields(book, {{"cim", "Régi  cím ", "Régi  cím ", F::Text},
                              {"ar", "12a", " 12a ", F::WholeNumber},
                              {"terjedelem", "100", "250", F::WholeNumber},
                              {"alcim", "Alcím", "", F::Text},
                              {"tartalom", "első\nmásodik", "első\nmásodik\n", F::Contents}});
    EXPECT_EQ(book.value("cim"), QVariant(QStringLiteral("Régi  cím ")));
    EXPECT_EQ(book.value("ar"), QVariant(QStringLiteral("12a")));
    EXPECT_EQ(book.value("terjedelem").typeId(), QMetaType::LongLong);
    EXPECT_EQ(book.value("terjedelem").toLongLong(), 250);
    EXPECT_TRUE(book.value("alcim").isNull());
    EXPECT_EQ(book.value("tartalom").toString(), QStringLiteral("első\nmásodik\n"));
}

} // namespace
