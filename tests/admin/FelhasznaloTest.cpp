// The user list and its edit dialog: new users' flags, the password check, Mégsem, deleting
// the logged-in user, and the "Rendszer" commands of the main window.
#include "admin/Felhasznalo.h"
#include "admin/core/Users.h"
#include "app/Main.h"
#include "data/Dataset.h"
#include "support/Fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>

using namespace kodexa;
using namespace kodexa::test;

namespace {

class FelhasznaloTest : public CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        openCatalogue(false);
        db.exec(QStringLiteral("INSERT INTO felhasznalo VALUES ('bea', 'Kiss Bea', 'titok', 'N', 'I')"));
        w = std::make_unique<Tfrm_Felhasznalo>(*ctx);
        w->show();
    }
    void TearDown() override {
        w.reset();
        CatalogueTest::TearDown();
    }
    QStringList users() {
        Stmt s = db.prepare(QStringLiteral("SELECT felhasznalo, ifnull(felhasznalo_nev, '<null>'), ifnull(jelszo, '<null>'), "
                                           "rendszergazda, torzsszerkeszt FROM felhasznalo ORDER BY rowid"));
        QStringList out;
        while (s.step())
            out << QStringList{s.text(0), s.text(1), s.text(2), s.text(3), s.text(4)}.join(QLatin1Char('|'));
        return out;
    }
    // Answers the edit dialog that the next action opens: fill changes it, then OK or Mégsem.
    // When OK is refused the dialog stays, and Mégsem closes it.
    void answer(std::function<void(QWidget *)> fill, bool ok, bool *stayedOpen = nullptr) {
        WhenModal([fill, ok, stayedOpen](QWidget *dlg) {
            fill(dlg);
            Child<QPushButton>(dlg, QLatin1String(ok ? "btnOK" : "btnCancel"))->click();
            if (stayedOpen)
                *stayedOpen = dlg->isVisible();
            if (dlg->isVisible())
                Child<QPushButton>(dlg, QStringLiteral("btnCancel"))->click();
        });
    }
    static QLineEdit *edit(QWidget *dlg, const char *name) { return Child<QLineEdit>(dlg, QLatin1String(name)); }
    static void type(QWidget *dlg, const char *name, const QString &text) {
        QLineEdit *e = edit(dlg, name);
        e->clear();
        TypeText(e, text);
    }

    std::unique_ptr<Tfrm_Felhasznalo> w;
};

TEST_F(FelhasznaloTest, ListsUsersByCodeWithTheirFlagsAsPictures) {
    QAbstractItemModel *m = w->grid()->model();
    ASSERT_EQ(m->rowCount(), 2);
    EXPECT_EQ(m->data(m->index(0, 0)).toString(), QStringLiteral("admin"));
    EXPECT_EQ(m->data(m->index(1, 1)).toString(), QStringLiteral("Kiss Bea"));
    EXPECT_EQ(m->headerData(3, Qt::Horizontal).toString(), QStringLiteral("törzs.szerkeszt"));
    EXPECT_NE(w->grid()->itemDelegateForColumn(2), w->grid()->itemDelegate());
    EXPECT_NE(UserFlagPixmap(true).toImage(), UserFlagPixmap(false).toImage());
}

TEST_F(FelhasznaloTest, ANewUserSavedUntouchedHasBothFlagsNo) {
    answer(
        [](QWidget *dlg) {
            type(dlg, "DBEdit1", QStringLiteral("cili"));
            type(dlg, "DBEdit3", QStringLiteral("Nagy Cecília"));
            type(dlg, "DBEdit2", QStringLiteral("jelszó"));
            type(dlg, "Edit1", QStringLiteral("jelszó"));
        },
        true);
    w->aUj->trigger();
    EXPECT_EQ(services.errorTexts(), QStringList());
    EXPECT_EQ(users().value(2), QStringLiteral("cili|Nagy Cecília|jelszó|N|N"));
    EXPECT_EQ(w->grid()->model()->rowCount(), 3);
}

