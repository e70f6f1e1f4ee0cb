#pragma once
// The book edit dialog's rules that need no window: the checks and the write of what the
// user changed, the editors field, the key as the dialog shows it. (The lookups resolved
// before a book is written: ResolveBookLookups of data/Kozos.h; stored dates are read by
// StoredDate of data/Seged.h.)

#include "data/Dataset.h"
#include "data/Seged.h"

#include <QDate>
#include <QStringList>

namespace kodexa {

// One field of the dialog: its text as loaded and as the user left it.
struct TypedField {
    QString column;
    QString loaded;
    QString typed;
    enum Kind { Text, WholeNumber, Contents } kind = Text;
};

// The first field of the dialog the book may not take, and why (TypedValueRefusal below).
// A whole number is checked where the user changed it and left it non-empty (blanks around
// the digits do not count), so a value another tool stored does not block the save; the
// contents are checked whenever the book has the column. Texts are held to their columns
// by their edits. index -1 and an empty reason when every field passes.
struct FieldRefusal {
    int index = -1;
    QString reason;
};
FieldRefusal FirstRefusedField(const FieldList &fields, const QVector<TypedField> &typed);
// Writes into book only what the user changed: an untouched field keeps its stored value
// exactly as it was. Emptied text becomes NULL; whole numbers are stored as numbers.
void StoreChangedFields(Record &book, const QVector<TypedField> &fields);
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
// the name alone when the field is empty.
QString AppendEditor(const QString &current, const QString &name);

// The lines of a NameList text (the trailing line end gives no extra item).
QStringList NameLines(const QString &nameList);

// A book key as the dialog shows it: at least five digits with leading zeros.
QString BookKeyText(const QVariant &key);

// What the edit dialog warns of without refusing the book: an ISBN whose check digit is
// wrong, and, for a new book, another book with the same ISBN (either of its forms) or with
// the same title and author ("Lehetséges másodpéldány: 00012 Egri csillagok"). Empty when
// there is nothing to say.
QStringList BookWarnings(Db &db, qint64 ownKey, bool isNew, const QString &isbn, const QString &title,
                         const QString &author);

} // namespace kodexa
