#include "exchange/core/Import.h"

#include "data/Dataset.h"
#include "data/Db.h"
#include "data/Kozos.h"
#include "data/LookupTables.h"
#include "data/TextFile.h"

#include <QLocale>
#include <QStringDecoder>

namespace kodexa {

ImportError::ImportError(qint64 line, const QString &column, const QString &reason)
    : Error(column.isEmpty() ? QStringLiteral("%1. sor: %2").arg(line).arg(reason)
                             : QStringLiteral("%1. sor, %2 mező: %3").arg(line).arg(column, reason)),
      line_(line), column_(column), reason_(reason) {}

ImportText DecodeImportBytes(const QByteArray &bytes) {
    static const QByteArray bom("\xEF\xBB\xBF");
    if (bytes.startsWith(bom))
        return {QString::fromUtf8(bytes.mid(bom.size())), true};
    bool ascii = true;
    for (char c : bytes)
        if (uchar(c) >= 0x80) {
            ascii = false;
            break;
        }
    if (!ascii) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8.decode(bytes);
        if (!utf8.hasError())
            return {text, true};
    }
    return {DecodeCp1250(bytes), false};
}

ImportText ReadImportFile(const QString &path) { return DecodeImportBytes(ReadFileBytes(path)); }

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

QDate ReadDate(QStringView s) {
    // The short date form is what the export writes; the stored form comes from other tools.
    static const QLocale loc;
    QDate d = loc.toDate(s.toString(), QLocale::ShortFormat);
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
    Stmt insert = db.prepare(QStringLiteral("INSERT INTO konyvek (%1) VALUES (%2)")
                                 .arg(names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
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
    QString column; // the column being set, for the error message
    try {
        while (reader.next(line)) {
            ++lineNo;
            column.clear();
            Record book = blank;
            book.setValue(keyField, key++);
            const QList<QStringView> parts = line.split(delimiter);
            for (int c = 0; c < columns.size(); ++c) {
                const int pos = columns[c].position;
                const QStringView value = pos <= parts.size() ? TrimControls(parts[pos - 1]) : QStringView();
                if (value.isEmpty())
                    continue;
                column = columns[c].name;
                const int f = target[c];
                if (f < 0)
                    throw Error(QStringLiteral("Nem létező mező: %1").arg(column));
                switch (fields->fields[f].kind) {
                case FieldKind::Text:
                case FieldKind::Memo:
                    book.setValue(f, value.toString());
                    break;
                case FieldKind::Integer: {
                    bool ok = false;
                    const qlonglong n = value.toLongLong(&ok);
                    if (!ok)
                        throw Error(QStringLiteral("'%1' nem érvényes egész szám").arg(value));
                    book.setValue(f, n);
                    break;
                }
                case FieldKind::Date: {
                    const QDate d = ReadDate(value);
                    if (!d.isValid())
                        throw Error(QStringLiteral("'%1' nem érvényes dátum").arg(value));
                    book.setValue(f, d);
                    break;
                }
                default:
                    break; // no text form to read
                }
            }
            column.clear();
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
    } catch (const Error &e) {
        // The lines before this one stay; nothing of this line was written.
        try {
            tx.commit();
        } catch (const Error &) {
            // The engine has already given up the transaction; its own failure is the one to report.
        }
        throw ImportError(lineNo, column, e.message());
    }
    tx.commit();
    result.newLookups = lookups.created();
    return result;
}

} // namespace kodexa