TEST_F(FelhasznaloTest, EditingWithoutTouchingThePasswordSaves) {
    w->table().moveTo(1);
    answer(
        [](QWidget *dlg) {
            EXPECT_EQ(edit(dlg, "Edit1")->text(), QStringLiteral("titok")) << "the confirmation starts as the password";
            EXPECT_EQ(edit(dlg, "Edit1")->echoMode(), QLineEdit::Password);
            // One star a character in both password edits, as at the login.
            EXPECT_EQ(edit(dlg, "DBEdit2")->displayText(), QStringLiteral("*****"));
            EXPECT_EQ(edit(dlg, "Edit1")->displayText(), QStringLiteral("*****"));
            type(dlg, "DBEdit3", QStringLiteral("Kiss Beáta"));
            Child<QCheckBox>(dlg, QStringLiteral("DBCheckBox1"))->setChecked(true);
        },
        true);
    w->aSzerkeszt->trigger();
    EXPECT_EQ(services.errorTexts(), QStringList());
    EXPECT_EQ(users().value(1), QStringLiteral("bea|Kiss Beáta|titok|I|I"));
}

TEST_F(FelhasznaloTest, ARefusedPasswordKeepsTheDialogAndMegsemLeavesTheRow) {
    w->table().moveTo(1);
    bool stayed = false;
    answer([](QWidget *dlg) { type(dlg, "DBEdit2", QStringLiteral("uj")); }, true, &stayed);
    w->aSzerkeszt->trigger();
    EXPECT_TRUE(stayed);
    EXPECT_EQ(services.errorTexts(), QStringList{QStringLiteral("Hibás jelszó megadás")});
    EXPECT_EQ(users().value(1), QStringLiteral("bea|Kiss Bea|titok|N|I"));

    services.messages.clear();
    answer(
        [](QWidget *dlg) {
            type(dlg, "DBEdit2", QString());
            type(dlg, "Edit1", QString());
        },
        true, &stayed);
    w->aSzerkeszt->trigger();
    EXPECT_TRUE(stayed);
    EXPECT_EQ(services.errorTexts(), QStringList{QStringLiteral("Hiányos adat megadás")});
    EXPECT_EQ(users().value(1), QStringLiteral("bea|Kiss Bea|titok|N|I"));
    EXPECT_EQ(w->table().state(), DsState::Browse);
    EXPECT_EQ(w->grid()->model()->data(w->grid()->model()->index(1, 1)).toString(), QStringLiteral("Kiss Bea"));
}

TEST_F(FelhasznaloTest, MegsemOnANewUserAddsNoRow) {
    answer(
        [](QWidget *dlg) {
            type(dlg, "DBEdit1", QStringLiteral("dani"));
            type(dlg, "DBEdit2", QStringLiteral("x"));
            type(dlg, "Edit1", QStringLiteral("x"));
        },
        false);
    w->aUj->trigger();
    EXPECT_EQ(users().size(), 2);
    EXPECT_EQ(w->grid()->model()->rowCount(), 2);
}

TEST_F(FelhasznaloTest, TheLoggedInUserCanBeDeletedAndKeepsWorking) {
    settings.UserCode = QStringLiteral("admin");
    settings.IsAdmin = true;
    w->table().moveTo(0);
    services.yesNoAnswers = {false, true};
    w->aTorol->trigger();
    EXPECT_EQ(users().size(), 2) << "No keeps the row";
    w->aTorol->trigger();
    EXPECT_EQ(services.questions.value(1).text, QStringLiteral("Valóban töröljem a sort?"));
    EXPECT_EQ(services.questions.value(1).caption, QStringLiteral("Megerősítés"));
    EXPECT_EQ(users(), QStringList{QStringLiteral("bea|Kiss Bea|titok|N|I")});
    EXPECT_EQ(settings.UserCode, QStringLiteral("admin"));
    EXPECT_TRUE(settings.IsAdmin);
}

