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

#include <QStringDecoder>
#include <QStringEncoder>

using namespace kodexa;


class ImportTest : public test::CatalogueTest {
protected:
    ImportResult import(const QString &text, QChar delimiter = QLatin1Char('\t')) {
        return ImportBooks(db, text, delimiter, ImportHeader(FirstLine(text), delimiter), today);
    }
    qint64 count(const QString &sql) { return db.scalar(sql).toLongLong(); }
    // The definitions of the tables and indexes, whatever order and pages they are kept in.
    QString schema() {
        return text(QStringLiteral("SELECT group_concat(type || ' ' || name || ' ' || tbl_name || ' ' || IFNULL(sql, ''), '\n') "
                                   "FROM (SELECT * FROM sqlite_master ORDER BY name)"));
    }
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
    const QString before = schema();
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
    // A run that doubles the table builds its search indexes again at the end: the same
    // definitions, and sound.
    EXPECT_EQ(schema(), before);
    EXPECT_EQ(text(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
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
    // Empty and blank lines make no book and take no key; they are counted as skipped.
    const ImportResult r = import(QStringLiteral("cim;;isbn\r\nAlfa;x;111\r\n\r\n   \t \r\nGamma\r\n"), QLatin1Char(';'));
    EXPECT_EQ(r.lines, 2);
    EXPECT_EQ(r.read, 4);
    EXPECT_EQ(r.skipped, 2);
    EXPECT_EQ(r.refused, 0);
    EXPECT_EQ(text(QStringLiteral("SELECT group_concat(konyvek || ':' || IFNULL(cim,'') || ':' || IFNULL(isbn,''), ' ') "
                                  "FROM (SELECT * FROM konyvek ORDER BY konyvek)")),
              QStringLiteral("1:Alfa:111 2:Gamma:"));
    EXPECT_EQ(ImportSummary(r), QStringLiteral("betöltött tételek száma: 2\n"
                                               "Beolvasott sorok: 4, betöltve: 2, elutasítva: 0, kihagyva (üres sor): 2."));
    // Only blank lines, or a header alone: nothing to store, and the import says so.
    EXPECT_TRUE(ImportSummary(import(QStringLiteral("cim\r\n \r\n"))).startsWith(QStringLiteral("Nincs betölthető sor.\n")));
    const ImportResult none = import(QStringLiteral("cim\tszerzo_nev\r\n"));
    EXPECT_EQ(none.read, 0);
    EXPECT_EQ(ImportSummary(none), QStringLiteral("Nincs betölthető sor."));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM konyvek")), 2);
}

TEST_F(ImportTest, ALineNamingATakenKeyIsRefusedAndTheRestImported) {
    openCatalogue();
    db.exec(QStringLiteral("INSERT INTO konyvek (konyvek, cim) VALUES (12, 'Régi')"));
    // Line 2 brings 15; line 3's own key would be 15 too, so it takes the next free one;
    // line 4 names 15 again.
    const ImportResult r = import(QStringLiteral("konyvek\tcim\n"
                                                 "12\tKettős\n"
                                                 "15\tTizenöt\n"
                                                 "\tKulcs nélkül\n"
                                                 "15\tÚjra\n"));
    EXPECT_EQ(r.lines, 2);
    EXPECT_EQ(r.refused, 2);
    EXPECT_EQ(r.reasons, QStringList({QStringLiteral("1. sor: a(z) 12 azonosítójú könyv már létezik"),
                                      QStringLiteral("4. sor: a(z) 15 azonosítójú könyv már létezik")}));
    EXPECT_EQ(text(QStringLiteral("SELECT group_concat(konyvek || ':' || cim, ' / ') FROM (SELECT * FROM konyvek ORDER BY konyvek)")),
              QStringLiteral("12:Régi / 15:Tizenöt / 16:Kulcs nélkül"));
    EXPECT_EQ(ImportSummary(r), QStringLiteral("betöltött tételek száma: 2\n"
                                               "Beolvasott sorok: 4, betöltve: 2, elutasítva: 2, kihagyva (üres sor): 0.\n"
                                               "Elutasított sorok:\n"
                                               "1. sor: a(z) 12 azonosítójú könyv már létezik\n"
                                               "4. sor: a(z) 15 azonosítójú könyv már létezik"));
}

TEST_F(ImportTest, ANulCharacterRefusesItsLineAndTheRestOfTheFileImports) {
    openCatalogue();
    QString file = QStringLiteral("cim\tisbn\r\n");
    for (int i = 1; i <= 1000; ++i)
        file += (i == 10 ? QStringLiteral("Tíz%1ik\t10").arg(QChar(0)) : QStringLiteral("Könyv %1\t%1").arg(i)) + QStringLiteral("\r\n");
    const ImportResult r = import(file);
    EXPECT_EQ(r.read, 1000);
    EXPECT_EQ(r.lines, 999);
    EXPECT_EQ(r.refused, 1);
    EXPECT_EQ(r.reasons, QStringList{QStringLiteral("10. sor: a sorban NUL (0 kódú) karakter áll")});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM konyvek")), 999);
    EXPECT_EQ(text(QStringLiteral("SELECT cim FROM konyvek WHERE isbn = '1000'")), QStringLiteral("Könyv 1000"));
}

TEST_F(ImportTest, AnOverlongLineIsRefusedAndAJunkColumnNameIsQuotedShort) {
    openCatalogue();
    const QString longLine = QString(ImportLineLimit + 1, QLatin1Char('x'));
    const QString file = QStringLiteral("cim\nEgy\n") + longLine + QStringLiteral("\nHárom\n");
    EXPECT_EQ(FirstOverlongLine(file), 2);
    EXPECT_EQ(FirstOverlongLine(QStringLiteral("cim\nEgy\n")), -1);
    const ImportResult r = import(file);
    EXPECT_EQ(r.lines, 2);
    ASSERT_EQ(r.reasons.size(), 1);
    EXPECT_TRUE(r.reasons[0].startsWith(QStringLiteral("2. sor: a sor hosszabb 1 MB-nál"))) << r.reasons[0].toStdString();

    // A header field of binary junk: the message quotes its start, printable, and no more.
    QString junk;
    for (int i = 0; i < 5000; ++i)
        junk += QChar(i % 3 == 0 ? 0x07 : u'ű');
    try {
        import(QStringLiteral("cim\t") + junk + QStringLiteral("\nEgy\tkettő\n"));
        FAIL() << "no error";
    } catch (const ImportError &e) {
        EXPECT_GT(e.column().size(), 4000); // the whole name is kept for the program
        EXPECT_LT(e.message().size(), 200) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(QStringLiteral("?űű?űű?"))) << e.message().toStdString();
        EXPECT_FALSE(e.message().contains(QChar(0x07)));
    }
    EXPECT_EQ(QuotedForMessage(QStringLiteral("rövid")), QStringLiteral("rövid"));
    EXPECT_EQ(QuotedForMessage(QString(61, QLatin1Char('a'))), QString(60, QLatin1Char('a')) + QChar(0x2026));
    // A character beyond the first plane is one character, quoted whole.
    EXPECT_EQ(QuotedForMessage(QStringLiteral("könyv \U0001F4DA")), QStringLiteral("könyv \U0001F4DA"));
}

TEST_F(ImportTest, TheExportsBlobPlaceholderReadsAsEmptyAndIsCounted) {
    openCatalogue();
    const ImportResult r = import(QStringLiteral("cim\ttartalom\nEgy\tBLOB\nKettő\t\"BLOB\"\nHárom\tBLOBS\nNégy\t'BLOB'\n"));
    EXPECT_EQ(r.lines, 4);
    EXPECT_EQ(r.placeholders, 3);
    EXPECT_EQ(text(QStringLiteral("SELECT group_concat(cim || ':' || IFNULL(tartalom, '-'), ' ') FROM (SELECT * FROM konyvek ORDER BY konyvek)")),
              QStringLiteral("Egy:- Kettő:- Három:BLOBS Négy:-"));
    EXPECT_TRUE(ImportSummary(r).endsWith(QStringLiteral("\nAz export „BLOB” helyőrzője üresen beolvasva: 3 tétel.")))
        << ImportSummary(r).toStdString();
    // A title of "BLOB" is a title.
    import(QStringLiteral("cim\nBLOB\n"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM konyvek WHERE cim = 'BLOB'")), 1);
}

TEST_F(ImportTest, AFullDiskKeepsNothingAndSaysSo) {
    openCatalogue();
    db.exec(QStringLiteral("INSERT INTO konyvek (konyvek, cim) VALUES (1, 'Régi')"));
    QString file = QStringLiteral("cim\ttartalom\n");
    for (int i = 0; i < 400; ++i)
        file += QStringLiteral("Könyv %1\t%2\n").arg(i).arg(QString(1500, QChar(u'a' + i % 26)));
    // The engine may grow the file by a few pages only: it fails part-way with SQLITE_FULL.
    const qint64 pages = count(QStringLiteral("PRAGMA page_count"));
    db.exec(QStringLiteral("PRAGMA max_page_count = %1").arg(pages + 20));
    try {
        import(file);
        FAIL() << "no error";
    } catch (const ImportError &e) {
        EXPECT_EQ(e.result().lines, 0);
        EXPECT_TRUE(e.message().contains(QStringLiteral("Megtelt a lemez"))) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(QStringLiteral("semmi sem maradt meg, egyetlen könyv sem került a katalógusba")))
            << e.message().toStdString();
        EXPECT_TRUE(ImportSummary(e.result()).startsWith(QStringLiteral("betöltött tételek száma: 0\n")));
    }
    db.exec(QStringLiteral("PRAGMA max_page_count = 1073741823"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM konyvek")), 1);
    // The connection works on.
    EXPECT_EQ(import(QStringLiteral("cim\nÚj\n")).lines, 1);
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

// The book list pages through the table on the import's own connection; its statement keeps
// the indexes from being set aside, and the run keeps them up row by row instead.
TEST_F(ImportTest, ABigRunBesideAnOpenReadingStatementKeepsTheIndexesUp) {
    openCatalogue(true);
    const QString before = schema();
    Stmt reading = db.prepare(QStringLiteral("SELECT konyvek FROM konyvek ORDER BY cims"));
    ASSERT_TRUE(reading.step());
    QString file = QStringLiteral("cim\n");
    for (int i = 0; i < 200; ++i)
        file += QStringLiteral("Új könyv %1\n").arg(i);
    EXPECT_EQ(import(file).lines, 200);
    EXPECT_TRUE(reading.step());
    reading.reset();
    EXPECT_EQ(schema(), before);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM konyvek WHERE cims LIKE 'UJ KONYV %'")), 200);
}

TEST_F(ImportTest, ABadValueStopsAtItsLineKeepingTheLinesBefore) {
    openCatalogue();
    const QString before = schema();
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
    EXPECT_EQ(schema(), before) << "the indexes are back after a run that stopped at a bad line";
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

// Under a locale whose short date has a two-digit year, 2008 goes out as 2008 and comes back
// as 2008, not 1908; a file written with the short year still reads as it did.
TEST_F(ImportTest, DatesKeepTheirCenturyThroughExportAndImport) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    openCatalogue();
    AddBook(db, {.cim = QStringLiteral("Régi"), .datBesz = QStringLiteral("2008-05-06")});
    QuerySource q(db, QStringLiteral("SELECT cim, dat_besz FROM konyvek"));
    DelimitedOptions o;
    o.delimiter = QLatin1Char('\t');
    WriteDelimited(q, path(QStringLiteral("ki.txt")), o, {});
    const ImportText file = ReadImportFile(path(QStringLiteral("ki.txt")));
    EXPECT_TRUE(file.text.contains(QStringLiteral("Régi\t5/6/2008\t"))) << file.text.toStdString();
    db.exec(QStringLiteral("DELETE FROM konyvek"));
    import(file.text);
    import(QStringLiteral("cim\tdat_besz\nRövid\t5/6/08\n"));
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(text(QStringLiteral("SELECT group_concat(cim || ' ' || dat_besz, ', ') FROM konyvek ORDER BY cim")),
              QStringLiteral("Régi 2008-05-06, Rövid 1908-05-06"));
}

// The code page is read through a table made once from the converter: every byte must come
// out as the converter gives it, the ones above 0x7F included.
TEST_F(ImportTest, EveryByteOfTheCodePageReadsAsTheConverterReadsIt) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    QStringDecoder converter("windows-1250");
    const QString expected = converter.decode(all + all);
    EXPECT_EQ(DecodeCp1250(all + all), expected);
    EXPECT_EQ(DecodeImportBytes(all).text, expected.left(256));
    // Shaped as UTF-8 but not UTF-8 (a surrogate, an overlong form): the code page reads it.
    const QByteArray surrogate("cim\n\xED\xA0\x80 \xE0\x80\xAF\n");
    const ImportText file = DecodeImportBytes(surrogate);
    EXPECT_FALSE(file.utf8);
    EXPECT_EQ(file.text, converter.decode(surrogate));
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
    EXPECT_EQ(ImportEncodingNote(utf), QStringLiteral("A file UTF-8 kódolással beolvasva."));
    EXPECT_EQ(ImportEncodingNote(cp), QString());

    openCatalogue();
    writeFile(QStringLiteral("utf8.txt"), content.toUtf8());
    writeFile(QStringLiteral("cp.txt"), EncodeCp1250(content));
    import(ReadImportFile(path(QStringLiteral("utf8.txt"))).text);
    import(ReadImportFile(path(QStringLiteral("cp.txt"))).text);
    EXPECT_EQ(text(QStringLiteral("SELECT group_concat(cim || '/' || szerzo_nev || '/' || szerzo, ' ') FROM konyvek")),
              QStringLiteral("Őszi fény/Árvíztűrő Tükörfúrógép/1 Őszi fény/Árvíztűrő Tükörfúrógép/1"));
    EXPECT_THROW(ReadImportFile(path(QStringLiteral("nincs.txt"))), FileError);
}

TEST_F(ImportTest, Utf16AndUtf32FilesAreReadByTheirByteOrderMark) {
    const QString content = QStringLiteral("cim\tszerzo_nev\r\nŐszi fény\tÁrvíztűrő 𝄞\r\n");
    const auto encoded = [&](QStringConverter::Encoding e) {
        QStringEncoder enc(e, QStringEncoder::Flag::WriteBom);
        return QByteArray(enc.encode(content));
    };
    const struct {
        QStringConverter::Encoding encoding;
        const char *name;
    } cases[] = {{QStringConverter::Utf16LE, "UTF-16 LE"},
                 {QStringConverter::Utf16BE, "UTF-16 BE"},
                 {QStringConverter::Utf32LE, "UTF-32 LE"},
                 {QStringConverter::Utf32BE, "UTF-32 BE"}};
    for (const auto &c : cases) {
        const ImportText file = DecodeImportBytes(encoded(c.encoding));
        EXPECT_EQ(file.text, content) << c.name;
        EXPECT_EQ(file.encoding, QLatin1String(c.name));
        EXPECT_FALSE(file.utf8);
        EXPECT_EQ(ImportEncodingNote(file), QStringLiteral("A file %1 kódolással beolvasva.").arg(QLatin1String(c.name)));
    }
    // Bytes that do not form the marked encoding: refused, naming it.
    try {
        DecodeImportBytes(encoded(QStringConverter::Utf16LE) + "x");
        FAIL() << "no error";
    } catch (const FileError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("UTF-16 LE kódolású"))) << e.message().toStdString();
    }

    openCatalogue();
    const ImportResult r = import(DecodeImportBytes(encoded(QStringConverter::Utf16LE)).text);
    EXPECT_EQ(r.lines, 1);
    EXPECT_EQ(text(QStringLiteral("SELECT cim || '/' || szerzo_nev FROM konyvek")), QStringLiteral("Őszi fény/Árvíztűrő 𝄞"));
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
