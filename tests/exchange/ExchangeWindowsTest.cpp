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
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringEncoder>
#include <QTableWidget>
#include <QTest>
#include <QWizard>
#include <Qsci/qsciscintilla.h>

using namespace kodexa;


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

TEST_F(ExchangeWindowsTest, EncodingChoiceIsKeptForTheNextExportAndSplitValuesAreWarnedOf) {
    openCatalogue();
    AddBook(db, {.cim = QStringLiteral("1984"), .kulcsszavak = QStringLiteral("disztópia; Nagy Testvér")});
    AddBook(db, {.cim = QStringLiteral("Rock;n;roll")});
    QuerySource q(db, QStringLiteral("SELECT cim, kulcsszavak FROM konyvek ORDER BY konyvek"));
    const QString file = path(QStringLiteral("ki.csv"));
    {
        Tfrm_Hatarolt dlg(q, services);
        EXPECT_TRUE(test::Child<QRadioButton>(&dlg, QStringLiteral("RadioGroup3_0"))->isChecked());
        EXPECT_EQ(test::Child<QRadioButton>(&dlg, QStringLiteral("RadioGroup3_1"))->text(), QStringLiteral("UTF-8 (táblázatkezelőknek)"));
        click(&dlg, QStringLiteral("RadioGroup3_1"));
        dlg.setFileName(file);
        click(&dlg, QStringLiteral("Button1"));
        EXPECT_EQ(readFile(QStringLiteral("ki.csv")),
                  QStringLiteral("\uFEFFcim;kulcsszavak;\r\n1984;disztópia; Nagy Testvér;\r\nRock;n;roll;;\r\n").toUtf8());
        EXPECT_EQ(infoTexts(), QStringList{QStringLiteral("Üzenet: ") + file +
                                           QStringLiteral(" file kész.\nFigyelem: 2 értékben szerepel az elválasztó karakter, ezek "
                                                          "sorai egy táblázatkezelőben elcsúszhatnak. Válasszon idézőjelet.")});
        click(&dlg, QStringLiteral("Button2"));
    }

    // The next window, as after a restart, starts from what Kodexa.ini keeps.
    {
        Tfrm_Hatarolt dlg(q, services);
        EXPECT_TRUE(test::Child<QRadioButton>(&dlg, QStringLiteral("RadioGroup3_1"))->isChecked());
        // "Adatbázis export" is the import's format: Windows-1250 whatever was chosen, and it
        // leaves the remembered choice alone.
        dlg.setFixedFormat();
        EXPECT_FALSE(test::Child<QWidget>(&dlg, QStringLiteral("RadioGroup3"))->isEnabled());
        dlg.setFileName(file);
        click(&dlg, QStringLiteral("Button1"));
        EXPECT_EQ(readFile(QStringLiteral("ki.csv")), EncodeCp1250(QStringLiteral("cim\tkulcsszavak\t\r\n1984\tdisztópia; Nagy Testvér\t\r\n"
                                                                                  "Rock;n;roll\t\t\r\n")));
        EXPECT_EQ(infoTexts().last(), QStringLiteral("Üzenet: ") + file + QStringLiteral(" file kész."));
        click(&dlg, QStringLiteral("Button2"));
    }
    Tfrm_Hatarolt again(q, services);
    EXPECT_TRUE(test::Child<QRadioButton>(&again, QStringLiteral("RadioGroup3_1"))->isChecked());
    click(&again, QStringLiteral("RadioGroup3_0"));
    click(&again, QStringLiteral("Button2"));
    Tfrm_Hatarolt last(q, services);
    EXPECT_TRUE(test::Child<QRadioButton>(&last, QStringLiteral("RadioGroup3_0"))->isChecked());
    EXPECT_TRUE(services.errorTexts().isEmpty()) << services.errorTexts().join(QLatin1Char('\n')).toStdString();
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

TEST_F(ExchangeWindowsTest, ImportWindowReportsTakenKeysBlankLinesNulsAndReadsUtf16) {
    openCatalogue();
    db.exec(QStringLiteral("INSERT INTO konyvek (konyvek, cim) VALUES (12, 'Régi')"));
    // UTF-16 LE with its mark: a taken key on line 1, a blank line 2, a NUL on line 8.
    QString content = QStringLiteral("konyvek\tcim\r\n12\tKettős\r\n  \r\n\tŐszi\r\n");
    for (int i = 1; i <= 10; ++i)
        content += (i == 5 ? QStringLiteral("\tNUL%1itt").arg(QChar(0)) : QStringLiteral("\tKönyv %1").arg(i)) + QStringLiteral("\r\n");
    QStringEncoder utf16(QStringConverter::Utf16LE, QStringEncoder::Flag::WriteBom);
    writeFile(QStringLiteral("utf16.txt"), utf16.encode(content));

    Tfrm_Import w(*ctx);
    services.fileAnswers.push_back(path(QStringLiteral("utf16.txt")));
    ASSERT_TRUE(w.chooseAndLoad(QLatin1Char('\t')));
    auto *label = test::Child<QLabel>(&w, QStringLiteral("Label2"));
    EXPECT_EQ(label->text(), QStringLiteral("A file UTF-16 LE kódolással beolvasva."));
    EXPECT_EQ(test::Child<QListWidget>(&w, QStringLiteral("CheckListBox1"))->count(), 2);
    EXPECT_EQ(test::Child<QsciScintilla>(&w, QStringLiteral("SynEdit1"))->lines(), 15);
    click(&w, QStringLiteral("BitBtn2"));
    EXPECT_EQ(label->text(), QStringLiteral("betöltött tételek száma: 10"));
    EXPECT_TRUE(services.errorTexts().isEmpty()) << services.errorTexts().join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(infoTexts().size(), 1);
    EXPECT_EQ(infoTexts()[0], QStringLiteral("Figyelmeztetés: betöltött tételek száma: 10\n"
                                             "Beolvasott sorok: 13, betöltve: 10, elutasítva: 2, kihagyva (üres sor): 1.\n"
                                             "Elutasított sorok:\n"
                                             "1. sor: a(z) 12 azonosítójú könyv már létezik\n"
                                             "8. sor: a sorban NUL (0 kódú) karakter áll"));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT group_concat(cim, '|') FROM (SELECT cim FROM konyvek ORDER BY konyvek)")).toString(),
              QStringLiteral("Régi|Őszi|Könyv 1|Könyv 2|Könyv 3|Könyv 4|Könyv 6|Könyv 7|Könyv 8|Könyv 9|Könyv 10"));
}

