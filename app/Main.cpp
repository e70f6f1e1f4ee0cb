#include "app/Main.h"
#include "app/ElsoInditas.h"
#include "data/Backup.h"
#include "gui/BackgroundWork.h"

#include "admin/Login.h"
#include "admin/Logo.h"
#include "app/BookGridModel.h"
#include "app/core/BookView.h"
#include "data/Catalogue.h"
#include "data/DesktopServices.h"
#include "data/Kozos.h"
#include "data/Seged.h"
#include "edit/core/Picture.h"
#include "gui/CoverPicture.h"
#include "gui/GridView.h"
#include "gui/ReadFailures.h"
#include "gui/Widgets.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTableView>
#include <QToolBar>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWindow>

namespace kodexa {

namespace {

QLabel *makeLabel(QWidget *parent, const QString &text, int left, int top, bool grey, bool bold = false) {
    auto *l = new QLabel(text, parent);
    l->move(left, top);
    if (grey)
        l->setEnabled(false);
    if (bold) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    // As high as its text, like the values beside it (which fit themselves to what they
    // show): a label left at the default widget height would centre its text half a line
    // lower than its value and run past the panel's bottom on the last row.
    l->adjustSize();
    return l;
}

} // namespace

Tfrm_Main::Tfrm_Main(DesktopServices &services, QWidget *parent)
    : QMainWindow(parent), services_(services), tbl_(new BookList(db_, this)), ctx_{db_, *tbl_, beall_, services_} {
    setObjectName(QStringLiteral("frm_Main"));
    setWindowTitle(QStringLiteral("Kodexa"));
    tbl_->setObjectName(QStringLiteral("Tbl"));
    tbl_->beforePost = [](Record &r) { TblBeforePost(r); };
    buildLayout();
    buildCommands();
    wheelFilter_ = new WheelToArrowFilter(this);
    qApp->installEventFilter(wheelFilter_);
}

Tfrm_Main::~Tfrm_Main() {
    qApp->removeEventFilter(wheelFilter_);
    // The model reads the list while the view goes away; the list goes before the connection.
    grid_->setModel(nullptr);
}

void Tfrm_Main::buildLayout() {
    auto *central = new QWidget(this);
    auto *v = new QVBoxLayout(central);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);

    auto *panel1 = new QFrame(central);
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setFixedHeight(31);
    panel1->setFrameShape(QFrame::StyledPanel);
    auto *caption = new QLabel(QStringLiteral("Könyvek"), panel1);
    caption->setObjectName(QStringLiteral("Panel1Caption"));
    QFont cf(QStringLiteral("Arial"));
    cf.setBold(true);
    cf.setPixelSize(13);
    caption->setFont(cf);
    caption->setAlignment(Qt::AlignCenter);
    QPalette cp = caption->palette();
    cp.setColor(QPalette::WindowText, cp.color(QPalette::Highlight));
    caption->setPalette(cp);
    auto *p1 = new QHBoxLayout(panel1);
    p1->setContentsMargins(0, 0, 0, 0);
    p1->addWidget(caption);
    edit1_ = new QLineEdit(panel1);
    edit1_->setObjectName(QStringLiteral("Edit1"));
    edit1_->setGeometry(8, 4, 121, 21);
    edit1_->raise();
    connect(edit1_, &QLineEdit::textChanged, this, &Tfrm_Main::Edit1Change);
    edit1_->installEventFilter(this);
    v->addWidget(panel1);

