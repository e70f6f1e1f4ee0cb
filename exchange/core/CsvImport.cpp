#include "exchange/core/CsvImport.h"

#include "data/Dataset.h"
#include "data/Db.h"
#include "data/Kozos.h"
#include "data/LookupTables.h"
#include "data/Seged.h"
#include "data/Settings.h"
#include "exchange/core/BulkWrite.h"

#include <QCryptographicHash>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QSettings>
#include <QRegularExpression>
#include <algorithm>

namespace kodexa::csv {

namespace {

constexpr int ProgressRows = 256;
constexpr int ListedLines = 200; // refused rows, warnings and conflicts kept for the summary

// The book column a single-valued field fills.
const char *ColumnOf(Field f) {
    switch (f) {
    case Field::Title:
        return "cim";
    case Field::Subtitle:
        return "alcim";
    case Field::Publisher:
        return "kiado_nev";
    case Field::Series:
        return "sorozat_nev";
    case Field::Volume:
        return "kotetszam";
    case Field::Subject:
        return "targykor_nev";
    case Field::Genre:
        return "mufaj_nev";
    case Field::Language:
        return "nyelv_nev";
    case Field::Shelf:
        return "polc_nev";
    case Field::Isbn:
        return "isbn";
    case Field::Pages:
        return "terjedelem";
    case Field::Price:
        return "ar";
    case Field::Edition:
        return "kiadas";
    case Field::PurchaseDate:
        return "dat_besz";
    case Field::Keywords:
        return "kulcsszavak";
    case Field::Contents:
        return "tartalom";
    case Field::LentTo:
        return "kolcsonadva_kinek";
    case Field::LentOn:
        return "kolcsonadva_dat";
    default:
        return nullptr;
    }
}

// "Penguin (2003), Paperback, 352 pages" names the publisher before its year.
QString PublisherName(const QString &text) {
    static const QRegularExpression year(QStringLiteral("\\s*\\(\\d{4}.*$"));
    QString s = text;
    s.remove(year);
    return s.trimmed();
}

// One row made a book's values: column name → value, with what it cost on the way.
struct RowBook {
    QHash<QString, QVariant> values;
    QString title, firstAuthor;
    QString titleKey, authorKey; // MatchKey of the two, worked out once
    QString isbn13; // of a valid ISBN
    QStringList warnings;
};

class Runner {
public:
    Runner(Db &db, const CsvRun &run, CsvSummary &summary)
        : db_(db), run_(run), s_(summary), fields_(TableFields(db, QStringLiteral("konyvek"))), lookups_(db),
          searchKeys_(*fields_), writer_(db, QStringLiteral("konyvek")), insert_(prepareInsert()) {}

