#include "data/Backup.h"

#include "data/Catalogue.h"
#include "data/Db.h"
#include "data/Locations.h"
#include "data/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <algorithm>
#include <filesystem>
#include <sqlite3.h>

namespace kodexa {

namespace {

// Waiting for a writer to finish its commit: as long as the program's own busy timeout.
constexpr int BusyWaitMs = 3000;
constexpr int BusyStepMs = 20;

QString Failure(const QString &target, const QString &why) {
    return QStringLiteral("A mentés nem sikerült: %1 (%2)").arg(target, why);
}

QRegularExpression BackupNamePattern(const QString &cataloguePath) {
    return QRegularExpression(QStringLiteral("^%1-(\\d{4})-?(\\d{2})-?(\\d{2})-(\\d{6})(?:-(\\d+))?\\.sqb$")
                                  .arg(QRegularExpression::escape(QFileInfo(cataloguePath).completeBaseName())));
}

void RequireSoundSource(Db &source, const QString &target) {
    const QString findings = QuickCheckFindings(source);
    if (!findings.isEmpty())
        throw Error(Failure(target, QStringLiteral("a katalógus sérült, ezért nem készült mentés, és régi mentés sem "
                                                   "törlődött: %1")
                                        .arg(findings)));
}

} // namespace

QString QuickCheckFindings(Db &db) {
    QStringList findings;
    try {
        Stmt s = db.prepare(QStringLiteral("PRAGMA quick_check(5)"));
        while (s.step())
            findings << s.text(0);
    } catch (const DbError &e) {
        findings = {e.message()};
    }
    return findings == QStringList{QStringLiteral("ok")} ? QString() : findings.join(QStringLiteral("; "));
}

void BackupCatalogue(Db &source, const QString &target) {
    const QFileInfo info(target);
    if (info.exists() && info.canonicalFilePath() == QFileInfo(source.path()).canonicalFilePath())
        throw Error(Failure(target, QStringLiteral("a mentés nem írhatja felül magát a katalógust")));
    // A copy of a damaged file is no backup, and with --keep it would push a sound one out.
    RequireSoundSource(source, target);
    // The copy is written beside its place and renamed over it when whole.
    const QString part = info.absoluteFilePath() + QStringLiteral(".part");
    QFile::remove(part);
    sqlite3 *dest = nullptr;
    if (sqlite3_open_v2(part.toUtf8().constData(), &dest, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        const QString why = dest ? QString::fromUtf8(sqlite3_errmsg(dest)) : QStringLiteral("out of memory");
        sqlite3_close(dest);
        QFile::remove(part);
        throw Error(Failure(target, why));
    }
    // The new file is private to this run, but it gets what every connection gets.
    sqlite3_db_config(dest, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_busy_timeout(dest, 3000);
    QString why;
    bool full = false;
    sqlite3_backup *b = sqlite3_backup_init(dest, "main", source.handle(), "main");
    if (!b) {
        why = QString::fromUtf8(sqlite3_errmsg(dest));
    } else {
        int waited = 0;
        int rc;
        // All pages in one step: the copy holds one read lock throughout, so it is one state
        // of the file even when another program writes meanwhile.
        while ((rc = sqlite3_backup_step(b, -1)) == SQLITE_BUSY || rc == SQLITE_LOCKED) {
            if (waited >= BusyWaitMs)
                break;
            sqlite3_sleep(BusyStepMs);
            waited += BusyStepMs;
        }
        sqlite3_backup_finish(b);
        if (rc != SQLITE_DONE)
            why = rc == SQLITE_BUSY || rc == SQLITE_LOCKED ? QStringLiteral("a katalógus foglalt, próbálja újra")
                                                           : QString::fromUtf8(sqlite3_errstr(rc));
        else if (sqlite3_errcode(dest) != SQLITE_OK)
            why = QString::fromUtf8(sqlite3_errmsg(dest));
        full = (rc & 0xff) == SQLITE_FULL || (sqlite3_errcode(dest) & 0xff) == SQLITE_FULL;
    }
    if (sqlite3_close(dest) != SQLITE_OK && why.isEmpty())
        why = QStringLiteral("a másolat nem zárható le");
    if (why.isEmpty()) {
        std::error_code ec;
        std::filesystem::rename(part.toStdString(), info.absoluteFilePath().toStdString(), ec);
        if (ec)
            why = QString::fromStdString(ec.message());
    }
    if (!why.isEmpty()) {
        QFile::remove(part);
        throw Error(full ? DiskFullLead() + QLatin1Char('\n') + Failure(target, why) : Failure(target, why));
    }
}

QString BackupFileIn(const QString &folder, const QString &cataloguePath, const QDateTime &when) {
    const QString stem = QDir(folder).filePath(QFileInfo(cataloguePath).completeBaseName() + QLatin1Char('-') +
                                               when.toString(QStringLiteral("yyyy-MM-dd-HHmmss")));
    // After the last one of the same second, even when the rotation deleted those before it:
    // a name that reuses a free lower number would sort older than it is.
    const QRegularExpression pattern = BackupNamePattern(cataloguePath);
    const QString stamp = when.toString(QStringLiteral("yyyyMMddHHmmss"));
    int last = 0;
    for (const QString &file : QDir(folder).entryList(QDir::Files)) {
        const auto m = pattern.match(file);
        if (m.hasMatch() && m.captured(1) + m.captured(2) + m.captured(3) + m.captured(4) == stamp)
            last = std::max(last, m.captured(5).isEmpty() ? 1 : m.captured(5).toInt());
    }
    QString name = last == 0 ? stem + QStringLiteral(".sqb") : stem + QStringLiteral("-%1.sqb").arg(last + 1);
    for (int n = last + 2; QFileInfo::exists(name); ++n)
        name = stem + QStringLiteral("-%1.sqb").arg(n);
    return name;
}

QVector<BackupEntry> ListBackups(const QString &folder, const QString &cataloguePath) {
    const QRegularExpression pattern = BackupNamePattern(cataloguePath);
    struct Found {
        QString stamp;
        int n;
        BackupEntry entry;
    };
    QVector<Found> found;
    const QDir dir(folder);
    for (const QFileInfo &info : dir.entryInfoList(QDir::Files)) {
        const auto m = pattern.match(info.fileName());
        if (!m.hasMatch())
            continue;
        const QString stamp = m.captured(1) + m.captured(2) + m.captured(3) + m.captured(4);
        const QDateTime when = QDateTime::fromString(stamp, QStringLiteral("yyyyMMddHHmmss"));
        found.append({stamp, m.captured(5).isEmpty() ? 1 : m.captured(5).toInt(),
                      {info.absoluteFilePath(), when, info.size()}});
    }
    std::sort(found.begin(), found.end(),
              [](const Found &a, const Found &b) { return a.stamp != b.stamp ? a.stamp > b.stamp : a.n > b.n; });
    QVector<BackupEntry> out;
    for (const Found &f : found)
        out.append(f.entry);
    return out;
}

bool IsSoundBackup(const QString &path) {
    Db db;
    try {
        OpenCatalogue(db, path);
        return QuickCheckFindings(db).isEmpty();
    } catch (const Error &) {
        return false;
    }
}

qint64 BooksInBackup(const QString &path) {
    Db db;
    try {
        OpenCatalogue(db, path);
        return db.scalar(QStringLiteral("SELECT count(*) FROM konyvek")).toLongLong();
    } catch (const Error &) {
        return -1;
    }
}

QStringList PruneBackups(const QString &folder, const QString &cataloguePath, int keep, const QString &knownSound) {
    const QVector<BackupEntry> all = ListBackups(folder, cataloguePath);
    if (all.size() <= keep)
        return {};
    const QString sound = QFileInfo(knownSound).absoluteFilePath();
    auto isSound = [&sound](const BackupEntry &e) { return (!sound.isEmpty() && e.path == sound) || IsSoundBackup(e.path); };
    // Newest first: the first sound one among those kept usually ends the search at once.
    const bool keptSound = std::any_of(all.begin(), all.begin() + keep, isSound);
    qsizetype spared = -1;
    if (!keptSound)
        for (qsizetype i = keep; i < all.size() && spared < 0; ++i)
            if (isSound(all[i]))
                spared = i;
    QStringList removed;
    for (qsizetype i = all.size() - 1; i >= keep; --i) {
        if (i == spared)
            continue;
        if (!QFile::remove(all[i].path))
            throw FileError(QStringLiteral("A régi mentés nem törölhető: %1").arg(all[i].path));
        removed << all[i].path;
    }
    return removed;
}

int BackupKeep() {
    const QSettings ini(IniPath(), QSettings::IniFormat);
    bool ok = false;
    const int keep = ini.value(QStringLiteral("Backup/Keep")).toString().trimmed().toInt(&ok);
    return ok && keep >= 0 ? keep : DefaultBackupKeep;
}

bool ChangedSinceNewestBackup(const QString &cataloguePath, const QString &folder) {
    const QVector<BackupEntry> all = ListBackups(folder, cataloguePath);
    if (all.isEmpty())
        return true;
    const QDateTime written = QFileInfo(cataloguePath).lastModified();
    const QDateTime newest = QFileInfo(all.first().path).lastModified();
    return written >= newest;
}

BackupOutcome BackupInto(Db &source, const QString &folder, int keep) {
    if (!QDir().mkpath(folder))
        throw FileError(QStringLiteral("A mentések mappája nem hozható létre: %1").arg(folder));
    BackupOutcome out;
    out.path = BackupFileIn(folder, source.path(), QDateTime::currentDateTime());
    BackupCatalogue(source, out.path);
    if (keep > 0)
        out.removed = PruneBackups(folder, source.path(), keep, out.path);
    return out;
}

BackupOutcome BackupAtExit(const QString &cataloguePath) {
    const int keep = BackupKeep();
    const QString folder = BackupFolderFor(cataloguePath);
    if (keep == 0 || !QFileInfo(cataloguePath).isFile() || !ChangedSinceNewestBackup(cataloguePath, folder))
        return {};
    Db db;
    db.open(cataloguePath);
    return BackupInto(db, folder, keep);
}

QString RestoreBackup(Db &db, const QString &backupPath, const QString &folder, int keep) {
    Db source;
    OpenCatalogue(source, backupPath);
    const QString findings = QuickCheckFindings(source);
    if (!findings.isEmpty())
        throw Error(QStringLiteral("A mentés sérült, nem állítható vissza: %1\n%2").arg(backupPath, findings));
    // The state being replaced is saved first, and the rotation waits until the restore is
    // done: it must not delete the very backup being restored.
    const QString saved = BackupInto(db, folder, 0).path;
    sqlite3_backup *b = sqlite3_backup_init(db.handle(), "main", source.handle(), "main");
    if (!b)
        throw Error(QStringLiteral("A visszaállítás nem sikerült: %1").arg(QString::fromUtf8(sqlite3_errmsg(db.handle()))));
    const int rc = sqlite3_backup_step(b, -1);
    sqlite3_backup_finish(b);
    if (rc != SQLITE_DONE)
        throw Error(QStringLiteral("A visszaállítás nem sikerült, a katalógus változatlan: %1")
                        .arg(rc == SQLITE_BUSY || rc == SQLITE_LOCKED ? QStringLiteral("a katalógus foglalt, próbálja újra")
                                                                      : QString::fromUtf8(sqlite3_errstr(rc))));
    if (keep > 0)
        PruneBackups(folder, db.path(), keep, saved);
    return saved;
}

} // namespace kodexa
