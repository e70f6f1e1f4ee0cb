#include "exchange/core/Import.h"

#include "data/Dataset.h"
#include "data/Db.h"
#include "data/Kozos.h"
#include "data/LookupTables.h"
#include "data/ShownText.h"
#include "data/TextFile.h"

#include <QLocale>
#include <QStringDecoder>
#include <optional>
#include <sqlite3.h>
#include <utility>

namespace kodexa {

ImportError::ImportError(qint64 line, const QString &column, const QString &reason, const ImportResult &result)
    : Error(line <= 0 ? reason
            : column.isEmpty() ? QStringLiteral("%1. sor: %2").arg(line).arg(reason)
                             : QStringLiteral("%1. sor, %2 mező: %3").arg(line).arg(QuotedForMessage(column), reason)),
      line_(line), column_(column), reason_(reason), result_(result) {}

QString QuotedForMessage(QStringView s) {
    constexpr int Shown = 60;
    QString out;
    int n = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (n == Shown) {
            out += QChar(0x2026); // the rest left off
            break;
        }
        const qsizetype from = i;
        char32_t c = s[i].unicode();
        if (s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(s[i], s[++i]);
        if (QChar::isPrint(c))
            out += s.mid(from, i + 1 - from);
        else
            out += QLatin1Char('?');
        ++n;
    }
    return out;
}

namespace {
// The byte-order marks the import reads, longest first where one begins another.
struct Bom {
    QByteArray bytes;
    QStringConverter::Encoding encoding;
    const char *name;
};
const Bom Boms[] = {
    {QByteArray("\xFF\xFE\x00\x00", 4), QStringConverter::Utf32LE, "UTF-32 LE"},
    {QByteArray("\x00\x00\xFE\xFF", 4), QStringConverter::Utf32BE, "UTF-32 BE"},
    {QByteArray("\xEF\xBB\xBF"), QStringConverter::Utf8, "UTF-8"},
    {QByteArray("\xFF\xFE"), QStringConverter::Utf16LE, "UTF-16 LE"},
    {QByteArray("\xFE\xFF"), QStringConverter::Utf16BE, "UTF-16 BE"},
};
} // namespace

namespace {
// Every byte above 0x7F stands in a lead byte C2..F4 with as many continuation bytes as the
// lead announces. Looser than the decoder (overlong forms and surrogates pass): only a
// "no" here is final, a "yes" is confirmed by the decoding itself.
bool LooksLikeUtf8(const QByteArray &bytes) {
    const auto *p = reinterpret_cast<const uchar *>(bytes.constData());
    const auto *end = p + bytes.size();
    while (p < end) {
        const uchar c = *p++;
        if (c < 0x80)
            continue;
        const int more = c >= 0xC2 && c <= 0xDF ? 1 : c >= 0xE0 && c <= 0xEF ? 2 : c >= 0xF0 && c <= 0xF4 ? 3 : -1;
        if (more < 0 || end - p < more)
            return false;
        for (int i = 0; i < more; ++i)
            if ((*p++ & 0xC0) != 0x80)
                return false;
    }
    return true;
}
} // namespace

ImportText DecodeImportBytes(const QByteArray &bytes) {
    for (const Bom &b : Boms) {
        if (!bytes.startsWith(b.bytes))
            continue;
        const QString name = QLatin1String(b.name);
        if (b.encoding == QStringConverter::Utf8)
            return {QString::fromUtf8(bytes.mid(b.bytes.size())), true, name};
        QStringDecoder decoder(b.encoding, QStringDecoder::Flag::Stateless);
        QString text = decoder.decode(QByteArrayView(bytes.constData() + b.bytes.size(), bytes.size() - b.bytes.size()));
        // A last unit cut short is no error to the decoder: it waits for more input.
        const qsizetype unit = b.bytes.size() == 4 ? 4 : 2;
        if (decoder.hasError() || (bytes.size() - b.bytes.size()) % unit != 0)
            throw FileError(QStringLiteral("A file %1 kódolású, de a bájtjai nem ebben a kódolásban állnak: nem tölthető be.").arg(name));
        return {text, false, name};
    }
    bool ascii = true;
    for (char c : bytes)
        if (uchar(c) >= 0x80) {
            ascii = false;
            break;
        }
    // A code-page file fails the shape test at its first accented letter, before a whole
    // UTF-8 decoding is tried on it.
    if (!ascii && LooksLikeUtf8(bytes)) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8.decode(bytes);
        if (!utf8.hasError())
            return {text, true, QStringLiteral("UTF-8")};
    }
    return {DecodeCp1250(bytes), false, QStringLiteral("Windows-1250")};
}

