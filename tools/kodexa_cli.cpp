// kodexa-cli: the catalogue from the command line (kodexa-cli --help lists the commands).
#include "data/Seged.h"
#include "tools/core/Cli.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTextStream>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    // Dates and numbers in exported files as the program writes them.
    if (QLocale::system().language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
    kodexa::SetProgramDir(QCoreApplication::applicationDirPath());
    QTextStream out(stdout);
    QTextStream err(stderr);
    return kodexa::cli::Run(app.arguments().mid(1), out, err);
}
