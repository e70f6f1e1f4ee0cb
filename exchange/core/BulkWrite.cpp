#include "exchange/core/BulkWrite.h"

#include <sqlite3.h>
#include <utility>

namespace kodexa {

namespace {

constexpr int BulkCachePages = 32 * 1024; // KiB

// A run that adds many books compared with the table builds the search indexes of konyvek
// once at the end instead of keeping them row by row: a sorted build is several times
// cheaper. Measured with the Import bench, the rebuild pays from about a fifth of the table.
constexpr double RebuildShare = 0.2;

} // namespace

BulkWrite::CacheSize::CacheSize(Db &db, int kib) : db_(db), old_(db.scalar(QStringLiteral("PRAGMA cache_size")).toLongLong()) {
    db_.exec(QStringLiteral("PRAGMA cache_size = -%1").arg(kib));
}

BulkWrite::CacheSize::~CacheSize() {
    try {
        db_.exec(QStringLiteral("PRAGMA cache_size = %1").arg(old_));
    } catch (const Error &) {
        // Only a speed setting: the connection works on with the larger cache.
    }
}

BulkWrite::IndexesSetAside::IndexesSetAside(Db &db, const QString &table, const QString &keep) : db_(db) {
    Stmt list = db.prepare(QStringLiteral("SELECT l.name, m.sql FROM pragma_index_list(?1) l "
                                          "JOIN sqlite_master m ON m.name = l.name "
                                          "WHERE l.origin = 'c' AND NOT l.\"unique\" AND m.sql IS NOT NULL "
                                          "AND (SELECT name FROM pragma_index_info(l.name) WHERE seqno = 0) IS NOT ?2 "
                                          "ORDER BY m.rowid"));
    list.bind(1, table).bind(2, keep);
    while (list.step())
        indexes_.append({list.text(0), list.text(1)});
    list.reset();
    for (const auto &[name, sql] : indexes_)
        db.exec(QStringLiteral("DROP INDEX \"%1\"").arg(QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\""))));
}

bool BulkWrite::IndexesSetAside::Possible(Db &db) {
    for (sqlite3_stmt *st = sqlite3_next_stmt(db.handle(), nullptr); st; st = sqlite3_next_stmt(db.handle(), st))
        if (sqlite3_stmt_busy(st))
            return false;
    return true;
}

void BulkWrite::IndexesSetAside::restore() {
    for (const auto &[name, sql] : std::exchange(indexes_, {}))
        db_.exec(sql);
}

BulkWrite::BulkWrite(Db &db, qint64 expectedRows) : cache_(db, BulkCachePages), tx_(db) {
    const qint64 books = db.scalar(QStringLiteral("SELECT count(*) FROM konyvek")).toLongLong();
    if (double(expectedRows) > RebuildShare * double(books) && IndexesSetAside::Possible(db))
        setAside_.emplace(db, QStringLiteral("konyvek"), QStringLiteral("konyvek"));
}

void BulkWrite::commit() {
    if (setAside_)
        setAside_->restore();
    tx_.commit();
}

} // namespace kodexa
