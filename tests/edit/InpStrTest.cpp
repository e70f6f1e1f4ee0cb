#include "edit/InpStr.h"

#include "gui/QtDesktopServices.h"
#include "gui/Widgets.h"
#include "support/Fixture.h"

#include <QApplication>
#include <gtest/gtest-spi.h>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace kodexa;
using namespace kodexa::test;

namespace {

// The program's own services show the real box.
class InpStrTest : public ProgramDirTest {
protected:
    QtDesktopServices desktop;
};

TEST_F(InpStrTest, CancelKeepsTheCallersTextEvenAfterEditing) {
    QString text = QStringLiteral("Kovács Anna");
    bool escSeen = false;
    WhenModal([&](QWidget *w) {
        auto *edit = Child<QLineEdit>(w, QStringLiteral("Edit1"));
        edit->selectAll();
        TypeText(edit, QStringLiteral("Szőke Ödön"));
        escSeen = edit->text() == QStringLiteral("Szőke Ödön");
        QTest::keyClick(edit, Qt::Key_Escape);
    });
    EXPECT_FALSE(InputString(desktop, QStringLiteral("Tétel kölcsönzés"), QStringLiteral("Kinek?"), QString(), text));
    EXPECT_TRUE(escSeen);
    EXPECT_EQ(text, QStringLiteral("Kovács Anna"));

    WhenModal([](QWidget *w) {
        Child<QLineEdit>(w, QStringLiteral("Edit1"))->clear();
        Child<QPushButton>(w, QStringLiteral("Button2"))->click();
    });
    EXPECT_FALSE(InputString(desktop, QStringLiteral("x"), QStringLiteral("y"), QString(), text));
    EXPECT_EQ(text, QStringLiteral("Kovács Anna"));
}

TEST_F(InpStrTest, EnterAcceptsTheEditedTextAndAnEmptyEditIsAnAnswer) {
    QString text = QStringLiteral("Krimi");
    QString caption, prompt;
    WhenModal([&](QWidget *w) {
        caption = w->windowTitle();
        prompt = Child<QLabel>(w, QStringLiteral("Label1"))->text();
        auto *edit = Child<QLineEdit>(w, QStringLiteral("Edit1"));
        edit->end(false);
        TypeText(edit, QStringLiteral(" és bűnügy"));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    ASSERT_TRUE(InputString(desktop, QStringLiteral("Törzsadat szerkesztés"), QStringLiteral("Műfaj"), QString(), text));
    EXPECT_EQ(caption, QStringLiteral("Törzsadat szerkesztés"));
    EXPECT_EQ(prompt, QStringLiteral("Műfaj"));
    EXPECT_EQ(text, QStringLiteral("Krimi és bűnügy"));

    WhenModal([](QWidget *w) {
        Child<QLineEdit>(w, QStringLiteral("Edit1"))->clear();
        Child<QPushButton>(w, QStringLiteral("Button1"))->click();
    });
    EXPECT_TRUE(InputString(desktop, QStringLiteral("x"), QStringLiteral("y"), QString(), text));
    EXPECT_TRUE(text.isEmpty());
}

// A test that answers a box which never opens checks nothing: it fails instead of passing.
TEST_F(InpStrTest, WaitingForABoxThatNeverOpensFailsTheTest) {
    EXPECT_NONFATAL_FAILURE(
        {
            WhenModal([](QWidget *w) { Child<QPushButton>(w, QStringLiteral("Button1"))->click(); });
            CheckModalsAnswered();
        },
        "WhenModal: no modal window came");
}

TEST_F(InpStrTest, EditIsSkyBlueWhileFocusedAndThePositionIsRemembered) {
    Tfrm_InpStr box(services);
    box.show();
    QApplication::setActiveWindow(&box);
    box.Edit1->setFocus();
    EXPECT_EQ(box.Edit1->palette().color(QPalette::Base), FocusColour);
    box.Button1->setFocus();
    EXPECT_NE(box.Edit1->palette().color(QPalette::Base), FocusColour);

    box.move(120, 140);
    box.reject();
    Tfrm_InpStr again(services);
    EXPECT_EQ(again.pos(), QPoint(120, 140));
}

} // namespace
