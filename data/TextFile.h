#pragma once
// Text files of the program are Windows-1250 with CR LF line ends; the database holds
// UTF-8. These helpers convert at the file boundary.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include "data/Error.h"

namespace kodexa {

// The one Windows-1250 boundary of the program: every text file it writes or reads goes
// through these. A character the code page cannot hold becomes "?"; when `replaced` is
// given, the number of such characters is added to it, so a caller can tell the user.
QByteArray EncodeCp1250(const QString &text, qsizetype *replaced = nullptr);
QString DecodeCp1250(const QByteArray &bytes);

// Lines of a text: CR LF, LF or CR end a line; a break at the very end opens no new line.
QStringList TextLines(const QString &text);
// Every line followed by the break.
QString LinesText(const QStringList &lines, const QString &lineBreak = QStringLiteral("\n"));

// The whole file as it lies on the disk. Throws FileError.
QByteArray ReadFileBytes(const QString &path);
// Whole file, decoded, split into lines. Throws FileError.
QStringList ReadCp1250Lines(const QString &path);
// Every line followed by CR LF, written through QSaveFile so a failure keeps the old file.
// Throws FileError.
void WriteCp1250Lines(const QString &path, const QStringList &lines);

} // namespace kodexa
