// The import as the import window runs it, over arbitrary bytes: the first byte picks the
// delimiter (and whether the user stops the run after the first line), the rest is the
// file. The file is decoded and its header read as when it is loaded, then imported into
// the catalogue; afterwards the catalogue must hold exactly the lines reported stored,
// and every book's search keys and lookup name copies must agree with their sources (checked for
// a share of the inputs).
// Each input's writes are taken back, so every input starts from the same catalogue.

#include "data/LookupTables.h"
#include "exchange/core/Import.h"
#include "fuzz/FuzzCatalogue.h"
#include "tools/core/CatalogueCheck.h"

#include <QDate>
#include <QHash>

using namespace kodexa;
using kodexa::fuzz::FuzzCatalogue;
using kodexa::fuzz::Require;

namespace {
// The three delimiters the import window offers, and the comma of the export.
QChar Delimiter(uchar b) {
    switch (b & 3) {
    case 0: return QLatin1Char('\t');
    case 1: return QLatin1Char(';');
    case 2: return QLatin1Char('|');
    default: return QLatin1Char(',');
    }
}

// A file may name a lookup's key column itself; its whole numbers are then stored as they
// are, whether or not such a lookup row exists, so the check's dangling-key finding is the
// file's doing, not the import's.
bool NamesALookupKey(const QVector<ImportColumn> &columns) {
    for (const ImportColumn &c : columns)
        for (const LookupTable &t : LookupTables())
            if (c.name == QLatin1String(t.table))
                return true;
    return false;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1)
        return 0;
    FuzzCatalogue &cat = FuzzCatalogue::get();
    const QChar delimiter = Delimiter(data[0]);
    const bool stopAfterFirst = data[0] & 0x80;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    const ImportText file = DecodeImportBytes(bytes);
    const QString header = FirstLine(file.text);
    if (header.isEmpty())
        return 0; // the window loads nothing
    const QVector<ImportColumn> columns = ImportHeader(header, delimiter);
    Require(columns.size() <= 50, QStringLiteral("more than 50 header columns"));
    for (const ImportColumn &c : columns)
        Require(!c.name.isEmpty() && c.position >= 1 && c.position <= 50 && c.name == c.name.toLower(),
                QStringLiteral("header column %1 at %2").arg(c.name).arg(c.position));
    const qint64 lines = ImportLineCount(file.text);

    cat.begin();
    const qint64 before = cat.bookCount();
    qint64 stored = 0;
    try {
        const ImportResult r = ImportBooks(cat.db, file.text, delimiter, columns, QDate(2024, 5, 17),
                                           [&](qint64) { return !stopAfterFirst; });
        stored = r.lines;
        // Every data line is read and either stored, refused or skipped.
        if (stopAfterFirst)
            Require(r.stopped == (r.lines > 0) && r.lines <= 1, QStringLiteral("stop after one line"));
        else
            Require(!r.stopped && r.read == lines && r.lines + r.refused + r.skipped == lines,
                    QStringLiteral("%1 stored, %2 refused, %3 skipped of %4 lines").arg(r.lines).arg(r.refused).arg(r.skipped).arg(lines));
    } catch (const ImportError &e) {
        // A value that does not read: the failing line is a data line, the lines before it
        // that were stored stay. A failure of the engine: nothing stays.
        Require(e.line() >= 0 && e.line() <= lines, QStringLiteral("failure at line %1 of %2").arg(e.line()).arg(lines));
        Require(!e.message().isEmpty() && !e.reason().isEmpty(), QStringLiteral("failure without a message"));
        stored = e.result().lines;
    }
    Require(cat.bookCount() == before + stored,
            QStringLiteral("%1 books after storing %2 onto %3").arg(cat.bookCount()).arg(stored).arg(before));
    // The whole catalogue check costs several times the import of a small file: it runs for
    // one input in eight that stored books, chosen by the input's own bytes so that a
    // failing input fails again when it is replayed.
    if (stored > 0 && qHash(bytes) % 8 == 0 && !NamesALookupKey(columns)) {
        const CheckReport check = CheckCatalogue(cat.db, false);
        Require(check.clean(), QStringLiteral("catalogue check: %1 %2").arg(check.integrity.join(QLatin1Char(' ')),
                                                                             check.findings.join(QLatin1Char(' '))));
    }
    cat.rollback();
    return 0;
}
