#include "edit/InpStr.h"

#include "data/DesktopServices.h"
#include "gui/Widgets.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kodexa {

Tfrm_InpStr::Tfrm_InpStr(DesktopServices &services, QWidget *parent)
    : QDialog(parent), Label1(new QLabel(this)), Edit1(new QLineEdit(this)),
      Button1(new QPushButton(QStringLiteral("OK"), this)), Button2(new QPushButton(QStringLiteral("Mégsem"), this)) {
    setObjectName(QStringLiteral("frm_InpStr"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(253, 113);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2->setObjectName(QStringLiteral("Button2"));

    Label1->move(16, 12);
    Edit1->setGeometry(16, 28, 221, Edit1->sizeHint().height());
    // Enter in the edit presses OK; Esc is the dialog's own cancel.
    PlaceOkCancel(this, Button1, QRect(68, 72, 75, 25), Button2, QRect(156, 72, 75, 25), true);

    setTabOrder(Edit1, Button1);
    setTabOrder(Button1, Button2);
    Edit1->setFocus();
    InstallFocusColour(this);
    RememberPosition(this, services);
}

bool InputString(DesktopServices &services, const QString &caption, const QString &prompt, const QString &mask,
                 QString &text, QWidget *parent) {
    return services.inputString(caption, prompt, mask, text, parent);
}

bool ShowInpStr(DesktopServices &services, const QString &caption, const QString &prompt, const QString &mask,
                QString &text, QWidget *parent) {
    Tfrm_InpStr box(services, parent);
    box.setWindowTitle(caption);
    box.Label1->setText(prompt);
    box.Label1->adjustSize();
    box.Edit1->setText(text);
    box.Edit1->setInputMask(mask);
    if (box.exec() != QDialog::Accepted)
        return false;
    text = box.Edit1->text();
    return true;
}

} // namespace kodexa
