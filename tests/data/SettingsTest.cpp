#include "data/Seged.h"
#include "data/Settings.h"
#include "support/Fixture.h"

#include <QDir>
#include <QSettings>
#include <climits>
#include <limits>

using namespace kodexa;

class SettingsTest : public test::ProgramDirTest {};

TEST_F(SettingsTest, DefaultsWithoutAConfigurationFile) {
    TBeall s;
    const QRect r = LoadWindowSettings(s);
    EXPECT_EQ(r, QRect(0, 0, 777, 550));
    EXPECT_EQ(s.FontSize, 8);
    EXPECT_FALSE(s.FullScreen);
    EXPECT_EQ(s.DatabasePath, path("Kodexa.sqb"));
    EXPECT_EQ(s.HtmlPath, path("Html"));
}

TEST_F(SettingsTest, ReadsValuesAndFallsBackOnBadOnes) {
    QDir().mkpath(path("kimenet"));
    writeFile("Kodexa.ini", QStringLiteral("[Screen]\nFullScreen=2\nLeft=5\nTop=6\nWidth=abc\nHeight=600\nFontSize=30\n"
                                           "[Database]\nPath=%1\n[Defaults]\nHtmlPath=%2\n")
                                .arg(path("masik.sqb"), path("kimenet"))
                                .toUtf8());
    TBeall s;
    const QRect r = LoadWindowSettings(s);
    EXPECT_TRUE(s.FullScreen);
    EXPECT_EQ(r, QRect(5, 6, 777, 600));
    EXPECT_EQ(s.FontSize, 30); // out of range is used as it is
    EXPECT_EQ(s.DatabasePath, path("masik.sqb"));
    EXPECT_EQ(s.HtmlPath, path("kimenet"));
}

TEST_F(SettingsTest, MissingHtmlFolderIsReplacedAndWrittenBackWithOtherSectionsKept) {
    writeFile("Kodexa.ini", "[Defaults]\nHtmlPath=/nincs/ilyen/mappa\n[frm_SQL]\nLeft=33\nTop=44\n");
    TBeall s;
    LoadWindowSettings(s);
    EXPECT_EQ(s.HtmlPath, path("Html"));
    s.FontSize = 12;
    SaveWindowSettings(s, QRect(1, 2, 800, 600));
    QSettings ini(path("Kodexa.ini"), QSettings::IniFormat);
    EXPECT_EQ(ini.value("Defaults/HtmlPath").toString(), path("Html"));
    EXPECT_EQ(ini.value("Database/Path").toString(), path("Kodexa.sqb"));
    EXPECT_EQ(ini.value("Screen/FontSize").toInt(), 12);
    EXPECT_EQ(ini.value("Screen/Width").toInt(), 800);
    EXPECT_EQ(ini.value("Screen/FullScreen").toInt(), 0);
    EXPECT_EQ(ini.value("frm_SQL/Left").toInt(), 33);
    EXPECT_EQ(ini.value("frm_SQL/Top").toInt(), 44);
}

TEST_F(SettingsTest, DatabaseSettingsFromTheFirstRow) {
    makeCatalogue();
    TBeall s;
    for (const char *v : {"N", "", "i"}) {
        db.exec(QStringLiteral("UPDATE beallit SET vanbelep='%1'").arg(QLatin1String(v)));
        LoadDatabaseSettings(db, s);
        EXPECT_FALSE(s.LoginRequired) << v;
    }
    db.exec("UPDATE beallit SET vanbelep=NULL, sendername=NULL, senderemil='a@b.hu'");
    LoadDatabaseSettings(db, s);
    EXPECT_FALSE(s.LoginRequired);
    EXPECT_EQ(s.SenderName, "");
    EXPECT_EQ(s.SenderEmail, "a@b.hu");
    db.exec("UPDATE beallit SET vanbelep='I'");
    LoadDatabaseSettings(db, s);
    EXPECT_TRUE(s.LoginRequired);
    db.exec("DELETE FROM beallit");
    LoadDatabaseSettings(db, s);
    EXPECT_FALSE(s.LoginRequired);
}

