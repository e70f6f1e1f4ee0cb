#pragma once
// The book list Tbl: every book of konyvek in the chosen order. It keeps only each row's
// rowid and the sort column's text; the other columns are fetched when a row is shown or
// used, through a bounded cache, so a 200,000-book catalogue stays small and quick.

#include "data/Dataset.h"

#include <QCache>
#include <memory>

namespace kodexa {

class BookList final : public Dataset {
    Q_OBJECT
public:
    explicit BookList(Db &db, QObject *parent = nullptr);
    ~BookList() override;

    // Opens all columns of konyvek ordered by orderColumn; sortField is the column whose
    // text the quick search compares.
    void open(const QString &orderColumn, const QString &sortField);
    void close();
    QString sortField() const { return sortField_; }
    QString orderColumn() const { return orderColumn_; }

    int recordCount() const override { return int(rowids_.size()); }
    QVariant valueAt(int row, int column) const override;
    qint64 rowidAt(int row) const { return rowids_[row]; }
    const QString &sortTextAt(int row) const { return sortTexts_[row]; }

    // Index of the first row whose sort text starts with text (A-Z ignore case); the
    // last row when none does; the first row for an empty text; -1 for an empty list.
    int quickSearchIndex(const QString &text) const;
    // Makes the book with this konyvek key current; false when there is none.
    bool locateKey(qint64 key);
    // Streams every row in list order without filling the cache.
    void forEachRow(const std::function<void(const Record &)> &fn) const;
    // The same for the named columns alone, values in the order named: a whole-list writer
    // that needs a few columns does not read the others (the contents memo above all).
    void forEachRow(const QStringList &columns, const std::function<void(const QVector<QVariant> &)> &fn) const;
    // The named columns of every book in the order open(orderColumn, …) gives, ties included,
    // read in one pass without opening a list: whole-catalogue output that needs no current
    // row and no quick search. Throws DbError for a column or order the file does not have.
    static void streamInOrder(Db &db, const QString &orderColumn, const QStringList &columns,
                              const std::function<void(const QVector<QVariant> &)> &fn);
    // Reads the current row again from the file (after a change made by a statement).
    void refreshRow(int row);
    // Drops every row read so far: another connection has changed the file. (A new order
    // alone keeps them; a book's values do not depend on the order.)
    void forgetRows() { cache_.clear(); }
    // true while the last read of rows from the file failed (a lock, a damaged page): the
    // rows it could not read show empty and are read again when next asked for.
    bool readFailing() const { return readFailing_; }

    static constexpr int CacheRows = 4096;
    static constexpr int BlockRows = 128;

protected:
    Record fetchRecord(int row) const override;
    void writeInsert(Record &r) override;
    void writeUpdate(const Record &r) override;
    void writeDelete(qint64 rowid) override;
    void afterInsert(int at, const Record &r) override;
    void afterUpdate(int at, const Record &r) override;
    void afterDelete(int at) override;

private:
    const QVector<QVariant> &rowValues(int row) const;
    void fetchBlock(const QVector<qint64> &ids, const std::function<void(qint64, QVector<QVariant> &&)> &sink) const;
    static void fetchBlock(Stmt &s, int columns, const QVector<qint64> &ids,
                           const std::function<void(qint64, QVector<QVariant> &&)> &sink);
    Stmt blockStatement(const QString &columns) const;
    void streamBlocks(Stmt &s, int columns, const std::function<void(qint64, QVector<QVariant> &&)> &fn) const;
    QString sortTextOf(const Record &r) const;
    bool hasLeadingIndex(const QString &column) const;
    void readOrder(const QString &orderColumn, const QString &sortField, QVector<qint64> &ids, QVector<QString> &texts) const;

    QString orderColumn_;
    QString sortField_;
    int sortFieldIndex_ = -1;
    QVector<qint64> rowids_;
    QVector<QString> sortTexts_;
    QVector<char16_t> firstKeys_; // FirstKey of each sort text, for the quick search

    mutable QCache<qint64, QVector<QVariant>> cache_{CacheRows};
    mutable std::unique_ptr<Stmt> blockStmt_;
    mutable bool readFailing_ = false;
};

} // namespace kodexa
