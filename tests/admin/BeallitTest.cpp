// Settings dialog: the record's values taken on OK only, the settings row edited in place
// and left as it was on Mégsem, and the browse buttons.
#include "admin/Beallit.h"
#include "app/Main.h"
#include "data/Catalogue.h"
#include "data/Dataset.h"
#include "support/Fixture.h"

#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>

using namespace kodexa;
using namespace kodexa::test;

namespace {

class BeallitTest : public CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        openCatalogue(false);
        settings.FullScreen = false;
        settings.DatabasePath = path(QStringLiteral("Kodexa.sqb"));
        settings.HtmlPath = path(QStringLiteral("Html"));
    }
    void open() {
        dlg = std::make_unique<Tfrm_Beallit>(*ctx);
        dlg->show();
    }
    void TearDown() override {
        dlg.reset();
        CatalogueTest::TearDown();
    }
    QStringList row() {
        Stmt s = db.prepare(QStringLiteral("SELECT beallit, vanbelep, sendername, senderemil FROM beallit"));
        QStringList r;
        while (s.step())
            for (int i = 0; i < 4; ++i)
                r << (s.isNull(i) ? QStringLiteral("<null>") : s.text(i));
        return r;
    }
    template <class T> T *w(const char *name) { return Child<T>(dlg.get(), QLatin1String(name)); }
    void retype(const char *name, const QString &text) {
        auto *e = w<QLineEdit>(name);
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        TypeText(e, text);
    }

    std::unique_ptr<Tfrm_Beallit> dlg;
};

TEST_F(BeallitTest, CancelAfterTickingLeavesTheRowAndTheRecordAsTheyWere) {
    const QStringList before = row();
    ASSERT_EQ(before[1], QStringLiteral("N"));
    for (bool esc : {false, true}) {
        open();
        w<QCheckBox>("DBCheckBox1")->click();
        EXPECT_TRUE(w<QCheckBox>("DBCheckBox1")->isChecked());
        w<QCheckBox>("CheckBox1")->click();
        retype("Edit3", QStringLiteral("/máshol"));
        retype("DBEdit1", QStringLiteral("Kovács Éva"));
        if (esc)
            PressKey(w<QLineEdit>("DBEdit1"), Qt::Key_Escape);
        else
            w<QPushButton>("Button2")->click();
        EXPECT_EQ(dlg->result(), QDialog::Rejected);
        EXPECT_EQ(row(), before);
        EXPECT_FALSE(settings.FullScreen);
        EXPECT_EQ(settings.HtmlPath, path(QStringLiteral("Html")));
        dlg.reset();
    }
}

TEST_F(BeallitTest, OkTakesTheRecordValuesAndWritesTheRowWithoutReopening) {
    CreateCatalogue(path(QStringLiteral("Masik.sqb")), false);
    open();
    EXPECT_EQ(w<QLineEdit>("Edit2")->text(), path(QStringLiteral("Kodexa.sqb")));
    w<QCheckBox>("CheckBox1")->click();
    w<QCheckBox>("DBCheckBox1")->click();
    retype("Edit2", path(QStringLiteral("Masik.sqb")));
    retype("Edit3", QStringLiteral("/nem/letezo/mappa"));
    retype("DBEdit1", QStringLiteral("Kovács Éva"));
    retype("DBEdit2", QStringLiteral("eva@példa.hu"));
    w<QPushButton>("Button1")->click();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_TRUE(services.messages.isEmpty());
    EXPECT_EQ(row(), (QStringList{"1", "I", "Kovács Éva", "eva@példa.hu"}));
    EXPECT_TRUE(settings.FullScreen);
    EXPECT_EQ(settings.DatabasePath, path(QStringLiteral("Masik.sqb")));
    EXPECT_EQ(settings.HtmlPath, QStringLiteral("/nem/letezo/mappa")) << "a missing folder is accepted as typed";
    // The row's values are for the next start; the running program keeps its connection.
    EXPECT_FALSE(settings.LoginRequired);
    EXPECT_EQ(db.path(), path(QStringLiteral("Kodexa.sqb")));
}

