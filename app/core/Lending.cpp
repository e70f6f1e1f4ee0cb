#include "app/core/Lending.h"

#include "data/Dataset.h"

namespace kodexa {

void LendBook(Dataset &tbl, const QString &borrower, const QDate &day) {
    EditAndPost(tbl, [&](Dataset &t) {
        t.setValue(QStringLiteral("kolcsonadva"), QStringLiteral("I"));
        t.setValue(QStringLiteral("kolcsonadva_dat"), day);
        t.setValue(QStringLiteral("kolcsonadva_kinek"), borrower);
    });
}

void TakeBackBook(Dataset &tbl) {
    EditAndPost(tbl, [](Dataset &t) {
        t.setValue(QStringLiteral("kolcsonadva"), QStringLiteral("N"));
        t.setValue(QStringLiteral("kolcsonadva_dat"), QVariant());
        t.setValue(QStringLiteral("kolcsonadva_kinek"), QString());
    });
}

} // namespace kodexa
