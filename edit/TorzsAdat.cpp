#include "edit/TorzsAdat.h"

#include "data/DesktopServices.h"
#include "data/Kozos.h"
#include "data/Seged.h"
#include "data/Settings.h"
#include "edit/InpStr.h"
#include "edit/TorzsAdat_Szerkeszt.h"
#include "gui/DatasetModel.h"
#include "gui/Widgets.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace kodexa {

namespace {

QIcon ThemeIcon(const char *name, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QString::fromLatin1(name), QApplication::style()->standardIcon(fallback));
}

// A wrong index is refused before any widget is made.
int CheckedIndex(int tableIndex) {
    MasterTableAt(tableIndex);
    return tableIndex;
}

} // namespace

Tfrm_TorzsAdat::Tfrm_TorzsAdat(AppContext &ctx, int tableIndex, bool pick, QWidget *parent)
    : QDialog(parent), ctx_(ctx), index_(CheckedIndex(tableIndex)), pick_(pick) {
    SetUpDialog(this, "frm_TorzsAdat", QStringLiteral("Törzsadattárak"), {381, 446});

    auto action = [this](const char *name, const char *caption, QList<QKeySequence> keys, QIcon icon,
                         void (Tfrm_TorzsAdat::*fn)()) {
        auto *a = new QAction(icon, QString::fromUtf8(caption), this);
        a->setObjectName(QString::fromLatin1(name));
        a->setToolTip(a->text());
        a->setStatusTip(a->text());
        a->setShortcuts(keys);
        addAction(a); // the shortcuts work wherever the focus is in the window
        connect(a, &QAction::triggered, this, [this, fn] { command(fn); });
        return a;
    };
    aUj = action("aUj", "Új", {Qt::Key_Insert}, ThemeIcon("document-new", QStyle::SP_FileIcon), &Tfrm_TorzsAdat::addNames);
    aSzerkeszt = action("aSzerkeszt", "Szerkeszt", {Qt::Key_F2},
                        ThemeIcon("document-edit", QStyle::SP_FileDialogDetailedView), &Tfrm_TorzsAdat::renameRow);
    aTorol = action("aTorol", "Töröl", {QKeySequence(Qt::CTRL | Qt::Key_Delete)},
                    ThemeIcon("edit-delete", QStyle::SP_TrashIcon), &Tfrm_TorzsAdat::deleteRow);
    aExport = action("aExport", "Export", {QKeySequence(Qt::CTRL | Qt::Key_T)},
                     ThemeIcon("document-export", QStyle::SP_FileDialogListView), &Tfrm_TorzsAdat::exportList);
    aElfogad = new QAction(ThemeIcon("dialog-ok", QStyle::SP_DialogOkButton), QStringLiteral("Elfogad"), this);
    aElfogad->setObjectName(QStringLiteral("aElfogad"));
    aElfogad->setShortcuts({Qt::Key_Return, Qt::Key_Enter});
    addAction(aElfogad);
    connect(aElfogad, &QAction::triggered, this, &QDialog::accept);
    aBezar = new QAction(ThemeIcon("window-close", QStyle::SP_DialogCloseButton), QStringLiteral("Bezár"), this);
    aBezar->setObjectName(QStringLiteral("aBezar"));
    aBezar->setShortcut(Qt::Key_Escape);
    addAction(aBezar);
    connect(aBezar, &QAction::triggered, this, &QDialog::reject);
    for (QAction *a : {aElfogad, aBezar}) {
        a->setToolTip(a->text());
        a->setStatusTip(a->text());
    }
    // Only a chooser accepts; a browse window closes with Cancel alone.
    aElfogad->setEnabled(pick_);
    aElfogad->setVisible(pick_);

    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("ToolBar1"));
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar_->setIconSize(QSize(16, 16));
    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("PopupMenu1"));
    for (QWidget *w : {static_cast<QWidget *>(toolBar_), static_cast<QWidget *>(popup_)}) {
        w->addAction(aUj);
        w->addAction(aSzerkeszt);
        w->addAction(aTorol);
    }
    toolBar_->addSeparator();
    popup_->addSeparator();
    toolBar_->addAction(aExport);
    popup_->addAction(aExport);
    toolBar_->addSeparator();
    popup_->addSeparator();
    for (QAction *a : {aElfogad, aBezar}) {
        toolBar_->addAction(a);
        popup_->addAction(a);
    }
    for (QAction *a : toolBar_->actions())
        if (QWidget *b = toolBar_->widgetForAction(a); b && !a->isSeparator())
            b->setMinimumSize(53, 36);

    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl1"));
    for (int i = 0; i < MasterTableCount; ++i) {
        pages_->addTab(makePage(i), MasterTableAt(i).caption);
        pages_->setTabVisible(i, false);
    }
    pages_->setTabVisible(index_, true);
    pages_->setCurrentIndex(index_);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar_);
    layout->addWidget(pages_, 1);

    InstallFocusColour(this);
    RememberPosition(this, ctx_.services);
}