TEST_F(ExchangeWindowsTest, ImportWindowEmptiesTheEditorForAnEmptyOrOverlongFile) {
    openCatalogue();
    writeFile(QStringLiteral("elso.txt"), QByteArray("cim\r\nEgy\r\n"));
    writeFile(QStringLiteral("ures.txt"), QByteArray());
    writeFile(QStringLiteral("hosszu.txt"), QByteArray("cim\r\nEgy\r\n") + QByteArray(ImportLineLimit + 1, 'x') + "\r\n");
    Tfrm_Import w(*ctx);
    auto *editor = test::Child<QsciScintilla>(&w, QStringLiteral("SynEdit1"));
    auto *list = test::Child<QListWidget>(&w, QStringLiteral("CheckListBox1"));
    services.fileAnswers.push_back(path(QStringLiteral("elso.txt")));
    ASSERT_TRUE(w.chooseAndLoad(QLatin1Char('\t')));
    ASSERT_EQ(list->count(), 1);

    // The name field shows the empty file, so the editor must not keep the first one's text.
    services.fileAnswers.push_back(path(QStringLiteral("ures.txt")));
    ASSERT_TRUE(w.chooseAndLoad(QLatin1Char('\t')));
    EXPECT_EQ(test::Child<QLineEdit>(&w, QStringLiteral("Edit1"))->text(), path(QStringLiteral("ures.txt")));
    EXPECT_EQ(editor->text(), QString());
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(infoTexts(), QStringList{QStringLiteral("Figyelmeztetés: A file üres, nincs mit betölteni.")});
    click(&w, QStringLiteral("BitBtn2"));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM konyvek")).toLongLong(), 0);
    EXPECT_EQ(infoTexts().last(), QStringLiteral("Üzenet: Nincs betölthető sor."));

    // A line of more than a megabyte: refused with its number before the editor lays it out.
    services.fileAnswers.push_back(path(QStringLiteral("elso.txt")));
    ASSERT_TRUE(w.chooseAndLoad(QLatin1Char('\t')));
    services.fileAnswers.push_back(path(QStringLiteral("hosszu.txt")));
    ASSERT_TRUE(w.chooseAndLoad(QLatin1Char('\t')));
    EXPECT_EQ(services.errorTexts(), QStringList{QStringLiteral("A file 2. sora hosszabb 1 MB-nál, a file nem tölthető be.")});
    EXPECT_EQ(editor->text(), QString());
    EXPECT_EQ(list->count(), 0);
}

TEST_F(ExchangeWindowsTest, ImportWindowCountsOnlyWhatAFullDiskLetStay) {
    openCatalogue();
    QString file = QStringLiteral("cim\ttartalom\r\n");
    for (int i = 0; i < 400; ++i)
        file += QStringLiteral("Könyv %1\t%2\r\n").arg(i).arg(QString(1500, QChar(u'a' + i % 26)));
    writeFile(QStringLiteral("sok.txt"), file.toUtf8());
    Tfrm_Import w(*ctx);
    services.fileAnswers.push_back(path(QStringLiteral("sok.txt")));
    ASSERT_TRUE(w.chooseAndLoad(QLatin1Char('\t')));
    db.exec(QStringLiteral("PRAGMA max_page_count = %1").arg(db.scalar(QStringLiteral("PRAGMA page_count")).toLongLong() + 20));
    click(&w, QStringLiteral("BitBtn2"));
    EXPECT_EQ(test::Child<QLabel>(&w, QStringLiteral("Label2"))->text(), QStringLiteral("betöltött tételek száma: 0"));
    ASSERT_EQ(services.errorTexts().size(), 1);
    EXPECT_TRUE(services.errorTexts()[0].contains(QStringLiteral("semmi sem maradt meg, egyetlen könyv sem került a katalógusba")))
        << services.errorTexts()[0].toStdString();
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM konyvek")).toLongLong(), 0);
    EXPECT_EQ(w.storedBooks(), 0);
}

