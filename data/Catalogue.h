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
// Opens db on the catalogue file at path as the program starts on it, or raises Error with
// the message start-up shows: "Nem létező adatbázis" when no file is there, otherwise
// CannotOpenCatalogue for a file that cannot be read or is no catalogue (a text, a picture).
void OpenCatalogue(Db &db, const QString &path);
// "Az adatbázis nem nyitható meg:", the path and why, each on its own line.
QString CannotOpenCatalogue(const QString &path, const QString &why);
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
