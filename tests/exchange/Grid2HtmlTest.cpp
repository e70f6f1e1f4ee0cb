#include "app/Main.h"
#include "data/Catalogue.h"
#include "data/Dataset.h"
#include "data/TextFile.h"
#include "exchange/Grid2Html.h"
#include "exchange/core/Grid2Html.h"
#include "exchange/core/MapiMail.h"
#include "gui/QtDesktopServices.h"
#include "support/Fixture.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using namespace kodexa;

namespace {

// The page's fixed lines around the table, as the file must hold them.
QStringList PageHead(const QString &title) {
    return {"<html>", "", "<head>", R"(<meta http-equiv="Content-Type" content="text/html; charset=windows-1250">)",
            "<title>" + title + "</title>", R"(<meta name="GENERATOR" content="Ferolin Bt. Grid2Html">)", "</head>", "",
            "<body>", R"(<p><strong><font face="Verdana" size="2">)" + title + "</font></strong></p>",
            R"(<p><strong><font face="Verdana" size="1"></font></strong></p>)", R"(<div align="center"><center>)", "",
            R"(<table border="1" cellpadding="3" cellspacing="0" width="90%">)"};
}
QStringList PageFoot(int rows) {
    return {"</table>", "</center></div>", "",
            QString(R"(<p><font face="Verdana" size="1">Összesen %1 sor.</font></p>)").arg(rows), "",
            R"(<p><font face="Verdana" size="1">2024.03.05 07:08:09</font></p>)", "",
            R"(<p><font face="Courier New" size="1">Kodexa 1.0.0.67</font></p>)", "", "</body>", "</html>"};
}
QString Head(int width, const QString &caption) {
    return QString(R"(    <td width="%1%" bgcolor="#C0C0C0"><font face="Verdana" size="1"><strong>%2</strong></font></td>)")
        .arg(width)
        .arg(caption);
}
QString Cell(int width, const QString &text) {
    return QString(R"(    <td width="%1%"><font face="Verdana" size="1">%2</font></td>)").arg(width).arg(text);
}
QStringList Group(const QString &text) {
    return {"  <tr>",
            R"(    <td width="95%" colspan="7" bgcolor="#EAEAEA"><font face="Verdana" size="1"><strong>)" + text +
                "</strong></font></td>",
            "  </tr>"};
}
const QString Right = R"(<p align="right">)";

// Compares line by line first (a readable failure), then byte for byte.
void ExpectPage(const QByteArray &file, const QStringList &lines) {
    const QStringList got = DecodeCp1250(file).split("\r\n");
    for (int i = 0; i < std::max(got.size() - 1, lines.size()); ++i)
        EXPECT_EQ(got.value(i), lines.value(i)) << "line " << i + 1;
    EXPECT_EQ(file, EncodeCp1250(LinesText(lines, "\r\n")));
}

} // namespace

class Grid2HtmlTest : public test::CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
        openCatalogue();
    }
    void TearDown() override {
        QLocale::setDefault(QLocale::c());
        CatalogueTest::TearDown();
    }
    // The book list's columns at a 500-pixel grid: !, id, cím, szerző, beszerzés, ár.
    HtmlGrid grid() const {
        return {{{"kolcsonadva", "!", 18, {}},
                 {"konyvek", "id", 40, {}},
                 {"cim", "cím", 200, {}},
                 {"", "", 30, {}}, // a column bound to no field
                 {"szerzo_nev", "szerző", 100, {}},
                 {"dat_besz", "beszerzés", 80, {}},
                 {"ar", "ár", 50, {}}},
                500};
    }
    QStringList header() const {
        return {"  <tr>", Head(4, "!"), Head(8, Right + "id"), Head(40, "cím"), Head(20, "szerző"), Head(16, "beszerzés"),
                Head(10, Right + "ár"), "  </tr>"};
    }
    QStringList row(const QString &flag, int id, const QString &title, const QString &author, const QString &date, const QString &price) {
        return {"  <tr>", Cell(4, flag), Cell(8, Right + QString("%1").arg(id, 5, 10, QChar('0'))), Cell(40, title),
                Cell(20, author), Cell(16, date), Cell(10, Right + price), "  </tr>"};
    }
    HtmlPageText page(const QString &group) const {
        return {"Könyvek", "", group, QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9))};
    }
};

