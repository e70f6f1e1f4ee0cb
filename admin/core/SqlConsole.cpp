#include "admin/core/SqlConsole.h"

#include <algorithm>
#include <cctype>
#include <sqlite3.h>

namespace kodexa {

namespace {
// Runs statements on the raw connection and swallows a failure: for the clean-up after a
// failure, whose own error would only hide the first one.
void Quietly(Db &db, const char *sql) { sqlite3_exec(db.handle(), sql, nullptr, nullptr, nullptr); }

// The first word of a statement after blanks and comments; a statement that starts with
// anything but a letter gives that character; blanks and comments alone give nothing.
QByteArray FirstWord(const char *p, const char *end) {
    while (p < end) {
        if (std::isspace(static_cast<unsigned char>(*p))) {
            ++p;
        } else if (end - p >= 2 && p[0] == '-' && p[1] == '-') {
            while (p < end && *p != '\n')
                ++p;
        } else if (end - p >= 2 && p[0] == '/' && p[1] == '*') {
            p += 2;
            while (p < end && !(end - p >= 2 && p[0] == '*' && p[1] == '/'))
                ++p;
            p = std::min(p + 2, end);
        } else {
            break;
        }
    }
    const char *word = p;
    while (p < end && (std::isalpha(static_cast<unsigned char>(*p)) || *p == '_'))
        ++p;
    return QByteArray(word, p == word && word < end ? 1 : int(p - word));
}

struct TextShape {
    int statements = 0;
    bool controlsTransaction = false;
};

// Splits the text where the engine ends its statements (sqlite3_complete knows strings,
// comments and trigger bodies) without preparing them: a later statement may need what an
// earlier one makes.
TextShape ShapeOf(const QString &text) {
    static const QByteArrayList control{"BEGIN", "COMMIT", "END", "ROLLBACK", "SAVEPOINT", "RELEASE"};
    const QByteArray utf8 = text.toUtf8();
    TextShape shape;
    qsizetype start = 0;
    const auto take = [&](qsizetype end) {
        const QByteArray word = FirstWord(utf8.constData() + start, utf8.constData() + end).toUpper();
        if (!word.isEmpty() && word != ";") {
            ++shape.statements;
            shape.controlsTransaction = shape.controlsTransaction || control.contains(word);
        }
        start = end;
    };
    for (qsizetype i = 0; i < utf8.size(); ++i)
        if (utf8[i] == ';' && sqlite3_complete(utf8.mid(start, i + 1 - start).constData()))
            take(i + 1);
    take(utf8.size());
    return shape;
}
} // namespace

QString SqlErrorText(const QString &engineMessage) { return QStringLiteral("SQL hiba:\n") + engineMessage; }

SqlConsole::SqlConsole(const QString &catalogue) { db_.open(catalogue); }
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
    if (!db_.handle())
        db_.raise();
    // Several statements share a savepoint, inside a transaction the user opened as well;
    // one statement is all or nothing by itself. Typed transaction control runs as typed.
    const TextShape shape = ShapeOf(text);
    const bool savepoint = shape.statements > 1 && !shape.controlsTransaction;
    if (savepoint)
        db_.exec(QStringLiteral("SAVEPOINT kodexa_console"));
    installProgress(true);
    try {
        db_.exec(text);
    } catch (...) {
        installProgress(false);
        if (savepoint) {
            Quietly(db_, "ROLLBACK TO kodexa_console");
            Quietly(db_, "RELEASE kodexa_console");
        }
        throw;
    }
    installProgress(false);
    if (savepoint)
        db_.exec(QStringLiteral("RELEASE kodexa_console"));
}

bool SqlConsole::inTransaction() const { return db_.handle() && !sqlite3_get_autocommit(db_.handle()); }

void SqlConsole::endTransaction(bool commit) {
    if (inTransaction())
        db_.exec(commit ? QStringLiteral("COMMIT") : QStringLiteral("ROLLBACK"));
}

SqlConsole::Outcome SqlConsole::run(const QString &text) {
    Outcome out;
    try {
        out.kind = kindOf(text);
        if (out.kind == Kind::Query) {
            out.cursor = openQuery(text);
        } else {
            out.asTyped = ShapeOf(text).controlsTransaction;
            execute(text);
        }
    } catch (const DbError &e) {
        out.cursor.reset();
        out.interrupted = stop_;
        out.error = SqlErrorText(e.message());
    } catch (const std::exception &e) {
        out.cursor.reset();
        out.error = SqlErrorText(ErrorText(e));
    }
    return out;
}

} // namespace kodexa
