// kodexa-cli on a generated catalogue, each command timed from start to exit as a separate
// process, beside the sqlite3 shell doing the same work in the same run: list as TSV
// against the same columns in the same order, the keyword search against its statement,
// check against the integrity check alone, backup against the shell's .backup. The peak
// resident memory of each child is read from the kernel when it ends.
#include "bench/CliBench.h"
#include "bench/Generator.h"

#include "app/core/BookView.h"
#include "edit/core/Keres.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <chrono>
#include <fcntl.h>
#include <memory>
#include <spawn.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace kodexa::bench {

namespace {

struct Child {
    double seconds = 0;
    double peakMB = 0;
};

// Runs the program with its output thrown away; the time from start to exit and the
// child's own peak resident set.
Child RunChild(const QStringList &argv) {
    std::vector<QByteArray> bytes;
    for (const QString &a : argv)
        bytes.push_back(a.toUtf8());
    std::vector<char *> args;
    for (QByteArray &b : bytes)
        args.push_back(b.data());
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) != 0)
        throw std::runtime_error("cannot start " + bytes[0].toStdString());
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    Child c;
    c.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    c.peakMB = usage.ru_maxrss / 1024.0;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("failed: " + argv.join(' ').toStdString());
    return c;
}

// A copy of the cached catalogue for this run: check --fix and backups never reach the cache.
QString CatalogueCopy(int books) {
    static std::unique_ptr<QTemporaryDir> dir;
    static int copied = 0;
    if (!dir || copied != books) {
        dir = std::make_unique<QTemporaryDir>();
        if (!dir->isValid() || !QFile::copy(CachedCatalogue(books), dir->filePath(QStringLiteral("Kodexa.sqb"))))
            throw std::runtime_error("cannot copy the catalogue");
        copied = books;
    }
    return dir->filePath(QStringLiteral("Kodexa.sqb"));
}

QString Cli() { return QCoreApplication::applicationDirPath() + QStringLiteral("/kodexa-cli"); }
const QString Shell = QStringLiteral("/usr/bin/sqlite3");

const QString ListColumns = QStringLiteral("konyvek,szerzo_nev,cim,kiado_nev,polc_nev,dat_besz");

// One iteration runs the tool and the shell once each; the figure is the tool's time.
void Compare(benchmark::State &state, const std::function<QStringList(const QString &)> &tool,
             const std::function<QStringList(const QString &)> &shell) {
    const QString db = CatalogueCopy(int(state.range(0)));
    double toolTotal = 0, shellTotal = 0, peak = 0, shellPeak = 0;
    for (auto _ : state) {
        const Child t = RunChild(tool(db));
        const Child s = RunChild(shell(db));
        state.SetIterationTime(t.seconds);
        toolTotal += t.seconds;
        shellTotal += s.seconds;
        peak = std::max(peak, t.peakMB);
        shellPeak = std::max(shellPeak, s.peakMB);
    }
    const double n = double(state.iterations());
    state.counters["ms"] = toolTotal / n * 1000;
    state.counters["sqlite3_ms"] = shellTotal / n * 1000;
    state.counters["ratio_to_sqlite3"] = toolTotal / shellTotal;
    state.counters["peak_MB"] = peak;
    state.counters["sqlite3_peak_MB"] = shellPeak;
}

void BM_CliListTsv(benchmark::State &state) {
    Compare(
        state, [](const QString &db) { return QStringList{Cli(), "--db", db, "list", "--sort", "cim", "--fields", ListColumns}; },
        [](const QString &db) {
            return QStringList{Shell, "-tabs", "-header", db,
                               QStringLiteral("SELECT %1 FROM konyvek ORDER BY %2").arg(ListColumns, OrderColumnFor("cim"))};
        });
}

// A word of the generated keywords that matches a few thousand books.
const QString SearchWord = QStringLiteral("török");

void BM_CliSearch(benchmark::State &state) {
    Compare(
        state, [](const QString &db) { return QStringList{Cli(), "--db", db, "search", SearchWord}; },
        [](const QString &db) { return QStringList{Shell, "-tabs", "-header", db, KeywordSearchSql(SearchWord)}; });
}

void BM_CliCheck(benchmark::State &state) {
    Compare(
        state, [](const QString &db) { return QStringList{Cli(), "--db", db, "check"}; },
        [](const QString &db) { return QStringList{Shell, db, "PRAGMA integrity_check"}; });
}

void BM_CliBackup(benchmark::State &state) {
    Compare(
        state,
        [](const QString &db) {
            return QStringList{Cli(), "--db", db, "backup", QFileInfo(db).dir().filePath(QStringLiteral("cli-mentes.sqb"))};
        },
        [](const QString &db) {
            const QString target = QFileInfo(db).dir().filePath(QStringLiteral("shell-mentes.sqb"));
            QFile::remove(target);
            return QStringList{Shell, db, QStringLiteral(".backup '%1'").arg(target)};
        });
}

} // namespace

void RegisterCliBenchmarks() {
    for (int books : {10000, 200000, 1000000}) {
        const int iterations = books > 200000 ? 1 : books > 10000 ? 3 : 5;
        struct Case {
            const char *name;
            void (*run)(benchmark::State &);
        };
        for (const Case &c : {Case{"CliListTsv", BM_CliListTsv}, Case{"CliSearch", BM_CliSearch}, Case{"CliCheck", BM_CliCheck},
                              Case{"CliBackup", BM_CliBackup}})
            benchmark::RegisterBenchmark(c.name, c.run)
                ->Arg(books)
                ->UseManualTime()
                ->Iterations(iterations)
                ->Unit(benchmark::kMillisecond);
    }
}

} // namespace kodexa::bench
