#include "admin/Felhasznalo.h"

#include "admin/FelhasznaloSzerkeszt.h"
#include "admin/core/Users.h"
#include "data/Dataset.h"
#include "data/DesktopServices.h"
#include "data/Settings.h"
#include "gui/Actions.h"
#include "gui/DatasetModel.h"
#include "gui/Pictures.h"
#include "gui/Widgets.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kodexa {

namespace {

// A flag cell: cleared, then the picture of its value, no text.
class FlagDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        opt.text.clear();
        const QWidget *w = option.widget;
        (w ? w->style() : QApplication::style())->drawControl(QStyle::CE_ItemViewItem, &opt, p, w);
        const QPixmap pm = UserFlagPixmap(IsYes(index.data(DatasetTableModel::ValueRole)));
        const QRect r = option.rect;
        p->drawPixmap(r.left() + (r.width() - pm.width()) / 2, r.top() + (r.height() - pm.height()) / 2, pm);
    }
};

} // namespace

QPixmap UserFlagPixmap(bool yes) {
    // A small box, ticked for "I": readable on a selected row as well as on a plain one.
    return CachedPicture(yes ? QStringLiteral("kodexa-userflag-1") : QStringLiteral("kodexa-userflag-0"), 14, [yes](QPainter &p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(120, 120, 120), 1));
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(0.5, 0.5, 13, 13), 2, 2);
        if (yes) {
            p.setPen(QPen(QColor(0, 140, 0), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPolyline(QPolygonF({QPointF(3.2, 7.2), QPointF(5.8, 10), QPointF(10.8, 3.8)}));
        }
    });
}

Tfrm_Felhasznalo::Tfrm_Felhasznalo(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    SetUpDialog(this, "frm_Felhasznalo", QStringLiteral("Felhasználók adatai"), {432, 299});

    aUj = WindowAction(this, "aUj", QStringLiteral("Új Felhasználó"), {Qt::Key_Insert},
                       ThemeIcon("list-add-user", QStyle::SP_FileIcon));
    aSzerkeszt = WindowAction(this, "aSzerkeszt", QStringLiteral("Szerkeszt"), {Qt::Key_F2},
                              ThemeIcon("document-edit", QStyle::SP_FileDialogDetailedView));
    aTorol = WindowAction(this, "aTorol", QStringLiteral("Töröl"), {QKeySequence(Qt::CTRL | Qt::Key_Delete)},
                          ThemeIcon("edit-delete", QStyle::SP_TrashIcon));
    aBezar = WindowAction(this, "aBezar", QStringLiteral("Bezár"), {Qt::Key_Escape},
                          ThemeIcon("window-close", QStyle::SP_DialogCloseButton));
    connect(aUj, &QAction::triggered, this, [this] { command([this] { EditUser(true); }); });
    connect(aSzerkeszt, &QAction::triggered, this, [this] { command([this] { EditUser(false); }); });
    connect(aTorol, &QAction::triggered, this, [this] { command([this] { deleteUser(); }); });
    connect(aBezar, &QAction::triggered, this, &QDialog::reject);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    ToolBar1->setIconSize(QSize(16, 16));
    auto *popup = new QMenu(this);
    popup->setObjectName(QStringLiteral("PopupMenu1"));
    for (QWidget *place : {static_cast<QWidget *>(ToolBar1), static_cast<QWidget *>(popup)}) {
        place->addActions({aUj, aSzerkeszt, aTorol});
        if (auto *m = qobject_cast<QMenu *>(place))
            m->addSeparator();
        else
            ToolBar1->addSeparator();
        place->addAction(aBezar);
    }
    for (QAction *a : ToolBar1->actions())
        if (QWidget *b = ToolBar1->widgetForAction(a); b && !a->isSeparator()) {
            // At least the designed size; wider where the caption needs it.
            b->setMinimumSize(76, 36);
            b->setFixedHeight(36);
        }

    Tbl = new MemDataset(ctx_.db, this);
    Tbl->setObjectName(QStringLiteral("Tbl"));
    OpenUsers(*Tbl);

    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    SetRowGrid(DBGrid1);
    SetGridFont(DBGrid1, ctx_.settings.FontSize);
    auto *model = new DatasetTableModel(Tbl,
                                        {{QStringLiteral("felhasznalo"), QStringLiteral("felh.kód")},
                                         {QStringLiteral("felhasznalo_nev"), QStringLiteral("felh.név")},
                                         {QStringLiteral("rendszergazda"), QStringLiteral("rendszergazda")},
                                         {QStringLiteral("torzsszerkeszt"), QStringLiteral("törzs.szerkeszt")}},
                                        DBGrid1);
    BindCurrentRow(DBGrid1, model);
    auto *flags = new FlagDelegate(DBGrid1);
    DBGrid1->setItemDelegateForColumn(2, flags);
    DBGrid1->setItemDelegateForColumn(3, flags);
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this,
            [this, popup](const QPoint &pos) { popup->exec(DBGrid1->viewport()->mapToGlobal(pos)); });
    connect(DBGrid1, &QAbstractItemView::doubleClicked, aSzerkeszt, &QAction::trigger);
    DBGrid1->installEventFilter(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ToolBar1);
    layout->addWidget(DBGrid1, 1);

    RememberPosition(this, ctx_.services);
    DBGrid1->setFocus();
}

Tfrm_Felhasznalo::~Tfrm_Felhasznalo() = default;

bool Tfrm_Felhasznalo::eventFilter(QObject *watched, QEvent *event) {
    // Enter in the grid edits the current user, as a double click does.
    if (watched == DBGrid1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            aSzerkeszt->trigger();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Tfrm_Felhasznalo::command(const std::function<void()> &fn) {
    Guarded(ctx_.services, this, fn);
    DBGrid1->setFocus();
}

void Tfrm_Felhasznalo::EditUser(bool isNew) {
    if (!isNew && Tbl->currentIndex() < 0)
        return;
    Tfrm_FelhasznaloSzerkeszt dialog(*Tbl, ctx_.services, this);
    if (isNew)
        InsertUser(*Tbl);
    else
        Tbl->edit();
    dialog.load();
    if (dialog.exec() != QDialog::Accepted) {
        Tbl->cancel();
        return;
    }
    try {
        Tbl->post();
    } catch (...) {
        // The engine refused the row: nothing of it is written.
        Tbl->cancel();
        throw;
    }
}

void Tfrm_Felhasznalo::deleteUser() {
    if (Tbl->currentIndex() < 0)
        return;
    if (ctx_.services.AskYesNo(QStringLiteral("Valóban töröljem a sort?"), QStringLiteral("Megerősítés"), this))
        Tbl->deleteCurrent();
}

void ShowUsers(AppContext &ctx, QWidget *parent) {
    Tfrm_Felhasznalo window(ctx, parent);
    window.exec();
    window.table().close();
}

} // namespace kodexa
