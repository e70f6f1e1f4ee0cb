// The import over a real catalogue: keys, defaults, lookups found or made once, the
// header rules, a failing line, and files in either encoding.
#include "data/Catalogue.h"
#include "data/Kozos.h"
#include "data/Seged.h"
#include "data/TextFile.h"
#include "exchange/core/Delimited.h"
#include "exchange/core/Import.h"
#include "exchange/core/RowSource.h"
#include "support/Fixture.h"

using namespace kodexa;

// Books are described by the few fields each case needs.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

class ImportTest : public test::CatalogueTest {
protected:
    ImportResult import(const QString &text, QChar delimiter = QLatin1Char('\t')) {
        return ImportBooks(db, text, delimiter, ImportHeader(FirstLine(text), delimiter), today);
    }
    qint64 count(const QString &sql) { return db.scalar(sql).toLongLong(); }
    QString text(const QString &sql) { return db.scalar(sql).toString(); }
    const QDate today{2026, 12, 9};
};

TEST_F(ImportTest, TheFixedExportOfACatalogueComesBackAsACopyOfEveryBook) {
    openCatalogue(true);
    db.exec(QStringLiteral("UPDATE konyvek SET dedikalt = 'I' WHERE konyvek = 3"));
    const qint64 books = count(QStringLiteral("SELECT COUNT(*) FROM konyvek"));
    const qint64 maxKey = count(QStringLiteral("SELECT MAX(konyvek) FROM konyvek"));
    QStringList lookupCounts;
    for (const char *t : {"szerzo", "kiado", "sorozat", "targykor", "mufaj", "nyelv", "polc"})
        lookupCounts << text(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(t)));
    auto src = FixedExportSource(db);
    WriteDelimited(*src, path(QStringLiteral("export.txt")), FixedFormatOptions());

    const ImportText file = ReadImportFile(path(QStringLiteral("export.txt")));
    EXPECT_FALSE(file.utf8);
    const ImportResult r = import(file.text);
    EXPECT_EQ(r.lines, books);
    EXPECT_EQ(r.newLookups, 0);
    QStringList after;
    for (const char *t : {"szerzo", "kiado", "sorozat", "targykor", "mufaj", "nyelv", "polc"})
        after << text(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(t)));
    EXPECT_EQ(after, lookupCounts);

    // Every copy equals its original in the sixteen columns and the lookup keys and search
    // keys, with a new key in the same order, today's date and "N".
    const QString same = QStringLiteral(
        "SELECT COUNT(*) FROM konyvek o JOIN konyvek c ON c.konyvek = o.konyvek + %1 WHERE o.konyvek <= %1 "
        "AND c.szerzo_nev IS o.szerzo_nev AND c.cim IS o.cim AND c.isbn IS o.isbn AND c.alcim IS o.alcim "
        "AND c.kiado_nev IS o.kiado_nev AND c.sorozat_nev IS o.sorozat_nev AND c.targykor_nev IS o.targykor_nev "
        "AND c.mufaj_nev IS o.mufaj_nev AND c.kiadas IS o.kiadas AND c.kotetszam IS o.kotetszam "
        "AND c.terjedelem IS o.terjedelem AND c.ar IS o.ar AND c.nyelv_nev IS o.nyelv_nev AND c.dedikalt IS o.dedikalt "
        "AND c.kulcsszavak IS o.kulcsszavak AND c.szerzo IS o.szerzo AND c.kiado IS o.kiado AND c.sorozat IS o.sorozat "
        "AND c.targykor IS o.targykor AND c.mufaj IS o.mufaj AND c.nyelv IS o.nyelv AND c.cims IS o.cims "
        "AND c.szerzo_nevs IS o.szerzo_nevs AND c.kulcsszavaks IS o.kulcsszavaks "
        "AND c.dat_besz = '2026-12-09' AND c.kolcsonadva = 'N' AND c.kolcsonadva_kinek IS NULL");
    EXPECT_EQ(count(same.arg(maxKey)), books);
    // The shelf name comes with no shelf key: it is not in the file at all.
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM konyvek WHERE konyvek > %1 AND (polc IS NOT NULL OR polc_nev IS NOT NULL)").arg(maxKey)), 0);
}

