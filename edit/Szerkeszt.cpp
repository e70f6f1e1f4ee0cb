#include "edit/Szerkeszt.h"

#include "data/BookList.h"
#include "data/DesktopServices.h"
#include "data/Kozos.h"
#include "data/LookupTables.h"
#include "data/Seged.h"
#include "edit/TorzsAdat.h"
#include "edit/core/BookEdit.h"
#include "edit/core/Picture.h"
#include "gui/CoverPicture.h"
#include "gui/Widgets.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QKeyEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QStringListModel>
#include <QTabWidget>
#include <QToolButton>

namespace kodexa {

namespace {

const QString PictureFilter = QStringLiteral("JPeg képek (*.jpg)|*.jpg");

QString col(const char *name) { return QString::fromLatin1(name); }

// The editor button's blue plus sign, drawn here rather than taken from a theme.
QIcon PlusIcon() {
    QPixmap pm(13, 13);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.fillRect(5, 1, 3, 11, QColor(0, 64, 200));
    p.fillRect(1, 5, 11, 3, QColor(0, 64, 200));
    return QIcon(pm);
}

// A label above its control, the way every row of the page reads.
QVBoxLayout *Labelled(QWidget *parent, const QString &caption, QWidget *buddy, QLayout *content = nullptr) {
    auto *box = new QVBoxLayout;
    box->setSpacing(1);
    auto *label = new QLabel(caption, parent);
    label->setBuddy(buddy);
    box->addWidget(label);
    if (content)
        box->addLayout(content);
    else
        box->addWidget(buddy);
    return box;
}

QString TextOf(QWidget *w) {
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e->text();
    if (auto *c = qobject_cast<QComboBox *>(w))
        return c->currentText();
    return QString();
}

void SetTextOf(QWidget *w, const QString &text) {
    QLineEdit *edit = qobject_cast<QLineEdit *>(w);
    if (auto *c = qobject_cast<QComboBox *>(w)) {
        c->setEditText(text);
        edit = c->lineEdit();
    } else if (edit) {
        edit->setText(text);
    }
    // A text longer than its box shows its beginning, as it is read, not its end.
    if (edit)
        edit->setCursorPosition(0);
}

QString ShownDate(const QVariant &v) {
    const QDate d = StoredDate(v);
    return d.isValid() ? d.toString(QStringLiteral("yyyy.MM.dd.")) : VarToText(v);
}

} // namespace

Tfrm_Szerkeszt::Tfrm_Szerkeszt(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    SetUpDialog(this, "frm_Szerkeszt", QStringLiteral("Szerkesztés"), {487, 428});
    original_ = ctx_.tbl.buffer();

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(4, 4, 479, 377);
    auto *dataPage = new QWidget;
    dataPage->setObjectName(QStringLiteral("TabSheet1"));
    auto *contentsPage = new QWidget;
    contentsPage->setObjectName(QStringLiteral("TabSheet2"));
    auto *picturePage = new QWidget;
    picturePage->setObjectName(QStringLiteral("TabSheet3"));
    PageControl1->addTab(dataPage, QStringLiteral("Adatlap"));
    PageControl1->addTab(contentsPage, QStringLiteral("Tartalom"));
    PageControl1->addTab(picturePage, QStringLiteral("Kép"));
    buildDataPage(dataPage);
    buildContentsPage(contentsPage);
    buildPicturePage(picturePage);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(319, 392, 75, 25);
    Button2 = new QPushButton(QStringLiteral("Mégsem"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(404, 392, 75, 25);
    // Neither is the default button: Enter moves between the fields instead.
    for (QPushButton *b : {Button1, Button2}) {
        b->setAutoDefault(false);
        b->setDefault(false);
        b->installEventFilter(this);
    }
    connect(Button1, &QPushButton::clicked, this, &Tfrm_Szerkeszt::accept);
    connect(Button2, &QPushButton::clicked, this, &Tfrm_Szerkeszt::reject);
    // Said beside the buttons, never in the way: the book is saved all the same.
    lblFigyelem = new QLabel(this);
    lblFigyelem->setObjectName(QStringLiteral("lblFigyelem"));
    lblFigyelem->setGeometry(8, 388, 305, 34);
    lblFigyelem->setWordWrap(true);
    lblFigyelem->setStyleSheet(QStringLiteral("color: #a00000;"));
    for (QLineEdit *e : {DBEdit6, DBEdit7, DBComboBox1->lineEdit()})
        connect(e, &QLineEdit::editingFinished, this, &Tfrm_Szerkeszt::updateWarnings);

    setTabChain();
    fillLists();
    loadValues();
    updateWarnings();

    InstallEnterAsTab(this, {DBMemo1});
    InstallFocusColour(this);
    RememberPosition(this, ctx_.services);
}

Tfrm_Szerkeszt::~Tfrm_Szerkeszt() = default;

void Tfrm_Szerkeszt::buildDataPage(QWidget *page) {
    auto lineEdit = [&](const char *name, const char *column) {
        auto *e = new QLineEdit(page);
        e->setObjectName(QString::fromLatin1(name));
        columns_.insert(e, col(column));
        return e;
    };
    auto combo = [&](const char *name, const char *column) {
        auto *c = new QComboBox(page);
        c->setObjectName(QString::fromLatin1(name));
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setMaxVisibleItems(16);
        // Long names must not widen the fixed layout.
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        c->setMinimumContentsLength(4);
        columns_.insert(c, col(column));
        return c;
    };

    DBEdit18 = lineEdit("DBEdit18", "konyvek");
    DBEdit6 = lineEdit("DBEdit6", "cim");
    for (QLineEdit *e : {DBEdit18, DBEdit6}) {
        QFont f = e->font();
        f.setBold(true);
        e->setFont(f);
    }
    DBComboBox1 = combo("DBComboBox1", "szerzo_nev");
    DBComboBox2 = combo("DBComboBox2", "szerkesztok");
    BitBtn2 = new QToolButton(page);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setIcon(PlusIcon());
    BitBtn2->setIconSize(QSize(13, 13));
    BitBtn2->setFixedSize(25, 21);
    BitBtn2->setFocusPolicy(Qt::NoFocus);
    DBEdit8 = lineEdit("DBEdit8", "alcim");
    DBEdit7 = lineEdit("DBEdit7", "isbn");
    DBComboBox3 = combo("DBComboBox3", "polc_nev");
    DBComboBox4 = combo("DBComboBox4", "kiado_nev");
    DBComboBox5 = combo("DBComboBox5", "sorozat_nev");
    DBComboBox6 = combo("DBComboBox6", "targykor_nev");
    DBComboBox7 = combo("DBComboBox7", "mufaj_nev");
    DBEdit13 = lineEdit("DBEdit13", "kiadas");
    DBEdit14 = lineEdit("DBEdit14", "kotetszam");
    DBEdit15 = lineEdit("DBEdit15", "terjedelem");
    DBEdit16 = lineEdit("DBEdit16", "ar");
    DBComboBox8 = combo("DBComboBox8", "nyelv_nev");
    DateTimePicker1 = new QDateEdit(page);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setCalendarPopup(false);
    DateTimePicker1->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    DateTimePicker1->setDisplayFormat(QStringLiteral("yyyy.MM.dd."));
    DBCheckBox1 = new QCheckBox(QStringLiteral("Dedikált"), page);
    DBCheckBox1->setObjectName(QStringLiteral("DBCheckBox1"));
    DBEdit19 = lineEdit("DBEdit19", "kulcsszavak");
    DBCheckBox2 = new QCheckBox(QStringLiteral("Kölcsönadva?"), page);
    DBCheckBox2->setObjectName(QStringLiteral("DBCheckBox2"));
    // Lending is changed by its own command; here it is only shown, and looks so.
    DBCheckBox2->setEnabled(false);
    DBText1 = new QLabel(page);
    DBText1->setObjectName(QStringLiteral("DBText1"));
    DBText2 = new QLabel(page);
    DBText2->setObjectName(QStringLiteral("DBText2"));
    for (QLabel *l : {DBText1, DBText2}) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }

    textControls_ = {DBEdit6,     DBComboBox1, DBComboBox2, DBEdit8,     DBEdit7,     DBComboBox3, DBComboBox4,
                     DBComboBox5, DBComboBox6, DBComboBox7, DBComboBox8, DBEdit19};
    numberControls_ = {DBEdit18, DBEdit13, DBEdit14, DBEdit15, DBEdit16};
    // Whole numbers only (no sign, no separators); an empty field stays empty (NULL).
    static const QRegularExpression digits(QStringLiteral("\\d{0,9}"));
    for (QLineEdit *e : numberControls_)
        e->setValidator(new QRegularExpressionValidator(digits, e));
    // A text holds no more than its column does, so nothing is cut silently on writing.
    const FieldList &fields = ctx_.tbl.fields();
    for (QWidget *w : textControls_) {
        const int i = fields.indexOf(columns_.value(w));
        const int size = i >= 0 ? fields.fields[i].size : 0;
        if (size <= 0)
            continue;
        if (auto *e = qobject_cast<QLineEdit *>(w))
            e->setMaxLength(size);
        else if (auto *c = qobject_cast<QComboBox *>(w))
            c->lineEdit()->setMaxLength(size);
    }

    auto *v = new QVBoxLayout(page);
    v->setContentsMargins(8, 6, 8, 6);
    v->setSpacing(4);
    auto row = [&](std::initializer_list<std::pair<QLayout *, int>> items) {
        auto *h = new QHBoxLayout;
        h->setSpacing(8);
        for (const auto &[layout, stretch] : items)
            h->addLayout(layout, stretch);
        v->addLayout(h);
        return h;
    };
    row({{Labelled(page, QStringLiteral("id"), DBEdit18), 1}, {Labelled(page, QStringLiteral("cím"), DBEdit6), 5}});
    auto *editorsRow = new QHBoxLayout;
    editorsRow->setSpacing(2);
    editorsRow->addWidget(DBComboBox2, 1);
    editorsRow->addWidget(BitBtn2);
    auto *editors = Labelled(page, QStringLiteral("szerkesztők (további szerzők)"), DBComboBox2, editorsRow);
    row({{Labelled(page, QStringLiteral("szerző"), DBComboBox1), 1}, {editors, 1}});
    row({{Labelled(page, QStringLiteral("alcím"), DBEdit8), 3},
         {Labelled(page, QStringLiteral("isbn"), DBEdit7), 2},
         {Labelled(page, QStringLiteral("polc"), DBComboBox3), 1}});
    row({{Labelled(page, QStringLiteral("kiadó"), DBComboBox4), 1},
         {Labelled(page, QStringLiteral("sorozat"), DBComboBox5), 1},
         {Labelled(page, QStringLiteral("tárgykör"), DBComboBox6), 1}});
    row({{Labelled(page, QStringLiteral("műfaj"), DBComboBox7), 4},
         {Labelled(page, QStringLiteral("kiadás"), DBEdit13), 1},
         {Labelled(page, QStringLiteral("kötetszám"), DBEdit14), 1},
         {Labelled(page, QStringLiteral("terjedelem"), DBEdit15), 1},
         {Labelled(page, QStringLiteral("ár"), DBEdit16), 1}});
    auto *dedikalt = new QVBoxLayout;
    dedikalt->addStretch();
    dedikalt->addWidget(DBCheckBox1);
    row({{Labelled(page, QStringLiteral("nyelv"), DBComboBox8), 2},
         {Labelled(page, QStringLiteral("beszerzés"), DateTimePicker1), 1},
         {dedikalt, 1}});
    row({{Labelled(page, QStringLiteral("kulcsszavak"), DBEdit19), 1}});
    auto *lent = new QVBoxLayout;
    lent->addStretch();
    lent->addWidget(DBCheckBox2);
    row({{lent, 1}, {Labelled(page, QStringLiteral("dátum"), DBText1), 1}, {Labelled(page, QStringLiteral("kinek"), DBText2), 2}});
    v->addStretch();

    connect(BitBtn2, &QToolButton::clicked, this, [this] { Guarded(ctx_.services, this, [this] { addEditor(); }); });
}

void Tfrm_Szerkeszt::buildContentsPage(QWidget *page) {
    DBMemo1 = new QPlainTextEdit(page);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->setFont(QFont(QStringLiteral("Lucida Console"), 9));
    DBMemo1->setTabChangesFocus(true);
    auto *v = new QVBoxLayout(page);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(DBMemo1);
}

void Tfrm_Szerkeszt::buildPicturePage(QWidget *page) {
    Panel1 = new QFrame(page);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::NoFrame);
    Panel1->setGeometry(12, 12, 245, 317);
    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setScaledContents(true);
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setWordWrap(true);
    Image1->setGeometry(0, 0, 245, 317);
    Button7 = new QPushButton(QStringLiteral("Kép választás (JPeg)"), page);
    Button7->setObjectName(QStringLiteral("Button7"));
    Button7->setGeometry(272, 12, 180, 25);
    Button8 = new QPushButton(QStringLiteral("Kép törlése"), page);
    Button8->setObjectName(QStringLiteral("Button8"));
    Button8->setGeometry(272, 44, 180, 25);
    for (QPushButton *b : {Button7, Button8}) {
        b->setAutoDefault(false);
        b->installEventFilter(this);
    }
    connect(Button7, &QPushButton::clicked, this, [this] { Guarded(ctx_.services, this, [this] { choosePicture(); }); });
    connect(Button8, &QPushButton::clicked, this, [this] { Guarded(ctx_.services, this, [this] { deletePicture(); }); });
}

void Tfrm_Szerkeszt::setTabChain() {
    const QList<QWidget *> chain = {DBEdit18,    DBEdit6,     DBComboBox1, DBComboBox2, DBEdit8,     DBEdit7,
                                    DBComboBox3, DBComboBox4, DBComboBox5, DBComboBox6, DBComboBox7, DBEdit13,
                                    DBEdit14,    DBEdit15,    DBEdit16,    DBComboBox8, DateTimePicker1,
                                    DBCheckBox1, DBEdit19,    Button1,     Button2};
    for (int i = 0; i + 1 < chain.size(); ++i)
        setTabOrder(chain[i], chain[i + 1]);
}

void Tfrm_Szerkeszt::fillLists() {
    // Each lookup's combo box lists its table's names, in the order the tables are resolved.
    for (const LookupTable *t : BookResolveOrder()) {
        auto *box = qobject_cast<QComboBox *>(columns_.key(QLatin1String(t->nameColumn)));
        box->setModel(new QStringListModel(NameLines(NameList(ctx_.db, QLatin1String(t->table))), this));
        // The editors share the authors' list: a large author table is read and held once.
        if (box == DBComboBox1)
            DBComboBox2->setModel(box->model());
    }
}

void Tfrm_Szerkeszt::loadValues() {
    const Record &r = original_;
    DBEdit18->setText(BookKeyText(r.value(QStringLiteral("konyvek"))));
    for (QWidget *w : textControls_)
        SetTextOf(w, r.text(columns_.value(w)));
    for (QLineEdit *e : numberControls_.mid(1))
        e->setText(r.text(columns_.value(e)));
    for (QWidget *w : textControls_)
        loaded_.insert(w, TextOf(w));
    for (QLineEdit *e : numberControls_)
        loaded_.insert(e, e->text());
    DBMemo1->setPlainText(r.text(QStringLiteral("tartalom")));
    loaded_.insert(DBMemo1, DBMemo1->toPlainText());

    // A row without a readable purchase date shows today; OK writes what the picker shows.
    const QDate bought = StoredDate(r.value(QStringLiteral("dat_besz")));
    DateTimePicker1->setDate(bought.isValid() ? bought : QDate::currentDate());

    dedikaltLoaded_ = r.text(QStringLiteral("dedikalt")) == QLatin1String("I");
    DBCheckBox1->setChecked(dedikaltLoaded_);
    DBCheckBox2->setChecked(r.text(QStringLiteral("kolcsonadva")) == QLatin1String("I"));
    DBText1->setText(ShownDate(r.value(QStringLiteral("kolcsonadva_dat"))));
    DBText2->setText(r.text(QStringLiteral("kolcsonadva_kinek")));

    qint64 key = 0;
    if (currentKey(key) && HasCoverPicture(key)) {
        // A stored picture that cannot be read does not keep the book from being edited.
        if (!showPicture(ReadCoverPicture(key)))
            clearPicture(QStringLiteral("A kép nem tölthető be."));
    }
}

bool Tfrm_Szerkeszt::eventFilter(QObject *watched, QEvent *event) {
    // No button is the default one, so a focused button is pressed by Enter here.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        auto *button = qobject_cast<QPushButton *>(watched);
        if (button && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            button->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Tfrm_Szerkeszt::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        PageControl1->setCurrentIndex(0);
        DBEdit6->setFocus(Qt::OtherFocusReason);
    }
}

bool Tfrm_Szerkeszt::currentKey(qint64 &key) const {
    bool ok = false;
    key = DBEdit18->text().trimmed().toLongLong(&ok);
    return ok;
}

bool Tfrm_Szerkeszt::showPicture(const QImage &image) {
    if (image.isNull())
        return false;
    Image1->setText(QString());
    Image1->setPixmap(QPixmap::fromImage(image));
    Image1->setGeometry(FitPicture(image.size(), Panel1->size()));
    return true;
}

void Tfrm_Szerkeszt::clearPicture(const QString &note) {
    Image1->setPixmap(QPixmap());
    Image1->setText(note);
    Image1->setGeometry(0, 0, Panel1->width(), Panel1->height());
}

void Tfrm_Szerkeszt::choosePicture() {
    qint64 key = 0;
    if (!currentKey(key)) {
        ctx_.services.ShowWarning(QStringLiteral("A könyvnek nincs azonosítója, ezért képet sem kaphat."), this);
        return;
    }
    const QString source = ctx_.services.openFileName(QStringLiteral("Játékos kép választás"), QString(), PictureFilter,
                                                      QStringLiteral(".jpg"), this);
    if (source.isEmpty())
        return;
    Guarded(ctx_.services, this, [&] {
        StoreCoverPicture(source, key);
        if (!showPicture(ReadCoverPicture(key)))
            ctx_.services.ShowError(QStringLiteral("A kép nem tölthető be: %1").arg(PicturePath(key)), this);
    });
}

void Tfrm_Szerkeszt::deletePicture() {
    qint64 key = 0;
    if (!currentKey(key))
        return;
    if (!HasCoverPicture(key))
        return;
    if (!ctx_.services.AskYesNo(QStringLiteral("Valóban töröljem a képet?"), QStringLiteral("Megerősítés"), this))
        return;
    Guarded(ctx_.services, this, [&] {
        DeleteCoverPicture(key);
        clearPicture();
    });
}

void Tfrm_Szerkeszt::addEditor() {
    const MasterPick pick = ChooseMasterData(ctx_, 0, true, this);
    if (!pick.accepted || pick.key <= 0)
        return;
    const QString text = AppendEditor(DBComboBox2->currentText(), pick.name);
    const int room = DBComboBox2->lineEdit()->maxLength();
    if (text.size() > room) {
        ctx_.services.ShowWarning(
            QStringLiteral("A szerkesztők mezőbe legfeljebb %1 karakter fér, a szerző nem fér hozzá.").arg(room), this);
        return;
    }
    DBComboBox2->setEditText(text);
}

QVector<TypedField> Tfrm_Szerkeszt::typedFields() const {
    QVector<TypedField> out;
    for (QWidget *w : textControls_)
        out.append({columns_.value(w), loaded_.value(w), TextOf(w), TypedField::Text});
    for (QLineEdit *e : numberControls_)
        out.append({columns_.value(e), loaded_.value(e), e->text(), TypedField::WholeNumber});
    out.append({QStringLiteral("tartalom"), loaded_.value(DBMemo1), DBMemo1->toPlainText(), TypedField::Contents});
    return out;
}

bool Tfrm_Szerkeszt::storeValues() {
    BookList &tbl = ctx_.tbl;
    const FieldList &fields = tbl.fields();
    // Whole numbers and the contents are checked before anything is written.
    const QVector<TypedField> typed = typedFields();
    if (const FieldRefusal refused = FirstRefusedField(fields, typed); refused.index >= 0) {
        ctx_.services.ShowWarning(refused.reason, this);
        // The contents are the one field that is not bound in columns_.
        QWidget *control = typed[refused.index].kind == TypedField::Contents ? DBMemo1 : columns_.key(typed[refused.index].column);
        PageControl1->setCurrentIndex(control == DBMemo1 ? 1 : 0);
        control->setFocus();
        return false;
    }

    // Every attempt starts from the row as it was, so a refused write leaves no trace of
    // the lookups resolved for it.
    tbl.buffer() = original_;
    StoreChangedFields(tbl.buffer(), typed);
    if (DBCheckBox1->isChecked() != dedikaltLoaded_)
        tbl.setValue(QStringLiteral("dedikalt"), DBCheckBox1->isChecked() ? QStringLiteral("I") : QStringLiteral("N"));
    tbl.setValue(QStringLiteral("dat_besz"), DateTimePicker1->date());
    return true;
}

void Tfrm_Szerkeszt::updateWarnings() {
    try {
        const QStringList w = BookWarnings(ctx_.db, ctx_.tbl.buffer().value(QStringLiteral("konyvek")).toLongLong(),
                                           ctx_.tbl.state() == DsState::Insert, DBEdit7->text(), DBEdit6->text(),
                                           DBComboBox1->currentText());
        // Two lines fit; the rest is in the tooltip.
        lblFigyelem->setText(w.mid(0, 2).join(QLatin1Char('\n')));
        lblFigyelem->setToolTip(w.join(QLatin1Char('\n')));
    } catch (const Error &) {
        lblFigyelem->clear(); // only advice: a catalogue that cannot be read now says so on OK
    }
}

void Tfrm_Szerkeszt::accept() {
    try {
        if (!storeValues())
            return;
        // A new author, publisher, ... and the book are written together or not at all.
        Transaction tx(ctx_.db);
        ResolveBookLookups(ctx_.db, ctx_.tbl.buffer());
        ctx_.tbl.post();
        tx.commit();
    } catch (const std::exception &e) {
        // The dialog stays open with what was typed: the user may correct it or cancel.
        ctx_.services.ShowError(ErrorText(e), this);
        return;
    }
    QDialog::accept();
}

bool ShowBookEdit(AppContext &ctx, bool isNew, QWidget *parent) {
    BookList &tbl = ctx.tbl;
    if (isNew)
        tbl.insert();
    else
        tbl.edit();
    bool posted = false;
    try {
        // The key is taken before the dialog shows, so a picture chosen now is stored under it.
        if (isNew)
            NewBookDefaults(ctx.db, tbl.buffer());
        Tfrm_Szerkeszt dialog(ctx, parent);
        posted = dialog.exec() == QDialog::Accepted;
    } catch (...) {
        tbl.cancel();
        throw;
    }
    if (!posted)
        tbl.cancel();
    return posted;
}

} // namespace kodexa
