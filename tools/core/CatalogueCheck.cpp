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

namespace {

// The check in its steps: the engine's integrity check, the lookup rows, one pass over the
// books, the findings, and the repair.
class Checker {
public:
    explicit Checker(Db &db) : db_(db), fields_(TableFields(db, QStringLiteral("konyvek"))) {}

    QStringList integrity();
    void readLookups();
    void checkBooks();
    void report(CheckReport &r) const;
    bool repairable() const { return !toFix_.isEmpty() || !lookupKeyFixes_.isEmpty(); }
    void repair(CheckReport &r);

private:
    QStringList bookColumns();
    void checkBook(const Stmt &s);
    bool repairBook(qint64 rowid, Stmt &read, RowWriter &writer);

    Db &db_;
    FieldListPtr fields_;
    // The lookup rows by key (the first row of a key, as the lookups find it), and the
    // lookup rows whose own search key is wrong.
    QVector<Lookup> lookups_;
    QVector<QPair<QString, qint64>> lookupKeyFixes_;
    QVector<QPair<int, int>> keyed_; // the positions of a keyed text and its key in the book pass
    QStringList keyNames_;
    Tally lookupKeys_, keys_, copies_, dangling_, deleted_;
    QVector<qint64> toFix_;
};

QStringList Checker::integrity() {
    QStringList out;
    Stmt s = db_.prepare(QStringLiteral("PRAGMA integrity_check"));
    while (s.step())
        if (s.text(0) != QLatin1String("ok"))
            out << s.text(0);
    return out;
}

void Checker::readLookups() {
    for (const LookupTable &t : LookupTables()) {
        Lookup l;
        l.table = QLatin1String(t.table);
        l.nameColumn = QLatin1String(t.nameColumn);
        if (!db_.hasTable(l.table) || fields_->indexOf(l.table) < 0 || fields_->indexOf(l.nameColumn) < 0)
            continue;
        l.keyed = t.keyed();
        l.copySize = fields_->fields[fields_->indexOf(l.nameColumn)].size;
        Stmt s = db_.prepare(l.keyed ? QStringLiteral("SELECT rowid, %1, %2, %3 FROM %1").arg(l.table, l.nameColumn, QLatin1String(t.searchKeyColumn))
                                     : QStringLiteral("SELECT rowid, %1, %2 FROM %1").arg(l.table, l.nameColumn));
        while (s.step()) {
            if (!s.isNull(1) && !l.names.contains(s.int64(1)))
                l.names.insert(s.int64(1), s.text(2));
            if (l.keyed && !SameKey(s.value(3), SearchKey(s.text(2)))) {
                lookupKeys_.add(l.table);
                ++lookupKeys_.rows;
                lookupKeyFixes_.append({l.table, s.int64(0)});
            }
        }
        lookups_.append(l);
    }
}

// The columns of the book pass: rowid and key, each keyed text beside its key, and each
// lookup's key beside the book's copy of its name.
QStringList Checker::bookColumns() {
    QStringList columns{QStringLiteral("rowid"), QStringLiteral("konyvek")};
    auto addKeyed = [&](const QString &source, const QString &key) {
        if (fields_->indexOf(source) < 0 || fields_->indexOf(key) < 0)
            return;
        keyed_.append({int(columns.size()), int(columns.size()) + 1});
        keyNames_ << key;
        columns << source << key;
    };
    for (const QString &src : KeyedTexts())
        addKeyed(src, KeyColumn(src));
    addKeyed(QStringLiteral("kulcsszavak"), QStringLiteral("kulcsszavaks"));
    for (Lookup &l : lookups_) {
        l.bookKey = int(columns.size());
        l.bookName = l.bookKey + 1;
        columns << l.table << l.nameColumn;
    }
    return columns;
}

void Checker::checkBooks() {
    Stmt s = db_.prepare(QStringLiteral("SELECT %1 FROM konyvek").arg(bookColumns().join(QLatin1Char(','))));
    while (s.step())
        checkBook(s);
}

void Checker::checkBook(const Stmt &s) {
    bool badKey = false, badCopy = false, badLink = false, keptName = false;
    for (qsizetype i = 0; i < keyed_.size(); ++i) {
        const QString text = s.text(keyed_[i].first);
        const bool whole = keyNames_[i] == QLatin1String("kulcsszavaks");
        if (!SameKey(s.value(keyed_[i].second), whole ? NormalizeKey(text) : SearchKey(text))) {
            keys_.add(keyNames_[i]);
            badKey = true;
        }
    }
    for (const Lookup &l : lookups_) {
        if (s.isNull(l.bookKey))
            continue;
        const QString name = s.text(l.bookName);
        const auto it = l.names.constFind(s.int64(l.bookKey));
        if (it == l.names.cend()) {
            // Deleting a lookup row that books use keeps their key and their copy of the
            // name on purpose; only a key with no name to show is broken.
            (name.isEmpty() ? dangling_ : deleted_).add(l.table);
            (name.isEmpty() ? badLink : keptName) = true;
            continue;
        }
        // A cleared name keeps its old key on purpose; only a name that is there must agree.
        const QString expected = l.copySize > 0 ? it->left(l.copySize) : *it;
        if (!name.isEmpty() && name != expected) {
            copies_.add(l.table);
            badCopy = true;
        }
    }
    const QVariant bookKey = s.value(1);
    if (badKey)
        keys_.row(bookKey);
    if (badCopy)
        copies_.row(bookKey);
    if (badLink)
        dangling_.row(bookKey);
    if (keptName)
        deleted_.row(bookKey);
    if (badKey || badCopy)
        toFix_.append(s.int64(0));
}

void Checker::report(CheckReport &r) const {
    r.keyRows = keys_.rows;
    r.copyRows = copies_.rows;
    r.lookupKeyRows = lookupKeys_.rows;
    r.danglingRows = dangling_.rows;
    r.deletedLookupRows = deleted_.rows;
    if (keys_.rows)
        r.findings << keys_.line(QStringLiteral("Keresőkulcs eltér a szövegétől"), QStringLiteral("könyv"));
    if (copies_.rows)
        r.findings << copies_.line(QStringLiteral("Névmásolat eltér a törzsadattól"), QStringLiteral("könyv"));
    if (lookupKeys_.rows)
        r.findings << lookupKeys_.line(QStringLiteral("Törzsadat keresőkulcsa eltér a nevétől"), QStringLiteral("sor"));
    if (dangling_.rows)
        r.findings << dangling_.line(QStringLiteral("Nem létező törzsadatra mutató kulcs"), QStringLiteral("könyv"));
    if (deleted_.rows)
        r.notices << QStringLiteral("Megjegyzés: törölt törzsadatra mutat: %1 könyv; a nevüket megtartották (%2).")
                         .arg(deleted_.rows)
                         .arg(deleted_.perText());
}

// The book read again, its name copies taken from the lookup rows and its search keys
// worked out by the book record rules.
bool Checker::repairBook(qint64 rowid, Stmt &read, RowWriter &writer) {
    read.reset();
    read.bind(1, rowid);
    if (!read.step())
        return false;
    Record book(fields_);
    book.rowid = rowid;
    for (int i = 0; i < fields_->size(); ++i)
        book.values[i] = read.value(i + 1);
    read.reset();
    for (const Lookup &l : lookups_) {
        const QVariant key = book.value(l.table);
        if (key.isNull() || book.text(l.nameColumn).isEmpty())
            continue;
        const auto it = l.names.constFind(key.toLongLong());
        if (it != l.names.cend())
            book.setValue(l.nameColumn, *it);
    }
    TblBeforePost(book);
    writer.update(book);
    return true;
}

void Checker::repair(CheckReport &r) {
    Transaction tx(db_);
    {
        Stmt read = db_.prepare(QStringLiteral("SELECT rowid, * FROM konyvek WHERE rowid=?1"));
        RowWriter writer(db_, QStringLiteral("konyvek"));
        for (qint64 rowid : toFix_)
            if (repairBook(rowid, read, writer))
                ++r.fixedBooks;
    }
    for (const auto &[table, rowid] : lookupKeyFixes_) {
        const LookupTable &t = LookupFor(table);
        Stmt name = db_.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE rowid=?1").arg(QLatin1String(t.nameColumn), table));
        name.bind(1, rowid);
        if (!name.step())
            continue;
        Stmt up = db_.prepare(QStringLiteral("UPDATE %1 SET %2=?1 WHERE rowid=?2").arg(table, QLatin1String(t.searchKeyColumn)));
        up.bind(1, SearchKey(name.text(0))).bind(2, rowid);
        up.exec();
        ++r.fixedLookups;
    }
    tx.commit();
    r.repaired = true;
}

} // namespace

CheckReport CheckCatalogue(Db &db, bool fix) {
    CheckReport r;
    Checker check(db);
    r.integrity = check.integrity();
    check.readLookups();
    check.checkBooks();
    check.report(r);
    CheckMezo(db, r);
    if (fix && r.integrity.isEmpty() && check.repairable())
        check.repair(r);
    return r;
}

} // namespace kodexa
