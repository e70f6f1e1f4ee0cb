#include "app/BookGridModel.h"
#include "app/Main.h"
#include "app/core/BookView.h"
#include "app/core/CommandLayout.h"
#include "data/Catalogue.h"
#include "data/Kozos.h"
#include "data/Seged.h"
#include "gui/QtDesktopServices.h"
#include "support/Fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFrame>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

using namespace kodexa;

class MainTest : public test::ProgramDirTest {
protected:
    // Starts the main window on the catalogue of the program directory.
    bool start() {
        w = std::make_unique<Tfrm_Main>(services);
        return w->FormCreate();
    }
    void showActive() {
        w->show();
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    }
    void addBooks(int n) {
        Transaction tx(db);
        for (int i = 1; i <= n; ++i)
            AddBook(db, {.cim = QStringLiteral("Cím %1").arg(i, 3, 10, QLatin1Char('0'))});
        tx.commit();
    }
    QStringList placeNames(const QList<QAction *> &actions) {
        QStringList out;
        for (QAction *a : actions) {
            if (a->isSeparator())
                out << "-";
            else if (a->menu())
                out << ">" + a->text() << placeNames(a->menu()->actions()) << "<";
            else
                out << a->objectName();
        }
        return out;
    }
    std::unique_ptr<Tfrm_Main> w;
};

TEST_F(MainTest, MissingDatabaseEndsWithTheMessageAndNoWindow) {
    EXPECT_FALSE(start());
    EXPECT_EQ(services.errorTexts(), QStringList{"Nem létező adatbázis"});
    EXPECT_EQ(services.messages[0].caption, "Hiba");
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(QFileInfo(path("Html")).isDir());
}

TEST_F(MainTest, ForeignOrEmptyFileIsReportedAndLeftAsItWas) {
    const QByteArray junk = QByteArray("Ez egy szövegállomány.\n").repeated(300);
    writeFile("Kodexa.sqb", junk);
    EXPECT_FALSE(start());
    ASSERT_EQ(services.errorTexts().size(), 1);
    EXPECT_TRUE(services.errorTexts()[0].contains("file is not a database")) << services.errorTexts()[0].toStdString();
    EXPECT_EQ(readFile("Kodexa.sqb"), junk);

    // An SQLite file without the catalogue's tables.
    QFile::remove(path("Kodexa.sqb"));
    {
        Db other;
        other.open(path("Kodexa.sqb"), true);
        other.exec("CREATE TABLE valami (x)");
    }
    const QByteArray before = readFile("Kodexa.sqb");
    services.messages.clear();
    EXPECT_FALSE(start());
    ASSERT_EQ(services.errorTexts().size(), 1);
    EXPECT_TRUE(services.errorTexts()[0].contains("konyvek"));
    EXPECT_EQ(readFile("Kodexa.sqb"), before);
}

TEST_F(MainTest, DefaultsWithoutConfigurationAreWrittenBackInFullAtExit) {
    makeCatalogue(true);
    writeFile("Kodexa.ini", "[frm_TorzsAdat]\nLeft=300\nTop=200\n");
    ASSERT_TRUE(start());
    EXPECT_EQ(w->size(), QSize(777, 550));
    EXPECT_EQ(w->Beall().FontSize, 8);
    EXPECT_EQ(w->Beall().DatabasePath, path("Kodexa.sqb"));
    EXPECT_EQ(w->Beall().UserCode, "rendszergazda");
    EXPECT_TRUE(w->Beall().IsAdmin && w->Beall().CanEditMasterData);
    w->show();
    EXPECT_EQ(w->pos(), QPoint(0, 0));
    EXPECT_EQ(w->Grid()->font().pointSize(), 8);
    w->close();
    QSettings ini(path("Kodexa.ini"), QSettings::IniFormat);
    EXPECT_EQ(ini.value("Screen/Width").toInt(), 777);
    EXPECT_EQ(ini.value("Screen/Height").toInt(), 550);
    EXPECT_EQ(ini.value("Screen/FontSize").toInt(), 8);
    EXPECT_EQ(ini.value("Screen/FullScreen").toInt(), 0);
    EXPECT_EQ(ini.value("Database/Path").toString(), path("Kodexa.sqb"));
    EXPECT_EQ(ini.value("Defaults/HtmlPath").toString(), path("Html"));
    EXPECT_EQ(ini.value("frm_TorzsAdat/Left").toInt(), 300);
    EXPECT_EQ(ini.value("frm_TorzsAdat/Top").toInt(), 200);
}

