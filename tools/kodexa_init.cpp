// kodexa-init: makes a new, empty catalogue file (with --demo, one filled with real books,
// a handful of them with a cover picture). The program itself never creates a database.
#include "data/Catalogue.h"
#include "data/Error.h"
#include "reports/core/DemoCatalogue.h"

#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char **argv) {
    // Pictures are drawn without a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool demo = args.removeAll(QStringLiteral("--demo")) > 0;
    QTextStream err(stderr);
    if (args.size() != 1 || args.first().startsWith(QLatin1Char('-'))) {
        err << "Használat: kodexa-init [--demo] ÁLLOMÁNY\n";
        return 2;
    }
    try {
        if (demo)
            kodexa::CreateDemoCatalogue(args.first());
        else
            kodexa::CreateCatalogue(args.first(), false);
    } catch (const std::exception &e) {
        err << kodexa::ErrorText(e) << '\n';
        return 1;
    }
    QTextStream(stdout) << "Elkészült: " << args.first() << '\n';
    return 0;
}