TEST_F(FelhasznaloTest, EditFieldsHoldNoMoreThanTheirColumns) {
    answer(
        [](QWidget *dlg) {
            type(dlg, "DBEdit1", QStringLiteral("abcdefghijklmnopqrstu"));
            type(dlg, "DBEdit3", QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
            type(dlg, "DBEdit2", QStringLiteral("0123456789abcdefgh"));
            type(dlg, "Edit1", QStringLiteral("0123456789abcde"));
        },
        true);
    w->aUj->trigger();
    EXPECT_EQ(users().value(2), QStringLiteral("abcdefghijklmno|abcdefghijklmnopqrst|0123456789abcde|N|N"));
}

TEST_F(FelhasznaloTest, LongStoredValuesShowWholeAndStayWholeUnlessRetyped) {
    // Written by another tool: longer than the columns' sizes (15, 20, 15).
    const QString code = QStringLiteral("bea-a-konyvtarbol");
    const QString name = QStringLiteral("Szentgyörgyvölgyi Kiss Beáta");
    const QString password = QStringLiteral("egy-hosszu-titkos-jelszo");
    Stmt s = db.prepare(QStringLiteral("UPDATE felhasznalo SET felhasznalo=?1, felhasznalo_nev=?2, jelszo=?3 WHERE felhasznalo='bea'"));
    s.bind(1, code).bind(2, name).bind(3, password);
    s.exec();
    w = std::make_unique<Tfrm_Felhasznalo>(*ctx);
    w->show();
    w->table().moveTo(1);
    QStringList shown;
    answer(
        [&shown](QWidget *dlg) {
            for (const char *e : {"DBEdit1", "DBEdit3", "DBEdit2", "Edit1"})
                shown << edit(dlg, e)->text();
            Child<QCheckBox>(dlg, QStringLiteral("DBCheckBox1"))->setChecked(true);
        },
        true);
    w->aSzerkeszt->trigger();
    EXPECT_EQ(shown, (QStringList{code, name, password, password}));
    EXPECT_EQ(services.errorTexts(), QStringList());
    EXPECT_EQ(users().value(1), QStringList({code, name, password, "I", "I"}).join(QLatin1Char('|')));

    // A retyped value is the user's own and must fit its column: refused, never cut.
    bool stayed = false;
    answer([](QWidget *dlg) { type(dlg, "DBEdit3", QStringLiteral("Kiss Beáta, a könyvtáros")); }, true, &stayed);
    w->aSzerkeszt->trigger();
    EXPECT_TRUE(stayed);
    EXPECT_EQ(services.errorTexts(),
              QStringList{QStringLiteral("A(z) „felhasználó neve” mező legfeljebb 20 karakter lehet, most 24 karakter.")});
    EXPECT_EQ(users().value(1), QStringList({code, name, password, "I", "I"}).join(QLatin1Char('|')));
    // Only what the user retyped changes.
    services.messages.clear();
    answer([](QWidget *dlg) { type(dlg, "DBEdit3", QStringLiteral("Kiss Beáta")); }, true);
    w->aSzerkeszt->trigger();
    EXPECT_EQ(services.errorTexts(), QStringList());
    EXPECT_EQ(users().value(1), QStringList({code, "Kiss Beáta", password, "I", "I"}).join(QLatin1Char('|')));
}

} // namespace

namespace {

class RendszerMenuTest : public ProgramDirTest {};

// The user list and the console are in the "Rendszer" menu and open for any user.
TEST_F(RendszerMenuTest, UsersAndConsoleOpenFromTheMenuForEveryUser) {
    makeCatalogue(false);
    db.close();
    Tfrm_Main main(services);
    ASSERT_TRUE(main.FormCreate());
    main.Beall().IsAdmin = false;
    main.Beall().CanEditMasterData = false;
    QMenu *menu = nullptr;
    for (QAction *a : main.menuBar()->actions())
        if (a->text() == QStringLiteral("Rendszer"))
            menu = a->menu();
    ASSERT_NE(menu, nullptr);
    QStringList items;
    for (QAction *a : menu->actions())
        items << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    EXPECT_EQ(items.mid(0, 2), (QStringList{QStringLiteral("aFelhasznalo"), QStringLiteral("aSQL")}));
    EXPECT_EQ(main.Action(QStringLiteral("aSQL"))->text(), QStringLiteral("Szabad lekérdezés"));
    QStringList opened;
    for (const char *name : {"aFelhasznalo", "aSQL"}) {
        WhenModal([&opened](QWidget *window) {
            opened << window->objectName() + QLatin1Char('|') + window->windowTitle();
            window->close();
        });
        main.Action(QLatin1String(name))->trigger();
    }
    EXPECT_EQ(opened, (QStringList{QStringLiteral("frm_Felhasznalo|Felhasználók adatai"),
                                   QStringLiteral("frm_SQL|SQL lekérdezés")}));
    EXPECT_TRUE(services.errorTexts().isEmpty());
}

} // namespace
