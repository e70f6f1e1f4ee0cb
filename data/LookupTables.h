#pragma once
// The lookup tables (authors, publishers, series, subjects, genres, shelves, languages): the
// one description the schema, the book writes, the catalogue check, the edit dialog, the
// master data editor, the compact lists and the commands are all derived from.
//
// A lookup table t has the integer key column t and the name column t_nev, the keyed ones
// also the search-key column t_nevs. A book holds the key in its own column t, a copy of
// the name in t_nev and, for the keyed ones, a copy of the search key in t_nevs.

#include <QString>
#include <QAnyStringView>
#include <QVector>
#include <span>

namespace kodexa {

struct LookupTable {
    const char *table;           // the table; also its key column and the book's key column
    const char *nameColumn;      // the name; the book's copy has the same column name
    const char *searchKeyColumn; // the name's search key (table and book); nullptr when none
    int nameSize;                // characters the table's name column holds
    int resolveOrder;            // place among the lookups resolved before a book is written
    bool imported;               // the import links the book's name to a row
    const char *label;           // the name column's label, the master data grid's title
    // The master data page and the compact list of the same index; the languages have none.
    const char *caption;       // page caption and the browse command's caption
    const char *prompt;        // prompt word of the rename box
    const char *browseCommand; // opens the master data editor on the page
    const char *listCommand;   // the compact list of all books; + "2": of one row
    const char *listHeading;   // the compact list's sub-heading

    bool keyed() const { return searchKeyColumn != nullptr; }
    // The column the table and its compact list are ordered by: the search key when there
    // is one, otherwise the name itself.
    const char *orderColumn() const { return searchKeyColumn ? searchKeyColumn : nameColumn; }
};

// The tables with a master data page, which are the first ones of LookupTables().
inline constexpr int MasterTableCount = 6;

// szerzo, kiado, sorozat, targykor, mufaj, polc (master data pages and compact lists 0-5),
// then nyelv. This is also the order of the tables in a new catalogue.
std::span<const LookupTable> LookupTables();
// The table of that name, or nullptr.
const LookupTable *FindLookup(QAnyStringView table);
// The table of that name; an unknown name is a ProgramError.
const LookupTable &LookupFor(QAnyStringView table);
// The tables in the order a book's names are resolved before it is written:
// szerzo, polc, kiado, sorozat, targykor, mufaj, nyelv.
const QVector<const LookupTable *> &BookResolveOrder();

} // namespace kodexa
