#pragma once
// The book grid's model: column 0 the lent flag, columns 1-6 the configured fields, rows
// fetched from the book list as the grid shows them.

#include <QAbstractTableModel>
#include <QStringList>

namespace kodexa {

class BookList;
class ReadFailures;

class BookGridModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit BookGridModel(BookList &tbl, QObject *parent = nullptr);

    // fields[0] is the flag column kolcsonadva; titles match.
    void setColumns(const QStringList &fields, const QStringList &titles);
    QStringList fields() const { return fields_; }
    QString title(int column) const { return titles_.value(column); }
    void setSortField(const QString &field);
    // Where a failed read while painting is reported; without one the cell just shows empty.
    void setReadFailures(ReadFailures *failures) { failures_ = failures; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

    // The text a cell shows: keys with five digits, dates in the desktop's short format.
    QString displayText(int row, const QString &field) const;

private:
    QString displayAt(int row, int fieldIndex) const;
    QVariant cellData(const QModelIndex &index, int role) const;

    BookList &tbl_;
    QStringList fields_;
    QStringList titles_;
    QVector<int> fieldIndex_;
    QString sortField_;
    int currentRow_ = -1;
    ReadFailures *failures_ = nullptr;
};

} // namespace kodexa