    void loadCatalogue();
    int createdLookups() const { return lookups_.created(); }
    void row(const QStringList &header, const QStringList &values, qint64 line);

private:
    RowBook read(const QStringList &values, qint64 line);
    void setText(RowBook &b, const QString &column, const QString &text, const QString &label);
    void setNumber(RowBook &b, Field f, const QString &text);
    void setDate(RowBook &b, Field f, const QString &text);
    void setNames(RowBook &b, const QStringList &display, const QStringList &sorted, const QStringList &editors);
    qint64 match(const RowBook &b, qint64 line);
    void remember(const RowBook &b, qint64 rowid);
    void add(const RowBook &b);
    void change(const RowBook &b, qint64 rowid, bool fillOnly);
    Stmt prepareInsert() {
        QStringList names, marks;
        for (int i = 0; i < fields_->size(); ++i) {
            names << fields_->fields[i].name;
            marks << QStringLiteral("?%1").arg(i + 1);
        }
        return db_.prepare(QStringLiteral("INSERT INTO konyvek (%1) VALUES (%2)")
                               .arg(names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
    }
    void note(QStringList &list, qint64 line, const QString &text) {
        if (list.size() < ListedLines)
            list << QStringLiteral("%1. sor: %2").arg(line).arg(text);
    }

    Db &db_;
    const CsvRun &run_;
    CsvSummary &s_;
    FieldListPtr fields_;
    LookupResolver lookups_;
    SearchKeyFiller searchKeys_;
    RowWriter writer_;
    Stmt insert_; // every column, prepared once for the run
    qint64 nextKey_ = 0;
    QHash<QString, qint64> byIsbn_;  // ISBN-13 → rowid
    QHash<QString, qint64> byTitle_; // title and first author → rowid
    QHash<qint64, QString> titleOf_; // rowid → title key
};

void Runner::loadCatalogue() {
    nextKey_ = NextKey(db_, QStringLiteral("konyvek"));
    Stmt s = db_.prepare(QStringLiteral("SELECT rowid, isbn, cim, szerzo_nev FROM konyvek"));
    while (s.step()) {
        RowBook b;
        b.title = s.text(2);
        b.firstAuthor = s.text(3);
        b.titleKey = MatchKey(b.title);
        b.authorKey = MatchKey(b.firstAuthor);
        if (const auto isbn = ReadIsbn(s.text(1)); isbn && isbn->valid)
            b.isbn13 = isbn->isbn13;
        remember(b, s.int64(0));
    }
}

void Runner::remember(const RowBook &b, qint64 rowid) {
    const QString &title = b.titleKey;
    if (!b.isbn13.isEmpty() && !byIsbn_.contains(b.isbn13))
        byIsbn_.insert(b.isbn13, rowid);
    if (!title.isEmpty()) {
        const QString key = title + QLatin1Char('|') + b.authorKey;
        if (!byTitle_.contains(key))
            byTitle_.insert(key, rowid);
    }
    titleOf_.insert(rowid, title);
}

void Runner::setText(RowBook &b, const QString &column, const QString &text, const QString &label) {
    const int f = fields_->indexOf(column);
    if (f < 0 || text.isEmpty())
        return;
    const int size = fields_->fields[f].size;
    if (size > 0 && text.size() > size)
        b.warnings << QStringLiteral("a(z) %1 %2 karakterre vágva").arg(label).arg(size);
    b.values.insert(column, size > 0 ? text.left(size) : text);
}

void Runner::setNumber(RowBook &b, Field f, const QString &text) {
    const std::optional<qint64> n = f == Field::Price ? ReadPrice(text) : ReadCount(text);
    if (n)
        b.values.insert(QLatin1String(ColumnOf(f)), *n);
    else
        b.warnings << QStringLiteral("a(z) %1 nem szám: %2 (üresen marad)").arg(FieldLabel(f), text);
}

void Runner::setDate(RowBook &b, Field f, const QString &text) {
    if (const std::optional<QDate> d = ReadDate(text, f == Field::PurchaseDate))
        b.values.insert(QLatin1String(ColumnOf(f)), *d);
    else
        b.warnings << QStringLiteral("a(z) %1 nem érthető dátum: %2 (üresen marad)").arg(FieldLabel(f), text);
}

void Runner::setNames(RowBook &b, const QStringList &display, const QStringList &sorted, const QStringList &editors) {
    QStringList names;
    for (const QString &v : sorted)
        names << SplitNames(v, true);
    if (names.isEmpty())
        for (const QString &v : display)
            names << SplitNames(v, false);
    QStringList more = names.mid(1);
    for (const QString &v : editors)
        more << SplitNames(v, false);
    if (!names.isEmpty()) {
        b.firstAuthor = names.first();
        setText(b, QStringLiteral("szerzo_nev"), names.first(), FieldLabel(Field::Authors));
    }
    setText(b, QStringLiteral("szerkesztok"), more.join(QStringLiteral("; ")), FieldLabel(Field::Editors));
}

RowBook Runner::read(const QStringList &values, qint64 line) {
    RowBook b;
    QStringList display, sorted, editors, keywords, contents;
    bool isbn13Seen = false; // an ISBN column read already; a later valid one still wins
    QString badIsbn;
    for (qsizetype i = 0; i < values.size() && i < run_.mapping.size(); ++i) {
        const Field f = run_.mapping[i];
        // One-line fields lose doubled blanks and stray line breaks; the contents keep its lines.
        const QString v = f == Field::Contents ? values[i].trimmed() : values[i].simplified();
        if (f == Field::Skip || v.isEmpty())
            continue;
        switch (f) {
        case Field::Authors: display << v; break;
        case Field::AuthorsSorted: sorted << v; break;
        case Field::Editors: editors << v; break;
        case Field::Keywords: keywords << v; break;
        case Field::Contents:
            contents << (v.contains(QLatin1Char('<')) || v.contains(QLatin1Char('&')) ? PlainText(v) : v);
            break;
        case Field::Isbn:
            if (const auto isbn = ReadIsbn(v); isbn && (isbn->valid || !isbn13Seen) && b.isbn13.isEmpty()) {
                isbn13Seen = true;
                b.isbn13 = isbn->isbn13;
                badIsbn = isbn->valid ? QString() : isbn->written;
                b.values.remove(QStringLiteral("isbn"));
                setText(b, QStringLiteral("isbn"), isbn->written, FieldLabel(f));
            }
            break;
        case Field::Volume: case Field::Pages: case Field::Price: case Field::Edition: setNumber(b, f, v); break;
        case Field::PurchaseDate: case Field::LentOn: setDate(b, f, v); break;
        case Field::Publisher: setText(b, QLatin1String(ColumnOf(f)), PublisherName(v), FieldLabel(f)); break;
        default: setText(b, QLatin1String(ColumnOf(f)), v, FieldLabel(f)); break;
        }
    }
    if (!badIsbn.isEmpty())
        b.warnings << QStringLiteral("az ISBN ellenőrző jegye hibás: %1 (így tárolva)").arg(badIsbn);
    setNames(b, display, sorted, editors);
    setText(b, QStringLiteral("kulcsszavak"), keywords.join(QStringLiteral("; ")), FieldLabel(Field::Keywords));
    setText(b, QStringLiteral("tartalom"), contents.join(QLatin1Char('\n')), FieldLabel(Field::Contents));
    b.title = b.values.value(QStringLiteral("cim")).toString();
    b.titleKey = MatchKey(b.title);
    b.authorKey = MatchKey(b.firstAuthor);
    for (const QString &w : b.warnings)
        note(s_.warnings, line, w);
    return b;
}

// The rowid of the book this row is, or 0. An ISBN match whose title clearly differs (two
// volumes under one ISBN, a mistyped ISBN) is a match, and listed as a conflict.
qint64 Runner::match(const RowBook &b, qint64 line) {
    const QString &title = b.titleKey;
    if (!b.isbn13.isEmpty()) {
        if (const auto it = byIsbn_.constFind(b.isbn13); it != byIsbn_.cend()) {
            const QString other = titleOf_.value(*it);
            if (!title.isEmpty() && !other.isEmpty() && !title.startsWith(other) && !other.startsWith(title))
                note(s_.conflicts, line, QStringLiteral("az ISBN (%1) egy más című könyvé: „%2”").arg(b.isbn13, b.title));
            return *it;
        }
    }
    if (title.isEmpty())
        return 0;
    return byTitle_.value(title + QLatin1Char('|') + b.authorKey, 0);
}

void Runner::add(const RowBook &b) {
    Record book(fields_);
    book.setValue(QStringLiteral("konyvek"), nextKey_++);
    book.setValue(QStringLiteral("kolcsonadva"), QStringLiteral("N"));
    book.setValue(QStringLiteral("dedikalt"), QStringLiteral("N"));
    book.setValue(QStringLiteral("dat_besz"), run_.today);
    for (auto it = b.values.cbegin(); it != b.values.cend(); ++it)
        book.setValue(it.key(), *it);
    if (!book.text(QStringLiteral("kolcsonadva_kinek")).isEmpty())
        book.setValue(QStringLiteral("kolcsonadva"), QStringLiteral("I"));
    for (const LookupTable *t : BookResolveOrder())
        lookups_.resolve(*t, book);
    searchKeys_.fill(book);
    insert_.reset();
    for (int i = 0; i < book.values.size(); ++i)
        insert_.bind(i + 1, book.values[i]);
    insert_.exec();
    remember(b, db_.lastInsertRowId());
    ++s_.added;
}

void Runner::change(const RowBook &b, qint64 rowid, bool fillOnly) {
    Stmt read = db_.prepare(QStringLiteral("SELECT rowid, * FROM konyvek WHERE rowid=?1"));
    read.bind(1, rowid);
    if (!read.step())
        return;
    Record book(fields_);
    book.rowid = rowid;
    for (int i = 0; i < fields_->size(); ++i)
        book.values[i] = read.value(i + 1);
    read.reset();
    QSet<QString> changed;
    for (auto it = b.values.cbegin(); it != b.values.cend(); ++it) {
        if (fillOnly && !VarToText(book.value(it.key())).isEmpty())
            continue;
        book.setValue(it.key(), *it);
        changed.insert(it.key());
    }
    if (changed.contains(QStringLiteral("kolcsonadva_kinek")))
        book.setValue(QStringLiteral("kolcsonadva"), QStringLiteral("I"));
    // Only a name the row gave is looked up: a kept copy of a deleted row stays as it is.
    for (const LookupTable *t : BookResolveOrder())
        if (changed.contains(QLatin1String(t->nameColumn)))
            lookups_.resolve(*t, book);
    searchKeys_.fill(book);
    writer_.update(book);
    ++(fillOnly ? s_.filled : s_.replaced);
}

void Runner::row(const QStringList &header, const QStringList &values, qint64 line) {
    if (values.size() > header.size()) {
        ++s_.read;
        ++s_.refusedRows;
        note(s_.refused, line, QStringLiteral("több mező van benne (%1), mint a fejlécben (%2)").arg(values.size()).arg(header.size()));
        return;
    }
    ++s_.read;
    if (std::all_of(values.cbegin(), values.cend(), [](const QString &v) { return v.trimmed().isEmpty(); })) {
        ++s_.blank;
        return;
    }
    const RowBook b = read(values, line);
    if (b.values.isEmpty()) {
        ++s_.refusedRows;
        note(s_.refused, line, QStringLiteral("egyik kijelölt oszlopában sincs érték"));
        return;
    }
    const qint64 existing = match(b, line);
    if (existing)
        ++s_.matches;
    if (!existing || run_.duplicates == Duplicates::Add)
        add(b);
    else if (run_.duplicates == Duplicates::Skip)
        ++s_.skipped;
    else
        change(b, existing, run_.duplicates == Duplicates::Fill);
}

} // namespace

namespace {
// One entry per header: the header's items hashed, so the key stays a plain name.
QString MappingSettingsKey(const QStringList &header) {
    const QByteArray digest = QCryptographicHash::hash(header.join(QChar(0x1F)).toUtf8(), QCryptographicHash::Sha1);
    return QStringLiteral("CsvMapping/%1").arg(QString::fromLatin1(digest.toHex().left(16)));
}
} // namespace

std::optional<QVector<Field>> RememberedMapping(const QStringList &header) {
    const QSettings ini(IniPath(), QSettings::IniFormat);
    const QString text = ini.value(MappingSettingsKey(header)).toString();
    if (text.isEmpty())
        return std::nullopt;
    try {
        return MappingFromText(header, text);
    } catch (const Error &) {
        return std::nullopt; // a hand-edited entry that no longer reads: guessed again
    }
}

void RememberMapping(const QStringList &header, const QVector<Field> &mapping) {
    UpdateIni({{MappingSettingsKey(header), MappingText(header, mapping)}});
}

QString DuplicatesKey(Duplicates d) {
    switch (d) {
    case Duplicates::Skip:
        return QStringLiteral("skip");
    case Duplicates::Add:
        return QStringLiteral("add");
    case Duplicates::Fill:
        return QStringLiteral("fill");
    case Duplicates::Replace:
        return QStringLiteral("replace");
    }
    return {};
}

std::optional<Duplicates> DuplicatesFromKey(const QString &key) {
    for (Duplicates d : {Duplicates::Skip, Duplicates::Add, Duplicates::Fill, Duplicates::Replace})
        if (DuplicatesKey(d) == key)
            return d;
    return std::nullopt;
}

QString SummaryText(const CsvSummary &s) {
    QStringList out;
    if (s.dryRun)
        out << QStringLiteral("Próbafuttatás: a katalógus nem változott.");
    if (s.cancelled)
        out << QStringLiteral("Megszakítva: a katalógus nem változott.");
    out << QStringLiteral("Beolvasott sorok: %1").arg(s.read) << QStringLiteral("Új könyvek: %1").arg(s.added)
        << QStringLiteral("Kiegészített könyvek: %1").arg(s.filled) << QStringLiteral("Felülírt könyvek: %1").arg(s.replaced)
        << QStringLiteral("Kihagyott másodpéldányok: %1").arg(s.skipped)
        << QStringLiteral("Már meglévő könyvek a fájlban: %1").arg(s.matches)
        << QStringLiteral("Üres sorok: %1").arg(s.blank) << QStringLiteral("Visszautasított sorok: %1").arg(s.refusedRows)
        << QStringLiteral("Új törzsadatok: %1").arg(s.newLookups);
    const auto section = [&out](const QString &title, const QStringList &lines) {
        if (lines.isEmpty())
            return;
        out << QString() << title;
        for (const QString &l : lines)
            out << QStringLiteral("  ") + l;
    };
    section(QStringLiteral("Visszautasított sorok:"), s.refused);
    section(QStringLiteral("Ütközések (egyező ISBN, eltérő cím):"), s.conflicts);
    section(QStringLiteral("Figyelmeztetések:"), s.warnings);
    return out.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

namespace {

// The rows of a file, reckoned from the length of the lines at its start.
qint64 ExpectedRows(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray head = f.read(64 * 1024);
    const qint64 lines = std::max<qint64>(1, head.count('\n'));
    return f.size() * lines / std::max<qint64>(1, head.size());
}

CsvSummary RunRecords(Db &db, CsvReader &reader, const CsvRun &run, qint64 expectedRows, const std::function<bool()> &goOn) {
    CsvSummary s;
    s.dryRun = run.dryRun;
    QStringList header, values;
    QString error;
    if (!reader.next(header, error) || !error.isEmpty() ||
        std::all_of(header.cbegin(), header.cend(), [](const QString &h) { return h.trimmed().isEmpty(); }))
        throw Error(QStringLiteral("A fájl első sora nem fejléc: nincsenek benne oszlopnevek."));
    BulkWrite bulk(db, expectedRows);
    Runner runner(db, run, s);
    runner.loadCatalogue();
    qint64 rows = 0;
    while (reader.next(values, error)) {
        if (!error.isEmpty()) {
            ++s.read;
            ++s.refusedRows;
            if (s.refused.size() < ListedLines)
                s.refused << QStringLiteral("%1. sor: %2").arg(reader.line()).arg(error);
        } else {
            runner.row(header, values, reader.line());
        }
        if (goOn && ++rows % ProgressRows == 0 && !goOn()) {
            s.cancelled = true;
            return s; // the transaction rolls back
        }
    }
    if (goOn && !goOn()) {
        s.cancelled = true;
        return s;
    }
    s.newLookups = runner.createdLookups();
    if (!run.dryRun)
        bulk.commit();
    return s;
}

} // namespace

CsvSummary RunCsvImport(Db &db, const QString &text, const CsvRun &run,
                        const std::function<bool(qsizetype, qsizetype)> &progress) {
    CsvReader reader(text, run.dialect.delimiter);
    return RunRecords(db, reader, run, text.count(QLatin1Char('\n')), progress ? std::function<bool()>([&] { return progress(reader.position(), text.size()); })
                                                : std::function<bool()>());
}

CsvSummary RunCsvImportFile(Db &db, const QString &path, const CsvRun &run,
                            const std::function<bool(qsizetype, qsizetype)> &progress) {
    CsvFile file(path, run.dialect.encoding);
    CsvReader reader([&file] { return file.next(); }, run.dialect.delimiter);
    return RunRecords(db, reader, run, ExpectedRows(path), progress ? std::function<bool()>([&] { return progress(file.bytesRead(), file.size()); })
                                                : std::function<bool()>());
}

} // namespace kodexa::csv
