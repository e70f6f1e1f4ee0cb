#pragma once
// The printed reports: the grid print, the compact lists, the data sheet, the lending list
// and the purchases of a period, each as bands on the shared page frame, with its query.

#include "reports/core/ReportRows.h"

#include <QDate>

namespace kodexa::report {

// One column of the book grid as the grid print sees it.
struct GridColumn {
    QString field;
    QString title;
    int width = 0; // on screen
    Qt::Alignment align = Qt::AlignLeft;
};

// Paper widths of the grid's columns, in proportion to the screen widths; and their lefts.
QVector<int> GridPaperWidths(const QVector<GridColumn> &columns, int gridWidth);
ReportDef GridPrintDef(const QVector<GridColumn> &columns, int gridWidth, const QString &title, int fontSize,
                       const QString &groupColumn, const QDateTime &printed);

// Compact lists, kind 0 szerzo .. 5 polc; key -1 for every book.
BookQuery CompactListQuery(int kind, qint64 key);
ReportDef CompactListDef(int kind, const QDateTime &printed);

BookQuery DataSheetQuery(qint64 key, const QString &sortField);
ReportDef DataSheetDef(const QDateTime &printed);
// Where a cover picture of this size goes on the data sheet: the box and the picture in it.
struct PicturePlace {
    QRectF box;
    QRectF picture;
};
PicturePlace FitPicture(QSize pixels);

BookQuery LendingQuery();
ReportDef LendingDef(const QDateTime &printed);

BookQuery PurchasesQuery(const QDate &from, const QDate &to);
ReportDef PurchasesDef(const QDate &from, const QDate &to, const QDateTime &printed);
// The same day one month earlier, or the last day of the shorter month.
QDate OneMonthBack(const QDate &day);

// A report over its query, ready to paginate.
std::unique_ptr<Report> MakeQueryReport(Db &db, ReportDef def, BookQuery query);

} // namespace kodexa::report
