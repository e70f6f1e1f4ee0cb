#pragma once
// The lookup tables as the master data editor shows them, and what it does to them:
// the before-post rule that keys a new row and carries a new name into the books, bulk
// entry, rename and the incremental search.

#include "data/Dataset.h"
#include "data/LookupTables.h"

#include <QStringList>

namespace kodexa {

class MemDataset;

struct MasterTable {
    QString table;      // also the key column
    QString nameColumn; // table + "_nev"
    QString keyColumn;  // table + "_nevs"; empty for polc
    QString orderBy;
    QString caption;    // page caption
    QString prompt;     // prompt word of the rename box
    QString title;      // grid column title
    int nameSize;
};

// The first MasterTableCount tables of LookupTables() (data/LookupTables.h):
// 0 szerzo, 1 kiado, 2 sorozat, 3 targykor, 4 mufaj, 5 polc; throws std::out_of_range otherwise.
const MasterTable &MasterTableAt(int index);

// Opens the table in list order with the before-post rule below attached.
void OpenMasterTable(MemDataset &ds, const MasterTable &t);
// Search key from the name; a row without a key (or key 0) gets NextKey, otherwise the new
// name and search key are carried into every book holding the key.
void MasterBeforePost(Db &db, const MasterTable &t, Record &row);

// The non-blank lines of a bulk entry, as typed.
QStringList BulkNames(const QString &text);
// Empty when every name fits its column, otherwise the Hungarian reason.
QString CheckNames(const MasterTable &t, const QStringList &names);
// Adds the names in one transaction: all or none. The last one added becomes current.
void AddNames(MemDataset &ds, const MasterTable &t, const QStringList &names);
// Renames the current row and the books' copies in one transaction; the row stays current.
void RenameCurrent(MemDataset &ds, const MasterTable &t, const QString &name);

// First row whose search key (polc: name) starts with the typed text; -1 when none does.
int MasterSearchIndex(const Dataset &ds, const MasterTable &t, const QString &typed);

} // namespace kodexa
