// The backups beside the catalogue: their names, the rotation, the backup at exit and the
// restore.
#include "data/Backup.h"
#include "data/Catalogue.h"
#include "data/Locations.h"
#include "support/Fixture.h"

#include <QDir>
#include <QFile>

using namespace kodexa;

class BackupTest : public test::ProgramDirTest {
protected:
    QString folder() const { return path("Backup"); }
    QStringList names() const { return QDir(folder()).entryList({"*.sqb"}, QDir::Files, QDir::Name); }
    // A sound backup of the catalogue as made at the given time.
    QString backupAt(const QString &stamp, const QString &name = QString()) {
        QDir().mkpath(folder());
        const QString file = name.isEmpty() ? BackupFileIn(folder(), db.path(), QDateTime::fromString(stamp, "yyyyMMddHHmmss"))
                                            : QDir(folder()).filePath(name);
        BackupCatalogue(db, file);
        return file;
    }
    qint64 books(const QString &file) { return BooksInBackup(file); }
    // Each file a different size: QSettings answers from its cache while size and time match.
    void setKeep(const char *value) {
        writeFile("Kodexa.ini", QByteArray("[Backup]\nKeep=") + value + "\n" + QByteArray(++writes_, ';') + "\n");
    }
    int writes_ = 0;
};

TEST_F(BackupTest, RotationKeepsTheNewestOfBothNameFormsAndLeavesOtherFilesAlone) {
    makeCatalogue(true);
    backupAt("20261208120000", "Kodexa-20261208-120000.sqb"); // as kodexa-cli named them before
    backupAt("20261209080000");
    backupAt("20261209080000"); // the same second: -2
    backupAt("20261210090000", "Kodexa-20261210-090000.sqb");
    writeFile("Backup/jegyzet.sqb", "marad");
    const QVector<BackupEntry> all = ListBackups(folder(), db.path());
    ASSERT_EQ(all.size(), 4);
    EXPECT_EQ(QFileInfo(all[0].path).fileName(), "Kodexa-20261210-090000.sqb");
    EXPECT_EQ(QFileInfo(all[1].path).fileName(), "Kodexa-2026-12-09-080000-2.sqb");
    EXPECT_EQ(all[3].when, QDateTime(QDate(2026, 12, 8), QTime(12, 0)));
    EXPECT_GT(all[0].bytes, 0);

    EXPECT_EQ(PruneBackups(folder(), db.path(), 2),
              (QStringList{path("Backup/Kodexa-20261208-120000.sqb"), path("Backup/Kodexa-2026-12-09-080000.sqb")}));
    EXPECT_EQ(names(), (QStringList{"Kodexa-2026-12-09-080000-2.sqb", "Kodexa-20261210-090000.sqb", "jegyzet.sqb"}));
}

TEST_F(BackupTest, DamagedNewerFilesNeverPushOutTheLastSoundBackup) {
    makeCatalogue(true);
    const QString sound = backupAt("20261201100000");
    for (const char *n : {"Kodexa-2026-12-02-100000.sqb", "Kodexa-2026-12-03-100000.sqb", "Kodexa-2026-12-04-100000.sqb"})
        writeFile(QStringLiteral("Backup/") + n, QByteArray("csonka").repeated(100));
    EXPECT_EQ(PruneBackups(folder(), db.path(), 2), QStringList{path("Backup/Kodexa-2026-12-02-100000.sqb")});
    EXPECT_TRUE(QFile::exists(sound));
    EXPECT_EQ(names().size(), 3);
    // Once a sound one is among those kept, the old one goes like any other.
    const QString fresh = backupAt("20261205100000");
    EXPECT_EQ(PruneBackups(folder(), db.path(), 2, fresh).size(), 2);
    EXPECT_FALSE(QFile::exists(sound));
    EXPECT_TRUE(QFile::exists(fresh));
}

TEST_F(BackupTest, AtExitABackupIsMadeOnlyWhenTheCatalogueChangedAndKeepZeroSwitchesItOff) {
    makeCatalogue(true);
    const QString catalogue = db.path();
    setKeep("0");
    EXPECT_TRUE(BackupAtExit(catalogue).path.isEmpty());
    EXPECT_FALSE(QDir(folder()).exists());

    setKeep("2");
    const BackupOutcome first = BackupAtExit(catalogue);
    ASSERT_FALSE(first.path.isEmpty());
    EXPECT_EQ(QFileInfo(first.path).absolutePath(), folder());
    EXPECT_EQ(books(first.path), db.scalar("SELECT count(*) FROM konyvek").toLongLong());
    // Nothing changed since: no second copy.
    EXPECT_TRUE(BackupAtExit(catalogue).path.isEmpty());
    EXPECT_EQ(names().size(), 1);
    for (int i = 0; i < 3; ++i) {
        AddBook(db, {.cim = QStringLiteral("Új könyv %1").arg(i)});
        ASSERT_FALSE(BackupAtExit(catalogue).path.isEmpty());
        // Two backups in one second get -2, -3; the rotation still orders them.
    }
    EXPECT_EQ(names().size(), 2);
    const QVector<BackupEntry> kept = ListBackups(folder(), catalogue);
    EXPECT_EQ(books(kept[0].path), db.scalar("SELECT count(*) FROM konyvek").toLongLong());

    // A hand-written value that is no count: the default.
    setKeep("sok");
    EXPECT_EQ(BackupKeep(), DefaultBackupKeep);
}

TEST_F(BackupTest, AtExitADamagedCatalogueIsReportedAndCostsNoBackup) {
    makeCatalogue(true);
    const QString catalogue = db.path();
    setKeep("1");
    ASSERT_FALSE(BackupAtExit(catalogue).path.isEmpty());
    const QStringList before = names();
    db.close();
    test::ZeroRootPages(catalogue, "name='konyvek'");
    EXPECT_THROW(BackupAtExit(catalogue), Error);
    EXPECT_EQ(names(), before);
}

TEST_F(BackupTest, RestoreSavesTheCurrentStateFirstAndRefusesADamagedBackup) {
    makeCatalogue(true);
    const qint64 demo = db.scalar("SELECT count(*) FROM konyvek").toLongLong();
    const QString old = backupAt("20261201100000");
    AddBook(db, {.cim = QStringLiteral("Később vett könyv")});

    writeFile("Backup/Kodexa-2026-12-02-100000.sqb", QByteArray("csonka").repeated(100));
    EXPECT_THROW(RestoreBackup(db, path("Backup/Kodexa-2026-12-02-100000.sqb"), folder(), 10), Error);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM konyvek").toLongLong(), demo + 1);
    EXPECT_EQ(names().size(), 2);

    const QString saved = RestoreBackup(db, old, folder(), 10);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM konyvek").toLongLong(), demo);
    EXPECT_EQ(books(saved), demo + 1);
    EXPECT_EQ(names().size(), 3);
    // And the restore can be undone from the copy it made.
    RestoreBackup(db, saved, folder(), 10);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM konyvek WHERE cim='Később vett könyv'").toInt(), 1);
}
