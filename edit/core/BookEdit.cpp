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

namespace {
bool changed(const TypedField &f) {
    return f.kind == TypedField::WholeNumber ? f.typed.trimmed() != f.loaded.trimmed() : f.typed != f.loaded;
}
} // namespace

int FirstBadNumber(const QVector<TypedField> &fields) {
    for (int i = 0; i < fields.size(); ++i) {
        const TypedField &f = fields[i];
        if (f.kind != TypedField::WholeNumber || !changed(f) || f.typed.trimmed().isEmpty())
            continue;
        bool ok = false;
        f.typed.trimmed().toLongLong(&ok);
        if (!ok)
            return i;
    }
    return -1;
}

QString BadNumberWarning(const FieldList &fields, const QString &column) {
    const int i = fields.indexOf(column);
    return QStringLiteral("A(z) „%1” mezőbe csak egész szám írható.").arg(i >= 0 ? fields.fields[i].label : column);
}

QString ContentsWarning(const FieldList &fields, const QString &contents) {
    const int memo = fields.indexOf(QStringLiteral("tartalom"));
    const int size = memo >= 0 ? fields.fields[memo].size : 0;
    if (size <= 0 || contents.size() <= size)
        return QString();
    return QStringLiteral("A tartalom legfeljebb %1 karakter lehet, most %2 karakter.").arg(size).arg(contents.size());
}

void StoreChangedFields(Record &book, const QVector<TypedField> &fields) {
    for (const TypedField &f : fields) {
        if (!changed(f))
            continue;
        const QString t = f.kind == TypedField::WholeNumber ? f.typed.trimmed() : f.typed;
        if (t.isEmpty())
            book.setValue(f.column, QVariant());
        else if (f.kind == TypedField::WholeNumber)
            book.setValue(f.column, t.toLongLong());
        else
            book.setValue(f.column, t);
    }
}

QString AppendEditor(const QString &current, const QString &name) {
    // An empty field would give "; name": the leading separator goes. A field that itself
    // begins with ";" keeps every character (cutting two would lose what the user typed),
    // and a blank one is kept as it is, like any other text.
    if (current.isEmpty())
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
    return KeyText(n);
}


} // namespace kodexa