ImportText ReadImportFile(const QString &path) { return DecodeImportBytes(ReadFileBytes(path)); }

QString ImportEncodingNote(const ImportText &file) {
    if (file.encoding.isEmpty() || file.encoding == QLatin1String("Windows-1250"))
        return {};
    return QStringLiteral("A file %1 kódolással beolvasva.").arg(file.encoding);
}

QString ImportSummary(const ImportResult &r) {
    QString s = r.read - r.skipped == 0 ? QStringLiteral("Nincs betölthető sor.")
                                        : QStringLiteral("betöltött tételek száma: %1").arg(r.lines);
    if (r.read > 0)
        s += QStringLiteral("\nBeolvasott sorok: %1, betöltve: %2, elutasítva: %3, kihagyva (üres sor): %4.")
                 .arg(r.read)
                 .arg(r.lines)
                 .arg(r.refused)
                 .arg(r.skipped);
    if (r.placeholders > 0)
        s += QStringLiteral("\nAz export „BLOB” helyőrzője üresen beolvasva: %1 tétel.").arg(r.placeholders);
    if (r.stopped)
        s += QStringLiteral("\nA betöltés megszakítva, a többi sor nincs beolvasva.");
    if (!r.reasons.isEmpty()) {
        s += r.refused > r.reasons.size() ? QStringLiteral("\nAz első %1 elutasított sor:").arg(r.reasons.size())
                                          : QStringLiteral("\nElutasított sorok:");
        for (const QString &reason : r.reasons)
            s += QLatin1Char('\n') + reason;
    }
    return s;
}

QStringView TrimControls(QStringView s) {
    qsizetype from = 0, to = s.size();
    while (from < to && s[from].unicode() <= ' ')
        ++from;
    while (to > from && s[to - 1].unicode() <= ' ')
        --to;
    return s.mid(from, to - from);
}

