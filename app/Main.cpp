#include "app/Main.h"

#include "admin/Login.h"
#include "admin/Logo.h"
#include "app/BookGridModel.h"
#include "app/core/BookView.h"
#include "data/Catalogue.h"
#include "data/DesktopServices.h"
#include "data/Kozos.h"
#include "data/Seged.h"
#include "edit/core/Picture.h"
#include "gui/Pictures.h"
#include "gui/Widgets.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPixmapCache>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolBar>
#include <QToolTip>
#include <QVBoxLayout>

namespace kodexa {

namespace {

// Column 0: the lent flag drawn as one of two icons on the cell's own background. The text
// cells are drawn here too, as the style would draw them (background or selection, one
// elided line, the focus frame), without the style's general item layout: that layout
// measures and shapes every text several times and made each page of a long list slow.
class GridDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette::ColorGroup cg = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                        : (option.state & QStyle::State_Active) ? QPalette::Normal
                                                                                 : QPalette::Inactive;
        p->fillRect(option.rect, selected ? option.palette.brush(cg, QPalette::Highlight)
                                          : QBrush(index.data(Qt::BackgroundRole).value<QColor>()));
        if (index.column() == 0) {
            p->drawPixmap(option.rect.left() + 1, option.rect.top(), LentIcon(index.data(Qt::UserRole).toString() == "I"));
            return;
        }
        const QWidget *w = option.widget;
        QStyle *style = w ? w->style() : QApplication::style();
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, w) + 1;
        const QRect r = option.rect.adjusted(margin, 0, -margin, 0);
        const QString text = index.data(Qt::DisplayRole).toString();
        if (!text.isEmpty() && r.width() > 0) {
            const QFontMetricsF fm(option.font);
            const QString shown = fm.horizontalAdvance(text) <= r.width() ? text : fm.elidedText(text, option.textElideMode, r.width());
            p->setFont(option.font);
            p->setPen(option.palette.color(cg, selected ? QPalette::HighlightedText : QPalette::Text));
            // One line centred the way the style centres its text layout.
            const int top = r.top() + (r.height() - int(fm.height())) / 2;
            p->drawText(QPointF(r.left(), top + fm.ascent()), shown);
        }
        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(option);
            focus.rect = option.rect;
            focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
            focus.backgroundColor = option.palette.color(cg, selected ? QPalette::Highlight : QPalette::Window);
            style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, p, w);
        }
    }
};

// The row-indicator column is a fixed 12 pixels wide. Its size hint would otherwise measure
// the first and last hundred sections again after every move of the current row.
class RowIndicatorHeader final : public QHeaderView {
public:
    explicit RowIndicatorHeader(QWidget *parent) : QHeaderView(Qt::Vertical, parent) {
        // As the grid's own vertical header.
        setSectionsClickable(true);
        setHighlightSections(true);
    }
    QSize sizeHint() const override { return {minimumWidth(), minimumWidth()}; }
};

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
    return l;
}

} // namespace

QPixmap LentIcon(bool lent) {
    return CachedPicture(lent ? QStringLiteral("kodexa-lent-1") : QStringLiteral("kodexa-lent-0"), 16, [lent](QPainter &p) {
        if (lent) {
            p.setPen(QColor(90, 0, 0));
            p.setBrush(QColor(255, 30, 30));
            p.drawRect(2, 2, 11, 11);
        } else {
            p.setPen(QPen(QColor(128, 0, 0), 1.5));
            p.drawLine(6, 6, 10, 10);
            p.drawLine(10, 6, 6, 10);
        }
    });
}

