// The file commands of kodexa-cli: export (the fixed "Adatbázis export" file or the list as
// delimited text) and import, on the same cores as the export and import windows.
#include "tools/core/CliCommand.h"

#include "app/core/BookView.h"
#include "data/BookList.h"
#include "exchange/core/CsvImport.h"
#include "exchange/core/Delimited.h"
#include "exchange/core/Import.h"
#include "exchange/core/RowSource.h"

#include <QDate>

namespace kodexa::cli {

namespace {

QChar DelimiterArg(const QString &text, const QString &allowed) {
    const QChar d = text == QLatin1String("tab") || text == QLatin1String("\\t") ? QChar(QLatin1Char('\t'))
                    : text.size() == 1                                           ? text.front()
                                                                                  : QChar();
    const QString shown = d == QLatin1Char('\t') ? QStringLiteral("tab") : QString(d);
    if (d.isNull() || !allowed.split(QLatin1Char(' ')).contains(shown))
        throw UsageError(QStringLiteral("A határoló karakter ezek egyike: %1 (nem ez: %2)").arg(allowed, text));
    return d;
}

void ReportReplaced(Session &s, qsizetype replaced) {
    if (replaced > 0)
        s.err << QStringLiteral("%1 karaktert a Windows-1250 kódlap nem tud tárolni; ezek helyén \"?\" áll a fileban.\n")
                     .arg(replaced);
}

} // namespace

int RunExport(Session &s, const Args &a) {
    const bool fixed = a.has(QStringLiteral("fixed"));
    if (fixed == a.has(QStringLiteral("csv")))
        throw UsageError(QStringLiteral("Adja meg a --fixed ÁLLOMÁNY vagy a --csv ÁLLOMÁNY kapcsolót (egyet)."));
    if (fixed && (a.has(QStringLiteral("delimiter")) || a.has(QStringLiteral("qualifier")) || a.has(QStringLiteral("multiline")) ||
                  a.has(QStringLiteral("encoding"))))
        throw UsageError(QStringLiteral("Az \"Adatbázis export\" formája rögzített: a --fixed mellé nem kell más kapcsoló."));
    DelimitedOptions o = fixed ? FixedFormatOptions() : DelimitedOptions();
    if (!fixed) {
        // The export window's starting choices: semicolon, no qualifier, memo as "BLOB".
        o.delimiter = DelimiterOfItem(0);
        o.qualifier = QualifierOfItem(2);
        if (a.has(QStringLiteral("delimiter")))
            o.delimiter = DelimiterArg(a.value(QStringLiteral("delimiter")), QStringLiteral("; tab , |"));
        if (a.has(QStringLiteral("qualifier"))) {
            const QString q = a.value(QStringLiteral("qualifier"));
            if (q == QLatin1String("\""))
                o.qualifier = QualifierOfItem(0);
            else if (q == QLatin1String("'"))
                o.qualifier = QualifierOfItem(1);
            else if (q == QLatin1String("none"))
                o.qualifier = QualifierOfItem(2);
            else
                throw UsageError(QStringLiteral("A szövegjelölő \", ' vagy none (nem ez: %1)").arg(q));
        }
        o.multiLine = a.has(QStringLiteral("multiline"));
        if (a.has(QStringLiteral("encoding"))) {
            const QString name = a.value(QStringLiteral("encoding"));
            const std::optional<TextEncoding> e = EncodingOfName(name);
            if (!e)
                throw UsageError(QStringLiteral("A kódolás utf-8 vagy windows-1250 (nem ez: %1)").arg(name));
            o.encoding = *e;
        }
    }
    const QString path = a.value(fixed ? QStringLiteral("fixed") : QStringLiteral("csv"));
    Db &db = s.catalogue();
    DelimitedResult r;
    if (fixed) {
        const auto source = FixedExportSource(db);
        r = WriteDelimited(*source, path, o);
    } else {
        // The book list in the order the program shows it.
        BookList list(db);
        const ListSort sort = StoredListSort(db);
        try {
            list.open(OrderColumnFor(sort.field), sort.field);
        } catch (const DbError &) {
            list.open(QStringLiteral("konyvek"), QStringLiteral("konyvek"));
        }
        BookListSource source(list);
        r = WriteDelimited(source, path, o);
    }
    s.out << QStringLiteral("%1 file kész (%2 sor).\n").arg(path).arg(r.rows);
    ReportReplaced(s, r.replaced);
    if (const QString warning = SplitValuesWarning(r); !warning.isEmpty())
        s.err << warning << QLatin1Char('\n');
    return Done;
}

namespace {

// Another program's CSV: the dialect guessed, the mapping guessed or read, one run.
int RunCsvImport(Session &s, const Args &a) {
    using namespace csv;
    if (!a.positional.isEmpty() || a.has(QStringLiteral("delimiter")))
        throw UsageError(QStringLiteral("A --csv mellé nem kell más állomány és --delimiter: a CSV elválasztóját felismeri."));
    const QString path = a.value(QStringLiteral("csv"));
    CsvRun run;
    run.today = QDate::currentDate();
    run.dryRun = a.has(QStringLiteral("dry-run"));
    if (a.has(QStringLiteral("duplicates"))) {
        const auto d = DuplicatesFromKey(a.value(QStringLiteral("duplicates")));
        if (!d)
            throw UsageError(QStringLiteral("A --duplicates értéke skip, add, fill vagy replace (nem ez: %1)")
                                 .arg(a.value(QStringLiteral("duplicates"))));
        run.duplicates = *d;
    }
    const Preview head = ReadPreview(path, std::nullopt, 1);
    run.dialect = head.dialect;
    const QStringList &header = head.header;
    if (header.join(QString()).trimmed().isEmpty())
        throw Error(QStringLiteral("Az állomány üres, vagy az első sora nem fejléc: %1").arg(path));
    const QString map = a.value(QStringLiteral("map"));
    run.mapping = map.isEmpty() || map == QLatin1String("auto")
                      ? SuggestMapping(header)
                      : MappingFromText(header, QString::fromUtf8(ReadFileBytes(map)));
    if (std::all_of(run.mapping.cbegin(), run.mapping.cend(), [](Field f) { return f == Field::Skip; }))
        throw Error(QStringLiteral("Egyik oszlop sem feleltethető meg a könyv egy mezőjének; adjon meg --map állományt."));
    s.out << QStringLiteral("%1: %2, %3 elválasztó\n").arg(path, EncodingName(run.dialect.encoding), DelimiterName(run.dialect.delimiter));
    for (qsizetype i = 0; i < header.size(); ++i)
        s.out << QStringLiteral("  %1 → %2\n").arg(header[i], FieldLabel(run.mapping.value(i)));
    Db &db = s.catalogue();
    const CsvSummary r = RunCsvImportFile(db, path, run);
    s.out << SummaryText(r);
    if (r.read > r.refusedRows + r.blank)
        return Done;
    s.out.flush();
    s.err << QStringLiteral("Nincs beolvasható sor.\n");
    return Failed;
}

} // namespace

int RunImport(Session &s, const Args &a) {
    if (a.has(QStringLiteral("csv")))
        return RunCsvImport(s, a);
    if (a.positional.size() != 1 || a.has(QStringLiteral("map")) || a.has(QStringLiteral("duplicates")) ||
        a.has(QStringLiteral("dry-run")))
        throw UsageError(QStringLiteral("Adja meg az állományt; a --map, --duplicates és --dry-run a --csv mellé tartozik."));
    const QChar delimiter = a.has(QStringLiteral("delimiter"))
                                ? DelimiterArg(a.value(QStringLiteral("delimiter")), QStringLiteral("tab ; |"))
                                : QChar(QLatin1Char('\t'));
    Db &db = s.catalogue();
    const ImportText file = ReadImportFile(a.positional.first());
    const QString header = FirstLine(file.text);
    if (header.isEmpty())
        throw Error(QStringLiteral("Az állomány üres: %1").arg(a.positional.first()));
    if (const QString note = ImportEncodingNote(file); !note.isEmpty())
        s.out << note << QLatin1Char('\n');
    try {
        const ImportResult r = ImportBooks(db, file.text, delimiter, ImportHeader(header, delimiter), QDate::currentDate());
        s.out << ImportSummary(r) << QLatin1Char('\n');
    } catch (const ImportError &e) {
        // Only what the catalogue kept is counted.
        s.out << ImportSummary(e.result()) << QLatin1Char('\n');
        throw;
    }
    return Done;
}

} // namespace kodexa::cli
