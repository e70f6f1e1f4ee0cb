#pragma once
// The frame of a run that adds many books in one transaction (the import, the take-over of
// another program's file): a larger page cache while it lasts, and, when the run adds many
// rows compared with the table, konyvek's search indexes set aside and built once at the end.

#include "data/Db.h"

#include <QPair>
#include <QString>
#include <QVector>
#include <optional>

namespace kodexa {

class BulkWrite {
public:
    // Opens the run's transaction; expectedRows is what the run may add (the file's lines).
    BulkWrite(Db &db, qint64 expectedRows);
    BulkWrite(const BulkWrite &) = delete;
    BulkWrite &operator=(const BulkWrite &) = delete;
    // Builds the set-aside indexes again and commits. Without it the run rolls back.
    void commit();

private:
    // A larger page cache for one run, the previous size restored afterwards.
    class CacheSize {
    public:
        CacheSize(Db &db, int kib);
        ~CacheSize();
        CacheSize(const CacheSize &) = delete;
        CacheSize &operator=(const CacheSize &) = delete;

    private:
        Db &db_;
        qint64 old_;
    };
    // The plain (non-unique) indexes of a table, dropped inside the run's transaction and
    // made again, with their own definitions, before it commits. An index whose first
    // column is keep stays: the run looks keys up through it. A rollback brings the dropped
    // ones back.
    class IndexesSetAside {
    public:
        IndexesSetAside(Db &db, const QString &table, const QString &keep);
        // A statement of this connection still reading (a list being paged) keeps the
        // indexes from being dropped under it; the run then keeps them up row by row.
        static bool Possible(Db &db);
        void restore();

    private:
        Db &db_;
        QVector<QPair<QString, QString>> indexes_;
    };

    CacheSize cache_;
    Transaction tx_;
    std::optional<IndexesSetAside> setAside_;
};

} // namespace kodexa