TEST_F(Grid2HtmlTest, PageGroupedByAuthorHoldsEveryLineInOrder) {
    const qint64 a = AddBook(db, {.cim = "Névtelen <b>jegyzetek</b> & mások", .datBesz = "2024-03-15"});
    const qint64 b = AddBook(db, {.cim = "Új versek", .szerzo = "Ady Endre", .ar = 1200, .datBesz = "2001-02-03"});
    const qint64 c = AddBook(db, {.cim = "Vér és arany", .szerzo = "Ady Endre", .ar = 990, .datBesz = "2001-02-03"});
    const qint64 d = AddBook(db, {.cim = "Egyperces novellák", .szerzo = "Örkény István", .datBesz = "1999-12-31",
                                  .kolcsonKinek = "Kovács Ödön", .kolcsonDat = "2024-01-02"});
    tbl->open("szerzo_nevs", "szerzo_nev");
    tbl->moveTo(2);
    const QString file = path("Html/k_nyvek.htm");
    EXPECT_EQ(WriteGridHtml(file, *tbl, grid(), page("szerzo_nev")), 4);

    // No group row before the books without an author; one for both of Ady's books.
    QStringList lines = PageHead("Könyvek") + header();
    lines += row("N", int(a), "Névtelen &lt;b&gt;jegyzetek&lt;/b&gt; &amp; mások", "", "2024. 03. 15.", "");
    lines += Group("Ady Endre") + row("N", int(b), "Új versek", "Ady Endre", "2001. 02. 03.", "1200");
    lines += row("N", int(c), "Vér és arany", "Ady Endre", "2001. 02. 03.", "990");
    lines += Group("Örkény István") + row("I", int(d), "Egyperces novellák", "Örkény István", "1999. 12. 31.", "");
    ExpectPage(readFile(file), lines + PageFoot(4));
    EXPECT_EQ(tbl->currentIndex(), 2) << "the list stays on its row";

    // Sorted by title there are no group rows, whatever the book list holds.
    tbl->open("cims", "cim");
    WriteGridHtml(file, *tbl, grid(), page(""));
    EXPECT_FALSE(DecodeCp1250(readFile(file)).contains("#EAEAEA"));
}

// Book data is text, never markup: a title holding a script stays a title in the browser.
TEST_F(Grid2HtmlTest, EveryValueIsWrittenEscapedAndThePagesOwnMarkupIsNot) {
    const QString script = "<script>alert(1)</script>";
    const QString shown = "&lt;script&gt;alert(1)&lt;/script&gt;";
    const qint64 a = AddBook(db, {.cim = script, .szerzo = "\"Kis\" & <Nagy>", .datBesz = "2024-03-15"});
    tbl->open("szerzo_nevs", "szerzo_nev");
    HtmlGrid g = grid();
    g.columns[2].caption = "<i>cím</i>";
    HtmlPageText p = page("szerzo_nev");
    p.title = script;
    p.subtitle = "A & B";
    EXPECT_EQ(WriteGridHtml(path("lap.htm"), *tbl, g, p), 1);

    QStringList lines = PageHead(shown);
    lines[10] = R"(<p><strong><font face="Verdana" size="1">A &amp; B</font></strong></p>)";
    QStringList head = header();
    head[3] = Head(40, "&lt;i&gt;cím&lt;/i&gt;");
    lines += head + Group("&quot;Kis&quot; &amp; &lt;Nagy&gt;");
    lines += row("N", int(a), shown, "&quot;Kis&quot; &amp; &lt;Nagy&gt;", "2024. 03. 15.", "");
    ExpectPage(readFile("lap.htm"), lines + PageFoot(1));
}

