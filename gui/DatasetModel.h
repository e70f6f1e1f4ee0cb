#pragma once
// A grid model over any dataset: the chosen fields as columns, one row per dataset row.
// It follows the dataset's signals, so a grid stays in step with inserts, deletes, edits
// and reloads made through the dataset.

#include <QAbstractTableModel>
#include <QPointer>
#include <QVector>
#include <functional>

class QAbstractItemView;

namespace kodexa {

class Dataset;

class DatasetTableModel final : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DatasetTableModel)
public:
    struct Column {
        QString field;
        QString title; // empty: the field's label
        // The cell's display text from the stored value; none: the value as text.
        std::function<QVariant(const QVariant &)> display = {};
        // None: numbers right, everything else left.
        Qt::Alignment alignment = {};
    };
    // The stored value of a cell, unformatted: for delegates that draw it themselves.
    static constexpr int ValueRole = Qt::UserRole;

    DatasetTableModel(Dataset *dataset, QVector<Column> columns, QObject *parent = nullptr);

    Dataset *dataset() const { return dataset_; }
    void setColumns(QVector<Column> columns);
    const QVector<Column> &columns() const { return columns_; }
    // true between a dataset's "about to" signal and its "done" signal.
    bool isChanging() const { return changing_; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    // The dataset's current row changed (-1: none).
    void currentRowChanged(int row);

private:
    void resolveFields();

    QPointer<Dataset> dataset_;
    QVector<Column> columns_;
    QVector<int> fieldIndexes_;
    bool changing_ = false;
};

// Keeps the view's current row and the dataset's current row together, in both directions.
void BindCurrentRow(QAbstractItemView *view, DatasetTableModel *model);

} // namespace kodexa
