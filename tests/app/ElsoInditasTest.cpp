// The first start of an installed program: the choices of the window, and a file it must
// not take.
#include "app/ElsoInditas.h"
#include "app/Main.h"
#include "app/core/ElsoInditas.h"
#include "data/Catalogue.h"
#include "data/Locations.h"
#include "data/Seged.h"
#include "support/Fixture.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSettings>

using namespace kodexa;
using namespace kodexa::test;

class ElsoInditasTest : public ProgramDirTest {
protected:
    void SetUp() override {
        ProgramDirTest::SetUp();
        UseLocations({RunMode::Installed, path("otthon/Kodexa"), path("share")});
    }
    QString target() const { return path("otthon/Kodexa/Kodexa.sqb"); }
    qint64 books(const QString &file) {
        Db d;
        d.open(file);
        return d.scalar("SELECT count(*) FROM konyvek").toLongLong();
    }
    // A catalogue whose fourth page is overwritten: it opens, its tables are there, but the
    // page of some table or index is garbage.
    QString damagedCatalogue() {
        const QString file = path("serult.sqb");
        CreateCatalogue(file, true);
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::ReadWrite));
        const qint64 page = 4096;
        EXPECT_GT(f.size(), 6 * page);
        f.seek(3 * page);
        f.write(QByteArray(page, '\x55'));
        return file;
    }
};

TEST_F(ElsoInditasTest, OnlyAnInstalledProgramWithoutACatalogueGreetsTheUser) {
    EXPECT_TRUE(NeedsFirstStart());
    UseLocations({RunMode::Portable, dir(), dir()});
    // The portable program refuses a missing catalogue, as it always did.
    EXPECT_FALSE(NeedsFirstStart());
    UseLocations({RunMode::Installed, dir(), dir()});
    makeCatalogue();
    EXPECT_FALSE(NeedsFirstStart());
}

TEST_F(ElsoInditasTest, AForeignOrDamagedFileIsRefusedAsAtStartUpAndNothingIsCopied) {
    writeFile("level.sqb", QByteArray("Kedves Péter!\n").repeated(500));
    Db empty;
    empty.open(path("idegen.sqb"), true);
    empty.exec("CREATE TABLE receptek(nev TEXT)");
    empty.close();
    for (const QString &file : {path("level.sqb"), path("idegen.sqb"), damagedCatalogue()}) {
        try {
            AdoptCatalogue(file, FirstStartTarget());
            ADD_FAILURE() << "elfogadta: " << file.toStdString();
        } catch (const Error &e) {
            EXPECT_TRUE(e.message().startsWith(CannotOpenCatalogue(file, QString()))) << e.message().toStdString();
        }
        EXPECT_FALSE(QFile::exists(target())) << file.toStdString();
        EXPECT_FALSE(QFile::exists(target() + ".part")) << file.toStdString();
    }
}

TEST_F(ElsoInditasTest, AnExistingCatalogueIsCopiedWithItsCoversAndTheOriginalStaysWhereItWas) {
    QDir().mkpath(path("regi/Images"));
    CreateCatalogue(path("regi/konyveim.sqb"), true);
    writeFile("regi/Images/00001.jpg", "borito");
    AdoptCatalogue(path("regi/konyveim.sqb"), FirstStartTarget());
    EXPECT_EQ(books(target()), books(path("regi/konyveim.sqb")));
    EXPECT_EQ(readFile("otthon/Kodexa/Images/00001.jpg"), QByteArray("borito"));
    EXPECT_TRUE(QFile::exists(path("regi/konyveim.sqb")));
    // A second adoption never overwrites the user's catalogue.
    EXPECT_THROW(AdoptCatalogue(path("regi/konyveim.sqb"), target()), Error);
}

TEST_F(ElsoInditasTest, TheWindowStaysOpenAfterARefusedFileAndMakesTheDemoWithItsCovers) {
    Tfrm_ElsoInditas w(services, FirstStartTarget());
    w.show();
    writeFile("level.sqb", QByteArray("Kedves Péter!\n").repeated(500));
    services.fileAnswers.push_back(path("level.sqb"));
    Child<QPushButton>(&w, "btnMeglevo")->click();
    ASSERT_EQ(services.errorTexts().size(), 1);
    EXPECT_TRUE(services.errorTexts()[0].startsWith("Az adatbázis nem nyitható meg:"));
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(QFile::exists(target()));

    Child<QPushButton>(&w, "btnBemutato")->click();
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_GT(books(target()), 10);
    EXPECT_FALSE(QDir(path("otthon/Kodexa/Images")).entryList({"*.jpg"}).isEmpty());
    EXPECT_FALSE(NeedsFirstStart());
}

TEST_F(ElsoInditasTest, QuittingEndsTheProgramQuietlyAndAnEmptyCatalogueIsWhatTheSettingsThenName) {
    WhenModal([](QWidget *w) { Child<QPushButton>(w, "btnKilepes")->click(); });
    EXPECT_EQ(RunProgram(services), 0);
    EXPECT_TRUE(services.messages.isEmpty());
    EXPECT_FALSE(QFile::exists(target()));

    // Kodexa.ini named a file that is gone: the new catalogue is made in the user's folder
    // and the settings follow it.
    writeFile("otthon/Kodexa/Kodexa.ini", QStringLiteral("[Database]\nPath=%1\n").arg(path("elveszett.sqb")).toUtf8());
    WhenModal([](QWidget *w) { Child<QPushButton>(w, "btnUres")->click(); });
    bool takeOver = true;
    EXPECT_TRUE(RunFirstStart(services, &takeOver));
    EXPECT_FALSE(takeOver);
    EXPECT_EQ(books(target()), 0);
    EXPECT_EQ(CataloguePath(), target());

    // Bringing books in from another program starts from an empty catalogue too, and says so.
    QFile::remove(target());
    WhenModal([](QWidget *w) { Child<QPushButton>(w, "btnAtvetel")->click(); });
    EXPECT_TRUE(RunFirstStart(services, &takeOver));
    EXPECT_TRUE(takeOver);
    EXPECT_EQ(books(target()), 0);
}
