// Which mode the program runs in and where its files are, for the directories it may be
// started from.
#include "data/Locations.h"
#include "data/Seged.h"
#include "support/Fixture.h"

#include <QDir>
#include <QFile>

using namespace kodexa;

class LocationsTest : public test::ProgramDirTest {};

TEST_F(LocationsTest, AWritableDirectoryOutsideUsrIsPortableAndKeepsEverythingBesideTheProgram) {
    const Locations l = DecideLocations(dir(), {{}, path("adat"), path("otthon")});
    EXPECT_EQ(l.mode, RunMode::Portable);
    EXPECT_EQ(l.folder, QDir(dir()).canonicalPath());
    EXPECT_EQ(l.shareDir, l.folder);
}

TEST_F(LocationsTest, AProgramUnderUsrKeepsTheUsersFilesInTheDataFolderAndReadsItsOwnFromShare) {
    // /usr/bin is writable for root, as these tests may run: being under /usr decides.
    Locations l = DecideLocations(QStringLiteral("/usr/bin"), {{}, path("adat"), path("otthon")});
    EXPECT_EQ(l.mode, RunMode::Installed);
    EXPECT_EQ(l.folder, path("adat") + "/Kodexa");
    EXPECT_EQ(l.shareDir, QStringLiteral("/usr/share/kodexa"));
    // Without XDG_DATA_HOME, or with a relative one (which the rules say to ignore): ~/.local/share.
    for (const QString &xdg : {QString(), QStringLiteral("relativ/adat")}) {
        l = DecideLocations(QStringLiteral("/usr/bin"), {{}, xdg, path("otthon")});
        EXPECT_EQ(l.folder, path("otthon") + "/.local/share/Kodexa") << xdg.toStdString();
    }
}

TEST_F(LocationsTest, KodexaHomeOverridesTheUsersFolderInBothModesButNotTheMode) {
    const QString home = path("sajat/");
    const Locations installed = DecideLocations(QStringLiteral("/usr/bin"), {home, path("adat"), path("otthon")});
    EXPECT_EQ(installed.mode, RunMode::Installed);
    EXPECT_EQ(installed.folder, path("sajat"));
    EXPECT_EQ(installed.shareDir, QStringLiteral("/usr/share/kodexa"));
    const Locations portable = DecideLocations(dir(), {home, {}, {}});
    EXPECT_EQ(portable.mode, RunMode::Portable);
    EXPECT_EQ(portable.folder, path("sajat"));
    EXPECT_EQ(portable.shareDir, QDir(dir()).canonicalPath());
}

TEST_F(LocationsTest, TheCatalogueFollowsTheSettingsFileOfTheUsersFolderAndItsBackupsStandBesideIt) {
    UseLocations({RunMode::Installed, path("felhasznalo"), QStringLiteral("/usr/share/kodexa")});
    EXPECT_EQ(ProgramDir(), path("felhasznalo"));
    EXPECT_EQ(CataloguePath(), path("felhasznalo/Kodexa.sqb"));
    EXPECT_EQ(SharedPath("Help/index.htm"), QStringLiteral("/usr/share/kodexa/Help/index.htm"));
    EXPECT_EQ(BackupFolderFor(CataloguePath()), path("felhasznalo/Backup"));
    QDir().mkpath(path("felhasznalo"));
    QFile ini(path("felhasznalo/Kodexa.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(QStringLiteral("[Database]\nPath=%1\n").arg(path("masutt/konyvek.sqb")).toUtf8());
    ini.close();
    EXPECT_EQ(CataloguePath(), path("masutt/konyvek.sqb"));
    EXPECT_EQ(BackupFolderFor(CataloguePath()), path("masutt/Backup"));
}
