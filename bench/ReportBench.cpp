// The printed reports at scale, over the generated 200,000-book catalogue: the compact
// list "Szerzők szerint" paginated (against the sqlite3 shell writing the same query to a
// file), from the command to the first preview page painted, written whole as a PDF, the
// peak memory of each, and the data sheet of one book with a cover.
#include "bench/ReportBench.h"
#include "bench/Generator.h"
#include "bench/Probe.h"

#include "tests/support/ScriptedServices.h"
#include "data/Kozos.h"
#include "data/Seged.h"
#include "reports/Elonezet.h"
#include "reports/core/Reports.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <chrono>
#include <map>
#include <memory>

namespace kodexa::bench {

namespace {

using Clock = std::chrono::steady_clock;
double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }
constexpr int Books = 200000;

// A program directory with a copy of the cached catalogue: the cache itself is never opened.
struct Catalogue {
    QTemporaryDir dir;
    Db db;
    Catalogue() {
        if (!dir.isValid() || !QFile::copy(CachedCatalogue(Books), dir.filePath(QStringLiteral("Kodexa.sqb"))))
            throw std::runtime_error("cannot copy the catalogue");
        SetProgramDir(dir.path());
        db.open(dir.filePath(QStringLiteral("Kodexa.sqb")));
    }
};
Catalogue &Shared() {
    static Catalogue c;
    SetProgramDir(c.dir.path());
    return c;
}

std::unique_ptr<report::Report> AuthorsList(Db &db) {
    return report::MakeQueryReport(db, report::CompactListDef(0, {}), report::CompactListQuery(0, -1));
}

// The sqlite3 shell running the report's query with its output to a file: start to exit.
double ShellSeconds() {
    Catalogue &c = Shared();
    const QString out = c.dir.filePath(QStringLiteral("shell.txt"));
    const QString sql = report::CompactListQuery(0, -1).sql().replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString cmd = QStringLiteral("/usr/bin/sqlite3 '%1' '%2' > '%3'").arg(c.db.path(), sql, out);
    const auto t0 = Clock::now();
    if (std::system(cmd.toUtf8().constData()) != 0)
        throw std::runtime_error("sqlite3 shell failed");
    return Seconds(t0);
}

double ShellReference() {
    static double ref = -1;
    if (ref < 0) {
        std::vector<double> runs;
        for (int i = 0; i < 3; ++i)
            runs.push_back(ShellSeconds());
        std::sort(runs.begin(), runs.end());
        ref = runs[1];
    }
    return ref;
}

template <class Fn> void Guard(benchmark::State &state, Fn fn) {
    try {
        fn();
    } catch (const std::exception &e) {
        state.SkipWithError(e.what());
    }
}

void Settle() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// The preview shown with its first page painted.
void OpenPreview(Db &db, ScriptedServices &services) {
    auto r = AuthorsList(db);
    r->paginate();
    Tfrm_Elonezet preview(*r, services);
    preview.show();
    Settle();
    preview.close();
}

void BM_ReportPagination(benchmark::State &state) {
    Guard(state, [&] {
        Db &db = Shared().db;
        int pages = 0;
        double total = 0;
        for (auto _ : state) {
            const auto t0 = Clock::now();
            auto r = AuthorsList(db);
            r->paginate();
            const double s = Seconds(t0);
            state.SetIterationTime(s);
            total += s;
            pages = r->pageCount();
        }
        const double ref = ShellReference();
        state.counters["pages"] = pages;
        state.counters["sqlite3_to_file_ms"] = ref * 1000;
        state.counters["ratio_to_sqlite3"] = total / double(state.iterations()) / ref;
    });
}

void BM_ReportSqlite3ShellToFile(benchmark::State &state) {
    Guard(state, [&] {
        for (auto _ : state)
            state.SetIterationTime(ShellSeconds());
    });
}

void BM_ReportFirstPreviewPage(benchmark::State &state) {
    Guard(state, [&] {
        Db &db = Shared().db;
        ScriptedServices services;
        for (auto _ : state) {
            const auto t0 = Clock::now();
            OpenPreview(db, services);
            state.SetIterationTime(Seconds(t0));
        }
    });
}

// Paging on in the preview: one page laid out and painted at page width.
void BM_ReportPreviewNextPage(benchmark::State &state) {
    Guard(state, [&] {
        Db &db = Shared().db;
        ScriptedServices services;
        auto r = AuthorsList(db);
        r->paginate();
        Tfrm_Elonezet preview(*r, services);
        preview.show();
        Settle();
        int page = 0;
        for (auto _ : state) {
            const auto t0 = Clock::now();
            preview.showPage(page = (page + 97) % r->pageCount());
            state.SetIterationTime(Seconds(t0));
        }
        preview.close();
    });
}

void BM_ReportWholePdf(benchmark::State &state) {
    Guard(state, [&] {
        Catalogue &c = Shared();
        const QString path = c.dir.filePath(QStringLiteral("szerzok.pdf"));
        int pages = 0;
        for (auto _ : state) {
            const auto t0 = Clock::now();
            auto r = AuthorsList(c.db);
            r->writePdf(path);
            state.SetIterationTime(Seconds(t0));
            pages = r->pageCount();
        }
        state.counters["pages"] = pages;
        state.counters["MB"] = double(QFileInfo(path).size()) / 1e6;
        QFile::remove(path);
    });
}

// The whole PDF from the preview window's button (the report paginated and shown, as the
// user has it before asking), against writePdf of another report of the same pages in the
// same process.
void BM_ReportPdfWindow(benchmark::State &state) {
    Guard(state, [&] {
        Catalogue &c = Shared();
        const QString byWindow = c.dir.filePath(QStringLiteral("ablak.pdf"));
        const QString byCore = c.dir.filePath(QStringLiteral("mag.pdf"));
        double window = 0, core = 0;
        for (auto _ : state) {
            {
                auto r = AuthorsList(c.db);
                r->paginate();
                const auto t0 = Clock::now();
                r->writePdf(byCore);
                core += Seconds(t0);
            }
            ScriptedServices services;
            auto r = AuthorsList(c.db);
            r->paginate();
            Tfrm_Elonezet preview(*r, services);
            preview.show();
            Settle();
            services.fileAnswers.push_back(byWindow);
            const auto t0 = Clock::now();
            preview.findChild<QPushButton *>(QStringLiteral("bPdf"))->click();
            const double t = Seconds(t0);
            state.SetIterationTime(t);
            window += t;
            preview.close();
        }
        state.counters["core_ms"] = core / double(state.iterations()) * 1000;
        state.counters["ratio_to_core"] = window / core;
        // The two files differ only in what the writer stamps on each (its creation time).
        state.counters["size_ratio"] = double(QFileInfo(byWindow).size()) / double(std::max<qint64>(1, QFileInfo(byCore).size()));
        QFile::remove(byWindow);
        QFile::remove(byCore);
    });
}

// The data sheet of one book with a cover: query, pass, page laid out and painted at screen size.
void BM_DataSheetOneBook(benchmark::State &state) {
    Guard(state, [&] {
        Catalogue &c = Shared();
        const qint64 key = 4242;
        const QString pic = PicturePath(key);
        if (!QFileInfo::exists(pic)) {
            QImage cover(600, 900, QImage::Format_RGB32);
            cover.fill(QColor(40, 90, 140));
            QPainter(&cover).drawText(cover.rect(), Qt::AlignCenter, QStringLiteral("Borító"));
            cover.save(pic, "JPG");
        }
        for (auto _ : state) {
            const auto t0 = Clock::now();
            auto r = report::MakeQueryReport(c.db, report::DataSheetDef({}), report::DataSheetQuery(key, QStringLiteral("cim")));
            r->paginate();
            const report::PageLayout page = r->layoutPage(0);
            QImage img(794, 1123, QImage::Format_RGB32);
            img.setDotsPerMeterX(3780);
            img.setDotsPerMeterY(3780);
            img.fill(Qt::white);
            QPainter p(&img);
            report::PaintPage(p, page, QPointF(38, 38), 96 / report::UnitsPerInch);
            p.end();
            state.SetIterationTime(Seconds(t0));
        }
    });
}

// Peak resident memory of one case, in a child process of its own.
void BM_ReportPeakMemory(benchmark::State &state) {
    static const char *cases[] = {"pagination", "preview", "pdf"};
    Guard(state, [&] {
        Shared(); // the catalogue is cached before the child starts
        long kb = -1;
        for (auto _ : state) {
            const auto t0 = Clock::now();
            kb = RunProbe("KODEXA_REPORTPROBE", int(state.range(0))).value(0).toLong();
            state.SetIterationTime(Seconds(t0));
        }
        state.counters["peak_RSS_MB"] = kb / 1024.0;
        state.SetLabel(cases[state.range(0)]);
    });
}

} // namespace

