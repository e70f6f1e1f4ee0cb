#include "admin/Login.h"

#include "admin/core/Login.h"
#include "data/Db.h"
#include "data/DesktopServices.h"
#include "data/Settings.h"
#include "gui/Widgets.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace kodexa {

namespace {
const QString InvalidLogin = QStringLiteral("Érvénytelen felhasználó, vagy jelszó");
}

Tfrm_Login::Tfrm_Login(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    SetUpDialog(this, "frm_Login", QStringLiteral("Belépés azonosítás"), {256, 127});

    auto *userLabel = new QLabel(QStringLiteral("Felhasználó"), this);
    edtFelhasznalo = new QLineEdit(this);
    edtFelhasznalo->setObjectName(QStringLiteral("edtFelhasznalo"));
    userLabel->setBuddy(edtFelhasznalo);
    auto *passwordLabel = new QLabel(QStringLiteral("Jelszó"), this);
    edtJelszo = new QLineEdit(this);
    edtJelszo->setObjectName(QStringLiteral("edtJelszo"));
    SetStarEcho(edtJelszo);
    passwordLabel->setBuddy(edtJelszo);

    auto *btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    auto *btnUjJelszo = new QPushButton(QStringLiteral("Új jelszó"), this);
    btnUjJelszo->setObjectName(QStringLiteral("btnUjJelszo"));
    auto *btnMegsem = new QPushButton(QStringLiteral("Mégsem"), this);
    btnMegsem->setObjectName(QStringLiteral("btnMegsem"));

    auto *form = new QGridLayout;
    form->addWidget(userLabel, 0, 0);
    form->addWidget(edtFelhasznalo, 0, 1);
    form->addWidget(passwordLabel, 1, 0);
    form->addWidget(edtJelszo, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btnUjJelszo);
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnMegsem);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
    layout->addLayout(buttons);

    setTabOrder(edtFelhasznalo, edtJelszo);
    setTabOrder(edtJelszo, btnOK);
    setTabOrder(btnOK, btnUjJelszo);
    setTabOrder(btnUjJelszo, btnMegsem);

    // Enter in an edit moves on instead of pressing a button; a focused button still takes it.
    InstallEnterAsTab(this);
    InstallFocusColour(this);

    connect(btnOK, &QPushButton::clicked, this, [this] { guard([this] { ok(); }); });
    connect(btnUjJelszo, &QPushButton::clicked, this, [this] { guard([this] { newPassword(); }); });
    connect(btnMegsem, &QPushButton::clicked, this, &QDialog::reject);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

Tfrm_Login::~Tfrm_Login() = default;

void Tfrm_Login::guard(const std::function<void()> &action) {
    try {
        action();
    } catch (...) {
        // Qt's event loop must not be unwound by an exception: end the dialog and let
        // ShowLogin raise it again.
        failure_ = std::current_exception();
        loggedIn_ = false;
        reject();
    }
}

void Tfrm_Login::ok() {
    const QString code = edtFelhasznalo->text();
    const auto user = CheckLogin(ctx_.db, code, edtJelszo->text());
    loggedIn_ = user.has_value();
    ctx_.settings.UserCode = code;
    if (!user) {
        ctx_.services.ShowError(InvalidLogin, this);
        return;
    }
    ctx_.settings.IsAdmin = user->isAdmin;
    ctx_.settings.CanEditMasterData = user->canEditMasterData;
    accept();
}

void Tfrm_Login::newPassword() {
    const auto user = CheckLogin(ctx_.db, edtFelhasznalo->text(), edtJelszo->text());
    if (!user) {
        ctx_.services.ShowError(InvalidLogin, this);
        return;
    }
    QString first;
    if (!ctx_.services.QueryText(QStringLiteral("Jelszó megadása"), QStringLiteral("Add meg az új jelszót"), QString(), first, this))
        return;
    // Refused before the second question: the column could not hold what would be confirmed.
    if (const QString problem = NewPasswordProblem(first); !problem.isEmpty()) {
        ctx_.services.ShowError(problem, this);
        return;
    }
    QString second;
    if (!ctx_.services.QueryText(QStringLiteral("Megerősítés"), QStringLiteral("Add újra az új jelszót"), QString(), second, this))
        return;
    if (first != second) {
        ctx_.services.ShowError(QStringLiteral("A megadott jelszavak nem egyezőek"), this);
        return;
    }
    try {
        SetPassword(ctx_.db, *user, first);
    } catch (const DbError &e) {
        // The old password stays in force; the user may try again.
        ctx_.services.ShowError(e.message(), this);
        return;
    }
    ctx_.services.ShowInfo(QStringLiteral("Jelszó változtatás kész."), this);
}

bool ShowLogin(AppContext &ctx, QWidget *parent) {
    // The table is read when the window opens: a catalogue without it fails here, not at OK.
    ctx.db.scalar(QStringLiteral("SELECT count(*) FROM felhasznalo"));
    Tfrm_Login dlg(ctx, parent);
    dlg.exec();
    if (dlg.failure())
        std::rethrow_exception(dlg.failure());
    return dlg.loggedIn();
}

} // namespace kodexa