TEST_F(BeallitTest, UntouchedOkWritesTheSameValuesBackAndAnEmptyTableGetsARow) {
    db.exec(QStringLiteral("UPDATE beallit SET vanbelep = NULL, sendername = 'Ferenc', senderemil = NULL"));
    const QStringList before = row();
    open();
    EXPECT_FALSE(w<QCheckBox>("DBCheckBox1")->isChecked());
    w<QPushButton>("Button1")->click();
    EXPECT_EQ(row(), before) << "an empty login flag is not turned into N";
    EXPECT_EQ(settings.DatabasePath, path(QStringLiteral("Kodexa.sqb")));
    dlg.reset();

    db.exec(QStringLiteral("DELETE FROM beallit"));
    open();
    w<QPushButton>("Button2")->click();
    EXPECT_TRUE(row().isEmpty()) << "Mégsem adds no row";
    dlg.reset();
    open();
    w<QCheckBox>("DBCheckBox1")->click();
    w<QPushButton>("Button1")->click();
    EXPECT_EQ(row(), (QStringList{"1", "I", "<null>", "<null>"}));
}

TEST_F(BeallitTest, MissingDatabaseFileIsRefusedAndTheDialogStaysOpen) {
    open();
    retype("Edit2", path(QStringLiteral("nincs.sqb")));
    w<QCheckBox>("DBCheckBox1")->click();
    w<QPushButton>("Button1")->click();
    EXPECT_EQ(services.errorTexts(), QStringList{QStringLiteral("Nem létező adatbázis")}) << "as start-up says it";
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(settings.DatabasePath, path(QStringLiteral("Kodexa.sqb")));
    EXPECT_EQ(row()[1], QStringLiteral("N"));
    // Emptied, the path means the default catalogue beside the program: accepted.
    retype("Edit2", QString());
    w<QPushButton>("Button1")->click();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(settings.DatabasePath, QString());
    EXPECT_EQ(row()[1], QStringLiteral("I"));
}

TEST_F(BeallitTest, AFileThatIsNoCatalogueIsRefusedWithStartUpsMessage) {
    writeFile(QStringLiteral("jegyzet.sqb"), "Könyveim listája\r\n");
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(Qt::darkRed);
    ASSERT_TRUE(picture.save(path(QStringLiteral("borito.png"))));
    for (const char *name : {"jegyzet.sqb", "borito.png"}) {
        const QString file = path(QLatin1String(name));
        // What the program says when it is started on the file.
        QSettings(path(QStringLiteral("Kodexa.ini")), QSettings::IniFormat).setValue(QStringLiteral("Database/Path"), file);
        ScriptedServices startUp;
        EXPECT_FALSE(Tfrm_Main(startUp).FormCreate());
        ASSERT_EQ(startUp.errorTexts().size(), 1) << name;
        EXPECT_TRUE(startUp.errorTexts()[0].contains(file));

        services.messages.clear();
        open();
        retype("Edit2", file);
        w<QPushButton>("Button1")->click();
        EXPECT_EQ(services.errorTexts(), startUp.errorTexts()) << name;
        EXPECT_TRUE(dlg->isVisible());
        EXPECT_EQ(settings.DatabasePath, path(QStringLiteral("Kodexa.sqb")));
        dlg.reset();
    }
}

TEST_F(BeallitTest, BrowseButtonsReplaceTheTextOnlyWhenConfirmed) {
    open();
    services.fileAnswers = {path(QStringLiteral("Uj.sqb"))};
    services.folderAnswers = {QString(), QStringLiteral("/tmp/html")};
    w<QPushButton>("BitBtn1")->click();
    EXPECT_EQ(w<QLineEdit>("Edit2")->text(), path(QStringLiteral("Uj.sqb")));
    w<QPushButton>("BitBtn1")->click(); // cancelled
    EXPECT_EQ(w<QLineEdit>("Edit2")->text(), path(QStringLiteral("Uj.sqb")));
    w<QPushButton>("BitBtn3")->click(); // cancelled
    EXPECT_EQ(w<QLineEdit>("Edit3")->text(), path(QStringLiteral("Html")));
    w<QPushButton>("BitBtn3")->click();
    EXPECT_EQ(w<QLineEdit>("Edit3")->text(), QStringLiteral("/tmp/html"));
    EXPECT_EQ(services.fileDialogs.value(2), QStringLiteral("Adatbázis útvonala"));
    EXPECT_FALSE(w<QPushButton>("BitBtn1")->accessibleName().isEmpty());
    // The sender's fields hold what their columns hold.
    EXPECT_EQ(w<QLineEdit>("DBEdit1")->maxLength(), 50);
    EXPECT_EQ(w<QLineEdit>("DBEdit2")->maxLength(), 75);
}

} // namespace
