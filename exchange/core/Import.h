#pragma once
// Reading a delimited text file into new books: the file's text, its header of column
// names, and the run that turns every further line into a book of konyvek.

#include "data/Error.h"

#include <QChar>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

namespace kodexa {

class Db;

struct ImportText {
    QString text;
    bool utf8 = false; // read as UTF-8 rather than Windows-1250
    QString encoding;  // the encoding's name as the user is told it: "UTF-8", "UTF-16 LE", ...
};

// A file that starts with a byte-order mark (UTF-8, UTF-16 or UTF-32, either byte order)
// is read in that encoding; one that is valid UTF-8 holding non-ASCII bytes is UTF-8;
// anything else is Windows-1250, the program's own file encoding. A file whose bytes do not
// form its marked encoding throws FileError naming the encoding.
ImportText DecodeImportBytes(const QByteArray &bytes);
// The whole file, decoded. Throws FileError with the system's message.
ImportText ReadImportFile(const QString &path);
// "A file UTF-16 LE kódolással beolvasva." for a file not in Windows-1250; empty otherwise.
QString ImportEncodingNote(const ImportText &file);

// A line longer than this is refused: no book needs it, and an editor laying it out freezes.
constexpr qsizetype ImportLineLimit = 1024 * 1024;

// At most 60 printable characters of a text from the file, for a message: a header of
// binary junk must not fill the screen. Characters that do not print become "?".
QString QuotedForMessage(QStringView s);

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
// The first line longer than ImportLineLimit, counted as the import counts (the header is
// line 0); -1 when there is none.
qint64 FirstOverlongLine(const QString &text);

struct ImportResult {
    qint64 read = 0;         // data lines read
    qint64 lines = 0;        // books added and committed
    qint64 refused = 0;      // lines refused, the rest of the file imported
    qint64 skipped = 0;      // empty or blank lines: no book
    qint64 placeholders = 0; // "BLOB" items of the export read as empty
    QStringList reasons;     // the first refused lines: "12. sor: ..."
    int newLookups = 0;      // lookup rows created
    bool stopped = false;
};

// What an import ends with: "betöltött tételek száma: N", then the lines read, stored,
// refused and skipped, the placeholders met and the first reasons for refusal.
// "Nincs betölthető sor." when the file held no line to store.
QString ImportSummary(const ImportResult &r);

// The import ended before its last line. line counts the data lines from 1 (the header is
// line 0, as the import editor numbers them); column is empty when the failure was not
// one column's. result() is what stays in the catalogue: a value that does not read keeps
// the lines before it; a failure of the engine (a full disk) keeps nothing, and says so.
class ImportError : public Error {
public:
    ImportError(qint64 line, const QString &column, const QString &reason, const ImportResult &result = {});
    qint64 line() const { return line_; }
    QString column() const { return column_; }
    QString reason() const { return reason_; }
    const ImportResult &result() const { return result_; }

private:
    qint64 line_;
    QString column_;
    QString reason_;
    ImportResult result_;
};

// Adds one book per line after the header, in one transaction: new keys from NextKey
// onwards (a key already taken is passed over), kolcsonadva "N", dat_besz today, then each
// listed column's field of the line (empty fields leave the column alone; the export's
// "BLOB" placeholder in a long-text or picture column counts as empty), the six lookups
// resolved by name and the search keys filled. Blank lines are skipped. A line that names
// a key already taken, holds a NUL character or is longer than ImportLineLimit is refused
// and the import goes on. keepGoing is asked after each stored line with the count so far;
// false stops the run and keeps what was stored. A value that fails throws ImportError
// after the lines before it were committed; nothing of its own line is stored. A failure
// of the engine throws ImportError with nothing stored at all.
ImportResult ImportBooks(Db &db, const QString &text, QChar delimiter, const QVector<ImportColumn> &columns,
                         const QDate &today, const std::function<bool(qint64 lines)> &keepGoing = {});

} // namespace kodexa