TEST_F(Grid2HtmlTest, EmptyListGivesTheHeaderRowAndZeroRows) {
    EXPECT_EQ(WriteGridHtml(path("ures.htm"), *tbl, grid(), page("szerzo_nev")), 0);
    ExpectPage(readFile("ures.htm"), PageHead("Könyvek") + header() + PageFoot(0));

    // Any dataset, not only the book list, and five-digit ids past 99999 in full.
    db.exec("INSERT INTO konyvek (konyvek, cim, kolcsonadva) VALUES (123456, 'Nagy', 'N')");
    MemDataset q(db);
    q.openQuery("SELECT kolcsonadva, konyvek, cim, szerzo_nev, dat_besz, ar FROM konyvek");
    EXPECT_EQ(WriteGridHtml(path("q.htm"), q, grid(), page("")), 1);
    ExpectPage(readFile("q.htm"), PageHead("Könyvek") + header() + row("N", 123456, "Nagy", "", "", "") + PageFoot(1));
}

// A desktop whose short date has a two-digit year still gets the whole year on the page.
TEST_F(Grid2HtmlTest, DatesKeepTheirCenturyUnderATwoDigitYearLocale) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ASSERT_TRUE(QLocale().dateFormat(QLocale::ShortFormat).contains("yy"));
    ASSERT_FALSE(QLocale().dateFormat(QLocale::ShortFormat).contains("yyyy"));
    AddBook(db, {.cim = "Régi", .datBesz = "2008-05-06"});
    tbl->open("cims", "cim");
    WriteGridHtml(path("ev.htm"), *tbl, grid(), page(""));
    EXPECT_TRUE(DecodeCp1250(readFile("ev.htm")).contains(">5/6/2008</font>")) << DecodeCp1250(readFile("ev.htm")).toStdString();
}

TEST_F(Grid2HtmlTest, WidthsFileNamesAndAFileThatCannotBeWritten) {
    EXPECT_EQ(HtmlColumnPercent(25, 1000), 2); // halves to even
    EXPECT_EQ(HtmlColumnPercent(35, 1000), 4);
    EXPECT_EQ(HtmlColumnPercent(18, 500), 4);
    EXPECT_EQ(HtmlFileName("Könyvek"), "k_nyvek.htm");
    EXPECT_EQ(HtmlFileName("Polc 3/A: régi"), "polc-3-a--r_gi.htm");

    // The folder is made when missing.
    EXPECT_EQ(WriteGridHtml(path("uj/mappa/lap.htm"), *tbl, grid(), page("")), 0);
    EXPECT_TRUE(QFileInfo::exists(path("uj/mappa/lap.htm")));
    // A file that cannot be written says why, naming it.
    QDir().mkpath(path("mappa.htm"));
    try {
        WriteGridHtml(path("mappa.htm"), *tbl, grid(), page(""));
        ADD_FAILURE() << "no error";
    } catch (const FileError &e) {
        EXPECT_TRUE(e.message().startsWith(path("mappa.htm") + ": ")) << e.message().toStdString();
    }
}

TEST(MapiMailTest, TheXdgEmailCallLeavesOutWhatIsNotGiven) {
    EXPECT_EQ(XdgEmailCommand({.subject = HtmlMailSubject, .attachment = "/tmp/k_nyvek.htm"}),
              (QStringList{"xdg-email", "--subject", "Kodexa program generált levél", "--attach", "/tmp/k_nyvek.htm"}));
    EXPECT_EQ(XdgEmailCommand({.body = "Szia!", .recipientName = "Kiss Anna", .recipientAddress = "anna@pelda.hu"}),
              (QStringList{"xdg-email", "--body", "Szia!", "Kiss Anna <anna@pelda.hu>"}));
    EXPECT_EQ(XdgEmailCommand({.recipientAddress = "anna@pelda.hu"}), (QStringList{"xdg-email", "anna@pelda.hu"}));
}