bool WheelToArrowFilter::eventFilter(QObject *o, QEvent *e) {
    if (e->type() != QEvent::Wheel)
        return false;
    const auto *w = static_cast<QWheelEvent *>(e);
    const int delta = w->angleDelta().y() != 0 ? w->angleDelta().y() : w->angleDelta().x();
    // The key goes where the wheel message was addressed: the focused control.
    QObject *target = QApplication::focusWidget();
    if (!target)
        target = o;
    QKeyEvent key(QEvent::KeyPress, delta <= 0 ? Qt::Key_Down : Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(target, &key);
    return true;
}

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
    v->addWidget(panel1);

    grid_ = new QTableView(central);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    model_ = new BookGridModel(*tbl_, grid_);
    grid_->setModel(model_);
    grid_->setItemDelegate(new GridDelegate(grid_));
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
        if (!syncing_ && row >= 0 && grid_->currentIndex().row() != row) {
            syncing_ = true;
            const int col = std::max(1, grid_->currentIndex().column());
            grid_->setCurrentIndex(model_->index(row, std::min(col, std::max(0, model_->columnCount() - 1))));
            syncing_ = false;
        }
        TblAfterScroll();
    });
    connect(tbl_, &Dataset::rowChanged, this, [this](int row) {
        if (row == tbl_->currentIndex())
            showDetails();
    });
    // The view keeps its selection model for the whole run (the model is never replaced).
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex &cur) {
        if (!syncing_ && cur.isValid() && cur.row() != tbl_->currentIndex()) {
            syncing_ = true;
            tbl_->moveTo(cur.row());
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
    panel3_ = new QFrame(panel2_);
    panel3_->setObjectName(QStringLiteral("Panel3"));
    panel3_->setFrameShape(QFrame::NoFrame);
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

bool Tfrm_Main::FormCreate() {
    columnsLoaded_ = false;
    QDir().mkpath(ProgramPath(QStringLiteral("Html")));
    startBounds_ = LoadWindowSettings(beall_);
    setGeometry(startBounds_);
    if (!QFileInfo(beall_.DatabasePath).isFile()) {
        services_.ShowError(QStringLiteral("Nem létező adatbázis"), this);
        return false;
    }
    try {
        db_.open(beall_.DatabasePath);
        RequireCatalogueTables(db_);
        LoadGridColumns();
        LoadDatabaseSettings(db_, beall_);
    } catch (const std::exception &e) {
        const auto *dbe = dynamic_cast<const DbError *>(&e);
        services_.ShowError(QStringLiteral("Az adatbázis nem nyitható meg:\n%1\n%2")
                                .arg(beall_.DatabasePath, dbe ? dbe->message() : QString::fromUtf8(e.what())),
                            this);
        db_.close();
        return false;
    }
    QPalette tip = QToolTip::palette();
    tip.setColor(QPalette::ToolTipBase, QColor(255, 218, 181));
    tip.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(tip);
    if (beall_.LoginRequired) {
        try {
            if (!ShowLogin(ctx_, this))
                return false;
        } catch (const std::exception &e) {
            const auto *dbe = dynamic_cast<const DbError *>(&e);
            services_.ShowError(QStringLiteral("Ismeretlen hiba, indítsa újra a programot.\n") +
                                    (dbe ? dbe->message() : QString::fromUtf8(e.what())),
                                this);
            return false;
        }
    } else {
        beall_.UserCode = QStringLiteral("rendszergazda");
        beall_.IsAdmin = true;
        beall_.CanEditMasterData = true;
    }
    try {
        const ListSort sort = StoredListSort(db_);
        sortList(sort.field, sort.caption, sort.marked);
    } catch (const std::exception &e) {
        // A sort mark naming no column: fall back to the key order rather than refusing to start.
        sortList(QStringLiteral("konyvek"), BookColumnLabel(QStringLiteral("konyvek")), false);
    }
    return true;
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
            resize(work.right() + 1, work.bottom() + 1);
        }
    applyGridFont();
}

void Tfrm_Main::resizeEvent(QResizeEvent *e) {
    QMainWindow::resizeEvent(e);
    if (panel3_)
        panel3_->setGeometry(panel2_->contentsRect().right() + 1 - 132, panel2_->contentsRect().top(), 132,
                             panel2_->contentsRect().height());
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
    if (db_.isOpen()) {
        const QRect g = geometry();
        SaveWindowSettings(beall_, QRect(x(), y(), g.width(), g.height()));
    }
    tbl_->close();
    db_.close();
}

bool Tfrm_Main::eventFilter(QObject *o, QEvent *e) {
    // The widths follow the grid's own width, whatever changed it (window, layout, first show).
    if (o == grid_ && e->type() == QEvent::Resize && columnsLoaded_)
        SpreadColumnWidths();
    return QMainWindow::eventFilter(o, e);
}

bool Tfrm_Main::event(QEvent *e) {
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
}

void Tfrm_Main::SpreadColumnWidths() {
    grid_->setColumnWidth(0, 18);
    const QVector<int> w = SpreadWidths(columnWeights_, grid_->width());
    for (int i = 0; i < w.size(); ++i)
        grid_->setColumnWidth(i + 1, std::max(0, w[i]));
}

void Tfrm_Main::SortBy(const QString &field, const QString &caption) { sortList(field, caption, true); }

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

void Tfrm_Main::TblAfterScroll() {
    status_[0]->setText(QString::asprintf("%d / %d", tbl_->recordCount(), tbl_->recNo()));
    // 67 pixels hold a small collection's count; a large one widens the panel rather than being cut.
    const int need = status_[0]->fontMetrics().horizontalAdvance(status_[0]->text()) + 12;
    if (status_[0]->width() < need || (status_[0]->width() > 67 && need <= 67))
        status_[0]->setFixedWidth(std::max(67, need));
    showDetails();
    ShowBookPicture();
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
    const QString path = PicturePath(VarToInt(tbl_->value(QStringLiteral("konyvek"))));
    if (!QFileInfo::exists(path)) {
        image1_->hide();
        return;
    }
    QImageReader reader(path, "jpeg");
    reader.setDecideFormatFromContent(false);
    const QImage img = reader.read();
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
