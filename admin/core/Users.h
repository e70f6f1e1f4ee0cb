#pragma once
// The rules of the user list: felhasznalo ordered by user code, a new user's flags, and
// what the edit dialog's OK checks. Nothing else is checked: an empty or repeated user
// code and an empty name are allowed (login takes the first row that matches).

#include <QString>
#include <QVariant>

namespace kodexa {

class Dataset;
class MemDataset;

// Column sizes of felhasznalo, the most each edit accepts.
inline constexpr int UserCodeLength = 15;
inline constexpr int UserNameLength = 20;
inline constexpr int PasswordLength = 15;

// Opens felhasznalo in the dataset, ordered by user code.
void OpenUsers(MemDataset &ds);
// A new row for a user: both flags "N".
void InsertUser(Dataset &ds);
// Only "I" counts as yes.
inline bool IsYes(const QVariant &flag) { return flag.toString() == QLatin1String("I"); }
inline QString YesNo(bool yes) { return yes ? QStringLiteral("I") : QStringLiteral("N"); }
// Why the dialog's OK is refused: "Hiányos adat megadás" for a missing password,
// "Hibás jelszó megadás" when the confirmation differs (exactly); empty when it is fine.
QString UserEditProblem(const QVariant &password, const QString &confirmation);

} // namespace kodexa
