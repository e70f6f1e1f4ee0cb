#include "admin/core/SqlConsole.h"

#include "data/Db.h"

#include <QRegularExpression>
#include <sqlite3.h>

namespace kodexa {

namespace {
const char *const Savepoint = "kodexa_console";

// Runs statements on the raw connection and swallows a failure: for the clean-up after a
// failure, whose own error would only hide the first one.
void Quietly(Db &db, const char *sql) { sqlite3_exec(db.handle(), sql, nullptr, nullptr, nullptr); }

bool BeginsTransaction(const QString &text) {
    static const QRegularExpression begin(QStringLiteral("^\\s*BEGIN\\b"), QRegularExpression::CaseInsensitiveOption);
    return begin.match(text).hasMatch();
}
} // namespace

QString SqlErrorText(const QString &engineMessage) { return QStringLiteral("SQL hiba:\n") + engineMessage; }

SqlConsole::SqlConsole(Db &db) : db_(db) {}
SqlConsole::~SqlConsole() = default;

int SqlConsole::progress(void *self) { return static_cast<SqlConsole *>(self)->stop_ ? 1 : 0; }

void SqlConsole::installProgress(bool on) {
    if (db_.handle())
        sqlite3_progress_handler(db_.handle(), on ? 1000 : 0, on ? &SqlConsole::progress : nullptr, on ? this : nullptr);
}

void SqlConsole::interrupt() {
    stop_ = true;
    if (db_.handle())
        sqlite3_interrupt(db_.handle());
}

SqlConsole::Kind SqlConsole::kindOf(const QString &text) {
    const QString first = FirstStatement(db_, text);
    if (first.isEmpty())
        return Kind::Command;
    const QByteArray utf8 = first.toUtf8();
    sqlite3_stmt *s = nullptr;
    if (sqlite3_prepare_v2(db_.handle(), utf8.constData(), int(utf8.size()), &s, nullptr) != SQLITE_OK)
        db_.raise();
    const bool query = s && sqlite3_stmt_readonly(s) && sqlite3_column_count(s) > 0;
    sqlite3_finalize(s);
    return query ? Kind::Query : Kind::Command;
}

std::unique_ptr<QueryCursor> SqlConsole::openQuery(const QString &text) {
    installProgress(true);
    try {
        auto cursor = std::make_unique<QueryCursor>(db_, text);
        installProgress(false);
        return cursor;
    } catch (...) {
        installProgress(false);
        throw;
    }
}

void SqlConsole::execute(const QString &text) {
    sqlite3 *h = db_.handle();
    if (!h)
        db_.raise();
    const bool wasAutocommit = sqlite3_get_autocommit(h);
    QString rest;
    FirstStatement(db_, text, &rest);
    // One statement is all or nothing by itself; several share a savepoint. A text that
    // opens its own transaction keeps it, and has it rolled back when it fails.
    bool several = false;
    if (!rest.trimmed().isEmpty()) {
        try {
            several = !FirstStatement(db_, rest).isEmpty();
        } catch (const DbError &) {
            several = true; // it may need what the first statement makes
        }
    }
    const bool savepoint = several && !BeginsTransaction(text);
    if (savepoint)
        db_.exec(QStringLiteral("SAVEPOINT ") + QLatin1String(Savepoint));
    installProgress(true);
    try {
        db_.exec(text);
    } catch (...) {
        installProgress(false);
        if (savepoint) {
            Quietly(db_, "ROLLBACK TO kodexa_console");
            Quietly(db_, "RELEASE kodexa_console");
        } else if (wasAutocommit && !sqlite3_get_autocommit(h)) {
            Quietly(db_, "ROLLBACK");
        }
        throw;
    }
    installProgress(false);
    if (savepoint)
        db_.exec(QStringLiteral("RELEASE ") + QLatin1String(Savepoint));
}

SqlConsole::Outcome SqlConsole::run(const QString &text) {
    Outcome out;
    try {
        out.kind = kindOf(text);
        if (out.kind == Kind::Query)
            out.cursor = openQuery(text);
        else
            execute(text);
    } catch (const DbError &e) {
        out.cursor.reset();
        out.interrupted = stop_;
        out.error = SqlErrorText(e.message());
    } catch (const std::exception &e) {
        out.cursor.reset();
        out.error = SqlErrorText(QString::fromUtf8(e.what()));
    }
    return out;
}

} // namespace kodexa
