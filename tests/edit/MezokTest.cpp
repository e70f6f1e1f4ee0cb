// Field display configuration: swapping positions, the sort mark, and the grid's painting.
#include "data/Dataset.h"
#include "edit/Mezok.h"
#include "edit/core/Mezok.h"
#include "support/Fixture.h"

#include <QApplication>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTableView>

using namespace kodexa;
using namespace kodexa::test;

namespace {

class MezokTest : public CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        openCatalogue(false);
    }

    // mezo_nev by position, as stored.
    QStringList columnsByPosition() {
        QStringList out;
        Stmt s = db.prepare(QStringLiteral("SELECT mezo_nev FROM mezo ORDER BY mezo"));
        while (s.step())
            out << s.text(0);
        return out;
    }
    QList<int> positions() {
        QList<int> out;
        Stmt s = db.prepare(QStringLiteral("SELECT mezo FROM mezo ORDER BY mezo"));
        while (s.step())
            out << int(s.int64(0));
        return out;
    }
    static QList<int> oneToFifteen() {
        QList<int> r;
        for (int i = 1; i <= 15; ++i)
            r << i;
        return r;
    }
    static void selectPosition(Tfrm_Mezo &dlg, int position) {
        Child<QTableView>(&dlg, QStringLiteral("DBGrid1"))->selectRow(position - 1);
        ASSERT_EQ(dlg.currentPosition(), position);
    }
    static void press(Tfrm_Mezo &dlg, const char *button) { Child<QPushButton>(&dlg, QLatin1String(button))->click(); }

    QString field = QStringLiteral("cim"), caption = QStringLiteral("cím");
};

TEST_F(MezokTest, FelOnSevenBringsTheColumnIntoTheListAndGreysTheOther) {
    const QStringList before = columnsByPosition();
    Tfrm_Mezo dlg(*ctx, field, caption);
    dlg.show();
    selectPosition(dlg, 7);
    press(dlg, "Button1");
    const QStringList after = columnsByPosition();
    EXPECT_EQ(after[5], before[6]);
    EXPECT_EQ(after[6], before[5]);
    EXPECT_EQ(dlg.currentPosition(), 6) << "the moved row stays current";
    EXPECT_EQ(dlg.table().text(QStringLiteral("mezo_nev")), before[6]);

    // Past the sixth row: button-face grey, maroon when selected; the sort mark a blue arrow.
    selectPosition(dlg, 9);
    auto *grid = Child<QTableView>(&dlg, QStringLiteral("DBGrid1"));
    QApplication::processEvents();
    const QImage img = grid->viewport()->grab().toImage();
    auto colourAt = [&](int row, int col, int dx, int dy) {
        const QRect cell = grid->visualRect(grid->model()->index(row, col));
        return img.pixelColor(cell.left() + dx, cell.top() + dy);
    };
    EXPECT_EQ(colourAt(6, 2, 130, 8), QApplication::palette().color(QPalette::Button));
    EXPECT_EQ(colourAt(4, 2, 130, 8), QApplication::palette().color(QPalette::Base));
    EXPECT_EQ(colourAt(8, 2, 130, 8), QColor(128, 0, 0));
    EXPECT_EQ(colourAt(2, 1, 9, 11), QColor(0, 64, 255)) << "cim carries the mark";
    EXPECT_NE(colourAt(0, 1, 9, 11), QColor(0, 64, 255));
}

TEST_F(MezokTest, AnyMovesKeepPositionsWholeAndEndsChangeNothing) {
    Tfrm_Mezo dlg(*ctx, field, caption);
    const QStringList start = columnsByPosition();
    selectPosition(dlg, 1);
    press(dlg, "Button1");
    selectPosition(dlg, 15);
    press(dlg, "Button2");
    EXPECT_EQ(columnsByPosition(), start);
    EXPECT_TRUE(services.messages.isEmpty());

    QRandomGenerator gen(20240611);
    auto *rng = &gen;
    for (int i = 0; i < 60; ++i) {
        selectPosition(dlg, 1 + int(rng->bounded(15)));
        press(dlg, rng->bounded(2) ? "Button1" : "Button2");
    }
    EXPECT_EQ(positions(), oneToFifteen());
    QStringList a = columnsByPosition(), b = start;
    a.sort();
    b.sort();
    EXPECT_EQ(a, b) << "every column still there once";
}

