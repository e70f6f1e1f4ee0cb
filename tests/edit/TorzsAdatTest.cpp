#include "edit/TorzsAdat.h"

#include "data/Catalogue.h"
#include "support/Fixture.h"

#include <Qsci/qsciscintilla.h>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace kodexa;
using namespace kodexa::test;

namespace {

class TorzsAdatTest : public CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        openCatalogue(false);
    }

    qint64 book(const QString &cim, const QString &szerzo, const QString &mufaj, const QString &polc = QString()) {
        BookInput b;
        b.cim = cim;
        b.szerzo = szerzo;
        b.mufaj = mufaj;
        b.polc = polc;
        return AddBook(db, b);
    }
    QStringList bookRow(qint64 key, const QString &columns) {
        Stmt s = db.prepare(QStringLiteral("SELECT %1 FROM konyvek WHERE konyvek=?1").arg(columns));
        s.bind(1, key);
        QStringList out;
        if (s.step())
            for (int i = 0; i < s.columnCount(); ++i)
                out << s.text(i);
        return out;
    }
    QStringList column(const QString &sql) {
        Stmt s = db.prepare(sql);
        QStringList out;
        while (s.step())
            out << s.text(0);
        return out;
    }
    // Answers the rename box that the next F2 opens.
    void answerRename(const QString &newName) { services.textAnswers.push_back(newName); }
    // Caption and prompt of the last input box, "caption|prompt".
    QString lastPrompt() const {
        return services.questions.isEmpty() ? QString()
                                            : services.questions.last().caption + QLatin1Char('|') + services.questions.last().text;
    }
    qint64 count(const QString &table) { return db.scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table).toLongLong(); }
};

QTableView *Grid(QWidget *w, int page) { return Child<QTableView>(w, QStringLiteral("DBGrid%1").arg(page + 1)); }
QLineEdit *Search(QWidget *w, int page) { return Child<QLineEdit>(w, QStringLiteral("Edit%1").arg(page + 1)); }
void DoubleClickCurrent(QTableView *g) {
    const QPoint at = g->visualRect(g->currentIndex()).center();
    // The view takes a double click only on the row the first press went to.
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, at);
}
QString CurrentName(QWidget *w, int page) {
    QTableView *g = Grid(w, page);
    return g->model()->data(g->currentIndex().siblingAtColumn(0)).toString();
}


// Answers the next list editor with this text.
void AnswerLines(QString text, QString *shown = nullptr) {
    WhenModal([text, shown](QWidget *ed) {
        auto *syn = Child<QsciScintilla>(ed, QStringLiteral("SynEdit1"));
        if (shown)
            *shown = syn->text();
        syn->setText(text);
        Child<QPushButton>(ed, QStringLiteral("Button1"))->click();
    });
}

TEST_F(TorzsAdatTest, RenamingAGenreChangesItsBooksOnly) {
    const qint64 a = book(QStringLiteral("A rózsa neve"), QStringLiteral("Umberto Eco"), QStringLiteral("Krimi"));
    const qint64 b = book(QStringLiteral("A sátán kutyája"), QStringLiteral("Arthur Conan Doyle"), QStringLiteral("Krimi"));
    const qint64 c = book(QStringLiteral("Egri csillagok"), QStringLiteral("Gárdonyi Géza"), QStringLiteral("Regény"));
    QString shown;
    WhenModal([&](QWidget *w) {
        TypeText(Search(w, 4), QStringLiteral("kri"));
        answerRename(QStringLiteral("Bűnügyi regény"));
        PressKey(Grid(w, 4), Qt::Key_F2);
        shown = CurrentName(w, 4);
        PressKey(Grid(w, 4), Qt::Key_Escape);
    });
    const MasterPick r = ChooseMasterData(*ctx, 4, false);
    EXPECT_FALSE(r.accepted);
    EXPECT_EQ(lastPrompt(), QStringLiteral("Törzsadat szerkesztés|Műfaj"));
    EXPECT_EQ(shown, QStringLiteral("Bűnügyi regény"));
    EXPECT_EQ(column(QStringLiteral("SELECT mufaj_nev || '/' || mufaj_nevs FROM mufaj ORDER BY mufaj")),
              (QStringList{"Bűnügyi regény/BUNUGYI REGENY", "Regény/REGENY"}));
    for (qint64 k : {a, b})
        EXPECT_EQ(bookRow(k, QStringLiteral("mufaj_nev, mufaj_nevs")), (QStringList{"Bűnügyi regény", "BUNUGYI REGENY"}));
    EXPECT_EQ(bookRow(c, QStringLiteral("mufaj_nev, mufaj_nevs")), (QStringList{"Regény", "REGENY"}));
}

