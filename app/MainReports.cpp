// The printing commands of the main window: the grid print, the compact lists, the data
// sheets, the lending list and the purchases of a period.
#include "app/BookGridModel.h"
#include "app/Main.h"
#include "app/core/BookView.h"
#include "app/core/CommandLayout.h"
#include "data/Seged.h"
#include "data/LookupTables.h"
#include "edit/TorzsAdat.h"
#include "reports/Idoszak.h"
#include "reports/Nyomtatas.h"

#include <QTableView>

namespace kodexa {

namespace {
void printGrid(Tfrm_Main &w, bool print) {
    QVector<report::GridColumn> columns;
    const BookGridModel *model = w.GridModel();
    for (int i = 0; i < model->columnCount(); ++i) {
        const QString field = model->fields().value(i);
        if (field.isEmpty() || w.Grid()->isColumnHidden(i))
            continue;
        columns.append({field, model->title(i), w.Grid()->columnWidth(i), Qt::AlignLeft});
    }
    PrintGrid(w.Context(), columns, w.Grid()->width(), print, QStringLiteral("Könyvek"), 8,
              GroupFieldFor(w.SortField()), &w);
}
} // namespace

void AddReportCommands(Tfrm_Main &w) {
    report::SetFooterHomePage(MakerHomePage());
    AppContext &ctx = w.Context();
    w.AddCommand(QStringLiteral("aNyomtat"), [&w] { printGrid(w, true); });
    w.AddCommand(QStringLiteral("aNyomtatKep"), [&w] { printGrid(w, false); });
    for (int kind = 0; kind < MasterTableCount; ++kind) {
        const QString name = QLatin1String(LookupTables()[kind].listCommand);
        w.AddCommand(name, [&ctx, &w, kind] { PrintCompactList(ctx, kind, -1, &w); });
        w.AddCommand(name + QLatin1Char('2'), [&ctx, &w, kind] {
            const MasterPick pick = ChooseMasterData(ctx, kind, true, &w, -1);
            if (pick.accepted && pick.key > 0)
                PrintCompactList(ctx, kind, pick.key, &w);
        });
    }
    w.AddCommand(QStringLiteral("aAdatlap"), [&ctx, &w] {
        const qint64 key = w.Tbl().isEmpty() ? 0 : VarToInt(w.Tbl().value(QStringLiteral("konyvek")));
        PrintDataSheet(ctx, key, w.SortField(), &w);
    });
    w.AddCommand(QStringLiteral("aAdatlap2"), [&ctx, &w] { PrintDataSheet(ctx, -1, w.SortField(), &w); });
    w.AddCommand(QStringLiteral("aNyomKolcson"), [&ctx, &w] { PrintLendingList(ctx, &w); });
    w.AddCommand(QStringLiteral("aNyomVasarol"), [&ctx, &w] {
        QDate last = QDate::currentDate(), first = report::OneMonthBack(last);
        if (ChoosePeriod(first, last, &w))
            PrintPurchases(ctx, first, last, &w);
    });
}

} // namespace kodexa
