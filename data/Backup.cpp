#include "data/Backup.h"

#include "data/Db.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
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
    return QRegularExpression(QStringLiteral("^%1-(\\d{8}-\\d{6})(?:-(\\d+))?\\.sqb$")
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
                                               when.toString(QStringLiteral("yyyyMMdd-HHmmss")));
    QString name = stem + QStringLiteral(".sqb");
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = stem + QStringLiteral("-%1.sqb").arg(n);
    return name;
}

QStringList PruneBackups(const QString &folder, const QString &cataloguePath, int keep) {
    const QRegularExpression pattern = BackupNamePattern(cataloguePath);
    struct Found {
        QString stamp;
        int n;
        QString path;
    };
    QVector<Found> found;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files)) {
        const auto m = pattern.match(name);
        if (m.hasMatch())
            found.append({m.captured(1), m.captured(2).isEmpty() ? 1 : m.captured(2).toInt(), dir.filePath(name)});
    }
    std::sort(found.begin(), found.end(),
              [](const Found &a, const Found &b) { return a.stamp != b.stamp ? a.stamp < b.stamp : a.n < b.n; });
    QStringList removed;
    for (qsizetype i = 0; i + keep < found.size(); ++i) {
        if (!QFile::remove(found[i].path))
            throw FileError(QStringLiteral("A régi mentés nem törölhető: %1").arg(found[i].path));
        removed << found[i].path;
    }
    return removed;
}

} // namespace kodexa
