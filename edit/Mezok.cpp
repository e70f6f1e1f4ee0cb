#include "edit/Mezok.h"

#include "data/Dataset.h"
#include "data/DesktopServices.h"
#include "data/Seged.h"
#include "data/Settings.h"
#include "edit/core/Mezok.h"
#include "gui/DatasetModel.h"
#include "gui/Widgets.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace kodexa {

namespace {

enum MezoColumn { ColPosition, ColSort, ColLabel };

// The sort mark: a blue upward arrow.
QPixmap sortMarkPicture() {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath arrow;
    arrow.moveTo(8, 1);
    arrow.lineTo(14, 8);
    arrow.lineTo(10.5, 8);
    arrow.lineTo(10.5, 14.5);
    arrow.lineTo(5.5, 14.5);
    arrow.lineTo(5.5, 8);
    arrow.lineTo(2, 8);
    arrow.closeSubpath();
    p.setPen(QPen(QColor(0, 0, 128), 1));
    p.setBrush(QColor(0, 64, 255));
    p.drawPath(arrow);
    return pm;
}

// The unmarked picture: transparent but for one dark pixel in its middle.
QPixmap noMarkPicture() {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QColor(64, 64, 64));
    p.drawPoint(8, 8);
    return pm;
}

// Rows past the six shown columns are greyed (maroon when selected); the sort column is a picture.
class MezoDelegate final : public QStyledItemDelegate {
public:
    explicit MezoDelegate(QObject *parent) : QStyledItemDelegate(parent), marks_{noMarkPicture(), sortMarkPicture()} {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        // Painting must not raise: a position that is no number counts as 0.
        const int position = index.siblingAtColumn(ColPosition).data(DatasetTableModel::ValueRole).toInt();
        if (position > ShownFieldCount) {
            const QColor maroon(128, 0, 0);
            for (auto group : {QPalette::Active, QPalette::Inactive}) {
                opt.palette.setColor(group, QPalette::Highlight, maroon);
                opt.palette.setColor(group, QPalette::HighlightedText, Qt::white);
            }
            opt.backgroundBrush = QApplication::palette().color(QPalette::Button);
        }
        if (index.column() == ColSort)
            opt.text.clear();
        const QWidget *w = opt.widget;
        QStyle *style = w ? w->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, w);
        if (index.column() != ColSort)
            return;
        const bool marked = index.data(DatasetTableModel::ValueRole).toString() == QLatin1String("I");
        painter->drawPixmap(opt.rect.left() + 1, opt.rect.top(), marks_[marked ? 1 : 0]);
    }

private:
    QPixmap marks_[2];
};

} // namespace

