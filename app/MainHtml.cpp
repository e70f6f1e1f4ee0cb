// The HTML export of the book list (aHtml): the grid's columns as the user sees them,
// grouped by the sort column when it is a lookup name.
#include "app/MainHtml.h"

#include "app/BookGridModel.h"
#include "app/Main.h"
#include "app/core/BookView.h"
#include "exchange/Grid2Html.h"

#include <QTableView>

namespace kodexa {

void AddHtmlCommand(Tfrm_Main &w) {
    w.AddCommand(QStringLiteral("aHtml"), [&w] {
        const QTableView *view = w.Grid();
        const BookGridModel *model = w.GridModel();
        HtmlGrid grid;
        grid.width = view->width();
        const QStringList fields = model->fields();
        for (int c = 0; c < fields.size(); ++c)
            grid.columns.append({fields[c], model->title(c), view->columnWidth(c), {}});
        ExportGridHtml(w.Context(), w.Tbl(), grid, QStringLiteral("Könyvek"), QString(), GroupFieldFor(w.SortField()),
                       [&w](const QString &text) { w.ShowHintInStatusBar(text); }, &w);
    });
}

} // namespace kodexa
