#include "app/core/BookView.h"

#include "data/Schema.h"
#include "data/Seged.h"


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

QString GroupFieldFor(const QString &sortField) {
    return sortField.contains(QLatin1String("_nev")) ? sortField : QString();
}

QStringList SortMarkStatements(const QString &field) {
    return {QStringLiteral("UPDATE mezo SET sorrend='N';"),
            QStringLiteral("UPDATE mezo SET sorrend='I' WHERE mezo_nev=%1;").arg(SqlQuote(field))};
}

} // namespace kodexa
