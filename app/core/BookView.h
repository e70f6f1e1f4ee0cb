#pragma once
// The arithmetic of the book list view: column widths, picture fitting, sort order.

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

#include "data/Seged.h" // RoundHalfEven

namespace kodexa {

// Widths of grid columns 1-6 from their weights: (grid width - 60) shared by weight,
// halves rounded to the even neighbour. All weights 0: equal shares.
QVector<int> SpreadWidths(const QVector<int> &weights, int gridWidth);

// The column the list is ordered by: the search key of a keyed text, else the field itself.
QString OrderColumnFor(const QString &field);
// The column a whole-list page or print is grouped by: the sort column when it is a
// lookup name (szerzo_nev, kiado_nev, polc_nev, ...), else none.
QString GroupFieldFor(const QString &sortField);
// The two statements that move the sort mark of mezo to the field.
QStringList SortMarkStatements(const QString &field);

} // namespace kodexa