TEST_F(TorzsAdatTest, ApostropheAndShelfNamesReachTheBooksIntact) {
    const qint64 a = book(QStringLiteral("Úszni-Kettő"), QStringLiteral("Flann O'Brien"), QStringLiteral("Regény"), QStringLiteral("A1"));
    WhenModal([&](QWidget *w) {
        answerRename(QStringLiteral("O'Brien, Flann"));
        DoubleClickCurrent(Grid(w, 0)); // in browse mode a double click renames
        w->close();
    });
    ChooseMasterData(*ctx, 0, false);
    EXPECT_EQ(bookRow(a, QStringLiteral("szerzo_nev, szerzo_nevs")), (QStringList{"O'Brien, Flann", "O'BRIEN, FLANN"}));
    EXPECT_EQ(column(QStringLiteral("SELECT szerzo_nev FROM szerzo")), (QStringList{"O'Brien, Flann"}));

    WhenModal([&](QWidget *w) {
        answerRename(QStringLiteral("B2'"));
        PressKey(Grid(w, 5), Qt::Key_F2);
        w->close();
    });
    ChooseMasterData(*ctx, 5, false);
    EXPECT_EQ(lastPrompt(), QStringLiteral("Törzsadat szerkesztés|Polc"));
    EXPECT_EQ(bookRow(a, QStringLiteral("polc_nev")), (QStringList{"B2'"}));
}

TEST_F(TorzsAdatTest, IncrementalSearchUsesTheTwentyCharacterKey) {
    db.exec(QStringLiteral("INSERT INTO kiado VALUES (1, 'Akadémiai Kiadó', 'AKADEMIAI KIADO'),"
                           " (2, 'Állami Könyvterjesztő Vállalat', 'ALLAMI KONYVTERJESZT'), (3, 'Móra', 'MORA')"));
    db.exec(QStringLiteral("INSERT INTO polc VALUES (1, 'Állvány 1'), (2, 'pince'), (3, 'Padlás')"));
    const QString full = QStringLiteral("állami könyvterjesztő vállalat");
    ASSERT_EQ(full.size(), 30);
    QStringList seen;
    WhenModal([&](QWidget *w) {
        QLineEdit *e = Search(w, 1);
        TypeText(e, QStringLiteral("m"));
        seen << CurrentName(w, 1);
        e->clear();
        seen << CurrentName(w, 1); // an empty text matches the first row
        e->setText(full);
        seen << CurrentName(w, 1); // 30 characters never match a 20-character key
        e->setText(full.left(20));
        seen << CurrentName(w, 1);
        w->close();
    });
    ChooseMasterData(*ctx, 1, false);
    EXPECT_EQ(seen, (QStringList{"Móra", "Akadémiai Kiadó", "Akadémiai Kiadó", "Állami Könyvterjesztő Vállalat"}));

    // Shelves compare the name as typed: accents are not folded.
    seen.clear();
    WhenModal([&](QWidget *w) {
        QLineEdit *e = Search(w, 5);
        TypeText(e, QStringLiteral("PI"));
        seen << CurrentName(w, 5);
        e->setText(QStringLiteral("all"));
        seen << CurrentName(w, 5);
        e->setText(QStringLiteral("áll"));
        seen << CurrentName(w, 5);
        w->close();
    });
    ChooseMasterData(*ctx, 5, false);
    EXPECT_EQ(seen, (QStringList{"pince", "pince", "Állvány 1"}));
}

