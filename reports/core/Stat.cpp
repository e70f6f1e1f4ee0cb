#include "reports/core/Stat.h"

#include "data/Db.h"

#include <cmath>

namespace kodexa {

StatTotals ReadStatTotals(Db &db, qint64 bookCount) {
    // One pass over the books for all four: the key columns carry no index, so each
    // separate query would read the whole table again. A distinct list counts an empty key
    // as one value of its own, which COUNT(DISTINCT) leaves out, hence the added flag.
    Stmt q = db.prepare(QStringLiteral("SELECT COUNT(*),"
                                       " COUNT(DISTINCT szerzo) + IFNULL(MAX(szerzo IS NULL), 0),"
                                       " COUNT(DISTINCT kiado) + IFNULL(MAX(kiado IS NULL), 0),"
                                       " SUM(ar)"
                                       " FROM konyvek"));
    StatTotals t;
    if (!q.step())
        return t;
    t.books = bookCount >= 0 ? bookCount : q.int64(0);
    t.authors = q.int64(1);
    t.publishers = q.int64(2);
    const QVariant sum = q.value(3);
    if (sum.isValid() && !sum.isNull()) {
        // Prices written by other tools may be fractional; the total is shown rounded.
        if (sum.typeId() == QMetaType::Double) {
            const double d = sum.toDouble();
            t.value = std::isfinite(d) && std::fabs(d) < 9.2e18 ? std::llround(d) : 0;
        } else {
            t.value = sum.toLongLong();
        }
    }
    return t;
}

QString GenreCountSql() {
    return QStringLiteral("SELECT\n"
                          " konyvek.mufaj mfaj,\n"
                          " mufaj.mufaj_nev mfajnev,\n"
                          " COUNT(konyvek.mufaj) db\n"
                          "FROM konyvek\n"
                          " INNER JOIN mufaj ON (konyvek.mufaj = mufaj.mufaj)\n"
                          "GROUP BY konyvek.mufaj, mufaj.mufaj_nev\n"
                          "ORDER by 2;");
}

} // namespace kodexa