TEST_F(MainTest, DatabasePathAndHtmlPathFromTheFile) {
    makeCatalogue();
    QDir().mkpath(path("mashol"));
    QFile::copy(path("Kodexa.sqb"), path("mashol/konyvtar.sqb"));
    writeFile("Kodexa.ini", QStringLiteral("[Database]\nPath=%1\n[Defaults]\nHtmlPath=%2\n[Screen]\nLeft=40\nTop=50\n")
                                .arg(path("mashol/konyvtar.sqb"), path("torolt"))
                                .toUtf8());
    ASSERT_TRUE(start());
    EXPECT_EQ(w->Db1().path(), path("mashol/konyvtar.sqb"));
    EXPECT_EQ(w->Beall().HtmlPath, path("Html"));
    w->show();
    EXPECT_EQ(w->pos(), QPoint(0, 0)); // left and top give way to the corner
    w->close();
    QSettings ini(path("Kodexa.ini"), QSettings::IniFormat);
    EXPECT_EQ(ini.value("Defaults/HtmlPath").toString(), path("Html"));
}

TEST_F(MainTest, StatusShowsCountAndRowAndTheSortCaption) {
    makeCatalogue();
    addBooks(250);
    ASSERT_TRUE(start());
    w->Tbl().moveTo(2);
    EXPECT_EQ(w->StatusText(0), "250 / 3");
    EXPECT_EQ(w->StatusText(2), "sorrend: cím");
    EXPECT_EQ(w->StatusText(3), "");
    EXPECT_EQ(w->Grid()->currentIndex().row(), 2);
    // Moving in the grid moves the list.
    w->Grid()->setCurrentIndex(w->GridModel()->index(9, 2));
    EXPECT_EQ(w->StatusText(0), "250 / 10");
}

TEST_F(MainTest, ImportedBooksAreInTheListAndItsCountAtOnce) {
    makeCatalogue();
    addBooks(3);
    writeFile(QStringLiteral("uj.txt"), QStringLiteral("cim\r\nÚj egy\r\nÚj kettő\r\n").toUtf8());
    ASSERT_TRUE(start());
    w->Tbl().moveTo(1);
    EXPECT_EQ(w->StatusText(0), "3 / 2");
    // "Adatbázis import": Tab, the file, "Import indítása", the window closed.
    test::WhenModal([](QWidget *dlg) {
        test::Child<QAbstractButton>(dlg, QStringLiteral("Button1"))->click();
        test::WhenModal([](QWidget *imp) {
            test::Child<QAbstractButton>(imp, QStringLiteral("BitBtn2"))->click();
            qobject_cast<QDialog *>(imp)->reject();
        });
    });
    services.fileAnswers.push_back(path(QStringLiteral("uj.txt")));
    w->Action(QStringLiteral("aImport"))->trigger();
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM konyvek")).toLongLong(), 5);
    // The list is read again in its order, the current book kept.
    EXPECT_EQ(w->StatusText(0), "5 / 2");
    ASSERT_EQ(w->GridModel()->rowCount(), 5);
    EXPECT_EQ(w->Tbl().recordCount(), 5);
    w->Tbl().moveTo(4);
    EXPECT_EQ(w->Tbl().value(QStringLiteral("cim")).toString(), QStringLiteral("Új kettő"));
}

TEST_F(MainTest, WheelStepMovesTheFocusedGridOneRow) {
    makeCatalogue();
    addBooks(20);
    ASSERT_TRUE(start());
    showActive();
    w->Grid()->setFocus();
    w->Tbl().moveTo(5);
    auto wheel = [this](int delta) {
        QWheelEvent e(QPointF(20, 20), w->Grid()->viewport()->mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w->Grid()->viewport(), &e);
    };
    wheel(-120);
    EXPECT_EQ(w->Tbl().currentIndex(), 6);
    wheel(120);
    wheel(120);
    EXPECT_EQ(w->Tbl().currentIndex(), 4);
    wheel(0);
    EXPECT_EQ(w->Tbl().currentIndex(), 5);
}

