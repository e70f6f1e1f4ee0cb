#include "data/Seged.h"
#include "data/Settings.h"
#include "support/Fixture.h"

#include <QDir>
#include <QFile>
#include <limits>

using namespace kodexa;

TEST(FieldOf, CountsFromOneAndKeepsEmptyFields) {
    EXPECT_EQ(FieldOf(';', "a;;c", 1), "a");
    EXPECT_EQ(FieldOf(';', "a;;c", 2), "");
    EXPECT_EQ(FieldOf(';', "a;;c", 3), "c");
    EXPECT_EQ(FieldOf(';', "abc", 1), "abc");
    EXPECT_EQ(FieldOf(';', "abc", 2), "");
    EXPECT_EQ(FieldOf(';', "abc", 0), "");
    EXPECT_EQ(FieldOf(';', "abc", -1), "");
    EXPECT_EQ(FieldOf('\t', "\"a\tb\"", 2), "b\""); // quotes mean nothing
}

TEST(NormalizeKey, FoldsTheNineHungarianCapitalsOnly) {
    EXPECT_EQ(NormalizeKey(""), "");
    EXPECT_EQ(NormalizeKey("ÁÉÍÓÖŐÚÜŰ"), "AEIOOOUUU");
    EXPECT_EQ(NormalizeKey("áéíóöőúüű"), "AEIOOOUUU");
    EXPECT_EQ(NormalizeKey("Gárdonyi Géza: Egri csillagok"), "GARDONYI GEZA: EGRI CSILLAGOK");
    EXPECT_EQ(NormalizeKey("Őszi kürtő"), "OSZI KURTO");
    // Upper-cased but not folded.
    EXPECT_EQ(NormalizeKey("Čapek äô ř"), "ČAPEK ÄÔ Ř");
    // One character to one character: the length never changes.
    EXPECT_EQ(NormalizeKey("Straße"), "STRAßE");
    EXPECT_EQ(NormalizeKey("Straße").size(), 6);
    EXPECT_EQ(NormalizeKey("12-3 x!"), "12-3 X!");
}

TEST(SearchKey, CutsToTwentyCharacters) {
    EXPECT_EQ(SearchKey("Az ünnepélyes pillanat: ötven év után"), "AZ UNNEPELYES PILLAN");
    EXPECT_EQ(SearchKey("Rövid"), "ROVID");
    EXPECT_EQ(SearchKey(QString(30, QChar('x'))).size(), 20);
}

TEST(FileSlug, ReplacesUnsafeAndNonAsciiCharacters) {
    EXPECT_EQ(FileSlug("Könyvek listája 2007/1"), "k_nyvek-list_ja-2007-1");
    EXPECT_EQ(FileSlug(QString::fromUtf8("Ár: 5€ \"#%&'*+?@\\")), QString::fromUtf8("_r--5€-----------"));
    EXPECT_EQ(FileSlug("$(),-.;=[]AZaz09"), "$(),-.;=[]azaz09");
}

TEST(JoinLines, EndsEveryLineWithOneBar) {
    EXPECT_EQ(JoinLines(""), "");
    EXPECT_EQ(JoinLines("abc"), "abc|");
    EXPECT_EQ(JoinLines("abc\r\ndef"), "abc|def|");
    EXPECT_EQ(JoinLines("abc\ndef\n"), "abc|def|");
    EXPECT_EQ(JoinLines("abc\rdef\r\n"), "abc|def|");
    EXPECT_EQ(JoinLines("a\n\nb"), "a||b|");
}

TEST(VarConversions, NullGivesEmptyOrZeroAndBadNumbersRaise) {
    EXPECT_EQ(VarToText(QVariant()), "");
    EXPECT_EQ(VarToInt(QVariant()), 0);
    EXPECT_EQ(VarToFloat(QVariant()), 0.0);
    EXPECT_EQ(VarToInt(QVariant("42")), 42);
    EXPECT_EQ(VarToInt(QVariant(qlonglong(7))), 7);
    EXPECT_THROW(VarToInt(QVariant("negy")), Error);
    EXPECT_THROW(VarToFloat(QVariant("x")), Error);
}

