#pragma once
// The pieces every command of kodexa-cli shares: the parsed command line, the session
// (streams and the catalogue, opened on first use) and the command table.

#include "data/Db.h"
#include "tools/core/Cli.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <QVector>

namespace kodexa::cli {

// A command line the tool cannot make sense of: exit status 2.
class UsageError : public Error {
public:
    using Error::Error;
};

struct Args {
    QStringList positional;
    // Options in the order given, without their dashes; a flag has an empty value.
    QVector<QPair<QString, QString>> options;

    bool has(const QString &name) const;
    // The last value given for the option; empty when absent.
    QString value(const QString &name) const;
};

class Session {
public:
    Session(QTextStream &out, QTextStream &err) : out(out), err(err) {}
    // The catalogue: --db, else the one the program opens. Never creates a file.
    Db &catalogue();

    QTextStream &out;
    QTextStream &err;
    QString dbPath; // --db

private:
    Db db_;
};

struct Command {
    const char *name;
    const char *synopsis; // after the program name
    const char *summary;  // one line of the general help
    const char *help;     // the command's own help text
    QStringList valueOptions;
    QStringList flagOptions;
    int minPositional;
    int maxPositional;
    int (*run)(Session &, const Args &);
};

const QVector<Command> &Commands();
// The option names of the book fields add and edit take (column names and their aliases).
QStringList BookFieldOptions();

// The commands.
int RunInit(Session &, const Args &);
int RunList(Session &, const Args &);
int RunSearch(Session &, const Args &);
int RunShow(Session &, const Args &);
int RunAdd(Session &, const Args &);
int RunEdit(Session &, const Args &);
int RunLend(Session &, const Args &);
int RunReturn(Session &, const Args &);
int RunBackup(Session &, const Args &);
int RunCheck(Session &, const Args &);
int RunWhere(Session &, const Args &);
int RunExport(Session &, const Args &);
int RunImport(Session &, const Args &);
int RunReport(Session &, const Args &);
int RunHtml(Session &, const Args &);
int RunStats(Session &, const Args &);

const Command *FindCommand(const QString &name);
// Checks options and positional arguments against the command; throws UsageError.
Args ParseArgs(const Command &command, const QStringList &words);

} // namespace kodexa::cli