TEST_F(MainTest, SortKeepsTheCurrentBookAndStoresTheMark) {
    makeCatalogue();
    AddBook(db, {.cim = "Béla", .szerzo = "Zoltán"});
    AddBook(db, {.cim = "Ábel", .szerzo = "Anna"});
    AddBook(db, {.cim = "Abel", .szerzo = "Márta"});
    ASSERT_TRUE(start());
    EXPECT_EQ(w->Tbl().sortTextAt(2), "Béla");
    ASSERT_TRUE(w->Tbl().locateKey(1));
    w->SortBy("szerzo_nev", "szerző");
    EXPECT_EQ(VarToInt(w->Tbl().value("konyvek")), 1);
    EXPECT_EQ(w->Tbl().currentIndex(), 2);
    EXPECT_EQ(db.scalar("SELECT group_concat(mezo_nev) FROM mezo WHERE sorrend='I'").toString(), "szerzo_nev");
    EXPECT_EQ(w->StatusText(2), "sorrend: szerző");
    // The sort column is coloured; the others are not.
    const auto *m = w->GridModel();
    const int col = m->fields().indexOf("szerzo_nev");
    EXPECT_EQ(m->index(0, col).data(Qt::BackgroundRole).value<QColor>(), QApplication::palette().color(QPalette::Button));
    EXPECT_EQ(m->index(0, 0).data(Qt::BackgroundRole).value<QColor>(), QApplication::palette().color(QPalette::Base));
    // A column that the grid does not show sorts all the same; no column is coloured.
    w->SortBy("alcim", "alcím");
    for (int c = 0; c < m->columnCount(); ++c)
        EXPECT_EQ(m->index(0, c).data(Qt::BackgroundRole).value<QColor>(), QApplication::palette().color(QPalette::Base));
    EXPECT_EQ(w->StatusText(2), "sorrend: alcím");
}

TEST_F(MainTest, TitleClickSortsAndFocusesTheSearchBox) {
    makeCatalogue(true);
    ASSERT_TRUE(start());
    showActive();
    const int col = w->GridModel()->fields().indexOf("kiado_nev");
    w->Grid()->horizontalHeader()->sectionClicked(col);
    EXPECT_EQ(w->SortField(), "kiado_nev");
    EXPECT_EQ(w->StatusText(2), "sorrend: kiadó");
    EXPECT_EQ(QApplication::focusWidget(), w->findChild<QLineEdit *>("Edit1"));
    // The flag column: "!" and no mezo row named kolcsonadva, so no row keeps the mark.
    w->Grid()->horizontalHeader()->sectionClicked(0);
    EXPECT_EQ(w->StatusText(2), "sorrend: !");
    EXPECT_EQ(db.scalar("SELECT count(*) FROM mezo WHERE sorrend='I'").toInt(), 0);
    EXPECT_EQ(w->Tbl().sortTextAt(0), "I"); // "I" sorts before "N"
}

TEST_F(MainTest, WithoutSortMarkTheListIsInKeyOrder) {
    makeCatalogue();
    AddBook(db, {.cim = "Zebra"});
    AddBook(db, {.cim = "Alma"});
    db.exec("UPDATE mezo SET sorrend='N'");
    ASSERT_TRUE(start());
    EXPECT_EQ(w->SortField(), "konyvek");
    EXPECT_EQ(w->Tbl().text("cim"), "Zebra");
    EXPECT_EQ(db.scalar("SELECT count(*) FROM mezo WHERE sorrend='I'").toInt(), 0);
}

TEST_F(MainTest, QuickSearchComparesTheStartOfTheSortValue) {
    makeCatalogue();
    for (const char *a : {"Ábrahám Pál", "abonyi Ede", "Babits Mihály", "ABC Kiadás"})
        AddBook(db, {.cim = "x", .szerzo = QString::fromUtf8(a)});
    ASSERT_TRUE(start());
    w->SortBy("szerzo_nev", "szerző");
    auto *edit = w->findChild<QLineEdit *>("Edit1");
    test::TypeText(edit, "ab");
    EXPECT_EQ(w->Tbl().text("szerzo_nev"), "ABC Kiadás"); // first in key order among ab..
    edit->clear();
    EXPECT_EQ(w->Tbl().currentIndex(), 0);
    test::TypeText(edit, "á");
    EXPECT_EQ(w->Tbl().currentIndex(), 3); // no match: the last row
    edit->clear();
    test::TypeText(edit, "Á");
    EXPECT_EQ(w->Tbl().text("szerzo_nev"), "Ábrahám Pál");
}

