#include "app/core/BookView.h"

#include "data/Dataset.h"
#include "data/Db.h"
#include "data/Schema.h"
#include "data/Seged.h"

#include <algorithm>

namespace kodexa {

QVector<int> SpreadWidths(const QVector<int> &weights, int gridWidth) {
    QVector<int> out(weights.size());
    long sum = 0;
    for (int w : weights)
        sum += w;
    const double room = gridWidth - 60;
    for (int i = 0; i < weights.size(); ++i)
        out[i] = sum > 0 ? RoundHalfEven(weights[i] * (room / double(sum)))
                         : RoundHalfEven(room / std::max<qsizetype>(1, weights.size()));
    return out;
}

QString OrderColumnFor(const QString &field) { return IsKeyedText(field) ? KeyColumn(field) : field; }

QVector<ListColumn> ListColumns(Db &db) {
    MemDataset tblM(db);
    tblM.openTable(QStringLiteral("mezo"), QStringLiteral("mezo"));
    QVector<ListColumn> columns;
    for (int i = 0; i < 6; ++i) {
        ListColumn c;
        if (i < tblM.recordCount()) {
            tblM.moveTo(i);
            c.field = tblM.text(QStringLiteral("mezo_nev"));
            c.weight = VarToInt(tblM.value(QStringLiteral("szeles")));
        }
        // The field's own display label (its column name when it has none), whatever the
        // configuration table calls it.
        c.title = BookColumnLabel(c.field);
        columns << c;
    }
    return columns;
}

ListSort StoredListSort(Db &db) {
    try {
        Stmt q = db.prepare(QStringLiteral("SELECT mezo_nev, displabel FROM mezo WHERE sorrend='I';"));
        if (q.step())
            return {q.text(0), q.text(1), true};
    } catch (const DbError &) {
        // An unreadable mezo: the key order below, as with no mark.
    }
    return {QStringLiteral("konyvek"), BookColumnLabel(QStringLiteral("konyvek")), false};
}

QString GroupFieldFor(const QString &sortField) {
    return sortField.contains(QLatin1String("_nev")) ? sortField : QString();
}

QStringList SortMarkStatements(const QString &field) {
    return {QStringLiteral("UPDATE mezo SET sorrend='N';"),
            QStringLiteral("UPDATE mezo SET sorrend='I' WHERE mezo_nev=%1;").arg(SqlQuote(field))};
}

} // namespace kodexa
