#pragma once
// Bringing books in from another program's CSV file: each row made a book by the mapping,
// its values cleaned, matched against the catalogue and the rows before it, and written in
// one transaction as the run's duplicate choice says.

#include "exchange/core/CsvReader.h"
#include "exchange/core/CsvValues.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

namespace kodexa {
class Db;
}

namespace kodexa::csv {

// What happens to a row that is a book the catalogue (or an earlier row) already holds.
enum class Duplicates {
    Skip,    // nothing
    Add,     // a new book all the same
    Fill,    // the existing book's empty fields get the row's values
    Replace, // the existing book's fields get the row's values (an empty value changes nothing)
};
// "skip", "add", "fill", "replace" and back; nullopt for another word.
QString DuplicatesKey(Duplicates d);
std::optional<Duplicates> DuplicatesFromKey(const QString &key);

struct CsvRun {
    Dialect dialect;
    QVector<Field> mapping; // one per header item
    Duplicates duplicates = Duplicates::Skip;
    bool dryRun = false;    // everything is done and counted, then rolled back
    QDate today;            // the purchase date of a book whose row gives none
};

struct CsvSummary {
    qint64 read = 0;     // data rows read (blank ones included)
    qint64 added = 0;
    qint64 filled = 0;
    qint64 replaced = 0;
    qint64 skipped = 0;  // duplicates left alone
    qint64 blank = 0;    // rows with nothing in them
    qint64 matches = 0;  // rows that are a book already there
    qint64 refusedRows = 0;
    QStringList refused;   // "12. sor: …" (the first 200)
    QStringList warnings;  // "12. sor: …"
    QStringList conflicts; // an ISBN that matches a book of another title
    int newLookups = 0;
    bool cancelled = false;
    bool dryRun = false;
};

// The mapping confirmed last time for a file with this header (Kodexa.ini), or nullopt.
std::optional<QVector<Field>> RememberedMapping(const QStringList &header);
// Keeps the mapping for the next file with the same header. Throws FileError when the
// settings file cannot be written.
void RememberMapping(const QStringList &header, const QVector<Field> &mapping);

// The summary as the user reads it and saves it: the counts, then the refused rows, the
// conflicts and the warnings, each with its line number.
QString SummaryText(const CsvSummary &s);

// Runs the file's text (decoded, header first) into the catalogue. progress is asked now
// and then with the characters read so far and in all; false cancels, and the catalogue
// stays as it was. A failure of the engine throws Error with nothing kept. A file whose
// header is empty throws Error.
CsvSummary RunCsvImport(Db &db, const QString &text, const CsvRun &run,
                        const std::function<bool(qsizetype done, qsizetype total)> &progress = {});
// The same over a file read a piece at a time, whatever its size; progress counts bytes.
// Throws FileError when the file cannot be read.
CsvSummary RunCsvImportFile(Db &db, const QString &path, const CsvRun &run,
                            const std::function<bool(qsizetype done, qsizetype total)> &progress = {});

} // namespace kodexa::csv
