#include "app/ElsoInditas.h"

#include "app/core/ElsoInditas.h"
#include "data/Catalogue.h"
#include "data/DesktopServices.h"
#include "data/Error.h"
#include "data/Seged.h"
#include "gui/Widgets.h"
#include "reports/core/DemoCatalogue.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kodexa {

Tfrm_ElsoInditas::Tfrm_ElsoInditas(DesktopServices &services, const QString &target, QWidget *parent)
    : QDialog(parent), services_(services), target_(target) {
    SetUpDialog(this, "frm_ElsoInditas", QStringLiteral("Első indítás"));
    auto *layout = new QVBoxLayout(this);
    auto *welcome = new QLabel(QStringLiteral("Üdvözli a Kodexa, a könyvgyűjtemény nyilvántartója.\n\n"
                                              "Még nincs katalógusa. Kezdje a bemutató katalógussal (könyvek "
                                              "borítóképekkel), egy új, üres katalógussal, vagy nyissa meg egy "
                                              "meglévő katalógusát: arról másolat készül ide:\n%1")
                                   .arg(target),
                               this);
    welcome->setObjectName(QStringLiteral("Label1"));
    welcome->setWordWrap(true);
    welcome->setMinimumWidth(420);
    layout->addWidget(welcome);
    layout->addSpacing(8);
    auto button = [this, layout](const char *name, const QString &caption, void (Tfrm_ElsoInditas::*slot)()) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        layout->addWidget(b);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    button("btnBemutato", QStringLiteral("Bemutató katalógus"), &Tfrm_ElsoInditas::demo)->setFocus();
    button("btnUres", QStringLiteral("Új, üres katalógus"), &Tfrm_ElsoInditas::empty);
    button("btnMeglevo", QStringLiteral("Meglévő katalógus megnyitása…"), &Tfrm_ElsoInditas::existing);
    button("btnAtvetel", QStringLiteral("Könyvek átvétele más programból…"), &Tfrm_ElsoInditas::takeOver);
    button("btnKilepes", QStringLiteral("Kilépés"), &QDialog::reject);
}

Tfrm_ElsoInditas::~Tfrm_ElsoInditas() = default;

void Tfrm_ElsoInditas::make(const std::function<void()> &how) {
    const bool there = QFileInfo::exists(target_);
    QString failure;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        how();
    } catch (const std::exception &e) {
        failure = ErrorText(e);
    }
    QApplication::restoreOverrideCursor();
    if (failure.isEmpty()) {
        accept();
        return;
    }
    // A half-made file would count as a catalogue at the next start.
    if (!there)
        QFile::remove(target_);
    services_.ShowError(failure, this);
}

void Tfrm_ElsoInditas::demo() {
    make([this] { CreateDemoCatalogue(target_); });
}

void Tfrm_ElsoInditas::empty() {
    make([this] { CreateCatalogue(target_, false); });
}

void Tfrm_ElsoInditas::takeOver() {
    takeOver_ = true;
    make([this] { CreateCatalogue(target_, false); });
    if (result() != QDialog::Accepted)
        takeOver_ = false;
}

void Tfrm_ElsoInditas::existing() {
    const QString source = services_.openFileName(QStringLiteral("Meglévő katalógus megnyitása"), QDir::homePath(),
                                                  QStringLiteral("SQB állományok (*.sqb)|*.sqb"), QStringLiteral(".sqb"), this);
    if (source.isEmpty())
        return;
    make([this, &source] { AdoptCatalogue(source, target_); });
}

bool RunFirstStart(DesktopServices &services, bool *takeOver) {
    if (!NeedsFirstStart())
        return true;
    const QString target = FirstStartTarget();
    if (QFileInfo::exists(target)) {
        // The settings named a file that is gone, and the user's folder holds one.
        PointSettingsAt(target);
        return true;
    }
    Tfrm_ElsoInditas window(services, target);
    if (window.exec() != QDialog::Accepted)
        return false;
    PointSettingsAt(target);
    if (takeOver)
        *takeOver = window.takeOverChosen();
    return true;
}

} // namespace kodexa
