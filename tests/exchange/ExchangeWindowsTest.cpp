// The export dialog, the delimiter choice and the import window driven as a user would,
// and the main window's three commands.
#include "app/Main.h"
#include "data/Catalogue.h"
#include "data/Kozos.h"
#include "data/TextFile.h"
#include "exchange/Hatarolo.h"
#include "exchange/Hatarolt.h"
#include "exchange/Import.h"
#include "exchange/core/RowSource.h"
#include "support/Fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <Qsci/qsciscintilla.h>

using namespace kodexa;

// Books are described by the few fields each case needs.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

class ExchangeWindowsTest : public test::CatalogueTest {
protected:
    QStringList infoTexts() const {
        QStringList r;
        for (const auto &m : services.messages)
            if (m.kind != MessageKind::Error)
                r << m.caption + QStringLiteral(": ") + m.text;
        return r;
    }
    static void click(QWidget *parent, const QString &name) {
        auto *b = test::Child<QAbstractButton>(parent, name);
        ASSERT_TRUE(b);
        b->click();
    }
};

TEST_F(ExchangeWindowsTest, ExportDialogWritesTheChosenFormatAndSaysSo) {
    openCatalogue();
    AddBook(db, {.cim = QStringLiteral("A \"nagy\" könyv"), .szerzo = QStringLiteral("Ős Ödön"), .tartalom = QStringLiteral("a\nb")});
    QuerySource q(db, QStringLiteral("SELECT konyvek, cim, szerzo_nev, tartalom FROM konyvek"));
    Tfrm_Hatarolt dlg(q, services);
    auto *list = test::Child<QListWidget>(&dlg, QStringLiteral("CheckListBox1"));
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(list->item(2)->text(), QStringLiteral("szerzo_nev"));
    EXPECT_EQ(test::Child<QRadioButton>(&dlg, QStringLiteral("RadioGroup2_0"))->isChecked(), true);
    EXPECT_EQ(test::Child<QRadioButton>(&dlg, QStringLiteral("RadioGroup1_2"))->isChecked(), true);

    // No file name: the message, nothing written.
    click(&dlg, QStringLiteral("Button1"));
    EXPECT_EQ(services.errorTexts(), QStringList{QStringLiteral("Nincs filenév megadva.")});

    click(&dlg, QStringLiteral("Button5"));
    list->item(3)->setCheckState(Qt::Checked);
    list->item(1)->setCheckState(Qt::Checked);
    click(&dlg, QStringLiteral("RadioGroup2_2"));
    click(&dlg, QStringLiteral("RadioGroup1_0"));
    click(&dlg, QStringLiteral("CheckBox1"));
    services.fileAnswers.push_back(path(QStringLiteral("ki.csv")));
    click(&dlg, QStringLiteral("SpeedButton1"));
    EXPECT_EQ(test::Child<QLineEdit>(&dlg, QStringLiteral("Edit1"))->text(), path(QStringLiteral("ki.csv")));
    click(&dlg, QStringLiteral("Button1"));
    EXPECT_EQ(readFile(QStringLiteral("ki.csv")), EncodeCp1250(QStringLiteral("\"cim\",\"tartalom\",\r\n\"A \"\"nagy\"\" könyv\",\"a|b|\",\r\n")));
    EXPECT_EQ(infoTexts(), QStringList{QStringLiteral("Üzenet: ") + path(QStringLiteral("ki.csv")) + QStringLiteral(" file kész.")});
    EXPECT_FALSE(test::Child<QPushButton>(&dlg, QStringLiteral("Button3"))->isEnabled());
    EXPECT_TRUE(test::Child<QPushButton>(&dlg, QStringLiteral("Button1"))->isEnabled());
}