TEST(BookView, SpreadsWidthsAndFitsPictures) {
    EXPECT_EQ(SpreadWidths({10, 30, 20, 10, 20, 10}, 660), (QVector<int>{60, 180, 120, 60, 120, 60}));
    // Halves go to the even neighbour: 0.5 -> 0, 1.5 -> 2.
    EXPECT_EQ(SpreadWidths({1, 1, 1, 1, 1, 1}, 63), (QVector<int>{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(SpreadWidths({1, 1, 1, 1, 1, 1}, 69), (QVector<int>{2, 2, 2, 2, 2, 2}));
    EXPECT_EQ(SpreadWidths({0, 0, 0, 0, 0, 0}, 660), (QVector<int>{100, 100, 100, 100, 100, 100}));
    EXPECT_EQ(OrderColumnFor("cim"), "cims");
    EXPECT_EQ(OrderColumnFor("polc_nev"), "polc_nev");
    EXPECT_EQ(SortMarkStatements("o'k")[1], "UPDATE mezo SET sorrend='I' WHERE mezo_nev='o''k';");
}

TEST_F(MainTest, GridColumnsComeFromMezoAndSpreadOverTheGrid) {
    makeCatalogue();
    ASSERT_TRUE(start());
    EXPECT_EQ(w->GridModel()->fields(),
              (QStringList{"kolcsonadva", "konyvek", "szerzo_nev", "cim", "kiado_nev", "polc_nev", "dat_besz"}));
    EXPECT_EQ(w->GridModel()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "!");
    EXPECT_EQ(w->GridModel()->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), "cím");
    w->show();
    w->resize(900, 600);
    QApplication::processEvents();
    EXPECT_EQ(w->Grid()->columnWidth(0), 18);
    const QVector<int> expect = SpreadWidths(w->ColumnWeights(), w->Grid()->width());
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(w->Grid()->columnWidth(i + 1), expect[i]);
}

TEST_F(MainTest, ClosingTheFieldChoiceKeepsTheCurrentBook) {
    makeCatalogue();
    addBooks(30);
    ASSERT_TRUE(start());
    showActive();
    ASSERT_TRUE(w->Tbl().locateKey(17));
    test::WhenModal([](QWidget *d) { test::Child<QPushButton>(d, QStringLiteral("Button3"))->click(); });
    w->Action("aMezo")->trigger();
    // The grid gets the focus back when the dialog has gone.
    w->Grid()->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(w->Tbl().value(QStringLiteral("konyvek")).toLongLong(), 17);
    EXPECT_EQ(w->Grid()->currentIndex().row(), w->Tbl().currentIndex());
}

TEST_F(MainTest, TheCurrentRowAndItsMarkerStayInViewWhenTheFontChanges) {
    makeCatalogue();
    addBooks(200);
    ASSERT_TRUE(start());
    w->resize(777, 550);
    showActive();
    w->Grid()->setFocus();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(w->Grid(), Qt::Key_PageDown);
    const int row = w->Tbl().currentIndex();
    ASSERT_GT(row, 20);
    auto markerInView = [&] {
        QApplication::processEvents();
        const QRect cell = w->Grid()->visualRect(w->Grid()->currentIndex());
        const QString marker = w->GridModel()->headerData(row, Qt::Vertical, Qt::DisplayRole).toString();
        return w->Tbl().currentIndex() == row && !marker.isEmpty() && w->Grid()->viewport()->rect().contains(cell) &&
               w->Grid()->verticalHeader()->sectionViewportPosition(row) == cell.top();
    };
    for (const char *a : {"aBetuNovel", "aBetuNovel", "aBetuNovel"}) {
        w->Action(a)->trigger();
        EXPECT_TRUE(markerInView()) << a;
    }
    for (const char *a : {"aBetuCsokkent", "aBetuCsokkent", "aBetuCsokkent"}) {
        w->Action(a)->trigger();
        EXPECT_TRUE(markerInView()) << a;
    }
}

// The rows of a button's picture where its caption paints: the button drawn with and without it.
static int CaptionRows(QToolButton *b) {
    const QImage with = b->grab().toImage();
    const QString text = b->text();
    b->setText(QString());
    const QImage without = b->grab().toImage();
    b->setText(text);
    int top = with.height(), bottom = -1;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x)
            if (with.pixel(x, y) != without.pixel(x, y)) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return bottom - top + 1;
}

TEST_F(MainTest, LargeToolbarCaptionsShowTheirAccentsWhole) {
    makeCatalogue();
    ASSERT_TRUE(start());
    showActive();
    auto *bar = w->findChild<QToolBar *>(QStringLiteral("ToolBar2"));
    int checked = 0;
    for (QAction *a : bar->actions()) {
        auto *b = qobject_cast<QToolButton *>(bar->widgetForAction(a));
        if (!b || b->text().isEmpty())
            continue;
        // The painted caption is as tall as its glyphs: an accent above a capital is not cut.
        const int glyphs = QFontMetrics(b->font()).tightBoundingRect(b->text()).height();
        EXPECT_GE(CaptionRows(b), glyphs) << b->text().toStdString();
        EXPECT_EQ(b->size(), a->objectName() == QLatin1String("aNyomtat") ? QSize(70, 36) : QSize(58, 36));
        ++checked;
    }
    EXPECT_GE(checked, 7);
}

TEST_F(MainTest, DetailPanelShowsTheCurrentBook) {
    makeCatalogue();
    AddBook(db, {.cim = "Egri csillagok", .kiado = "Móra", .sorozat = "Kötelező", .ar = 1490, .datBesz = "2004-09-12",
                 .kolcsonKinek = "Kovács Péter", .kolcsonDat = "2026-10-15"});
    ASSERT_TRUE(start());
    auto text = [this](const char *f) { return w->findChild<QLabel *>(QStringLiteral("Detail_") + f)->text(); };
    EXPECT_EQ(text("konyvek"), "00001");
    EXPECT_EQ(text("cim"), "Egri csillagok");
    EXPECT_EQ(text("ar"), "1490");
    EXPECT_EQ(text("kolcsonadva_kinek"), "Kovács Péter");
    EXPECT_EQ(text("kiado_nev"), "Móra");
    EXPECT_EQ(text("sorozat_nev"), "Kötelező");
    EXPECT_FALSE(text("dat_besz").isEmpty());
    EXPECT_EQ(w->GridModel()->index(0, 0).data(Qt::UserRole).toString(), "I");
}

TEST_F(MainTest, DetailLabelsShareTheirValuesLineAndAllShowInThePanel) {
    makeCatalogue();
    AddBook(db, {.cim = "Egri csillagok", .kiado = "Móra", .sorozat = "Kötelező", .ar = 1490, .datBesz = "2004-09-12",
                 .kolcsonKinek = "Kovács Péter", .kolcsonDat = "2026-10-15"});
    ASSERT_TRUE(start());
    w->show();
    QApplication::processEvents();
    auto *panel = w->findChild<QFrame *>(QStringLiteral("Panel2"));
    // Where each label's text is painted, in the panel's coordinates.
    auto textRect = [panel](QLabel *l) {
        const QRect r = l->style()->itemTextRect(l->fontMetrics(), l->contentsRect(), int(l->alignment()), true, l->text());
        return QRect(l->mapTo(panel, r.topLeft()), r.size());
    };
    auto titled = [panel](const QString &title) {
        for (QLabel *l : panel->findChildren<QLabel *>())
            if (l->text() == title)
                return l;
        return static_cast<QLabel *>(nullptr);
    };
    const std::pair<const char *, const char *> rows[] = {{"beszerzés / ár", "dat_besz"},
                                                          {"kölcsönben?", "kolcsonadva_kinek"},
                                                          {"kiadó", "kiado_nev"},
                                                          {"sorozat", "sorozat_nev"}};
    for (const auto &[title, field] : rows) {
        QLabel *label = titled(QString::fromUtf8(title));
        auto *value = panel->findChild<QLabel *>(QStringLiteral("Detail_") + field);
        ASSERT_TRUE(label && value) << title;
        const QRect l = textRect(label), v = textRect(value);
        EXPECT_EQ(l.top() + label->fontMetrics().ascent(), v.top() + value->fontMetrics().ascent()) << title;
        for (const QRect &r : {l, v})
            EXPECT_TRUE(panel->contentsRect().contains(r)) << title;
        EXPECT_LE(label->geometry().bottom(), panel->contentsRect().bottom()) << title;
    }
}

TEST_F(MainTest, PictureIsShownFittedAndAnUnreadableOneIsHidden) {
    makeCatalogue();
    AddBook(db, {.cim = "Kép"});
    AddBook(db, {.cim = "Rossz kép"});
    QImage img(264, 97, QImage::Format_RGB32);
    img.fill(Qt::blue);
    ASSERT_TRUE(img.save(path("borito.jpg"), "JPEG"));
    QDir().mkpath(path("Images"));
    writeFile("Images/00002.jpg", "nem kép");
    ASSERT_TRUE(start());
    w->show();
    auto *image = w->findChild<QLabel *>("Image1");
    ASSERT_TRUE(w->Tbl().locateKey(1));
    EXPECT_TRUE(image->isHidden());
    // The picture command copies the chosen file to the book's picture path.
    services.fileAnswers.push_back(path("borito.jpg"));
    w->Action("aKep")->trigger();
    EXPECT_TRUE(QFile::exists(path("Images/00001.jpg")));
    EXPECT_FALSE(image->isHidden());
    EXPECT_EQ(image->geometry(), QRect(0, 24, 132, 48));
    ASSERT_TRUE(w->Tbl().locateKey(2));
    EXPECT_TRUE(image->isHidden());
    EXPECT_TRUE(services.messages.isEmpty());
    // Cancelling the chooser changes nothing.
    w->Action("aKep")->trigger();
    EXPECT_FALSE(QFile::exists(path("Images/00002.jpg.part")));
    EXPECT_EQ(readFile("Images/00002.jpg"), "nem kép");
}

TEST_F(MainTest, DeleteAsksAndLeavesThePictureFile) {
    makeCatalogue();
    AddBook(db, {.cim = "Első"});
    AddBook(db, {.cim = "Második"});
    QDir().mkpath(path("Images"));
    writeFile("Images/00002.jpg", "kép");
    ASSERT_TRUE(start());
    showActive();
    ASSERT_TRUE(w->Tbl().locateKey(2));
    services.yesNoAnswers = {false, true};
    QTest::keyClick(w->Grid(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM konyvek").toInt(), 2);
    QTest::keyClick(w->Grid(), Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(services.questions.size(), 2);
    EXPECT_EQ(services.questions[0].caption, "Megerősítés");
    EXPECT_EQ(services.questions[0].text, "Valóban töröljem a könyvet?");
    EXPECT_EQ(db.scalar("SELECT count(*) FROM konyvek").toInt(), 1);
    EXPECT_EQ(w->StatusText(0), "1 / 1");
    EXPECT_TRUE(QFile::exists(path("Images/00002.jpg")));
    EXPECT_EQ(NextKey(db, "konyvek"), 2);
    // With an empty list the commands that need a book do nothing.
    w->Tbl().deleteCurrent();
    services.questions.clear();
    for (const char *a : {"aTorol", "aKep", "aSzerkeszt", "aKolcsonad", "aVisszavesz"})
        w->Action(a)->trigger();
    EXPECT_TRUE(services.questions.isEmpty());
    EXPECT_TRUE(services.messages.isEmpty());
    EXPECT_EQ(w->StatusText(0), "0 / 0");
}

TEST_F(MainTest, FontSizeKeysStopAtTheLimits) {
    makeCatalogue();
    ASSERT_TRUE(start());
    showActive();
    const int titleSize = w->Grid()->horizontalHeader()->font().pointSize();
    QTest::keyClick(w->Grid(), Qt::Key_F12);
    EXPECT_EQ(w->Beall().FontSize, 8);
    for (int i = 0; i < 14; ++i)
        QTest::keyClick(w->Grid(), Qt::Key_F11);
    EXPECT_EQ(w->Beall().FontSize, 22);
    EXPECT_EQ(w->Grid()->font().pointSize(), 22);
    QTest::keyClick(w->Grid(), Qt::Key_F11);
    EXPECT_EQ(w->Beall().FontSize, 22);
    EXPECT_EQ(w->Grid()->horizontalHeader()->font().pointSize(), titleSize);
    w->close();
    EXPECT_EQ(QSettings(path("Kodexa.ini"), QSettings::IniFormat).value("Screen/FontSize").toInt(), 22);
}

TEST_F(MainTest, CommandsSitInTheirPlacesInOrder) {
    makeCatalogue();
    ASSERT_TRUE(start());
    const QStringList present = w->ActionNames();
    QStringList bar;
    for (const MenuLayout &m : MenuBarLayout())
        if (!PresentItems(m.items, present).isEmpty())
            bar << ">" + m.title << PresentItems(m.items, present) << "<";
    EXPECT_EQ(placeNames(w->menuBar()->actions()), bar);
    EXPECT_EQ(placeNames(w->findChild<QToolBar *>("ToolBar1")->actions()), PresentItems(SmallToolbarLayout(), present));
    EXPECT_EQ(placeNames(w->findChild<QToolBar *>("ToolBar2")->actions()), PresentItems(LargeToolbarLayout(), present));
    EXPECT_EQ(placeNames(w->findChild<QMenu *>("PopupMenu1")->actions()), PresentItems(GridContextLayout(), present));
    // The commands built here are all present, with caption, hint, shortcut and icon.
    for (const char *n : {"aUj", "aSzerkeszt", "aTorol", "aKep", "aBezar", "aKeres", "aBetuNovel", "aBetuCsokkent", "aMezo",
                          "aSzerzok", "aKiado", "aSorozat", "aTargykor", "aMufaj", "aPolc", "aKolcsonad", "aVisszavesz",
                          "aSugo", "aHonlap", "aLevel", "aUjdonsag"}) {
        QAction *a = w->Action(n);
        ASSERT_NE(a, nullptr) << n;
        EXPECT_FALSE(a->icon().isNull()) << n;
        EXPECT_EQ(a->statusTip(), a->text()) << n;
    }
    EXPECT_EQ(w->Action("aUj")->shortcut(), QKeySequence(Qt::Key_Insert));
    EXPECT_EQ(w->Action("aKolcsonad")->shortcut(), QKeySequence(Qt::Key_F7));
    EXPECT_EQ(w->Action("aTorol")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Delete));
    // Separators never lead, trail or double up when commands are missing.
    EXPECT_EQ(PresentItems({"-", "a", "-", "-", "x", "-", "b", "-"}, {"a", "b"}), (QStringList{"a", "-", "b"}));
    EXPECT_EQ(PresentItems({">Sub", "x", "-", "y", "<", "-", "a"}, {"a"}), (QStringList{"a"}));
}

TEST_F(MainTest, HintGoesToTheStatusBarAndLinksOpenThroughTheDesktop) {
    makeCatalogue();
    ASSERT_TRUE(start());
    QStatusTipEvent tip("Kölcsönad");
    QApplication::sendEvent(w.get(), &tip);
    EXPECT_EQ(w->StatusText(1), "  Kölcsönad");
    QStatusTipEvent none("");
    QApplication::sendEvent(w.get(), &none);
    EXPECT_EQ(w->StatusText(1), "");
    w->Action("aSugo")->trigger();
    w->Action("aLevel")->trigger();
    w->Action("aUjdonsag")->trigger();
    ASSERT_EQ(services.openedDocuments.size(), 3);
    EXPECT_EQ(services.openedDocuments[0], path("Help/index.htm"));
    EXPECT_TRUE(services.openedDocuments[1].startsWith("mailto:"));
    EXPECT_TRUE(services.openedDocuments[1].endsWith("?subject=Kodexa"));
    EXPECT_EQ(services.openedDocuments[2], path("Ujdonsag.exe"));
}

TEST_F(MainTest, ALinkThatDoesNotOpenSaysWhatAndWhy) {
    makeCatalogue();
    ASSERT_TRUE(start());
    services.openFailures[path("Help/index.htm")] = OpenFailure::NoApplication;
    services.openFailures[path("Ujdonsag.exe")] = OpenFailure::ProgramUnavailable;
    w->Action("aSugo")->trigger();
    w->Action("aHonlap")->trigger();
    w->Action("aUjdonsag")->trigger();
    EXPECT_EQ(services.openedDocuments.size(), 3);
    EXPECT_EQ(services.errorTexts(),
              (QStringList{"Nem nyitható meg: " + path("Help/index.htm") + "\nEhhez a fájltípushoz nincs megnyitó program.",
                           "Nem nyitható meg: " + path("Ujdonsag.exe") +
                               "\nEz Windows-program, ezen a rendszeren nem érhető el."}));
    EXPECT_EQ(services.messages[0].caption, "Hiba");
}

// The program's own opener: each way an opening fails reaches the caller with its reason.
class DesktopOpenTest : public test::ProgramDirTest {
protected:
    void SetUp() override {
        ProgramDirTest::SetUp();
        QDir().mkpath(path("bin"));
        // A stand-in xdg-open: notes its argument and working folder, exits with the code asked.
        test::WriteScript(path("bin/xdg-open"), "echo \"$1|$(pwd)\" >> \"$(dirname \"$0\")/args\"\n"
                                                "exit $(cat \"$(dirname \"$0\")/code\")");
        writeFile("lap.htm", "<html></html>");
    }
    // Opens target, the opener exiting with code, and waits until whatever it started has
    // ended; returns the reasons heard.
    QVector<OpenFailure> open(const QString &target, int code = 0, QObject *owner = nullptr,
                              const std::function<void()> &meanwhile = {}) {
        writeFile("bin/code", QByteArray::number(code));
        auto heard = std::make_shared<QVector<OpenFailure>>();
        opener.openDocument(target, owner, [heard](OpenFailure why) { *heard << why; });
        if (meanwhile)
            meanwhile();
        EXPECT_TRUE(QTest::qWaitFor(
            [] { return qApp->findChildren<QProcess *>(Qt::FindDirectChildrenOnly).isEmpty(); }, 10000));
        return *heard;
    }
    QStringList calls() const { return QString::fromUtf8(readFile("bin/args")).split('\n', Qt::SkipEmptyParts); }

    QtDesktopServices opener;
};

TEST_F(DesktopOpenTest, TheOpenersAnswerBecomesTheReason) {
    test::EnvVar onPath("PATH", path("bin").toUtf8() + ':' + qgetenv("PATH"));
    const QString here = QDir(dir()).canonicalPath();
    EXPECT_EQ(open(path("lap.htm"), 3), QVector{OpenFailure::NoApplication});
    EXPECT_EQ(open(path("lap.htm"), 2), QVector{OpenFailure::FileMissing});
    EXPECT_EQ(open(path("lap.htm"), 4), QVector{OpenFailure::Failed});
    EXPECT_EQ(open(path("lap.htm"), 0), QVector<OpenFailure>{});
    EXPECT_EQ(open("https://pelda.hu/konyv", 0), QVector<OpenFailure>{});
    // A Windows program that is there but that nothing here runs.
    writeFile("Regi.exe", "MZ");
    EXPECT_EQ(open(path("Regi.exe"), 3), QVector{OpenFailure::ProgramUnavailable});
    // The opener gets the file's whole path or the address as given, in the program folder.
    EXPECT_EQ(calls().value(0), path("lap.htm") + "|" + here);
    EXPECT_EQ(calls().value(4), "https://pelda.hu/konyv|" + here);
    EXPECT_EQ(calls().size(), 6);

    // What is decided without the opener, at once.
    const auto now = [&](const QString &target) {
        QVector<OpenFailure> heard;
        opener.openDocument(target, nullptr, [&heard](OpenFailure why) { heard << why; });
        return heard;
    };
    EXPECT_EQ(now(path("nincs.htm")), QVector{OpenFailure::FileMissing});
    EXPECT_EQ(now(path("Ujdonsag.exe")), QVector{OpenFailure::ProgramUnavailable});
    EXPECT_EQ(calls().size(), 6);
}

TEST_F(DesktopOpenTest, NoOpenerAProgramStartedAndAnOwnerGone) {
    QDir().mkpath(path("ures"));
    {
        test::EnvVar bare("PATH", path("ures").toUtf8());
        EXPECT_EQ(open(path("lap.htm")), QVector{OpenFailure::NoOpener});
    }
    test::EnvVar onPath("PATH", path("bin").toUtf8() + ':' + qgetenv("PATH"));
    // A program is started in the program folder, not handed to the opener.
    test::WriteScript(path("hirek"), "touch elindult");
    EXPECT_EQ(open(path("hirek")), QVector<OpenFailure>{});
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(path("elindult")); }, 10000));
    EXPECT_TRUE(calls().isEmpty());
    // Whoever asked is gone when the opener fails: nobody is told.
    auto owner = std::make_unique<QObject>();
    EXPECT_EQ(open(path("lap.htm"), 3, owner.get(), [&] { owner.reset(); }), QVector<OpenFailure>{});
    EXPECT_EQ(calls().size(), 1);
}

