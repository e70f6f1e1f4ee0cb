#include "edit/TorzsAdat_Szerkeszt.h"

#include "data/TextFile.h"
#include "support/Fixture.h"

#include <Qsci/qsciscintilla.h>
#include <QPushButton>
#include <QTest>

using namespace kodexa;
using namespace kodexa::test;

namespace {

class ListEditorTest : public ProgramDirTest {};

QsciScintilla *Editor(QWidget *w) { return Child<QsciScintilla>(w, QStringLiteral("SynEdit1")); }
void Press(QWidget *w, const char *button) { Child<QPushButton>(w, QString::fromLatin1(button))->click(); }

TEST_F(ListEditorTest, AcceptedUnchangedGivesTheLinesEachWithABreakCancelledGivesNothing) {
    QString shown;
    WhenModal([&](QWidget *w) {
        shown = Editor(w)->text();
        Press(w, "Button1");
    });
    EXPECT_EQ(EditLines(services, QStringLiteral("Ady Endre\r\nJókai Mór\r\n"), QString()), QStringLiteral("Ady Endre\nJókai Mór\n"));
    // The trailing break of the caller's text opens no empty line in the editor.
    EXPECT_EQ(shown, QStringLiteral("Ady Endre\nJókai Mór"));

    // Typed names are not dropped without asking: "Nem" keeps the window and the typing,
    // "Igen" closes it. Esc typed in the editor itself reaches the window.
    services.yesNoAnswers = {false, true};
    bool keptOpen = false;
    WhenModal([&](QWidget *w) {
        TypeText(Editor(w), QStringLiteral("Új név"));
        PressKey(Editor(w), Qt::Key_Escape);
        keptOpen = w->isVisible() && Editor(w)->text().contains(QStringLiteral("Új név"));
        PressKey(Editor(w), Qt::Key_Escape);
    });
    EXPECT_EQ(EditLines(services, QStringLiteral("Ady Endre"), QString()), QString());
    EXPECT_TRUE(keptOpen);
    ASSERT_EQ(services.questions.size(), 2);
    EXPECT_EQ(services.questions[0].text, QStringLiteral("Elveti a beírt neveket?"));

    // Text the caller gave, closed untouched, is closed without a question.
    WhenModal([](QWidget *w) { PressKey(Editor(w), Qt::Key_Escape); });
    EXPECT_EQ(EditLines(services, QStringLiteral("Ady Endre"), QString()), QString());
    EXPECT_EQ(services.questions.size(), 2);

    WhenModal([](QWidget *w) { Press(w, "Button1"); });
    EXPECT_EQ(EditLines(services, QString(), QString()), QString());
}

TEST_F(ListEditorTest, TypedLinesAndCaption) {
    QString caption;
    WhenModal([&](QWidget *w) {
        caption = w->windowTitle();
        auto *ed = Editor(w);
        ed->setFocus();
        TypeText(ed, QStringLiteral("Őrült"));
        QTest::keyClick(ed, Qt::Key_Return);
        TypeText(ed, QStringLiteral("Mű"));
        Press(w, "Button1");
    });
    EXPECT_EQ(EditLines(services, QString(), QStringLiteral("Törzsadat rögzítés")), QStringLiteral("Őrült\nMű\n"));
    EXPECT_EQ(caption, QStringLiteral("Törzsadat rögzítés"));
}

TEST_F(ListEditorTest, LoadsAndSavesWindows1250Files) {
    writeFile(QStringLiteral("be.txt"), QByteArray("T\xF6rt\xE9net\r\nF\xFBz\xF5\r\n"));
    services.fileAnswers = {path(QStringLiteral("be.txt")), path(QStringLiteral("ki.txt"))};
    WhenModal([](QWidget *w) {
        Press(w, "Button3");
        auto *ed = Editor(w);
        ed->append(QStringLiteral("\nŽák"));
        Press(w, "Button4");
        Press(w, "Button1");
    });
    EXPECT_EQ(EditLines(services, QStringLiteral("régi"), QString()),
              QStringLiteral("Történet\nFűző\nŽák\n"));
    EXPECT_EQ(services.fileDialogs, (QStringList{"Betöltés file-ból", "Mentés file-ba"}));
    EXPECT_EQ(readFile(QStringLiteral("ki.txt")), QByteArray("T\xF6rt\xE9net\r\nF\xFBz\xF5\r\n\x8E\xE1k\r\n"));
}

TEST_F(ListEditorTest, AnUnreadableFileIsReportedAndTheLinesStay) {
    services.fileAnswers = {path(QStringLiteral("nincs.txt")), path(QStringLiteral("nincs/mappa/ki.txt"))};
    WhenModal([](QWidget *w) {
        Press(w, "Button3");
        Press(w, "Button4");
        Press(w, "Button1");
    });
    EXPECT_EQ(EditLines(services, QStringLiteral("Marad"), QString()), QStringLiteral("Marad\n"));
    const QStringList errors = services.errorTexts();
    ASSERT_EQ(errors.size(), 2);
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("A file nem olvasható"))) << errors[0].toStdString();
    EXPECT_TRUE(errors[1].startsWith(QStringLiteral("A file nem írható"))) << errors[1].toStdString();
}

} // namespace
