#pragma once
// Lending a book out and taking it back on the current row of a dataset.

#include <QDate>
#include <QString>

namespace kodexa {

class Dataset;

// kolcsonadva "I", the day, the borrower (cut to the column's 25 characters); the row is
// written, or cancelled when the write fails.
void LendBook(Dataset &tbl, const QString &borrower, const QDate &day);
// kolcsonadva "N", no date, no borrower.
void TakeBackBook(Dataset &tbl);

} // namespace kodexa