TEST_F(ExchangeWindowsTest, ExportFailuresAndReplacedCharactersAreReported) {
    openCatalogue();
    AddBook(db, {.cim = QStringLiteral("漢字")});
    QuerySource q(db, QStringLiteral("SELECT cim FROM konyvek"));
    Tfrm_Hatarolt dlg(q, services);
    dlg.setFileName(path(QStringLiteral("nincs/ilyen.csv")));
    click(&dlg, QStringLiteral("Button1"));
    ASSERT_EQ(services.errorTexts().size(), 1);
    EXPECT_TRUE(services.errorTexts()[0].startsWith(QStringLiteral("Hiba: ") + path(QStringLiteral("nincs/ilyen.csv")) + QStringLiteral(": ")));
    EXPECT_TRUE(infoTexts().isEmpty());

    dlg.setFileName(path(QStringLiteral("ki.txt")));
    click(&dlg, QStringLiteral("Button1"));
    EXPECT_EQ(readFile(QStringLiteral("ki.txt")), QByteArray("cim;\r\n??;\r\n"));
    ASSERT_EQ(infoTexts().size(), 2);
    EXPECT_TRUE(infoTexts()[1].startsWith(QStringLiteral("Figyelmeztetés: 2 karaktert"))) << infoTexts()[1].toStdString();
}

TEST_F(ExchangeWindowsTest, MainWindowExportsThenImportsDoublingTheCatalogue) {
    makeCatalogue(true);
    db.close();
    Tfrm_Main w(services);
    ASSERT_TRUE(w.FormCreate());
    Db &mdb = w.Db1();
    const qint64 books = mdb.scalar(QStringLiteral("SELECT COUNT(*) FROM konyvek")).toLongLong();
    const qint64 authors = mdb.scalar(QStringLiteral("SELECT COUNT(*) FROM szerzo")).toLongLong();

    // "Adatbázis export": fixed format, only the file name and the buttons usable.
    services.fileAnswers.push_back(path(QStringLiteral("konyvek.txt")));
    test::WhenModal([this](QWidget *dlg) {
        EXPECT_EQ(dlg->objectName(), QStringLiteral("frm_Hatarolt"));
        EXPECT_FALSE(test::Child<QWidget>(dlg, QStringLiteral("CheckListBox1"))->isEnabled());
        EXPECT_FALSE(test::Child<QWidget>(dlg, QStringLiteral("RadioGroup2"))->isEnabled());
        EXPECT_TRUE(test::Child<QRadioButton>(dlg, QStringLiteral("RadioGroup2_1"))->isChecked());
        EXPECT_EQ(test::Child<QLineEdit>(dlg, QStringLiteral("Edit1"))->text(), path(QStringLiteral("konyvek.txt")));
        click(dlg, QStringLiteral("Button1"));
        click(dlg, QStringLiteral("Button2"));
    });
    w.Action(QStringLiteral("aExport"))->trigger();
    const QByteArray exported = readFile(QStringLiteral("konyvek.txt"));
    EXPECT_TRUE(exported.startsWith("szerzo_nev\tcim\tszerkesztok\tisbn\t"));
    EXPECT_EQ(exported.count("\r\n"), books + 1);

    // "Adatbázis import" of that file: Tab chosen, the file chosen, every column ticked.
    test::WhenModal([this](QWidget *dlg) {
        EXPECT_EQ(dlg->objectName(), QStringLiteral("frm_Hatarolo"));
        click(dlg, QStringLiteral("Button1"));
        test::WhenModal([this](QWidget *imp) {
            EXPECT_EQ(imp->objectName(), QStringLiteral("frm_Import"));
            auto *list = test::Child<QListWidget>(imp, QStringLiteral("CheckListBox1"));
            EXPECT_EQ(list->count(), 16);
            EXPECT_EQ(list->item(0)->text(), QStringLiteral("[szerzo_nev]"));
            click(imp, QStringLiteral("BitBtn2"));
            EXPECT_TRUE(test::Child<QLabel>(imp, QStringLiteral("Label2"))->text().startsWith(QStringLiteral("betöltött tételek száma: ")));
            qobject_cast<QDialog *>(imp)->reject();
        });
    });
    services.fileAnswers.push_back(path(QStringLiteral("konyvek.txt")));
    w.Action(QStringLiteral("aImport"))->trigger();
    EXPECT_EQ(mdb.scalar(QStringLiteral("SELECT COUNT(*) FROM konyvek")).toLongLong(), 2 * books);
    EXPECT_EQ(mdb.scalar(QStringLiteral("SELECT COUNT(*) FROM szerzo")).toLongLong(), authors);
    EXPECT_TRUE(services.errorTexts().isEmpty()) << services.errorTexts().join(QLatin1Char('\n')).toStdString();

    // "Excelbe...": the book list, every column, free mode.
    test::WhenModal([](QWidget *dlg) {
        EXPECT_EQ(test::Child<QListWidget>(dlg, QStringLiteral("CheckListBox1"))->count(), 41);
        EXPECT_TRUE(test::Child<QWidget>(dlg, QStringLiteral("RadioGroup1"))->isEnabled());
        EXPECT_TRUE(test::Child<QLineEdit>(dlg, QStringLiteral("Edit1"))->text().isEmpty());
        click(dlg, QStringLiteral("Button2"));
    });
    w.Action(QStringLiteral("aExcelbe"))->trigger();
    w.close();
}

