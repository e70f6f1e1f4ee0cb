#pragma once
// The delimited text file: one line per row after a header line of column labels, every
// item followed by the delimiter, CR LF after every line; Windows-1250 without a byte-order
// mark, or for spreadsheets UTF-8 with one.

#include "data/TextFile.h"
#include "exchange/core/RowSource.h"

#include <QChar>
#include <QString>
#include <functional>
#include <optional>

namespace kodexa {

struct DelimitedOptions {
    QChar delimiter = QLatin1Char(';');
    QChar qualifier;        // none when null
    bool multiLine = false; // memo columns as their lines joined by "|" instead of "BLOB"
    QVector<bool> ticked;   // per column of the source; empty: every column
    TextEncoding encoding = TextEncoding::Windows1250;
};

// The items of the two radio groups, in their order: ";" Tab "," "|" and '"' "'" none.
QChar DelimiterOfItem(int item);
QChar QualifierOfItem(int item);
// The items of the encoding group: "Windows-1250", "UTF-8 (táblázatkezelőknek)".
TextEncoding EncodingOfItem(int item);
int ItemOfEncoding(TextEncoding encoding);
// "windows-1250" or "utf-8" (any case), the names the configuration file and the command
// line use; nothing for any other name.
std::optional<TextEncoding> EncodingOfName(const QString &name);
QString EncodingName(TextEncoding encoding);
// The export window's encoding in Kodexa.ini ("frm_Hatarolt/Encoding"); Windows-1250 when
// absent or unknown. Saving raises FileError when the file cannot be written.
TextEncoding LoadExportEncoding();
void SaveExportEncoding(TextEncoding encoding);
// "Adatbázis export": Tab, no qualifier, memo as "BLOB", every column, Windows-1250.
DelimitedOptions FixedFormatOptions();

// One value as the file shows it (before the qualifier): null empty, whole numbers plain,
// dates in the short date form, fractions in the general form of the system's locale,
// a memo joined into one line or "BLOB", a large object "BLOB".
QString ExportText(const QVariant &value, FieldKind kind, bool multiLine);
// Appends one item: qualifier, text (a qualifier inside it doubled), qualifier, delimiter.
void AppendItem(QString &line, const QString &text, const DelimitedOptions &o);
// The header line and a row's line, without the line break. A row's line returns how many of
// its values hold the delimiter with no qualifier around them: a spreadsheet splits those.
QString HeaderLine(const QVector<SourceColumn> &columns, const DelimitedOptions &o);
qsizetype AppendRowLine(QString &out, const QVector<SourceColumn> &columns, const QVector<QVariant> &values,
                        const DelimitedOptions &o);

struct DelimitedResult {
    qint64 rows = 0;           // data lines written
    qsizetype replaced = 0;    // characters written as "?": Windows-1250 cannot hold them
    qsizetype splitValues = 0; // values holding the delimiter with no qualifier around them
    bool stopped = false;
};

// The line the closing message adds when values hold the delimiter unenclosed; empty when
// none does.
QString SplitValuesWarning(const DelimitedResult &r);

// Writes the header and every row of the source to path. keepGoing is asked after each
// row with the number of rows written so far; false stops the reading, and the rows so far
// make a whole file. The file is replaced only once it is complete (QSaveFile); a failure
// throws (FileError, DbError) and leaves any earlier file as it was.
DelimitedResult WriteDelimited(RowSource &source, const QString &path, const DelimitedOptions &o,
                               const std::function<bool(qint64 rows)> &keepGoing = {});

} // namespace kodexa
