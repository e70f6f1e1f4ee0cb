// kodexa-init: makes a new, empty catalogue file (with --demo, one filled with real books).
// The program itself never creates a database.
#include "data/Catalogue.h"
#include "data/Db.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool demo = args.removeAll(QStringLiteral("--demo")) > 0;
    QTextStream err(stderr);
    if (args.size() != 1 || args.first().startsWith(QLatin1Char('-'))) {
        err << "Használat: kodexa-init [--demo] ÁLLOMÁNY\n";
        return 2;
    }
    try {
        kodexa::CreateCatalogue(args.first(), demo);
    } catch (const kodexa::DbError &e) {
        err << e.message() << '\n';
        return 1;
    }
    QTextStream(stdout) << "Elkészült: " << args.first() << '\n';
    return 0;
}
