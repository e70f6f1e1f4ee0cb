#pragma once
// A query result of any size, read the way the book list is read: its row count first,
// its rows in blocks when they are shown, through a bounded cache. A 200,000-row result
// never holds more than CacheBlocks blocks of values at once.

#include "data/Db.h"

#include <QCache>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>

namespace kodexa {

class QueryCursor {
public:
    static constexpr int BlockRows = 256;
    static constexpr int CacheBlocks = 32;

    // Runs the first statement of sql: reads its column names, counts its rows and reads
    // the first block. Raises DbError with the engine's text.
    QueryCursor(Db &db, const QString &sql);
    ~QueryCursor();
    QueryCursor(const QueryCursor &) = delete;
    QueryCursor &operator=(const QueryCursor &) = delete;

    // The first statement of the text the cursor was opened on, without its semicolon.
    const QString &statement() const { return sql_; }
    int rowCount() const { return rows_; }
    int columnCount() const { return int(names_.size()); }
    const QStringList &columnNames() const { return names_; }
    // Reads the row's block when it is not cached. Raises DbError.
    QVariant value(int row, int column);
    // A copy of the row's values (shared, so cheap): reading further rows may evict the
    // block it came from, and the copy stays sound.
    QVector<QVariant> row(int row);

    // How many blocks are held now, and how many statements were started to read them.
    int cachedBlocks() const { return cache_.count(); }
    int restarts() const { return restarts_; }

private:
    using Block = QVector<QVector<QVariant>>;
    Block *block(int index);
    Block readBlock(int index);

    Db &db_;
    QString sql_;
    QStringList names_;
    int rows_ = 0;
    // Wrapped: the statement is read through "LIMIT -1 OFFSET n"; otherwise (a PRAGMA,
    // an EXPLAIN) the whole result was read at open and every block is cached for good.
    bool wrapped_ = false;
    std::unique_ptr<Stmt> live_; // the statement read last, positioned at livePos_
    int livePos_ = 0;
    int restarts_ = 0;
    QCache<int, Block> cache_{CacheBlocks};
    QVector<Block> all_; // the unwrapped case
};

// The first statement of a text of statements, without its closing semicolon; empty when
// the text holds none (blanks, comments). Raises DbError when it cannot be prepared.
QString FirstStatement(Db &db, const QString &text, QString *rest = nullptr);

} // namespace kodexa
