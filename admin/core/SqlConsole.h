#pragma once
// What the SQL console does with a text: a query opens a cursor over its first statement's
// rows; a command runs every statement of the text in order, and when any of them fails
// the database is left as it was. A run can be stopped from another thread.

#include "data/QueryCursor.h"

#include <QString>
#include <atomic>
#include <memory>

namespace kodexa {

class Db;

// The text a failure is shown with: the lead text, a line break and the engine's own words.
QString SqlErrorText(const QString &engineMessage);

class SqlConsole {
public:
    enum class Kind { Query, Command };
    struct Outcome {
        Kind kind = Kind::Command;
        std::unique_ptr<QueryCursor> cursor; // a query's open result
        bool interrupted = false;
        QString error; // empty on success; else SqlErrorText of the engine's message
    };

    explicit SqlConsole(Db &db);
    ~SqlConsole();
    SqlConsole(const SqlConsole &) = delete;
    SqlConsole &operator=(const SqlConsole &) = delete;

    // A query is a text whose first statement returns rows and changes nothing: a SELECT
    // however written (leading blanks, lower case, a comment before it), WITH … SELECT,
    // VALUES, a reading PRAGMA. Anything else is a command, an empty text included.
    // Raises DbError when the first statement cannot be prepared.
    Kind kindOf(const QString &text);

    // Runs the text as a query or a command; never raises. Safe to call on a thread other
    // than the one that calls interrupt().
    Outcome run(const QString &text);
    // The pieces of run; both raise DbError.
    std::unique_ptr<QueryCursor> openQuery(const QString &text);
    void execute(const QString &text);

    // Stops the running statement, or the next one run() starts; cleared by clearInterrupt().
    void interrupt();
    void clearInterrupt() { stop_ = false; }
    bool interruptRequested() const { return stop_; }

private:
    static int progress(void *self);
    void installProgress(bool on);

    Db &db_;
    std::atomic<bool> stop_{false};
};

} // namespace kodexa
