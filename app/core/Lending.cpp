#include "app/core/Lending.h"

#include "data/Dataset.h"

namespace kodexa {

QString LendRefusal(const Dataset &tbl) {
    return tbl.text(QStringLiteral("kolcsonadva")) == QLatin1String("I") ? QStringLiteral("Ez a tétel már ki lett adva")
                                                                          : QString();
}

QString TakeBackRefusal(const Dataset &tbl) {
    return tbl.text(QStringLiteral("kolcsonadva")) == QLatin1String("N") ? QStringLiteral("Ez a tétel még nem lett kiadva")
                                                                          : QString();
}

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
