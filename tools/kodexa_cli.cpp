// kodexa-cli: the catalogue from the command line (kodexa-cli --help lists the commands).
#include "data/Seged.h"
#include "tools/core/Cli.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    kodexa::SetProgramDir(QCoreApplication::applicationDirPath());
    QTextStream out(stdout);
    QTextStream err(stderr);
    return kodexa::cli::Run(app.arguments().mid(1), out, err);
}