TEST_F(MainTest, PictureFrameSitsAtTheRightEdgeOfTheDetailPanelOnceShown) {
    makeCatalogue();
    ASSERT_TRUE(start());
    showActive();
    auto *panel2 = w->findChild<QFrame *>("Panel2");
    auto *panel3 = w->findChild<QFrame *>("Panel3");
    ASSERT_TRUE(panel2 && panel3);
    const QRect inside = panel2->contentsRect();
    EXPECT_EQ(panel3->geometry(), QRect(inside.right() + 1 - 132, inside.top(), 132, inside.height()));
    EXPECT_GT(panel3->x(), w->findChild<QLabel *>("Detail_cim")->geometry().right());
    // And it follows the window's width.
    w->resize(w->width() + 100, w->height());
    QApplication::processEvents();
    EXPECT_EQ(panel3->geometry().right(), panel2->contentsRect().right());
}

TEST_F(MainTest, GridTitlesAreTheFieldsOwnLabels) {
    makeCatalogue();
    // What the configuration table calls the column is not the grid's title.
    db.exec("UPDATE mezo SET displabel='Könyv címe' WHERE mezo_nev='cim'");
    ASSERT_TRUE(start());
    const int col = w->GridModel()->fields().indexOf("cim");
    EXPECT_EQ(w->GridModel()->headerData(col, Qt::Horizontal, Qt::DisplayRole).toString(), "cím");
    EXPECT_EQ(w->GridModel()->headerData(col - 1, Qt::Horizontal, Qt::DisplayRole).toString(), "szerző");
}

