#pragma once
// Reading a delimited text file into new books: the file's text, its header of column
// names, and the run that turns every further line into a book of konyvek.

#include "data/Error.h"

#include <QChar>
#include <QDate>
#include <QString>
#include <QVector>
#include <functional>

namespace kodexa {

class Db;

// A value the book table cannot take ends the import at its line. line counts the data
// lines from 1 (the header is line 0, as the import editor numbers them); column is empty
// when the failure was not one column's.
class ImportError : public Error {
public:
    ImportError(qint64 line, const QString &column, const QString &reason);
    qint64 line() const { return line_; }
    QString column() const { return column_; }
    QString reason() const { return reason_; }

private:
    qint64 line_;
    QString column_;
    QString reason_;
};

struct ImportText {
    QString text;
    bool utf8 = false; // read as UTF-8 rather than Windows-1250
};

// A file that starts with the UTF-8 byte-order mark, or is valid UTF-8 holding non-ASCII
// bytes, is UTF-8; anything else is Windows-1250, the program's own file encoding.
ImportText DecodeImportBytes(const QByteArray &bytes);
// The whole file, decoded. Throws FileError with the system's message.
ImportText ReadImportFile(const QString &path);

// Blanks and control characters cut from both ends.
QStringView TrimControls(QStringView s);

struct ImportColumn {
    QString name;     // lower case, as the header names it
    int position = 0; // field number in the line, from 1
};
// The first line of a text (empty when there is none).
QString FirstLine(const QString &text);
// Fields 1 to 50 of the header, lower-cased and trimmed; blank ones name no column.
QVector<ImportColumn> ImportHeader(const QString &headerLine, QChar delimiter);
// Data lines of a text: its lines after the header.
qint64 ImportLineCount(const QString &text);

struct ImportResult {
    qint64 lines = 0;       // books added
    int newLookups = 0;     // lookup rows created
    bool stopped = false;
};

// Adds one book per line after the header, in one transaction: new keys from NextKey
// onwards, kolcsonadva "N", dat_besz today, then each listed column's field of the line
// (empty fields leave the column alone), the six lookups resolved by name and the search
// keys filled. keepGoing is asked after each stored line with the count so far; false
// stops the run and keeps what was stored. A value that fails throws ImportError after
// the lines before it were committed; nothing of its own line is stored.
ImportResult ImportBooks(Db &db, const QString &text, QChar delimiter, const QVector<ImportColumn> &columns,
                         const QDate &today, const std::function<bool(qint64 lines)> &keepGoing = {});

} // namespace kodexa
