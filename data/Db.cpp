#include "data/Db.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>
#include <memory>
#include <exception>
#include <sqlite3.h>

namespace kodexa {

QString EngineErrorText(int code, const QString &engineText) {
    QString lead;
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        lead = QStringLiteral("A katalógust egy másik program zárolja, próbálja újra később.");
        break;
    case SQLITE_READONLY:
        lead = QStringLiteral("A katalógus csak olvasható: az állomány vagy a mappája írásvédett.");
        break;
    case SQLITE_FULL:
        lead = DiskFullLead();
        break;
    case SQLITE_CORRUPT:
        lead = QStringLiteral("A katalógus állománya sérült.");
        break;
    case SQLITE_NOTADB:
        lead = QStringLiteral("Az állomány sérült, vagy nem adatbázis.");
        break;
    default:
        return engineText;
    }
    return lead + QLatin1Char('\n') + engineText;
}

// ---- Stmt ----

// Statements of one connection that are not in use, by their SQL text, the least recently
// returned given up first. A statement the connection's own schema change has made stale
// is prepared again: its column list would otherwise show the old table until its first step.
// The SQL console runs its statements on a thread of its own while the window may still
// repaint from the same connection, hence the lock.
class StmtCache {
public:
    StmtCache() = default;
    StmtCache(const StmtCache &) = delete;
    StmtCache &operator=(const StmtCache &) = delete;
    ~StmtCache() { clear(); }

    sqlite3_stmt *take(const QByteArray &sql) {
        const std::lock_guard lock(mutex_);
        const auto it = std::find_if(idle_.begin(), idle_.end(), [&](const Idle &i) { return i.sql == sql; });
        if (it == idle_.end())
            return nullptr;
        sqlite3_stmt *s = it->stmt;
        idle_.erase(it);
        if (sqlite3_expired(s)) {
            sqlite3_finalize(s);
            return nullptr;
        }
        return s;
    }
    void give(const QByteArray &sql, sqlite3_stmt *s) {
        const std::lock_guard lock(mutex_);
        sqlite3_reset(s);
        sqlite3_clear_bindings(s);
        if (std::any_of(idle_.begin(), idle_.end(), [&](const Idle &i) { return i.sql == sql; })) {
            sqlite3_finalize(s); // a second statement of the same text was in use at the same time
            return;
        }
        if (idle_.size() >= Kept) {
            sqlite3_finalize(idle_.front().stmt);
            idle_.erase(idle_.begin());
        }
        idle_.push_back({sql, s});
    }
    void clear() {
        const std::lock_guard lock(mutex_);
        for (const Idle &i : idle_)
            sqlite3_finalize(i.stmt);
        idle_.clear();
    }

private:
    static constexpr size_t Kept = 48;
    struct Idle {
        QByteArray sql;
        sqlite3_stmt *stmt;
    };
    std::mutex mutex_;
    std::vector<Idle> idle_; // oldest first
};

Stmt::Stmt(Db &db, const QString &sql) : db_(&db), sql_(sql.toUtf8()), cache_(db.cache_) {
    if (!db.handle())
        throw DbError(QStringLiteral("Az adatbázis nincs megnyitva"));
    if (db.cache_)
        stmt_ = db.cache_->take(sql_);
    settled_ = !stmt_;
    if (!stmt_ && sqlite3_prepare_v2(db.handle(), sql_.constData(), int(sql_.size()), &stmt_, nullptr) != SQLITE_OK)
        db.raise();
}

Stmt::~Stmt() {
    if (!stmt_)
        return;
    if (const auto cache = cache_.lock())
        cache->give(sql_, stmt_);
    else
        sqlite3_finalize(stmt_);
}

Stmt::Stmt(Stmt &&other) noexcept
    : db_(other.db_), stmt_(other.stmt_), settled_(other.settled_), sql_(std::move(other.sql_)),
      cache_(std::move(other.cache_)) {
    other.stmt_ = nullptr;
}

