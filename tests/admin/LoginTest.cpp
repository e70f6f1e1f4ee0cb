// Login: exact credentials, the rights it records, the password change, and errors leaving it.
#include "admin/Login.h"
#include "admin/core/Login.h"
#include "support/Fixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace kodexa;
using namespace kodexa::test;

namespace {

const QString Invalid = QStringLiteral("Érvénytelen felhasználó, vagy jelszó");

class LoginTest : public CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        openCatalogue(false);
        dlg = std::make_unique<Tfrm_Login>(*ctx);
        dlg->show();
    }
    void TearDown() override {
        dlg.reset();
        CatalogueTest::TearDown();
    }

    void addUser(const QString &code, const QString &password, const char *admin, const char *master) {
        Stmt s = db.prepare(QStringLiteral("INSERT INTO felhasznalo VALUES (?1, 'Teszt', ?2, ?3, ?4)"));
        s.bind(1, code).bind(2, password).bind(3, QLatin1String(admin)).bind(4, QLatin1String(master));
        s.exec();
    }
    QString storedPassword(const QString &code) {
        Stmt s = db.prepare(QStringLiteral("SELECT jelszo FROM felhasznalo WHERE felhasznalo=?1"));
        s.bind(1, code);
        return s.step() ? s.text(0) : QStringLiteral("<none>");
    }
    void type(const QString &code, const QString &password) {
        auto *u = Child<QLineEdit>(dlg.get(), QStringLiteral("edtFelhasznalo"));
        auto *p = Child<QLineEdit>(dlg.get(), QStringLiteral("edtJelszo"));
        u->clear();
        p->clear();
        TypeText(u, code);
        TypeText(p, password);
    }
    void press(const char *name) { Child<QPushButton>(dlg.get(), QLatin1String(name))->click(); }

    std::unique_ptr<Tfrm_Login> dlg;
};

TEST_F(LoginTest, CodeIsCaseSensitiveAndWrongThenRightLogsInOnSecondOk) {
    type(QStringLiteral("Admin"), QStringLiteral("admin"));
    press("btnOK");
    EXPECT_EQ(services.errorTexts(), QStringList{Invalid});
    EXPECT_FALSE(dlg->loggedIn());
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(settings.UserCode, QStringLiteral("Admin")) << "copied whether or not it matched";

    type(QStringLiteral("admin"), QStringLiteral("ADMIN"));
    press("btnOK");
    EXPECT_EQ(services.errorTexts().size(), 2);
    EXPECT_FALSE(dlg->loggedIn());

    type(QStringLiteral("admin"), QStringLiteral("admin"));
    press("btnOK");
    EXPECT_TRUE(dlg->loggedIn());
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_TRUE(settings.IsAdmin);
    EXPECT_TRUE(settings.CanEditMasterData);
    EXPECT_EQ(services.errorTexts().size(), 2);
}

TEST_F(LoginTest, TrailingSpaceCountsAndRightsFollowTheRow) {
    addUser(QStringLiteral("anna"), QStringLiteral("titok "), "N", "I");
    type(QStringLiteral("anna"), QStringLiteral("titok"));
    press("btnOK");
    EXPECT_FALSE(dlg->loggedIn());
    type(QStringLiteral("anna "), QStringLiteral("titok "));
    press("btnOK");
    EXPECT_FALSE(dlg->loggedIn()) << "the code is not trimmed either";
    settings.IsAdmin = true;
    type(QStringLiteral("anna"), QStringLiteral("titok "));
    press("btnOK");
    EXPECT_TRUE(dlg->loggedIn());
    EXPECT_FALSE(settings.IsAdmin);
    EXPECT_TRUE(settings.CanEditMasterData);
    EXPECT_EQ(settings.UserCode, QStringLiteral("anna"));
}

TEST_F(LoginTest, PasswordChangeRetiresTheOldPassword) {
    type(QStringLiteral("admin"), QStringLiteral("admin"));
    services.textAnswers = {QStringLiteral("Új-jelszó"), QStringLiteral("Új-jelszó")};
    press("btnUjJelszo");
    ASSERT_EQ(services.questions.size(), 2);
    EXPECT_EQ(services.questions[0].caption, QStringLiteral("Jelszó megadása"));
    EXPECT_EQ(services.questions[0].text, QStringLiteral("Add meg az új jelszót"));
    EXPECT_EQ(services.questions[1].caption, QStringLiteral("Megerősítés"));
    EXPECT_EQ(services.questions[1].text, QStringLiteral("Add újra az új jelszót"));
    EXPECT_EQ(services.messages.last().text, QStringLiteral("Jelszó változtatás kész."));
    EXPECT_EQ(storedPassword(QStringLiteral("admin")), QStringLiteral("Új-jelszó"));
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_FALSE(dlg->loggedIn()) << "only OK completes a login";

    press("btnOK"); // the old password is still in the box
    EXPECT_EQ(services.errorTexts(), QStringList{Invalid});
    EXPECT_FALSE(dlg->loggedIn());
    type(QStringLiteral("admin"), QStringLiteral("Új-jelszó"));
    press("btnOK");
    EXPECT_TRUE(dlg->loggedIn());
}