// "Könyvek átvétele más programból…" walked through as a user: a spreadsheet's file is
// guessed and previewed, its columns mapped, the books already there counted, the run's
// summary saved, the list shows the new books; the next file with the same header is
// offered the mapping the user confirmed.
TEST_F(ExchangeWindowsTest, TheTakeOverWizardBringsASpreadsheetsBooksInAndRemembersItsMapping) {
    makeCatalogue(true);
    db.close();
    writeFile(QStringLiteral("tabla.csv"),
              EncodeCp1250(QStringLiteral("Cím;Szerző;Oldalszám;Megjegyzés\r\nŐszi fény;Kiss, Anna;320 oldal;jó\r\n"
                                          "Egri csillagok;Gárdonyi Géza;560;már megvan\r\n")));
    Tfrm_Main w(services);
    ASSERT_TRUE(w.FormCreate());
    const qint64 books = w.Tbl().recordCount();
    const auto walk = [&](int matches, const std::function<void(QWizard *)> &onMapping,
                          const std::function<void(QWizard *)> &atEnd) {
        test::WhenModal([&](QWidget *dlg) {
            auto *wiz = qobject_cast<QWizard *>(dlg);
            ASSERT_TRUE(wiz);
            EXPECT_EQ(wiz->windowTitle(), QStringLiteral("Könyvek átvétele más programból"));
            services.fileAnswers.push_back(path(QStringLiteral("tabla.csv")));
            click(wiz, QStringLiteral("BitBtn1"));
            EXPECT_EQ(test::Child<QComboBox>(wiz, QStringLiteral("cbKodolas"))->currentText(), QStringLiteral("Windows-1250"));
            EXPECT_EQ(test::Child<QComboBox>(wiz, QStringLiteral("cbElvalaszto"))->currentText(), QStringLiteral("pontosvessző"));
            EXPECT_EQ(test::Child<QTableWidget>(wiz, QStringLiteral("tblElonezet"))->item(0, 1)->text(), QStringLiteral("Kiss, Anna"));
            wiz->next();
            onMapping(wiz);
            wiz->next();
            EXPECT_EQ(test::Child<QLabel>(wiz, QStringLiteral("lblEgyezes"))->text(),
                      QStringLiteral("A fájl 2 sorából %1 már megvan a katalógusban.").arg(matches));
            wiz->next();
            auto *summary = test::Child<QPlainTextEdit>(wiz, QStringLiteral("memOsszesites"));
            EXPECT_TRUE(QTest::qWaitFor([&] { return !summary->toPlainText().isEmpty(); }));
            atEnd(wiz);
            wiz->accept();
        });
        w.Action(QStringLiteral("aAtvetel"))->trigger();
    };
    const auto mappingCombo = [](QWizard *wiz, int row) {
        return qobject_cast<QComboBox *>(test::Child<QTableWidget>(wiz, QStringLiteral("tblMezok"))->cellWidget(row, 2));
    };
    walk(
        1,
        [&](QWizard *wiz) {
            EXPECT_EQ(mappingCombo(wiz, 3)->currentText(), QStringLiteral("tartalom"));
            mappingCombo(wiz, 3)->setCurrentIndex(0); // "Kihagyás": the remark stays out
        },
        [&](QWizard *wiz) {
            services.fileAnswers.push_back(path(QStringLiteral("osszesites.txt")));
            click(wiz, QStringLiteral("btnMentes"));
        });
    EXPECT_TRUE(QString::fromUtf8(readFile(QStringLiteral("osszesites.txt"))).contains(QStringLiteral("Új könyvek: 1\n")));
    EXPECT_EQ(w.Tbl().recordCount(), books + 1) << "the list shows the new book at once";
    EXPECT_EQ(w.Db1().scalar(QStringLiteral("SELECT szerzo_nev || '|' || terjedelem || '|' || ifnull(tartalom, '-') FROM konyvek "
                                            "WHERE cim = 'Őszi fény'")).toString(),
              QStringLiteral("Kiss Anna|320|-"));

    // The same header again: the confirmed mapping is offered; the file's books are all there now.
    walk(2, [&](QWizard *wiz) { EXPECT_EQ(mappingCombo(wiz, 3)->currentText(), QStringLiteral("Kihagyás")); },
         [](QWizard *) {});
    EXPECT_EQ(w.Tbl().recordCount(), books + 1);
    EXPECT_TRUE(services.errorTexts().isEmpty()) << services.errorTexts().join(QLatin1Char('\n')).toStdString();
    w.close();
}
