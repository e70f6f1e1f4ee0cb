#include "exchange/Hatarolt.h"

#include "data/DesktopServices.h"
#include "data/Error.h"
#include "exchange/core/Pacer.h"
#include "exchange/core/RowSource.h"
#include "gui/Placed.h"
#include "gui/Widgets.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace kodexa {

namespace {
constexpr int Width = 720;

QGroupBox *RadioGroup(QWidget *parent, const QString &name, const QString &title, const QStringList &items,
                      int checked, QButtonGroup *&group) {
    auto *box = new QGroupBox(title, parent);
    box->setObjectName(name);
    group = new QButtonGroup(box);
    for (int i = 0; i < items.size(); ++i) {
        auto *b = new QRadioButton(items[i], box);
        b->setObjectName(name + QStringLiteral("_%1").arg(i));
        b->move(10, 18 + i * 19);
        b->adjustSize();
        group->addButton(b, i);
    }
    group->button(checked)->setChecked(true);
    return box;
}
} // namespace

Tfrm_Hatarolt::Tfrm_Hatarolt(RowSource &source, DesktopServices &services, QWidget *parent)
    : QDialog(parent), source_(source), services_(services) {
    SetUpDialog(this, "frm_Hatarolt", QStringLiteral("Határolt szöveg export"), {Width, 300});

    CheckListBox1 = Placed<QListWidget>(this, QStringLiteral("CheckListBox1"), {8, 8, 170, 226});
    for (const SourceColumn &c : source_.columns())
        AddTickItem(CheckListBox1, c.name);
    Button4 = Placed<QPushButton>(this, QStringLiteral("Button4"), {8, 240, 82, 25}, QStringLiteral("összes"));
    Button5 = Placed<QPushButton>(this, QStringLiteral("Button5"), {96, 240, 82, 25}, QStringLiteral("egyik sem"));

    RadioGroup2 = RadioGroup(this, QStringLiteral("RadioGroup2"), QStringLiteral("Határoló karakter"),
                             {QStringLiteral("Pontosvessző (;)"), QStringLiteral("Tabulátor"), QStringLiteral("Vessző (,)"),
                              QStringLiteral("Cső (|)")},
                             0, delimiters_);
    RadioGroup2->setGeometry(190, 8, 150, 100);
    RadioGroup1 = RadioGroup(this, QStringLiteral("RadioGroup1"), QStringLiteral("Szövegjelölő"),
                             {QStringLiteral("Idézőjel (\")"), QStringLiteral("Aposztróf (')"), QStringLiteral("Semmi")}, 2,
                             qualifiers_);
    RadioGroup1->setGeometry(348, 8, 150, 100);
    // The spreadsheet on a UTF-8 desktop reads UTF-8 with its mark without asking; the choice
    // is kept in Kodexa.ini for the next export.
    RadioGroup3 = RadioGroup(this, QStringLiteral("RadioGroup3"), QStringLiteral("Kódolás"),
                             {QStringLiteral("Windows-1250"), QStringLiteral("UTF-8 (táblázatkezelőknek)")},
                             ItemOfEncoding(LoadExportEncoding()), encodings_);
    RadioGroup3->setGeometry(506, 8, Width - 8 - 506, 100);
    CheckBox1 = Placed<QCheckBox>(this, QStringLiteral("CheckBox1"), {190, 118, Width - 8 - 190, 20},
                                  QStringLiteral("Többsoros mezőket is kiírja (egy sorba cső karakter választással)"));

    auto *label1 = Placed<QLabel>(this, QStringLiteral("Label1"), {190, 150, 200, 16}, QStringLiteral("Filenév"));
    Edit1 = Placed<QLineEdit>(this, QStringLiteral("Edit1"), {190, 168, Width - 8 - 32 - 190, 22});
    label1->setBuddy(Edit1);
    SpeedButton1 = Placed<QToolButton>(this, QStringLiteral("SpeedButton1"), {Width - 8 - 26, 168, 26, 22});
    SpeedButton1->setText(QStringLiteral("..."));
    SpeedButton1->setAccessibleName(QStringLiteral("File választás"));
    SpeedButton1->setToolTip(QStringLiteral("File választás"));

    Button1 = Placed<QPushButton>(this, QStringLiteral("Button1"), {190, 240, 120, 25}, QStringLiteral("Export indítás"));
    Button1->setDefault(true);
    Button3 = Placed<QPushButton>(this, QStringLiteral("Button3"), {320, 240, 120, 25}, QStringLiteral("Megállít"));
    Button3->setEnabled(false);
    Button3->setAutoDefault(false);
    Button2 = Placed<QPushButton>(this, QStringLiteral("Button2"), {Width - 8 - 120, 240, 120, 25}, QStringLiteral("Bezár"));
    Button2->setAutoDefault(false);
    ProgressBar1 = Placed<QProgressBar>(this, QStringLiteral("ProgressBar1"), {0, 278, Width, 22});
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setValue(0);

    connect(Button4, &QPushButton::clicked, this, [this] { tickAll(true); });
    connect(Button5, &QPushButton::clicked, this, [this] { tickAll(false); });
    connect(SpeedButton1, &QToolButton::clicked, this, &Tfrm_Hatarolt::chooseFile);
    connect(Button1, &QPushButton::clicked, this, &Tfrm_Hatarolt::startExport);
    connect(Button3, &QPushButton::clicked, this, &Tfrm_Hatarolt::stopExport);
    connect(Button2, &QPushButton::clicked, this, &Tfrm_Hatarolt::reject);

    InstallFocusColour(this);
    RememberPosition(this, services_);
    connect(this, &QDialog::finished, this, [this] {
        if (!fixedFormat_)
            Guarded(services_, this, [this] { SaveExportEncoding(EncodingOfItem(encodings_->checkedId())); });
    });
}

