#include "data/QueryCursor.h"

#include <algorithm>
#include <limits>
#include <sqlite3.h>

namespace kodexa {

namespace {
// A jump forward shorter than this is read by stepping on; a longer one, or any jump back,
// starts the statement again at the wanted offset.
constexpr int SkipLimit = QueryCursor::BlockRows * 8;

// The statement is written on lines of its own inside the wrapper, so a line comment at
// its end cannot swallow the closing bracket.
QString Wrapped(const QString &sql, const char *before, const char *after) {
    return QLatin1String(before) + QStringLiteral("(\n") + sql + QStringLiteral("\n)") + QLatin1String(after);
}
} // namespace

QString FirstStatement(Db &db, const QString &text, QString *rest) {
    if (!db.handle())
        db.raise();
    const QByteArray utf8 = text.toUtf8();
    const char *p = utf8.constData();
    const char *const end = p + utf8.size();
    while (p < end) {
        sqlite3_stmt *s = nullptr;
        const char *tail = nullptr;
        if (sqlite3_prepare_v2(db.handle(), p, int(end - p), &s, &tail) != SQLITE_OK)
            db.raise();
        if (s) {
            sqlite3_finalize(s);
            if (rest)
                *rest = QString::fromUtf8(tail, end - tail);
            QString first = QString::fromUtf8(p, tail - p).trimmed();
            if (first.endsWith(QLatin1Char(';')))
                first.chop(1);
            return first.trimmed();
        }
        if (!tail || tail <= p)
            break;
        p = tail; // an empty statement: a lone semicolon
    }
    if (rest)
        rest->clear();
    return QString();
}

QueryCursor::QueryCursor(Db &db, const QString &sql) : db_(db), sql_(FirstStatement(db, sql)) {
    if (sql_.isEmpty())
        return;
    {
        Stmt first(db_, sql_);
        for (int i = 0; i < first.columnCount(); ++i)
            names_ << first.columnName(i);
    }
    try {
        live_ = std::make_unique<Stmt>(db_, Wrapped(sql_, "SELECT * FROM ", " LIMIT -1 OFFSET :kodexa_offset"));
        wrapped_ = true;
    } catch (const DbError &) {
        wrapped_ = false; // a PRAGMA or an EXPLAIN cannot stand in a FROM clause
    }
    if (wrapped_) {
        const qint64 n = db_.scalar(Wrapped(sql_, "SELECT count(*) FROM ", "")).toLongLong();
        rows_ = int(std::min<qint64>(n, std::numeric_limits<int>::max()));
        livePos_ = -1;
        if (rows_ > 0)
            block(0);
        return;
    }
    // Small by nature: read whole.
    Stmt s(db_, sql_);
    const int columns = s.columnCount();
    while (s.step()) {
        if (all_.isEmpty() || all_.last().size() == BlockRows)
            all_.append(Block());
        QVector<QVariant> values(columns);
        for (int c = 0; c < columns; ++c)
            values[c] = s.value(c);
        all_.last().append(std::move(values));
        ++rows_;
    }
}

QueryCursor::~QueryCursor() = default;

QueryCursor::Block QueryCursor::readBlock(int index) {
    const int start = index * BlockRows;
    if (livePos_ < 0 || livePos_ > start || start - livePos_ > SkipLimit) {
        live_->reset();
        // By name: a "?" written in the query is parameter 1 and stays unbound (NULL).
        live_->bind(QStringLiteral(":kodexa_offset"), start);
        livePos_ = start;
        ++restarts_;
    }
    Block b;
    try {
        while (livePos_ < start) {
            if (!live_->step()) {
                livePos_ = -1;
                return b;
            }
            ++livePos_;
        }
        const int columns = int(names_.size());
        while (b.size() < BlockRows) {
            if (!live_->step()) {
                // At its end the statement lets go of the file; the next read starts anew.
                live_->reset();
                livePos_ = -1;
                break;
            }
            QVector<QVariant> values(columns);
            for (int c = 0; c < columns; ++c)
                values[c] = live_->value(c);
            b.append(std::move(values));
            ++livePos_;
        }
    } catch (...) {
        livePos_ = -1;
        throw;
    }
    return b;
}

QueryCursor::Block *QueryCursor::block(int index) {
    if (!wrapped_)
        return index < all_.size() ? &all_[index] : nullptr;
    if (Block *b = cache_.object(index))
        return b;
    auto *b = new Block(readBlock(index));
    cache_.insert(index, b);
    return b;
}

QVector<QVariant> QueryCursor::row(int r) {
    if (r < 0 || r >= rows_)
        return {};
    const Block *b = block(r / BlockRows);
    const int at = r % BlockRows;
    return b && at < b->size() ? (*b)[at] : QVector<QVariant>();
}

QVariant QueryCursor::value(int r, int column) { return row(r).value(column); }

} // namespace kodexa
