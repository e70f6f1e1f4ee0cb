#pragma once
// Keys, lookups, book rules and picture files: the routines that tie a book row to the
// lookup tables and to its picture.

#include "data/Dataset.h"

namespace kodexa {

// The largest key plus one; 1 for an empty table. table empty: the table named like column.
qint64 NextKey(Db &db, const QString &column, const QString &table = QString());
// Runs one statement and ignores any error.
void RunStatement(Db &db, const QString &sql) noexcept;

// All names of a lookup table, one per line, each ended by CR LF, in the engine's text order.
QString NameList(Db &db, const QString &table);
// Links the book's typed name of lookup table t to its row (creating the row when the name
// is new) and copies the stored name and search key into the book.
void ResolveLookup(Db &db, const QString &table, Record &book);
// ProgramDir/Images/<key in at least five digits>.jpg; creates the Images folder.
QString PicturePath(qint64 key);

// Fills the nine search keys of a book row; refuses nothing.
void TblBeforePost(Record &book);
// Key and defaults of a new book: NextKey, dedikalt "N", kolcsonadva "N", dat_besz today.
void NewBookDefaults(Db &db, Record &book);
// The rename statements that carry a lookup row's new name into every book that holds its key.
QStringList RenameStatements(const QString &table, qint64 key, const QString &newName);

} // namespace kodexa
