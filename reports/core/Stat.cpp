#include "reports/core/Stat.h"

#include "data/Db.h"

#include <cmath>

namespace kodexa {

namespace {
qint64 countRows(Db &db, const QString &select) {
    // The rows of the DISTINCT query are counted by the engine rather than read one by one.
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM (%1)").arg(select)).toLongLong();
}
} // namespace

StatTotals ReadStatTotals(Db &db, qint64 bookCount) {
    StatTotals t;
    t.books = bookCount >= 0 ? bookCount : db.scalar(QStringLiteral("SELECT COUNT(*) FROM konyvek")).toLongLong();
    t.authors = countRows(db, QStringLiteral("SELECT DISTINCT szerzo FROM konyvek"));
    t.publishers = countRows(db, QStringLiteral("SELECT DISTINCT kiado FROM konyvek"));
    const QVariant sum = db.scalar(QStringLiteral("SELECT SUM(ar) ar FROM konyvek;"));
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
