#pragma once
// Making a new catalogue file: the tables, the list-column rows of mezo, the settings
// row, an administrator, and optionally a demo collection of real books.

#include <QString>

namespace kodexa {

class Db;

// Creates the file; refuses an existing one. Throws DbError with a Hungarian message.
void CreateCatalogue(const QString &path, bool demo);
// Refuses an open file that is no catalogue (a table the program needs is missing).
void RequireCatalogueTables(Db &db);
// Fills an open, empty catalogue with the demo collection.
void FillDemoBooks(Db &db);
// Writes a new book through the same lookup and search-key code as the program.
struct BookInput {
    QString cim, alcim, szerzo, szerkesztok, kiado, sorozat, targykor, mufaj, nyelv, polc, isbn, kulcsszavak, tartalom;
    int kiadas = 0, kotetszam = 0, terjedelem = 0, ar = 0;
    QString datBesz;      // yyyy-mm-dd
    QString kolcsonKinek; // non-empty: lent
    QString kolcsonDat;
    bool dedikalt = false;
};
qint64 AddBook(Db &db, const BookInput &b);

} // namespace kodexa
