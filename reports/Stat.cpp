#include "reports/Stat.h"

#include "data/BookList.h"
#include "data/Dataset.h"
#include "data/Seged.h"
#include "data/Settings.h"
#include "gui/DatasetModel.h"
#include "gui/Widgets.h"
#include "reports/core/Stat.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

namespace kodexa {

Tfrm_Stat::Tfrm_Stat(AppContext &ctx, QWidget *parent)
    : QDialog(parent), ctx_(ctx), qry_(std::make_unique<MemDataset>(ctx.db)) {
    SetUpDialog(this, "frm_Stat", QStringLiteral("Statisztika"), {330, 372});

    const StatTotals t = ReadStatTotals(ctx_.db, ctx_.tbl.recordCount());
    const qint64 values[4] = {t.books, t.authors, t.publishers, t.value};
    const char *captions[4] = {"könyv", "szerző", "kiadó", "névleges értéken"};
    const char *names[4] = {"lblKonyv", "lblSzerzo", "lblKiado", "lblErtek"};
    QFont bold = font();
    bold.setBold(true);
    for (int i = 0; i < 4; ++i) {
        const int top = 10 + i * 18;
        auto *number = new QLabel(FormatGrouped(values[i]), this);
        number->setObjectName(QLatin1String(names[i]));
        number->setFont(bold);
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        number->setGeometry(8, top, 77, 16);
        auto *caption = new QLabel(QString::fromUtf8(captions[i]), this);
        caption->setObjectName(QLatin1String(names[i]) + QStringLiteral("Cimke"));
        caption->setGeometry(92, top, 140, 16);
        numbers_[i] = number;
    }

    auto *button1 = new QPushButton(QStringLiteral("Bezár"), this);
    button1->setObjectName(QStringLiteral("Button1"));
    button1->setGeometry(width() - 83, 8, 75, 25);
    connect(button1, &QPushButton::clicked, this, &QDialog::reject);

    qry_->openQuery(GenreCountSql());
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    SetRowGrid(DBGrid1);
    model_ = new DatasetTableModel(qry_.get(),
                                   {{QStringLiteral("mfajnev"), QStringLiteral("műfaj")},
                                    // The count is held and shown as a text, as the grid's second column.
                                    {QStringLiteral("db"), QStringLiteral("db"),
                                     [](const QVariant &v) { return QVariant(VarToText(v)); }, Qt::AlignLeft | Qt::AlignVCenter}},
                                   this);
    BindCurrentRow(DBGrid1, model_);
    DBGrid1->horizontalHeader()->setSectionsClickable(false);
    DBGrid1->horizontalHeader()->setHighlightSections(false);
    SetGridFont(DBGrid1, ctx_.settings.FontSize);
    DBGrid1->setColumnWidth(0, 221);
    DBGrid1->setColumnWidth(1, 71);
    DBGrid1->setGeometry(8, 88, width() - 16, height() - 96);

    RememberPosition(this, ctx_.services);
}

Tfrm_Stat::~Tfrm_Stat() {
    DBGrid1->setModel(nullptr);
    qry_->close();
}

QString Tfrm_Stat::numberText(int row) const { return numbers_[row]->text(); }

void ShowStatistics(AppContext &ctx, QWidget *parent) {
    Tfrm_Stat dlg(ctx, parent);
    dlg.exec();
}

} // namespace kodexa
