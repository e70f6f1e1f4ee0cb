// kodexa-cli run as a user runs it: the built program on temporary catalogues.
#include "app/Main.h"
#include "data/Db.h"
#include "data/Seged.h"
#include "data/TextFile.h"
#include "support/Fixture.h"
#include "data/Backup.h"

#include <QAbstractButton>
#include <QAction>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

using namespace kodexa;

namespace {

struct Result {
    int code = -1;
    QString out;
    QString err;
};

QString CliProgram() { return QCoreApplication::applicationDirPath() + QStringLiteral("/kodexa-cli"); }

Result RunProgram(const QString &program, const QStringList &args, const QString &kodexaHome = QString()) {
    QProcess p;
    // As cron runs it: no desktop session around.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    env.remove(QStringLiteral("KODEXA_HOME"));
    if (!kodexaHome.isEmpty())
        env.insert(QStringLiteral("KODEXA_HOME"), kodexaHome);
    p.setProcessEnvironment(env);
    p.start(program, args);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

class KodexaCliTest : public test::ProgramDirTest {
protected:
    // The tool on dir()/Kodexa.sqb.
    Result cli(const QStringList &args) { return RunProgram(CliProgram(), QStringList{"--db", path("Kodexa.sqb")} + args); }
    QStringList lines(const QString &text) { return text.split('\n', Qt::SkipEmptyParts); }
    QVariant scalar(const QString &sql) {
        Db d;
        d.open(path("Kodexa.sqb"));
        return d.scalar(sql);
    }
};

TEST_F(KodexaCliTest, UsageErrorsExitTwoAndHelpExitsZero) {
    makeCatalogue(true);
    const QStringList bad[] = {{},
                               {"nincsilyen"},
                               {"list", "--format", "xml"},
                               {"list", "--sort", "nincs_mezo"},
                               {"list", "fölösleges"},
                               {"show", "abc"},
                               {"show"},
                               {"lend", "1"},
                               {"edit", "1"},
                               {"add", "--author", "Valaki"},
                               {"add", "--title"},
                               {"check", "--fix=igen"},
                               {"backup", "--keep", "0", dir()},
                               {"backup", "--keep", "2", path("egy.sqb")}};
    for (const QStringList &args : bad) {
        const Result r = cli(args);
        EXPECT_EQ(r.code, 2) << args.join(' ').toStdString() << ": " << r.err.toStdString();
        EXPECT_FALSE(r.err.isEmpty()) << args.join(' ').toStdString();
    }
    EXPECT_FALSE(QFile::exists(path("egy.sqb")));
    EXPECT_EQ(scalar("SELECT count(*) FROM konyvek WHERE szerzo_nev='Valaki'").toInt(), 0);

    const Result help = RunProgram(CliProgram(), {"--help"});
    EXPECT_EQ(help.code, 0);
    for (const char *c : {"init", "list", "search", "show", "add", "edit", "lend", "return", "backup", "check"})
        EXPECT_TRUE(help.out.contains(QStringLiteral("\n  %1 ").arg(QLatin1String(c)))) << c;
    const Result addHelp = RunProgram(CliProgram(), {"add", "--help"});
    EXPECT_EQ(addHelp.code, 0);
    EXPECT_TRUE(addHelp.out.contains("--title")) << addHelp.out.toStdString();
    EXPECT_TRUE(RunProgram(CliProgram(), {"backup", "--help"}).out.contains("0 2 * * *"));
}

TEST_F(KodexaCliTest, FindsTheProgramsCatalogueAndNeverCreatesOne) {
    // A copy of the tool in its own program directory, as an installation has it.
    const QString program = path("kodexa-cli");
    ASSERT_TRUE(QFile::copy(CliProgram(), program));
    Result r = RunProgram(program, {"list"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("Nem létező adatbázis")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(path("Kodexa.sqb"))) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("Kodexa.sqb")));

    ASSERT_EQ(RunProgram(program, {"init", "--demo", path("Kodexa.sqb")}).code, 0);
    r = RunProgram(program, {"list", "--fields", "cim"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Egri csillagok"));

    // Kodexa.ini names another file: that one is used, and it must exist.
    QDir().mkpath(path("masik"));
    writeFile("Kodexa.ini", QStringLiteral("[Database]\nPath=%1\n").arg(path("masik/konyvtar.sqb")).toUtf8());
    r = RunProgram(program, {"list"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(path("masik/konyvtar.sqb"))) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("masik/konyvtar.sqb")));
    ASSERT_EQ(RunProgram(program, {"init", path("masik/konyvtar.sqb")}).code, 0);
    r = RunProgram(program, {"list"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(lines(r.out).size(), 1); // the header alone: the new catalogue is empty

    // A file that is no catalogue is refused, not altered.
    writeFile("masik/konyvtar.sqb", "nem adatbázis");
    r = RunProgram(program, {"list"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(readFile("masik/konyvtar.sqb"), "nem adatbázis");
}

TEST_F(KodexaCliTest, ListsInTheListsOrderInEveryFormat) {
    makeCatalogue(false);
    db.close();
    for (const char *t : {"Béla", "Abel", "Ábel", "Zoltán, a király", "ábécé"})
        ASSERT_EQ(cli({"add", "--title", QString::fromUtf8(t)}).code, 0) << t;
    // The title sorts by its search key: accents folded, ties in the engine's order.
    Result r = cli({"list", "--sort", "cim", "--fields", "cim"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(lines(r.out), (QStringList{"cim", "ábécé", "Abel", "Ábel", "Béla", "Zoltán, a király"}));
    // A display label names the column too; the stored sort mark is the default.
    EXPECT_EQ(cli({"list", "--sort", "cím", "--fields", "cim"}).out, r.out);
    EXPECT_EQ(cli({"list", "--fields", "cim"}).out, r.out);
    db.open(path("Kodexa.sqb"));
    db.exec("UPDATE mezo SET sorrend='N'; UPDATE mezo SET sorrend='I' WHERE mezo_nev='konyvek'");
    db.close();
    EXPECT_EQ(lines(cli({"list", "--fields", "konyvek,cim"}).out).value(1), "1\tBéla");

    // The default columns are the list's six.
    r = cli({"list"});
    EXPECT_EQ(lines(r.out).first(), "konyvek\tszerzo_nev\tcim\tkiado_nev\tpolc_nev\tdat_besz");

    r = cli({"list", "--sort", "cim", "--fields", "konyvek,cim", "--format", "csv"});
    EXPECT_TRUE(r.out.contains("\n4,\"Zoltán, a király\"\n")) << r.out.toStdString();

    ASSERT_EQ(cli({"edit", "3", "--contents", "első sor\nmásodik\tsor"}).code, 0);
    r = cli({"list", "--sort", "konyvek", "--fields", "konyvek,tartalom,ar", "--format", "json"});
    const QJsonArray rows = QJsonDocument::fromJson(r.out.toUtf8()).array();
    ASSERT_EQ(rows.size(), 5) << r.out.toStdString();
    EXPECT_EQ(rows[2].toObject()["konyvek"].toInt(), 3);
    EXPECT_EQ(rows[2].toObject()["tartalom"].toString(), "első sor\nmásodik\tsor");
    EXPECT_TRUE(rows[2].toObject()["ar"].isNull());
    r = cli({"list", "--sort", "konyvek", "--fields", "tartalom"});
    EXPECT_EQ(r.out.split(QLatin1Char('\n')).value(3), "első sor\\nmásodik\\tsor");
}

TEST_F(KodexaCliTest, AddAndShowRoundTripAccentedNamesThroughOneLookupRow) {
    makeCatalogue(false);
    db.close();
    Result r = cli({"add", "--title", "Árvíztűrő tükörfúrógép", "--author", "Őze Lajos", "--publisher", "Mezei Kiadó",
                    "--isbn", "963-11-1234-5", "--price", "2500", "--keywords", "Könyvtár; fúrás", "--signed", "igen"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "1\n");
    // The same author typed with other A-Z capitals is the same lookup row, stored spelling kept.
    r = cli({"add", "--title", "Második kötet", "--author", "Őze LAJOS", "--bought", "2020-02-29"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "2\n");
    EXPECT_EQ(scalar("SELECT count(*) FROM szerzo").toInt(), 1);
    EXPECT_EQ(scalar("SELECT count(DISTINCT szerzo) || szerzo_nev FROM konyvek").toString(), "1Őze Lajos");
    EXPECT_EQ(scalar("SELECT cims FROM konyvek WHERE konyvek=1").toString(), "ARVIZTURO TUKORFUROG");
    EXPECT_EQ(scalar("SELECT kulcsszavaks FROM konyvek WHERE konyvek=1").toString(), "KONYVTAR; FURAS");
    EXPECT_EQ(scalar("SELECT kiado_nevs FROM kiado").toString(), "MEZEI KIADO");
    EXPECT_EQ(scalar("SELECT dat_besz || kolcsonadva || dedikalt FROM konyvek WHERE konyvek=2").toString(), "2020-02-29NN");
    EXPECT_EQ(scalar("SELECT dat_besz FROM konyvek WHERE konyvek=1").toString(),
              QDate::currentDate().toString("yyyy-MM-dd"));

    r = cli({"show", "1"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    for (const char *want : {"id:            00001", "cím:           Árvíztűrő tükörfúrógép", "szerző:        Őze Lajos",
                             "kiadó:         Mezei Kiadó", "isbn:          963-11-1234-5", "ár:            2500",
                             "dedikált:      I", "kölcsönben?:   nem"})
        EXPECT_TRUE(r.out.contains(QString::fromUtf8(want))) << want << "\n" << r.out.toStdString();
    const QJsonArray shown = QJsonDocument::fromJson(cli({"show", "--format", "json", "2"}).out.toUtf8()).array();
    ASSERT_EQ(shown.size(), 1);
    const QJsonObject book = shown.at(0).toObject();
    EXPECT_EQ(book["szerzo_nev"].toString(), "Őze Lajos");
    EXPECT_EQ(book["cim"].toString(), "Második kötet");

    // Refused input changes nothing: no book, no lookup row.
    r = cli({"add", "--title", "Hibás", "--author", "Új Szerző", "--price", "12a"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("csak egész szám")) << r.err.toStdString();
    r = cli({"add", "--title", "Hibás", "--shelf", "tizenegy betű"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("legfeljebb 10 karakter")) << r.err.toStdString();
    EXPECT_EQ(cli({"edit", "1", "--bought", "2021-02-30"}).code, 1);
    EXPECT_EQ(scalar("SELECT count(*) FROM konyvek").toInt(), 2);
    EXPECT_EQ(scalar("SELECT count(*) FROM szerzo").toInt(), 1);
    EXPECT_EQ(cli({"show", "7"}).code, 1);

    // Editing goes through the same rules: a new publisher row, keys recomputed, a field cleared.
    r = cli({"edit", "2", "--publisher", "Ábrándos Kiadó", "--title", "Harmadik kötet", "--bought", ""});
    EXPECT_EQ(r.code, 1); // the purchase date is never empty
    r = cli({"edit", "2", "--publisher", "Ábrándos Kiadó", "--title", "Harmadik kötet", "--isbn", ""});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(scalar("SELECT cims || '|' || kiado_nev || '|' || kiado_nevs || '|' || (isbn IS NULL) FROM konyvek WHERE konyvek=2")
                  .toString(),
              "HARMADIK KOTET|Ábrándos Kiadó|ABRANDOS KIADO|1");
    EXPECT_EQ(scalar("SELECT max(kiado) FROM kiado").toInt(), 2);
}

TEST_F(KodexaCliTest, LendingKeepsItsRefusals) {
    makeCatalogue(true);
    db.close();
    Result r = cli({"lend", "1", "--to", "Kiss Anna"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    r = cli({"lend", "1", "--to", "Nagy Béla"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err.trimmed(), "Ez a tétel már ki lett adva");
    EXPECT_EQ(scalar("SELECT kolcsonadva || kolcsonadva_kinek || kolcsonadva_dat FROM konyvek WHERE konyvek=1").toString(),
              "IKiss Anna" + QDate::currentDate().toString("yyyy-MM-dd"));
    ASSERT_EQ(cli({"return", "1"}).code, 0);
    EXPECT_EQ(scalar("SELECT kolcsonadva || '|' || kolcsonadva_kinek || '|' || ifnull(kolcsonadva_dat, 'NULL') FROM konyvek "
                     "WHERE konyvek=1")
                  .toString(),
              "N||NULL");
    r = cli({"return", "1"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err.trimmed(), "Ez a tétel még nem lett kiadva");
    // A name beyond the column's 25 characters is cut; an empty one is accepted.
    ASSERT_EQ(cli({"lend", "2", "--to", "Hosszú Nevű Kölcsönvevő Harmincadik"}).code, 0);
    EXPECT_EQ(scalar("SELECT kolcsonadva_kinek FROM konyvek WHERE konyvek=2").toString(), "Hosszú Nevű Kölcsönvevő H");
    // A blank name from a script is a lost borrower: refused, the book stays at home.
    for (const char *blank : {"   ", ""}) {
        r = cli({"lend", "3", "--to", blank});
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.err.contains("nem lehet üres")) << r.err.toStdString();
    }
    EXPECT_EQ(scalar("SELECT kolcsonadva FROM konyvek WHERE konyvek=3").toString(), "N");
    r = cli({"lend", "999", "--to", "Valaki"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("Nincs 00999 kulcsú könyv")) << r.err.toStdString();
    // Two books under one key: neither is touched.
    db.open(path("Kodexa.sqb"));
    db.exec("UPDATE konyvek SET konyvek=4 WHERE konyvek=5");
    db.close();
    EXPECT_EQ(cli({"lend", "4", "--to", "Valaki"}).code, 1);
    EXPECT_EQ(scalar("SELECT count(*) FROM konyvek WHERE kolcsonadva_kinek='Valaki'").toInt(), 0);
}

TEST_F(KodexaCliTest, SearchFoldsLikeTheSearchDialog) {
    makeCatalogue(true);
    db.close();
    Result r = cli({"search", "konyvtar"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList got = lines(r.out);
    EXPECT_EQ(got.first(), "konyvek\tszerzo_nev\tcim");
    EXPECT_EQ(got.size() - 1, scalar("SELECT count(*) FROM konyvek WHERE kulcsszavaks LIKE '%KONYVTAR%'").toInt());
    EXPECT_GT(got.size(), 1);
    r = cli({"search", "Eger; o%"});
    EXPECT_TRUE(r.out.contains("\tEgri csillagok")) << r.out.toStdString();
    r = cli({"search", "nincs' ilyen"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err.trimmed(), "Nincs ilyen sor, keresés sikertelen");
}

TEST_F(KodexaCliTest, BackupIsConsistentWhileAnotherConnectionWrites) {
    makeCatalogue(true);
    const int books = db.scalar("SELECT count(*) FROM konyvek").toInt();
    db.exec("BEGIN IMMEDIATE");
    db.exec("UPDATE konyvek SET cim='félkész'");
    db.exec("INSERT INTO konyvek (konyvek, cim) VALUES (9999, 'félkész')");
    Result r = cli({"backup", path("mentes.sqb")});
    db.exec("COMMIT");
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    {
        Db copy;
        copy.open(path("mentes.sqb"));
        EXPECT_EQ(copy.scalar("PRAGMA integrity_check").toString(), "ok");
        EXPECT_EQ(copy.scalar("SELECT count(*) FROM konyvek").toInt(), books);
        EXPECT_EQ(copy.scalar("SELECT count(*) FROM konyvek WHERE cim='félkész'").toInt(), 0);
    }
    // A second backup over the same name replaces it with the committed state.
    ASSERT_EQ(cli({"backup", path("mentes.sqb")}).code, 0);
    {
        Db copy;
        copy.open(path("mentes.sqb"));
        EXPECT_EQ(copy.scalar("SELECT count(*) FROM konyvek WHERE cim='félkész'").toInt(), books + 1);
    }
    EXPECT_FALSE(QFile::exists(path("mentes.sqb.part")));

    // Into a folder: dated names, the newest N kept, other files left alone.
    QDir().mkpath(path("mentesek"));
    writeFile("mentesek/jegyzet.txt", "marad");
    writeFile("mentesek/Kodexa-20000101-000000.sqb", "régi");
    for (int i = 0; i < 3; ++i) {
        r = cli({"backup", "--keep", "2", path("mentesek")});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
    }
    const QStringList kept = QDir(path("mentesek")).entryList({"Kodexa-*.sqb"}, QDir::Files, QDir::Name);
    EXPECT_EQ(kept.size(), 2) << kept.join(' ').toStdString();
    EXPECT_FALSE(kept.contains("Kodexa-20000101-000000.sqb"));
    EXPECT_TRUE(QFile::exists(path("mentesek/jegyzet.txt")));
    EXPECT_TRUE(r.out.startsWith("Mentve: " + path("mentesek/Kodexa-"))) << r.out.toStdString();

    r = cli({"backup", path("Kodexa.sqb")});
    EXPECT_EQ(r.code, 1);
    r = cli({"backup", "/nincs/ilyen/mappa/x.sqb"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("A mentés nem sikerült")) << r.err.toStdString();
}

// A damaged catalogue is not copied: with --keep, copies of it would rotate the sound
// backups away one run at a time.
TEST_F(KodexaCliTest, BackupOfADamagedCatalogueWritesAndDeletesNothing) {
    makeCatalogue(true);
    db.close();
    QDir().mkpath(path("mentesek"));
    ASSERT_EQ(cli({"backup", path("mentesek/elso.sqb")}).code, 0);
    ASSERT_EQ(cli({"backup", "--keep", "1", path("mentesek")}).code, 0);
    const QStringList before = QDir(path("mentesek")).entryList(QDir::Files, QDir::Name);
    test::ZeroRootPages(path("Kodexa.sqb"), "name='konyvek'");
    for (int run = 0; run < 2; ++run) {
        const Result r = cli({"backup", "--keep", "1", path("mentesek")});
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.err.contains("a katalógus sérült")) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    }
    EXPECT_EQ(cli({"backup", path("mentesek/masodik.sqb")}).code, 1);
    EXPECT_EQ(QDir(path("mentesek")).entryList(QDir::Files, QDir::Name), before);
}

// A lookup row deleted while books use it leaves them their key and their copy of the name,
// as the master data window does after its question: the check names it and passes.
TEST_F(KodexaCliTest, CheckTellsOfDeletedLookupRowsWithoutFailing) {
    makeCatalogue(true);
    const qint64 publisher = db.scalar("SELECT kiado FROM konyvek WHERE konyvek=2").toLongLong();
    const int books = db.scalar(QString("SELECT count(*) FROM konyvek WHERE kiado=%1").arg(publisher)).toInt();
    const QString before = db.scalar("SELECT group_concat(konyvek || kiado || kiado_nev || kiado_nevs) FROM konyvek").toString();
    db.exec(QString("DELETE FROM kiado WHERE kiado=%1").arg(publisher));
    db.close();
    for (const char *fix : {"", "--fix"}) {
        const Result r = cli(QString(fix).isEmpty() ? QStringList{"check"} : QStringList{"check", fix});
        EXPECT_EQ(r.code, 0) << r.out.toStdString() << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(QString("törölt törzsadatra mutat: %1 könyv; a nevüket megtartották (kiado: %1)").arg(books)))
            << r.out.toStdString();
        EXPECT_FALSE(r.out.contains("Javítva")) << r.out.toStdString();
    }
    EXPECT_EQ(scalar("SELECT group_concat(konyvek || kiado || kiado_nev || kiado_nevs) FROM konyvek").toString(), before);
}

TEST_F(KodexaCliTest, CheckFindsBrokenRulesAndFixRepairsKeysAndCopies) {
    makeCatalogue(true);
    db.close();
    Result r = cli({"check"});
    EXPECT_EQ(r.code, 0) << r.out.toStdString() << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("rendben"));

    db.open(path("Kodexa.sqb"));
    db.exec("UPDATE konyvek SET cim='Új cím' WHERE konyvek=1");
    db.exec("UPDATE konyvek SET kiado_nev='Rossz Kiadó' WHERE konyvek=2");
    db.exec("UPDATE szerzo SET szerzo_nevs='ROSSZ' WHERE szerzo=1");
    db.exec("UPDATE konyvek SET mufaj=9999, mufaj_nev=NULL, mufaj_nevs=NULL WHERE konyvek=3");
    db.exec("UPDATE mezo SET sorrend='I'");
    db.exec("UPDATE mezo SET mezo=999 WHERE mezo=15");
    db.close();
    r = cli({"check"});
    EXPECT_EQ(r.code, 1);
    for (const char *want : {"Keresőkulcs eltér a szövegétől: 2 könyv (cims: 1, kiado_nevs: 1). Például: 00001, 00002",
                             "Névmásolat eltér a törzsadattól: 1 könyv (kiado: 1). Például: 00002",
                             "Törzsadat keresőkulcsa eltér a nevétől: 1 sor (szerzo: 1).",
                             "Nem létező törzsadatra mutató kulcs: 1 könyv (mufaj: 1). Például: 00003",
                             "pozíciói nem 1–15", "15 sor hordoz rendezési jelet"})
        EXPECT_TRUE(r.out.contains(QString::fromUtf8(want))) << want << "\n" << r.out.toStdString();
    EXPECT_EQ(scalar("SELECT cims FROM konyvek WHERE konyvek=1").toString(), "EGRI CSILLAGOK"); // check alone writes nothing

    r = cli({"check", "--fix"});
    EXPECT_EQ(r.code, 1); // the dangling key and mezo are reported, not guessed at
    EXPECT_TRUE(r.out.contains("Javítva: 2 könyv, 1 törzsadat sor.")) << r.out.toStdString();
    EXPECT_EQ(scalar("SELECT cims FROM konyvek WHERE konyvek=1").toString(), "UJ CIM");
    EXPECT_EQ(scalar("SELECT kiado_nev || kiado_nevs FROM konyvek WHERE konyvek=2").toString(),
              scalar("SELECT k.kiado_nev || k.kiado_nevs FROM kiado k JOIN konyvek b ON b.kiado=k.kiado WHERE b.konyvek=2"));
    EXPECT_EQ(scalar("SELECT szerzo_nevs FROM szerzo WHERE szerzo=1").toString(),
              SearchKey(scalar("SELECT szerzo_nev FROM szerzo WHERE szerzo=1").toString()));

    db.open(path("Kodexa.sqb"));
    db.exec("UPDATE konyvek SET mufaj=1, mufaj_nev='Más műfaj' WHERE konyvek=3");
    db.exec("UPDATE mezo SET mezo=15 WHERE mezo=999; UPDATE mezo SET sorrend='N' WHERE mezo_nev<>'cim'");
    db.close();
    r = cli({"check"});
    EXPECT_EQ(r.code, 1); // book 3 now has genre 1 but another genre's name
    ASSERT_EQ(cli({"check", "--fix"}).code, 0);
    EXPECT_EQ(cli({"check"}).code, 0);
}

TEST_F(KodexaCliTest, ExportWritesTheProgramsBytesAndImportStopsAtABadLine) {
    makeCatalogue(true);
    db.close();
    // The program's own "Adatbázis export" of the same catalogue.
    {
        Tfrm_Main w(services);
        ASSERT_TRUE(w.FormCreate());
        services.fileAnswers.push_back(path("ablak.txt"));
        test::WhenModal([](QWidget *dlg) {
            test::Child<QAbstractButton>(dlg, "Button1")->click();
            test::Child<QAbstractButton>(dlg, "Button2")->click();
        });
        w.Action("aExport")->trigger();
    }
    const QByteArray window = readFile("ablak.txt");
    ASSERT_FALSE(window.isEmpty());
    Result r = cli({"export", "--fixed", path("cli.txt")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(readFile("cli.txt"), window);

    // The list as comma-separated text with quotes, in the list's (title) order.
    r = cli({"export", "--csv", path("lista.csv"), "--delimiter", ",", "--qualifier", "\"", "--multiline"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QByteArray csv = readFile("lista.csv");
    const QList<QByteArray> rows = csv.split('\n');
    EXPECT_TRUE(rows.value(0).startsWith("\"id\",")) << rows.value(0).toStdString();
    EXPECT_TRUE(rows.value(1).contains("\"1984\",")) << rows.value(1).toStdString();
    EXPECT_TRUE(csv.contains(EncodeCp1250("\"Egri csillagok\",")));
    EXPECT_EQ(cli({"export", "--fixed", path("x.txt"), "--csv", path("y.csv")}).code, 2);
    EXPECT_EQ(cli({"export", "--csv", path("y.csv"), "--delimiter", "x"}).code, 2);

    // UTF-8 for a spreadsheet: the same text behind a byte-order mark. The window's defaults
    // (";", no qualifier) split the demo's keywords, and the tool says how many values do.
    r = cli({"export", "--csv", path("alap.csv")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QRegularExpression warning("^Figyelem: [1-9][0-9]* értékben szerepel az elválasztó karakter",
                                     QRegularExpression::MultilineOption);
    EXPECT_TRUE(r.err.contains(warning)) << r.err.toStdString();
    r = cli({"export", "--csv", path("utf8.csv"), "--encoding", "utf-8"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(readFile("utf8.csv"), "\xEF\xBB\xBF" + DecodeCp1250(readFile("alap.csv")).toUtf8());
    for (const QStringList &bad : {QStringList{"export", "--csv", path("z.csv"), "--encoding", "latin2"},
                                   QStringList{"export", "--fixed", path("z.txt"), "--encoding", "utf-8"}}) {
        r = cli(bad);
        EXPECT_EQ(r.code, 2) << bad.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(path("z.csv")) || QFile::exists(path("z.txt")));

    // Importing the fixed file back doubles the books.
    const int books = scalar("SELECT count(*) FROM konyvek").toInt();
    r = cli({"import", path("cli.txt")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(scalar("SELECT count(*) FROM konyvek").toInt(), 2 * books);

    // A bad number on the third line: lines 1 and 2 stay, the line is named, exit status 1.
    writeFile("rossz.txt", EncodeCp1250("cim;ar\r\nElső könyv;100\r\nMásodik könyv;200\r\nHarmadik könyv;sok\r\nNegyedik;400\r\n"));
    r = cli({"import", "--delimiter", ";", path("rossz.txt")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("3. sor, ar mező")) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("betöltött tételek száma: 2")) << r.out.toStdString();
    EXPECT_EQ(scalar("SELECT group_concat(cim, '|') FROM (SELECT cim FROM konyvek WHERE ar IN (100, 200, 400) AND cim LIKE '%könyv' ORDER BY konyvek)")
                  .toString(),
              "Első könyv|Második könyv");
    EXPECT_EQ(scalar("SELECT count(*) FROM konyvek WHERE cim IN ('Harmadik könyv', 'Negyedik')").toInt(), 0);
}

// Another program's CSV through the command line: guessed, summarised, a dry run that keeps
// the catalogue as it was, the same file twice, and a file with nothing to read.
TEST_F(KodexaCliTest, ImportCsvGuessesTheFileAndADryRunChangesNothing) {
    makeCatalogue();
    db.close();
    writeFile("tabla.csv", EncodeCp1250("Cím;Szerző;ISBN;Oldalszám\r\nŐszi fény;Kiss, Anna;963-123-456-8;320 oldal\r\n"));
    Result r = cli({"import", "--csv", path("tabla.csv"), "--dry-run"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(path("tabla.csv") + ": Windows-1250, pontosvessző elválasztó\n  Cím → cím\n")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("Próbafuttatás: a katalógus nem változott.\n")) << r.out.toStdString();
    EXPECT_EQ(scalar("SELECT count(*) FROM konyvek").toInt(), 0);
    r = cli({"import", "--csv", path("tabla.csv")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(scalar("SELECT cim || '|' || szerzo_nev || '|' || isbn || '|' || terjedelem FROM konyvek").toString(),
              "Őszi fény|Kiss Anna|9631234568|320");
    r = cli({"import", "--csv", path("tabla.csv"), "--duplicates", "skip"});
    EXPECT_TRUE(r.out.contains("Kihagyott másodpéldányok: 1")) << r.out.toStdString();
    EXPECT_EQ(scalar("SELECT count(*) FROM konyvek").toInt(), 1);

    writeFile("terkep.txt", "Cím=cim\n");
    r = cli({"import", "--csv", path("tabla.csv"), "--map", path("terkep.txt"), "--duplicates", "add"});
    EXPECT_EQ(scalar("SELECT count(*) FROM konyvek WHERE szerzo IS NULL").toInt(), 1) << "only the title was taken";
    writeFile("ures.csv", "a,b\n,\n");
    r = cli({"import", "--csv", path("ures.csv")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(cli({"import", "--csv", path("tabla.csv"), "--duplicates", "merge"}).code, 2);
    EXPECT_EQ(cli({"import", path("tabla.csv"), "--dry-run"}).code, 2);
}

TEST_F(KodexaCliTest, ReportWritesAnA4PdfWithItsHeading) {
    makeCatalogue(true);
    db.close();
    EXPECT_EQ(cli({"report", "lending"}).code, 2);
    EXPECT_EQ(cli({"report", "nincsilyen", "--pdf", path("x.pdf")}).code, 2);
    EXPECT_EQ(cli({"report", "lending", "--key", "3", "--pdf", path("x.pdf")}).code, 2);
    // A key no book has is a typing error, not an empty page.
    for (const char *kind : {"sheet", "authors"}) {
        const Result r = cli({"report", kind, "--key", "99999", "--pdf", path("x.pdf")});
        EXPECT_EQ(r.code, 1) << kind;
        EXPECT_TRUE(r.err.contains("99999")) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(path("x.pdf")));
    const struct {
        QStringList args;
        const char *text;
    } cases[] = {{{"report", "lending", "--pdf", path("kolcson.pdf")}, "Kölcsönadott könyvek"},
                 {{"report", "authors", "--pdf", path("szerzok.pdf")}, "Szerzők szerint"},
                 {{"report", "grid", "--pdf", path("lista.pdf")}, "Egri csillagok"},
                 {{"report", "sheet", "--key", "1", "--pdf", path("adatlap.pdf")}, "Egri csillagok"},
                 {{"report", "purchases", "--from", "2000-01-01", "--to", "2030-12-31", "--pdf", path("vasarlas.pdf")},
                  "Egri csillagok"}};
    for (const auto &c : cases) {
        const Result r = cli(c.args);
        ASSERT_EQ(r.code, 0) << c.args.join(' ').toStdString() << ": " << r.err.toStdString();
        EXPECT_EQ(r.err, "") << "a cron job's mail would hold this";
        const QString pdf = c.args.last();
        const Result info = RunProgram("pdfinfo", {pdf});
        EXPECT_TRUE(info.out.contains("(A4)")) << info.out.toStdString();
        const Result text = RunProgram("pdftotext", {"-layout", pdf, "-"});
        EXPECT_TRUE(text.out.contains(QString::fromUtf8(c.text))) << c.text << "\n" << text.out.left(600).toStdString();
    }
}

TEST_F(KodexaCliTest, HtmlWritesTheListsPage) {
    makeCatalogue(true);
    db.close();
    const Result r = cli({"html", "--sort", "szerzo_nev", path("lista.htm")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QByteArray page = readFile("lista.htm");
    EXPECT_TRUE(page.contains("Egri csillagok"));
    EXPECT_TRUE(page.indexOf("Ady") < page.indexOf("Egri csillagok") || page.indexOf("Ady") < 0);
    EXPECT_EQ(cli({"html", "--sort", "nincs", path("x.htm")}).code, 2);
}

TEST_F(KodexaCliTest, StatsShowTheWindowsTotalsAndGenres) {
    makeCatalogue(false);
    db.close();
    Result r = cli({"stats"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(lines(r.out), (QStringList{"0 könyv", "0 szerző", "0 kiadó", "0 névleges értéken", "Műfaj\tDarab"}));

    ASSERT_EQ(cli({"add", "--title", "A", "--author", "Őze Lajos", "--genre", "Regény", "--price", "1500"}).code, 0);
    ASSERT_EQ(cli({"add", "--title", "B", "--author", "Őze Lajos", "--genre", "Regény", "--price", "1234567"}).code, 0);
    ASSERT_EQ(cli({"add", "--title", "C", "--genre", "Vers"}).code, 0);
    // Two genres with one name stay two rows.
    db.open(path("Kodexa.sqb"));
    db.exec("INSERT INTO mufaj(mufaj, mufaj_nev) VALUES (90, 'Vers')");
    db.exec("UPDATE konyvek SET mufaj=90 WHERE cim='A'");
    db.close();
    r = cli({"stats"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList l = lines(r.out);
    ASSERT_EQ(l.size(), 8) << r.out.toStdString();
    EXPECT_EQ(l[0], "        3 könyv");
    EXPECT_EQ(l[3], "1 236 067 névleges értéken");
    EXPECT_EQ(l[5], "Regény\t1");
    EXPECT_EQ(l[6], "Vers\t1");
    EXPECT_EQ(l[7], "Vers\t1");
}

TEST_F(KodexaCliTest, EachBrokenRuleFailsTheCheckOnItsOwn) {
    makeCatalogue(true);
    db.close();
    ASSERT_TRUE(QFile::copy(path("Kodexa.sqb"), path("ep.sqb")));
    const struct {
        const char *fault;
        const char *finding;
    } cases[] = {
        {"UPDATE konyvek SET cims='ROSSZ' WHERE konyvek=1", "Keresőkulcs eltér a szövegétől: 1 könyv (cims: 1)."},
        {"UPDATE szerzo SET szerzo_nevs='ROSSZ' WHERE szerzo=1", "Törzsadat keresőkulcsa eltér a nevétől: 1 sor (szerzo: 1)."},
        // A lookup without search keys: only its name copy can disagree.
        {"UPDATE konyvek SET polc_nev='Máshol' WHERE konyvek=(SELECT min(konyvek) FROM konyvek WHERE polc IS NOT NULL)",
         "Névmásolat eltér a törzsadattól: 1 könyv (polc: 1)."},
    };
    for (const auto &c : cases) {
        QFile::remove(path("Kodexa.sqb"));
        ASSERT_TRUE(QFile::copy(path("ep.sqb"), path("Kodexa.sqb")));
        db.open(path("Kodexa.sqb"));
        db.exec(QString::fromUtf8(c.fault));
        ASSERT_EQ(db.changes(), 1) << c.fault;
        db.close();
        const Result r = cli({"check"});
        EXPECT_EQ(r.code, 1) << c.fault << "\n" << r.out.toStdString();
        EXPECT_TRUE(r.out.contains(QString::fromUtf8(c.finding))) << c.finding << "\n" << r.out.toStdString();
    }
}

TEST_F(KodexaCliTest, ANameCopyCutToItsColumnAgreesWithItsLookup) {
    makeCatalogue(true);
    // A shelf name longer than the book's 10-character copy.
    db.exec("INSERT INTO polc (polc, polc_nev) VALUES (77, 'Nappali nagy szekrény')");
    db.exec("UPDATE konyvek SET polc=77, polc_nev='Nappali na' WHERE konyvek=1");
    db.close();
    const Result r = cli({"check"});
    EXPECT_EQ(r.code, 0) << r.out.toStdString();
    EXPECT_FALSE(r.out.contains("Névmásolat")) << r.out.toStdString();
}

TEST_F(KodexaCliTest, BackupsOfOneSecondGetTheirOwnNamesAndKeepDropsTheOldest) {
    makeCatalogue(true);
    db.close();
    QDir().mkpath(path("mentesek"));
    // Ten backups within one second: each its own file, numbered on after the first.
    const QDateTime second(QDate(2025, 3, 1), QTime(2, 0, 0));
    QStringList made;
    for (int i = 0; i < 10; ++i) {
        const QString name = BackupFileIn(path("mentesek"), path("Kodexa.sqb"), second);
        ASSERT_FALSE(made.contains(name)) << name.toStdString();
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        made << name;
    }
    EXPECT_EQ(made[0], path("mentesek/Kodexa-2025-03-01-020000.sqb"));
    EXPECT_EQ(made[9], path("mentesek/Kodexa-2025-03-01-020000-10.sqb"));
    // Name order ("-10" before "-2", "-2" before the first) is not age order.
    const Result r = cli({"backup", "--keep", "3", path("mentesek")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QString newest = r.out.section('\n', 0, 0).mid(QStringLiteral("Mentve: ").size());
    QStringList kept;
    for (const QString &name : QDir(path("mentesek")).entryList({"Kodexa-*.sqb"}, QDir::Files))
        kept << path("mentesek/" + name);
    kept.sort();
    QStringList expected{made[8], made[9], newest};
    expected.sort();
    EXPECT_EQ(kept, expected);
}

TEST_F(KodexaCliTest, OptionsTakeTheirValueAfterAnEqualsSignAndTheLastOneGiven) {
    makeCatalogue(true);
    db.close();
    Result r = RunProgram(CliProgram(), {"--db=" + path("Kodexa.sqb"), "list", "--fields", "cim"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Egri csillagok"));
    r = RunProgram(CliProgram(), {"--db", path("nincs.sqb"), "list", "--db", path("Kodexa.sqb"), "--fields", "cim"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    r = RunProgram(CliProgram(), {"--db", path("Kodexa.sqb"), "--db=" + path("nincs.sqb"), "list"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(path("nincs.sqb"))) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("nincs.sqb")));

    r = cli({"list", "--fields", "cim", "--sort=konyvek", "--fields=konyvek", "--format=csv"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(lines(r.out).value(0), "konyvek");
    EXPECT_EQ(lines(r.out).value(1), "1");
}

TEST_F(KodexaCliTest, WithoutDbItUsesTheCatalogueOfTheUsersFolderAndWhereNamesEveryPlace) {
    makeCatalogue(true);
    const qint64 books = scalar("SELECT count(*) FROM konyvek").toLongLong();
    Result r = RunProgram(CliProgram(), {"list", "--fields", "konyvek"}, dir());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(lines(r.out).size(), books + 1);
    r = RunProgram(CliProgram(), {"where"}, dir());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(lines(r.out), (QStringList{"Mappa\t" + dir(), "Katalógus\t" + path("Kodexa.sqb"),
                                         "Beállítások\t" + path("Kodexa.ini"), "Mentések\t" + path("Backup"),
                                         "Mód\thordozható"}));
    // A user's folder without a catalogue: refused with the path, nothing created.
    r = RunProgram(CliProgram(), {"list"}, path("ures"));
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(path("ures/Kodexa.sqb"))) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("ures/Kodexa.sqb")));
}

TEST_F(KodexaCliTest, BackupWithoutATargetGoesWhereTheProgramBacksUpWithItsRotation) {
    makeCatalogue(true);
    writeFile("Kodexa.ini", "[Backup]\nKeep=2\n");
    Result r;
    for (int i = 0; i < 3; ++i) {
        r = RunProgram(CliProgram(), {"backup"}, dir());
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
    }
    EXPECT_TRUE(r.out.startsWith("Mentve: " + path("Backup/Kodexa-"))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("Régi mentés törölve: " + path("Backup/Kodexa-"))) << r.out.toStdString();
    EXPECT_EQ(QDir(path("Backup")).entryList({"Kodexa-*.sqb"}, QDir::Files).size(), 2);
}
