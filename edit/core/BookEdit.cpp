#include "edit/core/BookEdit.h"

#include "data/Isbn.h"
#include "data/Kozos.h"
#include "data/Seged.h"

#include <QRegularExpression>
#include <QSet>

namespace kodexa {

namespace {
bool changed(const TypedField &f) {
    return f.kind == TypedField::WholeNumber ? f.typed.trimmed() != f.loaded.trimmed() : f.typed != f.loaded;
}
} // namespace

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

const QStringList &TypedBookColumns() {
    static const QStringList columns = {
        QStringLiteral("konyvek"),     QStringLiteral("cim"),        QStringLiteral("szerzo_nev"),  QStringLiteral("szerkesztok"),
        QStringLiteral("alcim"),       QStringLiteral("isbn"),       QStringLiteral("polc_nev"),    QStringLiteral("kiado_nev"),
        QStringLiteral("sorozat_nev"), QStringLiteral("targykor_nev"), QStringLiteral("mufaj_nev"), QStringLiteral("kiadas"),
        QStringLiteral("kotetszam"),   QStringLiteral("terjedelem"), QStringLiteral("ar"),          QStringLiteral("nyelv_nev"),
        QStringLiteral("dat_besz"),    QStringLiteral("dedikalt"),   QStringLiteral("kulcsszavak"), QStringLiteral("tartalom")};
    return columns;
}

namespace {
QDate TypedDate(const QString &text) {
    const QString t = text.trimmed();
    for (const char *format : {"yyyy-MM-dd", "yyyy.MM.dd.", "yyyy.MM.dd"}) {
        const QDate d = QDate::fromString(t, QLatin1String(format));
        if (d.isValid())
            return d;
    }
    return QDate();
}

// "I" or "N" for a typed yes/no; empty when it is neither.
QString TypedFlag(const QString &text) {
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("i") || t == QLatin1String("igen"))
        return QStringLiteral("I");
    if (t == QLatin1String("n") || t == QLatin1String("nem"))
        return QStringLiteral("N");
    return QString();
}
} // namespace

QString TypedValueRefusal(const FieldList &fields, const QString &column, const QString &text) {
    const int i = fields.indexOf(column);
    if (i < 0)
        return QStringLiteral("Nem létező mező: %1").arg(column);
    const FieldInfo &f = fields.fields[i];
    if (column == QLatin1String("dat_besz"))
        return TypedDate(text).isValid() ? QString()
                                         : QStringLiteral("A(z) „%1” mezőbe dátum írható (éééé-hh-nn).").arg(f.label);
    if (column == QLatin1String("dedikalt"))
        return TypedFlag(text).isEmpty() ? QStringLiteral("A(z) „%1” mezőbe I vagy N írható.").arg(f.label) : QString();
    if (f.kind == FieldKind::Integer) {
        static const QRegularExpression digits(QStringLiteral("^\\d{1,9}$"));
        const QString t = text.trimmed();
        return t.isEmpty() || digits.match(t).hasMatch()
                   ? QString()
                   : QStringLiteral("A(z) „%1” mezőbe csak egész szám írható.").arg(f.label);
    }
    if (column == QLatin1String("tartalom") && f.size > 0 && text.size() > f.size)
        return QStringLiteral("A tartalom legfeljebb %1 karakter lehet, most %2 karakter.").arg(f.size).arg(text.size());
    return TextLengthRefusal(f.label, f.size, text);
}

FieldRefusal FirstRefusedField(const FieldList &fields, const QVector<TypedField> &typed) {
    for (int i = 0; i < typed.size(); ++i) {
        const TypedField &f = typed[i];
        const bool checked = f.kind == TypedField::WholeNumber   ? changed(f) && !f.typed.trimmed().isEmpty()
                             : f.kind == TypedField::Contents ? fields.indexOf(f.column) >= 0
                                                              : false;
        if (!checked)
            continue;
        if (QString reason = TypedValueRefusal(fields, f.column, f.typed); !reason.isEmpty())
            return {i, reason};
    }
    return {};
}

void SetTypedValue(Record &book, const QString &column, const QString &text) {
    if (column == QLatin1String("dat_besz"))
        book.setValue(column, TypedDate(text));
    else if (column == QLatin1String("dedikalt"))
        book.setValue(column, TypedFlag(text));
    else if (book.fields().fields[book.fields().indexOf(column)].kind == FieldKind::Integer)
        book.setValue(column, text.trimmed().isEmpty() ? QVariant() : QVariant(text.trimmed().toLongLong()));
    else
        book.setValue(column, text.isEmpty() ? QVariant() : QVariant(text));
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


QStringList BookWarnings(Db &db, qint64 ownKey, bool isNew, const QString &isbn, const QString &title,
                         const QString &author) {
    QStringList out;
    const std::optional<Isbn> read = ReadIsbn(isbn);
    if (read && !read->valid)
        out << QStringLiteral("Az ISBN ellenőrző jegye hibás: %1").arg(read->written);
    if (!isNew)
        return out;
    QSet<qint64> named;
    const auto duplicate = [&](Stmt &s) {
        while (s.step() && named.size() < 3)
            if (!named.contains(s.int64(0))) {
                named.insert(s.int64(0));
                out << QStringLiteral("Lehetséges másodpéldány: %1 %2").arg(BookKeyText(s.value(0)), s.text(1));
            }
    };
    if (read && read->valid) {
        // The ISBN-10 of an ISBN-13 that has one, so either form finds the other.
        QString ten;
        if (read->isbn13.startsWith(QLatin1String("978"))) {
            const QString body = read->isbn13.mid(3, 9);
            int sum = 0;
            for (int i = 0; i < 9; ++i)
                sum += body[i].digitValue() * (10 - i);
            const int check = (11 - sum % 11) % 11;
            ten = body + (check == 10 ? QStringLiteral("X") : QString::number(check));
        }
        Stmt s = db.prepare(QStringLiteral("SELECT konyvek, cim FROM konyvek WHERE konyvek IS NOT ?1 AND "
                                           "upper(replace(replace(replace(replace(isbn, '-', ''), ' ', ''), '=', ''), '\"', '')) IN (?2, ?3)"));
        s.bind(1, ownKey).bind(2, read->isbn13).bind(3, ten);
        duplicate(s);
    }
    if (!title.trimmed().isEmpty()) {
        Stmt s = db.prepare(QStringLiteral("SELECT konyvek, cim FROM konyvek WHERE konyvek IS NOT ?1 AND cims = ?2 AND "
                                           "ifnull(szerzo_nevs, '') = ?3"));
        s.bind(1, ownKey).bind(2, SearchKey(title.simplified())).bind(3, SearchKey(author.simplified()));
        duplicate(s);
    }
    return out;
}

} // namespace kodexa