void RegisterReportBenchmarks() {
    benchmark::RegisterBenchmark("BM_ReportPagination", BM_ReportPagination)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
    benchmark::RegisterBenchmark("BM_ReportSqlite3ShellToFile", BM_ReportSqlite3ShellToFile)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
    benchmark::RegisterBenchmark("BM_ReportFirstPreviewPage", BM_ReportFirstPreviewPage)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
    benchmark::RegisterBenchmark("BM_ReportPreviewNextPage", BM_ReportPreviewNextPage)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
    benchmark::RegisterBenchmark("BM_DataSheetOneBook", BM_DataSheetOneBook)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
    benchmark::RegisterBenchmark("BM_ReportWholePdf", BM_ReportWholePdf)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
    benchmark::RegisterBenchmark("BM_ReportPdfWindow", BM_ReportPdfWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
    benchmark::RegisterBenchmark("BM_ReportPeakMemory", BM_ReportPeakMemory)->DenseRange(0, 2)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
}

int ReportProbe(const QString &which) {
    try {
        Catalogue c;
        if (which == QLatin1String("0")) {
            auto r = AuthorsList(c.db);
            r->paginate();
        } else if (which == QLatin1String("1")) {
            ScriptedServices services;
            OpenPreview(c.db, services);
        } else if (which == QLatin1String("2")) {
            AuthorsList(c.db)->writePdf(c.dir.filePath(QStringLiteral("probe.pdf")));
        } else {
            return 2;
        }
        std::printf("%ld\n", VmHWMkB());
        return 0;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}

} // namespace kodexa::bench
