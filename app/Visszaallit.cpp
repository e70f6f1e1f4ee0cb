#include "app/Visszaallit.h"

#include "data/Seged.h"
#include "gui/Widgets.h"

#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QHBoxLayout>

namespace kodexa {

Tfrm_Visszaallit::Tfrm_Visszaallit(const QVector<BackupEntry> &backups, QWidget *parent)
    : QDialog(parent), backups_(backups), grid_(new QTableWidget(int(backups.size()), 4, this)) {
    SetUpDialog(this, "frm_Visszaallit", QStringLiteral("Visszaállítás mentésből"));
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    grid_->setHorizontalHeaderLabels({QStringLiteral("Dátum"), QStringLiteral("Idő"), QStringLiteral("Könyvek"),
                                      QStringLiteral("Méret")});
    SetRowGrid(grid_);
    const QLocale hu(QLocale::Hungarian, QLocale::Hungary);
    for (int row = 0; row < backups.size(); ++row) {
        const BackupEntry &b = backups[row];
        const qint64 books = BooksInBackup(b.path);
        const QStringList cells{b.when.toString(QStringLiteral("yyyy.MM.dd.")), b.when.toString(QStringLiteral("HH:mm:ss")),
                                books < 0 ? QStringLiteral("sérült") : FormatGrouped(books),
                                hu.formattedDataSize(b.bytes, 1, QLocale::DataSizeTraditionalFormat)};
        for (int col = 0; col < 4; ++col) {
            auto *item = new QTableWidgetItem(cells[col]);
            if (col >= 2)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid_->setItem(row, col, item);
        }
    }
    grid_->resizeColumnsToContents();
    grid_->horizontalHeader()->setStretchLastSection(true);
    if (!backups.isEmpty())
        grid_->selectRow(0);

    auto *ok = new QPushButton(QStringLiteral("Visszaállítás"), this);
    ok->setObjectName(QStringLiteral("btnVisszaallit"));
    auto *cancel = new QPushButton(QStringLiteral("Mégse"), this);
    cancel->setObjectName(QStringLiteral("btnMegse"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(grid_, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    layout->addLayout(buttons);
    resize(460, 300);
}

Tfrm_Visszaallit::~Tfrm_Visszaallit() = default;

QString Tfrm_Visszaallit::chosen() const {
    const int row = grid_->currentRow();
    return row >= 0 && row < backups_.size() ? backups_[row].path : QString();
}

} // namespace kodexa