TEST(FontSize, StopsOnlyAtExactlyTwentyTwoAndEight) {
    int s = 8;
    for (int i = 0; i < 14; ++i)
        s = FontSizeUp(s);
    EXPECT_EQ(s, 22);
    EXPECT_EQ(FontSizeUp(22), 22);
    EXPECT_EQ(FontSizeDown(8), 8);
    EXPECT_EQ(FontSizeUp(30), 31);
    EXPECT_EQ(FontSizeDown(9), 8);
    // Sizes read as they are never leave what a grid can show.
    EXPECT_EQ(FontSizeDown(6), 6);
    EXPECT_EQ(FontSizeUp(72), 72);
}

TEST_F(SettingsTest, AbsurdFontSizesReadLikeValuesThatAreNoNumbers) {
    const struct {
        const char *value;
        int expected;
    } cases[] = {{"999999", 8}, {"0", 8}, {"-3", 8}, {"5", 8}, {"73", 8}, {"99999999999999", 8},
                 {"6", 6},      {"72", 72}, {"30", 30}, {"22", 22}, {"8", 8}};
    for (const auto &c : cases) {
        // A folder of its own each: QSettings would take a file of the same size written in
        // the same millisecond for the one it read before.
        QDir(dir()).mkdir(c.value);
        SetProgramDir(path(c.value));
        writeFile(path(c.value) + "/Kodexa.ini", QByteArray("[Screen]\nFontSize=") + c.value + "\n");
        TBeall s;
        LoadWindowSettings(s);
        EXPECT_EQ(s.FontSize, c.expected) << c.value;
    }
}

TEST(SaneWindowBounds, SizesOutsideTheWindowsMinimumOrTheScreensFallBackOneByOne) {
    const ScreenSpace one{{QRect(0, 0, 1280, 1000)}, QSize(480, 300)};
    EXPECT_EQ(SaneWindowBounds(5, 6, 1280, 1000, one), QRect(5, 6, 1280, 1000));
    EXPECT_EQ(SaneWindowBounds(0, 0, 1281, 99999999, one), QRect(0, 0, 777, 550));
    EXPECT_EQ(SaneWindowBounds(0, 0, 479, 300, one), QRect(0, 0, 777, 300));
    EXPECT_EQ(SaneWindowBounds(0, 0, 900, 0, one), QRect(0, 0, 900, 550));
    EXPECT_EQ(SaneWindowBounds(0, 0, -777, -550, one), QRect(0, 0, 777, 550));
    // A window reaching into the screen stays where it is; one beside every screen goes home.
    EXPECT_EQ(SaneWindowBounds(1200, -500, 777, 550, one), QRect(1200, -500, 777, 550));
    EXPECT_EQ(SaneWindowBounds(1280, 10, 777, 550, one), QRect(0, 0, 777, 550));
    EXPECT_EQ(SaneWindowBounds(-777, 10, 777, 550, one), QRect(0, 0, 777, 550));
    EXPECT_EQ(SaneWindowBounds(10, 1000, 777, 550, one), QRect(0, 0, 777, 550));
    // The far ends of the number range: no sum may overflow on the way.
    const qint64 big = std::numeric_limits<qint64>::max(), small = std::numeric_limits<qint64>::min();
    EXPECT_EQ(SaneWindowBounds(big, big, big, big, one), QRect(0, 0, 777, 550));
    EXPECT_EQ(SaneWindowBounds(small, small, small, small, one), QRect(0, 0, 777, 550));
    EXPECT_EQ(SaneWindowBounds(INT_MAX, INT_MIN, 800, 600, one), QRect(0, 0, 800, 600));

    // A second screen to the right: a window may stand on it, and be as wide as both.
    const ScreenSpace two{{QRect(0, 0, 1280, 1000), QRect(1280, 0, 1920, 1080)}, QSize(480, 300)};
    EXPECT_EQ(SaneWindowBounds(1500, 1000, 777, 550, two), QRect(1500, 1000, 777, 550));
    EXPECT_EQ(SaneWindowBounds(0, 0, 3200, 1080, two), QRect(0, 0, 3200, 1080));
    EXPECT_EQ(SaneWindowBounds(0, 0, 3201, 1081, two), QRect(0, 0, 777, 550));

    // Without a display only what no window can be is refused.
    const ScreenSpace none;
    EXPECT_EQ(SaneWindowBounds(-5000, 40000, 20000, 30000, none), QRect(-5000, 40000, 20000, 30000));
    EXPECT_EQ(SaneWindowBounds(INT_MAX, 0, 16777216, 550, none), QRect(0, 0, 777, 550));
}

