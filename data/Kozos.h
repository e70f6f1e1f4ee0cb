#pragma once
// Keys, lookups, book rules and picture files: the routines that tie a book row to the
// lookup tables and to its picture.

#include "data/Dataset.h"
#include "data/LookupTables.h"

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
    void resolve(const LookupTable &table, Record &book);
    // Lookup rows this resolver added.
    int created() const { return created_; }

private:
    struct Entry {
        qint64 key;
        QString name;
    };
    struct Table {
        bool loaded = false; // read when a book first names one of its rows
        QHash<QString, Entry> byName; // name with a-z folded to A-Z
        qint64 maxKey = 0;
        std::unique_ptr<Stmt> insert;
        // The book columns it fills, found once for the books' field list.
        FieldListPtr fields;
        int nameColumn = -1, keyColumn = -1, searchKeyColumn = -1;
    };
    void load(const LookupTable &def, Table &t);

    Db &db_;
    QHash<const LookupTable *, std::shared_ptr<Table>> tables_;
    int created_ = 0;
};

// ProgramDir/Images/<key in at least five digits>.jpg; creates the Images folder.
QString PicturePath(qint64 key);

// Fills the nine search keys of a book row; refuses nothing.
void TblBeforePost(Record &book);
// The same rule with its columns found once, for runs that write many rows of one field list.
class SearchKeyFiller {
public:
    explicit SearchKeyFiller(const FieldList &fields);
    void fill(Record &book) const;

private:
    struct Keyed {
        QString source;
        int sourceColumn; // -1: the row lacks the text its key is made of
        int keyColumn;
        bool normalized; // the key words' key, not a name's
    };
    QVector<Keyed> keyed_;
};
// Key and defaults of a new book: NextKey, dedikalt "N", kolcsonadva "N", dat_besz today.
void NewBookDefaults(Db &db, Record &book);
// The rename statements that carry a lookup row's new name into every book that holds its key.
QStringList RenameStatements(const QString &table, qint64 key, const QString &newName);

} // namespace kodexa