namespace {
// Walks the lines of a text without copying them: CR LF, LF or CR end a line, and a break
// at the very end opens no new line.
class LineReader {
public:
    explicit LineReader(const QString &text) : text_(text) {}
    bool next(QStringView &line) {
        const qsizetype n = text_.size();
        if (pos_ >= n)
            return false;
        const QChar *d = text_.constData();
        qsizetype end = pos_;
        while (end < n && d[end] != QLatin1Char('\n') && d[end] != QLatin1Char('\r'))
            ++end;
        line = QStringView(d + pos_, end - pos_);
        if (end < n && d[end] == QLatin1Char('\r') && end + 1 < n && d[end + 1] == QLatin1Char('\n'))
            ++end;
        pos_ = end + 1;
        return true;
    }

private:
    const QString &text_;
    qsizetype pos_ = 0;
};

constexpr int HeaderFields = 50;

// A larger page cache for one run, the previous size restored afterwards.
class CacheSize {
public:
    CacheSize(Db &db, int kib) : db_(db), old_(db.scalar(QStringLiteral("PRAGMA cache_size")).toLongLong()) {
        db_.exec(QStringLiteral("PRAGMA cache_size = -%1").arg(kib));
    }
    ~CacheSize() {
        try {
            db_.exec(QStringLiteral("PRAGMA cache_size = %1").arg(old_));
        } catch (const Error &) {
            // Only a speed setting: the connection works on with the larger cache.
        }
    }
    CacheSize(const CacheSize &) = delete;
    CacheSize &operator=(const CacheSize &) = delete;

private:
    Db &db_;
    qint64 old_;
};
constexpr int BulkCachePages = 32 * 1024; // KiB

// A run that adds many books compared with the table builds the search indexes of konyvek
// once at the end instead of keeping them row by row. The build reads the whole table once
// per index, so it pays only when the run adds about as many books as the table holds.
// Measured through kodexa-cli import (lines of the fixed export, median of three, loaded
// machine): into 10,000 books 5,000 lines took 0.22 s row by row and 0.29 s rebuilt, 12,000
// lines 0.41 / 0.43 s, 20,000 lines 0.60 / 0.55 s, 100,000 lines 3.0 / 2.1 s; into 200,000
// books 50,000 lines 2.4 / 4.0 s and 100,000 lines 4.0 / 4.9 s. Break-even is at 1.0 to 1.2
// times the table on both sizes.
constexpr double RebuildShare = 1.0;

// The plain (non-unique) indexes of a table, dropped inside the run's transaction and made
// again, with their own definitions, before it commits. An index whose first column is
// keep stays: the run looks keys up through it. A rollback brings the dropped ones back.
class IndexesSetAside {
public:
    IndexesSetAside(Db &db, const QString &table, const QString &keep) : db_(db) {
        Stmt list = db.prepare(QStringLiteral("SELECT l.name, m.sql FROM pragma_index_list(?1) l "
                                              "JOIN sqlite_master m ON m.name = l.name "
                                              "WHERE l.origin = 'c' AND NOT l.\"unique\" AND m.sql IS NOT NULL "
                                              "AND (SELECT name FROM pragma_index_info(l.name) WHERE seqno = 0) IS NOT ?2 "
                                              "ORDER BY m.rowid"));
        list.bind(1, table).bind(2, keep);
        while (list.step())
            indexes_.append({list.text(0), list.text(1)});
        list.reset();
        for (const auto &[name, sql] : indexes_)
            db.exec(QStringLiteral("DROP INDEX \"%1\"").arg(QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\""))));
    }
    // A statement of this connection still reading (a list being paged) keeps the indexes
    // from being dropped under it; the run then keeps them up row by row.
    static bool Possible(Db &db) {
        for (sqlite3_stmt *st = sqlite3_next_stmt(db.handle(), nullptr); st; st = sqlite3_next_stmt(db.handle(), st))
            if (sqlite3_stmt_busy(st))
                return false;
        return true;
    }
    // Builds the indexes again; before every commit of the run. Each build reads the whole
    // table: through a memory map the engine reads it in place instead of copying every
    // page into its cache, once for each index.
    void restore() {
        const auto indexes = std::exchange(indexes_, {});
        if (indexes.isEmpty())
            return;
        const qint64 bytes = db_.scalar(QStringLiteral("PRAGMA page_count")).toLongLong() *
                             db_.scalar(QStringLiteral("PRAGMA page_size")).toLongLong();
        const qint64 old = db_.scalar(QStringLiteral("PRAGMA mmap_size")).toLongLong();
        db_.exec(QStringLiteral("PRAGMA mmap_size = %1").arg(std::max(old, bytes)));
        for (const auto &[name, sql] : indexes)
            db_.exec(sql);
        db_.exec(QStringLiteral("PRAGMA mmap_size = %1").arg(old));
    }

private:
    Db &db_;
    QVector<QPair<QString, QString>> indexes_;
};

QDate ReadDate(QStringView s) {
    // The short date form is what the export writes; the stored form comes from other tools.
    // Files written before the year was always whole may still hold the two-digit form.
    const QLocale loc;
    QDate d = loc.toDate(s.toString(), FullYearDateFormat(loc));
    if (!d.isValid() || d.year() < 1000)
        d = loc.toDate(s.toString(), QLocale::ShortFormat);
    if (!d.isValid())
        d = QDate::fromString(s.toString(), Qt::ISODate);
    return d;
}
} // namespace

QString FirstLine(const QString &text) {
    LineReader r(text);
    QStringView line;
    return r.next(line) ? line.toString() : QString();
}

QVector<ImportColumn> ImportHeader(const QString &headerLine, QChar delimiter) {
    QVector<ImportColumn> out;
    const QList<QStringView> fields = QStringView(headerLine).split(delimiter);
    for (int i = 0; i < fields.size() && i < HeaderFields; ++i) {
        const QString name = TrimControls(fields[i]).toString().toLower();
        if (!name.isEmpty())
            out.append({name, i + 1});
    }
    return out;
}

