// The program's start and end as a script or a user meets them: the exit status of a
// refused start, absurd values in Kodexa.ini, a catalogue that can only be read, and a
// configuration file that cannot be written at exit.
#include "app/Main.h"
#include "support/Fixture.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTableView>

using namespace kodexa;
using namespace kodexa::test;

class StartupTest : public ProgramDirTest {
protected:
    QString readOnlyNotice(Tfrm_Main &w) { return w.StatusText(3).trimmed(); }
};

TEST_F(StartupTest, ARefusedStartEndsWithStatusOneAndAGivenUpLoginWithZero) {
    // No catalogue at all.
    EXPECT_EQ(RunProgram(services), 1);
    EXPECT_EQ(services.errorTexts(), QStringList{"Nem létező adatbázis"});

    // A file that is no catalogue.
    writeFile("Kodexa.sqb", QByteArray("Ez egy szövegállomány.\n").repeated(300));
    services.messages.clear();
    EXPECT_EQ(RunProgram(services), 1);
    ASSERT_EQ(services.errorTexts().size(), 1);
    EXPECT_TRUE(services.errorTexts()[0].contains("Az állomány sérült, vagy nem adatbázis.\nfile is not a database"))
        << services.errorTexts()[0].toStdString();

    // Another program holds the catalogue for the whole start.
    QFile::remove(path("Kodexa.sqb"));
    makeCatalogue();
    Db::setBusyTimeout(100);
    db.exec("BEGIN EXCLUSIVE");
    services.messages.clear();
    EXPECT_EQ(RunProgram(services), 1);
    db.exec("ROLLBACK");
    Db::setBusyTimeout(3000);
    ASSERT_EQ(services.errorTexts().size(), 1);
    EXPECT_TRUE(services.errorTexts()[0].contains("A katalógust egy másik program zárolja, próbálja újra később.\n"
                                                  "database is locked"))
        << services.errorTexts()[0].toStdString();

    // The user closes the login window: the program ends as asked, not as a failure.
    db.exec("UPDATE beallit SET vanbelep='I'");
    services.messages.clear();
    WhenModal([](QWidget *w) { Child<QPushButton>(w, QStringLiteral("btnMegsem"))->click(); });
    EXPECT_EQ(RunProgram(services), 0);
    EXPECT_TRUE(services.messages.isEmpty());
}

TEST_F(StartupTest, AbsurdWindowAndFontValuesStartWithTheDefaultsAndAreNotWrittenBack) {
    makeCatalogue();
    writeFile("Kodexa.ini", "[Screen]\nLeft=2147483647\nTop=2147483647\nWidth=3\nHeight=99999999\nFontSize=999999\n"
                            "[frm_SQL]\nLeft=7\nTop=8\n");
    {
        Tfrm_Main w(services);
        ASSERT_TRUE(w.FormCreate());
        EXPECT_EQ(w.size(), QSize(777, 550));
        EXPECT_EQ(w.Beall().FontSize, 8);
        w.show();
        EXPECT_EQ(w.Grid()->font().pointSize(), 8);
        w.close();
    }
    QSettings ini(path("Kodexa.ini"), QSettings::IniFormat);
    EXPECT_EQ(ini.value("Screen/Height").toInt(), 550);
    EXPECT_EQ(ini.value("Screen/FontSize").toInt(), 8);
    EXPECT_EQ(ini.value("frm_SQL/Top").toInt(), 8);

    // A hand-written size the grid can show stays.
    writeFile("Kodexa.ini", "[Screen]\nFontSize=30\nHeight=500\n");
    Tfrm_Main w(services);
    ASSERT_TRUE(w.FormCreate());
    EXPECT_EQ(w.Beall().FontSize, 30);
    EXPECT_EQ(w.height(), 500);
    EXPECT_TRUE(services.messages.isEmpty());
}

TEST_F(StartupTest, AReadOnlyCatalogueSaysSoInTheStatusBarAndAnExitWriteFailureIsShown) {
    makeCatalogue(true);
    db.close();
    {
        Tfrm_Main w(services);
        ASSERT_TRUE(w.FormCreate());
        EXPECT_EQ(readOnlyNotice(w), "");
    }
    const QByteArray ini = "[Screen]\nFontSize=12\n[frm_SQL]\nLeft=7\nTop=8\n";
    writeFile("Kodexa.ini", ini);
    const QByteArray catalogue = readFile("Kodexa.sqb");
    {
        // The folder refuses new files: no journal for the catalogue, no new Kodexa.ini.
        WriteProtected folder(dir());
        if (!folder.ok())
            GTEST_SKIP() << "the file system cannot write-protect folders here";
        Tfrm_Main w(services);
        ASSERT_TRUE(w.FormCreate());
        EXPECT_EQ(readOnlyNotice(w), "A katalógus csak olvasható: a változások nem menthetők.");
        EXPECT_TRUE(services.messages.isEmpty());
        w.show();
        w.Beall().FontSize = 13;
        w.close();
        ASSERT_EQ(services.errorTexts().size(), 1);
        EXPECT_TRUE(services.errorTexts()[0].startsWith("A beállítások nem írhatók: " + path("Kodexa.ini") + "\n"))
            << services.errorTexts()[0].toStdString();
    }
    EXPECT_EQ(readFile("Kodexa.ini"), ini);
    EXPECT_EQ(readFile("Kodexa.sqb"), catalogue);

    services.messages.clear();
    {
        WriteProtected file(path("Kodexa.sqb"));
        ASSERT_TRUE(file.ok());
        Tfrm_Main w(services);
        ASSERT_TRUE(w.FormCreate());
        EXPECT_EQ(readOnlyNotice(w), "A katalógus csak olvasható: a változások nem menthetők.");
    }
    EXPECT_TRUE(services.messages.isEmpty());
}