TEST(MapiMailTest, ADesktopWithoutAMailClientIsToldNowOrWhenTheCallEnds) {
    QtDesktopServices services;
    int failed = 0;
    services.sendMail({"nincs-ilyen-program-kodexa"}, nullptr, [&] { ++failed; });
    EXPECT_EQ(failed, 1);
    services.sendMail({"false"}, nullptr, [&] { ++failed; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return failed == 2; }));
    // A hand-over that worked says nothing; an owner gone by then hears nothing either.
    services.sendMail({"true"}, nullptr, [&] { ++failed; });
    auto owner = std::make_unique<QObject>();
    services.sendMail({"false"}, owner.get(), [&] { ++failed; });
    owner.reset();
    QTest::qWait(300);
    EXPECT_EQ(failed, 2);
}

TEST(MapiMailTest, OnlyAClientThatXdgEmailStartsItselfGetsTheAttachment) {
    const auto fate = [](MailSetup s) { return AttachmentFate(s); };
    EXPECT_EQ(fate({.desktop = "generic", .mailtoClient = "/usr/lib/thunderbird/thunderbird"}), MailAttachment::Taken);
    EXPECT_EQ(fate({.desktop = "gnome3", .mailtoClient = "/usr/bin/icedove"}), MailAttachment::Taken);
    EXPECT_EQ(fate({.desktop = "kde", .mailtoClient = "thunderbird"}), MailAttachment::Taken);
    EXPECT_EQ(fate({.desktop = "gnome3", .mailtoClient = "/usr/bin/evolution"}), MailAttachment::Dropped);
    // $MAILER and these desktops' openers get a plain mailto:, whatever client is named.
    EXPECT_EQ(fate({.mailer = "thunderbird", .desktop = "generic", .mailtoClient = "/usr/bin/thunderbird"}),
              MailAttachment::Dropped);
    EXPECT_EQ(fate({.desktop = "xfce", .mailtoClient = "/usr/bin/thunderbird"}), MailAttachment::Dropped);
    EXPECT_EQ(fate({.desktop = "flatpak", .mailtoClient = "/usr/bin/thunderbird"}), MailAttachment::Dropped);
    // The user's own hook takes everything first.
    EXPECT_EQ(fate({.mailer = "mutt", .desktop = "xfce", .hook = true}), MailAttachment::Taken);
    // Nothing named: the hand-over finds a client or fails, as it always did.
    EXPECT_EQ(fate({.desktop = "generic"}), MailAttachment::NoClient);
}

// The set-up read from the desktop as xdg-email reads it, with stand-ins for its tools.
class MailSetupTest : public test::ProgramDirTest {
protected:
    void SetUp() override {
        ProgramDirTest::SetUp();
        for (const char *d : {"bin", "lib/levelezo", "share/applications", "config", "run"})
            QDir().mkpath(path(d));
        test::WriteScript(path("bin/xdg-mime"), "echo levelezo.desktop");
        test::WriteScript(path("lib/levelezo/thunderbird"), "exit 0");
        QFile::link(path("lib/levelezo/thunderbird"), path("bin/levelezo"));
        writeFile("share/applications/levelezo.desktop", "[Desktop Entry]\nName=Levelező\nExec=levelezo -compose %u\n");
    }
    MailSetup read() { return QtDesktopServices().mailSetup(); }

    test::EnvVar path_{"PATH", path("bin").toUtf8() + ":/usr/bin:/bin"};
    test::EnvVar data_{"XDG_DATA_HOME", path("share").toUtf8()};
    test::EnvVar config_{"XDG_CONFIG_HOME", path("config").toUtf8()};
    test::EnvVar runtime_{"XDG_RUNTIME_DIR", path("run").toUtf8()};
    test::EnvVar mailer_{"MAILER", QByteArray()};
    test::EnvVar current_{"XDG_CURRENT_DESKTOP", QByteArray()};
    test::EnvVar kde_{"KDE_FULL_SESSION", QByteArray()};
    test::EnvVar session_{"DESKTOP_SESSION", QByteArray()};
    test::EnvVar gnome_{"GNOME_DESKTOP_SESSION_ID", QByteArray()};
};

