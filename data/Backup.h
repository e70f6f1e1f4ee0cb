#pragma once
// Copies of a catalogue made while it may be open elsewhere: SQLite's online backup reads
// one consistent state of the file (what was committed when the copy began), and the copy
// appears under its name only once it is whole.

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace kodexa {

class Db;

// The engine's quick check of every page: empty when sound, else its first few findings.
QString QuickCheckFindings(Db &db);

// Writes a copy of the open catalogue to target. An existing target is replaced only by a
// finished copy; a failed copy leaves it as it was. Throws Error with a Hungarian message.
void BackupCatalogue(Db &source, const QString &target);

// The file a backup into folder gets: the catalogue's base name, the date and time, and
// ".sqb" (Kodexa-20261209-043000.sqb); a name taken already gets -2, -3, ... after the time.
QString BackupFileIn(const QString &folder, const QString &cataloguePath, const QDateTime &when);

// Deletes all but the newest keep backups of the catalogue in folder (only files named
// as BackupFileIn names them). Returns the paths deleted, oldest first.
QStringList PruneBackups(const QString &folder, const QString &cataloguePath, int keep);

} // namespace kodexa