TEST_F(MainTest, CommandShortcutsWinOverTheQuickSearchBox) {
    makeCatalogue(true);
    ASSERT_TRUE(start());
    showActive();
    auto *edit = w->findChild<QLineEdit *>("Edit1");
    edit->setFocus();
    test::TypeText(edit, "ab");
    edit->setCursorPosition(0);
    QStringList fired;
    for (const char *name : {"aExcelbe", "aNyomtatKep", "aHtml"}) {
        // The commands of later windows may not be wired yet: a stand-in takes the shortcut.
        QAction *a = w->Action(name) ? w->Action(name) : w->AddCommand(name, [] {});
        // Only that the shortcut reached the command; what the command does is not this test's.
        QObject::disconnect(a, &QAction::triggered, nullptr, nullptr);
        QObject::connect(a, &QAction::triggered, w.get(), [&fired, name] { fired << name; });
    }
    test::PressKey(edit, Qt::Key_E, Qt::ControlModifier);
    test::PressKey(edit, Qt::Key_K, Qt::ControlModifier);
    test::PressKey(edit, Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(fired, (QStringList{"aExcelbe", "aNyomtatKep", "aHtml"}));
    // The box kept its text and cursor: none of the keys did its own line-edit work.
    EXPECT_EQ(edit->text(), "ab");
    EXPECT_EQ(edit->cursorPosition(), 0);
    // Keys no command uses still type.
    test::PressKey(edit, Qt::Key_End);
    EXPECT_EQ(edit->cursorPosition(), 2);
}
