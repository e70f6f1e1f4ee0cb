// The statistics window at scale: its four totals and the genre table, read from
// generated catalogues of 10,000 and 200,000 books, beside the sqlite3 shell running the
// same statements.
#include "bench/Generator.h"

#include "data/AppContext.h"
#include "data/BookList.h"
#include "data/Dataset.h"
#include "data/Db.h"
#include "tests/support/ScriptedServices.h"
#include "data/Seged.h"
#include "data/Settings.h"
#include "reports/Stat.h"
#include "reports/core/Stat.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
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

// A copy of the cached catalogue per size; the cache itself is never opened for writing.
QString StatCatalogue(int books) {
    static std::map<int, std::unique_ptr<QTemporaryDir>> dirs;
    auto &d = dirs[books];
    if (!d) {
        d = std::make_unique<QTemporaryDir>();
        if (!d->isValid() || !QFile::copy(CachedCatalogue(books), d->filePath(QStringLiteral("Kodexa.sqb"))))
            throw std::runtime_error("cannot copy the catalogue");
    }
    return d->filePath(QStringLiteral("Kodexa.sqb"));
}

// The two statements the window runs, in one shell start, output discarded.
double ShellSeconds(const QString &file) {
    const QString sql = QStringLiteral("SELECT COUNT(*), COUNT(DISTINCT szerzo) + IFNULL(MAX(szerzo IS NULL), 0),"
                                       " COUNT(DISTINCT kiado) + IFNULL(MAX(kiado IS NULL), 0), SUM(ar) FROM konyvek; ") +
                        GenreCountSql().replace(QLatin1Char('\n'), QLatin1Char(' '));
    const auto t0 = Clock::now();
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(QStringLiteral("/usr/bin/sqlite3"), {file, sql});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        throw std::runtime_error("sqlite3 shell failed");
    return Seconds(t0);
}

double ShellReference(const QString &file) {
    static std::map<QString, double> cache;
    if (auto it = cache.find(file); it != cache.end())
        return it->second;
    std::vector<double> runs;
    for (int i = 0; i < 5; ++i)
        runs.push_back(ShellSeconds(file));
    std::sort(runs.begin(), runs.end());
    return cache[file] = runs[runs.size() / 2];
}

// The window's own reading: four totals, the genre query read into its dataset.
void BM_StatQueries(benchmark::State &state) {
    const QString file = StatCatalogue(int(state.range(0)));
    Db db;
    db.open(file);
    qint64 genres = 0;
    double total = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        const StatTotals t = ReadStatTotals(db);
        MemDataset qry(db);
        qry.openQuery(GenreCountSql());
        genres = qry.recordCount();
        benchmark::DoNotOptimize(t);
        const double s = Seconds(t0);
        total += s;
        state.SetIterationTime(s);
    }
    const double ref = ShellReference(file);
    state.counters["genres"] = double(genres);
    state.counters["sqlite3_ms"] = ref * 1000;
    state.counters["ratio_to_sqlite3"] = total / double(state.iterations()) / ref;
}

// The whole command as the user meets it: the window made, filled and shown.
void BM_StatWindow(benchmark::State &state) {
    const QString file = StatCatalogue(int(state.range(0)));
    Db db;
    db.open(file);
    BookList tbl(db);
    tbl.open(QStringLiteral("konyvek"), QStringLiteral("konyvek"));
    TBeall settings;
    ScriptedServices services;
    AppContext ctx{db, tbl, settings, services};
    double total = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        {
            Tfrm_Stat w(ctx);
            w.show();
            QCoreApplication::processEvents();
        }
        const double s = Seconds(t0);
        total += s;
        state.SetIterationTime(s);
    }
    const double ref = ShellReference(file);
    state.counters["sqlite3_ms"] = ref * 1000;
    state.counters["ratio_to_sqlite3"] = total / double(state.iterations()) / ref;
}

void BM_StatSqlite3Shell(benchmark::State &state) {
    const QString file = StatCatalogue(int(state.range(0)));
    for (auto _ : state)
        state.SetIterationTime(ShellSeconds(file));
}

// Registered with the program's other benchmarks when it starts; each size five times.
const bool registered = [] {
    for (auto [name, fn] : {std::pair{"StatQueries", &BM_StatQueries}, std::pair{"StatWindow", &BM_StatWindow},
                            std::pair{"StatSqlite3Shell", &BM_StatSqlite3Shell}})
        benchmark::RegisterBenchmark(name, fn)->Arg(10000)->Arg(200000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
    return true;
}();

} // namespace

} // namespace kodexa::bench
