// The benchmark program. Two environment variables turn it into a helper instead:
//   KODEXA_GENERATE=path:count  writes a generated catalogue of count books to path and
//                               exits (to try the program on a large collection: put the
//                               file beside the program as Kodexa.sqb);
//   KODEXA_MEMPROBE=count       the child process of the memory benchmark.
#include "bench/BookListBench.h"
#include "bench/CliBench.h"
#include "bench/Generator.h"
#include "bench/SqlConsoleBench.h"
#include "bench/ReportBench.h"

#include "data/Db.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLocale>
#include <cstdio>

namespace {
// The offscreen platform says this at every window shown; it only hides the table.
QtMessageHandler standardHandler = nullptr;
void QuietHandler(QtMsgType type, const QMessageLogContext &context, const QString &message) {
    if (!message.contains(QLatin1String("propagateSizeHints")) && standardHandler)
        standardHandler(type, context, message);
}
} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    standardHandler = qInstallMessageHandler(QuietHandler);
    QApplication app(argc, argv);
    // The same look as the program itself: row height and so rows per page depend on it.
    if (QLocale::system().language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    QApplication::setFont(QFont(QStringLiteral("Tahoma"), 8));

    const QString generate = qEnvironmentVariable("KODEXA_GENERATE");
    if (!generate.isEmpty()) {
        const int colon = int(generate.lastIndexOf(QLatin1Char(':')));
        const int books = colon > 0 ? generate.mid(colon + 1).toInt() : 0;
        if (books <= 0) {
            std::fprintf(stderr, "KODEXA_GENERATE=path:count, for example /tmp/big.sqb:200000\n");
            return 2;
        }
        try {
            kodexa::bench::GenerateCatalogue(generate.left(colon), books);
        } catch (const kodexa::DbError &e) {
            std::fprintf(stderr, "%s\n", e.message().toLocal8Bit().constData());
            return 1;
        }
        return 0;
    }
    const int probe = qEnvironmentVariableIntValue("KODEXA_MEMPROBE");
    if (probe > 0)
        return kodexa::bench::MemoryProbe(probe);
    if (qEnvironmentVariableIsSet("KODEXA_REPORTPROBE"))
        return kodexa::bench::ReportProbe(qEnvironmentVariable("KODEXA_REPORTPROBE"));

    bool repetitionsGiven = false;
    for (int i = 1; i < argc; ++i)
        repetitionsGiven |= QByteArray(argv[i]).startsWith("--benchmark_repetitions");
    kodexa::bench::RegisterBookListBenchmarks(!repetitionsGiven);
    kodexa::bench::RegisterCliBenchmarks();
    kodexa::bench::RegisterSqlConsoleBenchmarks();
    kodexa::bench::RegisterReportBenchmarks();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    kodexa::bench::CloseWindows();
    return 0;
}
