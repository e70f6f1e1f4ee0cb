#pragma once
// The totals of the statistics window and the query of its genre table.

#include <QString>

namespace kodexa {

class Db;

struct StatTotals {
    qint64 books = 0;
    qint64 authors = 0;    // distinct author keys, an empty one included
    qint64 publishers = 0; // distinct publisher keys, an empty one included
    qint64 value = 0;      // the sum of the prices as a whole number, 0 when there is none
};

// Reads the four totals, each query in turn. bookCount is the number of books the caller
// already knows (the book list's count); a negative one is counted here.
StatTotals ReadStatTotals(Db &db, qint64 bookCount = -1);

// Genres with their number of books, ordered by name: mfaj (key), mfajnev (name), db (count).
// Books without a genre, or whose genre has no row of its own, are not counted.
QString GenreCountSql();

} // namespace kodexa