qint64 ImportLineCount(const QString &text) {
    LineReader r(text);
    QStringView line;
    qint64 n = 0;
    while (r.next(line))
        ++n;
    return std::max<qint64>(0, n - 1);
}

namespace {
// A value of a line that the book table cannot take: ends the import at that line.
class ValueError : public Error {
public:
    using Error::Error;
};

constexpr int KeptReasons = 10;

// What the export writes for a long text without the multi-line option and for a picture.
bool IsPlaceholder(QStringView v) {
    const QLatin1String blob("BLOB");
    if (v == blob)
        return true;
    return v.size() == blob.size() + 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')) &&
           v.back() == v.front() && v.mid(1, blob.size()) == blob;
}

// The whole run is one transaction: when the engine fails (a full disk), nothing of it stays.
ImportError NothingKept(qint64 line, const Error &e, ImportResult result) {
    result.lines = 0;
    result.newLookups = 0;
    return ImportError(line, QString(),
                       e.message() + QStringLiteral("\nAz import nem sikerült: semmi sem maradt meg, egyetlen könyv sem került a katalógusba."),
                       result);
}
} // namespace

qint64 FirstOverlongLine(const QString &text) {
    LineReader r(text);
    QStringView line;
    for (qint64 n = 0; r.next(line); ++n)
        if (line.size() > ImportLineLimit)
            return n;
    return -1;
}