TEST_F(MailSetupTest, TheMailtoClientIsTheProgramItsDesktopFileRuns) {
    MailSetup s = read();
    EXPECT_EQ(s.desktop, "generic");
    EXPECT_EQ(s.mailtoClient, QFileInfo(path("lib/levelezo/thunderbird")).canonicalFilePath()) << "links followed";
    EXPECT_TRUE(s.mailer.isEmpty());
    EXPECT_FALSE(s.hook);
    EXPECT_EQ(AttachmentFate(s), MailAttachment::Taken);

    // A client whose program is not installed is no client.
    writeFile("share/applications/levelezo.desktop", "[Desktop Entry]\nExec=nincs-ilyen-levelezo %u\n");
    EXPECT_EQ(read().mailtoClient, "");
    {
        test::EnvVar xfce("XDG_CURRENT_DESKTOP", "XFCE");
        EXPECT_EQ(read().desktop, "xfce");
    }
    {
        test::EnvVar gnome("XDG_CURRENT_DESKTOP", "GNOME-Classic:GNOME");
        EXPECT_EQ(read().desktop, "gnome3");
    }
    {
        // KDE names its client in its own e-mail defaults.
        test::EnvVar kde("XDG_CURRENT_DESKTOP", "KDE");
        writeFile("config/emaildefaults", "[Defaults]\nProfile=Alap\n\n[PROFILE_Alap]\nEmailClient=/usr/bin/thunderbird -compose\n");
        EXPECT_EQ(read().mailtoClient, "/usr/bin/thunderbird");
    }
    writeFile("run/flatpak-info", "");
    EXPECT_EQ(read().desktop, "flatpak");
    test::EnvVar mailer("MAILER", "mutt");
    test::WriteScript(path("bin/xdg-email-hook.sh"), "exit 0");
    s = read();
    EXPECT_EQ(s.mailer, "mutt");
    EXPECT_TRUE(s.hook);
}

// The command as the user gives it: Ctrl+H on the main window.
class HtmlCommandTest : public test::DemoMainWindowTest {
protected:
    QString page() const { return DecodeCp1250(readFile("Html/k_nyvek.htm")); }
};

TEST_F(HtmlCommandTest, EMailThenOkWritesTwiceOpensNothingAndKeepsTheRow) {
    w->SortBy("szerzo_nev", "szerző");
    w->Tbl().moveTo(3);
    bool shown = false;
    test::WhenModal([&](QWidget *dlg) {
        shown = true;
        EXPECT_EQ(dlg->windowTitle(), "HTML export");
        EXPECT_EQ(dlg->objectName(), "frm_Grid2Html");
        EXPECT_EQ(dlg->findChild<QLineEdit *>("Edit1")->text(), path("Html/k_nyvek.htm"));
        auto *open = dlg->findChild<QCheckBox *>("CheckBox1");
        EXPECT_TRUE(open->isChecked());
        EXPECT_EQ(open->text(), "Mentés után megnyitás");
        dlg->findChild<QPushButton *>("Button3")->click();
        EXPECT_FALSE(open->isChecked());
        EXPECT_TRUE(dlg->isVisible()) << "E-Mail leaves the dialog open";
        EXPECT_TRUE(page().contains("#EAEAEA")) << "grouped by author";
        QFile::remove(path("Html/k_nyvek.htm"));
        dlg->findChild<QPushButton *>("Button1")->click();
    });
    test::PressKey(w->Grid(), Qt::Key_H, Qt::ControlModifier);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(page().contains(QString("Összesen %1 sor.").arg(w->Tbl().recordCount())));
    ASSERT_EQ(services.mails.size(), 1);
    EXPECT_EQ(services.mails[0], (QStringList{"xdg-email", "--subject", "Kodexa program generált levél", "--attach",
                                              path("Html/k_nyvek.htm")}));
    EXPECT_TRUE(services.openedDocuments.isEmpty());
    EXPECT_TRUE(services.messages.isEmpty());
    EXPECT_EQ(w->Tbl().currentIndex(), 3);
}