    grid_ = new QTableView(central);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    model_ = new BookGridModel(*tbl_, grid_);
    failures_ = new ReadFailures(services_, this);
    model_->setReadFailures(failures_);
    grid_->setModel(model_);
    grid_->setItemDelegate(new BookGridDelegate(grid_));
    grid_->setVerticalHeader(new RowIndicatorHeader(grid_));
    SetRowGrid(grid_);
    grid_->verticalHeader()->show(); // the book grid keeps its row indicator
    grid_->setWordWrap(false);
    grid_->setCornerButtonEnabled(false);
    grid_->horizontalHeader()->setSectionsClickable(true);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid_->horizontalHeader()->setHighlightSections(false);
    grid_->horizontalHeader()->setMinimumSectionSize(8);
    grid_->horizontalHeader()->setFont(grid_->font()); // titles keep their font when the grid's changes
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setFixedWidth(12);
    grid_->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    // The selection stays visible when the grid has no focus.
    QPalette gp = grid_->palette();
    gp.setColor(QPalette::Inactive, QPalette::Highlight, gp.color(QPalette::Active, QPalette::Highlight));
    gp.setColor(QPalette::Inactive, QPalette::HighlightedText, gp.color(QPalette::Active, QPalette::HighlightedText));
    grid_->setPalette(gp);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    grid_->installEventFilter(this);
    connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this, &Tfrm_Main::DBGrid1TitleClick);
    connect(grid_, &QTableView::doubleClicked, this, [this] { command([this] { aSzerkesztExecute(); }); });
    connect(grid_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { gridMenu_->popup(grid_->viewport()->mapToGlobal(pos)); });
    connect(tbl_, &Dataset::currentChanged, this, [this](int row) {
        gridFollowsCurrent(row);
        TblAfterScroll();
    });
    connect(tbl_, &Dataset::rowChanged, this, [this](int row) {
        if (row == tbl_->currentIndex())
            readGuarded([this] { showDetails(); });
    });
    // The view keeps its selection model for the whole run (the model is never replaced).
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex &cur) {
        if (!syncing_ && cur.isValid() && cur.row() != tbl_->currentIndex()) {
            syncing_ = true;
            readGuarded([this, &cur] { tbl_->moveTo(cur.row()); });
            syncing_ = false;
        }
    });
    v->addWidget(grid_, 1);

    panel2_ = new QFrame(central);
    panel2_->setObjectName(QStringLiteral("Panel2"));
    panel2_->setFixedHeight(99);
    // A one-pixel bevel leaves a 97-pixel-high inside for the picture frame.
    panel2_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel2_->setLineWidth(1);
    auto value = [this](const char *field, int left, int top, bool bold = false) {
        QLabel *l = makeLabel(panel2_, QString(), left, top, false, bold);
        l->setObjectName(QStringLiteral("Detail_") + QLatin1String(field));
        detail_.insert(QLatin1String(field), l);
        return l;
    };
    value("konyvek", 4, 8, true);
    value("cim", 64, 8, true)->setFixedWidth(233);
    makeLabel(panel2_, QStringLiteral("beszerzés / ár"), 4, 24, true);
    value("dat_besz", 92, 24);
    value("ar", 180, 24);
    makeLabel(panel2_, QStringLiteral("kölcsönben?"), 4, 40, true);
    value("kolcsonadva_dat", 92, 40);
    value("kolcsonadva_kinek", 180, 40);
    makeLabel(panel2_, QStringLiteral("kiadó"), 4, 56, true);
    value("kiado_nev", 92, 56);
    makeLabel(panel2_, QStringLiteral("sorozat"), 4, 72, true);
    value("sorozat_nev", 92, 72);
    // The picture frame: 132 wide at the panel's right edge, its full inside height. A
    // layout places it whenever the panel is sized; the labels keep their fixed places.
    panel3_ = new QFrame(panel2_);
    panel3_->setObjectName(QStringLiteral("Panel3"));
    panel3_->setFrameShape(QFrame::NoFrame);
    panel3_->setFixedWidth(132);
    panel3_->installEventFilter(this);
    auto *p2 = new QHBoxLayout(panel2_);
    p2->setContentsMargins(0, 0, 0, 0);
    p2->setSpacing(0);
    p2->addStretch(1);
    p2->addWidget(panel3_);
    image1_ = new QLabel(panel3_);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setScaledContents(true);
    image1_->hide();
    v->addWidget(panel2_);
    setCentralWidget(central);

    auto *sb = new QStatusBar(this);
    sb->setObjectName(QStringLiteral("StatusBar1"));
    sb->setSizeGripEnabled(false);
    const int widths[4] = {67, 200, 150, 50};
    for (int i = 0; i < 4; ++i) {
        status_[i] = new QLabel(sb);
        status_[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        status_[i]->setFrameShape(QFrame::Panel);
        status_[i]->setFrameShadow(QFrame::Sunken);
        if (i < 3)
            status_[i]->setFixedWidth(widths[i]);
        else
            status_[i]->setMinimumWidth(widths[i]);
        sb->addWidget(status_[i], i == 3 ? 1 : 0);
    }
    setStatusBar(sb);
}

// ---- Start-up ----

