// The command set of the main window: building the actions and their places, and the
// commands that act on their own.
#include "app/Main.h"

#include "app/MainAdmin.h"
#include "app/MainBackup.h"
#include "app/core/CommandLayout.h"
#include "app/core/Lending.h"
#include "app/MainExchange.h"
#include "app/MainHtml.h"
#include "app/MainSystem.h"
#include "data/DesktopServices.h"
#include "data/Kozos.h"
#include "data/Locations.h"
#include "data/Seged.h"
#include "edit/InpStr.h"
#include "edit/Keres.h"
#include "edit/Mezok.h"
#include "edit/Szerkeszt.h"
#include "data/LookupTables.h"
#include "edit/TorzsAdat.h"
#include "gui/CoverPicture.h"
#include "gui/Widgets.h"

#include <QAction>
#include <QDate>
#include <QHeaderView>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTableView>
#include <QToolBar>

#include <algorithm>
#include <QToolButton>

namespace kodexa {

namespace {
QIcon commandIcon(const char *themeName, const QString &caption) {
    QIcon icon = QIcon::fromTheme(QLatin1String(themeName));
    if (!icon.isNull())
        return icon;
    // A bare machine without an icon theme still shows a picture: the caption's initial.
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(70, 110, 160));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(2, 2, 28, 28, 6, 6);
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(18);
    p.setFont(f);
    p.drawText(pm.rect(), Qt::AlignCenter, caption.left(1).toUpper());
    return QIcon(pm);
}

} // namespace

void Tfrm_Main::buildCommands() {
    toolBar1_ = new QToolBar(QStringLiteral("Eszközök"), this);
    toolBar1_->setObjectName(QStringLiteral("ToolBar1"));
    toolBar1_->setIconSize(QSize(16, 16));
    toolBar1_->setMovable(false);
    addToolBar(toolBar1_);
    addToolBarBreak();
    toolBar2_ = new QToolBar(QStringLiteral("Könyvek"), this);
    toolBar2_->setObjectName(QStringLiteral("ToolBar2"));
    toolBar2_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar2_->setMovable(false);
    QFont small = toolBar2_->font();
    small.setPointSizeF(small.pointSizeF() * 0.9); // the captions fit the 58-pixel buttons
    toolBar2_->setFont(small);
    // The caption gets what the 36-pixel button leaves under the icon (the style keeps 4
    // pixels around it), and is clipped to that: the icon gives way so an accent over a
    // capital ("Új") and a descender ("Kép") show whole.
    const int iconSide = std::clamp(36 - 6 - QFontMetrics(small).height(), 16, 20);
    toolBar2_->setIconSize(QSize(iconSide, iconSide));
    addToolBar(toolBar2_);
    gridMenu_ = new QMenu(this);
    gridMenu_->setObjectName(QStringLiteral("PopupMenu1"));
    gridMenu_->setToolTipsVisible(true);
    printMenu_ = new QMenu(this);
    printMenu_->setObjectName(QStringLiteral("PrintDropDown"));
    printMenu_->setToolTipsVisible(true);

    const QVector<QPair<QString, std::function<void()>>> own = {
        {"aUj", [this] { aUjExecute(); }},
        {"aSzerkeszt", [this] { aSzerkesztExecute(); }},
        {"aTorol", [this] { aTorolExecute(); }},
        {"aKep", [this] { aKepExecute(); }},
        {"aBezar", [this] { close(); }},
        {"aKeres", [this] { aKeresExecute(); }},
        {"aBetuNovel", [this] { aBetuNovelExecute(); }},
        {"aBetuCsokkent", [this] { aBetuCsokkentExecute(); }},
        {"aMezo", [this] { aMezoExecute(); }},
        {"aKolcsonad", [this] { aKolcsonadExecute(); }},
        {"aVisszavesz", [this] { aVisszaveszExecute(); }},
        {"aSugo", [this] { services_.OpenDocument(SharedPath(QStringLiteral("Help/index.htm")), this); }},
        {"aHonlap", [this] { services_.OpenDocument(MakerHomePage(), this); }},
        {"aLevel", [this] { services_.OpenDocument(QStringLiteral("mailto:") + MakerMailAddress() + QStringLiteral("?subject=Kodexa"), this); }},
        {"aUjdonsag", [this] { services_.OpenDocument(SharedPath(QStringLiteral("Ujdonsag.exe")), this); }},
    };
    for (const auto &[name, run] : own)
        AddCommand(name, run);
    for (int i = 0; i < MasterTableCount; ++i)
        AddCommand(QLatin1String(LookupTables()[i].browseCommand), [this, i] { ChooseMasterData(ctx_, i, false, this); });
    AddExchangeCommands(*this);
    AddHtmlCommand(*this);
    AddUserAndSqlCommands(*this);
    AddReportCommands(*this);
    AddSystemCommands(*this);
    AddBackupCommands(*this);
}

QAction *Tfrm_Main::AddCommand(const QString &name, const std::function<void()> &run) {
    const CommandDef *def = FindCommand(name);
    auto *a = new QAction(this);
    a->setObjectName(name);
    const QString caption = def ? QString::fromUtf8(def->caption) : name;
    a->setText(caption);
    const QString hint = def && def->hint ? QString::fromUtf8(def->hint) : caption;
    a->setToolTip(hint);
    a->setStatusTip(hint);
    if (def && def->shortcut)
        a->setShortcut(QKeySequence(QLatin1String(def->shortcut)));
    a->setShortcutContext(Qt::WindowShortcut);
    a->setIcon(commandIcon(def ? def->icon : "", caption));
    a->setIconVisibleInMenu(true);
    connect(a, &QAction::triggered, this, [this, run] { command(run); });
    addAction(a); // shortcuts work even when the command is in no visible place
    actions_.insert(name, a);
    runs_.insert(name, run);
    rebuildCommandPlaces();
    return a;
}

