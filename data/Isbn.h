#pragma once
// ISBNs as people and programs write them: with hyphens, blanks, a spreadsheet's ="…" guard,
// several in one field; ISBN-10 and ISBN-13 check digits, and the ISBN-13 form that makes
// an ISBN-10 and its ISBN-13 one book.

#include <QString>
#include <optional>

namespace kodexa {

struct Isbn {
    QString written; // as the file has it, guards and blanks removed
    bool valid = false;
    QString isbn13;  // the ISBN-13 form of a valid one (an ISBN-10 with 978 in front)
};
// The first valid ISBN of a field (several may stand in one, separated by blanks, commas or
// semicolons); a spreadsheet guard ="…" and hyphens are removed. When none is valid, the
// first one as written with valid false; nullopt for an empty field.
std::optional<Isbn> ReadIsbn(const QString &field);
bool IsbnCheckDigitOk(const QString &digits);

} // namespace kodexa
