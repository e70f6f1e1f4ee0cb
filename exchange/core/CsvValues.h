#pragma once
// What other programs' columns mean for a book, and their values made into the catalogue's:
// the fields a column can feed, the mapping guessed from a header, and the cleaning of
// names, ISBNs, dates, numbers and descriptions.

#include "data/Isbn.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace kodexa::csv {

// The book fields a column can feed.
enum class Field {
    Skip,
    Title,
    Subtitle,
    Authors,       // one or more display names ("Mór Jókai", "Jókai Mór; Mikszáth Kálmán")
    AuthorsSorted, // "Family, Given" names; wins over Authors when both are given
    Editors,
    Publisher,
    Series,
    Volume,
    Subject,
    Genre,
    Language,
    Shelf,
    Isbn,
    Pages,
    Price,
    Edition,
    PurchaseDate,
    Keywords,
    Contents,
    LentTo,
    LentOn,
};

// Every field, in the order a chooser lists them ("Kihagyás" first).
QVector<Field> Fields();
// The Hungarian name shown in the wizard: "cím", "szerzők", …, "Kihagyás".
QString FieldLabel(Field f);
// The name in a mapping file: the book column it fills ("cim", "szerzo_nev", …; "-" to skip).
QString FieldKey(Field f);
std::optional<Field> FieldFromKey(const QString &key);
// Fields that several columns may feed (joined with a line break).
bool Joins(Field f);

// The field each header item suggests: our own column names and "Excelbe..." labels, and
// the usual Hungarian and English names other programs write. Skip when nothing fits; a
// field a column before already takes is not suggested again, unless it joins or is the
// ISBN (an ISBN-10 and an ISBN-13 column: the first valid one is taken).
QVector<Field> SuggestMapping(const QStringList &header);

// A mapping as text, one "header item=field key" line per column, and back. Reading
// matches the header items by name; a header item the text does not name is skipped. An
// unknown field key throws Error naming the line.
QString MappingText(const QStringList &header, const QVector<Field> &mapping);
QVector<Field> MappingFromText(const QStringList &header, const QString &text);

// ---- Values ----

// The names of one field: split on ";", "&", "|", " and ", " és ", and on "," when the field
// is a list of "Family, Given" pairs; each "Family, Given" made "Family Given".
QStringList SplitNames(const QString &field, bool familyFirst);
// "Jókai, Mór" → "Jókai Mór"; a name without a comma stays as it is.
QString FamilyFirst(const QString &name);


// YYYY-MM-DD, YYYY/MM/DD, YYYY. MM. DD., DD.MM.YYYY, an ISO date and time, and a bare year
// when yearAllowed (the first of January of that year). nullopt when it reads as none.
std::optional<QDate> ReadDate(const QString &text, bool yearAllowed);
// A whole count in a text: "320 p.", "320 oldal", "xii, 320". nullopt without digits.
std::optional<qint64> ReadCount(const QString &text);
// A price with a currency and either decimal mark, in whole units: "1 990 Ft", "12,50 €",
// "$12.99". nullopt without digits.
std::optional<qint64> ReadPrice(const QString &text);
// Text with its HTML tags removed, <br> and </p> as line breaks, entities decoded.
QString PlainText(const QString &html);

// The key two titles or names are the same book by: letters and digits only, without case
// or accents.
QString MatchKey(const QString &text);

} // namespace kodexa::csv
