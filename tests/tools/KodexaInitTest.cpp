#include "data/Db.h"
#include "data/Schema.h"
#include "support/Fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QVector>
#include <cstdlib>
#include <QProcess>

using namespace kodexa;

class KodexaInitTest : public test::ProgramDirTest {
protected:
    int run(const QStringList &args, QString *err = nullptr) {
        QProcess p;
        p.start(QCoreApplication::applicationDirPath() + "/kodexa-init", args);
        p.waitForFinished(60000);
        if (err)
            *err = QString::fromUtf8(p.readAllStandardError());
        return p.exitCode();
    }
};

TEST_F(KodexaInitTest, CreatesTheTablesInOrderWithTheirTypes) {
    ASSERT_EQ(run({path("uj.sqb")}), 0);
    db.open(path("uj.sqb"));
    const auto cols = db.tableColumns("konyvek");
    ASSERT_EQ(cols.size(), 41);
    const auto &defs = BookColumns();
    for (int i = 0; i < 41; ++i) {
        EXPECT_EQ(cols[i].first, QLatin1String(defs[i].name));
        EXPECT_EQ(cols[i].second, QLatin1String(defs[i].type));
    }
    EXPECT_EQ(cols[26].second, "TEXT(2048)");
    for (const char *t : {"szerzo", "kiado", "sorozat", "targykor", "mufaj", "polc", "nyelv", "mezo", "felhasznalo", "beallit"})
        EXPECT_TRUE(db.hasTable(QLatin1String(t))) << t;
    EXPECT_EQ(db.scalar("SELECT vanbelep FROM beallit").toString(), "N");
    EXPECT_EQ(db.scalar("SELECT count(*) FROM felhasznalo WHERE rendszergazda='I'").toInt(), 1);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM sqlite_master WHERE type='index' AND tbl_name='konyvek'").toInt(), 10);
}

TEST_F(KodexaInitTest, MezoHoldsFifteenPositionsAndOneSortMark) {
    ASSERT_EQ(run({path("uj.sqb")}), 0);
    db.open(path("uj.sqb"));
    EXPECT_EQ(db.scalar("SELECT group_concat(mezo) FROM (SELECT mezo FROM mezo ORDER BY mezo)").toString(),
              "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15");
    EXPECT_EQ(db.scalar("SELECT group_concat(mezo_nev) FROM mezo WHERE sorrend='I'").toString(), "cim");
    EXPECT_EQ(db.scalar("SELECT count(*) FROM mezo WHERE sorrend='N'").toInt(), 14);
    EXPECT_EQ(db.scalar("SELECT displabel FROM mezo WHERE mezo_nev='isbn'").toString(), "isbn");
    EXPECT_EQ(db.scalar("SELECT displabel FROM mezo WHERE mezo_nev='konyvek'").toString(), "id");
    // Every shown column exists in konyvek.
    EXPECT_EQ(db.scalar("SELECT count(*) FROM mezo WHERE mezo_nev NOT IN (SELECT name FROM pragma_table_info('konyvek'))").toInt(), 0);
}

TEST_F(KodexaInitTest, DemoCatalogueIsConsistent) {
    ASSERT_EQ(run({"--demo", path("demo.sqb")}), 0);
    db.open(path("demo.sqb"));
    EXPECT_GE(db.scalar("SELECT count(*) FROM konyvek").toInt(), 50);
    EXPECT_GE(db.scalar("SELECT count(*) FROM konyvek WHERE kolcsonadva='I'").toInt(), 2);
    // Every name copy and search key agrees with its lookup row.
    for (const char *t : {"szerzo", "kiado", "sorozat", "targykor", "mufaj"}) {
        const QString sql = QStringLiteral("SELECT count(*) FROM konyvek k JOIN %1 l ON l.%1=k.%1 "
                                           "WHERE k.%1_nev IS NOT l.%1_nev OR k.%1_nevs IS NOT l.%1_nevs").arg(QLatin1String(t));
        EXPECT_EQ(db.scalar(sql).toInt(), 0) << t;
    }
    EXPECT_EQ(db.scalar("SELECT count(*) FROM konyvek WHERE kulcsszavak LIKE '%Könyvtár%'").toInt() > 0, true);
}

