#pragma once

#include "data/Seged.h" // StoredDate
// The book edit dialog's rules that need no window: the editors field, the lookups
// resolved before a book is written, the key and date as the dialog shows them.

#include "data/Dataset.h"

#include <QDate>
#include <QStringList>

namespace kodexa {

// The lookup tables resolved before a book is written, in the order they are resolved.
const QStringList &BookLookupOrder();
// Resolves every lookup name of the book in that order (may add lookup rows).
void ResolveBookLookups(Db &db, Record &book);

// The book columns the edit dialog lets the user type, in the dialog's order.
const QStringList &TypedBookColumns();
// Why a typed value may not go into the column, or an empty text when it may: a number
// column takes a whole number (digits only), a text no more characters than its column
// holds, the purchase date a day (yyyy-mm-dd or yyyy.mm.dd.), the dedicated flag I or N.
QString TypedValueRefusal(const FieldList &fields, const QString &column, const QString &text);
// Sets a typed value that TypedValueRefusal accepted: an empty text is NULL, a number a
// number, the date a date, the flag "I" or "N".
void SetTypedValue(Record &book, const QString &column, const QString &text);

// The editors text after adding one author: "; " and the name after what is there, or
// just the name when the field is empty.
QString AppendEditor(const QString &current, const QString &name);

// The lines of a NameList text (the trailing line end gives no extra item).
QStringList NameLines(const QString &nameList);

// A book key as the dialog shows it: at least five digits with leading zeros.
QString BookKeyText(const QVariant &key);

} // namespace kodexa
