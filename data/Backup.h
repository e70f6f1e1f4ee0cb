#pragma once
// Copies of a catalogue made while it may be open elsewhere: SQLite's online backup reads
// one consistent state of the file (what was committed when the copy began), and the copy
// appears under its name only once it is whole.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

namespace kodexa {

class Db;

// The engine's quick check of every page: empty when sound, else its first few findings.
QString QuickCheckFindings(Db &db);

// Writes a copy of the open catalogue to target. An existing target is replaced only by a
// finished copy; a failed copy leaves it as it was. Throws Error with a Hungarian message.
void BackupCatalogue(Db &source, const QString &target);

// The file a backup into folder gets: the catalogue's base name, the date and time, and
// ".sqb" (Kodexa-2026-12-09-043000.sqb); a name taken already gets -2, -3, ... after the time.
QString BackupFileIn(const QString &folder, const QString &cataloguePath, const QDateTime &when);

// A backup of the catalogue in its folder: named as BackupFileIn names them, or in the
// earlier form without dashes in the date (Kodexa-20261209-043000.sqb).
struct BackupEntry {
    QString path;
    QDateTime when;
    qint64 bytes = 0;
};
// Newest first.
QVector<BackupEntry> ListBackups(const QString &folder, const QString &cataloguePath);

// The backup opens as a catalogue and every page reads.
bool IsSoundBackup(const QString &path);
// The books of a backup; -1 when it cannot be read.
qint64 BooksInBackup(const QString &path);

// Deletes all but the newest keep backups of the catalogue in folder. When none of those
// kept is sound (knownSound names one that is, without reading it again), the newest sound
// older one stays as well: damaged files never push out the last good copy. Returns the
// paths deleted, oldest first.
QStringList PruneBackups(const QString &folder, const QString &cataloguePath, int keep,
                         const QString &knownSound = QString());

// Kodexa.ini's [Backup] Keep: how many backups the program keeps; 0 switches the automatic
// backup off. 10 when missing or no whole number from 0 up.
int BackupKeep();
inline constexpr int DefaultBackupKeep = 10;

// The catalogue file was written after the newest backup in folder was made (or there is none).
bool ChangedSinceNewestBackup(const QString &cataloguePath, const QString &folder);

struct BackupOutcome {
    QString path;        // the new backup; empty when none was made
    QStringList removed; // old backups deleted by the rotation
};
// A new backup of source into folder (made when missing), then the rotation to keep
// backups (0: none deleted).
BackupOutcome BackupInto(Db &source, const QString &folder, int keep);
// The program's exit: a backup of the catalogue into the Backup folder beside it when the
// automatic backup is on and the catalogue changed since the newest one. Error when the
// catalogue is damaged or the copy fails; nothing is deleted then.
BackupOutcome BackupAtExit(const QString &cataloguePath);
// Puts the backup's content into the open catalogue db, after saving the catalogue as it is
// now into folder (so the restore can be undone). A backup that is not a sound catalogue is
// refused before anything is written. Returns the backup of the replaced state.
QString RestoreBackup(Db &db, const QString &backupPath, const QString &folder, int keep);

} // namespace kodexa
