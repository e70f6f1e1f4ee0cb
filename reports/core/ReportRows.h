#pragma once
// Where a report's rows come from. A query over konyvek is read the book list's way: the
// pass reads only the rowids in report order and the column that decides group changes;
// a page reads its own rows by rowid, in blocks. The grid print reads the book list itself.

#include "reports/core/ReportEngine.h"

#include <QVariantMap>

namespace kodexa {
class BookList;
}

namespace kodexa::report {

// A report query: every column of konyvek, an optional condition, an order.
struct BookQuery {
    QString where;   // without "WHERE"; empty for every book
    QString orderBy; // without "ORDER BY"
    QVariantMap params;
    // The query as the report shows and exports it, one piece per line.
    QString sql() const;
    // The same with each parameter written in as an SQL literal, for a reader that binds nothing.
    QString sqlWithValues() const;
};

class QueryRows final : public ReportSource {
public:
    QueryRows(Db &db, BookQuery query);
    ~QueryRows() override;

    void scan(const QString &groupColumn, const QString &sumColumn) override;
    int rowCount() const override { return int(rowids_.size()); }
    bool groupStarts(int row) const override { return row < int(groupStart_.size()) && groupStart_[size_t(row)]; }
    qint64 sum() const override { return sum_; }
    void read(int from, int to, const std::function<void(int, const Record &)> &fn) override;

    const BookQuery &query() const { return query_; }
    qint64 rowidAt(int row) const { return rowids_[row]; }

    static constexpr int BlockRows = 128;

private:
    void bindParams(Stmt &s, const QString &sql) const;

    Db &db_;
    BookQuery query_;
    FieldListPtr fields_;
    QVector<qint64> rowids_;
    std::vector<bool> groupStart_;
    qint64 sum_ = 0;
    std::unique_ptr<Stmt> block_;
};

// The book list in its current order; group changes come from its sort texts when the
// group column is the list's sort field.
class BookListRows final : public ReportSource {
public:
    explicit BookListRows(BookList &tbl) : tbl_(tbl) {}

    void scan(const QString &groupColumn, const QString &sumColumn) override;
    int rowCount() const override { return count_; }
    bool groupStarts(int row) const override { return row < int(groupStart_.size()) && groupStart_[size_t(row)]; }
    qint64 sum() const override { return sum_; }
    void read(int from, int to, const std::function<void(int, const Record &)> &fn) override;

private:
    BookList &tbl_;
    int count_ = 0;
    std::vector<bool> groupStart_;
    qint64 sum_ = 0;
};

} // namespace kodexa::report
