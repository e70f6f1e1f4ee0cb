#pragma once
// What both fuzz targets share: one catalogue in a temporary folder, made once per process
// by the same code as kodexa-init, and a way to run each input against it and take back
// everything the input wrote, so that millions of inputs start from the same file.

#include "data/Db.h"

#include <QString>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace kodexa::fuzz {

class FuzzCatalogue {
public:
    // The catalogue of this process (made on first use).
    static FuzzCatalogue &get();

    Db db;
    QString dir() const { return tmp_.path(); }
    qint64 bookCount();

    // Opens a savepoint that rollback() returns to; the import's own transaction nests in it.
    void begin();
    void rollback();

private:
    FuzzCatalogue();
    QTemporaryDir tmp_;
};

// A broken property: prints it and aborts, which libFuzzer records as a crash.
[[noreturn]] inline void Fail(const QString &what) {
    std::fprintf(stderr, "PROPERTY FAILED: %s\n", what.toLocal8Bit().constData());
    std::abort();
}
inline void Require(bool ok, const QString &what) {
    if (!ok)
        Fail(what);
}

} // namespace kodexa::fuzz