TEST_F(LoginTest, RefusedNewPasswordsWriteNothing) {
    // Wrong current password: no question is asked.
    type(QStringLiteral("admin"), QStringLiteral("rossz"));
    press("btnUjJelszo");
    EXPECT_TRUE(services.questions.isEmpty());
    EXPECT_EQ(services.errorTexts(), QStringList{Invalid});

    type(QStringLiteral("admin"), QStringLiteral("admin"));
    services.messages.clear();
    services.textAnswers = {QStringLiteral("egy"), QStringLiteral("kettő")};
    press("btnUjJelszo");
    EXPECT_EQ(services.errorTexts(), QStringList{QStringLiteral("A megadott jelszavak nem egyezőek")});

    // Sixteen characters would not fit the column: refused before the confirmation.
    services.messages.clear();
    services.questions.clear();
    services.textAnswers = {QStringLiteral("0123456789abcdef"), QStringLiteral("0123456789abcdef")};
    press("btnUjJelszo");
    EXPECT_EQ(services.questions.size(), 1);
    ASSERT_EQ(services.errorTexts().size(), 1);
    EXPECT_TRUE(services.errorTexts()[0].contains(QStringLiteral("15"))) << services.errorTexts()[0].toStdString();

    // Cancelling either question changes nothing.
    services.textAnswers = {std::nullopt};
    press("btnUjJelszo");
    services.textAnswers = {QStringLiteral("uj"), std::nullopt};
    press("btnUjJelszo");
    EXPECT_EQ(storedPassword(QStringLiteral("admin")), QStringLiteral("admin"));
    EXPECT_THROW(SetPassword(db, *CheckLogin(db, QStringLiteral("admin"), QStringLiteral("admin")), QStringLiteral("0123456789abcdef")),
                 DbError);
    EXPECT_EQ(storedPassword(QStringLiteral("admin")), QStringLiteral("admin"));

    // Fifteen characters fit exactly.
    services.textAnswers = {QStringLiteral("0123456789abcde"), QStringLiteral("0123456789abcde")};
    press("btnUjJelszo");
    EXPECT_EQ(storedPassword(QStringLiteral("admin")), QStringLiteral("0123456789abcde"));
}

TEST_F(LoginTest, PasswordChangeOfAUserNoLongerThereIsRefusedAndWritesNothing) {
    addUser(QStringLiteral("bea"), QStringLiteral("titok"), "N", "N");
    const auto bea = CheckLogin(db, QStringLiteral("bea"), QStringLiteral("titok"));
    ASSERT_TRUE(bea);
    // Deleted after the check (from the user list, or another program on the file).
    db.exec(QStringLiteral("DELETE FROM felhasznalo WHERE felhasznalo='bea'"));
    EXPECT_THROW(SetPassword(db, *bea, QStringLiteral("uj-jelszo")), DbError);
    // A user added since takes the free row number: still not the user who was checked.
    addUser(QStringLiteral("cili"), QStringLiteral("cili-titka"), "N", "N");
    ASSERT_EQ(db.scalar(QStringLiteral("SELECT rowid FROM felhasznalo WHERE felhasznalo='cili'")).toLongLong(), bea->rowid);
    EXPECT_THROW(SetPassword(db, *bea, QStringLiteral("uj-jelszo")), DbError);
    EXPECT_EQ(storedPassword(QStringLiteral("cili")), QStringLiteral("cili-titka"));
    EXPECT_EQ(storedPassword(QStringLiteral("admin")), QStringLiteral("admin"));
}

TEST_F(LoginTest, EnterMovesFocusAlongTheEdits) {
    QApplication::setActiveWindow(dlg.get());
    auto *u = Child<QLineEdit>(dlg.get(), QStringLiteral("edtFelhasznalo"));
    auto *p = Child<QLineEdit>(dlg.get(), QStringLiteral("edtJelszo"));
    u->setFocus();
    TypeText(u, QStringLiteral("admin"));
    QTest::keyClick(u, Qt::Key_Return);
    EXPECT_EQ(dlg->focusWidget(), p);
    TypeText(p, QStringLiteral("admin"));
    // One star a character, not the style's own mark.
    EXPECT_EQ(p->displayText(), QStringLiteral("*****"));
    QTest::keyClick(p, Qt::Key_Return);
    EXPECT_EQ(dlg->focusWidget(), Child<QPushButton>(dlg.get(), QStringLiteral("btnOK")));
    EXPECT_FALSE(dlg->loggedIn()) << "Enter in the password box does not log in by itself";
}

TEST_F(LoginTest, ShowLoginResultAndUnexpectedErrorsReachTheCaller) {
    WhenModal([](QWidget *w) {
        TypeText(Child<QLineEdit>(w, QStringLiteral("edtFelhasznalo")), QStringLiteral("admin"));
        TypeText(Child<QLineEdit>(w, QStringLiteral("edtJelszo")), QStringLiteral("admin"));
        Child<QPushButton>(w, QStringLiteral("btnOK"))->click();
    });
    EXPECT_TRUE(ShowLogin(*ctx));
    EXPECT_EQ(settings.UserCode, QStringLiteral("admin"));

    WhenModal([](QWidget *w) { Child<QPushButton>(w, QStringLiteral("btnMegsem"))->click(); });
    EXPECT_FALSE(ShowLogin(*ctx));

    // The table vanishing while the window is open: the error ends the dialog and leaves ShowLogin.
    WhenModal([this](QWidget *w) {
        db.exec(QStringLiteral("DROP TABLE felhasznalo"));
        Child<QPushButton>(w, QStringLiteral("btnOK"))->click();
    });
    EXPECT_THROW(ShowLogin(*ctx), DbError);
    EXPECT_THROW(ShowLogin(*ctx), DbError) << "no table: fails before the window opens";
}

} // namespace