TEST_F(TorzsAdatTest, BulkEntrySkipsBlankLinesAndKeepsNamesAsTyped) {
    db.exec(QStringLiteral("INSERT INTO sorozat VALUES (7, 'Európa Krimi', 'EUROPA KRIMI')"));
    QString current;
    int rows = 0;
    WhenModal([&](QWidget *w) {
        AnswerLines(QStringLiteral("A\n   \n Bővített kiadás \n"));
        PressKey(Grid(w, 2), Qt::Key_Insert);
        current = CurrentName(w, 2);
        rows = Grid(w, 2)->model()->rowCount();
        w->close();
    });
    ChooseMasterData(*ctx, 2, false);
    EXPECT_EQ(column(QStringLiteral("SELECT sorozat || '|' || sorozat_nev || '|' || sorozat_nevs FROM sorozat ORDER BY sorozat")),
              (QStringList{"7|Európa Krimi|EUROPA KRIMI", "8|A|A", "9| Bővített kiadás | BOVITETT KIADAS "}));
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(current, QStringLiteral(" Bővített kiadás "));

    // A cancelled editor and a too long name add nothing.
    WhenModal([&](QWidget *w) {
        WhenModal([](QWidget *ed) { QTest::keyClick(ed, Qt::Key_Escape); });
        PressKey(Grid(w, 2), Qt::Key_Insert);
        AnswerLines(QStringLiteral("Rövid\n") + QString(51, QLatin1Char('x')));
        PressKey(Grid(w, 2), Qt::Key_Insert);
        w->close();
    });
    ChooseMasterData(*ctx, 2, false);
    EXPECT_EQ(count(QStringLiteral("sorozat")), 3);
    ASSERT_EQ(services.messages.size(), 1);
    EXPECT_EQ(services.messages[0].caption, QStringLiteral("Figyelmeztetés"));
}

TEST_F(TorzsAdatTest, AFailedWriteLeavesNothingHalfDone) {
    const qint64 a = book(QStringLiteral("Egri csillagok"), QStringLiteral("Gárdonyi Géza"), QStringLiteral("Regény"));
    db.exec(QStringLiteral("CREATE TRIGGER no_bad BEFORE INSERT ON mufaj WHEN new.mufaj_nev = 'ROSSZ' "
                           "BEGIN SELECT RAISE(ABORT, 'tiltott név'); END"));
    db.exec(QStringLiteral("CREATE TRIGGER no_rename BEFORE UPDATE ON mufaj WHEN new.mufaj_nev = 'Tilos' "
                           "BEGIN SELECT RAISE(ABORT, 'tiltott átnevezés'); END"));
    QString state;
    WhenModal([&](QWidget *w) {
        AnswerLines(QStringLiteral("Új műfaj\nROSSZ\n"));
        PressKey(Grid(w, 4), Qt::Key_Insert);
        answerRename(QStringLiteral("Tilos"));
        PressKey(Grid(w, 4), Qt::Key_F2);
        auto *t = static_cast<Tfrm_TorzsAdat *>(w);
        state = QStringLiteral("%1 %2 %3").arg(int(t->dataset().state())).arg(t->dataset().recordCount()).arg(CurrentName(w, 4));
        w->close();
    });
    ChooseMasterData(*ctx, 4, false);
    EXPECT_EQ(services.errorTexts(), (QStringList{"tiltott név", "tiltott átnevezés"}));
    EXPECT_EQ(column(QStringLiteral("SELECT mufaj_nev FROM mufaj")), (QStringList{"Regény"}));
    // The books' copies were taken back with the row.
    EXPECT_EQ(bookRow(a, QStringLiteral("mufaj_nev")), (QStringList{"Regény"}));
    EXPECT_EQ(state, QStringLiteral("%1 1 Regény").arg(int(DsState::Browse)));
}

TEST_F(TorzsAdatTest, PickModeReturnsTheAcceptedRow) {
    // An empty table accepted with Enter gives nothing to act on.
    WhenModal([](QWidget *w) { PressKey(Grid(w, 2), Qt::Key_Return); });
    MasterPick r = ChooseMasterData(*ctx, 2, true);
    EXPECT_FALSE(r.accepted);
    EXPECT_EQ(r.key, 0);
    EXPECT_TRUE(r.name.isEmpty());

    db.exec(QStringLiteral("INSERT INTO szerzo VALUES (4, 'Jókai Mór', 'JOKAI MOR'), (9, 'Ady Endre', 'ADY ENDRE'),"
                           " (2, 'Petőfi Sándor', 'PETOFI SANDOR')"));
    bool elfogadShown = false;
    WhenModal([&](QWidget *w) {
        elfogadShown = w->findChild<QAction *>(QStringLiteral("aElfogad"))->isVisible();
        TypeText(Search(w, 0), QStringLiteral("jo"));
        PressKey(Search(w, 0), Qt::Key_Return);
    });
    r = ChooseMasterData(*ctx, 0, true);
    EXPECT_TRUE(elfogadShown);
    EXPECT_TRUE(r.accepted);
    EXPECT_EQ(r.key, 4);
    EXPECT_EQ(r.name, QStringLiteral("Jókai Mór"));

    // Opens on the given key; a double click accepts.
    WhenModal([](QWidget *w) { DoubleClickCurrent(Grid(w, 0)); });
    r = ChooseMasterData(*ctx, 0, true, nullptr, 2);
    EXPECT_TRUE(r.accepted);
    EXPECT_EQ(r.key, 2);
    EXPECT_EQ(r.name, QStringLiteral("Petőfi Sándor"));

    // Cancel in pick mode.
    WhenModal([](QWidget *w) { PressKey(Grid(w, 0), Qt::Key_Escape); });
    r = ChooseMasterData(*ctx, 0, true);
    EXPECT_FALSE(r.accepted);
}

