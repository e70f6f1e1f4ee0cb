// The book commands of kodexa-cli: list, search, show, add, edit, lend, return.
#include "tools/core/CliCommand.h"
#include "tools/core/RowOutput.h"

#include "app/core/BookView.h"
#include "app/core/Lending.h"
#include "data/BookList.h"
#include "data/Dataset.h"
#include "data/Kozos.h"
#include "data/Seged.h"
#include "edit/core/BookEdit.h"
#include "edit/core/Keres.h"

#include <QDate>

namespace kodexa::cli {

namespace {

// Option names of the typed book fields beside their column names, in the dialog's order.
struct FieldAlias {
    const char *column;
    const char *alias;
};
const FieldAlias kAliases[] = {
    {"konyvek", "id"},          {"cim", "title"},         {"szerzo_nev", "author"},      {"szerkesztok", "editors"},
    {"alcim", "subtitle"},      {"isbn", nullptr},        {"polc_nev", "shelf"},         {"kiado_nev", "publisher"},
    {"sorozat_nev", "series"},  {"targykor_nev", "subject"}, {"mufaj_nev", "genre"},     {"kiadas", "edition"},
    {"kotetszam", "volume"},    {"terjedelem", "pages"},  {"ar", "price"},               {"nyelv_nev", "language"},
    {"dat_besz", "bought"},     {"dedikalt", "signed"},   {"kulcsszavak", "keywords"},   {"tartalom", "contents"},
};

QString ColumnOfOption(const QString &option) {
    for (const auto &a : kAliases)
        if (option == QLatin1String(a.column) || (a.alias && option == QLatin1String(a.alias)))
            return QLatin1String(a.column);
    return QString();
}

qint64 BookKeyArg(const QString &text) {
    bool ok = false;
    const qint64 key = text.toLongLong(&ok);
    if (!ok || key < 0)
        throw UsageError(QStringLiteral("A könyv kulcsa egész szám, nem ez: %1").arg(text));
    return key;
}

RowFormat FormatArg(const Args &a) {
    RowFormat f = RowFormat::Tsv;
    if (a.has(QStringLiteral("format")) && !ParseRowFormat(a.value(QStringLiteral("format")), f))
        throw UsageError(QStringLiteral("Ismeretlen formátum: %1 (tsv, csv vagy json)").arg(a.value(QStringLiteral("format"))));
    return f;
}

// A book column by its name or by its display label ("cím" for cim).
QString BookColumnArg(const FieldList &fields, const QString &name) {
    if (fields.indexOf(name) >= 0)
        return fields.fields[fields.indexOf(name)].name;
    for (const FieldInfo &f : fields.fields)
        if (f.label == name)
            return f.name;
    throw UsageError(QStringLiteral("Nem létező mező: %1").arg(name));
}

// The book list, its current row the one book with this key, written through the book
// record rules as the main window's list is.
void OpenBook(Db &db, BookList &tbl, qint64 key) {
    Stmt count = db.prepare(QStringLiteral("SELECT count(*) FROM konyvek WHERE konyvek=?1"));
    count.bind(1, key);
    const qint64 n = count.step() ? count.int64(0) : 0;
    if (n == 0)
        throw Error(QStringLiteral("Nincs %1 kulcsú könyv.").arg(BookKeyText(key)));
    // Nothing keeps keys unique; a command must not pick one of several books by chance.
    if (n > 1)
        throw Error(QStringLiteral("A(z) %1 kulcs %2 könyvé is; előbb a programban adjon nekik külön kulcsot.")
                        .arg(BookKeyText(key))
                        .arg(n));
    tbl.open(QStringLiteral("konyvek"), QStringLiteral("konyvek"));
    tbl.locateKey(key);
    tbl.beforePost = [](Record &r) { TblBeforePost(r); };
}

// The typed fields of add and edit, checked as the edit dialog checks them.
QVector<QPair<QString, QString>> TypedFields(const FieldList &fields, const Args &a) {
    QVector<QPair<QString, QString>> values;
    for (const auto &[option, text] : a.options) {
        const QString column = ColumnOfOption(option);
        if (column.isEmpty())
            continue;
        if (fields.indexOf(column) < 0)
            throw Error(QStringLiteral("Nem létező mező: %1").arg(column));
        if (const QString refusal = TypedValueRefusal(fields, column, text); !refusal.isEmpty())
            throw Error(refusal);
        values.append({column, text});
    }
    return values;
}

// Writes the book in the dataset's edit buffer as the edit dialog's OK does.
void StoreBook(Db &db, BookList &tbl, const QVector<QPair<QString, QString>> &values) {
    for (const auto &[column, text] : values)
        SetTypedValue(tbl.buffer(), column, text);
    ResolveBookLookups(db, tbl.buffer());
    tbl.post();
}

} // namespace

QStringList BookFieldOptions() {
    QStringList names;
    for (const auto &a : kAliases) {
        names << QLatin1String(a.column);
        if (a.alias)
            names << QLatin1String(a.alias);
    }
    return names;
}

int RunList(Session &s, const Args &a) {
    const RowFormat format = FormatArg(a);
    Db &db = s.catalogue();
    const FieldListPtr fields = TableFields(db, QStringLiteral("konyvek"));
    QStringList columns;
    if (a.has(QStringLiteral("fields"))) {
        for (const QString &name : a.value(QStringLiteral("fields")).split(QLatin1Char(','), Qt::SkipEmptyParts))
            columns << BookColumnArg(*fields, name.trimmed());
        if (columns.isEmpty())
            throw UsageError(QStringLiteral("A --fields legalább egy oszlopot nevezzen meg."));
    } else {
        // The list's six columns, as the main window shows them.
        for (const ListColumn &c : ListColumns(db))
            if (fields->indexOf(c.field) >= 0)
                columns << c.field;
        if (columns.isEmpty())
            columns << QStringLiteral("konyvek") << QStringLiteral("cim");
    }
    QString order;
    if (a.has(QStringLiteral("sort"))) {
        order = OrderColumnFor(BookColumnArg(*fields, a.value(QStringLiteral("sort"))));
    } else {
        order = OrderColumnFor(StoredListSort(db).field);
        try {
            db.prepare(QStringLiteral("SELECT 1 FROM konyvek ORDER BY %1").arg(order));
        } catch (const DbError &) {
            // A sort mark naming no column: the key order, as the program starts.
            order = QStringLiteral("konyvek");
        }
    }
    // One pass in the list's order over only the chosen columns: a catalogue's contents and
    // keywords stay on disk, and no list of every row is built first.
    RowOutput out(s.out, format, columns);
    out.begin();
    BookList::streamInOrder(db, order, columns, [&](const QVector<QVariant> &values) { out.row(values); });
    out.end();
    return Done;
}

int RunSearch(Session &s, const Args &a) {
    const RowFormat format = FormatArg(a);
    Db &db = s.catalogue();
    Stmt q = db.prepare(KeywordSearchSql(a.positional.first()));
    if (!q.step())
        throw Error(QStringLiteral("Nincs ilyen sor, keresés sikertelen"));
    QStringList names;
    for (int i = 0; i < q.columnCount(); ++i)
        names << q.columnName(i);
    RowOutput out(s.out, format, names);
    out.begin();
    QVector<QVariant> values(names.size());
    do {
        for (int i = 0; i < values.size(); ++i)
            values[i] = q.value(i);
        out.row(values);
    } while (q.step());
    out.end();
    return Done;
}

int RunShow(Session &s, const Args &a) {
    const QString format = a.has(QStringLiteral("format")) ? a.value(QStringLiteral("format")) : QStringLiteral("text");
    if (format != QLatin1String("text") && format != QLatin1String("json"))
        throw UsageError(QStringLiteral("Ismeretlen formátum: %1 (text vagy json)").arg(format));
    const qint64 key = BookKeyArg(a.positional.first());
    Db &db = s.catalogue();
    BookList tbl(db);
    OpenBook(db, tbl, key);
    QStringList columns = TypedBookColumns();
    columns << QStringLiteral("kolcsonadva") << QStringLiteral("kolcsonadva_dat") << QStringLiteral("kolcsonadva_kinek");
    if (format == QLatin1String("json")) {
        RowOutput out(s.out, RowFormat::Json, columns);
        QVector<QVariant> values;
        for (const QString &c : columns)
            values << tbl.value(c);
        out.begin();
        out.row(values);
        out.end();
        return Done;
    }
    for (const QString &c : columns) {
        if (c.startsWith(QLatin1String("kolcsonadva_")))
            continue;
        QString label = tbl.fields().fields[tbl.fieldIndex(c)].label;
        QString value = tbl.text(c);
        if (c == QLatin1String("konyvek")) {
            value = BookKeyText(tbl.value(c));
        } else if (c == QLatin1String("kolcsonadva")) {
            label = QStringLiteral("kölcsönben?");
            value = value == QLatin1String("I")
                        ? QStringLiteral("igen, %1 óta, %2").arg(tbl.text(QStringLiteral("kolcsonadva_dat")),
                                                                 tbl.text(QStringLiteral("kolcsonadva_kinek")))
                        : QStringLiteral("nem");
        }
        // A multi-line text continues under its first line.
        value.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        value.replace(QLatin1Char('\n'), QLatin1Char('\n') + QString(15, QLatin1Char(' ')));
        const QString head = label + QLatin1Char(':');
        s.out << (value.isEmpty() ? head : head.leftJustified(15) + value) << '\n';
    }
    return Done;
}

int RunAdd(Session &s, const Args &a) {
    bool titled = false;
    for (const auto &[option, text] : a.options)
        titled |= ColumnOfOption(option) == QLatin1String("cim") && !text.trimmed().isEmpty();
    if (!titled)
        throw UsageError(QStringLiteral("Az új könyvnek cím kell: --title CÍM"));
    Db &db = s.catalogue();
    BookList tbl(db);
    tbl.open(QStringLiteral("konyvek"), QStringLiteral("konyvek"));
    tbl.beforePost = [](Record &r) { TblBeforePost(r); };
    const auto values = TypedFields(tbl.fields(), a);
    // The lookup rows the book needs and the book itself: all or nothing.
    Transaction tx(db);
    tbl.insert();
    NewBookDefaults(db, tbl.buffer());
    StoreBook(db, tbl, values);
    tx.commit();
    s.out << tbl.value(QStringLiteral("konyvek")).toLongLong() << '\n';
    return Done;
}

int RunEdit(Session &s, const Args &a) {
    const qint64 key = BookKeyArg(a.positional.first());
    if (a.options.isEmpty())
        throw UsageError(QStringLiteral("Adjon meg legalább egy módosítandó mezőt (például --price 2500)."));
    Db &db = s.catalogue();
    BookList tbl(db);
    OpenBook(db, tbl, key);
    const auto values = TypedFields(tbl.fields(), a);
    Transaction tx(db);
    tbl.edit();
    StoreBook(db, tbl, values);
    tx.commit();
    s.out << QStringLiteral("Módosítva: %1\n").arg(BookKeyText(tbl.value(QStringLiteral("konyvek"))));
    return Done;
}

int RunLend(Session &s, const Args &a) {
    const qint64 key = BookKeyArg(a.positional.first());
    if (!a.has(QStringLiteral("to")))
        throw UsageError(QStringLiteral("Kinek? Adja meg: --to NÉV"));
    // The window may lend to an empty name after its question; a script that passes blanks
    // has lost its borrower somewhere, and a book lent to nobody cannot be chased.
    if (a.value(QStringLiteral("to")).trimmed().isEmpty())
        throw Error(QStringLiteral("Kinek? A kölcsönvevő neve nem lehet üres."));
    Db &db = s.catalogue();
    BookList tbl(db);
    OpenBook(db, tbl, key);
    if (const QString refusal = LendRefusal(tbl); !refusal.isEmpty())
        throw Error(refusal);
    LendBook(tbl, a.value(QStringLiteral("to")), QDate::currentDate());
    s.out << QStringLiteral("Kölcsönadva: %1, %2\n").arg(BookKeyText(key), tbl.text(QStringLiteral("kolcsonadva_kinek")));
    return Done;
}

int RunReturn(Session &s, const Args &a) {
    const qint64 key = BookKeyArg(a.positional.first());
    Db &db = s.catalogue();
    BookList tbl(db);
    OpenBook(db, tbl, key);
    if (const QString refusal = TakeBackRefusal(tbl); !refusal.isEmpty())
        throw Error(refusal);
    TakeBackBook(tbl);
    s.out << QStringLiteral("Visszavéve: %1\n").arg(BookKeyText(key));
    return Done;
}

} // namespace kodexa::cli
