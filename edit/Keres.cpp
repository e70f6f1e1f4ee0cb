#include "edit/Keres.h"

#include "data/BookList.h"
#include "data/Dataset.h"
#include "data/DesktopServices.h"
#include "data/Seged.h"
#include "data/Settings.h"
#include "edit/core/Keres.h"
#include "gui/DatasetModel.h"
#include "gui/Widgets.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace kodexa {

Tfrm_Keres::Tfrm_Keres(AppContext &ctx, QWidget *parent)
    : QDialog(parent), ctx_(ctx), Qry_(std::make_unique<MemDataset>(ctx.db)) {
    SetUpDialog(this, "frm_Keres", QStringLiteral("Kulcsszó keresés"), {456, 242});

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->tabBar()->setAttribute(Qt::WA_Hover);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(PageControl1);

    // Search page.
    auto *page1 = new QWidget;
    page1->setObjectName(QStringLiteral("TabSheet1"));
    auto *label = new QLabel(QStringLiteral("Keresendő kulcsszó"), page1);
    label->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(page1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFixedWidth(321);
    label->setBuddy(Edit1);
    Button1 = new QPushButton(QStringLiteral("Keres"), page1);
    Button1->setObjectName(QStringLiteral("Button1"));
    auto *button2 = new QPushButton(QStringLiteral("Bezár"), page1);
    button2->setObjectName(QStringLiteral("Button2"));
    auto *l1 = new QVBoxLayout(page1);
    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(Edit1);
    row->addStretch();
    l1->addLayout(row);
    l1->addStretch();
    auto *buttons1 = new QHBoxLayout;
    buttons1->addStretch();
    buttons1->addWidget(Button1);
    buttons1->addWidget(button2);
    l1->addLayout(buttons1);
    PageControl1->addTab(page1, QStringLiteral("Keresés"));

    // Result page.
    auto *page2 = new QWidget;
    page2->setObjectName(QStringLiteral("TabSheet2"));
    DBGrid1 = new QTableView(page2);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setFixedWidth(349);
    SetRowGrid(DBGrid1);
    DBGrid1->setSortingEnabled(false);
    DBGrid1->horizontalHeader()->setSectionsClickable(true);
    DBGrid1->horizontalHeader()->setHighlightSections(false);
    model_ = new DatasetTableModel(Qry_.get(),
                                   {{QStringLiteral("szerzo_nev"), QStringLiteral("szerző")},
                                    {QStringLiteral("cim"), QStringLiteral("cím")}},
                                   this);
    // After every (re)open the first row is current, in the grid as in the query.
    BindCurrentRow(DBGrid1, model_);
    DBGrid1->setColumnWidth(0, 113);
    DBGrid1->setColumnWidth(1, 201);
    SetGridFont(DBGrid1, ctx_.settings.FontSize);
    Button3 = new QPushButton(QStringLiteral("Megvan"), page2);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setEnabled(false);
    auto *button4 = new QPushButton(QStringLiteral("Bezár"), page2);
    button4->setObjectName(QStringLiteral("Button4"));
    auto *l2 = new QHBoxLayout(page2);
    l2->addWidget(DBGrid1);
    auto *buttons2 = new QVBoxLayout;
    buttons2->addWidget(Button3);
    buttons2->addWidget(button4);
    buttons2->addStretch();
    l2->addLayout(buttons2);
    PageControl1->addTab(page2, QStringLiteral("Eredmény"));

    // Each page has its own default button: Enter searches on the first, chooses on the second.
    auto pickDefault = [this](int page) {
        Button1->setDefault(page == 0);
        Button3->setDefault(page == 1);
    };
    pickDefault(0);
    connect(PageControl1, &QTabWidget::currentChanged, this, pickDefault);

    InstallFocusColour(this);

    connect(Button1, &QPushButton::clicked, this, [this] { Guarded(ctx_.services, this, [this] { search(); }); });
    connect(button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(button4, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button3, &QPushButton::clicked, this, &Tfrm_Keres::choose);
    connect(DBGrid1, &QTableView::doubleClicked, this, [this](const QModelIndex &i) {
        if (i.isValid())
            choose();
    });
    connect(DBGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) { Guarded(ctx_.services, this, [this, section] { sortByColumn(section); }); });
}

Tfrm_Keres::~Tfrm_Keres() = default;

void Tfrm_Keres::showEvent(QShowEvent *e) {
    QDialog::showEvent(e);
    placeAtParentCorner();
    Edit1->setFocus();
}

void Tfrm_Keres::placeAtParentCorner() {
    QWidget *p = parentWidget() ? parentWidget()->window() : nullptr;
    if (!p)
        return;
    const QRect outer = p->frameGeometry();
    const QSize own = frameGeometry().size();
    move(outer.x() + outer.width() - own.width(), outer.y() + outer.height() - own.height());
}

void Tfrm_Keres::search() {
    Qry_->close();
    sql_ = KeywordSearchSql(Edit1->text());
    Qry_->openQuery(sql_);
    if (!Qry_->isEmpty()) {
        Button3->setEnabled(true);
        PageControl1->setCurrentIndex(1);
        DBGrid1->setFocus();
    } else {
        ctx_.services.ShowError(QStringLiteral("Nincs ilyen sor, keresés sikertelen"), this);
    }
}

void Tfrm_Keres::sortByColumn(int column) {
    if (sql_.isEmpty() || column < 0 || column >= model_->columnCount())
        return;
    sql_ = ReorderSearchSql(sql_, model_->columns()[column].field);
    Qry_->openQuery(sql_);
}

qint64 Tfrm_Keres::chosenKey() const {
    if (!Qry_->isOpen() || Qry_->currentIndex() < 0)
        return 0;
    const QVariant v = Qry_->value(QStringLiteral("konyvek"));
    return v.isNull() ? 0 : v.toLongLong();
}

void Tfrm_Keres::choose() {
    // A double click or Enter before any search has nothing to choose.
    if (!Button3->isEnabled())
        return;
    accept();
}

bool KeywordSearch(AppContext &ctx, QWidget *parent) {
    Tfrm_Keres dlg(ctx, parent);
    if (dlg.exec() != QDialog::Accepted)
        return false;
    const qint64 key = dlg.chosenKey();
    return key > 0 && ctx.tbl.locateKey(key);
}

} // namespace kodexa