QWidget *Tfrm_TorzsAdat::makePage(int i) {
    const MasterTable &t = MasterTableAt(i);
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet%1").arg(i + 1));

    tbl_[i] = new MemDataset(ctx_.db, this);
    tbl_[i]->setObjectName(QStringLiteral("Tbl%1").arg(i));

    edit_[i] = new QLineEdit(page);
    edit_[i]->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
    edit_[i]->setFixedWidth(121);
    connect(edit_[i], &QLineEdit::textChanged, this, [this](const QString &typed) { search(typed); });
    // The edit keeps Enter from the window's shortcuts; in a chooser it still accepts.
    connect(edit_[i], &QLineEdit::returnPressed, this, [this] {
        if (aElfogad->isEnabled())
            aElfogad->trigger();
    });

    auto *grid = new QTableView(page);
    grid_[i] = grid;
    grid->setObjectName(QStringLiteral("DBGrid%1").arg(i + 1));
    SetRowGrid(grid);
    grid->setSortingEnabled(false);
    grid->horizontalHeader()->setSectionsClickable(false);
    // The chosen row stays marked when the focus is in the search edit.
    QPalette p = grid->palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText, p.color(QPalette::Active, QPalette::HighlightedText));
    grid->setPalette(p);
    SetGridFont(grid, ctx_.settings.FontSize);
    auto *model = new DatasetTableModel(tbl_[i], {{t.nameColumn, t.title}}, grid);
    BindCurrentRow(grid, model);
    grid->horizontalHeader()->resizeSection(0, 333);
    connect(model, &QAbstractItemModel::modelReset, grid, [grid] { grid->horizontalHeader()->resizeSection(0, 333); });
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this,
            [this, grid](const QPoint &pos) { popup_->exec(grid->viewport()->mapToGlobal(pos)); });
    connect(grid, &QAbstractItemView::doubleClicked, this, [this] { (pick_ ? aElfogad : aSzerkeszt)->trigger(); });

    auto *strip = new QWidget(page);
    strip->setFixedHeight(29);
    auto *stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(4, 3, 4, 3);
    stripLayout->addWidget(edit_[i]);
    stripLayout->addStretch(1);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(strip);
    layout->addWidget(grid, 1);
    setTabOrder(edit_[i], grid);
    return page;
}

void Tfrm_TorzsAdat::openAt(qint64 initialKey) {
    MemDataset &ds = dataset();
    OpenMasterTable(ds, table());
    if (!ds.locate(table().table, initialKey))
        ds.first();
    grid()->setFocus();
}

void Tfrm_TorzsAdat::command(void (Tfrm_TorzsAdat::*fn)()) {
    Guarded(ctx_.services, this, [this, fn] { (this->*fn)(); });
    grid()->setFocus();
}

void Tfrm_TorzsAdat::addNames() {
    const QString text = EditLines(ctx_.services, QString(), QStringLiteral("Törzsadat rögzítés"), this);
    const QStringList names = BulkNames(text);
    if (names.isEmpty())
        return;
    if (const QString problem = CheckNames(table(), names); !problem.isEmpty()) {
        ctx_.services.ShowWarning(problem, this);
        return;
    }
    AddNames(dataset(), table(), names);
}

void Tfrm_TorzsAdat::renameRow() {
    MemDataset &ds = dataset();
    if (ds.currentIndex() < 0)
        return;
    QString name = ds.text(table().nameColumn);
    if (!InputString(ctx_.services, QStringLiteral("Törzsadat szerkesztés"), table().prompt, QString(), name, this))
        return;
    if (const QString problem = CheckNames(table(), {name}); !problem.isEmpty()) {
        ctx_.services.ShowWarning(problem, this);
        return;
    }
    RenameCurrent(ds, table(), name);
}

void Tfrm_TorzsAdat::deleteRow() {
    MemDataset &ds = dataset();
    if (ds.currentIndex() < 0)
        return;
    if (!ctx_.services.AskYesNo(QStringLiteral("Valóban töröljem a sort?"), QStringLiteral("Megerősítés"), this))
        return;
    // The books keep their key and their copy of the name.
    ds.deleteCurrent();
}

void Tfrm_TorzsAdat::exportList() {
    // Only to be read or copied: whatever happens in the editor is dropped.
    EditLines(ctx_.services, NameList(ctx_.db, table().table), QString(), this);
}

void Tfrm_TorzsAdat::search(const QString &typed) {
    MemDataset &ds = dataset();
    if (!ds.isOpen())
        return;
    const int row = MasterSearchIndex(ds, table(), typed);
    if (row >= 0)
        ds.moveTo(row);
}

MasterPick ChooseMasterData(AppContext &ctx, int tableIndex, bool pick, QWidget *parent, qint64 initialKey) {
    Tfrm_TorzsAdat window(ctx, tableIndex, pick, parent);
    window.openAt(initialKey);
    MasterPick result;
    if (window.exec() == QDialog::Accepted && pick) {
        const MemDataset &ds = window.dataset();
        if (ds.currentIndex() >= 0) {
            result.accepted = true;
            result.key = ds.value(window.table().table).toLongLong();
            result.name = ds.text(window.table().nameColumn);
        }
    }
    window.dataset().close();
    return result;
}

} // namespace kodexa
