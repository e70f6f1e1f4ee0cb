#pragma once
// A read-only grid model over a query cursor: rows are read from the file only when the
// grid asks for them. Every call Qt makes is an error boundary: a failure while reading
// (a value the engine refuses to compute, a locked file) shows as empty cells and is
// reported once through readFailed, never as an exception into Qt.

#include "data/QueryCursor.h"

#include <QAbstractTableModel>
#include <memory>

namespace kodexa {

class QueryCursorModel final : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QueryCursorModel)
public:
    explicit QueryCursorModel(QObject *parent = nullptr);
    ~QueryCursorModel() override;

    // Shows the cursor's rows (the model keeps it); null empties the grid.
    void setCursor(std::unique_ptr<QueryCursor> cursor);
    QueryCursor *cursor() const { return cursor_.get(); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    // The engine's message of the first failed read of the current cursor.
    void readFailed(const QString &engineMessage);

private:
    std::unique_ptr<QueryCursor> cursor_;
    mutable bool failed_ = false;
};

} // namespace kodexa