void Tfrm_Main::rebuildCommandPlaces() {
    const QStringList present = actions_.keys();
    auto fill = [this, &present](QWidget *target, const QStringList &layout) {
        QList<QMenu *> stack;
        auto add = [&](QAction *a) {
            if (!stack.isEmpty())
                stack.last()->addAction(a);
            else
                target->addAction(a);
        };
        for (const QString &item : PresentItems(layout, present)) {
            if (item == QLatin1String("-")) {
                if (!stack.isEmpty())
                    stack.last()->addSeparator();
                else if (auto *m = qobject_cast<QMenu *>(target))
                    m->addSeparator();
                else if (auto *t = qobject_cast<QToolBar *>(target))
                    t->addSeparator();
            } else if (item.startsWith(QLatin1Char('>'))) {
                auto *sub = new QMenu(item.mid(1), target);
                sub->setToolTipsVisible(true);
                sub->setObjectName(QStringLiteral("Submenu_") + item.mid(1));
                add(sub->menuAction());
                stack << sub;
            } else if (item == QLatin1String("<")) {
                stack.removeLast();
            } else {
                add(actions_.value(item));
            }
        }
    };
    menuBar()->clear();
    for (const MenuLayout &m : MenuBarLayout()) {
        if (PresentItems(m.items, present).isEmpty())
            continue;
        QMenu *menu = menuBar()->addMenu(m.title);
        menu->setObjectName(QStringLiteral("Menu_") + m.title);
        menu->setToolTipsVisible(true); // the hint pop-up of the command under the mouse
        fill(menu, m.items);
    }
    toolBar1_->clear();
    fill(toolBar1_, SmallToolbarLayout());
    printMenu_->clear();
    fill(printMenu_, PrintDropDownLayout());
    toolBar2_->clear();
    fill(toolBar2_, LargeToolbarLayout());
    for (QAction *a : toolBar2_->actions())
        if (auto *b = qobject_cast<QToolButton *>(toolBar2_->widgetForAction(a))) {
            b->setFixedSize(58, 36);
            b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
            if (a->objectName() == QLatin1String("aNyomtat")) {
                b->setMenu(printMenu_);
                b->setPopupMode(QToolButton::MenuButtonPopup);
                b->setFixedSize(70, 36);
            }
        }
    gridMenu_->clear();
    fill(gridMenu_, GridContextLayout());
}

void Tfrm_Main::command(const std::function<void()> &run) { Guarded(services_, this, run); }

// ---- Commands ----

void Tfrm_Main::aUjExecute() {
    ShowBookEdit(ctx_, true, this);
}

void Tfrm_Main::aSzerkesztExecute() {
    if (tbl_->isEmpty())
        return;
    ShowBookEdit(ctx_, false, this);
}

void Tfrm_Main::aTorolExecute() {
    // With an empty list there is nothing to ask about.
    if (tbl_->isEmpty())
        return;
    if (services_.AskYesNo(QStringLiteral("Valóban töröljem a könyvet?"), QStringLiteral("Megerősítés"), this))
        tbl_->deleteCurrent();
}

void Tfrm_Main::aKepExecute() {
    if (tbl_->isEmpty())
        return;
    const QString src = services_.openFileName(QStringLiteral("Kép választás"), QString(),
                                               QStringLiteral("JPEG kép állományok (*.jpg)|*.jpg"), QStringLiteral(".jpg"), this);
    if (src.isEmpty())
        return;
    // Checked and written whole, as the edit dialog does; a failure is reported.
    StoreCoverPicture(src, VarToInt(tbl_->value(QStringLiteral("konyvek"))));
    ShowBookPicture();
}

void Tfrm_Main::aKeresExecute() { KeywordSearch(ctx_, this); }

void Tfrm_Main::aMezoExecute() {
    QString field = sortField_, caption = sortCaption_;
    ShowFieldConfig(ctx_, field, caption, this);
    SortBy(field, caption);
    LoadGridColumns();
    SpreadColumnWidths();
}

void Tfrm_Main::aKolcsonadExecute() {
    if (tbl_->isEmpty())
        return;
    if (const QString refusal = LendRefusal(*tbl_); !refusal.isEmpty()) {
        services_.ShowError(refusal, this);
        return;
    }
    QString who;
    if (!InputString(services_, QStringLiteral("Tétel kölcsönzés"), QStringLiteral("Kinek?"), QString(), who, this))
        return;
    LendBook(*tbl_, who, QDate::currentDate());
}

void Tfrm_Main::aVisszaveszExecute() {
    if (tbl_->isEmpty())
        return;
    if (const QString refusal = TakeBackRefusal(*tbl_); !refusal.isEmpty()) {
        services_.ShowError(refusal, this);
        return;
    }
    TakeBackBook(*tbl_);
}

void Tfrm_Main::aBetuNovelExecute() {
    beall_.FontSize = FontSizeUp(beall_.FontSize);
    applyGridFont();
}

void Tfrm_Main::aBetuCsokkentExecute() {
    beall_.FontSize = FontSizeDown(beall_.FontSize);
    applyGridFont();
}

void Tfrm_Main::applyGridFont() {
    const QFont titles = grid_->horizontalHeader()->font();
    SetGridFont(grid_, beall_.FontSize);
    grid_->horizontalHeader()->setFont(titles);
    // The grid keeps its top row when the rows grow or shrink, which can push the current
    // row (and its marker) out of sight: bring it back into view.
    grid_->scrollTo(grid_->currentIndex());
}

} // namespace kodexa
