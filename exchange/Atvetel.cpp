#include "exchange/Atvetel.h"

#include "data/DesktopServices.h"
#include "data/Error.h"
#include "data/TextFile.h"
#include "gui/Widgets.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace kodexa {

using namespace csv;

namespace {

QTableWidget *ReadOnlyTable(QWidget *parent, const QString &name) {
    auto *t = new QTableWidget(parent);
    t->setObjectName(name);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionMode(QAbstractItemView::NoSelection);
    t->verticalHeader()->setVisible(false);
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

QWizardPage *MakePage(const QString &title, const QString &subTitle) {
    auto *p = new QWizardPage;
    p->setTitle(title);
    p->setSubTitle(subTitle);
    return p;
}

} // namespace

qint64 RunCsvWizard(AppContext &ctx, QWidget *parent) {
    Tfrm_Atvetel dlg(ctx, parent);
    dlg.exec();
    return dlg.changedBooks();
}

Tfrm_Atvetel::Tfrm_Atvetel(AppContext &ctx, QWidget *parent) : QWizard(parent), ctx_(ctx) {
    SetUpDialog(this, "frm_Atvetel", QStringLiteral("Könyvek átvétele más programból"));
    setWizardStyle(QWizard::ClassicStyle);
    setOption(QWizard::NoBackButtonOnLastPage);
    setButtonText(QWizard::BackButton, QStringLiteral("< Vissza"));
    setButtonText(QWizard::NextButton, QStringLiteral("Tovább >"));
    setButtonText(QWizard::FinishButton, QStringLiteral("Bezár"));
    setButtonText(QWizard::CancelButton, QStringLiteral("Mégse"));
    setPage(FilePage, makeFilePage());
    setPage(MappingPage, makeMappingPage());
    setPage(DuplicatesPage, makeDuplicatesPage());
    setPage(RunPage, makeRunPage());
    resize(760, 520);
    connect(this, &QWizard::currentIdChanged, this, [this](int id) {
        if (id == DuplicatesPage)
            Guarded(ctx_.services, this, [this] { countMatches(); });
        else if (id == RunPage)
            QMetaObject::invokeMethod(this, [this] { Guarded(ctx_.services, this, [this] { runImport(); }); }, Qt::QueuedConnection);
    });
}

Tfrm_Atvetel::~Tfrm_Atvetel() = default;

QWizardPage *Tfrm_Atvetel::makeFilePage() {
    QWizardPage *p = MakePage(QStringLiteral("A fájl"), QStringLiteral("Válassza ki a másik program CSV fájlját. A kódolást és az "
                                                                  "elválasztót a program kitalálja; ha az előnézet hibás, "
                                                                  "válasszon másikat."));
    Edit1 = new QLineEdit(p);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    BitBtn1 = new QToolButton(p);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setText(QStringLiteral("..."));
    connect(BitBtn1, &QToolButton::clicked, this, [this] { Guarded(ctx_.services, this, [this] { choose(); }); });
    cbKodolas = new QComboBox(p);
    cbKodolas->setObjectName(QStringLiteral("cbKodolas"));
    for (Encoding e : Encodings())
        cbKodolas->addItem(EncodingName(e), int(e));
    cbElvalaszto = new QComboBox(p);
    cbElvalaszto->setObjectName(QStringLiteral("cbElvalaszto"));
    for (QChar d : Delimiters())
        cbElvalaszto->addItem(DelimiterName(d), QString(d));
    for (QComboBox *c : {cbKodolas, cbElvalaszto})
        connect(c, &QComboBox::activated, this, [this] { Guarded(ctx_.services, this, [this] { showPreview(); }); });
    tblElonezet = ReadOnlyTable(p, QStringLiteral("tblElonezet"));
    lblOlvasas = new QLabel(p);
    lblOlvasas->setObjectName(QStringLiteral("lblOlvasas"));
    lblOlvasas->setWordWrap(true);

    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(QStringLiteral("Fájl:"), p));
    fileRow->addWidget(Edit1, 1);
    fileRow->addWidget(BitBtn1);
    auto *readRow = new QHBoxLayout;
    readRow->addWidget(new QLabel(QStringLiteral("Kódolás:"), p));
    readRow->addWidget(cbKodolas);
    readRow->addSpacing(16);
    readRow->addWidget(new QLabel(QStringLiteral("Elválasztó:"), p));
    readRow->addWidget(cbElvalaszto);
    readRow->addStretch(1);
    auto *l = new QVBoxLayout(p);
    l->addLayout(fileRow);
    l->addLayout(readRow);
    l->addWidget(tblElonezet, 1);
    l->addWidget(lblOlvasas);
    return p;
}