TEST_F(ExchangeWindowsTest, ImportWindowLoadsStopsOnABadLineAndCancelsQuietly) {
    openCatalogue();
    writeFile(QStringLiteral("be.txt"), QStringLiteral("cim;ar;;isbn\r\nEgy;1;x;111\r\nKettő;sok;x;222\r\n").toUtf8());

    // The delimiter choice: the three items, ";" chosen.
    test::WhenModal([](QWidget *dlg) {
        click(dlg, QStringLiteral("RadioGroup1_1"));
        click(dlg, QStringLiteral("Button1"));
    });
    EXPECT_EQ(ChooseImportDelimiter(), std::optional<QChar>(QLatin1Char(';')));
    test::WhenModal([](QWidget *dlg) { click(dlg, QStringLiteral("Button2")); });
    EXPECT_EQ(ChooseImportDelimiter(), std::nullopt);

    Tfrm_Import w(*ctx);
    services.fileAnswers.push_back(path(QStringLiteral("be.txt")));
    ASSERT_TRUE(w.chooseAndLoad(QLatin1Char(';')));
    EXPECT_EQ(services.fileDialogs.last(), QStringLiteral("Könyvek import"));
    auto *list = test::Child<QListWidget>(&w, QStringLiteral("CheckListBox1"));
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(2)->text(), QStringLiteral("[isbn]"));
    EXPECT_EQ(test::Child<QLabel>(&w, QStringLiteral("Label2"))->text(), QStringLiteral("A file UTF-8 kódolással beolvasva."));
    auto *editor = test::Child<QsciScintilla>(&w, QStringLiteral("SynEdit1"));
    EXPECT_EQ(editor->lines(), 4);
    char number[16] = {};
    editor->SendScintilla(QsciScintillaBase::SCI_MARGINGETTEXT, 1, static_cast<void *>(number));
    EXPECT_STREQ(number, "1"); // the header is line 0

    // What the editor holds is imported, not the file; the ar column unticked is left alone.
    editor->setText(editor->text().replace(QStringLiteral("Egy"), QStringLiteral("Első")));
    click(&w, QStringLiteral("BitBtn2"));
    ASSERT_EQ(services.errorTexts().size(), 1);
    EXPECT_TRUE(services.errorTexts()[0].startsWith(QStringLiteral("2. sor, ar mező: "))) << services.errorTexts()[0].toStdString();
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT group_concat(cim || isbn || ar)  FROM konyvek")).toString(), QStringLiteral("Első1111"));
    list->item(1)->setCheckState(Qt::Unchecked);
    click(&w, QStringLiteral("BitBtn2"));
    EXPECT_EQ(test::Child<QLabel>(&w, QStringLiteral("Label2"))->text(), QStringLiteral("betöltött tételek száma: 2"));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM konyvek WHERE ar IS NULL")).toLongLong(), 2);

    // A file that cannot be read leaves the list empty and the editor as it was.
    services.fileAnswers.push_back(path(QStringLiteral("nincs.txt")));
    EXPECT_THROW(w.chooseAndLoad(QLatin1Char(';')), FileError);
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(editor->lines(), 4);
}
