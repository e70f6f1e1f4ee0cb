#pragma once
// The arithmetic of the book list view: column widths and sort order (the picture is
// fitted by FitPicture, edit/core/Picture.h).

#include <QString>
#include <QStringList>
#include <QVector>

#include "data/Seged.h" // RoundHalfEven

namespace kodexa {

class Db;

// Widths of grid columns 1-6 from their weights: (grid width - 60) shared by weight,
// halves rounded to the even neighbour. All weights 0: equal shares.
QVector<int> SpreadWidths(const QVector<int> &weights, int gridWidth);

// The column the list is ordered by: the search key of a keyed text, else the field itself.
QString OrderColumnFor(const QString &field);
// Grid columns 1-6 of the list: the first six rows of mezo in position order, each with its
// title (the row's label, else the column's display label) and width weight. Always six;
// a missing row gives an empty field.
struct ListColumn {
    QString field;
    QString title;
    int weight = 0;
};
QVector<ListColumn> ListColumns(Db &db);

// The sort the list starts with: the row of mezo that carries the sort mark (its column
// and label); the book key, unmarked, when no row carries it or mezo cannot be read.
struct ListSort {
    QString field;
    QString caption;
    bool marked = false;
};
ListSort StoredListSort(Db &db);
// The column a whole-list page or print is grouped by: the sort column when it is a
// lookup name (szerzo_nev, kiado_nev, polc_nev, ...), else none.
QString GroupFieldFor(const QString &sortField);
// The two statements that move the sort mark of mezo to the field.
QStringList SortMarkStatements(const QString &field);

} // namespace kodexa
