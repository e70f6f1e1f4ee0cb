#pragma once
// The entry operations of the printed reports, and the three ways a report goes out:
// our preview, the default printer, or the delimited export of its query.

#include "data/AppContext.h"
#include "reports/core/Reports.h"

#include <QDate>

class QWidget;

namespace kodexa {

// The modal preview of a paginated report.
void PreviewReport(report::Report &report, DesktopServices &services, QWidget *parent = nullptr);
// Prints on the default printer without a dialog. With no printer on the system the user
// is told so and may save the report as a PDF file instead.
void PrintReport(report::Report &report, DesktopServices &services, QWidget *parent = nullptr);
// Opens the report's query, asks ChoosePrintType and does what was chosen; the report is
// discarded afterwards.
void RunReport(AppContext &ctx, std::unique_ptr<report::Report> report, const report::BookQuery &query,
               QWidget *parent = nullptr);

// The book list as the grid shows it; print at once or preview.
void PrintGrid(AppContext &ctx, const QVector<report::GridColumn> &columns, int gridWidth, bool print,
               const QString &title, int fontSize, const QString &groupColumn, QWidget *parent = nullptr);
void PrintCompactList(AppContext &ctx, int kind, qint64 key, QWidget *parent = nullptr);
void PrintDataSheet(AppContext &ctx, qint64 key, const QString &sortField, QWidget *parent = nullptr);
void PrintLendingList(AppContext &ctx, QWidget *parent = nullptr);
void PrintPurchases(AppContext &ctx, const QDate &first, const QDate &last, QWidget *parent = nullptr);

} // namespace kodexa
