#pragma once
// Small common routines every window uses: program directory, NULL-safe value conversion,
// delimited fields, the search-key normaliser, file-name slugs, window positions.

#include <QDate>
#include <QString>
#include <QVariant>

namespace kodexa {

// The directory of the running program, set once at start (tests set their own).
void SetProgramDir(const QString &dir);
QString ProgramDir();
// ProgramDir() + "/" + name.
QString ProgramPath(const QString &name);

QString VarToText(const QVariant &v);
// A date column's stored "yyyy-mm-dd" text (a time after it is ignored); invalid when none.
QDate StoredDate(const QVariant &value);
// NULL gives 0; a text that is no number raises Error (shown as an error box).
int VarToInt(const QVariant &v);
double VarToFloat(const QVariant &v);

// Rounds to the nearest whole number, halves to the even neighbour (column widths,
// picture sizes).
int RoundHalfEven(double v);
// A record key as it is shown and named on disk: at least five digits, leading zeros.
QString KeyText(qint64 key);

QString FieldOf(QChar separator, const QString &text, int index);
// Upper case, then the nine Hungarian accented capitals folded; never changes the length.
QString NormalizeKey(const QString &text);
// The 20-character search key of a text.
QString SearchKey(const QString &text);
QString FileSlug(const QString &text);
QString JoinLines(const QString &text);
// Why a typed text does not fit a column of size characters, naming the field by label;
// empty when it fits (a size of 0 or less has no limit).
QString TextLengthRefusal(const QString &label, int size, const QString &text);
// The one routine that writes a text as an SQL string literal, quotes doubled.
QString SqlQuote(const QString &text);
// The display format "### ### ##0": a whole number, digits grouped by three with spaces
// (1500 -> "1 500", -1234567 -> "-1 234 567").
QString FormatGrouped(qint64 value);
// The same format for a stored value: a number is rounded half away from zero, NULL gives
// an empty text, a text that is no number is shown as it stands.
QString FormatGroupedValue(const QVariant &value);
// Starts-with that ignores case for A-Z only; every other character must match exactly.
bool StartsWithAsciiNoCase(const QString &value, const QString &prefix);
bool EqualsAsciiNoCase(const QString &a, const QString &b);

// Dialog positions in Kodexa.ini, section named after the window; 10, 10 when absent.
void LoadWindowPos(const QString &windowName, int &left, int &top);
// A configuration file that cannot be written raises FileError with the file system's reason.
void SaveWindowPos(const QString &windowName, int left, int top);

} // namespace kodexa
