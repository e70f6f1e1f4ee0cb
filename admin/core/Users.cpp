#include "admin/core/Users.h"

#include "data/Dataset.h"

namespace kodexa {

void OpenUsers(MemDataset &ds) { ds.openTable(QStringLiteral("felhasznalo"), QStringLiteral("felhasznalo")); }

void InsertUser(Dataset &ds) {
    ds.insert();
    ds.setValue(QStringLiteral("rendszergazda"), QStringLiteral("N"));
    ds.setValue(QStringLiteral("torzsszerkeszt"), QStringLiteral("N"));
}

QString UserEditProblem(const QVariant &password, const QString &confirmation) {
    const QString p = password.isNull() ? QString() : password.toString();
    if (p.isEmpty())
        return QStringLiteral("Hiányos adat megadás");
    if (p != confirmation)
        return QStringLiteral("Hibás jelszó megadás");
    return QString();
}

} // namespace kodexa
