#include "admin/Nevjegy.h"

#include "admin/Logo.h"
#include "gui/Widgets.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace kodexa {

namespace {

QLabel *colouredLabel(QWidget *parent, const char *name, const QString &text, const QColor &background,
                      Qt::Alignment align, const QRect &geometry) {
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setAutoFillBackground(true);
    QPalette pal = l->palette();
    pal.setColor(QPalette::Window, background);
    pal.setColor(QPalette::WindowText, Qt::black);
    l->setPalette(pal);
    l->setAlignment(align);
    l->setGeometry(geometry);
    return l;
}

} // namespace

Tfrm_Nevjegy::Tfrm_Nevjegy(DesktopServices &services, const QString &homePage, const QString &mailAddress, QWidget *parent)
    : QDialog(parent) {
    SetUpDialog(this, "frm_Nevjegy", QStringLiteral("Névjegy"), {319, 343});

    auto *panel1 = new QFrame(this);
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel1->setLineWidth(2);
    panel1->setGeometry(8, 8, 303, 290);

    const QColor cream(255, 250, 232);
    auto *picture = colouredLabel(panel1, "ProgramIcon", QString(), QColor(255, 208, 174), Qt::AlignCenter,
                                  QRect(10, 10, 120, 112));
    picture->setPixmap(DrawEmblem(96));
    picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    QFont big(QStringLiteral("Verdana"));
    big.setPixelSize(18);
    big.setBold(true);
    auto *product = colouredLabel(panel1, "ProductName", QStringLiteral("Kodexa\n") + QLatin1String(ProgramVersion),
                                  QColor(214, 240, 208), Qt::AlignRight | Qt::AlignVCenter, QRect(138, 10, 155, 112));
    product->setFont(big);
    product->setContentsMargins(0, 0, 10, 0);

    QFont heading = font();
    heading.setBold(true);
    heading.setPointSize(10);
    auto *title = colouredLabel(panel1, "Title", QStringLiteral("Könyvek nyilvántartása"), cream, Qt::AlignCenter,
                                QRect(10, 130, 283, 26));
    title->setFont(heading);
    auto *contactTitle = colouredLabel(panel1, "ContactTitle", QStringLiteral("Elérhetőség"), cream, Qt::AlignCenter,
                                       QRect(10, 164, 283, 20));
    contactTitle->setFont(heading);
    auto *contact = new QLabel(panel1);
    contact->setObjectName(QStringLiteral("Contact"));
    contact->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    contact->setGeometry(10, 188, 283, 94);
    contact->setText(QStringLiteral("Ferolin Szoftverműhely\n"
                                    "Ügyfélszolgálat: hétköznap 9 és 16 óra között\n"
                                    "Telefon: (06 1) 555 0142   Mobil: (06 30) 555 0187\n") +
                     homePage + QLatin1Char('\n') + mailAddress);
    contact->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    ok->setGeometry(122, 308, 75, 25);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    RememberPosition(this, services);
}

Tfrm_Nevjegy::~Tfrm_Nevjegy() = default;

void ShowAbout(DesktopServices &services, const QString &homePage, const QString &mailAddress, QWidget *parent) {
    Tfrm_Nevjegy dlg(services, homePage, mailAddress, parent);
    dlg.exec();
}

} // namespace kodexa