int RunProgram(DesktopServices &services) {
    try {
        bool takeOver = false;
        if (!RunFirstStart(services, &takeOver))
            return 0;
        Tfrm_Main main(services);
        if (!main.FormCreate())
            return main.StartFailed() ? 1 : 0;
        main.show();
        if (takeOver) {
            // The take-over wizard follows the start-up picture instead of opening under it.
            auto *wait = new QTimer(&main);
            wait->setInterval(200);
            QObject::connect(wait, &QTimer::timeout, &main, [&main, wait] {
                const Tfrm_Logo *logo = main.findChild<Tfrm_Logo *>();
                if (logo && logo->isVisible())
                    return;
                wait->stop();
                wait->deleteLater();
                main.Action(QStringLiteral("aAtvetel"))->trigger();
            });
            wait->start();
        }
        return QApplication::exec();
    } catch (const std::exception &e) {
        // Start-up failed in a way no window caught: say why and end cleanly.
        services.ShowError(ErrorText(e));
    } catch (...) {
        services.ShowError(QStringLiteral("Ismeretlen hiba"));
    }
    return 1;
}

bool Tfrm_Main::FormCreate() {
    columnsLoaded_ = false;
    startFailed_ = true; // until the window is ready
    QDir().mkpath(ProgramPath(QStringLiteral("Html")));
    startBounds_ = LoadWindowSettings(beall_, CurrentScreenSpace(minimumSizeHint()));
    setGeometry(startBounds_);
    outerSize_ = startBounds_.size();
    try {
        OpenCatalogue(db_, beall_.DatabasePath);
    } catch (const Error &e) {
        services_.ShowError(e.message(), this);
        return false;
    }
    auto cannotOpen = [this](const QString &why) {
        services_.ShowError(CannotOpenCatalogue(beall_.DatabasePath, why), this);
        tbl_->close();
        db_.close();
        return false;
    };
    try {
        LoadGridColumns();
        LoadDatabaseSettings(db_, beall_);
    } catch (const std::exception &e) {
        return cannotOpen(ErrorText(e));
    }
    QPalette tip = QToolTip::palette();
    tip.setColor(QPalette::ToolTipBase, QColor(255, 218, 181));
    tip.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(tip);
    if (beall_.LoginRequired) {
        try {
            if (!ShowLogin(ctx_, this)) {
                startFailed_ = false;
                return false;
            }
        } catch (const std::exception &e) {
            services_.ShowError(QStringLiteral("Ismeretlen hiba, indítsa újra a programot.\n") + ErrorText(e), this);
            return false;
        }
    } else {
        beall_.UserCode = QStringLiteral("rendszergazda");
        beall_.IsAdmin = true;
        beall_.CanEditMasterData = true;
    }
    try {
        restoreSort();
    } catch (const std::exception &e) {
        // The book table itself cannot be read (a damaged file): nothing to show.
        return cannotOpen(ErrorText(e));
    }
    if (db_.isReadOnly())
        status_[3]->setText(QStringLiteral("  A katalógus csak olvasható: a változások nem menthetők."));
    startFailed_ = false;
    return true;
}

void Tfrm_Main::restoreSort() {
    const ListSort sort = StoredListSort(db_);
    // A mark already in place is not written again: a run that only looks leaves the file as
    // it was, and the backup at exit sees nothing new to copy.
    const bool inPlace =
        sort.marked && db_.scalar(QStringLiteral("SELECT count(*) FROM mezo WHERE sorrend='I'")).toInt() == 1;
    bool sorted = false;
    try {
        sortList(sort.field, sort.caption, sort.marked && !inPlace);
        sorted = true;
    } catch (const std::exception &) {
        // A sort mark naming no column: the key order rather than refusing to start.
    }
    if (!sorted)
        sortList(QStringLiteral("konyvek"), BookColumnLabel(QStringLiteral("konyvek")), false);
}

void Tfrm_Main::ReloadCatalogue() {
    command([this] {
        tbl_->forgetRows();
        LoadGridColumns();
        restoreSort();
    });
}

qint64 Tfrm_Main::NextKey(const QString &column, const QString &table) { return kodexa::NextKey(db_, column, table); }
void Tfrm_Main::RunStatement(const QString &sql) { kodexa::RunStatement(db_, sql); }

void Tfrm_Main::showEvent(QShowEvent *e) {
    QMainWindow::showEvent(e);
    if (!shownOnce_) {
        shownOnce_ = true;
        FormShow();
    }
}