ImportResult ImportBooks(Db &db, const QString &text, QChar delimiter, const QVector<ImportColumn> &columns,
                         const QDate &today, const std::function<bool(qint64)> &keepGoing) {
    ImportResult result;
    const FieldListPtr fields = TableFields(db, QStringLiteral("konyvek"));
    // Each listed column's field in the book table; -1 for a name the table lacks, which
    // fails only where a line gives it a value.
    QVector<int> target;
    for (const ImportColumn &c : columns)
        target.append(fields->indexOf(c.name));

    QStringList names, marks;
    for (int i = 0; i < fields->size(); ++i) {
        names << fields->fields[i].name;
        marks << QStringLiteral("?%1").arg(i + 1);
    }
    // Every book touches each index of konyvek at its own place: with the engine's small
    // default page cache the run spends its time re-reading and re-writing index pages.
    const CacheSize cache(db, BulkCachePages);
    Transaction tx(db);
    std::optional<IndexesSetAside> setAside;
    if (const qint64 books = db.scalar(QStringLiteral("SELECT count(*) FROM konyvek")).toLongLong();
        double(text.count(QLatin1Char('\n'))) > RebuildShare * double(books) && IndexesSetAside::Possible(db))
        setAside.emplace(db, QStringLiteral("konyvek"), QStringLiteral("konyvek"));
    const auto commit = [&] {
        if (setAside)
            setAside->restore();
        tx.commit();
    };
    Stmt insert = db.prepare(QStringLiteral("INSERT INTO konyvek (%1) VALUES (%2)")
                                 .arg(names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
    // The table has no unique key: the import itself keeps two books from sharing one.
    Stmt keyTaken = db.prepare(QStringLiteral("SELECT 1 FROM konyvek WHERE konyvek = ?1"));
    const auto taken = [&keyTaken](qint64 k) {
        keyTaken.reset();
        keyTaken.bind(1, k);
        const bool found = keyTaken.step();
        keyTaken.reset();
        return found;
    };
    LookupResolver lookups(db);
    const SearchKeyFiller searchKeys(*fields);
    qint64 key = NextKey(db, QStringLiteral("konyvek"));
    // What every line's book starts from.
    Record blank(fields);
    blank.setValue(QStringLiteral("kolcsonadva"), QStringLiteral("N"));
    blank.setValue(QStringLiteral("dat_besz"), today);
    const int keyField = fields->indexOf(QStringLiteral("konyvek"));
    if (keyField < 0)
        (void)blank.value(QStringLiteral("konyvek")); // throws: not a book table

    LineReader reader(text);
    QStringView line;
    reader.next(line); // the header
    qint64 lineNo = 0;
    const auto refuse = [&](const QString &reason) {
        ++result.refused;
        if (result.reasons.size() < KeptReasons)
            result.reasons << QStringLiteral("%1. sor: %2").arg(lineNo).arg(reason);
    };
    QString column; // the column being set, for the error message
    try {
        while (reader.next(line)) {
            ++lineNo;
            ++result.read;
            column.clear();
            if (line.size() > ImportLineLimit) {
                refuse(QStringLiteral("a sor hosszabb 1 MB-nál (%1 karakter)").arg(line.size()));
                continue;
            }
            // A NUL cannot be shown or edited in the import window; the line is reported, not cut.
            if (line.contains(QChar(0))) {
                refuse(QStringLiteral("a sorban NUL (0 kódú) karakter áll"));
                continue;
            }
            if (line.trimmed().isEmpty()) {
                ++result.skipped;
                continue;
            }
            Record book = blank;
            qint64 own = key++;
            bool fileKey = false;
            qint64 placeholders = 0;
            const QList<QStringView> parts = line.split(delimiter);
            for (int c = 0; c < columns.size(); ++c) {
                const int pos = columns[c].position;
                const QStringView value = pos <= parts.size() ? TrimControls(parts[pos - 1]) : QStringView();
                if (value.isEmpty())
                    continue;
                column = columns[c].name;
                const int f = target[c];
                if (f < 0)
                    throw ValueError(QStringLiteral("Nem létező mező: %1").arg(QuotedForMessage(column)));
                switch (fields->fields[f].kind) {
                case FieldKind::Memo:
                    if (IsPlaceholder(value)) {
                        ++placeholders;
                        break;
                    }
                    [[fallthrough]];
                case FieldKind::Text:
                    book.setValue(f, value.toString());
                    break;
                case FieldKind::Integer: {
                    bool ok = false;
                    const qlonglong n = value.toLongLong(&ok);
                    if (!ok)
                        throw ValueError(QStringLiteral("'%1' nem érvényes egész szám").arg(QuotedForMessage(value)));
                    book.setValue(f, n);
                    if (f == keyField) {
                        own = n;
                        fileKey = true;
                    }
                    break;
                }
                case FieldKind::Date: {
                    const QDate d = ReadDate(value);
                    if (!d.isValid())
                        throw ValueError(QStringLiteral("'%1' nem érvényes dátum").arg(QuotedForMessage(value)));
                    book.setValue(f, d);
                    break;
                }
                case FieldKind::Blob:
                    if (IsPlaceholder(value))
                        ++placeholders;
                    break; // no text form to read
                default:
                    break; // no text form to read
                }
            }
            column.clear();
            if (fileKey) {
                if (taken(own)) {
                    refuse(QStringLiteral("a(z) %1 azonosítójú könyv már létezik").arg(own));
                    continue;
                }
            } else {
                while (taken(own))
                    own = key++; // a key an earlier line of the file brought
                book.setValue(keyField, own);
            }
            result.placeholders += placeholders;
            for (const LookupTable *t : BookResolveOrder())
                if (t->imported)
                    lookups.resolve(*t, book);
            searchKeys.fill(book);
            insert.reset();
            for (int i = 0; i < book.values.size(); ++i)
                insert.bind(i + 1, book.values[i]);
            insert.exec();
            ++result.lines;
            if (keepGoing && !keepGoing(result.lines)) {
                result.stopped = true;
                break;
            }
        }
    } catch (const ValueError &e) {
        // The lines before this one stay; nothing of this line was written.
        try {
            commit();
        } catch (const Error &f) {
            throw NothingKept(lineNo, f, result);
        }
        result.newLookups = lookups.created();
        throw ImportError(lineNo, column, e.message(), result);
    } catch (const Error &e) {
        throw NothingKept(lineNo, e, result);
    }
    try {
        commit();
    } catch (const Error &e) {
        throw NothingKept(0, e, result);
    }
    result.newLookups = lookups.created();
    return result;
}

} // namespace kodexa