TEST_F(ImportTest, HeaderNamesAreTrimmedLowerCasedAndOnlyTheFirstFiftyCount) {
    const auto h = ImportHeader(QStringLiteral("  CIM \t\x01 Szerzo_Nev \t\t"), QLatin1Char('\t'));
    ASSERT_EQ(h.size(), 2);
    EXPECT_EQ(h[0].name, QStringLiteral("cim"));
    EXPECT_EQ(h[1].name, QStringLiteral("szerzo_nev"));
    EXPECT_EQ(h[1].position, 2);
    QStringList sixty;
    for (int i = 1; i <= 60; ++i)
        sixty << QStringLiteral("m%1").arg(i);
    const auto fifty = ImportHeader(sixty.join(QLatin1Char('|')), QLatin1Char('|'));
    ASSERT_EQ(fifty.size(), 50);
    EXPECT_EQ(fifty.last().name, QStringLiteral("m50"));
}

TEST_F(ImportTest, GapsBlankLinesAndShortLines) {
    openCatalogue();
    // "cim;;isbn": two columns, the ISBN from the third field; keys of an empty table from 1.
    const ImportResult r = import(QStringLiteral("cim;;isbn\r\nAlfa;x;111\r\n\r\nGamma\r\n"), QLatin1Char(';'));
    EXPECT_EQ(r.lines, 3);
    EXPECT_EQ(text(QStringLiteral("SELECT group_concat(konyvek || ':' || IFNULL(cim,'') || ':' || IFNULL(isbn,''), ' ') "
                                  "FROM (SELECT * FROM konyvek ORDER BY konyvek)")),
              QStringLiteral("1:Alfa:111 2:: 3:Gamma:"));
    // The blank line holds only the key, "N" and today's date.
    EXPECT_EQ(text(QStringLiteral("SELECT dat_besz || kolcsonadva || IFNULL(dedikalt, '-') || IFNULL(szerzo, '-') FROM konyvek WHERE konyvek = 2")),
              QStringLiteral("2026-12-09N--"));
}

TEST_F(ImportTest, ANewNameMakesOneLookupRowThatTheNextLinesReuse) {
    openCatalogue(true);
    const qint64 authors = count(QStringLiteral("SELECT COUNT(*) FROM szerzo"));
    const qint64 arany = count(QStringLiteral("SELECT szerzo FROM szerzo WHERE szerzo_nev = 'Arany János'"));
    const ImportResult r = import(QStringLiteral("szerzo_nev\tcim\tnyelv_nev\n"
                                                 "Új Szerző\tEgy\tlatin\n"
                                                 "Új Szerző\tKettő\tlatin\n"
                                                 "ARANY János\tHárom\t\n"));
    EXPECT_EQ(r.lines, 3);
    EXPECT_EQ(r.newLookups, 2); // the author and the language
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM szerzo")), authors + 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(DISTINCT szerzo) FROM konyvek WHERE szerzo_nev = 'Új Szerző'")), 1);
    EXPECT_EQ(text(QStringLiteral("SELECT szerzo_nevs FROM szerzo WHERE szerzo_nev = 'Új Szerző'")), QStringLiteral("UJ SZERZO"));
    // A-Z match without case: the stored name and key are taken over.
    EXPECT_EQ(text(QStringLiteral("SELECT szerzo || ':' || szerzo_nev || ':' || szerzo_nevs FROM konyvek WHERE cim = 'Három'")),
              QStringLiteral("%1:Arany János:ARANY JANOS").arg(arany));
}

TEST_F(ImportTest, ABadValueStopsAtItsLineKeepingTheLinesBefore) {
    openCatalogue();
    const QString file = QStringLiteral("cim\tszerzo_nev\tar\n"
                                        "Egy\tA\t100\n"
                                        "Kettő\tB\t200\n"
                                        "Három\tC\tszáz\n"
                                        "Négy\tD\t400\n");
    try {
        import(file);
        FAIL() << "no error";
    } catch (const ImportError &e) {
        EXPECT_EQ(e.line(), 3);
        EXPECT_EQ(e.column(), QStringLiteral("ar"));
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("3. sor, ar mező: "))) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(QStringLiteral("'száz'")));
    }
    EXPECT_EQ(text(QStringLiteral("SELECT group_concat(cim, ',') FROM konyvek")), QStringLiteral("Egy,Kettő"));
    EXPECT_EQ(text(QStringLiteral("SELECT group_concat(szerzo_nev, ',') FROM szerzo")), QStringLiteral("A,B"));

    // A date that does not read, and a column the table lacks, fail the same way.
    EXPECT_THROW(import(QStringLiteral("dat_besz\n2026-13-45\n")), ImportError);
    try {
        import(QStringLiteral("cim\tnincsilyen\nX\t\nY\tvalami\n"));
        FAIL() << "no error";
    } catch (const ImportError &e) {
        EXPECT_EQ(e.line(), 2);
        EXPECT_EQ(e.column(), QStringLiteral("nincsilyen"));
    }
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM konyvek WHERE cim = 'X'")), 1);
}

