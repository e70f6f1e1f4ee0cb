#include "admin/FelhasznaloSzerkeszt.h"

#include "admin/core/Users.h"
#include "data/Dataset.h"
#include "data/DesktopServices.h"
#include "data/Seged.h"
#include "gui/Widgets.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>

namespace kodexa {

namespace {
// An emptied edit stores NULL, as a never-filled field would be.
QVariant EditValue(const QLineEdit *e) { return e->text().isEmpty() ? QVariant() : QVariant(e->text()); }
} // namespace

Tfrm_FelhasznaloSzerkeszt::Tfrm_FelhasznaloSzerkeszt(Dataset &ds, DesktopServices &services, QWidget *parent)
    : QDialog(parent), ds_(ds), services_(services) {
    SetUpDialog(this, "frm_FelhasznaloSzerkeszt", QStringLiteral("Felhasználó adatainak szerkesztése"), {302, 195});

    const auto edit = [this](const char *name, int maxLength, bool password) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        if (maxLength > 0)
            e->setMaxLength(maxLength);
        if (password)
            SetStarEcho(e);
        return e;
    };
    DBEdit1 = edit("DBEdit1", UserCodeLength, false);
    DBCheckBox1 = new QCheckBox(QStringLiteral("Rendszergazda"), this);
    DBCheckBox1->setObjectName(QStringLiteral("DBCheckBox1"));
    DBCheckBox2 = new QCheckBox(QStringLiteral("Szerkesztés"), this);
    DBCheckBox2->setObjectName(QStringLiteral("DBCheckBox2"));
    DBEdit3 = edit("DBEdit3", UserNameLength, false);
    DBEdit2 = edit("DBEdit2", PasswordLength, true);
    Edit1 = edit("Edit1", 0, true);
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnCancel = new QPushButton(QStringLiteral("Mégsem"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto *form = new QGridLayout;
    int row = 0;
    const auto labelled = [this, form, &row](const char *caption, QWidget *w) {
        auto *l = new QLabel(QString::fromUtf8(caption), this);
        l->setBuddy(w);
        form->addWidget(l, row, 0);
        form->addWidget(w, row++, 1);
    };
    labelled("felhasználó kódja", DBEdit1);
    auto *flags = new QHBoxLayout;
    flags->addWidget(DBCheckBox1);
    flags->addWidget(DBCheckBox2);
    flags->addStretch();
    form->addLayout(flags, row++, 0, 1, 2);
    labelled("felhasználó neve", DBEdit3);
    labelled("jelszó", DBEdit2);
    labelled("jelszó még egyszer", Edit1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
    layout->addLayout(buttons);

    QWidget *order[] = {DBEdit1, DBCheckBox1, DBCheckBox2, DBEdit3, DBEdit2, Edit1, btnOK, btnCancel};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    for (QPushButton *b : {btnOK, btnCancel})
        b->setAutoDefault(false);

    InstallEnterAsTab(this);
    InstallFocusColour(this);
    connect(btnOK, &QPushButton::clicked, this, [this] { Guarded(services_, this, [this] { btnOKClick(); }); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    RememberPosition(this, services_);
}

void Tfrm_FelhasznaloSzerkeszt::load() {
    // A value stored by another tool may be longer than its column: it is shown whole, and
    // kept as it is unless the user changes it.
    const auto show = [this](QLineEdit *e, const char *field, int columnLength) {
        const QString stored = ds_.text(QLatin1String(field));
        if (columnLength > 0)
            e->setMaxLength(std::max(columnLength, int(stored.size())));
        e->setText(stored);
        shown_[e] = e->text();
    };
    show(DBEdit1, "felhasznalo", UserCodeLength);
    DBCheckBox1->setChecked(IsYes(ds_.value(QStringLiteral("rendszergazda"))));
    DBCheckBox2->setChecked(IsYes(ds_.value(QStringLiteral("torzsszerkeszt"))));
    show(DBEdit3, "felhasznalo_nev", UserNameLength);
    show(DBEdit2, "jelszo", PasswordLength);
    // The confirmation takes any length: a password cut by its edit is refused, not stored cut.
    show(Edit1, "jelszo", 0);
    DBEdit1->setFocus();
}

bool Tfrm_FelhasznaloSzerkeszt::edited(const QLineEdit *e) const { return e->text() != shown_.value(e); }

void Tfrm_FelhasznaloSzerkeszt::btnOKClick() {
    struct Bound {
        QLineEdit *edit;
        const char *field, *label;
        int length;
    };
    const Bound bound[] = {{DBEdit1, "felhasznalo", "felhasználó kódja", UserCodeLength},
                           {DBEdit3, "felhasznalo_nev", "felhasználó neve", UserNameLength},
                           {DBEdit2, "jelszo", "jelszó", PasswordLength}};
    // What the user typed must fit its column; a longer stored value left alone is no fault.
    for (const Bound &b : bound)
        if (const QString refusal = TextLengthRefusal(QString::fromUtf8(b.label), b.length, b.edit->text());
            edited(b.edit) && !refusal.isEmpty()) {
            services_.ShowError(refusal, this);
            b.edit->setFocus();
            return;
        }
    const QVariant password = edited(DBEdit2) ? EditValue(DBEdit2) : ds_.value(QStringLiteral("jelszo"));
    const QString confirmation = edited(Edit1) ? Edit1->text() : ds_.text(QStringLiteral("jelszo"));
    if (const QString problem = UserEditProblem(password, confirmation); !problem.isEmpty()) {
        services_.ShowError(problem, this);
        return;
    }
    // Only what was changed is set: the row keeps every stored value whole otherwise.
    for (const Bound &b : bound)
        if (edited(b.edit))
            ds_.setValue(QLatin1String(b.field), EditValue(b.edit));
    ds_.setValue(QStringLiteral("rendszergazda"), YesNo(DBCheckBox1->isChecked()));
    ds_.setValue(QStringLiteral("torzsszerkeszt"), YesNo(DBCheckBox2->isChecked()));
    accept();
}

} // namespace kodexa
