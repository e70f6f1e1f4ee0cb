#include "exchange/Grid2Html.h"

#include "data/AppContext.h"
#include "data/DesktopServices.h"
#include "data/Error.h"
#include "data/Settings.h"
#include "exchange/core/MapiMail.h"
#include "gui/Widgets.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace kodexa {

namespace {
// Shown in the status bar when the page was written but no mail client took it.
const QString NoMailClient = QStringLiteral("Nem indítható levelezőprogram");
} // namespace

Tfrm_Grid2Html::Tfrm_Grid2Html(DesktopServices &services, const Dataset &rows, HtmlGrid grid, HtmlPageText page,
                               const QString &path, StatusLine status, QWidget *parent)
    : QDialog(parent), Label1(new QLabel(QStringLiteral("Mentés helye"), this)), Edit1(new QLineEdit(path, this)),
      BitBtn1(new QToolButton(this)), CheckBox1(new QCheckBox(QStringLiteral("Mentés után megnyitás"), this)),
      Button3(new QPushButton(QStringLiteral("E-Mail"), this)), Button1(new QPushButton(QStringLiteral("OK"), this)),
      Button2(new QPushButton(QStringLiteral("Mégsem"), this)), services_(services), rows_(rows), grid_(std::move(grid)),
      page_(std::move(page)), status_(std::move(status)) {
    setObjectName(QStringLiteral("frm_Grid2Html"));
    setWindowTitle(QStringLiteral("HTML export"));
    setFixedSize(412, 126);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    Button3->setObjectName(QStringLiteral("Button3"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2->setObjectName(QStringLiteral("Button2"));

    Label1->move(12, 10);
    Label1->setBuddy(Edit1);
    Edit1->setGeometry(12, 28, 358, 22);
    BitBtn1->setGeometry(374, 27, 26, 24);
    BitBtn1->setIcon(QIcon::fromTheme(QStringLiteral("document-open")));
    if (BitBtn1->icon().isNull())
        BitBtn1->setText(QStringLiteral("..."));
    BitBtn1->setToolTip(QStringLiteral("Tallózás"));
    BitBtn1->setAccessibleName(QStringLiteral("Tallózás"));
    CheckBox1->move(12, 58);
    CheckBox1->setChecked(true);
    Button3->setGeometry(12, 88, 88, 26);
    Button1->setGeometry(224, 88, 84, 26);
    Button2->setGeometry(316, 88, 84, 26);

    Button1->setDefault(true);
    Button2->setAutoDefault(false);
    Button3->setAutoDefault(false);
    connect(BitBtn1, &QToolButton::clicked, this, [this] { Guarded(services_, this, [this] { BitBtn1Click(); }); });
    connect(Button1, &QPushButton::clicked, this, [this] { Guarded(services_, this, [this] { Button1Click(); }); });
    connect(Button3, &QPushButton::clicked, this, [this] { Guarded(services_, this, [this] { Button3Click(); }); });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(Edit1, BitBtn1);
    setTabOrder(BitBtn1, CheckBox1);
    setTabOrder(CheckBox1, Button3);
    setTabOrder(Button3, Button1);
    setTabOrder(Button1, Button2);
    Edit1->setFocus();
    InstallFocusColour(this);
    RememberPosition(this, services_);
}

void Tfrm_Grid2Html::BitBtn1Click() {
    const QString chosen = services_.saveFileName(QString(), Edit1->text(), QStringLiteral("HTML dokumentum (*.htm;*.html)|*.htm;*.html"),
                                                  QStringLiteral("htm"), this);
    if (!chosen.isEmpty())
        Edit1->setText(chosen);
}

bool Tfrm_Grid2Html::WritePage() {
    const QString path = Edit1->text();
    page_.now = QDateTime::currentDateTime();
    try {
        WriteGridHtml(path, rows_, grid_, page_);
    } catch (const FileError &e) {
        services_.ShowError(e.message(), this);
        return false;
    }
    if (CheckBox1->isChecked())
        services_.OpenDocument(path, lastingOwner());
    return true;
}

void Tfrm_Grid2Html::Button1Click() {
    // A page that could not be written keeps the dialog open, so the path can be corrected.
    if (WritePage())
        accept();
}

void Tfrm_Grid2Html::Button3Click() {
    CheckBox1->setChecked(false);
    if (!WritePage())
        return;
    MailMessage m;
    m.subject = HtmlMailSubject;
    m.attachment = QFileInfo(Edit1->text()).absoluteFilePath();
    // The status line belongs to the window below.
    SendMapiMail(services_, m, lastingOwner(), [status = status_] {
        if (status)
            status(NoMailClient);
    });
}

QObject *Tfrm_Grid2Html::lastingOwner() {
    return parentWidget() ? static_cast<QObject *>(parentWidget()) : this;
}

void ExportGridHtml(AppContext &ctx, const Dataset &rows, const HtmlGrid &grid, const QString &title,
                    const QString &subtitle, const QString &groupField, const StatusLine &status, QWidget *parent) {
    HtmlPageText page;
    page.title = title;
    page.subtitle = subtitle;
    page.groupField = groupField;
    const QString path = QDir(ctx.settings.HtmlPath).filePath(HtmlFileName(title));
    Tfrm_Grid2Html dlg(ctx.services, rows, grid, page, path, status, parent);
    dlg.exec();
}

} // namespace kodexa
