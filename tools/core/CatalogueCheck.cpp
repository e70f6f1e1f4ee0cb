#include "tools/core/CatalogueCheck.h"

#include "data/Dataset.h"
#include "data/Kozos.h"
#include "data/Schema.h"
#include "data/Seged.h"
#include "edit/core/BookEdit.h"

#include <QHash>
#include <QMap>
#include <QSet>

namespace kodexa {

namespace {

constexpr int Examples = 5;

// What a broken rule has met: a count per column or table, and the first few book keys.
struct Tally {
    QMap<QString, int> per;
    QStringList examples;
    int rows = 0;

    void add(const QString &what) { ++per[what]; }
    void row(const QVariant &bookKey) {
        ++rows;
        if (examples.size() < Examples)
            examples << BookKeyText(bookKey);
    }
    QString perText() const {
        QStringList parts;
        for (auto it = per.cbegin(); it != per.cend(); ++it)
            parts << QStringLiteral("%1: %2").arg(it.key()).arg(it.value());
        return parts.join(QStringLiteral(", "));
    }
    QString line(const QString &lead, const QString &unit) const {
        QString s = QStringLiteral("%1: %2 %3 (%4).").arg(lead).arg(rows).arg(unit, perText());
        if (!examples.isEmpty())
            s += QStringLiteral(" Például: %1").arg(examples.join(QStringLiteral(", ")));
        return s;
    }
};

// A NULL key and an empty one say the same: the text is empty.
bool SameKey(const QVariant &stored, const QString &expected) { return VarToText(stored) == expected; }

struct Lookup {
    QString table;
    QString nameColumn; // in the book
    bool keyed = false;
    int copySize = 0;   // the book's copy holds this many characters (0: unbounded)
    QHash<qint64, QString> names;
    int bookKey = -1, bookName = -1; // column positions in the book statement
};

void CheckMezo(Db &db, CheckReport &r) {
    if (!db.hasTable(QStringLiteral("mezo")))
        return;
    QVector<qint64> positions;
    int marks = 0;
    QStringList unknown;
    const FieldListPtr books = TableFields(db, QStringLiteral("konyvek"));
    Stmt s = db.prepare(QStringLiteral("SELECT mezo, mezo_nev, sorrend FROM mezo ORDER BY mezo"));
    while (s.step()) {
        positions << (s.isNull(0) ? -1 : s.int64(0));
        if (s.text(2) == QLatin1String("I"))
            ++marks;
        if (books->indexOf(s.text(1)) < 0)
            unknown << (s.text(1).isEmpty() ? QStringLiteral("(üres)") : s.text(1));
    }
    QVector<qint64> expected;
    for (int i = 1; i <= 15; ++i)
        expected << i;
    if (positions != expected) {
        QStringList shown;
        for (qint64 p : positions)
            shown << (p < 0 ? QStringLiteral("NULL") : QString::number(p));
        r.findings << QStringLiteral("A mezo tábla pozíciói nem 1–15: %1.").arg(shown.join(QStringLiteral(", ")));
        r.mezoOk = false;
    }
    if (marks != 1) {
        r.findings << QStringLiteral("A mezo táblában %1 sor hordoz rendezési jelet (pontosan egy kell).").arg(marks);
        r.mezoOk = false;
    }
    if (!unknown.isEmpty()) {
        r.findings << QStringLiteral("A mezo tábla nem létező könyvoszlopot nevez meg: %1.").arg(unknown.join(QStringLiteral(", ")));
        r.mezoOk = false;
    }
}

} // namespace

bool CheckReport::clean() const {
    const bool rulesOk = repaired || (keyRows == 0 && copyRows == 0 && lookupKeyRows == 0);
    return integrity.isEmpty() && mezoOk && danglingRows == 0 && rulesOk;
}

CheckReport CheckCatalogue(Db &db, bool fix) {
    CheckReport r;
    {
        Stmt s = db.prepare(QStringLiteral("PRAGMA integrity_check"));
        while (s.step())
            if (s.text(0) != QLatin1String("ok"))
                r.integrity << s.text(0);
    }

    const FieldListPtr fields = TableFields(db, QStringLiteral("konyvek"));
    // The lookup rows by key (the first row of a key, as the lookups find it), and the
    // lookup rows whose own search key is wrong.
    QVector<Lookup> lookups;
    QVector<QPair<QString, qint64>> lookupKeyFixes;
    Tally lookupKeys;
    for (const LookupTable &t : LookupTables()) {
        Lookup l;
        l.table = QLatin1String(t.table);
        l.nameColumn = QLatin1String(t.nameColumn);
        if (!db.hasTable(l.table) || fields->indexOf(l.table) < 0 || fields->indexOf(l.nameColumn) < 0)
            continue;
        l.keyed = t.keyed();
        l.copySize = fields->fields[fields->indexOf(l.nameColumn)].size;
        Stmt s = db.prepare(l.keyed ? QStringLiteral("SELECT rowid, %1, %2, %3 FROM %1").arg(l.table, l.nameColumn, QLatin1String(t.searchKeyColumn))
                                    : QStringLiteral("SELECT rowid, %1, %2 FROM %1").arg(l.table, l.nameColumn));
        while (s.step()) {
            if (!s.isNull(1) && !l.names.contains(s.int64(1)))
                l.names.insert(s.int64(1), s.text(2));
            if (l.keyed && !SameKey(s.value(3), SearchKey(s.text(2)))) {
                lookupKeys.add(l.table);
                ++lookupKeys.rows;
                lookupKeyFixes.append({l.table, s.int64(0)});
            }
        }
        lookups.append(l);
    }

    // One pass over the books: texts and their keys, lookup keys and name copies.
    QStringList columns{QStringLiteral("rowid"), QStringLiteral("konyvek")};
    QVector<QPair<int, int>> keyed; // source, key positions
    QStringList keyNames;
    auto addKeyed = [&](const QString &source, const QString &key) {
        if (fields->indexOf(source) < 0 || fields->indexOf(key) < 0)
            return;
        keyed.append({int(columns.size()), int(columns.size()) + 1});
        keyNames << key;
        columns << source << key;
    };
    for (const QString &src : KeyedTexts())
        addKeyed(src, KeyColumn(src));
    addKeyed(QStringLiteral("kulcsszavak"), QStringLiteral("kulcsszavaks"));
    for (Lookup &l : lookups) {
        l.bookKey = int(columns.size());
        l.bookName = l.bookKey + 1;
        columns << l.table << l.nameColumn;
    }
    Tally keys, copies, dangling, deleted;
    QVector<qint64> toFix;
    {
        Stmt s = db.prepare(QStringLiteral("SELECT %1 FROM konyvek").arg(columns.join(QLatin1Char(','))));
        while (s.step()) {
            bool badKey = false, badCopy = false, badLink = false, keptName = false;
            for (qsizetype i = 0; i < keyed.size(); ++i) {
                const QString text = s.text(keyed[i].first);
                const bool whole = keyNames[i] == QLatin1String("kulcsszavaks");
                if (!SameKey(s.value(keyed[i].second), whole ? NormalizeKey(text) : SearchKey(text))) {
                    keys.add(keyNames[i]);
                    badKey = true;
                }
            }
            for (const Lookup &l : lookups) {
                if (s.isNull(l.bookKey))
                    continue;
                const auto it = l.names.constFind(s.int64(l.bookKey));
                if (it == l.names.cend()) {
                    // Deleting a lookup row that books use keeps their key and their copy
                    // of the name on purpose; only a key with no name to show is broken.
                    if (s.text(l.bookName).isEmpty()) {
                        dangling.add(l.table);
                        badLink = true;
                    } else {
                        deleted.add(l.table);
                        keptName = true;
                    }
                    continue;
                }
                // A cleared name keeps its old key on purpose; only a name that is there must agree.
                const QString name = s.text(l.bookName);
                const QString expected = l.copySize > 0 ? it->left(l.copySize) : *it;
                if (!name.isEmpty() && name != expected) {
                    copies.add(l.table);
                    badCopy = true;
                }
            }
            const QVariant bookKey = s.value(1);
            if (badKey)
                keys.row(bookKey);
            if (badCopy)
                copies.row(bookKey);
            if (badLink)
                dangling.row(bookKey);
            if (keptName)
                deleted.row(bookKey);
            if (badKey || badCopy)
                toFix.append(s.int64(0));
        }
    }
    r.keyRows = keys.rows;
    r.copyRows = copies.rows;
    r.lookupKeyRows = lookupKeys.rows;
    r.danglingRows = dangling.rows;
    if (keys.rows)
        r.findings << keys.line(QStringLiteral("Keresőkulcs eltér a szövegétől"), QStringLiteral("könyv"));
    if (copies.rows)
        r.findings << copies.line(QStringLiteral("Névmásolat eltér a törzsadattól"), QStringLiteral("könyv"));
    if (lookupKeys.rows)
        r.findings << lookupKeys.line(QStringLiteral("Törzsadat keresőkulcsa eltér a nevétől"), QStringLiteral("sor"));
    if (dangling.rows)
        r.findings << dangling.line(QStringLiteral("Nem létező törzsadatra mutató kulcs"), QStringLiteral("könyv"));
    if (deleted.rows)
        r.notices << QStringLiteral("Megjegyzés: törölt törzsadatra mutat: %1 könyv; a nevüket megtartották (%2).")
                         .arg(deleted.rows)
                         .arg(deleted.perText());
    r.deletedLookupRows = deleted.rows;
    CheckMezo(db, r);

    if (!fix || !r.integrity.isEmpty() || (toFix.isEmpty() && lookupKeyFixes.isEmpty()))
        return r;
    Transaction tx(db);
    {
        Stmt read = db.prepare(QStringLiteral("SELECT rowid, * FROM konyvek WHERE rowid=?1"));
        RowWriter writer(db, QStringLiteral("konyvek"));
        for (qint64 rowid : toFix) {
            read.reset();
            read.bind(1, rowid);
            if (!read.step())
                continue;
            Record book(fields);
            book.rowid = rowid;
            for (int i = 0; i < fields->size(); ++i)
                book.values[i] = read.value(i + 1);
            read.reset();
            for (const Lookup &l : lookups) {
                const QVariant key = book.value(l.table);
                if (key.isNull() || book.text(l.nameColumn).isEmpty())
                    continue;
                const auto it = l.names.constFind(key.toLongLong());
                if (it != l.names.cend())
                    book.setValue(l.nameColumn, *it);
            }
            TblBeforePost(book);
            writer.update(book);
            ++r.fixedBooks;
        }
    }
    for (const auto &[table, rowid] : lookupKeyFixes) {
        const LookupTable &t = LookupFor(table);
        Stmt name = db.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE rowid=?1").arg(QLatin1String(t.nameColumn), table));
        name.bind(1, rowid);
        if (!name.step())
            continue;
        Stmt up = db.prepare(QStringLiteral("UPDATE %1 SET %2=?1 WHERE rowid=?2").arg(table, QLatin1String(t.searchKeyColumn)));
        up.bind(1, SearchKey(name.text(0))).bind(2, rowid);
        up.exec();
        ++r.fixedLookups;
    }
    tx.commit();
    r.repaired = true;
    return r;
}

} // namespace kodexa
