#include "gui/DatasetModel.h"

#include "data/Dataset.h"
#include "data/Seged.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>

namespace kodexa {

DatasetTableModel::DatasetTableModel(Dataset *dataset, QVector<Column> columns, QObject *parent)
    : QAbstractTableModel(parent), dataset_(dataset), columns_(std::move(columns)) {
    resolveFields();
    connect(dataset, &Dataset::aboutToReset, this, [this] {
        changing_ = true;
        beginResetModel();
    });
    connect(dataset, &Dataset::resetDone, this, [this] {
        resolveFields(); // a reopened query may bring other fields
        endResetModel();
        changing_ = false;
    });
    connect(dataset, &Dataset::aboutToInsert, this, [this](int i) {
        changing_ = true;
        beginInsertRows({}, i, i);
    });
    connect(dataset, &Dataset::inserted, this, [this] {
        endInsertRows();
        changing_ = false;
    });
    connect(dataset, &Dataset::aboutToRemove, this, [this](int i) {
        changing_ = true;
        beginRemoveRows({}, i, i);
    });
    connect(dataset, &Dataset::removed, this, [this] {
        endRemoveRows();
        changing_ = false;
    });
    connect(dataset, &Dataset::rowChanged, this, [this](int i) {
        if (i >= 0 && i < rowCount() && columnCount() > 0)
            emit dataChanged(index(i, 0), index(i, columnCount() - 1));
    });
    connect(dataset, &Dataset::currentChanged, this, &DatasetTableModel::currentRowChanged);
}

void DatasetTableModel::setColumns(QVector<Column> columns) {
    beginResetModel();
    columns_ = std::move(columns);
    resolveFields();
    endResetModel();
}

void DatasetTableModel::resolveFields() {
    fieldIndexes_.clear();
    for (const Column &c : columns_)
        fieldIndexes_.append(dataset_ && dataset_->isOpen() ? dataset_->fieldIndex(c.field) : -1);
}

int DatasetTableModel::rowCount(const QModelIndex &parent) const {
    if (parent.isValid() || !dataset_ || !dataset_->isOpen())
        return 0;
    return dataset_->recordCount();
}

int DatasetTableModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(columns_.size()); }

QVariant DatasetTableModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columns_.size())
        return {};
    const int field = fieldIndexes_.value(index.column(), -1);
    if (field < 0)
        return {};
    const Column &c = columns_[index.column()];
    switch (role) {
    case Qt::DisplayRole: {
        const QVariant v = dataset_->valueAt(index.row(), field);
        return c.display ? c.display(v) : QVariant(VarToText(v));
    }
    case ValueRole:
        return dataset_->valueAt(index.row(), field);
    case Qt::TextAlignmentRole: {
        if (c.alignment)
            return int(c.alignment);
        const FieldKind k = dataset_->fields().fields[field].kind;
        const bool number = k == FieldKind::Integer || k == FieldKind::Float;
        return int((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    default:
        return {};
    }
}

QVariant DatasetTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < 0 || section >= columns_.size())
        return {};
    const Column &c = columns_[section];
    if (!c.title.isEmpty())
        return c.title;
    const int field = fieldIndexes_.value(section, -1);
    return field >= 0 ? dataset_->fields().fields[field].label : c.field;
}

void BindCurrentRow(QAbstractItemView *view, DatasetTableModel *model) {
    view->setModel(model);
    auto showCurrent = [view, model](int row) {
        QItemSelectionModel *sel = view->selectionModel();
        if (!sel)
            return;
        if (row < 0 || row >= model->rowCount() || model->columnCount() == 0) {
            sel->clearCurrentIndex();
            sel->clearSelection();
            return;
        }
        const QModelIndex idx = model->index(row, qMax(0, view->currentIndex().column()));
        if (view->currentIndex() != idx || !sel->isRowSelected(row))
            sel->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        view->scrollTo(idx);
    };
    QObject::connect(model, &DatasetTableModel::currentRowChanged, view, showCurrent);
    QObject::connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, view,
                     [model](const QModelIndex &current) {
                         Dataset *ds = model->dataset();
                         // Rows shifting under an insert or delete are the dataset's own doing.
                         if (!ds || model->isChanging() || ds->state() != DsState::Browse || !current.isValid())
                             return;
                         if (current.row() != ds->currentIndex())
                             ds->moveTo(current.row());
                     });
    if (Dataset *ds = model->dataset(); ds && ds->isOpen())
        showCurrent(ds->currentIndex());
}

} // namespace kodexa
