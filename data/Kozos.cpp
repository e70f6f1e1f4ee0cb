#include "data/Kozos.h"

#include "data/Schema.h"

#include "data/LookupTables.h"
#include "data/Seged.h"

#include <QDate>
#include <QDir>
#include <QFile>

namespace kodexa {

qint64 NextKey(Db &db, const QString &column, const QString &table) {
    const QString t = table.isEmpty() ? column : table;
    const QVariant max = db.scalar(QStringLiteral("SELECT MAX(%1) AS maxid FROM %2;").arg(column, t));
    return (max.isNull() ? 0 : max.toLongLong()) + 1;
}

void RunStatement(Db &db, const QString &sql) noexcept {
    try {
        db.exec(sql);
    } catch (...) {
        // Deliberately silent: callers treat these statements as best effort.
    }
}

QString NameList(Db &db, const QString &table) {
    const LookupTable &t = LookupFor(table);
    Stmt s = db.prepare(QStringLiteral("SELECT %1 AS mezo FROM %2 ORDER BY 1;").arg(QLatin1String(t.nameColumn), table));
    QString out;
    while (s.step())
        out += s.text(0) + QStringLiteral("\r\n");
    return out;
}

void ResolveLookup(Db &db, const QString &table, Record &book) {
    const LookupTable &t = LookupFor(table);
    const QString nameCol = QLatin1String(t.nameColumn);
    const QString keyCol = QLatin1String(t.searchKeyColumn);
    const QString name = book.text(nameCol);
    if (name.isEmpty())
        return;
    const bool keyed = t.keyed();
    // Natural order of the table; A-Z compare without case, every other character exactly.
    Stmt s = db.prepare(QStringLiteral("SELECT %1, %2 FROM %1").arg(table, nameCol));
    while (s.step()) {
        const QString stored = s.text(1);
        if (EqualsAsciiNoCase(stored, name)) {
            book.setValue(table, s.value(0));
            book.setValue(nameCol, stored);
            if (keyed)
                book.setValue(keyCol, SearchKey(stored));
            return;
        }
    }
    const qint64 key = NextKey(db, table);
    Stmt ins = db.prepare(keyed ? QStringLiteral("INSERT INTO %1 (%1, %2, %3) VALUES (?1, ?2, ?3)").arg(table, nameCol, keyCol)
                                : QStringLiteral("INSERT INTO %1 (%1, %2) VALUES (?1, ?2)").arg(table, nameCol));
    ins.bind(1, key).bind(2, name);
    if (keyed)
        ins.bind(3, SearchKey(name));
    ins.exec();
    book.setValue(table, key);
}

namespace {
QString FoldAsciiLetters(const QString &s) {
    QString r = s;
    for (QChar &c : r)
        if (c.unicode() >= 'a' && c.unicode() <= 'z')
            c = QChar(c.unicode() - 32);
    return r;
}
} // namespace

void LookupResolver::load(const LookupTable &def, Table &t) {
    const QString table = QLatin1String(def.table);
    const QString nameCol = QLatin1String(def.nameColumn);
    Stmt s = db_.prepare(QStringLiteral("SELECT %1, %2 FROM %1").arg(table, nameCol));
    while (s.step()) {
        if (!s.isNull(0))
            t.maxKey = std::max(t.maxKey, s.int64(0));
        const QString stored = s.text(1);
        const QString folded = FoldAsciiLetters(stored);
        if (!t.byName.contains(folded)) // the first row in table order wins, as in ResolveLookup
            t.byName.insert(folded, Entry{s.int64(0), stored});
    }
    t.insert = std::make_unique<Stmt>(
        db_, def.keyed() ? QStringLiteral("INSERT INTO %1 (%1, %2, %3) VALUES (?1, ?2, ?3)").arg(table, nameCol, QLatin1String(def.searchKeyColumn))
                         : QStringLiteral("INSERT INTO %1 (%1, %2) VALUES (?1, ?2)").arg(table, nameCol));
    t.loaded = true;
}

void LookupResolver::resolve(const QString &table, Record &book) { resolve(LookupFor(table), book); }

void LookupResolver::resolve(const LookupTable &def, Record &book) {
    std::shared_ptr<Table> &slot = tables_[&def];
    if (!slot)
        slot = std::make_shared<Table>();
    Table &t = *slot;
    if (!book.fieldList())
        (void)book.value(QLatin1String(def.nameColumn)); // throws: a row of no table
    if (t.fields.get() != &book.fields()) {
        const FieldList &f = book.fields();
        t.fields = book.fieldList();
        t.nameColumn = f.indexOf(QLatin1String(def.nameColumn));
        t.keyColumn = f.indexOf(QLatin1String(def.table));
        t.searchKeyColumn = def.keyed() ? f.indexOf(QLatin1String(def.searchKeyColumn)) : -1;
    }
    // A row without one of the columns fails as a look-up by name fails.
    const auto need = [&](int column, const char *name) {
        if (column < 0)
            (void)book.value(QLatin1String(name));
        return column;
    };
    const QString name = VarToText(book.values[need(t.nameColumn, def.nameColumn)]);
    if (name.isEmpty())
        return;
    if (!t.loaded)
        load(def, t);
    const int keyColumn = need(t.keyColumn, def.table);
    const QString folded = FoldAsciiLetters(name);
    auto it = t.byName.constFind(folded);
    if (it != t.byName.constEnd()) {
        book.setValue(keyColumn, it->key);
        book.setValue(t.nameColumn, it->name);
        if (def.keyed())
            book.setValue(need(t.searchKeyColumn, def.searchKeyColumn), SearchKey(it->name));
        return;
    }
    const qint64 key = ++t.maxKey;
    Stmt &ins = *t.insert;
    ins.reset();
    ins.bind(1, key).bind(2, name);
    if (def.keyed())
        ins.bind(3, SearchKey(name));
    ins.exec();
    ++created_;
    t.byName.insert(folded, Entry{key, name});
    book.setValue(keyColumn, key);
}

QString PicturePath(qint64 key) {
    const QString dir = ProgramPath(QStringLiteral("Images"));
    QDir().mkpath(dir);
    return dir + QLatin1Char('/') + KeyText(key) + QStringLiteral(".jpg");
}

SearchKeyFiller::SearchKeyFiller(const FieldList &fields) {
    const auto add = [&](const QString &source, const QString &key, bool normalized) {
        const int k = fields.indexOf(key);
        if (k >= 0)
            keyed_.append({source, fields.indexOf(source), k, normalized});
    };
    for (const QString &src : KeyedTexts())
        add(src, KeyColumn(src), false);
    add(QStringLiteral("kulcsszavak"), QStringLiteral("kulcsszavaks"), true);
}

void SearchKeyFiller::fill(Record &book) const {
    for (const Keyed &k : keyed_) {
        // A key whose text the row lacks fails as reading that text by name fails.
        const QString text = k.sourceColumn >= 0 ? VarToText(book.values[k.sourceColumn]) : book.text(k.source);
        book.setValue(k.keyColumn, k.normalized ? NormalizeKey(text) : SearchKey(text));
    }
}

void TblBeforePost(Record &book) { SearchKeyFiller(book.fields()).fill(book); }

void NewBookDefaults(Db &db, Record &book) {
    book.setValue(QStringLiteral("konyvek"), NextKey(db, QStringLiteral("konyvek")));
    book.setValue(QStringLiteral("dedikalt"), QStringLiteral("N"));
    book.setValue(QStringLiteral("kolcsonadva"), QStringLiteral("N"));
    book.setValue(QStringLiteral("dat_besz"), QDate::currentDate());
}

QStringList RenameStatements(const QString &table, qint64 key, const QString &newName) {
    const LookupTable &t = LookupFor(table);
    QStringList out;
    // One pass of arg(): a "%1" in the name stays text.
    const QString update = QStringLiteral("UPDATE konyvek SET %1=%2 WHERE %3=%4;");
    // The books' copy holds what its column holds, as when the name is chosen in the editor.
    QString copy = newName;
    for (const ColumnDef &c : BookColumns())
        if (QLatin1String(c.name) == QLatin1String(t.nameColumn))
            if (const FieldInfo f = FieldFromDecl(QLatin1String(c.name), QLatin1String(c.type)); f.size > 0)
                copy.truncate(f.size);
    out << update.arg(QLatin1String(t.nameColumn), SqlQuote(copy), table, QString::number(key));
    if (t.keyed())
        out << update.arg(QLatin1String(t.searchKeyColumn), SqlQuote(SearchKey(newName)), table, QString::number(key));
    return out;
}

void ResolveBookLookups(Db &db, Record &book) {
    for (const LookupTable *t : BookResolveOrder())
        ResolveLookup(db, QLatin1String(t->table), book);
}

} // namespace kodexa
