#include "tools/core/Cli.h"

#include "tools/core/CliCommand.h"

#include "data/Catalogue.h"
#include "data/Locations.h"

#include <QFileInfo>

namespace kodexa::cli {

namespace {

QString GeneralHelp(const QString &program) {
    QString h = QStringLiteral(
                    "Használat: %1 [--db ÁLLOMÁNY] PARANCS [KAPCSOLÓK]\n"
                    "\n"
                    "A katalógus parancssorból: listázás, keresés, felvitel, kölcsönzés, mentés, ellenőrzés.\n"
                    "--db nélkül azt a katalógust használja, amelyet a program is megnyit: a Kodexa.ini\n"
                    "[Database] Path kulcsát, ennek hiányában a Kodexa.sqb-t; hogy hol, azt a where parancs mutatja.\n"
                    "Katalógust csak az init parancs hoz létre.\n"
                    "Egy kapcsoló értéke szóközzel vagy egyenlőségjellel is megadható (--db ÁLLOMÁNY vagy\n"
                    "--db=ÁLLOMÁNY); kétszer megadott kapcsolóból az utolsó érvényes.\n"
                    "\n"
                    "Parancsok:\n")
                    .arg(program);
    for (const Command &c : Commands())
        h += QStringLiteral("  %1%2\n").arg(QString::fromUtf8(c.name).leftJustified(9), QString::fromUtf8(c.summary));
    h += QStringLiteral("\nRészletek: %1 PARANCS --help\n"
                        "Kilépési kód: 0 siker, 1 elutasított vagy sikertelen parancs (az ok a hibakimeneten),\n"
                        "2 hibás használat.\n")
             .arg(program);
    return h;
}

QString CommandHelp(const Command &c, const QString &program) {
    return QStringLiteral("Használat: %1 [--db ÁLLOMÁNY] %2\n\n%3\n").arg(program, QString::fromUtf8(c.synopsis), QString::fromUtf8(c.help));
}

} // namespace

Db &Session::catalogue() {
    if (db_.isOpen())
        return db_;
    QString path = dbPath;
    if (path.isEmpty())
        path = CataloguePath();
    if (!QFileInfo(path).isFile())
        throw Error(QStringLiteral("Nem létező adatbázis: %1").arg(path));
    try {
        db_.open(path);
        RequireCatalogueTables(db_);
    } catch (const DbError &e) {
        db_.close();
        throw Error(QStringLiteral("Az adatbázis nem nyitható meg: %1 (%2)").arg(path, e.message()));
    }
    return db_;
}

int Run(const QStringList &argv, QTextStream &out, QTextStream &err, const QString &program) {
    Session session(out, err);
    const Command *command = nullptr;
    QStringList rest;
    bool help = false;
    try {
        // Options of the tool itself may stand anywhere; the first other word is the command.
        for (qsizetype i = 0; i < argv.size(); ++i) {
            const QString &a = argv[i];
            if (a == QLatin1String("--db")) {
                if (i + 1 >= argv.size())
                    throw UsageError(QStringLiteral("A(z) --db kapcsolóhoz érték kell."));
                session.dbPath = argv[++i];
            } else if (a.startsWith(QLatin1String("--db="))) {
                session.dbPath = a.mid(5);
            } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
                help = true;
            } else if (!command && !a.startsWith(QLatin1Char('-'))) {
                command = FindCommand(a);
                if (!command)
                    throw UsageError(QStringLiteral("Ismeretlen parancs: %1").arg(a));
            } else if (!command) {
                throw UsageError(QStringLiteral("Ismeretlen kapcsoló: %1").arg(a));
            } else {
                rest << a;
            }
        }
        if (!command) {
            (help ? out : err) << GeneralHelp(program);
            return help ? Done : Usage;
        }
        if (help) {
            out << CommandHelp(*command, program);
            return Done;
        }
        const Args args = ParseArgs(*command, rest);
        const int rc = command->run(session, args);
        out.flush();
        return rc;
    } catch (const UsageError &e) {
        out.flush();
        err << e.message() << '\n';
        if (command)
            err << QStringLiteral("Részletek: %1 %2 --help\n").arg(program, QString::fromUtf8(command->name));
        else
            err << QStringLiteral("Részletek: %1 --help\n").arg(program);
        return Usage;
    } catch (const std::exception &e) {
        out.flush();
        err << ErrorText(e) << '\n';
        return Failed;
    }
}

} // namespace kodexa::cli
