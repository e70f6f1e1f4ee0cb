#pragma once
// Lending a book out and taking it back on the current row of a dataset.

#include <QDate>
#include <QString>

namespace kodexa {

class Dataset;

// Why the current book may not be lent ("Ez a tétel már ki lett adva"), or an empty text.
// Only "I" refuses: a book with any other flag, NULL included, may be lent.
QString LendRefusal(const Dataset &tbl);
// Why the current book may not be taken back ("Ez a tétel még nem lett kiadva"), or an
// empty text. Only "N" refuses.
QString TakeBackRefusal(const Dataset &tbl);

// kolcsonadva "I", the day, the borrower (cut to the column's 25 characters); the row is
// written, or cancelled when the write fails.
void LendBook(Dataset &tbl, const QString &borrower, const QDate &day);
// kolcsonadva "N", no date, no borrower.
void TakeBackBook(Dataset &tbl);

} // namespace kodexa