TEST_F(HtmlCommandTest, WithoutAMailClientThePageIsWrittenAndTheStatusBarSaysSo) {
    services.mailClient = false;
    services.mailSetupAnswer.mailtoClient.clear(); // none named: no question, the hand-over fails
    test::WhenModal([&](QWidget *dlg) {
        dlg->findChild<QPushButton *>("Button3")->click();
        dlg->findChild<QPushButton *>("Button2")->click();
    });
    test::PressKey(w->Grid(), Qt::Key_H, Qt::ControlModifier);
    EXPECT_TRUE(page().contains("Összesen"));
    EXPECT_TRUE(services.messages.isEmpty());
    EXPECT_TRUE(services.questions.isEmpty());
    EXPECT_EQ(services.mails.size(), 1);
    EXPECT_TRUE(w->StatusText(1).contains("Nem indítható levelezőprogram"));
}

TEST_F(HtmlCommandTest, AClientThatCannotAttachIsNotHandedTheMailTheFolderIsOffered) {
    services.mailSetupAnswer.mailtoClient = "/usr/bin/evolution";
    services.yesNoAnswers = {true, false};
    services.openFailures[path("Html")] = OpenFailure::NoApplication;
    test::WhenModal([&](QWidget *dlg) {
        dlg->findChild<QPushButton *>("Button3")->click();
        ASSERT_EQ(services.questions.size(), 1);
        EXPECT_EQ(services.questions[0].text,
                  "A levelezőprogram nem tud mellékletet fogadni, így a levél melléklet nélkül menne el. Megnyitja a "
                  "mappát, amelyben a(z) k_nyvek.htm van, hogy kézzel csatolja?");
        // Yes: the folder, and why it did not open.
        EXPECT_EQ(services.openedDocuments, QStringList{path("Html")});
        EXPECT_EQ(services.errorTexts(),
                  QStringList{"Nem nyitható meg: " + path("Html") + "\nA mappához nincs megnyitó program (fájlkezelő)."});
        // No: nothing more.
        dlg->findChild<QPushButton *>("Button3")->click();
        EXPECT_EQ(services.questions.size(), 2);
        EXPECT_EQ(services.openedDocuments.size(), 1);
        EXPECT_TRUE(dlg->isVisible());
        dlg->findChild<QPushButton *>("Button2")->click();
    });
    test::PressKey(w->Grid(), Qt::Key_H, Qt::ControlModifier);
    EXPECT_TRUE(page().contains("Összesen")) << "the page is written all the same";
    EXPECT_TRUE(services.mails.isEmpty()) << "no mail without its attachment";
    EXPECT_EQ(w->StatusText(1).contains("Nem indítható levelezőprogram"), false);
}

TEST_F(HtmlCommandTest, OkOpensThePageAndABadPathKeepsTheDialogWithTheError) {
    w->SortBy("cim", "cím");
    writeFile("foglalt", "nem mappa");
    test::WhenModal([&](QWidget *dlg) {
        auto *edit = dlg->findChild<QLineEdit *>("Edit1");
        edit->setText(path("foglalt/lap.htm")); // its folder is a file
        dlg->findChild<QPushButton *>("Button1")->click();
        EXPECT_TRUE(dlg->isVisible());
        EXPECT_EQ(services.errorTexts().size(), 1);
        services.fileAnswers.push_back(path("Html/masik.htm"));
        dlg->findChild<QToolButton *>("BitBtn1")->click();
        EXPECT_EQ(edit->text(), path("Html/masik.htm"));
        dlg->findChild<QPushButton *>("Button1")->click();
    });
    services.openFailures[path("Html/masik.htm")] = OpenFailure::NoApplication;
    test::PressKey(w->Grid(), Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(services.openedDocuments, QStringList{path("Html/masik.htm")});
    // A page nothing here opens says so, after the first error.
    EXPECT_EQ(services.errorTexts().value(1),
              "Nem nyitható meg: " + path("Html/masik.htm") + "\nEhhez a fájltípushoz nincs megnyitó program.");
    const QString html = DecodeCp1250(readFile("Html/masik.htm"));
    EXPECT_FALSE(html.contains("#EAEAEA")) << "sorted by title: no groups";
    EXPECT_TRUE(html.contains(R"(<strong>!</strong>)"));
}
