#include "admin/Beallit.h"

#include "admin/core/Beallit.h"
#include "data/Dataset.h"
#include "data/DesktopServices.h"
#include "data/Settings.h"
#include "gui/Widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace kodexa {

namespace {

// A small picture-only browse button; its name is for screen readers.
QPushButton *browseButton(QWidget *parent, const char *name, const char *icon, QStyle::StandardPixmap fallback,
                          const QString &accessibleName) {
    auto *b = new QPushButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setIcon(QIcon::fromTheme(QLatin1String(icon), QApplication::style()->standardIcon(fallback)));
    b->setAccessibleName(accessibleName);
    b->setToolTip(accessibleName);
    b->setAutoDefault(false);
    return b;
}

QLineEdit *labelledEdit(QWidget *parent, const char *name, const QString &label, int left, int top, int width) {
    auto *l = new QLabel(label, parent);
    l->move(left, top);
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setGeometry(left, top + 16, width, 21);
    l->setBuddy(e);
    return e;
}

} // namespace

Tfrm_Beallit::Tfrm_Beallit(AppContext &ctx, QWidget *parent)
    : QDialog(parent), ctx_(ctx), tbl_(std::make_unique<MemDataset>(ctx.db)) {
    SetUpDialog(this, "frm_Beallit", QStringLiteral("Beállítások"), {352, 350});

    CheckBox1 = new QCheckBox(QStringLiteral("Megnyitáskor teljes képernyő"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(16, 12, 320, 20);

    auto *dbBox = new QGroupBox(QStringLiteral("Adatbázis"), this);
    dbBox->setObjectName(QStringLiteral("GroupBox1"));
    dbBox->setGeometry(8, 40, 336, 144);
    DBCheckBox1 = new QCheckBox(QStringLiteral("Belépéskor jelszót kér"), dbBox);
    DBCheckBox1->setObjectName(QStringLiteral("DBCheckBox1"));
    DBCheckBox1->setGeometry(12, 22, 300, 20);
    Edit2 = labelledEdit(dbBox, "Edit2", QStringLiteral("Adatbázis elérési útvonala"), 12, 48, 284);
    auto *bitBtn1 = browseButton(dbBox, "BitBtn1", "document-open", QStyle::SP_DialogOpenButton,
                                 QStringLiteral("Adatbázis tallózása"));
    bitBtn1->setGeometry(300, 63, 25, 23);
    Edit3 = labelledEdit(dbBox, "Edit3", QStringLiteral("HTML exportok mappája"), 12, 92, 284);
    auto *bitBtn3 = browseButton(dbBox, "BitBtn3", "folder-open", QStyle::SP_DirOpenIcon,
                                 QStringLiteral("HTML mappa tallózása"));
    bitBtn3->setGeometry(300, 107, 25, 23);

    auto *mailBox = new QGroupBox(QStringLiteral("Levélküldés"), this);
    mailBox->setObjectName(QStringLiteral("GroupBox2"));
    mailBox->setGeometry(8, 192, 336, 112);
    DBEdit1 = labelledEdit(mailBox, "DBEdit1", QStringLiteral("küldő neve"), 12, 20, 312);
    DBEdit2 = labelledEdit(mailBox, "DBEdit2", QStringLiteral("küldő emil cím"), 12, 62, 312);

    auto *button1 = new QPushButton(QStringLiteral("OK"), this);
    button1->setObjectName(QStringLiteral("Button1"));
    button1->setGeometry(188, 316, 75, 25);
    auto *button2 = new QPushButton(QStringLiteral("Mégsem"), this);
    button2->setObjectName(QStringLiteral("Button2"));
    button2->setGeometry(269, 316, 75, 25);

    setTabOrder(CheckBox1, Edit2);
    setTabOrder(Edit2, bitBtn1);
    setTabOrder(bitBtn1, Edit3);
    setTabOrder(Edit3, bitBtn3);
    setTabOrder(bitBtn3, DBCheckBox1);
    setTabOrder(DBCheckBox1, DBEdit1);
    setTabOrder(DBEdit1, DBEdit2);
    setTabOrder(DBEdit2, button1);
    setTabOrder(button1, button2);

    // The record's values, taken back only on OK.
    CheckBox1->setChecked(ctx_.settings.FullScreen);
    Edit2->setText(ctx_.settings.DatabasePath);
    Edit3->setText(ctx_.settings.HtmlPath);

    // The catalogue's settings row is edited in place for as long as the dialog is open.
    tbl_->openTable(QStringLiteral("beallit"), QStringLiteral("beallit"));
    if (tbl_->isEmpty()) {
        tbl_->insert();
        tbl_->setValue(QStringLiteral("beallit"), 1);
    } else {
        tbl_->first();
        tbl_->edit();
    }
    DBCheckBox1->setChecked(tbl_->text(QStringLiteral("vanbelep")) == QLatin1String("I"));
    connect(DBCheckBox1, &QCheckBox::toggled, this, [this](bool on) {
        tbl_->setValue(QStringLiteral("vanbelep"), on ? QStringLiteral("I") : QStringLiteral("N"));
    });
    bindText(DBEdit1, QStringLiteral("sendername"), 50);
    bindText(DBEdit2, QStringLiteral("senderemil"), 75);

    InstallEnterAsTab(this);
    InstallFocusColour(this);
    RememberPosition(this, ctx_.services);

    connect(bitBtn1, &QPushButton::clicked, this, [this] { Guarded(ctx_.services, this, [this] { BitBtn1Click(); }); });
    connect(bitBtn3, &QPushButton::clicked, this, [this] { Guarded(ctx_.services, this, [this] { BitBtn3Click(); }); });
    connect(button1, &QPushButton::clicked, this, &Tfrm_Beallit::accept);
    connect(button2, &QPushButton::clicked, this, &Tfrm_Beallit::reject);
}

Tfrm_Beallit::~Tfrm_Beallit() {
    tbl_->cancel();
    tbl_->close();
}

void Tfrm_Beallit::bindText(QLineEdit *edit, const QString &field, int maxLength) {
    edit->setMaxLength(maxLength);
    edit->setText(tbl_->text(field));
    connect(edit, &QLineEdit::textEdited, this, [this, field](const QString &text) { tbl_->setValue(field, text); });
}

void Tfrm_Beallit::BitBtn1Click() {
    const QString start = QFileInfo(Edit2->text()).absolutePath();
    const QString chosen = ctx_.services.openFileName(QStringLiteral("Adatbázis választás"), start,
                                                      QStringLiteral("SQB állományok (*.sqb)|*.sqb"), QStringLiteral(".sqb"), this);
    if (!chosen.isEmpty())
        Edit2->setText(chosen);
}

void Tfrm_Beallit::BitBtn3Click() {
    const QString chosen = ctx_.services.chooseFolder(QStringLiteral("Adatbázis útvonala"), Edit3->text(), this);
    if (!chosen.isEmpty())
        Edit3->setText(chosen);
}

void Tfrm_Beallit::accept() {
    // A path to no file would end the next start before any window opens; the user
    // corrects it here rather than in the configuration file.
    if (const QString problem = DatabasePathProblem(Edit2->text()); !problem.isEmpty()) {
        ctx_.services.ShowError(problem, this);
        Edit2->setFocus();
        return;
    }
    ctx_.settings.FullScreen = CheckBox1->isChecked();
    ctx_.settings.DatabasePath = Edit2->text();
    ctx_.settings.HtmlPath = Edit3->text();
    try {
        tbl_->post();
    } catch (const Error &e) {
        // The record's values stay taken; the row is left as it was in the file.
        tbl_->cancel();
        ctx_.services.ShowError(e.message(), this);
    }
    QDialog::accept();
}

void Tfrm_Beallit::reject() {
    tbl_->cancel();
    QDialog::reject();
}

bool ShowSettings(AppContext &ctx, QWidget *parent) {
    Tfrm_Beallit dlg(ctx, parent);
    return dlg.exec() == QDialog::Accepted;
}

} // namespace kodexa