TEST_F(MezokTest, FailingSwapLeavesNoRowParked) {
    // The third statement of a swap (999 -> 6) fails.
    db.exec(QStringLiteral("CREATE TRIGGER stop_swap BEFORE UPDATE ON mezo WHEN OLD.mezo=999 AND NEW.mezo=6 "
                           "BEGIN SELECT RAISE(ABORT, 'zárolt'); END"));
    const QStringList before = columnsByPosition();
    EXPECT_THROW(MoveFieldUp(db, 7), DbError);
    EXPECT_EQ(columnsByPosition(), before);
    EXPECT_EQ(positions(), oneToFifteen());

    // Through the window: the failure is reported and the grid shows the file as it is.
    Tfrm_Mezo dlg(*ctx, field, caption);
    selectPosition(dlg, 7);
    press(dlg, "Button1");
    EXPECT_EQ(services.errorTexts(), QStringList{QStringLiteral("zárolt")});
    EXPECT_EQ(columnsByPosition(), before);
    EXPECT_EQ(dlg.currentPosition(), 7);
    EXPECT_EQ(dlg.table().recordCount(), 15);
}

TEST_F(MezokTest, ARowAlreadyParkedIsNotSweptAlong) {
    db.exec(QStringLiteral("INSERT INTO mezo VALUES (999, 'tartalom', 10, 'tartalom', 'N')"));
    const QStringList before = columnsByPosition();
    EXPECT_EQ(MoveFieldUp(db, 7), 6);
    const QStringList after = columnsByPosition();
    EXPECT_EQ(after[5], before[6]);
    EXPECT_EQ(after[6], before[5]);
    EXPECT_EQ(after.last(), QStringLiteral("tartalom"));
    EXPECT_EQ(positions(), oneToFifteen() << 999);
}

TEST_F(MezokTest, SorrendLeavesOneMarkAndHandsBackFieldAndLabel) {
    WhenModal([](QWidget *w) {
        auto &dlg = *static_cast<Tfrm_Mezo *>(w);
        // alcim sits past the shown six: any row may sort the list.
        selectPosition(dlg, 7);
        press(dlg, "Button4");
        selectPosition(dlg, 2);
        press(dlg, "Button4");
        EXPECT_EQ(dlg.currentPosition(), 2);
        press(dlg, "Button3");
    });
    ShowFieldConfig(*ctx, field, caption);
    EXPECT_EQ(field, QStringLiteral("szerzo_nev"));
    EXPECT_EQ(caption, QStringLiteral("szerző"));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM mezo WHERE sorrend='I'")).toInt(), 1);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT mezo_nev FROM mezo WHERE sorrend='I'")).toString(), field);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM mezo WHERE sorrend='N'")).toInt(), 14);
}

TEST_F(MezokTest, BezarWithoutSorrendKeepsTheSortField) {
    WhenModal([](QWidget *w) {
        selectPosition(*static_cast<Tfrm_Mezo *>(w), 3);
        press(*static_cast<Tfrm_Mezo *>(w), "Button2");
        static_cast<QDialog *>(w)->reject(); // Esc
    });
    ShowFieldConfig(*ctx, field, caption);
    EXPECT_EQ(field, QStringLiteral("cim"));
    EXPECT_EQ(caption, QStringLiteral("cím"));
    EXPECT_EQ(columnsByPosition()[3], QStringLiteral("cim")) << "the move is written at once";
    EXPECT_TRUE(readFile(QStringLiteral("Kodexa.ini")).contains("[frm_Mezo]")) << "the position is remembered";
}

} // namespace
