#include "app/BookGridModel.h"

#include "data/BookList.h"
#include "data/Seged.h"
#include "gui/ReadFailures.h"
#include "data/ShownText.h"

#include <QApplication>
#include <QPalette>

namespace kodexa {


BookGridModel::BookGridModel(BookList &tbl, QObject *parent) : QAbstractTableModel(parent), tbl_(tbl) {
    connect(&tbl_, &Dataset::aboutToReset, this, [this] { beginResetModel(); });
    connect(&tbl_, &Dataset::resetDone, this, [this] { endResetModel(); });
    connect(&tbl_, &Dataset::aboutToInsert, this, [this](int i) { beginInsertRows({}, i, i); });
    connect(&tbl_, &Dataset::inserted, this, [this](int) { endInsertRows(); });
    connect(&tbl_, &Dataset::aboutToRemove, this, [this](int i) { beginRemoveRows({}, i, i); });
    connect(&tbl_, &Dataset::removed, this, [this](int) { endRemoveRows(); });
    connect(&tbl_, &Dataset::rowChanged, this, [this](int i) {
        // Cell by cell: the view repaints one changed cell alone, but its whole area for a range.
        if (i >= 0 && i < rowCount())
            for (int c = 0; c < columnCount(); ++c)
                emit dataChanged(index(i, c), index(i, c));
    });
    connect(&tbl_, &Dataset::currentChanged, this, [this](int i) {
        const int old = currentRow_;
        currentRow_ = i;
        // The same row again (after a post) changes no marker; the header need not repaint.
        if (old == i)
            return;
        if (old >= 0 && old < rowCount())
            emit headerDataChanged(Qt::Vertical, old, old);
        if (i >= 0 && i < rowCount())
            emit headerDataChanged(Qt::Vertical, i, i);
    });
}

void BookGridModel::setColumns(const QStringList &fields, const QStringList &titles) {
    beginResetModel();
    fields_ = fields;
    titles_ = titles;
    fieldIndex_.clear();
    for (const QString &f : fields_)
        fieldIndex_ << (tbl_.isOpen() || tbl_.fieldList() ? tbl_.fieldIndex(f) : -1);
    endResetModel();
}

void BookGridModel::setSortField(const QString &field) {
    sortField_ = field;
    // Field positions are known once the list has opened.
    for (int i = 0; i < fields_.size(); ++i)
        fieldIndex_[i] = tbl_.fieldIndex(fields_[i]);
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::BackgroundRole});
}

int BookGridModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : tbl_.recordCount(); }
int BookGridModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(fields_.size()); }

QString BookGridModel::displayText(int row, const QString &field) const { return displayAt(row, tbl_.fieldIndex(field)); }

QString BookGridModel::displayAt(int row, int fi) const {
    if (fi < 0)
        return QString();
    return ShownText(tbl_.fields().fields[fi], tbl_.valueAt(row, fi));
}

QVariant BookGridModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid())
        return {};
    // The view asks while it paints: a failed read shows an empty cell and is reported once.
    try {
        QVariant v = cellData(index, role);
        if (failures_ && !tbl_.readFailing())
            failures_->recovered();
        return v;
    } catch (const std::exception &e) {
        if (failures_)
            failures_->failed(ErrorText(e));
    }
    return {};
}

QVariant BookGridModel::cellData(const QModelIndex &index, int role) const {
    const int c = index.column();
    switch (role) {
    case Qt::DisplayRole:
        if (c == 0)
            return {};
        return displayAt(index.row(), fieldIndex_.value(c, -1) >= 0 ? fieldIndex_[c] : tbl_.fieldIndex(fields_[c]));
    case Qt::UserRole: // the flag column's raw value
        return c == 0 ? QVariant(VarToText(tbl_.valueAt(index.row(), fieldIndex_.value(0, -1)))) : QVariant();
    case Qt::BackgroundRole:
        return QApplication::palette().color(fields_[c] == sortField_ ? QPalette::Button : QPalette::Base);
    default:
        return {};
    }
}

QVariant BookGridModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o == Qt::Horizontal) {
        if (role == Qt::DisplayRole)
            return titles_.value(section);
        return {};
    }
    if (role == Qt::DisplayRole)
        return section == currentRow_ ? QStringLiteral("▸") : QString();
    return {};
}

} // namespace kodexa
