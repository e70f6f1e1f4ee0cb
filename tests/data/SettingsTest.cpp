#include "data/Seged.h"
#include "data/Settings.h"
#include "support/Fixture.h"

#include <QDir>
#include <QSettings>

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
}
