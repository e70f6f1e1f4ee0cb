// Arbitrary values written by the delimited writer with no text qualifier and read back by
// the import: every value free of the delimiter and of line breaks comes back as it went
// in, after the changes the file format documents — a character Windows-1250 cannot hold
// is written as "?", blanks and control characters at either end are cut, a text longer
// than its column keeps the column's length, an empty item leaves the column empty, and a
// lookup name takes the spelling of the lookup row it matches. A file the reader takes for
// UTF-8 (its bytes happen to form valid UTF-8) is decoded as such; the values are compared
// for every file read as Windows-1250.

#include "data/Dataset.h"
#include "data/TextFile.h"
#include "exchange/core/Delimited.h"
#include "exchange/core/Import.h"
#include "fuzz/FuzzCatalogue.h"

#include <algorithm>
#include <QDate>
#include <QHash>
#include <QLocale>
#include <QStringDecoder>
#include <fuzzer/FuzzedDataProvider.h>

using namespace kodexa;
using kodexa::fuzz::FuzzCatalogue;
using kodexa::fuzz::Require;

namespace {

struct Column {
    const char *name;
    FieldKind kind;
    const char *lookup; // the lookup table whose name the column copies
};
const Column Columns[] = {
    {"cim", FieldKind::Text, nullptr},        {"alcim", FieldKind::Text, nullptr},
    {"szerkesztok", FieldKind::Text, nullptr}, {"isbn", FieldKind::Text, nullptr},
    {"kulcsszavak", FieldKind::Text, nullptr}, {"szerzo_nev", FieldKind::Text, "szerzo"},
    {"kiado_nev", FieldKind::Text, "kiado"},  {"kiadas", FieldKind::Integer, nullptr},
    {"ar", FieldKind::Integer, nullptr},       {"dat_besz", FieldKind::Date, nullptr},
};
constexpr int ColumnCount = int(std::size(Columns));

class Rows final : public RowSource {
public:
    Rows() {
        for (const Column &c : Columns)
            columns_.append({QLatin1String(c.name), QLatin1String(c.name), c.kind});
    }
    const QVector<SourceColumn> &columns() const override { return columns_; }
    qint64 rowCount() override { return rows.size(); }
    void forEach(const RowFn &row) override {
        for (const auto &r : rows)
            if (!row(r))
                return;
    }
    QVector<QVector<QVariant>> rows;

private:
    QVector<SourceColumn> columns_;
};

// Text in one of several shapes, so that both representable and unrepresentable
// characters, lone surrogates and control characters turn up.
QString FuzzText(FuzzedDataProvider &in) {
    const int shape = in.ConsumeIntegralInRange(0, 3);
    const std::string b = in.ConsumeRandomLengthString(300);
    const QByteArray bytes(b.data(), qsizetype(b.size()));
    switch (shape) {
    case 0: return QString::fromUtf8(bytes);
    case 1: return QString::fromLatin1(bytes);
    case 2: return QString(reinterpret_cast<const QChar *>(bytes.constData()), bytes.size() / 2);
    default: return DecodeCp1250(bytes);
    }
}

QString FoldAscii(QString s) {
    for (QChar &c : s)
        if (c.unicode() >= 'a' && c.unicode() <= 'z')
            c = QChar(c.unicode() - 32);
    return s;
}

bool ValidUtf8WithHighBytes(const QByteArray &bytes) {
    bool high = false;
    for (char c : bytes)
        high = high || uchar(c) >= 0x80;
    if (!high)
        return false;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)utf8.decode(bytes);
    return !utf8.hasError();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // The writer and the reader use the system's locale for dates, taken once per run as the
    // program does; the program's users have the Hungarian one.
    static const bool localeSet = [] {
        QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
        return true;
    }();
    (void)localeSet;
    FuzzCatalogue &cat = FuzzCatalogue::get();
    FuzzedDataProvider in(data, size);
    const QChar delimiter = DelimiterOfItem(in.ConsumeIntegralInRange(0, 3));
    static const FieldListPtr fields = TableFields(cat.db, QStringLiteral("konyvek"));

    // The rows, each value cleared of the delimiter and of line breaks.
    Rows source;
    qsizetype unrepresentable = 0;
    const int rowCount = in.ConsumeIntegralInRange(1, 4);
    for (int r = 0; r < rowCount; ++r) {
        QVector<QVariant> row;
        for (const Column &c : Columns) {
            if (in.ConsumeIntegralInRange(0, 7) == 0) {
                row.append(QVariant());
                continue;
            }
            switch (c.kind) {
            case FieldKind::Integer:
                row.append(in.ConsumeIntegral<qint64>());
                break;
            case FieldKind::Date:
                row.append(QDate(in.ConsumeIntegralInRange(1, 9999), in.ConsumeIntegralInRange(1, 12),
                                 in.ConsumeIntegralInRange(1, 28)));
                break;
            default: {
                QString t = FuzzText(in);
                // A NUL refuses its line in the import, by design; line breaks and the delimiter cannot be written.
                t.remove(delimiter).remove(QLatin1Char('\r')).remove(QLatin1Char('\n')).remove(QChar(0));
                qsizetype replaced = 0;
                (void)EncodeCp1250(t, &replaced);
                unrepresentable += replaced;
                row.append(t);
            }
            }
        }
        // A blank line is skipped by the import, by design: every row holds something.
        if (std::all_of(row.begin(), row.end(), [](const QVariant &v) { return v.toString().trimmed().isEmpty(); }))
            row[0] = QStringLiteral("x");
        source.rows.append(row);
    }