TEST_F(KodexaInitTest, DemoGivesTheFirstBooksCoverPicturesAndKeepsPicturesAlreadyThere) {
    QDir().mkpath(path("Images"));
    writeFile("Images/00002.jpg", "saját kép");
    ASSERT_EQ(run({"--demo", path("Kodexa.sqb")}), 0);
    for (const char *name : {"00001.jpg", "00003.jpg", "00006.jpg"}) {
        QImageReader reader(path(QStringLiteral("Images/") + name), "jpeg");
        reader.setDecideFormatFromContent(false);
        EXPECT_EQ(reader.read().size(), QSize(240, 360)) << name;
    }
    EXPECT_EQ(readFile("Images/00002.jpg"), "saját kép");
    EXPECT_FALSE(QFile::exists(path("Images/00007.jpg")));
    // A plain catalogue gets none.
    ASSERT_TRUE(QDir().mkpath(path("mashol")));
    ASSERT_EQ(run({path("mashol/ures.sqb")}), 0);
    EXPECT_FALSE(QFileInfo::exists(path("mashol/Images")));
}

// kodexa-cli makes the same demo as kodexa-init: the same books and the same six covers, each
// on a board of its own colour.
TEST_F(KodexaInitTest, TheCommandLineToolMakesTheSameDemoWithItsCovers) {
    ASSERT_TRUE(QDir().mkpath(path("a")) && QDir().mkpath(path("b")));
    ASSERT_EQ(run({"--demo", path("a/Kodexa.sqb")}), 0);
    QProcess cli;
    cli.start(QCoreApplication::applicationDirPath() + "/kodexa-cli", {"init", "--demo", path("b/Kodexa.sqb")});
    ASSERT_TRUE(cli.waitForFinished(60000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    const QStringList covers = QDir(path("a/Images")).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(covers.size(), 6);
    EXPECT_EQ(QDir(path("b/Images")).entryList(QDir::Files, QDir::Name), covers);
    QVector<QColor> boards;
    for (const QString &name : covers) {
        QImageReader reader(path("b/Images/" + name), "jpeg");
        const QImage img = reader.read();
        ASSERT_FALSE(img.isNull()) << name.toStdString();
        boards << img.pixelColor(4, 4);
    }
    for (int i = 0; i < boards.size(); ++i)
        for (int j = i + 1; j < boards.size(); ++j)
            EXPECT_GT(std::abs(boards[i].red() - boards[j].red()) + std::abs(boards[i].green() - boards[j].green()) +
                          std::abs(boards[i].blue() - boards[j].blue()),
                      30)
                << "covers " << i + 1 << " and " << j + 1 << " share a board colour";
    Db a, b;
    a.open(path("a/Kodexa.sqb"));
    b.open(path("b/Kodexa.sqb"));
    const QString books = "SELECT group_concat(konyvek || cim, '|') FROM konyvek";
    EXPECT_EQ(a.scalar(books), b.scalar(books));
}

TEST_F(KodexaInitTest, RefusesToOverwriteAndReportsUnwritablePaths) {
    writeFile("van.sqb", "régi tartalom");
    QString err;
    EXPECT_NE(run({path("van.sqb")}, &err), 0);
    EXPECT_TRUE(err.contains("már létezik")) << err.toStdString();
    EXPECT_EQ(readFile("van.sqb"), "régi tartalom");
    EXPECT_NE(run({"/nincs/ilyen/mappa/x.sqb"}, &err), 0);
    EXPECT_TRUE(err.contains("nem hozható létre")) << err.toStdString();
    EXPECT_NE(run({}, &err), 0);
}
