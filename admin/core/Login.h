#pragma once
// Checking a user code and password against felhasznalo, and changing a password.
// Both are compared exactly: whole value, case-sensitive, no trimming.

#include <QString>
#include <optional>

namespace kodexa {

class Db;

struct LoginUser {
    qint64 rowid = 0;
    QString code;
    bool isAdmin = false;           // rendszergazda "I"
    bool canEditMasterData = false; // torzsszerkeszt "I"
};

// The first row whose code equals code, when its password equals password.
std::optional<LoginUser> CheckLogin(Db &db, const QString &code, const QString &password);

// The password column holds this many characters; a longer password is refused, never cut.
inline constexpr int MaxPasswordLength = 15;
// The Hungarian reason a new password cannot be stored; empty when it can.
QString NewPasswordProblem(const QString &password);
// Writes the new password of the user CheckLogin found. Raises DbError (and writes nothing)
// when the password is refused by NewPasswordProblem or that user is gone: its row deleted,
// or its row number taken since by another user.
void SetPassword(Db &db, const LoginUser &user, const QString &password);

} // namespace kodexa