void Tfrm_Main::FormShow() {
    ShowSplash(this);
    move(0, 0);
    activateWindow(); // the keyboard works at once, shortcuts included
    if (beall_.FullScreen)
        if (QScreen *s = screen()) {
            const QRect work = s->availableGeometry();
            outerSize_ = QSize(work.right() + 1, work.bottom() + 1);
            resize(outerSize_);
        }
    fitOuterSize();
    // The window manager frames the window a moment after it is shown; look again then.
    for (int ms : {50, 250, 1000})
        QTimer::singleShot(ms, this, [this] { fitOuterSize(); });
    applyGridFont();
}

// Width and Height are the window's outer size, and the window starts with its frame in
// the top-left corner. The frame is known only once the window manager has put it around
// the window, shortly after the first show; until then the client area stands for it.
void Tfrm_Main::fitOuterSize() {
    if (outerSize_.isEmpty() || !windowHandle())
        return;
    const QMargins frame = windowHandle()->frameMargins();
    if (frame.isNull())
        return;
    const QSize inner = outerSize_.shrunkBy(frame);
    outerSize_ = QSize();
    resize(inner);
    move(0, 0);
}

void Tfrm_Main::resizeEvent(QResizeEvent *e) {
    QMainWindow::resizeEvent(e);
    if (columnsLoaded_)
        SpreadColumnWidths();
}

void Tfrm_Main::closeEvent(QCloseEvent *e) {
    FormClose();
    QMainWindow::closeEvent(e);
}

void Tfrm_Main::FormClose() {
    if (closed_)
        return;
    closed_ = true;
    // A catalogue opened read-only was not changed by this run: nothing new to back up.
    const QString catalogue = db_.isOpen() && !db_.isReadOnly() ? db_.path() : QString();
    if (db_.isOpen()) {
        // The outer size, frame included, as it is restored.
        const QRect outer = frameGeometry();
        Guarded(services_, this, [&] { SaveWindowSettings(beall_, QRect(x(), y(), outer.width(), outer.height())); });
    }
    tbl_->close();
    db_.close();
    // Every change was written when it was made; at exit a copy of them goes to the backups.
    if (!catalogue.isEmpty())
        Guarded(services_, this, [&] {
            RunWithNote(this, QStringLiteral("Biztonsági mentés…"), [&] { BackupAtExit(catalogue); });
        });
}

bool Tfrm_Main::eventFilter(QObject *o, QEvent *e) {
    // The window's commands win over the quick-search box: a line edit claims keys such as
    // Ctrl+E (end of line) and Ctrl+K (delete to the end) for itself, and the title click
    // puts the focus there.
    if (o == edit1_ && e->type() == QEvent::ShortcutOverride) {
        const QKeySequence pressed(static_cast<QKeyEvent *>(e)->keyCombination());
        for (const QAction *a : std::as_const(actions_))
            if (a->isEnabled() && a->shortcuts().contains(pressed)) {
                e->ignore(); // not the edit's: the shortcut fires
                return true;
            }
    }
    // The widths follow the grid's own width, whatever changed it (window, layout, first show).
    if (o == grid_ && e->type() == QEvent::Resize && columnsLoaded_)
        SpreadColumnWidths();
    if (o == panel3_ && e->type() == QEvent::Resize && !image1_->isHidden())
        image1_->setGeometry(FitPicture(image1_->pixmap().size(), panel3_->size()));
    return QMainWindow::eventFilter(o, e);
}

bool Tfrm_Main::event(QEvent *e) {
    if (!outerSize_.isEmpty() &&
        (e->type() == QEvent::Move || e->type() == QEvent::Resize || e->type() == QEvent::UpdateRequest))
        fitOuterSize();
    if (e->type() == QEvent::StatusTip) {
        ShowHintInStatusBar(static_cast<QStatusTipEvent *>(e)->tip());
        return true;
    }
    return QMainWindow::event(e);
}

void Tfrm_Main::ShowHintInStatusBar(const QString &hint) {
    status_[1]->setText(hint.isEmpty() ? QString() : QStringLiteral("  ") + hint);
}

QString Tfrm_Main::StatusText(int panel) const { return status_[panel]->text(); }

// ---- The list ----

void Tfrm_Main::LoadGridColumns() {
    columnWeights_.clear();
    gridFields_.clear();
    QStringList fields{QStringLiteral("kolcsonadva")};
    QStringList titles{QStringLiteral("!")};
    for (const ListColumn &c : ListColumns(db_)) {
        columnWeights_ << c.weight;
        gridFields_ << c.field;
        fields << c.field;
        titles << c.title;
    }
    model_->setColumns(fields, titles);
    model_->setSortField(sortField_);
    columnsLoaded_ = true;
    SpreadColumnWidths();
    // New columns reset the grid's current cell; without it the grid would take its first
    // row as current the next time it gets the focus, and move the list there.
    if (tbl_->isOpen())
        gridFollowsCurrent(tbl_->currentIndex());
}

