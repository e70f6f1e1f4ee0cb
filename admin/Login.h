#pragma once
#include "data/AppContext.h"

#include <QDialog>
#include <exception>
#include <functional>

class QWidget;
class QLineEdit;

namespace kodexa {

// The login window (Tfrm_Login): true when a user logged in (UserCode, IsAdmin and
// CanEditMasterData are then set in ctx.settings). Database errors other than a failed
// password write leave it as DbError, for start-up to report.
bool ShowLogin(AppContext &ctx, QWidget *parent = nullptr);

// "Belépés azonosítás": user code and password, and the user's own password change.
class Tfrm_Login final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_Login)
public:
    explicit Tfrm_Login(AppContext &ctx, QWidget *parent = nullptr);
    ~Tfrm_Login() override;

    bool loggedIn() const { return loggedIn_; }
    // An unexpected error that ended the dialog; rethrown by ShowLogin.
    std::exception_ptr failure() const { return failure_; }

    // "OK" and "Új jelszó".
    void ok();
    void newPassword();

private:
    // Any unexpected error closes the dialog and is handed on to the caller.
    void guard(const std::function<void()> &action);

    AppContext &ctx_;
    bool loggedIn_ = false;
    std::exception_ptr failure_;
    QLineEdit *edtFelhasznalo = nullptr;
    QLineEdit *edtJelszo = nullptr;
};

} // namespace kodexa
