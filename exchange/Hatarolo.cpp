#include "exchange/Hatarolo.h"

#include "gui/Widgets.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

namespace kodexa {

Tfrm_Hatarolo::Tfrm_Hatarolo(QWidget *parent) : QDialog(parent) {
    SetUpDialog(this, "frm_Hatarolo", QStringLiteral("Határoló karakter"), {280, 150});

    auto *group = new QGroupBox(QStringLiteral("Határoló karakter"), this);
    group->setObjectName(QStringLiteral("RadioGroup1"));
    group->setGeometry(8, 8, 264, 96);
    items_ = new QButtonGroup(group);
    const QStringList items = {QStringLiteral("Tabulátor (#9)"), QStringLiteral("Pontosvessző (';')"),
                               QStringLiteral("Cső ('|')")};
    for (int i = 0; i < items.size(); ++i) {
        auto *b = new QRadioButton(items[i], group);
        b->setObjectName(QStringLiteral("RadioGroup1_%1").arg(i));
        b->move(12, 20 + i * 22);
        b->adjustSize();
        items_->addButton(b, i);
    }
    items_->button(0)->setChecked(true);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    auto *cancel = new QPushButton(QStringLiteral("Mégsem"), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    PlaceOkCancel(this, ok, QRect(56, 114, 80, 25), cancel, QRect(144, 114, 80, 25), true);
}

Tfrm_Hatarolo::~Tfrm_Hatarolo() = default;

QChar Tfrm_Hatarolo::delimiter() const {
    switch (items_->checkedId()) {
    case 1: return QLatin1Char(';');
    case 2: return QLatin1Char('|');
    default: return QLatin1Char('\t');
    }
}

std::optional<QChar> ChooseImportDelimiter(QWidget *parent) {
    Tfrm_Hatarolo dlg(parent);
    if (dlg.exec() != QDialog::Accepted)
        return std::nullopt;
    return dlg.delimiter();
}

} // namespace kodexa
