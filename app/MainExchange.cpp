// The main window's commands of the delimited export and the import.
#include "app/MainExchange.h"

#include "app/Main.h"
#include "data/DesktopServices.h"
#include "exchange/Atvetel.h"
#include "exchange/Hatarolt.h"
#include "exchange/Import.h"
#include "exchange/core/RowSource.h"

namespace kodexa {

void AddExchangeCommands(Tfrm_Main &w) {
    w.AddCommand(QStringLiteral("aExport"), [&w] {
        const QString path = w.Services().saveFileName(QStringLiteral("Adatbázis export"), QString(),
                                                       QStringLiteral("Szöveges állományok (*.txt)|*.txt"),
                                                       QStringLiteral("txt"), &w);
        if (path.isEmpty())
            return;
        const auto source = FixedExportSource(w.Db1());
        ExportDelimited(*source, path, true, w.Services(), &w);
    });
    w.AddCommand(QStringLiteral("aExcelbe"), [&w] {
        BookListSource source(w.Tbl());
        ExportDelimited(source, QString(), false, w.Services(), &w);
    });
    w.AddCommand(QStringLiteral("aImport"), [&w] {
        if (RunImport(w.Context(), &w) > 0)
            w.ReadListAgain();
    });
    w.AddCommand(QStringLiteral("aAtvetel"), [&w] {
        if (RunCsvWizard(w.Context(), &w) > 0)
            w.ReadListAgain();
    });
}

} // namespace kodexa
