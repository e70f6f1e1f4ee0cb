#include "edit/core/Keres.h"

#include "data/Seged.h"

#include <QStringList>

namespace kodexa {

namespace {
const QLatin1Char LineBreak('\n');
}

QString KeywordSearchSql(const QString &text) {
    // NormalizeKey already upper-cases; a second toUpper() could lengthen the key ("ß").
    const QString key = NormalizeKey(text);
    // Only the columns the result grid shows: an empty text matches every book with keywords,
    // and a whole-row copy of a large catalogue would not fit comfortably in memory.
    return QStringList{QStringLiteral("SELECT konyvek, szerzo_nev, cim FROM konyvek"),
                       QStringLiteral("WHERE (kulcsszavaks LIKE %1)").arg(SqlQuote(QLatin1Char('%') + key + QLatin1Char('%'))),
                       QStringLiteral("ORDER BY 1;")}
        .join(LineBreak);
}

QString ReorderSearchSql(const QString &sql, const QString &column) {
    QString head = sql;
    const qsizetype last = head.lastIndexOf(LineBreak);
    if (last >= 0)
        head.truncate(last);
    return head + LineBreak + QStringLiteral("ORDER BY ") + column + QLatin1Char(';');
}

} // namespace kodexa
