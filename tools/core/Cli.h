#pragma once
// kodexa-cli: the catalogue from the command line. Each command is a thin layer over the
// same cores the windows use (book list, record rules, lending, search, export, reports);
// this unit parses the command line, opens the catalogue and reports the outcome.

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace kodexa::cli {

enum ExitCode { Done = 0, Failed = 1, Usage = 2 };

// Runs one command line (the arguments after the program name). Results go to out,
// messages to err; returns the exit status. program names the tool in usage texts.
int Run(const QStringList &args, QTextStream &out, QTextStream &err, const QString &program = QStringLiteral("kodexa-cli"));

} // namespace kodexa::cli
