// The delimited export and the import at scale, each against the sqlite3 shell doing the
// same work on the same file in the same run:
//   ExportFixed    "Adatbázis export" of 200,000 books vs the shell's -separator Tab output;
//   ExportExcelbe  every column of the 200,000-book list in list order, double quotes and
//                  the multi-line option, vs the shell's .mode csv of the same columns and order;
//   Import         100,000 lines of the fixed format into a catalogue (lookups, search keys,
//                  one transaction) vs the shell's .import of the file into a plain table;
//   CsvImport      100,000 rows of a book site's CSV export through the take-over run (the
//                  mapping guessed, names, ISBNs and dates cleaned, duplicates looked for) vs
//                  the shell's .import --csv of the file;
//   ImportWindow   the same file through the import window, offscreen, opened over the main
//                  window with its book list on the same catalogue, the list read again
//                  afterwards as the menu command does; against the core run of ImportBooks
//                  on another copy in the same process (ratio_to_core);
//   ExportFixedWindow, ExcelbeWindow
//                  "Adatbázis export" and "Excelbe..." of 200,000 books through the export
//                  window over the open main window, against the same core writer on the
//                  same source in the same process (ratio_to_core; same_file: the two files
//                  are byte for byte the same);
//   HtmlWindow     "Html export" of the 200,000-book list through its window (the button to
//                  the file closed) against WriteGridHtml of the same list and columns.
// Each case also gives the peak resident memory while it ran (peak_MB).
#include "bench/Generator.h"
#include "bench/Probe.h"

#include "app/BookGridModel.h"
#include "app/Main.h"
#include "app/core/BookView.h"
#include "data/BookList.h"
#include "data/Seged.h"
#include "exchange/Grid2Html.h"
#include "exchange/Hatarolt.h"
#include "exchange/Import.h"
#include "tests/support/ScriptedServices.h"
#include "data/Db.h"
#include "data/Schema.h"
#include "exchange/core/CsvImport.h"
#include "exchange/core/Delimited.h"
#include "exchange/core/Import.h"
#include "exchange/core/RowSource.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDate>
#include <QFileInfo>
#include <QTableView>
#include <QPushButton>
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

// Each iteration runs work on a fresh copy of the workspace's catalogue, opened and closed
// inside the timed part; gives the total seconds, and the peak resident memory in peak.
template <class Work> double TimedOnCopies(benchmark::State &state, const Workspace &w, const QString &name, double &peak, Work work) {
    const QString into = w.file(name);
    double total = 0;
    for (auto _ : state) {
        QFile::remove(into);
        if (!QFile::copy(w.catalogue, into))
            throw std::runtime_error("cannot copy the catalogue");
        ResetPeak();
        const auto t0 = Clock::now();
        Db db;
        db.open(into);
        work(db);
        db.close();
        const double s = Since(t0);
        peak = std::max(peak, PeakMB());
        state.SetIterationTime(s);
        total += s;
    }
    return total;
}

void BM_Import(benchmark::State &state) {
    Guard(state, [&] {
        const int lines = int(state.range(0));
        Workspace &big = WorkspaceFor(200000);
        Workspace &target = WorkspaceFor(int(state.range(1)));
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
        double peak = 0;
        const double total = TimedOnCopies(state, target, QStringLiteral("import.sqb"), peak, [&](Db &db) {
            const ImportText text = ReadImportFile(file);
            const QChar tab = QLatin1Char('\t');
            const ImportResult r = ImportBooks(db, text.text, tab, ImportHeader(FirstLine(text.text), tab), QDate::currentDate());
            if (r.lines != lines)
                throw std::runtime_error("the import stored a different number of books");
        });
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
        double peak = 0;
        const double total = TimedOnCopies(state, target, QStringLiteral("csv.sqb"), peak, [&](Db &db) {
            const csv::CsvRun run{head.dialect, csv::SuggestMapping(head.header), csv::Duplicates::Add, false, QDate::currentDate()};
            if (csv::RunCsvImportFile(db, file, run).added != rows)
                throw std::runtime_error("the run added a different number of books");
        });
        const QString plain = target.file(QStringLiteral("plain-csv.db"));
        const double shell = ShellSeconds(QStringLiteral("rm -f %1 && /usr/bin/sqlite3 %1 %2")
                                              .arg(Quoted(plain), Quoted(QStringLiteral(".import --csv ") + file + QStringLiteral(" t"))));
        Report(state, total, shell, peak);
    });
}

