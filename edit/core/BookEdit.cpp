#include "edit/core/BookEdit.h"

#include "data/Kozos.h"
#include "data/Seged.h"

namespace kodexa {

const QStringList &BookLookupOrder() {
    static const QStringList order = {QStringLiteral("szerzo"),   QStringLiteral("polc"),  QStringLiteral("kiado"),
                                      QStringLiteral("sorozat"),  QStringLiteral("targykor"), QStringLiteral("mufaj"),
                                      QStringLiteral("nyelv")};
    return order;
}

void ResolveBookLookups(Db &db, Record &book) {
    for (const QString &t : BookLookupOrder())
        ResolveLookup(db, t, book);
}

QString AppendEditor(const QString &current, const QString &name) {
    // A blank field takes the name alone; anything else is kept as typed.
    if (current.trimmed().isEmpty())
        return name;
    return current + QStringLiteral("; ") + name;
}

QStringList NameLines(const QString &nameList) {
    QStringList lines = nameList.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString BookKeyText(const QVariant &key) {
    if (key.isNull() || !key.isValid())
        return QString();
    bool ok = false;
    const qlonglong n = key.toLongLong(&ok);
    if (!ok)
        return key.toString();
    return QStringLiteral("%1").arg(n, 5, 10, QLatin1Char('0'));
}


} // namespace kodexa