Tfrm_Mezo::Tfrm_Mezo(AppContext &ctx, QString &sortField, QString &sortCaption, QWidget *parent)
    : QDialog(parent), ctx_(ctx), sortField_(sortField), sortCaption_(sortCaption),
      TblM_(std::make_unique<MemDataset>(ctx.db)) {
    SetUpDialog(this, "frm_Mezo", QStringLiteral("Képernyőn megjelenő mezők"), {332, 410});

    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setFixedWidth(229);
    SetRowGrid(DBGrid1);
    // The position reads as a label, left like the names; the sort mark is drawn by the delegate.
    auto *model = new DatasetTableModel(
        TblM_.get(),
        {{QStringLiteral("mezo"), QStringLiteral("#"), {}, Qt::AlignLeft | Qt::AlignVCenter},
         {QStringLiteral("sorrend"), QStringLiteral("^"), [](const QVariant &) { return QVariant(); }, Qt::AlignCenter},
         {QStringLiteral("displabel"), QStringLiteral("mező")}},
        this);
    BindCurrentRow(DBGrid1, model);
    DBGrid1->setItemDelegate(new MezoDelegate(DBGrid1));
    DBGrid1->setColumnWidth(ColPosition, 28);
    DBGrid1->setColumnWidth(ColSort, 18);
    DBGrid1->setColumnWidth(ColLabel, 144);
    SetGridFont(DBGrid1, ctx_.settings.FontSize);

    auto *up = new QPushButton(QStringLiteral("Fel"), this);
    up->setObjectName(QStringLiteral("Button1"));
    auto *down = new QPushButton(QStringLiteral("Le"), this);
    down->setObjectName(QStringLiteral("Button2"));
    auto *sort = new QPushButton(QStringLiteral("Sorrend"), this);
    sort->setObjectName(QStringLiteral("Button4"));
    auto *close = new QPushButton(QStringLiteral("Bezár"), this);
    close->setObjectName(QStringLiteral("Button3"));
    for (QPushButton *b : {up, down, sort, close})
        b->setAutoDefault(false);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 8, 8);
    layout->addWidget(DBGrid1);
    auto *buttons = new QVBoxLayout;
    buttons->setContentsMargins(0, 8, 0, 0);
    buttons->addWidget(up);
    buttons->addWidget(down);
    buttons->addWidget(sort);
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);

    // The grid's pop-up menu offers the same four commands.
    auto addAction = [this](const char *name, const QString &text) {
        auto *a = new QAction(text, DBGrid1);
        a->setObjectName(QLatin1String(name));
        DBGrid1->addAction(a);
        return a;
    };
    auto separator = [this] {
        auto *a = new QAction(DBGrid1);
        a->setSeparator(true);
        DBGrid1->addAction(a);
    };
    QAction *aUp = addAction("mnuFel", QStringLiteral("Fel"));
    QAction *aDown = addAction("mnuLe", QStringLiteral("Le"));
    separator();
    QAction *aSort = addAction("mnuSorrend", QStringLiteral("Sorrend"));
    separator();
    QAction *aClose = addAction("mnuBezar", QStringLiteral("Bezár"));
    DBGrid1->setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(up, &QPushButton::clicked, this, &Tfrm_Mezo::moveUp);
    connect(aUp, &QAction::triggered, this, &Tfrm_Mezo::moveUp);
    connect(down, &QPushButton::clicked, this, &Tfrm_Mezo::moveDown);
    connect(aDown, &QAction::triggered, this, &Tfrm_Mezo::moveDown);
    connect(sort, &QPushButton::clicked, this, &Tfrm_Mezo::markSort);
    connect(aSort, &QAction::triggered, this, &Tfrm_Mezo::markSort);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(aClose, &QAction::triggered, this, &QDialog::reject);

    RememberPosition(this, ctx_.services);
    reopen(1);
}

Tfrm_Mezo::~Tfrm_Mezo() = default;

int Tfrm_Mezo::currentPosition() const {
    if (!TblM_->isOpen() || TblM_->currentIndex() < 0)
        return 0;
    return TblM_->value(QStringLiteral("mezo")).toInt();
}

void Tfrm_Mezo::reopen(int position) {
    TblM_->openTable(QStringLiteral("mezo"), QStringLiteral("mezo"));
    if (!TblM_->locate(QStringLiteral("mezo"), position))
        TblM_->first();
}

void Tfrm_Mezo::run(const std::function<int(int)> &change) {
    const int n = currentPosition();
    if (n <= 0)
        return;
    int now = n;
    // A failed change is reported; the table is shown again from the file in any case.
    Guarded(ctx_.services, this, [&] { now = change(n); });
    Guarded(ctx_.services, this, [&] { reopen(now); });
}

void Tfrm_Mezo::moveUp() {
    run([this](int n) { return MoveFieldUp(ctx_.db, n); });
}

void Tfrm_Mezo::moveDown() {
    run([this](int n) { return MoveFieldDown(ctx_.db, n); });
}

void Tfrm_Mezo::markSort() {
    run([this](int n) {
        if (const auto choice = MarkSortField(ctx_.db, n)) {
            sortField_ = choice->field;
            sortCaption_ = choice->caption;
        }
        return n;
    });
}

void ShowFieldConfig(AppContext &ctx, QString &sortField, QString &sortCaption, QWidget *parent) {
    Tfrm_Mezo dlg(ctx, sortField, sortCaption, parent);
    dlg.exec();
}

} // namespace kodexa
