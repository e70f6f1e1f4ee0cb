// The backup the program makes at exit, on generated catalogues of 10,000 and 200,000 books:
// the quick check, the online copy and the rotation of ten kept backups, after one book was
// changed (the backup is made only then), beside the sqlite3 shell's .backup of the same file.
#include "bench/Generator.h"

#include "data/Backup.h"
#include "data/Db.h"
#include "data/Locations.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <map>
#include <memory>
#include <stdexcept>

namespace kodexa::bench {

namespace {

using Clock = std::chrono::steady_clock;
double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

// A program directory of its own with a copy of the cached catalogue.
QString BackupCatalogue(int books) {
    static std::map<int, std::unique_ptr<QTemporaryDir>> dirs;
    auto &d = dirs[books];
    if (!d) {
        d = std::make_unique<QTemporaryDir>();
        if (!d->isValid() || !QFile::copy(CachedCatalogue(books), d->filePath(QStringLiteral("Kodexa.sqb"))))
            throw std::runtime_error("cannot copy the catalogue");
    }
    UseLocations({RunMode::Portable, d->path(), d->path()});
    return d->filePath(QStringLiteral("Kodexa.sqb"));
}

double ShellBackupSeconds(const QString &file) {
    const QString target = QFileInfo(file).dir().filePath(QStringLiteral("shell-mentes.sqb"));
    QFile::remove(target);
    const auto t0 = Clock::now();
    QProcess p;
    p.start(QStringLiteral("/usr/bin/sqlite3"), {file, QStringLiteral(".backup '%1'").arg(target)});
    if (!p.waitForFinished(120000) || p.exitCode() != 0)
        throw std::runtime_error("sqlite3 shell failed");
    const double s = Seconds(t0);
    QFile::remove(target);
    return s;
}

void BM_ExitBackup(benchmark::State &state) {
    const QString file = BackupCatalogue(int(state.range(0)));
    const QString folder = BackupFolderFor(file);
    double total = 0, worst = 0;
    int n = 0;
    for (auto _ : state) {
        {
            Db db;
            db.open(file);
            db.exec(QStringLiteral("UPDATE konyvek SET ar = coalesce(ar, 0) + 1 WHERE konyvek = (SELECT min(konyvek) FROM konyvek)"));
        }
        const auto t0 = Clock::now();
        const BackupOutcome done = BackupAtExit(file);
        const double s = Seconds(t0);
        if (done.path.isEmpty())
            throw std::runtime_error("no backup made");
        total += s;
        worst = std::max(worst, s);
        ++n;
        state.SetIterationTime(s);
    }
    const double shell = ShellBackupSeconds(file);
    state.counters["ms"] = total / n * 1000;
    state.counters["worst_ms"] = worst * 1000;
    state.counters["sqlite3_backup_ms"] = shell * 1000;
    state.counters["ratio_to_sqlite3"] = total / n / shell;
    state.counters["kept"] = double(ListBackups(folder, file).size());
    state.counters["file_MB"] = QFileInfo(file).size() / 1048576.0;
}

// Twelve runs: the last two rotate the oldest backups away.
const bool registered = [] {
    benchmark::RegisterBenchmark("ExitBackup", &BM_ExitBackup)
        ->Arg(10000)
        ->Arg(200000)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(12);
    return true;
}();

} // namespace

} // namespace kodexa::bench
