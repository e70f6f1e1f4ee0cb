#pragma once
// The one SQLite connection of the program (Db1) and its prepared statements.
// Every engine failure becomes a DbError carrying the engine's own message.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariant>
#include <QVector>
#include <memory>
#include <mutex>
#include "data/Error.h"

struct sqlite3;
struct sqlite3_stmt;

namespace kodexa {

class Db;
class StmtCache;
struct FieldList;

// The engine's text as the user reads it: the common failures (another program's lock, a
// write-protected catalogue, a full disk, a damaged file) get a Hungarian first line, and
// the engine's own words follow unchanged. code is the (extended) SQLite result code.
QString EngineErrorText(int code, const QString &engineText);

// A prepared statement; values are bound by position (1-based) or by name (":d1").
// The connection keeps the statements of recent SQL texts: a Stmt of a text prepared before
// starts from that one, reset and with nothing bound, instead of parsing the text again.
class Stmt {
public:
    Stmt(Db &db, const QString &sql);
    ~Stmt();
    Stmt(const Stmt &) = delete;
    Stmt &operator=(const Stmt &) = delete;
    Stmt(Stmt &&other) noexcept;

    Stmt &bind(int index, const QVariant &value);
    Stmt &bind(const QString &name, const QVariant &value);
    // Steps once; true while a row is available.
    bool step();
    void reset();
    // Runs to the end, for statements that return no rows.
    void exec();

    int columnCount() const;
    QString columnName(int i) const;
    QString columnDeclType(int i) const;
    QVariant value(int i) const;
    qint64 int64(int i) const;
    QString text(int i) const;
    bool isNull(int i) const;

private:
    void settle() const;

    Db *db_;
    mutable sqlite3_stmt *stmt_ = nullptr;
    // Prepared here or run since it was taken: its column list is that of today's schema.
    mutable bool settled_ = true;
    QByteArray sql_;
    std::weak_ptr<StmtCache> cache_; // expired once the connection is closed
};

class Db {
public:
    Db() = default;
    ~Db();
    Db(const Db &) = delete;
    Db &operator=(const Db &) = delete;

    // Opens an existing file; never creates one. create=true is for kodexa-init alone.
    void open(const QString &path, bool create = false);
    void close();
    bool isOpen() const { return db_ != nullptr; }
    // The open catalogue can only be read: the engine opened it so (a write-protected file)
    // or its folder takes no journal (a write-protected folder).
    bool isReadOnly() const;
    QString path() const { return path_; }

    // Runs SQL text (one or more statements) that returns no rows.
    void exec(const QString &sql);
    Stmt prepare(const QString &sql) { return Stmt(*this, sql); }
    // First column of the first row, or a null QVariant.
    QVariant scalar(const QString &sql);
    qint64 lastInsertRowId() const;
    int changes() const;
    // Moves when another connection (the SQL console, another program) has committed a
    // change to the file: a window compares it to know it must read its rows again.
    qint64 dataVersion();
    bool hasTable(const QString &table);
    // Column names of a table in table order, with their declared types.
    QVector<QPair<QString, QString>> tableColumns(const QString &table);

    // The field lists of tables worked out for this connection (TableFields of
    // data/Dataset.h), kept while the catalogue's schema stays as it was.
    std::shared_ptr<FieldList> knownFields(const QString &table);
    void rememberFields(const QString &table, std::shared_ptr<FieldList> fields);

    sqlite3 *handle() const { return db_; }
    [[noreturn]] void raise() const;

    // How long a connection opened from now on waits for another program's lock (3 s);
    // tests that hold a lock on purpose shorten it.
    static void setBusyTimeout(int ms);

private:
    // The code of the last failure as the user should hear of it.
    int failureCode() const;

    friend class Stmt;
    static int busyTimeout_;
    sqlite3 *db_ = nullptr;
    QString path_;
    std::shared_ptr<StmtCache> cache_; // statements of this connection not in use
    // knownFields: each list with the table's definition it was read from.
    struct KnownFields {
        QByteArray definition;
        std::shared_ptr<FieldList> fields;
    };
    QByteArray tableDefinition(const QString &table);
    std::mutex fieldListsMutex_;
    QHash<QString, KnownFields> fieldLists_;
};

// Guards many writes in one go: commit() makes them stay; leaving the scope without it
// (an exception) rolls them all back. Guards nest: an inner one is a savepoint of the
// outer, so a routine that guards its own writes can also run inside a larger whole.
class Transaction {
public:
    explicit Transaction(Db &db);
    ~Transaction();
    void commit();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

private:
    Db &db_;
    bool done_ = false;
};

} // namespace kodexa
