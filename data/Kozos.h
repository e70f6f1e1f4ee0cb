#pragma once
// Keys, lookups, book rules and picture files: the routines that tie a book row to the
// lookup tables and to its picture.

#include "data/Dataset.h"

#include <QHash>

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
// ResolveLookup for every lookup table in the order a book is written with
// (BookResolveOrder of data/LookupTables.h); may add lookup rows.
void ResolveBookLookups(Db &db, Record &book);
// ResolveLookup for many books in one run (the import, the command-line tool): each lookup
// table is read once, names are matched as ResolveLookup matches them (A-Z without case,
// every other character exactly, the first row in table order wins), and a name created
// for one book is found again for the next. Only this resolver may add rows to the tables
// it serves while it lives.
class LookupResolver {
public:
    explicit LookupResolver(Db &db) : db_(db) {}
    LookupResolver(const LookupResolver &) = delete;
    LookupResolver &operator=(const LookupResolver &) = delete;

    void resolve(const QString &table, Record &book);
    // Lookup rows this resolver added.
    int created() const { return created_; }

private:
    struct Entry {
        qint64 key;
        QString name;
    };
    struct Table {
        QHash<QString, Entry> byName; // name with a-z folded to A-Z
        qint64 maxKey = 0;
        bool keyed = false;
        std::unique_ptr<Stmt> insert;
    };
    Table &load(const QString &table);

    Db &db_;
    QHash<QString, std::shared_ptr<Table>> tables_;
    int created_ = 0;
};

// ProgramDir/Images/<key in at least five digits>.jpg; creates the Images folder.
QString PicturePath(qint64 key);

// Fills the nine search keys of a book row; refuses nothing.
void TblBeforePost(Record &book);
// Key and defaults of a new book: NextKey, dedikalt "N", kolcsonadva "N", dat_besz today.
void NewBookDefaults(Db &db, Record &book);
// The rename statements that carry a lookup row's new name into every book that holds its key.
QStringList RenameStatements(const QString &table, qint64 key, const QString &newName);

} // namespace kodexa
