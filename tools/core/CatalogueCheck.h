#pragma once
// The health check of a catalogue: the engine's own integrity check, then the rules the
// program keeps: search keys follow their texts, a book's lookup name copies follow the
// lookup rows, no lookup key points nowhere without the name it stood for (a deleted lookup
// row leaves its books their key and name: a notice, not a fault), and mezo holds the fifteen list positions
// with one sort mark. The repair recomputes search keys and name copies, all in one go.

#include <QString>
#include <QStringList>

namespace kodexa {

class Db;

struct CheckReport {
    QStringList integrity;   // the integrity check's complaints; empty when "ok"
    QStringList findings;    // one line per broken rule, Hungarian
    QStringList notices;     // what is as the program leaves it but worth knowing; no fault
    int keyRows = 0;         // books whose search keys differ from their texts
    int copyRows = 0;        // books whose name copies differ from their lookup rows
    int lookupKeyRows = 0;   // lookup rows whose search key differs from their name
    int danglingRows = 0;    // books holding a lookup key that no lookup row has, with no name
    int deletedLookupRows = 0; // books whose lookup row was deleted, their name copy kept
    int fixedBooks = 0;      // books rewritten by the repair
    int fixedLookups = 0;    // lookup rows rewritten by the repair
    bool repaired = false;   // the repair ran and was committed
    bool mezoOk = true;
    // Nothing is wrong (after the repair, when one ran): no complaint left.
    bool clean() const;
};

// Checks the open catalogue; with fix, books whose search keys or name copies are wrong are
// rewritten through the book record rules and lookup search keys recomputed, in one
// transaction. A file the integrity check finds damaged is not repaired.
CheckReport CheckCatalogue(Db &db, bool fix);

} // namespace kodexa
