#pragma once
// What the SQL console does with a text, on a connection of its own to the catalogue: a
// query opens a cursor over its first statement's rows; a command runs every statement of
// the text in order. Typed transaction control (BEGIN, COMMIT, ROLLBACK, SAVEPOINT,
// RELEASE) runs as typed and may leave a transaction open on this connection alone; a text
// without it is all or nothing. A run can be stopped from another thread.

#include "data/Db.h"
#include "data/QueryCursor.h"

#include <QString>
#include <atomic>
#include <memory>

namespace kodexa {

// The text a failure is shown with: the lead text, a line break and the engine's own words.
QString SqlErrorText(const QString &engineMessage);

class SqlConsole {
public:
    enum class Kind { Query, Command };
    struct Outcome {
        Kind kind = Kind::Command;
        std::unique_ptr<QueryCursor> cursor; // a query's open result
        bool interrupted = false;
        // The text held transaction control and ran as typed: a failure or a stop keeps
        // what its earlier statements did.
        bool asTyped = false;
        QString error; // empty on success; else SqlErrorText of the engine's message
    };

    // Opens the console's own connection to the catalogue file; raises DbError.
    explicit SqlConsole(const QString &catalogue);
    ~SqlConsole();
    SqlConsole(const SqlConsole &) = delete;
    SqlConsole &operator=(const SqlConsole &) = delete;

    // The console's connection: its results are read and exported through it.
    Db &db() { return db_; }

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

    // A transaction begun in the console is open (the user has to end it).
    bool inTransaction() const;
    // Ends that transaction: commit keeps its changes, otherwise they are rolled back.
    // Raises DbError (a commit another program's lock refuses leaves it open).
    void endTransaction(bool commit);

    // Stops the running statement, or the next one run() starts; cleared by clearInterrupt().
    void interrupt();
    void clearInterrupt() { stop_ = false; }
    bool interruptRequested() const { return stop_; }

private:
    static int progress(void *self);
    void installProgress(bool on);

    Db db_;
    std::atomic<bool> stop_{false};
};

} // namespace kodexa
