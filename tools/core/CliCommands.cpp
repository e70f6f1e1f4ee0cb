#include "tools/core/CliCommand.h"

#include "data/Backup.h"
#include "tools/core/CatalogueCheck.h"

#include "data/Catalogue.h"
#include "data/Locations.h"
#include "data/Seged.h"
#include "data/Settings.h"
#include "reports/core/DemoCatalogue.h"

#include <QDateTime>
#include <QFileInfo>

namespace kodexa::cli {

bool Args::has(const QString &name) const {
    for (const auto &o : options)
        if (o.first == name)
            return true;
    return false;
}

QString Args::value(const QString &name) const {
    QString v;
    for (const auto &o : options)
        if (o.first == name)
            v = o.second;
    return v;
}

const QVector<Command> &Commands() {
    static const QStringList fields = BookFieldOptions();
    static const QVector<Command> commands = {
        {"init", "init [--demo] ÁLLOMÁNY", "új katalógus (--demo: bemutató könyvekkel)",
         "Új katalógust hoz létre; létező állományt nem ír felül. --demo: valódi könyvekkel feltöltve, az első\n"
         "néhánynak borítóképpel (a katalógus melletti Images mappában).\n"
         "Példa: kodexa-cli init --demo /tmp/proba.sqb",
         {}, {QStringLiteral("demo")}, 1, 1, RunInit},
        {"list", "list [--sort MEZŐ] [--fields a,b,…] [--format tsv|csv|json]", "a könyvek a lista sorrendjében",
         "A könyvek a könyvlista sorrendjében (a keresőkulcsos oszlopok a keresőkulcsuk szerint).\n"
         "  --sort MEZŐ      a rendezés oszlopa (oszlopnév vagy felirat, pl. cim, szerzo_nev, dat_besz);\n"
         "                   alapesetben a program rendezése (a mezo tábla jele)\n"
         "  --fields a,b,…   a kiírt oszlopok; alapesetben a lista hat oszlopa\n"
         "  --format F       tsv (alap; tabulátor, \\t \\n \\r \\\\ jelölésekkel), csv vagy json\n"
         "Az első sor az oszlopnevek sora (tsv, csv). A kimenet UTF-8.\n"
         "Példa: kodexa-cli list --sort szerzo_nev --fields konyvek,szerzo_nev,cim",
         {QStringLiteral("sort"), QStringLiteral("fields"), QStringLiteral("format")}, {}, 0, 0, RunList},
        {"search", "search [--format tsv|csv|json] SZÖVEG", "kulcsszó keresés",
         "A kulcsszó keresés: a könyvek, amelyek kulcsszavaiban a szöveg előfordul (kis- és nagybetű,\n"
         "ékezet nem számít; a % és _ mintakarakter). Kulcs, szerző és cím, kulcs szerint.\n"
         "Nincs találat: 1-es kilépési kód.\n"
         "Példa: kodexa-cli search könyvtár",
         {QStringLiteral("format")}, {}, 1, 1, RunSearch},
        {"show", "show [--format text|json] KULCS", "egy könyv minden adata",
         "Egy könyv minden adata, a törzsadatok nevükkel.\nPélda: kodexa-cli show 42", {QStringLiteral("format")}, {}, 1, 1,
         RunShow},
        {"add", "add --title CÍM [--author NÉV] [--publisher NÉV] [--isbn …] …", "új könyv",
         "Új könyv a szerkesztő ablak szabályaival: új kulcs, mai beszerzési dátum, a törzsadatok\n"
         "(szerző, kiadó, sorozat, tárgykör, műfaj, polc, nyelv) név szerint megkeresve vagy felvéve,\n"
         "keresőkulcsok. Kiírja az új könyv kulcsát.\n"
         "Mezők (oszlopnév vagy álnév):\n"
         "  --title/--cim  --subtitle/--alcim  --author/--szerzo_nev  --editors/--szerkesztok\n"
         "  --publisher/--kiado_nev  --series/--sorozat_nev  --subject/--targykor_nev  --genre/--mufaj_nev\n"
         "  --language/--nyelv_nev  --shelf/--polc_nev  --isbn  --edition/--kiadas  --volume/--kotetszam\n"
         "  --pages/--terjedelem  --price/--ar  --bought/--dat_besz (éééé-hh-nn)  --signed/--dedikalt (I/N)\n"
         "  --keywords/--kulcsszavak  --contents/--tartalom  --id/--konyvek\n"
         "Példa: kodexa-cli add --title 'Egri csillagok' --author 'Gárdonyi Géza' --publisher Móra",
         fields, {}, 0, 0, RunAdd},
        {"edit", "edit KULCS --MEZŐ ÉRTÉK …", "könyv módosítása",
         "Egy könyv mezőinek módosítása a szerkesztő ablak szabályaival (mezők: lásd add --help).\n"
         "Üres érték törli a mezőt. Példa: kodexa-cli edit 42 --price 3500 --shelf B2",
         fields, {}, 1, 1, RunEdit},
        {"lend", "lend KULCS --to NÉV", "kölcsönadás",
         "A könyv kölcsönadása ma, a megadott névre (legfeljebb 25 karakter). Kölcsönben lévő könyvet\n"
         "nem ad ki újra.\nPélda: kodexa-cli lend 42 --to 'Kiss Anna'",
         {QStringLiteral("to")}, {}, 1, 1, RunLend},
        {"return", "return KULCS", "visszavétel",
         "A kölcsönadott könyv visszavétele. Otthon lévő könyvnél hibát jelez.\nPélda: kodexa-cli return 42", {}, {}, 1, 1,
         RunReturn},
        {"export", "export --fixed ÁLLOMÁNY | --csv ÁLLOMÁNY [--delimiter ;|tab|,|'|'] [--qualifier '\"'|\"'\"|none] [--multiline]"
         " [--encoding windows-1250|utf-8]",
         "export határolt szöveges állományba",
         "  --fixed ÁLLOMÁNY   az \"Adatbázis export\": tabulátorral tagolt, 16 oszlop kulcs szerint, amelyet\n"
         "                     az import visszaolvas (ugyanazok a bájtok, mint a program exportjában)\n"
         "  --csv ÁLLOMÁNY     a könyvlista minden oszlopa a lista sorrendjében; alapesetben pontosvessző,\n"
         "                     szövegjelölő nélkül\n"
         "  --delimiter D      ; tab , vagy |\n"
         "  --qualifier Q      \" ' vagy none\n"
         "  --multiline        a tartalom sorai |-jellel összefűzve a \"BLOB\" helyett\n"
         "  --encoding K       windows-1250 (alap) vagy utf-8 (bájtsorrend-jellel, táblázatkezelőknek)\n"
         "Az állomány CR LF sorvégekkel íródik; az \"Adatbázis export\" mindig Windows-1250 kódolású.\n"
         "Példa: kodexa-cli export --csv konyvek.csv --delimiter , --qualifier '\"'",
         {QStringLiteral("fixed"), QStringLiteral("csv"), QStringLiteral("delimiter"), QStringLiteral("qualifier"),
          QStringLiteral("encoding")},
         {QStringLiteral("multiline")}, 0, 0, RunExport},
        {"import", "import [--delimiter tab|';'|'|'] ÁLLOMÁNY", "könyvek betöltése határolt szöveges állományból",
         "Az import ablak betöltése: az első sor az oszlopnevek sora (ahogy az \"Adatbázis export\" írja), minden\n"
         "további sor egy új könyv; a törzsadatok név szerint megkeresve vagy felvéve. Hibás értéknél a\n"
         "betöltés a sor számával megáll (1-es kilépési kód); az előtte lévő sorok megmaradnak. Üres sor nem\n"
         "lesz könyv; a már létező azonosítót hozó, NUL karaktert tartalmazó vagy 1 MB-nál hosszabb sort\n"
         "elutasítja, a többit betölti. A végén összesítés: beolvasott, betöltött, elutasított, kihagyott sorok.\n"
         "Alapesetben tabulátorral tagolt. Példa: kodexa-cli import konyvek.txt\n\n"
         "import --csv ÁLLOMÁNY [--map auto|MEGFELELTETÉS] [--duplicates skip|add|fill|replace] [--dry-run]:\n"
         "más program CSV állománya (kódolás és elválasztó felismerve). --map auto: az oszlopok a fejlécből\n"
         "kitalálva; egyébként egy „fejléc=mező” soros állomány. Már meglévő könyv (egyező ISBN, vagy cím és\n"
         "első szerző): skip kihagyja (alapeset), add mégis felveszi, fill kiegészíti az üres mezőit, replace\n"
         "felülírja. --dry-run: mindent elvégez és összesít, de a katalógus nem változik.\n"
         "Példa: kodexa-cli import --csv konyvtaram.csv --duplicates fill",
         {QStringLiteral("delimiter"), QStringLiteral("csv"), QStringLiteral("map"), QStringLiteral("duplicates")},
         {QStringLiteral("dry-run")}, 0, 1, RunImport},
        {"html", "html [--sort MEZŐ] ÁLLOMÁNY", "a könyvlista HTML oldala",
         "A könyvlista HTML oldala (mint a program HTML exportja): a lista oszlopai és sorrendje, csoportosítva,\n"
         "ha a rendezés törzsadat szerinti. --sort MEZŐ: más rendezés (oszlopnév).\n"
         "Példa: kodexa-cli html --sort szerzo_nev /var/www/konyvek.htm",
         {QStringLiteral("sort")}, {}, 1, 1, RunHtml},
        {"report",
         "report grid|authors|publishers|series|subjects|genres|shelves|sheet|lending|purchases [--key N] [--from DÁTUM "
         "--to DÁTUM] --pdf ÁLLOMÁNY",
         "nyomtatvány PDF állományba",
         "A program nyomtatványai PDF-be (A4), képernyő nélkül:\n"
         "  grid        a könyvlista nyomtatása a lista sorrendjében és oszlopaival\n"
         "  authors, publishers, series, subjects, genres, shelves\n"
         "              tömör listák szerzők, kiadók, sorozatok, tárgykörök, műfajok, polcok szerint;\n"
         "              --key N: csak az N kulcsú törzsadat könyvei\n"
         "  sheet       adatlapok (--key N: egy könyvé, különben minden könyvé)\n"
         "  lending     a kölcsönadott könyvek\n"
         "  purchases   a vásárlások --from és --to között (éééé-hh-nn; alapesetben az elmúlt hónap)\n"
         "Példa (cron, hétfőnként): 0 6 * * 1 kodexa-cli report lending --pdf /srv/jelentes/kolcson.pdf",
         {QStringLiteral("key"), QStringLiteral("from"), QStringLiteral("to"), QStringLiteral("pdf")}, {}, 1, 1, RunReport},
        {"stats", "stats", "statisztika",
         "A statisztika ablak adatai: a könyvek, szerzők és kiadók száma, a könyvek névleges értéke,\n"
         "majd a műfajok táblázata (műfaj, könyvek száma; tabulátorral tagolva).\nPélda: kodexa-cli stats",
         {}, {}, 0, 0, RunStats},
        {"backup", "backup [--keep N] [CÉL]", "mentés (a program futása közben is)",
         "Következetes másolat az SQLite mentő felületén át, akkor is, ha a program épp használja a katalógust.\n"
         "CÉL lehet állomány vagy mappa; mappába a név dátummal és idővel készül (Kodexa-2026-12-09-020000.sqb).\n"
         "CÉL nélkül a katalógus melletti Backup mappába ment, ahová a program is, és ugyanúgy csak a\n"
         "legújabbakat tartja meg (Kodexa.ini [Backup] Keep, alapértéke 10).\n"
         "  --keep N   mappába mentéskor csak a legújabb N mentés marad meg\n"
         "Példa (cron, minden éjjel 2-kor, 14 mentés marad):\n"
         "  0 2 * * * /opt/kodexa/kodexa-cli backup --keep 14 /srv/mentes/kodexa",
         {QStringLiteral("keep")}, {}, 0, 1, RunBackup},
        {"check", "check [--fix]", "ellenőrzés (--fix: javítás)",
         "Az adatbázis épsége (PRAGMA integrity_check), és a katalógus szabályai: a keresőkulcsok a\n"
         "szövegükből számolt értékek, a könyvek törzsadat-névmásolatai egyeznek a törzsadattal, nincs\n"
         "nem létező törzsadatra mutató kulcs, a mezo tábla az 1–15 pozíciókat és egy rendezési jelet tart.\n"
         "  --fix   a keresőkulcsokat és névmásolatokat egy tranzakcióban újraszámolja\n"
         "Hibát talált (és nem javította): 1-es kilépési kód.",
         {}, {QStringLiteral("fix")}, 0, 0, RunCheck},
        {"where", "where", "hol vannak a katalógus és a program állományai",
         "A felhasználói mappa, a katalógus, a beállításfájl, a mentések mappája és a futás módja\n"
         "(hordozható: a program mellett; telepített: ~/.local/share/Kodexa vagy KODEXA_HOME).\n"
         "Soronként név, tabulátor, érték. Példa: kodexa-cli where",
         {}, {}, 0, 0, RunWhere},
    };
    return commands;
}

const Command *FindCommand(const QString &name) {
    for (const Command &c : Commands())
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

Args ParseArgs(const Command &command, const QStringList &words) {
    Args a;
    bool optionsEnd = false;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString &w = words[i];
        if (optionsEnd || !w.startsWith(QLatin1String("--"))) {
            a.positional << w;
            continue;
        }
        if (w == QLatin1String("--")) {
            optionsEnd = true;
            continue;
        }
        QString name = w.mid(2);
        QString value;
        const qsizetype eq = name.indexOf(QLatin1Char('='));
        const bool inlineValue = eq >= 0;
        if (inlineValue) {
            value = name.mid(eq + 1);
            name.truncate(eq);
        }
        if (command.flagOptions.contains(name)) {
            if (inlineValue)
                throw UsageError(QStringLiteral("A(z) --%1 kapcsoló nem kap értéket.").arg(name));
        } else if (command.valueOptions.contains(name)) {
            if (!inlineValue) {
                if (i + 1 >= words.size())
                    throw UsageError(QStringLiteral("A(z) --%1 kapcsolóhoz érték kell.").arg(name));
                value = words[++i];
            }
        } else {
            throw UsageError(QStringLiteral("Ismeretlen kapcsoló: --%1").arg(name));
        }
        a.options.append({name, value});
    }
    if (a.positional.size() < command.minPositional)
        throw UsageError(QStringLiteral("Hiányzó argumentum."));
    if (a.positional.size() > command.maxPositional)
        throw UsageError(QStringLiteral("Fölösleges argumentum: %1").arg(a.positional.value(command.maxPositional)));
    return a;
}

int RunInit(Session &s, const Args &a) {
    const QString path = a.positional.first();
    try {
        if (a.has(QStringLiteral("demo")))
            CreateDemoCatalogue(path);
        else
            CreateCatalogue(path, false);
    } catch (const DbError &e) {
        throw Error(e.message());
    }
    s.out << QStringLiteral("Elkészült: %1\n").arg(path);
    return Done;
}

int RunBackup(Session &s, const Args &a) {
    int keep = 0;
    if (a.has(QStringLiteral("keep"))) {
        bool ok = false;
        keep = a.value(QStringLiteral("keep")).toInt(&ok);
        if (!ok || keep < 1)
            throw UsageError(QStringLiteral("A --keep értéke pozitív egész szám."));
    }
    if (a.positional.isEmpty()) {
        // Where the program backs up at exit, with its rotation.
        Db &db = s.catalogue();
        const BackupOutcome done = BackupInto(db, BackupFolderFor(db.path()), keep ? keep : BackupKeep());
        s.out << QStringLiteral("Mentve: %1\n").arg(done.path);
        for (const QString &old : done.removed)
            s.out << QStringLiteral("Régi mentés törölve: %1\n").arg(old);
        return Done;
    }
    const QString dest = a.positional.first();
    const bool folder = QFileInfo(dest).isDir();
    if (keep && !folder)
        throw UsageError(QStringLiteral("A --keep csak mappába mentéskor használható: %1 nem mappa.").arg(dest));
    Db &db = s.catalogue();
    const QString target = folder ? BackupFileIn(dest, db.path(), QDateTime::currentDateTime()) : dest;
    BackupCatalogue(db, target);
    s.out << QStringLiteral("Mentve: %1\n").arg(target);
    if (keep)
        for (const QString &old : PruneBackups(dest, db.path(), keep, target))
            s.out << QStringLiteral("Régi mentés törölve: %1\n").arg(old);
    return Done;
}

int RunCheck(Session &s, const Args &a) {
    const bool fix = a.has(QStringLiteral("fix"));
    const CheckReport r = CheckCatalogue(s.catalogue(), fix);
    if (r.integrity.isEmpty())
        s.out << QStringLiteral("Az adatbázis épsége: rendben.\n");
    else
        s.out << QStringLiteral("Az adatbázis sérült (integrity_check):\n  %1\n").arg(r.integrity.join(QStringLiteral("\n  ")));
    for (const QString &f : r.findings)
        s.out << f << '\n';
    for (const QString &n : r.notices)
        s.out << n << '\n';
    if (r.repaired)
        s.out << QStringLiteral("Javítva: %1 könyv, %2 törzsadat sor.\n").arg(r.fixedBooks).arg(r.fixedLookups);
    if (r.findings.isEmpty() && r.integrity.isEmpty())
        s.out << QStringLiteral("A katalógus szabályai: rendben.\n");
    if (r.clean())
        return Done;
    s.out.flush();
    if (fix && !r.integrity.isEmpty())
        s.err << QStringLiteral("A sérült adatbázist nem javítom; állítsa vissza egy mentésből.\n");
    else
        s.err << QStringLiteral("Az ellenőrzés hibát talált.\n");
    return Failed;
}

int RunWhere(Session &s, const Args &) {
    const QString catalogue = s.dbPath.isEmpty() ? CataloguePath() : QFileInfo(s.dbPath).absoluteFilePath();
    s.out << QStringLiteral("Mappa\t%1\n").arg(ProgramDir()) << QStringLiteral("Katalógus\t%1\n").arg(catalogue)
          << QStringLiteral("Beállítások\t%1\n").arg(IniPath())
          << QStringLiteral("Mentések\t%1\n").arg(BackupFolderFor(catalogue))
          << QStringLiteral("Mód\t%1\n").arg(ModeName(CurrentMode()));
    return Done;
}

} // namespace kodexa::cli
