#include "reports/NyomValaszt.h"

#include "gui/Widgets.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kodexa {

Tfrm_NyomValaszt::Tfrm_NyomValaszt(DesktopServices &services, QWidget *parent)
    : QDialog(parent), RadioGroup1(new QGroupBox(QStringLiteral("Nyomtatás típusa"), this)),
      Button1(new QPushButton(QStringLiteral("OK"), this)), Button2(new QPushButton(QStringLiteral("Mégsem"), this)) {
    setObjectName(QStringLiteral("frm_NyomValaszt"));
    setWindowTitle(QStringLiteral("Nyomtatás típusa"));
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2->setObjectName(QStringLiteral("Button2"));
    auto *box = new QVBoxLayout(RadioGroup1);
    const char *captions[] = {"Nyomtatási kép", "Nyomtatás", "Excelbe (CSV)"};
    for (int i = 0; i < 3; ++i) {
        items[i] = new QRadioButton(QString::fromUtf8(captions[i]), RadioGroup1);
        items[i]->setObjectName(QStringLiteral("RadioItem%1").arg(i));
        box->addWidget(items[i]);
    }
    items[0]->setChecked(true);
    items[0]->setFocus(); // the arrow keys move the choice, Enter presses OK
    RadioGroup1->setGeometry(8, 8, 185, 105);
    PlaceOkCancel(this, Button1, QRect(16, 122, 75, 25), Button2, QRect(110, 122, 75, 25), true);
    setFixedSize(201, 157);
    RememberPosition(this, services);
}

int Tfrm_NyomValaszt::choice() const {
    for (int i = 0; i < 3; ++i)
        if (items[i]->isChecked())
            return i;
    return -1;
}

int ChoosePrintType(DesktopServices &services, QWidget *parent) {
    Tfrm_NyomValaszt dlg(services, parent);
    return dlg.exec() == QDialog::Accepted ? dlg.choice() : -1;
}

} // namespace kodexa
