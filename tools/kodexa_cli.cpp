// kodexa-cli: the catalogue from the command line (kodexa-cli --help lists the commands).
#include "data/Locations.h"
#include "tools/core/Cli.h"

#include <QGuiApplication>
#include <QLocale>
#include <QTextStream>
#include <cstring>
#include <memory>

namespace {
// The command word: the first argument that is neither an option nor --db's value.
const char *CommandWord(int argc, char **argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--db") == 0)
            ++i;
        else if (argv[i][0] != '-')
            return argv[i];
    }
    return "";
}

// Run from cron there is no session, and the painting library's start-up notes that on
// standard error; a script's error output should hold only what went wrong.
void QuietAboutSession(QtMsgType type, const QMessageLogContext &context, const QString &text) {
    if (type == QtWarningMsg && text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    QTextStream(stderr) << qFormatLogMessage(type, context, text) << '\n';
}
} // namespace

int main(int argc, char **argv) {
    // Only the reports and the demo's covers paint (fonts need a GUI application); never on a
    // screen, so no display is needed. The other commands start without the GUI library's set-up.
    qInstallMessageHandler(QuietAboutSession);
    std::unique_ptr<QCoreApplication> app;
    const char *word = CommandWord(argc, argv);
    if (std::strcmp(word, "report") == 0 || std::strcmp(word, "init") == 0) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    // Dates and numbers in exported files as the program writes them.
    if (QLocale::system().language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
    kodexa::UseLocationsFor(QCoreApplication::applicationDirPath());
    QTextStream out(stdout);
    QTextStream err(stderr);
    return kodexa::cli::Run(app->arguments().mid(1), out, err);
}