    DelimitedOptions o;
    o.delimiter = delimiter;
    const QString path = cat.dir() + QStringLiteral("/roundtrip.txt");
    const DelimitedResult written = WriteDelimited(source, path, o);
    Require(written.rows == rowCount && written.replaced == unrepresentable,
            QStringLiteral("%1 rows, %2 replaced").arg(written.rows).arg(written.replaced));

    const QByteArray bytes = ReadFileBytes(path);
    const ImportText file = ReadImportFile(path);
    if (file.utf8) {
        // The reader's documented guess: only a file whose bytes form valid UTF-8.
        Require(ValidUtf8WithHighBytes(bytes), QStringLiteral("a Windows-1250 file read as UTF-8"));
        return 0;
    }
    Require(file.text == DecodeCp1250(bytes), QStringLiteral("the file decoded otherwise"));
    const QVector<ImportColumn> header = ImportHeader(FirstLine(file.text), delimiter);
    Require(header.size() == ColumnCount, QStringLiteral("%1 header columns").arg(header.size()));
    for (int c = 0; c < ColumnCount; ++c)
        Require(header[c].name == QLatin1String(Columns[c].name) && header[c].position == c + 1,
                QStringLiteral("header column %1: %2").arg(c).arg(header[c].name));
    Require(ImportLineCount(file.text) == rowCount, QStringLiteral("%1 lines").arg(ImportLineCount(file.text)));

    cat.begin();
    const qint64 firstKey = cat.db.scalar(QStringLiteral("SELECT coalesce(max(konyvek), 0) + 1 FROM konyvek")).toLongLong();
    // The lookup spellings already in the catalogue; the first spelling of a name wins.
    QHash<QString, QHash<QString, QString>> spelling;
    for (const Column &c : Columns)
        if (c.lookup) {
            Stmt s = cat.db.prepare(QStringLiteral("SELECT %1_nev FROM %1 ORDER BY rowid").arg(QLatin1String(c.lookup)));
            auto &names = spelling[QLatin1String(c.lookup)];
            while (s.step())
                if (!names.contains(FoldAscii(s.text(0))))
                    names.insert(FoldAscii(s.text(0)), s.text(0));
        }
    const QDate today(2024, 5, 17);
    try {
        const ImportResult r = ImportBooks(cat.db, file.text, delimiter, header, today);
        Require(r.lines == rowCount, QStringLiteral("%1 lines imported").arg(r.lines));
    } catch (const ImportError &e) {
        fuzz::Fail(QStringLiteral("import refused the writer's file: %1").arg(e.message()));
    }

    QStringList names;
    for (const Column &c : Columns)
        names << QLatin1String(c.name);
    Stmt s = cat.db.prepare(QStringLiteral("SELECT %1 FROM konyvek WHERE konyvek >= ?1 ORDER BY konyvek").arg(names.join(QLatin1Char(','))));
    s.bind(1, firstKey);
    for (int r = 0; r < rowCount; ++r) {
        Require(s.step(), QStringLiteral("book %1 missing").arg(r + 1));
        for (int c = 0; c < ColumnCount; ++c) {
            const QVariant in = source.rows[r][c];
            QVariant want;
            switch (Columns[c].kind) {
            case FieldKind::Integer:
                want = in;
                break;
            case FieldKind::Date:
                // An empty item leaves the day of the import.
                want = in.isNull() ? today.toString(Qt::ISODate) : in.toDate().toString(Qt::ISODate);
                break;
            default: {
                QString t = TrimControls(DecodeCp1250(EncodeCp1250(in.toString()))).toString();
                t.truncate(fields->fields[fields->indexOf(QLatin1String(Columns[c].name))].size);
                if (t.isEmpty())
                    break;
                if (Columns[c].lookup) {
                    auto &names = spelling[QLatin1String(Columns[c].lookup)];
                    t = *names.insert(FoldAscii(t), names.value(FoldAscii(t), t));
                }
                want = t;
            }
            }
            const QVariant got = s.value(c);
            const bool same = want.isNull() ? got.isNull()
                              : Columns[c].kind == FieldKind::Integer
                                  ? !got.isNull() && got.toLongLong() == want.toLongLong()
                                  : !got.isNull() && got.toString() == want.toString();
            Require(same, QStringLiteral("row %1 %2: wrote [%3], expected [%4], read [%5]")
                              .arg(r + 1)
                              .arg(QLatin1String(Columns[c].name), in.toString(), want.toString(), got.toString()));
        }
    }
    Require(!s.step(), QStringLiteral("more books than rows"));
    cat.rollback();
    return 0;
}
