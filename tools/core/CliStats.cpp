// kodexa-cli stats: the statistics window's four totals and its genre table.
#include "tools/core/CliCommand.h"

#include "data/Seged.h"
#include "reports/core/Stat.h"

namespace kodexa::cli {

int RunStats(Session &s, const Args &) {
    Db &db = s.catalogue();
    const StatTotals t = ReadStatTotals(db);
    const QPair<qint64, const char *> totals[] = {
        {t.books, "könyv"}, {t.authors, "szerző"}, {t.publishers, "kiadó"}, {t.value, "névleges értéken"}};
    // The numbers right-aligned in one column, as the window shows them.
    int width = 0;
    for (const auto &n : totals)
        width = qMax(width, int(FormatGrouped(n.first).size()));
    for (const auto &n : totals)
        s.out << FormatGrouped(n.first).rightJustified(width) << ' ' << QString::fromUtf8(n.second) << '\n';
    s.out << "\nMűfaj\tDarab\n";
    Stmt q = db.prepare(GenreCountSql());
    while (q.step())
        s.out << q.text(1) << '\t' << FormatGrouped(q.int64(2)) << '\n';
    return Done;
}

} // namespace kodexa::cli
