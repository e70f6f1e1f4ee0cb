#pragma once
// The HTML page of a grid: what the grid shows (its columns in its order, every row of its
// dataset) as one table, broken into groups by one column when asked. Window-free: the
// dialog and the tests call the same writer.

#include <QDateTime>
#include <QString>
#include <QVector>
#include <optional>

namespace kodexa {

class Dataset;

struct HtmlColumn {
    QString field;   // empty: a column bound to no field, left out of the page
    QString caption; // the column's title
    int width = 0;   // as the grid shows it, in pixels
    std::optional<Qt::AlignmentFlag> alignment; // none: the field's own (numbers right)
};

struct HtmlGrid {
    QVector<HtmlColumn> columns;
    int width = 0; // the grid's whole width
};

struct HtmlPageText {
    QString title;      // page title, first heading
    QString subtitle;   // second heading, may be empty
    QString groupField; // a group row opens at every change of this field's shown text; empty: none
    QDateTime now;
};

// The page's file name for a title: the title and ".htm" made safe by FileSlug.
QString HtmlFileName(const QString &title);
// A column's share of the grid's width in whole percent, halves to even.
int HtmlColumnPercent(int columnWidth, int gridWidth);

// Writes the page of every row of rows, in the dataset's order, to path: created or
// replaced whole, its folder made when missing; a failure keeps the previous file. The
// dataset's current row does not move. Titles, captions and values are text, never markup:
// their & < > " are written escaped. Returns the number of data rows written.
// Throws FileError with the system's message.
int WriteGridHtml(const QString &path, const Dataset &rows, const HtmlGrid &grid, const HtmlPageText &page);

} // namespace kodexa