Stmt &Stmt::bind(int index, const QVariant &value) {
    int rc;
    if (!value.isValid() || value.isNull()) {
        rc = sqlite3_bind_null(stmt_, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
        case QMetaType::Bool:
            rc = sqlite3_bind_int64(stmt_, index, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(stmt_, index, value.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray b = value.toByteArray();
            rc = sqlite3_bind_blob(stmt_, index, b.constData(), int(b.size()), SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::QDate: {
            const QByteArray t = value.toDate().toString(QStringLiteral("yyyy-MM-dd")).toUtf8();
            rc = sqlite3_bind_text(stmt_, index, t.constData(), int(t.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray t = value.toString().toUtf8();
            rc = sqlite3_bind_text(stmt_, index, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        }
        }
    }
    if (rc != SQLITE_OK)
        db_->raise();
    return *this;
}

Stmt &Stmt::bind(const QString &name, const QVariant &value) {
    const int index = sqlite3_bind_parameter_index(stmt_, name.toUtf8().constData());
    if (index == 0)
        throw DbError(QStringLiteral("Ismeretlen paraméter: %1").arg(name));
    return bind(index, value);
}

// A statement taken from the cache describes the schema as it was when it last ran. Its
// first step prepares it again if the schema has changed since, but a column list read
// before that step would be the old one: asking for it prepares the statement anew.
void Stmt::settle() const {
    if (settled_)
        return;
    sqlite3_stmt *fresh = nullptr;
    if (sqlite3_prepare_v2(db_->handle(), sql_.constData(), int(sql_.size()), &fresh, nullptr) != SQLITE_OK)
        db_->raise();
    sqlite3_transfer_bindings(stmt_, fresh);
    sqlite3_finalize(stmt_);
    stmt_ = fresh;
    settled_ = true;
}

bool Stmt::step() {
    settled_ = true;
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(stmt_);
    db_->raise();
}

void Stmt::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

void Stmt::exec() {
    while (step()) {
    }
}

int Stmt::columnCount() const {
    settle();
    return sqlite3_column_count(stmt_);
}

QString Stmt::columnName(int i) const {
    settle();
    return QString::fromUtf8(sqlite3_column_name(stmt_, i));
}

QString Stmt::columnDeclType(int i) const {
    settle();
    const char *t = sqlite3_column_decltype(stmt_, i);
    return t ? QString::fromUtf8(t) : QString();
}

QVariant Stmt::value(int i) const {
    switch (sqlite3_column_type(stmt_, i)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(stmt_, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt_, i));
    case SQLITE_BLOB: {
        const void *p = sqlite3_column_blob(stmt_, i);
        return QVariant(QByteArray(static_cast<const char *>(p), sqlite3_column_bytes(stmt_, i)));
    }
    case SQLITE_NULL:
        return QVariant();
    default:
        return QVariant(text(i));
    }
}

qint64 Stmt::int64(int i) const { return sqlite3_column_int64(stmt_, i); }

QString Stmt::text(int i) const {
    const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(stmt_, i));
    if (!p)
        return QString();
    const int n = sqlite3_column_bytes(stmt_, i);
    // QString::fromUtf8 drops a byte-order mark at the start of the text. A stored text may
    // begin with one (a line of an imported file that was itself a file's start), and it
    // must read back as it was written, or its search key no longer agrees with it.
    if (n >= 3 && std::memcmp(p, "\xEF\xBB\xBF", 3) == 0) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
        return utf8.decode(QByteArrayView(p, n));
    }
    return QString::fromUtf8(p, n);
}

bool Stmt::isNull(int i) const { return sqlite3_column_type(stmt_, i) == SQLITE_NULL; }

// ---- Db ----

int Db::busyTimeout_ = 3000;

namespace {

// Waits out another program's lock for up to the busy timeout. Having just waited in vain,
// the connection gives up at once for a moment: the many reads of one repaint then fail
// together, at once, instead of each waiting the whole time again and freezing the window.
struct BusyWait {
    int timeoutMs;
    std::chrono::steady_clock::time_point started{};
    std::chrono::steady_clock::time_point gaveUp{};

    static int handler(void *arg, int count) {
        auto *b = static_cast<BusyWait *>(arg);
        const auto now = std::chrono::steady_clock::now();
        if (count == 0) {
            if (b->gaveUp != std::chrono::steady_clock::time_point{} && now - b->gaveUp < std::chrono::seconds(1)) {
                b->gaveUp = now;
                return 0;
            }
            b->started = now;
        }
        const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(now - b->started).count();
        if (waited >= b->timeoutMs) {
            b->gaveUp = now;
            return 0;
        }
        sqlite3_sleep(int(std::min<long long>(10, b->timeoutMs - waited)));
        return 1;
    }
};

// The wait state of each open connection (the program runs one, on its one thread).
std::map<sqlite3 *, std::unique_ptr<BusyWait>> &BusyWaits() {
    static std::map<sqlite3 *, std::unique_ptr<BusyWait>> waits;
    return waits;
}

} // namespace

Db::~Db() { close(); }

void Db::open(const QString &path, bool create) {
    close();
    int flags = SQLITE_OPEN_READWRITE;
    if (create)
        flags |= SQLITE_OPEN_CREATE;
    sqlite3 *h = nullptr;
    const int rc = sqlite3_open_v2(QFileInfo(path).absoluteFilePath().toUtf8().constData(), &h, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = h ? QString::fromUtf8(sqlite3_errmsg(h)) : QStringLiteral("out of memory");
        const int code = h ? sqlite3_extended_errcode(h) : rc;
        sqlite3_close(h);
        throw DbError(EngineErrorText(code, msg));
    }
    db_ = h;
    path_ = path;
    cache_ = std::make_shared<StmtCache>();
    // A second program holding a lock gives a clear error after a short wait, not a hang.
    auto &wait = BusyWaits()[db_];
    wait = std::make_unique<BusyWait>(BusyWait{busyTimeout_});
    sqlite3_busy_handler(db_, &BusyWait::handler, wait.get());
    sqlite3_extended_result_codes(db_, 1);
    // Free SQL (the console) must not be able to write the schema table by hand or
    // otherwise corrupt the file: the engine refuses such statements with its own message.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    try {
        // Touching the schema reads the header: a foreign file fails here, before anything is written.
        scalar(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    } catch (...) {
        close();
        throw;
    }
}


// A table's columns follow from its definition as the engine keeps it (adding a column
// rewrites it), so a list read from the same definition is still right, whatever happened
// in between: a change rolled back, another program's change, the catalogue reopened.
QByteArray Db::tableDefinition(const QString &table) {
    Stmt s = prepare(QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE"
                                    " AND NOT EXISTS (SELECT 1 FROM sqlite_temp_master WHERE name = ?1 COLLATE NOCASE)"));
    s.bind(1, table);
    return s.step() ? s.value(0).toByteArray() : QByteArray();
}

std::shared_ptr<FieldList> Db::knownFields(const QString &table) {
    if (!db_)
        return {};
    KnownFields known;
    {
        const std::lock_guard lock(fieldListsMutex_);
        known = fieldLists_.value(table.toLower());
    }
    if (!known.fields || tableDefinition(table) != known.definition)
        return {};
    return known.fields;
}

void Db::rememberFields(const QString &table, std::shared_ptr<FieldList> fields) {
    if (!db_)
        return;
    const QByteArray definition = tableDefinition(table);
    const std::lock_guard lock(fieldListsMutex_);
    if (!definition.isEmpty())
        fieldLists_.insert(table.toLower(), {definition, std::move(fields)});
}

void Db::setBusyTimeout(int ms) { busyTimeout_ = ms; }

void Db::close() {
    // Statements still in use are finalized by their owners; the connection waits for them.
    cache_.reset();
    {
        const std::lock_guard lock(fieldListsMutex_);
        fieldLists_.clear();
    }
    if (db_) {
        sqlite3_busy_handler(db_, nullptr, nullptr);
        sqlite3_close_v2(db_);
        BusyWaits().erase(db_);
        db_ = nullptr;
    }
}

bool Db::isReadOnly() const {
    if (!db_)
        return false;
    if (sqlite3_db_readonly(db_, "main") == 1)
        return true;
    const QFileInfo file(QFileInfo(path_).absoluteFilePath());
    return !file.isWritable() || !QFileInfo(file.absolutePath()).isWritable();
}

int Db::failureCode() const {
    const int code = sqlite3_extended_errcode(db_);
    // The file is open, so a file the engine cannot open now is the journal beside it: the
    // folder refuses new files (some systems say so only in these words).
    if ((code & 0xff) == SQLITE_CANTOPEN && !QFileInfo(QFileInfo(path_).absolutePath()).isWritable())
        return SQLITE_READONLY_DIRECTORY;
    return code;
}

void Db::raise() const {
    if (!db_)
        throw DbError(QStringLiteral("Az adatbázis nincs megnyitva"));
    throw DbError(EngineErrorText(failureCode(), QString::fromUtf8(sqlite3_errmsg(db_))));
}

void Db::exec(const QString &sql) {
    if (!db_)
        raise();
    char *err = nullptr;
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const QString msg = err ? QString::fromUtf8(err) : QString::fromUtf8(sqlite3_errmsg(db_));
        sqlite3_free(err);
        throw DbError(EngineErrorText(failureCode(), msg));
    }
}

QVariant Db::scalar(const QString &sql) {
    Stmt s(*this, sql);
    return s.step() ? s.value(0) : QVariant();
}

qint64 Db::lastInsertRowId() const { return sqlite3_last_insert_rowid(db_); }
int Db::changes() const { return sqlite3_changes(db_); }
qint64 Db::dataVersion() { return scalar(QStringLiteral("PRAGMA data_version")).toLongLong(); }

bool Db::hasTable(const QString &table) {
    Stmt s(*this, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type IN ('table','view') AND lower(name)=lower(?1)"));
    s.bind(1, table);
    return s.step();
}

QVector<QPair<QString, QString>> Db::tableColumns(const QString &table) {
    QVector<QPair<QString, QString>> out;
    Stmt s(*this, QStringLiteral("SELECT name, type FROM pragma_table_info(?1) ORDER BY cid"));
    s.bind(1, table);
    while (s.step())
        out.append({s.text(0), s.text(1)});
    return out;
}

// ---- Transaction ----

// A savepoint outside any transaction begins one; inside, it marks a point to return to.
Transaction::Transaction(Db &db) : db_(db) {
    db_.exec(QStringLiteral("SAVEPOINT kodexa_tx"));
}

void Transaction::commit() {
    if (!done_) {
        // A refused commit (another program reading) leaves the whole to the destructor's rollback.
        db_.exec(QStringLiteral("RELEASE kodexa_tx"));
        done_ = true;
    }
}

Transaction::~Transaction() {
    // Not committed: an exception (or an early return) left the scope, so nothing of it stays.
    if (done_ || !db_.handle())
        return;
    try {
        db_.exec(QStringLiteral("ROLLBACK TO kodexa_tx; RELEASE kodexa_tx"));
    } catch (...) {
        // The engine may have ended the transaction itself (a full disk): make sure none stays open.
        if (!sqlite3_get_autocommit(db_.handle()))
            sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

} // namespace kodexa
