// The HTML page of the book list over generated catalogues of 10,000 and 200,000 books,
// sorted by author and so grouped, with the columns the list shows by default. Quoted
// against the sqlite3 shell writing the same columns in the same order with .mode html.
// Run alone with --benchmark_filter=HtmlPage.
#include "bench/Generator.h"
#include "bench/Probe.h"

#include "data/BookList.h"
#include "data/Db.h"
#include "exchange/core/Grid2Html.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <vector>

namespace kodexa::bench {

namespace {

using Clock = std::chrono::steady_clock;
double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

const char *const kColumns = "kolcsonadva, konyvek, szerzo_nev, cim, kiado_nev, polc_nev, dat_besz";

// A copy of the cached catalogue per size: nothing of this run reaches the cache.
struct Copy {
    QTemporaryDir dir;
    QString file;
};
const Copy &CopyOf(int books) {
    static std::map<int, std::unique_ptr<Copy>> copies;
    auto &c = copies[books];
    if (!c) {
        c = std::make_unique<Copy>();
        c->file = c->dir.filePath(QStringLiteral("Kodexa.sqb"));
        if (!c->dir.isValid() || !QFile::copy(CachedCatalogue(books), c->file))
            throw std::runtime_error("cannot copy the catalogue");
    }
    return *c;
}

HtmlGrid ListGrid() {
    // The default list at a 717-pixel grid: the flag column and six weighted columns.
    return {{{"kolcsonadva", "!", 18, {}},
             {"konyvek", "id", 64, {}},
             {"szerzo_nev", "szerző", 193, {}},
             {"cim", "cím", 301, {}},
             {"kiado_nev", "kiadó", 172, {}},
             {"polc_nev", "polc", 64, {}},
             {"dat_besz", "beszerzés", 129, {}}},
            717};
}

double ShellSeconds(const Copy &c) {
    const QString cmd = QStringLiteral("/usr/bin/sqlite3 -html '%1' 'SELECT %2 FROM konyvek ORDER BY szerzo_nevs;' > '%3'")
                            .arg(c.file, QLatin1String(kColumns), c.dir.filePath(QStringLiteral("shell.html")));
    const auto t0 = Clock::now();
    if (std::system(cmd.toUtf8().constData()) != 0)
        throw std::runtime_error("sqlite3 shell failed");
    return Seconds(t0);
}

// The page written from the open list (the program has it open when the user asks).
void BM_HtmlPage(benchmark::State &state) {
    try {
        const int books = int(state.range(0));
        const Copy &c = CopyOf(books);
        double shell = 0;
        {
            std::vector<double> runs;
            for (int i = 0; i < 3; ++i)
                runs.push_back(ShellSeconds(c));
            std::sort(runs.begin(), runs.end());
            shell = runs[1];
        }
        Db db;
        db.open(c.file);
        BookList list(db);
        list.open(QStringLiteral("szerzo_nevs"), QStringLiteral("szerzo_nev"));
        const HtmlGrid grid = ListGrid();
        const HtmlPageText page{QStringLiteral("Könyvek"), QString(), QStringLiteral("szerzo_nev"), QDateTime::currentDateTime()};
        const QString out = c.dir.filePath(QStringLiteral("k_nyvek.htm"));
        double total = 0;
        long peak = 0;
        ResetPeak();
        const long before = VmHWMkB(); // the list open, before any page
        for (auto _ : state) {
            ResetPeak();
            const auto t0 = Clock::now();
            if (WriteGridHtml(out, list, grid, page) != books)
                throw std::runtime_error("the page lacks rows");
            const double s = Seconds(t0);
            state.SetIterationTime(s);
            total += s;
            peak = std::max(peak, VmHWMkB());
        }
        state.counters["sqlite3_ms"] = shell * 1000;
        state.counters["ratio_to_sqlite3"] = total / double(state.iterations()) / shell;
        state.counters["page_MB"] = QFileInfo(out).size() / 1048576.0;
        state.counters["shell_page_MB"] = QFileInfo(c.dir.filePath(QStringLiteral("shell.html"))).size() / 1048576.0;
        state.counters["peak_MB"] = peak / 1024.0;
        state.counters["rss_MB_list_open"] = before / 1024.0;
    } catch (const std::exception &e) {
        state.SkipWithError(e.what());
    }
}

} // namespace

BENCHMARK(BM_HtmlPage)->Name("HtmlPage")->Arg(10000)->Arg(200000)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace kodexa::bench
