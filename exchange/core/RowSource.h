#pragma once
// What the delimited export writes: any set of rows with named, typed columns, read one
// row at a time so that a 200,000-book list never sits in memory whole.

#include "data/Schema.h"

#include <QString>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>

namespace kodexa {

class BookList;
class Db;

struct SourceColumn {
    QString name;  // field name: what the column list shows and ticks
    QString label; // header text: the display label, the field name when there is none
    FieldKind kind = FieldKind::Text;
};

class RowSource {
public:
    virtual ~RowSource() = default;
    virtual const QVector<SourceColumn> &columns() const = 0;
    // Rows forEach will give; -1 when it cannot tell without reading them all.
    virtual qint64 rowCount() = 0;
    // Calls row with each row's values in column order, first to last; a false return
    // stops the reading.
    using RowFn = std::function<bool(const QVector<QVariant> &values)>;
    virtual void forEach(const RowFn &row) = 0;
};

// The book list as the main window holds it: every column of konyvek, in list order.
class BookListSource final : public RowSource {
public:
    explicit BookListSource(const BookList &list);
    const QVector<SourceColumn> &columns() const override { return columns_; }
    qint64 rowCount() override;
    void forEach(const RowFn &row) override;

private:
    const BookList &list_;
    QVector<SourceColumn> columns_;
    QVector<int> fieldIndex_; // column -> field of the list
};

// Any SELECT, row by row through one prepared statement. Column kinds come from the
// declared types of the columns the query reads; an expression column is written by the
// type of each value.
class QuerySource final : public RowSource {
public:
    // countSql, when given, counts the rows for the progress bar instead of counting the
    // whole query: a query ordered through an index reads every row to be counted.
    QuerySource(Db &db, QString sql, QString countSql = {});
    const QVector<SourceColumn> &columns() const override { return columns_; }
    qint64 rowCount() override;
    void forEach(const RowFn &row) override;

private:
    Db &db_;
    QString sql_;
    QString countSql_;
    QVector<SourceColumn> columns_;
    qint64 count_ = -2; // not yet counted
};

// The sixteen columns of "Adatbázis export", the file the import reads back, in key order.
QString FixedExportSql();
std::unique_ptr<QuerySource> FixedExportSource(Db &db);

} // namespace kodexa