TEST_F(TorzsAdatTest, BrowseModeIgnoresEnterAndShowsOnlyItsOwnPage) {
    settings.FontSize = 13;
    db.exec(QStringLiteral("INSERT INTO targykor VALUES (1, 'Történelem', 'TORTENELEM')"));
    QStringList seen;
    WhenModal([&](QWidget *w) {
        auto *tabs = Child<QTabWidget>(w, QStringLiteral("PageControl1"));
        for (int i = 0; i < 6; ++i)
            if (tabs->isTabVisible(i))
                seen << tabs->tabText(i);
        seen << QString::number(Grid(w, 0)->font().pointSize()) + QLatin1Char('/') + QString::number(Grid(w, 3)->font().pointSize());
        seen << Grid(w, 3)->model()->headerData(0, Qt::Horizontal).toString();
        seen << QString::number(w->findChild<QAction *>(QStringLiteral("aElfogad"))->isVisible());
        PressKey(Grid(w, 3), Qt::Key_Return);
        seen << QString::number(w->isVisible());
        PressKey(Grid(w, 3), Qt::Key_Escape);
    });
    EXPECT_FALSE(ChooseMasterData(*ctx, 3, false).accepted);
    EXPECT_EQ(seen, (QStringList{"Tárgykörök", "13/13", "tárgykör", "0", "1"}));
}

TEST_F(TorzsAdatTest, DeletingAShelfLeavesTheBooksAsTheyWere) {
    const qint64 a = book(QStringLiteral("Egri csillagok"), QStringLiteral("Gárdonyi Géza"), QStringLiteral("Regény"), QStringLiteral("C2"));
    const QStringList before = bookRow(a, QStringLiteral("polc, polc_nev"));
    services.yesNoAnswers = {false, true};
    WhenModal([&](QWidget *w) {
        PressKey(Grid(w, 5), Qt::Key_Delete, Qt::ControlModifier);
        PressKey(Grid(w, 5), Qt::Key_Delete, Qt::ControlModifier);
        PressKey(Grid(w, 5), Qt::Key_Delete, Qt::ControlModifier); // empty list: no question
        w->close();
    });
    ChooseMasterData(*ctx, 5, false);
    ASSERT_EQ(services.questions.size(), 2);
    EXPECT_EQ(services.questions[0].caption, QStringLiteral("Megerősítés"));
    EXPECT_EQ(services.questions[0].text, QStringLiteral("Valóban töröljem a sort?"));
    EXPECT_EQ(count(QStringLiteral("polc")), 0);
    EXPECT_EQ(bookRow(a, QStringLiteral("polc, polc_nev")), before);
    EXPECT_EQ(before.value(1), QStringLiteral("C2"));
}

TEST_F(TorzsAdatTest, ExportShowsTheNamesAndChangesNothing) {
    db.exec(QStringLiteral("INSERT INTO kiado VALUES (1, 'Móra', 'MORA'), (2, 'Európa', 'EUROPA'), (3, 'Európa', 'EUROPA')"));
    QString shown;
    WhenModal([&](QWidget *w) {
        AnswerLines(QStringLiteral("Semmi"), &shown);
        PressKey(Grid(w, 1), Qt::Key_T, Qt::ControlModifier);
        w->close();
    });
    ChooseMasterData(*ctx, 1, false);
    EXPECT_EQ(shown, QStringLiteral("Európa\nEurópa\nMóra"));
    EXPECT_EQ(count(QStringLiteral("kiado")), 3);
}

} // namespace
