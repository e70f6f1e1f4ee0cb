// The demo collection: real books of Hungarian and world literature.
#include "data/Catalogue.h"
#include "data/Db.h"

namespace kodexa {

namespace {
struct Demo {
    const char *cim, *alcim, *szerzo, *kiado, *sorozat, *targykor, *mufaj, *nyelv, *polc;
    const char *datBesz;
    int ar, terjedelem, kiadas;
    const char *kulcsszavak, *kinek;
};

// title | subtitle | author | publisher | series | subject | genre | language | shelf | bought | price | pages | edition | keywords | lent to
const Demo kDemo[] = {
    {"Egri csillagok", "", "Gárdonyi Géza", "Móra Könyvkiadó", "Kötelező olvasmányok", "Magyar irodalom", "Történelmi regény", "magyar", "A1", "2004-09-12", 1490, 560, 12, "Eger; ostrom; török kor", ""},
    {"A Pál utcai fiúk", "", "Molnár Ferenc", "Móra Könyvkiadó", "Kötelező olvasmányok", "Magyar irodalom", "Ifjúsági regény", "magyar", "A1", "2005-02-03", 990, 208, 20, "grund; barátság; Budapest", ""},
    {"Az ember tragédiája", "Drámai költemény", "Madách Imre", "Szépirodalmi Könyvkiadó", "Magyar Remekírók", "Magyar irodalom", "Dráma", "magyar", "A2", "1998-11-20", 650, 312, 5, "", ""},
    {"Toldi", "", "Arany János", "Európa Könyvkiadó", "Magyar Remekírók", "Magyar irodalom", "Elbeszélő költemény", "magyar", "A2", "1999-04-10", 590, 144, 3, "", ""},
    {"A kőszívű ember fiai", "", "Jókai Mór", "Szépirodalmi Könyvkiadó", "Jókai Mór összes művei", "Magyar irodalom", "Történelmi regény", "magyar", "A1", "2001-06-18", 1200, 620, 8, "1848; szabadságharc", "Kovács Péter"},
    {"Az arany ember", "", "Jókai Mór", "Szépirodalmi Könyvkiadó", "Jókai Mór összes művei", "Magyar irodalom", "Regény", "magyar", "A1", "2001-06-18", 1200, 540, 6, "Senki szigete; Balaton", ""},
    {"Légy jó mindhalálig", "", "Móricz Zsigmond", "Móra Könyvkiadó", "Kötelező olvasmányok", "Magyar irodalom", "Ifjúsági regény", "magyar", "A1", "2003-08-30", 1100, 276, 14, "Debrecen; kollégium", ""},
    {"Rokonok", "", "Móricz Zsigmond", "Szépirodalmi Könyvkiadó", "", "Magyar irodalom", "Regény", "magyar", "A2", "2002-01-15", 880, 300, 4, "", ""},
    {"Édes Anna", "", "Kosztolányi Dezső", "Európa Könyvkiadó", "Európa Zsebkönyvek", "Magyar irodalom", "Regény", "magyar", "A2", "2006-03-21", 1590, 220, 9, "cselédsors; Budapest", ""},
    {"Pacsirta", "", "Kosztolányi Dezső", "Európa Könyvkiadó", "Európa Zsebkönyvek", "Magyar irodalom", "Regény", "magyar", "A2", "2006-03-21", 1490, 180, 7, "", ""},
    {"Esti Kornél", "", "Kosztolányi Dezső", "Szépirodalmi Könyvkiadó", "", "Magyar irodalom", "Novella", "magyar", "A2", "2007-10-02", 1290, 260, 2, "", "Nagy Éva"},
    {"A gólyakalifa", "", "Babits Mihály", "Magvető Könyvkiadó", "", "Magyar irodalom", "Regény", "magyar", "A3", "2008-05-14", 1990, 190, 3, "", ""},
    {"Iskola a határon", "", "Ottlik Géza", "Magvető Könyvkiadó", "", "Magyar irodalom", "Regény", "magyar", "A3", "2009-12-01", 3490, 420, 6, "Kőszeg; katonaiskola", ""},
    {"Sorstalanság", "", "Kertész Imre", "Magvető Könyvkiadó", "", "Magyar irodalom", "Regény", "magyar", "A3", "2003-02-11", 2490, 288, 4, "holokauszt; Nobel-díj", ""},
    {"A Pendragon legenda", "", "Szerb Antal", "Magvető Könyvkiadó", "", "Magyar irodalom", "Krimi", "magyar", "A3", "2010-07-07", 2990, 312, 10, "Wales; rózsakeresztesek", ""},
    {"Utas és holdvilág", "", "Szerb Antal", "Magvető Könyvkiadó", "", "Magyar irodalom", "Regény", "magyar", "A3", "2010-07-07", 2990, 280, 12, "Itália; nászút", ""},
    {"Tüskevár", "", "Fekete István", "Móra Könyvkiadó", "", "Magyar irodalom", "Ifjúsági regény", "magyar", "B1", "2004-06-22", 2290, 380, 25, "Kis-Balaton; nyár", ""},
    {"Vuk", "", "Fekete István", "Móra Könyvkiadó", "", "Magyar irodalom", "Ifjúsági regény", "magyar", "B1", "2004-06-22", 1690, 128, 30, "róka; állattörténet", ""},
    {"Abigél", "", "Szabó Magda", "Európa Könyvkiadó", "", "Magyar irodalom", "Ifjúsági regény", "magyar", "B1", "2011-09-09", 3290, 400, 15, "", ""},
    {"Az ajtó", "", "Szabó Magda", "Európa Könyvkiadó", "", "Magyar irodalom", "Regény", "magyar", "B1", "2012-01-20", 3490, 290, 8, "", ""},
    {"A láthatatlan ember", "", "Gárdonyi Géza", "Móra Könyvkiadó", "", "Magyar irodalom", "Történelmi regény", "magyar", "A1", "2005-05-05", 1890, 330, 11, "hunok; Attila", ""},
    {"Összes versei", "", "József Attila", "Osiris Kiadó", "Osiris Klasszikusok", "Magyar irodalom", "Vers", "magyar", "A4", "2005-12-18", 4500, 780, 1, "", ""},
    {"Összes versei", "", "Petőfi Sándor", "Osiris Kiadó", "Osiris Klasszikusok", "Magyar irodalom", "Vers", "magyar", "A4", "2006-12-18", 4900, 900, 1, "", ""},
    {"Összes versei", "", "Radnóti Miklós", "Magvető Könyvkiadó", "", "Magyar irodalom", "Vers", "magyar", "A4", "2009-11-05", 3990, 420, 2, "", ""},
    {"Bánk bán", "", "Katona József", "Szépirodalmi Könyvkiadó", "Magyar Remekírók", "Magyar irodalom", "Dráma", "magyar", "A2", "1998-11-20", 590, 160, 9, "", ""},
    {"A Mester és Margarita", "", "Mihail Bulgakov", "Európa Könyvkiadó", "A Világirodalom Remekei", "Világirodalom", "Regény", "magyar", "C1", "2000-04-14", 2490, 520, 7, "Moszkva; ördög", ""},
    {"Bűn és bűnhődés", "", "Fjodor Dosztojevszkij", "Európa Könyvkiadó", "A Világirodalom Remekei", "Világirodalom", "Regény", "magyar", "C1", "2000-04-14", 2990, 640, 11, "Szentpétervár; lelkiismeret", "Szabó Ádám"},
    {"Háború és béke", "I. kötet", "Lev Tolsztoj", "Európa Könyvkiadó", "A Világirodalom Remekei", "Világirodalom", "Történelmi regény", "magyar", "C1", "2001-02-02", 3490, 880, 5, "Napóleon; Oroszország", ""},
    {"Anna Karenina", "", "Lev Tolsztoj", "Európa Könyvkiadó", "A Világirodalom Remekei", "Világirodalom", "Regény", "magyar", "C1", "2001-02-02", 3290, 960, 6, "", ""},
    {"Száz év magány", "", "Gabriel García Márquez", "Magvető Könyvkiadó", "", "Világirodalom", "Regény", "magyar", "C2", "2007-08-08", 3290, 450, 9, "Macondo; mágikus realizmus", ""},
    {"A rózsa neve", "", "Umberto Eco", "Európa Könyvkiadó", "", "Világirodalom", "Krimi", "magyar", "C2", "2004-10-10", 3990, 620, 8, "kolostor; könyvtár; középkor", ""},
    {"1984", "", "George Orwell", "Európa Könyvkiadó", "Európa Zsebkönyvek", "Világirodalom", "Regény", "magyar", "C2", "2008-03-03", 2490, 380, 14, "disztópia; Nagy Testvér", ""},
    {"Állatfarm", "", "George Orwell", "Európa Könyvkiadó", "Európa Zsebkönyvek", "Világirodalom", "Regény", "magyar", "C2", "2008-03-03", 1690, 140, 12, "", ""},
    {"A per", "", "Franz Kafka", "Európa Könyvkiadó", "Európa Zsebkönyvek", "Világirodalom", "Regény", "magyar", "C2", "2003-09-09", 1990, 260, 6, "", ""},
    {"Der Prozess", "", "Franz Kafka", "Reclam", "", "Világirodalom", "Regény", "német", "D1", "2011-05-27", 3500, 240, 1, "", ""},
    {"Die Verwandlung", "", "Franz Kafka", "Reclam", "", "Világirodalom", "Novella", "német", "D1", "2011-05-27", 2200, 96, 1, "", ""},
    {"Faust", "Der Tragödie erster Teil", "Johann Wolfgang von Goethe", "Reclam", "", "Világirodalom", "Dráma", "német", "D1", "2012-06-01", 2400, 144, 1, "", ""},
    {"Hamlet", "", "William Shakespeare", "Penguin Books", "Penguin Classics", "Világirodalom", "Dráma", "angol", "D2", "2013-04-23", 2900, 400, 1, "Dánia; bosszú", ""},
    {"Pride and Prejudice", "", "Jane Austen", "Penguin Books", "Penguin Classics", "Világirodalom", "Regény", "angol", "D2", "2013-04-23", 2900, 480, 1, "", ""},
    {"The Old Man and the Sea", "", "Ernest Hemingway", "Scribner", "", "Világirodalom", "Kisregény", "angol", "D2", "2014-02-14", 3200, 128, 1, "", ""},
    {"Az öreg halász és a tenger", "", "Ernest Hemingway", "Európa Könyvkiadó", "Európa Zsebkönyvek", "Világirodalom", "Kisregény", "magyar", "C2", "2005-07-01", 1290, 120, 9, "", ""},
    {"Don Quijote", "", "Miguel de Cervantes", "Európa Könyvkiadó", "A Világirodalom Remekei", "Világirodalom", "Regény", "magyar", "C1", "1999-09-19", 3990, 1100, 4, "lovagregény; Spanyolország", ""},
    {"Nyomorultak", "", "Victor Hugo", "Európa Könyvkiadó", "A Világirodalom Remekei", "Világirodalom", "Regény", "magyar", "C1", "1999-09-19", 4490, 1350, 5, "Párizs; Jean Valjean", "Tóth Ödön"},
    {"Čapek meséi", "", "Karel Čapek", "Móra Könyvkiadó", "", "Világirodalom", "Mese", "magyar", "B2", "2010-11-11", 1990, 160, 3, "", ""},
    {"A kis herceg", "", "Antoine de Saint-Exupéry", "Móra Könyvkiadó", "", "Világirodalom", "Mese", "magyar", "B2", "2009-06-01", 1990, 96, 40, "bolygó; barátság; róka", ""},
    {"Alapítvány", "", "Isaac Asimov", "Móra Könyvkiadó", "Kozmosz Fantasztikus Könyvek", "Világirodalom", "Sci-fi", "magyar", "B2", "2002-10-20", 1490, 260, 3, "birodalom; pszichohistória", ""},
    {"Solaris", "", "Stanisław Lem", "Európa Könyvkiadó", "Kozmosz Fantasztikus Könyvek", "Világirodalom", "Sci-fi", "magyar", "B2", "2002-10-20", 1390, 230, 4, "óceán; kapcsolatfelvétel", ""},
    {"Gyilkosság az Orient expresszen", "", "Agatha Christie", "Európa Könyvkiadó", "Európa Krimi", "Világirodalom", "Krimi", "magyar", "B3", "2012-12-12", 2490, 250, 6, "Poirot; vonat", ""},
    {"A sátán kutyája", "", "Arthur Conan Doyle", "Európa Könyvkiadó", "Európa Krimi", "Világirodalom", "Krimi", "magyar", "B3", "2012-12-12", 2290, 210, 5, "Sherlock Holmes; láp", ""},
    {"Magyarország története", "", "Kontler László", "Atlantisz Kiadó", "", "Történelem", "Szakkönyv", "magyar", "E1", "2015-03-15", 5900, 560, 2, "Könyvtár; Magyarország; történelem", ""},
    {"A filozófia rövid története", "", "Nigel Warburton", "Park Könyvkiadó", "", "Filozófia", "Ismeretterjesztő", "magyar", "E1", "2016-01-08", 3990, 260, 1, "Szókratész; Kant", ""},
    {"A könyvtár története", "", "Fülöp Géza", "Osiris Kiadó", "", "Könyvtártudomány", "Szakkönyv", "magyar", "E1", "2017-04-04", 4990, 340, 1, "Könyvtár; nyomdászat; könyvkultúra", ""},
};
} // namespace

void FillDemoBooks(Db &db) {
    int n = 0;
    for (const Demo &d : kDemo) {
        BookInput b;
        b.cim = QString::fromUtf8(d.cim);
        b.alcim = QString::fromUtf8(d.alcim);
        b.szerzo = QString::fromUtf8(d.szerzo);
        b.kiado = QString::fromUtf8(d.kiado);
        b.sorozat = QString::fromUtf8(d.sorozat);
        b.targykor = QString::fromUtf8(d.targykor);
        b.mufaj = QString::fromUtf8(d.mufaj);
        b.nyelv = QString::fromUtf8(d.nyelv);
        b.polc = QString::fromUtf8(d.polc);
        b.datBesz = QString::fromUtf8(d.datBesz);
        b.ar = d.ar;
        b.terjedelem = d.terjedelem;
        b.kiadas = d.kiadas;
        b.kulcsszavak = QString::fromUtf8(d.kulcsszavak);
        b.kolcsonKinek = QString::fromUtf8(d.kinek);
        if (!b.kolcsonKinek.isEmpty())
            b.kolcsonDat = QStringLiteral("2026-%1-15").arg(10 + (n % 2), 2, 10, QLatin1Char('0'));
        b.dedikalt = (n % 9) == 4;
        if (n % 5 == 0)
            b.tartalom = QStringLiteral("Jó állapotú példány.\r\nA borító kissé kopott.");
        AddBook(db, b);
        ++n;
    }
}

} // namespace kodexa
