#pragma once
// Cursors over tables and queries: open, current row, move, locate, insert or edit,
// before-post rule, post, cancel, delete. One family serves the book list, the lookup
// tables, mezo, felhasznalo, beallit and every query result.

#include "data/Db.h"
#include "data/Schema.h"

#include <QHash>
#include <QObject>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>

namespace kodexa {

struct FieldList {
    QVector<FieldInfo> fields;
    QHash<QString, int> index; // lower-case name -> position

    void add(const FieldInfo &f);
    int indexOf(const QString &name) const; // -1 when absent
    int size() const { return int(fields.size()); }
};
using FieldListPtr = std::shared_ptr<FieldList>;

// One row's values with the fields that name them.
class Record {
public:
    Record() = default;
    explicit Record(FieldListPtr fields);

    const FieldList &fields() const { return *fields_; }
    FieldListPtr fieldList() const { return fields_; }
    bool has(const QString &name) const { return fields_ && fields_->indexOf(name) >= 0; }
    QVariant value(const QString &name) const;
    QVariant value(int i) const { return values[i]; }
    QString text(const QString &name) const;
    // Holds the column's rules: a text longer than its column is cut, a date is kept as
    // "yyyy-mm-dd", an empty value of a non-text column becomes NULL.
    void setValue(const QString &name, const QVariant &value);
    void setValue(int i, const QVariant &value);

    qint64 rowid = 0;
    QVector<QVariant> values;

private:
    FieldListPtr fields_;
};

enum class DsState { Inactive, Browse, Edit, Insert };

class Dataset : public QObject {
    Q_OBJECT
public:
    explicit Dataset(Db &db, QObject *parent = nullptr);
    ~Dataset() override;

    Db &db() const { return db_; }
    bool isOpen() const { return state_ != DsState::Inactive; }
    DsState state() const { return state_; }
    const FieldList &fields() const { return *fields_; }
    FieldListPtr fieldList() const { return fields_; }
    int fieldIndex(const QString &name) const { return fields_ ? fields_->indexOf(name) : -1; }

    virtual int recordCount() const = 0;
    bool isEmpty() const { return recordCount() == 0; }
    int currentIndex() const { return current_; } // -1 when empty
    int recNo() const { return current_ + 1; }

    void moveTo(int index);
    void first() { moveTo(0); }
    void last() { moveTo(recordCount() - 1); }
    void next();
    void prior();
    bool isLast() const { return current_ >= recordCount() - 1; }

    // Values of the current row; in edit or insert state the edit buffer.
    QVariant value(const QString &name) const;
    QString text(const QString &name) const { return VarText(value(name)); }
    // A value of any row in list order.
    virtual QVariant valueAt(int row, int column) const = 0;
    Record recordAt(int row) const;

    void edit();
    void insert();
    void setValue(const QString &name, const QVariant &value);
    Record &buffer() { return buffer_; }
    // Runs beforePost, writes the row, returns to browsing. On failure the state is kept
    // so the caller can correct or cancel.
    void post();
    void cancel();
    void deleteCurrent();

    // First row whose field equals value; with asciiNoCase letters A-Z ignore case.
    bool locate(const QString &name, const QVariant &value, bool asciiNoCase = false);

    std::function<void(Record &)> beforePost;

signals:
    void currentChanged(int index);
    void aboutToReset();
    void resetDone();
    void aboutToInsert(int index);
    void inserted(int index);
    void aboutToRemove(int index);
    void removed(int index);
    void rowChanged(int index);
    void stateChanged();

protected:
    static QString VarText(const QVariant &v);
    virtual Record fetchRecord(int row) const = 0;
    virtual void writeInsert(Record &r) = 0; // sets r.rowid
    virtual void writeUpdate(const Record &r) = 0;
    virtual void writeDelete(qint64 rowid) = 0;
    virtual void afterInsert(int at, const Record &r) = 0;
    virtual void afterUpdate(int at, const Record &r) = 0;
    virtual void afterDelete(int at) = 0;
    void setState(DsState s);
    void setCurrentSilently(int index) { current_ = index; }

    Db &db_;
    FieldListPtr fields_;
    DsState state_ = DsState::Inactive;
    int current_ = -1;
    Record buffer_;
};

// Writes whole rows of one table with bound values: insert all columns, update all
// columns by rowid, delete by rowid.
class RowWriter {
public:
    RowWriter(Db &db, QString table) : db_(db), table_(std::move(table)) {}
    qint64 insert(const Record &r);
    void update(const Record &r);
    void remove(qint64 rowid);

private:
    Db &db_;
    QString table_;
};

// A dataset that holds its rows in memory: lookup tables, mezo, users, settings, query results.
class MemDataset final : public Dataset {
    Q_OBJECT
public:
    explicit MemDataset(Db &db, QObject *parent = nullptr) : Dataset(db, parent) {}

    // All columns of a table with their rowids, writable; orderBy is an SQL ORDER BY list.
    void openTable(const QString &table, const QString &orderBy = QString());
    // Any SELECT; writable only when table is named (the query must then select rowid first).
    void openQuery(const QString &sql, const QVariantMap &params = {});
    void close();
    void refresh();
    QString table() const { return table_; }

    int recordCount() const override { return int(rows_.size()); }
    QVariant valueAt(int row, int column) const override { return rows_[row].values.value(column); }

protected:
    Record fetchRecord(int row) const override { return rows_[row]; }
    void writeInsert(Record &r) override;
    void writeUpdate(const Record &r) override;
    void writeDelete(qint64 rowid) override;
    void afterInsert(int at, const Record &r) override;
    void afterUpdate(int at, const Record &r) override;
    void afterDelete(int at) override;

private:
    void load(Stmt &s, bool withRowid);
    void requireTable() const;

    QString table_;
    QString sql_;
    QVariantMap params_;
    bool tableMode_ = false;
    QVector<Record> rows_;
};

// Puts the current row into edit state, applies change and writes it; when anything fails
// the row is cancelled (never left half-edited) and the error goes on to the caller.
void EditAndPost(Dataset &ds, const std::function<void(Dataset &)> &change);

// Fields of a table as the program sees them (kind, size, label).
FieldListPtr TableFields(Db &db, const QString &table);

} // namespace kodexa