QWizardPage *Tfrm_Atvetel::makeMappingPage() {
    QWizardPage *p = MakePage(QStringLiteral("Oszlopok"), QStringLiteral("Melyik oszlop a könyv melyik mezőjébe kerüljön? A javaslat "
                                                                    "a fejlécből készült; a kulcsszavakba és a tartalomba több "
                                                                    "oszlop is kerülhet."));
    tblMezok = ReadOnlyTable(p, QStringLiteral("tblMezok"));
    tblMezok->setColumnCount(3);
    tblMezok->setHorizontalHeaderLabels({QStringLiteral("Oszlop"), QStringLiteral("Első érték"), QStringLiteral("Mező")});
    auto *l = new QVBoxLayout(p);
    l->addWidget(tblMezok);
    return p;
}

QWizardPage *Tfrm_Atvetel::makeDuplicatesPage() {
    QWizardPage *p = MakePage(QStringLiteral("Már meglévő könyvek"),
                          QStringLiteral("Egy sor ugyanaz a könyv, ha az ISBN egyezik, vagy ISBN nélkül a cím és az első szerző."));
    lblEgyezes = new QLabel(p);
    lblEgyezes->setObjectName(QStringLiteral("lblEgyezes"));
    lblEgyezes->setWordWrap(true);
    rgMasodpeldany = new QButtonGroup(p);
    auto *l = new QVBoxLayout(p);
    l->addWidget(lblEgyezes);
    const QString labels[] = {QStringLiteral("Kihagyja őket"), QStringLiteral("Mégis új könyvként veszi fel őket"),
                              QStringLiteral("Kiegészíti a meglévő könyv üres mezőit"),
                              QStringLiteral("Felülírja a meglévő könyv mezőit a fájl értékeivel")};
    const Duplicates kinds[] = {Duplicates::Skip, Duplicates::Add, Duplicates::Fill, Duplicates::Replace};
    for (int i = 0; i < 4; ++i) {
        auto *b = new QRadioButton(labels[i], p);
        b->setObjectName(QStringLiteral("rb") + DuplicatesKey(kinds[i]));
        rgMasodpeldany->addButton(b, int(kinds[i]));
        l->addWidget(b);
    }
    rgMasodpeldany->button(int(Duplicates::Skip))->setChecked(true);
    l->addStretch(1);
    return p;
}

QWizardPage *Tfrm_Atvetel::makeRunPage() {
    QWizardPage *p = MakePage(QStringLiteral("Átvétel"), QStringLiteral("A könyvek egy lépésben kerülnek a katalógusba; a Mégse "
                                                                   "gomb futás közben mindent visszavon."));
    ProgressBar1 = new QProgressBar(p);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 1000);
    memOsszesites = new QPlainTextEdit(p);
    memOsszesites->setObjectName(QStringLiteral("memOsszesites"));
    memOsszesites->setReadOnly(true);
    btnMentes = new QPushButton(QStringLiteral("Összesítés mentése..."), p);
    btnMentes->setObjectName(QStringLiteral("btnMentes"));
    btnMentes->setEnabled(false);
    connect(btnMentes, &QPushButton::clicked, this, [this] { Guarded(ctx_.services, this, [this] { saveSummary(); }); });
    auto *l = new QVBoxLayout(p);
    l->addWidget(ProgressBar1);
    l->addWidget(memOsszesites, 1);
    l->addWidget(btnMentes, 0, Qt::AlignLeft);
    return p;
}

void Tfrm_Atvetel::choose() {
    const QString path = ctx_.services.openFileName(QStringLiteral("Könyvek átvétele"), path_,
                                                    QStringLiteral("CSV állományok (*.csv)|*.csv|Szöveges állományok (*.txt)|*.txt|"
                                                                   "Minden állomány (*)|*"),
                                                    QStringLiteral("csv"), this);
    if (!path.isEmpty())
        loadFile(path);
}

void Tfrm_Atvetel::loadFile(const QString &path) {
    preview_ = ReadPreview(path);
    path_ = path;
    Edit1->setText(path);
    cbKodolas->setCurrentIndex(cbKodolas->findData(int(preview_.dialect.encoding)));
    cbElvalaszto->setCurrentIndex(cbElvalaszto->findData(QString(preview_.dialect.delimiter)));
    showPreview();
}

Dialect Tfrm_Atvetel::dialect() const {
    return {Encoding(cbKodolas->currentData().toInt()), cbElvalaszto->currentData().toString().at(0)};
}

void Tfrm_Atvetel::showPreview() {
    if (path_.isEmpty())
        return;
    preview_ = ReadPreview(path_, dialect());
    tblElonezet->clear();
    tblElonezet->setColumnCount(int(preview_.header.size()));
    tblElonezet->setHorizontalHeaderLabels(preview_.header);
    tblElonezet->setRowCount(int(preview_.rows.size()));
    for (int r = 0; r < preview_.rows.size(); ++r)
        for (int c = 0; c < preview_.rows[r].size() && c < preview_.header.size(); ++c)
            tblElonezet->setItem(r, c, new QTableWidgetItem(preview_.rows[r][c]));
    QStringList note{QStringLiteral("%1 kódolás, %2 elválasztó, %3 oszlop.")
                         .arg(EncodingName(dialect().encoding), DelimiterName(dialect().delimiter))
                         .arg(preview_.header.size())};
    note << preview_.problems;
    lblOlvasas->setText(note.join(QLatin1Char('\n')));
    fillMapping();
}

