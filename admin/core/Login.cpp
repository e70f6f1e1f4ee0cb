#include "admin/core/Login.h"

#include "data/Db.h"

namespace kodexa {

std::optional<LoginUser> CheckLogin(Db &db, const QString &code, const QString &password) {
    // The bound text is compared with the engine's binary collation: case and spaces count.
    Stmt s = db.prepare(QStringLiteral("SELECT rowid, felhasznalo, jelszo, rendszergazda, torzsszerkeszt "
                                       "FROM felhasznalo WHERE felhasznalo=?1 ORDER BY rowid LIMIT 1"));
    s.bind(1, code);
    if (!s.step() || s.text(1) != code || s.text(2) != password)
        return std::nullopt;
    LoginUser u;
    u.rowid = s.int64(0);
    u.code = s.text(1);
    u.isAdmin = s.text(3) == QLatin1String("I");
    u.canEditMasterData = s.text(4) == QLatin1String("I");
    return u;
}

QString NewPasswordProblem(const QString &password) {
    if (password.size() > MaxPasswordLength)
        return QStringLiteral("Az új jelszó legfeljebb %1 karakter hosszú lehet.").arg(MaxPasswordLength);
    return {};
}

void SetPassword(Db &db, const LoginUser &user, const QString &password) {
    if (const QString problem = NewPasswordProblem(password); !problem.isEmpty())
        throw DbError(problem);
    // The row number alone may name another user by now: a deleted row's number is given again.
    Stmt s = db.prepare(QStringLiteral("UPDATE felhasznalo SET jelszo=?1 WHERE rowid=?2 AND felhasznalo=?3"));
    s.bind(1, password).bind(2, user.rowid).bind(3, user.code);
    s.exec();
    if (db.changes() != 1)
        throw DbError(QStringLiteral("A felhasználó nem található, a jelszó nem változott."));
}

} // namespace kodexa
