#include "data/Kozos.h"

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

LookupResolver::Table &LookupResolver::load(const QString &table) {
    auto it = tables_.find(table);
    if (it != tables_.end())
        return **it;
    auto t = std::make_shared<Table>();
    const LookupTable &def = LookupFor(table);
    const QString nameCol = QLatin1String(def.nameColumn);
    t->keyed = def.keyed();
    Stmt s = db_.prepare(QStringLiteral("SELECT %1, %2 FROM %1").arg(table, nameCol));
    while (s.step()) {
        if (!s.isNull(0))
            t->maxKey = std::max(t->maxKey, s.int64(0));
        const QString stored = s.text(1);
        const QString folded = FoldAsciiLetters(stored);
        if (!t->byName.contains(folded)) // the first row in table order wins, as in ResolveLookup
            t->byName.insert(folded, Entry{s.int64(0), stored});
    }
    t->insert = std::make_unique<Stmt>(
        db_, t->keyed ? QStringLiteral("INSERT INTO %1 (%1, %2, %3) VALUES (?1, ?2, ?3)").arg(table, nameCol, QLatin1String(def.searchKeyColumn))
                      : QStringLiteral("INSERT INTO %1 (%1, %2) VALUES (?1, ?2)").arg(table, nameCol));
    return **tables_.insert(table, t);
}

void LookupResolver::resolve(const QString &table, Record &book) {
    const LookupTable &def = LookupFor(table);
    const QString nameCol = QLatin1String(def.nameColumn);
    const QString name = book.text(nameCol);
    if (name.isEmpty())
        return;
    Table &t = load(table);
    const QString folded = FoldAsciiLetters(name);
    auto it = t.byName.constFind(folded);
    if (it != t.byName.constEnd()) {
        book.setValue(table, it->key);
        book.setValue(nameCol, it->name);
        if (t.keyed)
            book.setValue(QLatin1String(def.searchKeyColumn), SearchKey(it->name));
        return;
    }
    const qint64 key = ++t.maxKey;
    Stmt &ins = *t.insert;
    ins.reset();
    ins.bind(1, key).bind(2, name);
    if (t.keyed)
        ins.bind(3, SearchKey(name));
    ins.exec();
    ++created_;
    t.byName.insert(folded, Entry{key, name});
    book.setValue(table, key);
}

QString PicturePath(qint64 key) {
    const QString dir = ProgramPath(QStringLiteral("Images"));
    QDir().mkpath(dir);
    return dir + QLatin1Char('/') + KeyText(key) + QStringLiteral(".jpg");
}

void TblBeforePost(Record &book) {
    for (const QString &src : KeyedTexts())
        if (book.has(KeyColumn(src)))
            book.setValue(KeyColumn(src), SearchKey(book.text(src)));
    if (book.has(QStringLiteral("kulcsszavaks")))
        book.setValue(QStringLiteral("kulcsszavaks"), NormalizeKey(book.text(QStringLiteral("kulcsszavak"))));
}

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
    out << update.arg(QLatin1String(t.nameColumn), SqlQuote(newName), table, QString::number(key));
    if (t.keyed())
        out << update.arg(QLatin1String(t.searchKeyColumn), SqlQuote(SearchKey(newName)), table, QString::number(key));
    return out;
}

void ResolveBookLookups(Db &db, Record &book) {
    for (const LookupTable *t : BookResolveOrder())
        ResolveLookup(db, QLatin1String(t->table), book);
}

} // namespace kodexa
