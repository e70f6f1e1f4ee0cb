// The delimited export and the import at scale, each against the sqlite3 shell doing the
// same work on the same file in the same run:
//   ExportFixed    "Adatbázis export" of 200,000 books vs the shell's -separator Tab output;
//   ExportExcelbe  every column of the 200,000-book list in list order, double quotes and
//                  the multi-line option, vs the shell's .mode csv of the same columns and order;
//   Import         100,000 lines of the fixed format into a catalogue (lookups, search keys,
//                  one transaction) vs the shell's .import of the file into a plain table;
//   CsvImport      100,000 rows of a book site's CSV export through the take-over run (the
//                  mapping guessed, names, ISBNs and dates cleaned, duplicates looked for) vs
//                  the shell's .import --csv of the file.
// Each case also gives the peak resident memory while it ran (peak_MB).
#include "bench/Generator.h"
#include "bench/Probe.h"

#include "data/BookList.h"
#include "data/Db.h"
#include "data/Schema.h"
#include "exchange/core/CsvImport.h"
#include "exchange/core/Delimited.h"
#include "exchange/core/Import.h"
#include "exchange/core/RowSource.h"

#include <benchmark/benchmark.h>

#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <map>
#include <memory>

namespace kodexa::bench {

namespace {

using Clock = std::chrono::steady_clock;
double Since(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

// A private copy of the cached catalogue: nothing here writes to the cache.
struct Workspace {
    QTemporaryDir dir;
    QString catalogue;
    QString file(const QString &name) const { return dir.filePath(name); }
};

Workspace &WorkspaceFor(int books) {
    static std::map<int, std::unique_ptr<Workspace>> spaces;
    auto &w = spaces[books];
    if (!w) {
        w = std::make_unique<Workspace>();
        w->catalogue = w->file(QStringLiteral("Kodexa.sqb"));
        if (!w->dir.isValid() || !QFile::copy(CachedCatalogue(books), w->catalogue))
            throw std::runtime_error("cannot copy the catalogue");
    }
    return *w;
}

double PeakMB() { return double(VmHWMkB()) / 1024.0; }

// Median of three runs of a shell command line.
double ShellSeconds(const QString &command) {
    std::vector<double> runs;
    for (int i = 0; i < 3; ++i) {
        const auto t0 = Clock::now();
        if (std::system(command.toUtf8().constData()) != 0)
            throw std::runtime_error("sqlite3 shell failed: " + command.toStdString());
        runs.push_back(Since(t0));
    }
    std::sort(runs.begin(), runs.end());
    return runs[1];
}

QString Quoted(const QString &s) { return QLatin1Char('\'') + s + QLatin1Char('\''); }

void Report(benchmark::State &state, double total, double shell, double peak) {
    state.counters["sqlite3_ms"] = shell * 1000;
    state.counters["ratio_to_sqlite3"] = total / double(state.iterations()) / shell;
    state.counters["peak_MB"] = peak;
}

template <class Fn> void Guard(benchmark::State &state, Fn fn) {
    try {
        fn();
    } catch (const std::exception &e) {
        state.SkipWithError(e.what());
    }
}

void BM_ExportFixed(benchmark::State &state) {
    Guard(state, [&] {
        Workspace &w = WorkspaceFor(int(state.range(0)));
        Db db;
        db.open(w.catalogue);
        const QString out = w.file(QStringLiteral("fixed.txt"));
        ResetPeak();
        double total = 0;
        for (auto _ : state) {
            const auto t0 = Clock::now();
            auto source = FixedExportSource(db);
            WriteDelimited(*source, out, FixedFormatOptions());
            const double s = Since(t0);
            state.SetIterationTime(s);
            total += s;
        }
        const double peak = PeakMB();
        QString sql = FixedExportSql();
        sql.replace(QLatin1Char('\n'), QLatin1Char(' '));
        const double shell = ShellSeconds(QStringLiteral("/usr/bin/sqlite3 -separator '\t' %1 %2 > %3")
                                              .arg(Quoted(w.catalogue), Quoted(sql), Quoted(w.file(QStringLiteral("shell.txt")))));
        Report(state, total, shell, peak);
    });
}

void BM_ExportExcelbe(benchmark::State &state) {
    Guard(state, [&] {
        Workspace &w = WorkspaceFor(int(state.range(0)));
        Db db;
        db.open(w.catalogue);
        BookList list(db);
        list.open(QStringLiteral("cims"), QStringLiteral("cim")); // as the main window holds it
        const QString out = w.file(QStringLiteral("excel.csv"));
        DelimitedOptions o;
        o.delimiter = QLatin1Char(',');
        o.qualifier = QLatin1Char('"');
        o.multiLine = true;
        ResetPeak();
        double total = 0;
        QStringList names;
        for (auto _ : state) {
            const auto t0 = Clock::now();
            BookListSource source(list);
            WriteDelimited(source, out, o);
            const double s = Since(t0);
            state.SetIterationTime(s);
            total += s;
            names.clear();
            for (const SourceColumn &c : source.columns())
                names << c.name;
        }
        const double peak = PeakMB();
        const QString sql = QStringLiteral("SELECT %1 FROM konyvek ORDER BY cims;").arg(names.join(QLatin1Char(',')));
        const double shell = ShellSeconds(QStringLiteral("/usr/bin/sqlite3 -csv %1 %2 > %3")
                                              .arg(Quoted(w.catalogue), Quoted(sql), Quoted(w.file(QStringLiteral("shell.csv")))));
        Report(state, total, shell, peak);
        state.counters["columns"] = double(names.size());
    });
}

void BM_Import(benchmark::State &state) {
    Guard(state, [&] {
        const int lines = int(state.range(0));
        Workspace &big = WorkspaceFor(200000);
        Workspace &target = WorkspaceFor(10000);
        // The file: the fixed export of the large catalogue's first books.
        const QString file = big.file(QStringLiteral("import.txt"));
        {
            Db db;
            db.open(big.catalogue);
            QString sql = FixedExportSql();
            sql.replace(QStringLiteral("ORDER BY konyvek;"), QStringLiteral("ORDER BY konyvek LIMIT %1;").arg(lines));
            QuerySource source(db, sql);
            WriteDelimited(source, file, FixedFormatOptions());
        }
        const QString into = target.file(QStringLiteral("import.sqb"));
        double total = 0;
        double peak = 0;
        for (auto _ : state) {
            QFile::remove(into);
            if (!QFile::copy(target.catalogue, into))
                throw std::runtime_error("cannot copy the catalogue");
            ResetPeak();
            const auto t0 = Clock::now();
            Db db;
            db.open(into);
            const ImportText text = ReadImportFile(file);
            const QChar tab = QLatin1Char('\t');
            const ImportResult r = ImportBooks(db, text.text, tab, ImportHeader(FirstLine(text.text), tab), QDate::currentDate());
            db.close();
            const double s = Since(t0);
            peak = std::max(peak, PeakMB());
            if (r.lines != lines)
                throw std::runtime_error("the import stored a different number of books");
            state.SetIterationTime(s);
            total += s;
        }
        const QString plain = target.file(QStringLiteral("plain.db"));
        const double shell = ShellSeconds(QStringLiteral("rm -f %1 && /usr/bin/sqlite3 %1 '.mode tabs' %2")
                                              .arg(Quoted(plain), Quoted(QStringLiteral(".import ") + file + QStringLiteral(" t"))));
        Report(state, total, shell, peak);
    });
}

// A field of a comma-separated file, quoted as a spreadsheet quotes it.
QString CsvField(const QString &v) {
    return QLatin1Char('"') + QString(v).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

// 100,000 rows in the shape of a book site's library export (display name and "Family,
// Given", ISBNs behind a spreadsheet guard, shelves, a review), made from the large
// catalogue's books, into the 10,000-book one through the take-over run.
void BM_CsvImport(benchmark::State &state) {
    Guard(state, [&] {
        const int rows = int(state.range(0));
        Workspace &big = WorkspaceFor(200000);
        Workspace &target = WorkspaceFor(10000);
        const QString file = big.file(QStringLiteral("konyvtaram.csv"));
        {
            Db db;
            db.open(big.catalogue);
            Stmt s = db.prepare(QStringLiteral("SELECT konyvek, cim, szerzo_nev, isbn, kiado_nev, terjedelem, dat_besz, kulcsszavak, "
                                               "tartalom FROM konyvek ORDER BY konyvek LIMIT ?1"));
            s.bind(1, rows);
            QString text = QStringLiteral("Book Id,Title,Author,Author l-f,ISBN,ISBN13,Publisher,Number of Pages,Date Added,"
                                          "Bookshelves,My Review\n");
            while (s.step()) {
                const QString author = s.text(2);
                const qsizetype space = author.indexOf(QLatin1Char(' '));
                const QString display = space > 0 ? author.mid(space + 1) + QLatin1Char(' ') + author.left(space) : author;
                const QString sorted = space > 0 ? author.left(space) + QStringLiteral(", ") + author.mid(space + 1) : author;
                text += QStringList{QString::number(s.int64(0)), CsvField(s.text(1)), CsvField(display), CsvField(sorted),
                                    QStringLiteral("=\"%1\"").arg(s.text(3)), QStringLiteral("=\"\""), CsvField(s.text(4)),
                                    s.text(5), QString(s.text(6)).replace(QLatin1Char('-'), QLatin1Char('/')),
                                    CsvField(s.text(7)), CsvField(s.text(8))}
                            .join(QLatin1Char(',')) +
                        QLatin1Char('\n');
            }
            QFile out(file);
            if (!out.open(QIODevice::WriteOnly) || out.write(text.toUtf8()) < 0)
                throw std::runtime_error("cannot write the CSV file");
        }
        const csv::Preview head = csv::ReadPreview(file);
        const QString into = target.file(QStringLiteral("csv.sqb"));
        double total = 0;
        double peak = 0;
        for (auto _ : state) {
            QFile::remove(into);
            if (!QFile::copy(target.catalogue, into))
                throw std::runtime_error("cannot copy the catalogue");
            ResetPeak();
            const auto t0 = Clock::now();
            Db db;
            db.open(into);
            const csv::CsvRun run{head.dialect, csv::SuggestMapping(head.header), csv::Duplicates::Add, false, QDate::currentDate()};
            const csv::CsvSummary r = csv::RunCsvImportFile(db, file, run);
            db.close();
            const double sec = Since(t0);
            peak = std::max(peak, PeakMB());
            if (r.added != rows)
                throw std::runtime_error("the run added a different number of books");
            state.SetIterationTime(sec);
            total += sec;
        }
        const QString plain = target.file(QStringLiteral("plain-csv.db"));
        const double shell = ShellSeconds(QStringLiteral("rm -f %1 && /usr/bin/sqlite3 %1 %2")
                                              .arg(Quoted(plain), Quoted(QStringLiteral(".import --csv ") + file + QStringLiteral(" t"))));
        Report(state, total, shell, peak);
    });
}

const bool registered = [] {
    using benchmark::kMillisecond;
    benchmark::RegisterBenchmark("ExportFixed", BM_ExportFixed)->Arg(200000)->Unit(kMillisecond)->UseManualTime()->Iterations(3);
    benchmark::RegisterBenchmark("ExportExcelbe", BM_ExportExcelbe)->Arg(200000)->Unit(kMillisecond)->UseManualTime()->Iterations(2);
    benchmark::RegisterBenchmark("Import", BM_Import)->Arg(100000)->Unit(kMillisecond)->UseManualTime()->Iterations(2);
    benchmark::RegisterBenchmark("CsvImport", BM_CsvImport)->Arg(100000)->Unit(kMillisecond)->UseManualTime()->Iterations(2);
    return true;
}();

} // namespace

} // namespace kodexa::bench
