#include "edit/core/BookEdit.h"

#include <gtest/gtest.h>

using namespace kodexa;

TEST(BookEdit, AppendEditorToEmptyAndFilledField) {
    EXPECT_EQ(AppendEditor(QString(), QStringLiteral("Weöres Sándor")), QStringLiteral("Weöres Sándor"));
    EXPECT_EQ(AppendEditor(QStringLiteral("   "), QStringLiteral("Weöres Sándor")), QStringLiteral("Weöres Sándor"));
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
