#include "exchange/core/Import.h"

#include "data/Dataset.h"
#include "data/Db.h"
#include "data/Kozos.h"
#include "data/LookupTables.h"
#include "data/ShownText.h"
#include "data/TextFile.h"
#include "exchange/core/BulkWrite.h"

#include <QLocale>
#include <QStringDecoder>

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
        if (s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(s[i], s[i + 1]);
            ++i;
        }
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
    BulkWrite bulk(db, text.count(QLatin1Char('\n')));
    const auto commit = [&bulk] { bulk.commit(); };
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