Tfrm_Hatarolt::~Tfrm_Hatarolt() = default;

void Tfrm_Hatarolt::setFixedFormat() {
    // The file the import reads back: always Windows-1250, and the user's choice for the
    // spreadsheet exports stays as it was.
    fixedFormat_ = true;
    delimiters_->button(1)->setChecked(true);
    qualifiers_->button(2)->setChecked(true);
    encodings_->button(ItemOfEncoding(TextEncoding::Windows1250))->setChecked(true);
    CheckBox1->setChecked(false);
    tickAll(true);
    for (QWidget *w : {RadioGroup2, RadioGroup1, RadioGroup3, static_cast<QWidget *>(CheckBox1), static_cast<QWidget *>(Button4),
                       static_cast<QWidget *>(Button5), static_cast<QWidget *>(CheckListBox1)})
        w->setEnabled(false);
}

void Tfrm_Hatarolt::setFileName(const QString &fileName) { Edit1->setText(fileName); }

void Tfrm_Hatarolt::tickAll(bool on) {
    for (int i = 0; i < CheckListBox1->count(); ++i)
        CheckListBox1->item(i)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

void Tfrm_Hatarolt::chooseFile() {
    const QString chosen = services_.saveFileName(
        QStringLiteral("Határolt szöveg export"), Edit1->text(),
        QStringLiteral("CSV állományok (*.csv)|*.csv|Text állományok (*.txt)|*.txt|Minden állomány (*.*)|*.*"),
        QStringLiteral("csv"), this);
    if (!chosen.isEmpty())
        Edit1->setText(chosen);
}

DelimitedOptions Tfrm_Hatarolt::options() const {
    DelimitedOptions o;
    o.delimiter = DelimiterOfItem(delimiters_->checkedId());
    o.qualifier = QualifierOfItem(qualifiers_->checkedId());
    o.multiLine = CheckBox1->isChecked();
    o.encoding = EncodingOfItem(encodings_->checkedId());
    for (int i = 0; i < CheckListBox1->count(); ++i)
        o.ticked.append(CheckListBox1->item(i)->checkState() == Qt::Checked);
    return o;
}

void Tfrm_Hatarolt::startExport() {
    if (busy_)
        return;
    const QString fileName = Edit1->text();
    if (fileName.isEmpty()) {
        services_.ShowError(QStringLiteral("Nincs filenév megadva."), this);
        Edit1->setFocus();
        return;
    }
    busy_ = true;
    running_ = true;
    Button1->setEnabled(false);
    Button3->setEnabled(true);
    const DelimitedOptions o = options();
    try {
        const qint64 rows = source_.rowCount();
        ProgressBar1->setRange(0, rows >= 0 ? int(std::min<qint64>(rows, INT_MAX)) : 0);
        ProgressBar1->setValue(0);
        Pacer pacer;
        const DelimitedResult r = WriteDelimited(source_, fileName, o, [&](qint64 done) {
            if (pacer.due()) {
                if (ProgressBar1->maximum() > 0)
                    ProgressBar1->setValue(int(std::min<qint64>(done, ProgressBar1->maximum())));
                QApplication::processEvents();
            }
            return running_;
        });
        ProgressBar1->setRange(0, 1);
        ProgressBar1->setValue(0);
        QString done = fileName + QStringLiteral(" file kész.");
        if (const QString warning = SplitValuesWarning(r); !warning.isEmpty())
            done += QLatin1Char('\n') + warning;
        services_.ShowInfo(done, this);
        if (r.replaced > 0)
            services_.ShowWarning(QStringLiteral("%1 karaktert a Windows-1250 kódlap nem tud tárolni; ezek helyén \"?\" áll a fileban.")
                                      .arg(r.replaced),
                                  this);
    } catch (const std::exception &e) {
        ProgressBar1->setRange(0, 1);
        ProgressBar1->setValue(0);
        services_.ShowError(QStringLiteral("Hiba: ") + ErrorText(e), this);
    }
    running_ = false;
    busy_ = false;
    Button3->setEnabled(false);
    Button1->setEnabled(true);
}

void Tfrm_Hatarolt::reject() {
    // Closing while the file is being written stops the export first; the dialog stays.
    if (busy_) {
        running_ = false;
        return;
    }
    QDialog::reject();
}

void ExportDelimited(RowSource &source, const QString &fileName, bool fixedFormat, DesktopServices &services,
                     QWidget *parent) {
    Tfrm_Hatarolt dlg(source, services, parent);
    if (fixedFormat)
        dlg.setFixedFormat();
    dlg.setFileName(fileName);
    dlg.exec();
}

} // namespace kodexa
