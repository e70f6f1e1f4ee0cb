#include "reports/Idoszak.h"

#include "gui/Widgets.h"

#include <QDateEdit>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace kodexa {

Tfrm_Idoszak::Tfrm_Idoszak(QWidget *parent)
    : QDialog(parent), eAlso(new QDateEdit(this)), eFelso(new QDateEdit(this)),
      Button1(new QPushButton(QStringLiteral("OK"), this)), Button2(new QPushButton(QStringLiteral("Mégsem"), this)) {
    setObjectName(QStringLiteral("frm_Idoszak"));
    setWindowTitle(QStringLiteral("Időszak megadása"));
    eAlso->setObjectName(QStringLiteral("eAlso"));
    eFelso->setObjectName(QStringLiteral("eFelso"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2->setObjectName(QStringLiteral("Button2"));
    for (QDateEdit *e : {eAlso, eFelso}) {
        e->setCalendarPopup(false); // up and down arrows, no drop-down calendar
        e->setDisplayFormat(QStringLiteral("yyyy.MM.dd"));
    }
    auto *l1 = new QLabel(QStringLiteral("&Kezdő dátum"), this);
    auto *l2 = new QLabel(QStringLiteral("&Záró dátum"), this);
    l1->setBuddy(eAlso);
    l2->setBuddy(eFelso);
    l1->setGeometry(16, 10, 120, 16);
    eAlso->setGeometry(16, 28, 120, 24);
    l2->setGeometry(152, 10, 120, 16);
    eFelso->setGeometry(152, 28, 120, 24);
    // Enter moves on through eAlso and eFelso; on a button it presses that button.
    PlaceOkCancel(this, Button1, QRect(56, 68, 75, 25), Button2, QRect(152, 68, 75, 25), false);
    setTabOrder(eAlso, eFelso);
    setTabOrder(eFelso, Button1);
    setTabOrder(Button1, Button2);
    setFixedSize(288, 106);
    InstallFocusColour(this);
    InstallEnterAsTab(this);
    eAlso->setFocus();
}

void Tfrm_Idoszak::showEvent(QShowEvent *e) {
    QDialog::showEvent(e);
    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
}

bool ChoosePeriod(QDate &first, QDate &last, QWidget *parent) {
    Tfrm_Idoszak dlg(parent);
    dlg.eAlso->setDate(first);
    dlg.eFelso->setDate(last);
    if (dlg.exec() != QDialog::Accepted)
        return false;
    first = dlg.eAlso->date();
    last = dlg.eFelso->date();
    return true;
}

} // namespace kodexa