// The rootpage of an index changes only when the index is made again.
qint64 RootPage(Db &db, const QString &index) {
    return db.scalar(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = '%1'").arg(index)).toLongLong();
}

void BM_ImportWindow(benchmark::State &state) {
    Guard(state, [&] {
        const int lines = int(state.range(0));
        Workspace &big = WorkspaceFor(200000);
        Workspace &target = WorkspaceFor(10000);
        const QString file = big.file(QStringLiteral("import-window.txt"));
        {
            Db db;
            db.open(big.catalogue);
            QString sql = FixedExportSql();
            sql.replace(QStringLiteral("ORDER BY konyvek;"), QStringLiteral("ORDER BY konyvek LIMIT %1;").arg(lines));
            QuerySource source(db, sql);
            WriteDelimited(source, file, FixedFormatOptions());
        }
        // The program directory of the window: its Kodexa.sqb is copied afresh for each run.
        QTemporaryDir programDir;
        const QString into = programDir.filePath(QStringLiteral("Kodexa.sqb"));
        const QString coreInto = target.file(QStringLiteral("import-core.sqb"));
        double window = 0, core = 0, peak = 0;
        bool rebuilt = true;
        for (auto _ : state) {
            // The core path, as kodexa-cli import runs it.
            QFile::remove(coreInto);
            if (!QFile::copy(target.catalogue, coreInto))
                throw std::runtime_error("cannot copy the catalogue");
            {
                const auto t0 = Clock::now();
                Db db;
                db.open(coreInto);
                const ImportText text = ReadImportFile(file);
                const QChar tab = QLatin1Char('\t');
                ImportBooks(db, text.text, tab, ImportHeader(FirstLine(text.text), tab), QDate::currentDate());
                db.close();
                core += Since(t0);
            }
            // The window path: the main window open with its list, the import window over it.
            QFile::remove(into);
            if (!QFile::copy(target.catalogue, into))
                throw std::runtime_error("cannot copy the catalogue");
            SetProgramDir(programDir.path());
            ScriptedServices services;
            Tfrm_Main main(services);
            if (!main.FormCreate())
                throw std::runtime_error("FormCreate failed");
            main.show();
            QApplication::processEvents();
            const qint64 rootBefore = RootPage(main.Db1(), QStringLiteral("konyvek_cims"));
            ResetPeak();
            const auto t0 = Clock::now();
            {
                Tfrm_Import w(main.Context(), &main);
                services.fileAnswers.push_back(file);
                if (!w.chooseAndLoad(QLatin1Char('\t')))
                    throw std::runtime_error("the import window did not load the file");
                w.show();
                w.findChild<QPushButton *>(QStringLiteral("BitBtn2"))->click();
                if (w.storedBooks() != lines)
                    throw std::runtime_error("the import window stored a different number of books");
            }
            main.ReadListAgain();
            QApplication::processEvents();
            const double s = Since(t0);
            peak = std::max(peak, PeakMB());
            rebuilt = rebuilt && RootPage(main.Db1(), QStringLiteral("konyvek_cims")) != rootBefore;
            state.SetIterationTime(s);
            window += s;
        }
        state.counters["core_ms"] = core / double(state.iterations()) * 1000;
        state.counters["ratio_to_core"] = window / core;
        state.counters["peak_MB"] = peak;
        state.counters["indexes_rebuilt"] = rebuilt ? 1 : 0;
    });
}

QByteArray FileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The export window over the main window, from the button to the file closed, against the
// core writer on the same kind of source; fixed: "Adatbázis export", else "Excelbe...".
void ExportThroughWindow(benchmark::State &state, bool fixed) {
    Guard(state, [&] {
        Workspace &w = WorkspaceFor(int(state.range(0)));
        QTemporaryDir programDir;
        if (!QFile::copy(w.catalogue, programDir.filePath(QStringLiteral("Kodexa.sqb"))))
            throw std::runtime_error("cannot copy the catalogue");
        SetProgramDir(programDir.path());
        ScriptedServices services;
        Tfrm_Main main(services);
        if (!main.FormCreate())
            throw std::runtime_error("FormCreate failed");
        main.show();
        QApplication::processEvents();
        const QString byWindow = programDir.filePath(QStringLiteral("window.txt"));
        const QString byCore = programDir.filePath(QStringLiteral("core.txt"));
        const auto source = [&]() -> std::unique_ptr<RowSource> {
            if (fixed)
                return FixedExportSource(main.Db1());
            return std::make_unique<BookListSource>(main.Tbl());
        };
        double window = 0, core = 0, peak = 0;
        ResetPeak();
        for (auto _ : state) {
            {
                const auto t0 = Clock::now();
                auto s = source();
                WriteDelimited(*s, byCore, fixed ? FixedFormatOptions() : DelimitedOptions());
                core += Since(t0);
            }
            auto s = source();
            Tfrm_Hatarolt dlg(*s, services, &main);
            if (fixed)
                dlg.setFixedFormat();
            dlg.setFileName(byWindow);
            dlg.show();
            QApplication::processEvents();
            const auto t0 = Clock::now();
            dlg.findChild<QPushButton *>(QStringLiteral("Button1"))->click();
            const double t = Since(t0);
            state.SetIterationTime(t);
            window += t;
        }
        peak = PeakMB();
        state.counters["core_ms"] = core / double(state.iterations()) * 1000;
        state.counters["ratio_to_core"] = window / core;
        state.counters["peak_MB"] = peak;
        state.counters["same_file"] = FileBytes(byWindow) == FileBytes(byCore) ? 1 : 0;
    });
}
void BM_ExportFixedWindow(benchmark::State &state) { ExportThroughWindow(state, true); }
void BM_ExcelbeWindow(benchmark::State &state) { ExportThroughWindow(state, false); }

void BM_HtmlWindow(benchmark::State &state) {
    Guard(state, [&] {
        Workspace &w = WorkspaceFor(int(state.range(0)));
        QTemporaryDir programDir;
        if (!QFile::copy(w.catalogue, programDir.filePath(QStringLiteral("Kodexa.sqb"))))
            throw std::runtime_error("cannot copy the catalogue");
        SetProgramDir(programDir.path());
        ScriptedServices services;
        Tfrm_Main main(services);
        if (!main.FormCreate())
            throw std::runtime_error("FormCreate failed");
        main.show();
        QApplication::processEvents();
        // The grid's columns as the menu command takes them.
        HtmlGrid grid;
        grid.width = main.Grid()->width();
        const QStringList fields = main.GridModel()->fields();
        for (int c = 0; c < fields.size(); ++c)
            grid.columns.append({fields[c], main.GridModel()->title(c), main.Grid()->columnWidth(c), {}});
        HtmlPageText page{QStringLiteral("Könyvek"), QString(), GroupFieldFor(main.SortField()), QDateTime::currentDateTime()};
        const QString byWindow = programDir.filePath(QStringLiteral("window.htm"));
        const QString byCore = programDir.filePath(QStringLiteral("core.htm"));
        double window = 0, core = 0;
        ResetPeak();
        for (auto _ : state) {
            {
                const auto t0 = Clock::now();
                WriteGridHtml(byCore, main.Tbl(), grid, page);
                core += Since(t0);
            }
            Tfrm_Grid2Html dlg(services, main.Tbl(), grid, page, byWindow, [](const QString &) {}, &main);
            dlg.show();
            QApplication::processEvents();
            const auto t0 = Clock::now();
            dlg.findChild<QPushButton *>(QStringLiteral("Button1"))->click();
            const double t = Since(t0);
            state.SetIterationTime(t);
            window += t;
        }
        state.counters["core_ms"] = core / double(state.iterations()) * 1000;
        state.counters["ratio_to_core"] = window / core;
        state.counters["peak_MB"] = PeakMB();
        state.counters["same_size"] = QFileInfo(byWindow).size() == QFileInfo(byCore).size() ? 1 : 0;
    });
}

const bool registered = [] {
    using benchmark::kMillisecond;
    benchmark::RegisterBenchmark("ExportFixed", BM_ExportFixed)->Arg(200000)->Unit(kMillisecond)->UseManualTime()->Iterations(3);
    benchmark::RegisterBenchmark("ExportFixed", BM_ExportFixed)->Arg(1000000)->Unit(kMillisecond)->UseManualTime()->Iterations(1);
    benchmark::RegisterBenchmark("ExportExcelbe", BM_ExportExcelbe)->Arg(200000)->Unit(kMillisecond)->UseManualTime()->Iterations(2);
    benchmark::RegisterBenchmark("CsvImport", BM_CsvImport)->Arg(100000)->Unit(kMillisecond)->UseManualTime()->Iterations(2);
    // 100,000 lines into the 10,000-book catalogue, and into a million books.
    benchmark::RegisterBenchmark("Import", BM_Import)->Args({100000, 10000})->Unit(kMillisecond)->UseManualTime()->Iterations(2);
    benchmark::RegisterBenchmark("Import", BM_Import)->Args({100000, 1000000})->Unit(kMillisecond)->UseManualTime()->Iterations(1);
    benchmark::RegisterBenchmark("ExportFixedWindow", BM_ExportFixedWindow)->Arg(200000)->Unit(kMillisecond)->UseManualTime()->Iterations(2);
    benchmark::RegisterBenchmark("ExcelbeWindow", BM_ExcelbeWindow)->Arg(200000)->Unit(kMillisecond)->UseManualTime()->Iterations(2);
    benchmark::RegisterBenchmark("HtmlWindow", BM_HtmlWindow)->Arg(200000)->Unit(kMillisecond)->UseManualTime()->Iterations(2);
    benchmark::RegisterBenchmark("ImportWindow", BM_ImportWindow)->Arg(100000)->Unit(kMillisecond)->UseManualTime()->Iterations(2);
    return true;
}();

} // namespace

} // namespace kodexa::bench
