#include "reports/Nyomtatas.h"

#include "data/DesktopServices.h"
#include "data/Seged.h"
#include "exchange/Hatarolt.h"
#include "exchange/core/RowSource.h"
#include "reports/Elonezet.h"
#include "reports/NyomValaszt.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace kodexa {

using namespace report;

void PreviewReport(Report &report, DesktopServices &services, QWidget *parent) {
    report.ensurePaginated();
    Tfrm_Elonezet preview(report, services, parent);
    preview.exec();
}

void PrintReport(Report &report, DesktopServices &services, QWidget *parent) {
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        const QList<QPrinterInfo> all = QPrinterInfo::availablePrinters();
        if (!all.isEmpty())
            info = all.first();
    }
    if (info.isNull()) {
        if (!services.AskYesNo(QStringLiteral("Nincs nyomtató telepítve a gépen.\nMenti a nyomtatványt PDF állományba?"),
                               QStringLiteral("Nyomtatás"), parent))
            return;
        const QString path = services.saveFileName(QStringLiteral("PDF mentés"), ProgramDir(),
                                                   QStringLiteral("PDF állományok (*.pdf)|*.pdf"),
                                                   QStringLiteral(".pdf"), parent);
        if (!path.isEmpty())
            report.writePdf(path);
        return;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(report.def().title);
    if (!report.print(printer))
        services.ShowError(QStringLiteral("A nyomtatás nem indítható el: %1").arg(info.printerName()), parent);
}

void RunReport(AppContext &ctx, std::unique_ptr<Report> report, const BookQuery &query, QWidget *parent) {
    report->ensurePaginated(); // the query is opened before the question
    switch (ChoosePrintType(ctx.services, parent)) {
    case 0:
        PreviewReport(*report, ctx.services, parent);
        break;
    case 1:
        PrintReport(*report, ctx.services, parent);
        break;
    case 2: {
        QuerySource source(ctx.db, query.sqlWithValues());
        ExportDelimited(source, QString(), false, ctx.services, parent);
        break;
    }
    default:
        break;
    }
}

void PrintGrid(AppContext &ctx, const QVector<GridColumn> &columns, int gridWidth, bool print, const QString &title,
               int fontSize, const QString &groupColumn, QWidget *parent) {
    Report report(GridPrintDef(columns, gridWidth, title, fontSize, groupColumn, QDateTime::currentDateTime()),
                  std::make_unique<BookListRows>(ctx.tbl));
    report.paginate();
    if (print)
        PrintReport(report, ctx.services, parent);
    else
        PreviewReport(report, ctx.services, parent);
}

void PrintCompactList(AppContext &ctx, int kind, qint64 key, QWidget *parent) {
    const BookQuery q = CompactListQuery(kind, key);
    RunReport(ctx, MakeQueryReport(ctx.db, CompactListDef(kind, {}), q), q, parent);
}

void PrintDataSheet(AppContext &ctx, qint64 key, const QString &sortField, QWidget *parent) {
    const BookQuery q = DataSheetQuery(key, sortField);
    RunReport(ctx, MakeQueryReport(ctx.db, DataSheetDef({}), q), q, parent);
}

void PrintLendingList(AppContext &ctx, QWidget *parent) {
    const BookQuery q = LendingQuery();
    RunReport(ctx, MakeQueryReport(ctx.db, LendingDef({}), q), q, parent);
}

void PrintPurchases(AppContext &ctx, const QDate &first, const QDate &last, QWidget *parent) {
    const BookQuery q = PurchasesQuery(first, last);
    RunReport(ctx, MakeQueryReport(ctx.db, PurchasesDef(first, last, {}), q), q, parent);
}

} // namespace kodexa
