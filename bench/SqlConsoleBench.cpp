// `SELECT * FROM konyvek` in the SQL console over generated catalogues: from pressing F5 to
// the first page of rows painted, beside the sqlite3 shell running the same query; and the
// console's peak resident memory, measured in a child process, with the result open and
// after every row was read through the grid's model.
#include "bench/SqlConsoleBench.h"
#include "bench/Generator.h"
#include "bench/Probe.h"

#include "admin/SQL.h"
#include "data/BookList.h"
#include "data/DesktopServices.h"
#include "data/Seged.h"
#include "data/Settings.h"
#include "gui/QueryCursorModel.h"

#include <benchmark/benchmark.h>

#include <Qsci/qsciscintilla.h>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace kodexa::bench {

namespace {

using Clock = std::chrono::steady_clock;
double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

const QString Query = QStringLiteral("SELECT * FROM konyvek");

// The console over a copy of the cached catalogue in a program directory of its own.
struct Console {
    explicit Console(int books) {
        const QString file = dir.filePath(QStringLiteral("Kodexa.sqb"));
        if (!dir.isValid() || !QFile::copy(CachedCatalogue(books), file))
            throw std::runtime_error("cannot copy the catalogue");
        SetProgramDir(dir.path());
        db.open(file);
        tbl = std::make_unique<BookList>(db);
        ctx = std::make_unique<AppContext>(AppContext{db, *tbl, settings, services});
        window = std::make_unique<Tfrm_SQL>(*ctx);
        window->show();
        QCoreApplication::processEvents();
        grid = window->findChild<QTableView *>(QStringLiteral("DBGrid1"));
    }
    // F5 on the query, then the result page painted; the seconds it took.
    double firstRows() {
        window->findChild<QsciScintilla *>(QStringLiteral("Memo1"))->setText(Query);
        const auto t0 = Clock::now();
        window->aFuttat->trigger();
        grid->viewport()->repaint();
        const double s = Seconds(t0);
        if (!services.messages.isEmpty() || grid->model()->rowCount() == 0)
            throw std::runtime_error("the query showed no rows");
        return s;
    }

    QTemporaryDir dir;
    Db db;
    std::unique_ptr<BookList> tbl;
    TBeall settings;
    ScriptedServices services;
    std::unique_ptr<AppContext> ctx;
    std::unique_ptr<Tfrm_SQL> window;
    QTableView *grid = nullptr;
};

double ShellSeconds(const QString &file, const QString &sql) {
    const QString cmd = QStringLiteral("/usr/bin/sqlite3 '%1' '%2;' > /dev/null").arg(file, sql);
    const auto t0 = Clock::now();
    if (std::system(cmd.toUtf8().constData()) != 0)
        throw std::runtime_error("sqlite3 shell failed");
    return Seconds(t0);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void BM_SqlFirstRows(benchmark::State &state) {
    try {
        const int books = int(state.range(0));
        Console console(books);
        double total = 0;
        for (auto _ : state) {
            const double s = console.firstRows();
            state.SetIterationTime(s);
            total += s;
        }
        const QString file = console.db.path();
        std::vector<double> whole, page;
        for (int i = 0; i < 3; ++i) {
            whole.push_back(ShellSeconds(file, Query));
            page.push_back(ShellSeconds(file, Query + QStringLiteral(" LIMIT 40")));
        }
        const double mean = total / double(state.iterations());
        state.counters["rows"] = console.grid->model()->rowCount();
        state.counters["sqlite3_whole_ms"] = Median(whole) * 1000;
        state.counters["ratio_to_sqlite3_whole"] = mean / Median(whole);
        state.counters["sqlite3_first_page_ms"] = Median(page) * 1000;
        state.counters["ratio_to_sqlite3_first_page"] = mean / Median(page);
    } catch (const std::exception &e) {
        state.SkipWithError(e.what());
    }
}

void BM_SqlPeakMemory(benchmark::State &state) {
    try {
        const int books = int(state.range(0));
        CachedCatalogue(books);
        QList<QByteArray> parts;
        for (auto _ : state) {
            const auto t0 = Clock::now();
            parts = RunProbe("KODEXA_SQLPROBE", books);
            state.SetIterationTime(Seconds(t0));
        }
        if (parts.size() != 2)
            throw std::runtime_error("memory probe said nothing");
        state.counters["peak_MB_first_rows"] = parts[0].toDouble() / 1024;
        state.counters["peak_MB_after_all_rows"] = parts[1].toDouble() / 1024;
    } catch (const std::exception &e) {
        state.SkipWithError(e.what());
    }
}

// The child's side: the console with the result open, then every row once through the model.
int SqlMemoryProbe(int books) {
    try {
        Console console(books);
        console.firstRows();
        const long open = VmHWMkB();
        QAbstractItemModel *m = console.grid->model();
        for (int r = 0; r < m->rowCount(); ++r)
            for (int c = 0; c < m->columnCount(); ++c)
                m->data(m->index(r, c));
        console.grid->scrollToBottom();
        console.grid->viewport()->repaint();
        std::printf("%ld %ld\n", open, VmHWMkB());
        return 0;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}

} // namespace

void RegisterSqlConsoleBenchmarks() {
    if (const int probe = qEnvironmentVariableIntValue("KODEXA_SQLPROBE"); probe > 0)
        std::exit(SqlMemoryProbe(probe));
    for (int books : {10000, 200000}) {
        benchmark::RegisterBenchmark("SqlConsoleFirstRows", BM_SqlFirstRows)
            ->Arg(books)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(books > 10000 ? 5 : 10);
        benchmark::RegisterBenchmark("SqlConsolePeakMemory", BM_SqlPeakMemory)
            ->Arg(books)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    }
}

} // namespace kodexa::bench
