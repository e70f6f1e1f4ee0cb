#pragma once
// The list-column configuration in mezo: moving a row up or down swaps its position with
// its neighbour's through the parking position 999, and one row carries the sort mark.

#include <QString>
#include <optional>

namespace kodexa {

class Db;

// Held for a moment by the row being moved; never left behind.
inline constexpr int FieldParkPosition = 999;
// Positions 1 to 6 are the columns the book list shows.
inline constexpr int ShownFieldCount = 6;

// Moves the row at position n up (to n - 1) or down (to n + 1), taking the neighbour's place.
// Returns the moved row's new position, or n when there is no neighbour (the first row up,
// the last row down). The swap is all or nothing: a failing statement raises DbError and
// leaves every position as it was.
int MoveFieldUp(Db &db, int position);
int MoveFieldDown(Db &db, int position);

struct SortFieldChoice {
    QString field;   // mezo_nev
    QString caption; // displabel, or the column name when the row has no label
};
// Puts the sort mark on the row at this position alone; nullopt when there is no such row
// (nothing is changed then).
std::optional<SortFieldChoice> MarkSortField(Db &db, int position);

} // namespace kodexa