void Tfrm_Main::gridFollowsCurrent(int row) {
    if (syncing_ || row < 0 || row >= model_->rowCount() || grid_->currentIndex().row() == row)
        return;
    syncing_ = true;
    const int col = std::max(1, grid_->currentIndex().column());
    grid_->setCurrentIndex(model_->index(row, std::min(col, std::max(0, model_->columnCount() - 1))));
    syncing_ = false;
}

void Tfrm_Main::SpreadColumnWidths() {
    grid_->setColumnWidth(0, 18);
    const QVector<int> w = SpreadWidths(columnWeights_, grid_->width());
    for (int i = 0; i < w.size(); ++i)
        grid_->setColumnWidth(i + 1, std::max(0, w[i]));
}

void Tfrm_Main::SortBy(const QString &field, const QString &caption) { sortList(field, caption, true); }

void Tfrm_Main::ReadListAgain() {
    command([this] {
        tbl_->forgetRows();
        sortList(sortField_, sortCaption_, false);
    });
}

void Tfrm_Main::sortList(const QString &field, const QString &caption, bool storeMark) {
    sortField_ = field;
    sortCaption_ = caption;
    const qint64 key = tbl_->isOpen() && !tbl_->isEmpty() ? VarToInt(tbl_->value(QStringLiteral("konyvek"))) : 0;
    tbl_->open(OrderColumnFor(field), field);
    model_->setSortField(field);
    if (key != 0)
        tbl_->locateKey(key);
    status_[2]->setText(QStringLiteral("sorrend: ") + caption);
    if (storeMark)
        for (const QString &sql : SortMarkStatements(field))
            RunStatement(sql);
    TblAfterScroll();
}

void Tfrm_Main::DBGrid1TitleClick(int column) {
    const QStringList fields = model_->fields();
    if (column < 0 || column >= fields.size() || fields[column].isEmpty())
        return;
    command([&] { SortBy(fields[column], model_->title(column)); });
    edit1_->setFocus();
}

void Tfrm_Main::Edit1Change(const QString &text) {
    try {
        const int i = tbl_->quickSearchIndex(text);
        if (i >= 0)
            tbl_->moveTo(i);
    } catch (...) {
        // The quick search never interrupts typing.
    }
}

bool Tfrm_Main::readGuarded(const std::function<void()> &read) {
    if (!failures_->guard(read))
        return false;
    if (!tbl_->readFailing())
        failures_->recovered();
    return true;
}

void Tfrm_Main::TblAfterScroll() {
    status_[0]->setText(QString::asprintf("%d / %d", tbl_->recordCount(), tbl_->recNo()));
    // 67 pixels hold a small collection's count; a large one widens the panel rather than being cut.
    const int need = status_[0]->fontMetrics().horizontalAdvance(status_[0]->text()) + 12;
    if (status_[0]->width() < need || (status_[0]->width() > 67 && need <= 67))
        status_[0]->setFixedWidth(std::max(67, need));
    const bool read = readGuarded([this] {
        showDetails();
        ShowBookPicture();
    });
    if (!read) {
        // No half of another book's details: the panel stays empty until the row can be read.
        for (QLabel *l : detail_)
            l->clear();
        image1_->hide();
    }
}

void Tfrm_Main::showDetails() {
    const int row = tbl_->currentIndex();
    for (auto it = detail_.cbegin(); it != detail_.cend(); ++it)
        it.value()->setText(row < 0 ? QString() : model_->displayText(row, it.key()));
    for (QLabel *l : detail_)
        l->adjustSize();
    detail_.value(QStringLiteral("cim"))->setFixedWidth(233);
}

void Tfrm_Main::ShowBookPicture() {
    if (tbl_->isEmpty()) {
        image1_->hide();
        return;
    }
    const QImage img = ReadCoverPicture(VarToInt(tbl_->value(QStringLiteral("konyvek"))));
    if (img.isNull()) {
        // A file that is not a readable JPEG shows no picture rather than an error at every move.
        image1_->hide();
        return;
    }
    image1_->setPixmap(QPixmap::fromImage(img));
    image1_->setGeometry(FitPicture(img.size(), panel3_->size()));
    image1_->show();
}

} // namespace kodexa