void Tfrm_Atvetel::fillMapping() {
    const QVector<Field> guess = RememberedMapping(preview_.header).value_or(SuggestMapping(preview_.header));
    tblMezok->setRowCount(int(preview_.header.size()));
    for (int r = 0; r < preview_.header.size(); ++r) {
        tblMezok->setItem(r, 0, new QTableWidgetItem(preview_.header[r]));
        tblMezok->setItem(r, 1, new QTableWidgetItem(preview_.rows.isEmpty() ? QString() : preview_.rows[0].value(r)));
        auto *combo = new QComboBox(tblMezok);
        for (Field f : Fields())
            combo->addItem(FieldLabel(f), int(f));
        combo->setCurrentIndex(combo->findData(int(guess.value(r))));
        tblMezok->setCellWidget(r, 2, combo);
    }
    tblMezok->resizeColumnsToContents();
}

QVector<Field> Tfrm_Atvetel::mapping() const {
    QVector<Field> out;
    for (int r = 0; r < tblMezok->rowCount(); ++r)
        out << Field(static_cast<QComboBox *>(tblMezok->cellWidget(r, 2))->currentData().toInt());
    return out;
}

Duplicates Tfrm_Atvetel::duplicates() const { return Duplicates(rgMasodpeldany->checkedId()); }

CsvRun Tfrm_Atvetel::runSettings(bool dryRun) const { return {dialect(), mapping(), duplicates(), dryRun, QDate::currentDate()}; }

bool Tfrm_Atvetel::validateCurrentPage() {
    if (currentId() == FilePage && preview_.header.isEmpty()) {
        ctx_.services.ShowError(QStringLiteral("Válasszon egy CSV fájlt, amelynek az első sora fejléc."), this);
        return false;
    }
    if (currentId() == MappingPage) {
        const QVector<Field> m = mapping();
        if (std::all_of(m.cbegin(), m.cend(), [](Field f) { return f == Field::Skip; })) {
            ctx_.services.ShowError(QStringLiteral("Legalább egy oszlopot rendeljen a könyv egy mezőjéhez."), this);
            return false;
        }
        bool kept = true;
        Guarded(ctx_.services, this, [&] {
            kept = false;
            RememberMapping(preview_.header, m);
            kept = true;
        });
        if (!kept)
            return false;
    }
    return !running_;
}

// The whole file is read once the mapping stands; a dry run counts what the file holds.
void Tfrm_Atvetel::countMatches() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    CsvSummary dry;
    try {
        dry = RunCsvImportFile(ctx_.db, path_, runSettings(true));
    } catch (...) {
        QApplication::restoreOverrideCursor();
        throw;
    }
    QApplication::restoreOverrideCursor();
    QString text = QStringLiteral("A fájl %1 sorából %2 már megvan a katalógusban.").arg(dry.read).arg(dry.matches);
    if (!dry.conflicts.isEmpty())
        text += QStringLiteral(" Közülük %1 ISBN-je egy más című könyvé (ütközés).").arg(dry.conflicts.size());
    if (dry.refusedRows)
        text += QStringLiteral(" %1 sor nem olvasható be.").arg(dry.refusedRows);
    lblEgyezes->setText(text);
}

void Tfrm_Atvetel::runImport() {
    if (done_ || running_)
        return;
    running_ = true;
    stop_ = false;
    button(QWizard::FinishButton)->setEnabled(false);
    const auto finished = [this] {
        running_ = false;
        done_ = true;
        button(QWizard::FinishButton)->setEnabled(true);
        button(QWizard::CancelButton)->setEnabled(false);
    };
    try {
        summary_ = RunCsvImportFile(ctx_.db, path_, runSettings(false), [this](qsizetype done, qsizetype total) {
            ProgressBar1->setValue(total > 0 ? int(done * 1000 / total) : 1000);
            QApplication::processEvents(); // repaints, and the Mégse button
            return !stop_;
        });
    } catch (const Error &e) {
        finished();
        memOsszesites->setPlainText(QStringLiteral("Az átvétel nem sikerült, a katalógus nem változott.\n") + e.message());
        throw;
    }
    finished();
    ProgressBar1->setValue(1000);
    memOsszesites->setPlainText(SummaryText(summary_));
    btnMentes->setEnabled(true);
}

void Tfrm_Atvetel::saveSummary() {
    const QString path = ctx_.services.saveFileName(QStringLiteral("Összesítés mentése"), QString(),
                                                    QStringLiteral("Szöveges állományok (*.txt)|*.txt"), QStringLiteral("txt"), this);
    if (path.isEmpty())
        return;
    QSaveFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(memOsszesites->toPlainText().toUtf8());
    QString why;
    if (!CommitWhole(f, why))
        throw FileError(QStringLiteral("A file nem írható: %1\n%2").arg(path, why));
}

void Tfrm_Atvetel::reject() {
    if (running_) {
        stop_ = true; // the run rolls back and ends; the window stays for its summary
        return;
    }
    QWizard::reject();
}

} // namespace kodexa