TEST_F(ImportTest, ValuesOfTheFileReplaceTheDefaultsAndTextsAreCut) {
    openCatalogue();
    const QString date = QLocale().toString(QDate(2001, 2, 3), QLocale::ShortFormat);
    import(QStringLiteral("konyvek\tdat_besz\tkolcsonadva\tpolc_nev\tcim\n"
                          "77\t%1\tI\tNagyon hosszú polcnév\t \x01 Cím \n"
                          "\t2001-02-04\t\t\t\n").arg(date));
    EXPECT_EQ(text(QStringLiteral("SELECT group_concat(konyvek || '|' || dat_besz || '|' || kolcsonadva || '|' || IFNULL(polc_nev, '') || '|' || IFNULL(polc, '-') || '|' || IFNULL(cim, ''), ' / ') FROM konyvek")),
              QStringLiteral("77|2001-02-03|I|Nagyon hos|-|Cím / 2|2001-02-04|N||-|"));
}

TEST_F(ImportTest, Utf8AndWindows1250FilesWithTheSameTextImportTheSame) {
    const QString content = QStringLiteral("cim\tszerzo_nev\r\nŐszi fény\tÁrvíztűrő Tükörfúrógép\r\n");
    const ImportText cp = DecodeImportBytes(EncodeCp1250(content));
    const ImportText utf = DecodeImportBytes(content.toUtf8());
    const ImportText bom = DecodeImportBytes(QByteArray("\xEF\xBB\xBF") + content.toUtf8());
    const ImportText ascii = DecodeImportBytes(QByteArray("cim\r\nabc\r\n"));
    EXPECT_FALSE(cp.utf8);
    EXPECT_TRUE(utf.utf8);
    EXPECT_TRUE(bom.utf8);
    EXPECT_FALSE(ascii.utf8);
    EXPECT_EQ(cp.text, content);
    EXPECT_EQ(utf.text, content);
    EXPECT_EQ(bom.text, content);

    openCatalogue();
    writeFile(QStringLiteral("utf8.txt"), content.toUtf8());
    writeFile(QStringLiteral("cp.txt"), EncodeCp1250(content));
    import(ReadImportFile(path(QStringLiteral("utf8.txt"))).text);
    import(ReadImportFile(path(QStringLiteral("cp.txt"))).text);
    EXPECT_EQ(text(QStringLiteral("SELECT group_concat(cim || '/' || szerzo_nev || '/' || szerzo, ' ') FROM konyvek")),
              QStringLiteral("Őszi fény/Árvíztűrő Tükörfúrógép/1 Őszi fény/Árvíztűrő Tükörfúrógép/1"));
    EXPECT_THROW(ReadImportFile(path(QStringLiteral("nincs.txt"))), FileError);
}

TEST_F(ImportTest, ALineStartingWithAByteOrderMarkKeepsSearchKeysThatAgreeWithItsTexts) {
    // Two UTF-8 files joined one after the other: the second one's mark starts a data line.
    openCatalogue();
    const QByteArray bom("\xEF\xBB\xBF");
    const ImportText file = DecodeImportBytes(bom + "cim\tszerzo_nev\r\nElső\tÍró\r\n" + bom + "Második\t" + bom + "Költő\r\n");
    ASSERT_TRUE(file.utf8);
    import(file.text);
    Stmt s = db.prepare("SELECT cim, cims, szerzo_nev, szerzo_nevs FROM konyvek ORDER BY konyvek");
    int books = 0;
    while (s.step()) {
        ++books;
        EXPECT_EQ(s.text(1), SearchKey(s.text(0)));
        EXPECT_EQ(s.text(3), SearchKey(s.text(2)));
    }
    EXPECT_EQ(books, 2);
    EXPECT_EQ(text("SELECT cim FROM konyvek WHERE konyvek = 2"), QString(QChar(0xFEFF)) + QStringLiteral("Második"));
}

TEST_F(ImportTest, StoppingKeepsTheBooksStoredSoFar) {
    openCatalogue();
    const QString file = QStringLiteral("cim\na\nb\nc\nd\n");
    EXPECT_EQ(ImportLineCount(file), 4);
    const ImportResult r = ImportBooks(db, file, QLatin1Char('\t'), ImportHeader(QStringLiteral("cim"), QLatin1Char('\t')), today,
                                       [](qint64 lines) { return lines < 2; });
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM konyvek")), 2);
}