TEST_F(SettingsTest, AbsurdGeometryInTheFileIsReadAsTheDefaults) {
    writeFile("Kodexa.ini", "[Screen]\nLeft=2147483647\nTop=-2147483648\nWidth=10\nHeight=99999999\n");
    TBeall s;
    EXPECT_EQ(LoadWindowSettings(s, ScreenSpace{{QRect(0, 0, 1024, 768)}, QSize(400, 300)}), QRect(0, 0, 777, 550));
    writeFile("Kodexa.ini", "[Screen]\nLeft=12\nTop=34\nWidth=1000\nHeight=700\n");
    EXPECT_EQ(LoadWindowSettings(s, ScreenSpace{{QRect(0, 0, 1024, 768)}, QSize(400, 300)}), QRect(12, 34, 1000, 700));
}

TEST_F(SettingsTest, WritingKeepsEveryOtherKeyAndLeavesNoCopyBehind) {
    writeFile("Kodexa.ini", "[frm_SQL]\nLeft=33\nTop=44\n[Sajat]\nLista=a, b, c\nSzoveg=\"x, y\"\n"
                            "[Screen]\nFontSize=30\nWidth=abc\n");
    TBeall s;
    LoadWindowSettings(s);
    SaveWindowSettings(s, QRect(1, 2, 800, 600));
    SaveWindowPos("frm_Stat", 5, 6);
    QSettings ini(path("Kodexa.ini"), QSettings::IniFormat);
    EXPECT_EQ(ini.value("frm_SQL/Left").toInt(), 33);
    EXPECT_EQ(ini.value("Sajat/Lista").toStringList(), QStringList({"a", "b", "c"}));
    EXPECT_EQ(ini.value("Sajat/Szoveg").toString(), "x, y");
    EXPECT_EQ(ini.value("Screen/FontSize").toInt(), 30);
    EXPECT_EQ(ini.value("Screen/Width").toInt(), 800);
    EXPECT_EQ(ini.value("frm_Stat/Top").toInt(), 6);
    EXPECT_EQ(QDir(dir()).entryList(QDir::Files), QStringList({"Kodexa.ini"}));
}

TEST_F(SettingsTest, AFileThatCannotBeWrittenIsReportedAndStaysAsItWas) {
    const QByteArray before = "[Screen]\nFontSize=12\n[frm_SQL]\nLeft=33\nTop=44\n";
    writeFile("Kodexa.ini", before);
    TBeall s;
    LoadWindowSettings(s);
    s.FontSize = 15;
    {
        test::WriteProtected folder(dir());
        if (!folder.ok())
            GTEST_SKIP() << "the file system cannot write-protect folders here";
        try {
            SaveWindowSettings(s, QRect(0, 0, 800, 600));
            ADD_FAILURE() << "no error";
        } catch (const FileError &e) {
            EXPECT_TRUE(e.message().startsWith("A beállítások nem írhatók: " + path("Kodexa.ini") + "\n")) << e.what();
        }
    }
    EXPECT_EQ(readFile("Kodexa.ini"), before);
    EXPECT_EQ(QDir(dir()).entryList(QDir::Files), QStringList({"Kodexa.ini"}));
}

TEST_F(SettingsTest, OnAFullDiskTheFileIsWrittenWholeOrNotAtAll) {
    test::SmallDisk disk(path("kicsi"), 64);
    if (!disk.ok())
        GTEST_SKIP() << "no right to mount a small file system";
    SetProgramDir(path("kicsi"));
    const QByteArray before = "[Screen]\nFontSize=12\n[frm_SQL]\nLeft=33\nTop=44\n";
    writeFile(path("kicsi/Kodexa.ini"), before);
    TBeall s;
    LoadWindowSettings(s);
    s.FontSize = 15;
    // A long path makes the new file larger than what the disk has left.
    s.HtmlPath = QString(6000, QChar('h'));
    disk.fill();
    try {
        SaveWindowSettings(s, QRect(0, 0, 800, 600));
        ADD_FAILURE() << "no error";
    } catch (const FileError &e) {
        EXPECT_TRUE(e.message().startsWith("Megtelt a lemez, nincs hely a mentéshez.\nA beállítások nem írhatók: "))
            << e.what();
    }
    EXPECT_EQ(readFile(path("kicsi/Kodexa.ini")), before);
    EXPECT_EQ(QDir(path("kicsi")).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase), QStringList({"kitoltes", "Kodexa.ini"}));
}