TEST(SqlQuote, DoublesEmbeddedQuotes) {
    EXPECT_EQ(SqlQuote("O'Brien"), "'O''Brien'");
    EXPECT_EQ(SqlQuote(""), "''");
}

TEST(FormatGrouped, GroupsDigitsByThreeWithSpaces) {
    EXPECT_EQ(FormatGrouped(0), "0");
    EXPECT_EQ(FormatGrouped(999), "999");
    EXPECT_EQ(FormatGrouped(1500), "1 500");
    EXPECT_EQ(FormatGrouped(100000), "100 000");
    EXPECT_EQ(FormatGrouped(1234567890), "1 234 567 890");
    EXPECT_EQ(FormatGrouped(-1500), "-1 500");
    EXPECT_EQ(FormatGrouped(-999), "-999");
    EXPECT_EQ(FormatGrouped(std::numeric_limits<qint64>::min()), "-9 223 372 036 854 775 808");
    EXPECT_EQ(FormatGroupedValue(QVariant()), "");
    EXPECT_EQ(FormatGroupedValue(QVariant(qint64(2500))), "2 500");
    EXPECT_EQ(FormatGroupedValue(QVariant(1499.5)), "1 500");
    EXPECT_EQ(FormatGroupedValue(QVariant(-2.5)), "-3");
    EXPECT_EQ(FormatGroupedValue(QVariant(" 12000 ")), "12 000");
    EXPECT_EQ(FormatGroupedValue(QVariant("sok")), "sok");
}

TEST(StartsWithAsciiNoCase, IgnoresCaseOfPlainLettersOnly) {
    EXPECT_TRUE(StartsWithAsciiNoCase("Abel", "ab"));
    EXPECT_TRUE(StartsWithAsciiNoCase("ABC", "aB"));
    EXPECT_FALSE(StartsWithAsciiNoCase("Ábel", "á"));
    EXPECT_TRUE(StartsWithAsciiNoCase("Ábel", "Á"));
    EXPECT_FALSE(StartsWithAsciiNoCase("ab", "abc"));
    EXPECT_TRUE(EqualsAsciiNoCase("Mezei Kiado", "mezei kiado"));
    EXPECT_FALSE(EqualsAsciiNoCase("ÁBRÁNDOS KIADÓ", "Ábrándos Kiadó"));
}

class WindowPosTest : public test::ProgramDirTest {};

TEST_F(WindowPosTest, DefaultsToTenAndRoundTripsBesideOtherSections) {
    int l = 0, t = 0;
    LoadWindowPos("frm_SQL", l, t);
    EXPECT_EQ(l, 10);
    EXPECT_EQ(t, 10);
    writeFile("Kodexa.ini", "[frm_Beallit]\nLeft=x\nTop=77\n");
    LoadWindowPos("frm_Beallit", l, t);
    EXPECT_EQ(l, 10); // not a number: the default
    EXPECT_EQ(t, 77);
    SaveWindowPos("frm_SQL", 120, 240);
    LoadWindowPos("frm_SQL", l, t);
    EXPECT_EQ(l, 120);
    EXPECT_EQ(t, 240);
    LoadWindowPos("frm_Beallit", l, t);
    EXPECT_EQ(t, 77);
}

TEST_F(WindowPosTest, AConfigurationFileThatCannotBeWrittenIsReportedWithTheReason) {
    // A folder where the file should be: no program, root or not, can write it.
    ASSERT_TRUE(QDir(dir()).mkdir("Kodexa.ini"));
    try {
        SaveWindowPos("frm_SQL", 1, 2);
        ADD_FAILURE() << "no error";
    } catch (const FileError &e) {
        EXPECT_TRUE(e.message().startsWith("A beállítások nem írhatók: " + path("Kodexa.ini") + "\n")) << e.what();
        EXPECT_GT(e.message().size(), QString("A beállítások nem írhatók: " + path("Kodexa.ini") + "\n").size());
    }
    EXPECT_THROW(SaveWindowSettings(TBeall{}, QRect(1, 2, 3, 4)), FileError);
}
