#pragma once
// Realistic catalogues for the benchmarks: Hungarian and foreign names with every
// Hungarian accent, lookup tables, keywords, contents, lent books. The same seed gives
// the same file, so figures of different runs compare.

#include <QString>

namespace kodexa::bench {

// Creates a new catalogue file at path (refuses an existing one) and fills it with
// `books` books and their lookup rows, in one transaction.
void GenerateCatalogue(const QString &path, int books);

// A catalogue of `books` books kept between runs in the temporary folder
// (kodexa-bench-<books>.sqb); generated when missing. Delete it to regenerate.
QString CachedCatalogue(int books);

} // namespace kodexa::bench
