#include "data/Catalogue.h"

#include "data/Dataset.h"
#include "data/Kozos.h"
#include "data/Schema.h"

#include <QFileInfo>

namespace kodexa {

namespace {
struct MezoRow {
    const char *column;
    int weight;
};
// The first six make the default list; the title carries the sort mark.
const MezoRow kMezo[] = {
    {"konyvek", 6},      {"szerzo_nev", 18}, {"cim", 28},      {"kiado_nev", 16},    {"polc_nev", 6},
    {"dat_besz", 12},    {"alcim", 20},      {"szerkesztok", 20}, {"sorozat_nev", 16}, {"targykor_nev", 14},
    {"mufaj_nev", 12},   {"nyelv_nev", 10},  {"isbn", 12},     {"ar", 8},            {"kolcsonadva_kinek", 14},
};
} // namespace

void CreateCatalogue(const QString &path, bool demo) {
    if (QFileInfo::exists(path))
        throw DbError(QStringLiteral("A(z) %1 állomány már létezik, nem írom felül.").arg(path));
    Db db;
    try {
        db.open(path, true);
    } catch (const DbError &e) {
        throw DbError(QStringLiteral("Az adatbázis nem hozható létre itt: %1 (%2)").arg(path, e.message()));
    }
    try {
        Transaction tx(db);
        for (const QString &sql : CatalogueDdl())
            db.exec(sql);
        int pos = 1;
        Stmt m = db.prepare(QStringLiteral("INSERT INTO mezo (mezo, mezo_nev, szeles, displabel, sorrend) VALUES (?1,?2,?3,?4,?5)"));
        for (const auto &r : kMezo) {
            const QString col = QLatin1String(r.column);
            m.reset();
            m.bind(1, pos++).bind(2, col).bind(3, r.weight).bind(4, BookColumnLabel(col));
            m.bind(5, col == QLatin1String("cim") ? QStringLiteral("I") : QStringLiteral("N"));
            m.exec();
        }
        db.exec(QStringLiteral("INSERT INTO beallit (beallit, vanbelep, sendername, senderemil) VALUES (1, 'N', '', '')"));
        db.exec(QStringLiteral("INSERT INTO felhasznalo (felhasznalo, felhasznalo_nev, jelszo, rendszergazda, torzsszerkeszt) "
                               "VALUES ('admin', 'Rendszergazda', 'admin', 'I', 'I')"));
        if (demo)
            FillDemoBooks(db);
        tx.commit();
    } catch (...) {
        db.close();
        QFile::remove(path);
        throw;
    }
}

void RequireCatalogueTables(Db &db) {
    for (const char *t : {"konyvek", "mezo", "beallit"})
        if (!db.hasTable(QLatin1String(t)))
            throw DbError(QStringLiteral("Az állomány nem Kodexa katalógus: hiányzik a(z) %1 tábla.").arg(QLatin1String(t)));
}

void OpenCatalogue(Db &db, const QString &path) {
    if (!QFileInfo(path).isFile())
        throw Error(QStringLiteral("Nem létező adatbázis"));
    try {
        db.open(path);
        RequireCatalogueTables(db);
    } catch (const Error &e) {
        db.close();
        throw Error(CannotOpenCatalogue(path, e.message()));
    }
}

QString CannotOpenCatalogue(const QString &path, const QString &why) {
    return QStringLiteral("Az adatbázis nem nyitható meg:\n%1\n%2").arg(path, why);
}

qint64 AddBook(Db &db, const BookInput &b) {
    Record r(TableFields(db, QStringLiteral("konyvek")));
    NewBookDefaults(db, r);
    r.setValue(QStringLiteral("cim"), b.cim);
    auto setText = [&r](const char *col, const QString &v) {
        if (!v.isEmpty())
            r.setValue(QLatin1String(col), v);
    };
    setText("alcim", b.alcim);
    setText("szerzo_nev", b.szerzo);
    setText("szerkesztok", b.szerkesztok);
    setText("kiado_nev", b.kiado);
    setText("sorozat_nev", b.sorozat);
    setText("targykor_nev", b.targykor);
    setText("mufaj_nev", b.mufaj);
    setText("nyelv_nev", b.nyelv);
    setText("polc_nev", b.polc);
    setText("isbn", b.isbn);
    setText("kulcsszavak", b.kulcsszavak);
    setText("tartalom", b.tartalom);
    setText("dat_besz", b.datBesz);
    auto setInt = [&r](const char *col, int v) {
        if (v)
            r.setValue(QLatin1String(col), v);
    };
    setInt("kiadas", b.kiadas);
    setInt("kotetszam", b.kotetszam);
    setInt("terjedelem", b.terjedelem);
    setInt("ar", b.ar);
    r.setValue(QStringLiteral("dedikalt"), b.dedikalt ? QStringLiteral("I") : QStringLiteral("N"));
    if (!b.kolcsonKinek.isEmpty()) {
        r.setValue(QStringLiteral("kolcsonadva"), QStringLiteral("I"));
        r.setValue(QStringLiteral("kolcsonadva_kinek"), b.kolcsonKinek);
        r.setValue(QStringLiteral("kolcsonadva_dat"), b.kolcsonDat);
    }
    ResolveBookLookups(db, r);
    TblBeforePost(r);
    RowWriter(db, QStringLiteral("konyvek")).insert(r);
    return r.value(QStringLiteral("konyvek")).toLongLong();
}

} // namespace kodexa
