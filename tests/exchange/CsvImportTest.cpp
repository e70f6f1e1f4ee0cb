// Other programs' CSV files into the catalogue: reading and guessing, the suggested
// mapping, the cleaning of values, and the run with its duplicate rules, on a real catalogue.
// The sample files are written here in the shapes those programs use, with invented books.
#include "data/Catalogue.h"
#include "data/Db.h"
#include "data/TextFile.h"
#include "exchange/core/CsvImport.h"
#include "support/Fixture.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

using namespace kodexa;
using namespace kodexa::csv;


namespace {

// A book site's library export: ISBNs behind a spreadsheet guard, "Family, Given" beside the
// display name, shelves, a review with markup.
const char *const BookSite =
    "Book Id,Title,Author,Author l-f,Additional Authors,ISBN,ISBN13,My Rating,Publisher,Binding,"
    "Number of Pages,Year Published,Original Publication Year,Date Read,Date Added,Bookshelves,"
    "Exclusive Shelf,My Review,Private Notes\n"
    "101,A kőszívű ember fiai,Mór Jókai,\"Jókai, Mór\",,=\"9631234568\",=\"\",5,Móra,Hardcover,"
    "520,1999,1869,,2021/03/14,\"klasszikus, regény\",read,\"Remek.<br/>Újra &amp; újra\",\n"
    "102,Die Verwandlung,Franz Kafka,\"Kafka, Franz\",,=\"\",=\"9780000000002\",4,Reclam,Paperback,"
    "96,2010,1915,,2020/01/02,,read,,\"a polcon, \"\"fent\"\"\"\n"
    "103,Rossz szám,Próba Péter,\"Próba, Péter\",,=\"9631234567\",=\"\",0,,,320 p.,,,,2022/05/06,,to-read,,\n";

// A social cataloguing site's export: "Family, Given" authors, several ISBNs, tags.
const char *const Social =
    "\"Book Id\",\"Title\",\"Primary Author\",\"Secondary Author\",\"Publication\",\"ISBNs\",\"Tags\","
    "\"Collections\",\"Date Acquired\"\n"
    "\"1\",\"Egri csillagok\",\"Gárdonyi, Géza\",\"\",\"Móra (2004), Kötött, 560 oldal\","
    "\"9639999997, 9789639999992\",\"ifjúsági, történelmi\",\"Saját könyvek\",\"2004-09-12\"\n";

} // namespace

class CsvImportTest : public test::CatalogueTest {
protected:
    CsvSummary run(const QString &text, Duplicates d = Duplicates::Skip, bool dryRun = false) {
        CsvReader header(text, dialect.delimiter);
        QStringList h;
        QString error;
        header.next(h, error);
        CsvRun r{dialect, SuggestMapping(h), d, dryRun, QDate(2026, 12, 11)};
        return RunCsvImport(db, text, r);
    }
    QString books(const QString &columns, const QString &where = QStringLiteral("1")) {
        return db.scalar(QStringLiteral("SELECT group_concat(%1, ' / ') FROM (SELECT * FROM konyvek WHERE %2 ORDER BY konyvek)")
                             .arg(columns, where))
            .toString();
    }
    Dialect dialect;
};

TEST(CsvReaderTest, RecordsWithQuotesLineBreaksAndEveryLineEnd) {
    const QString text = QStringLiteral("a;\"b \"\"c\"\"\";\"sor\r\nmásik\"\r\n;;\rx;y\n\"nyitott;z\n");
    CsvReader r(text, QLatin1Char(';'));
    QStringList f;
    QString error;
    ASSERT_TRUE(r.next(f, error));
    EXPECT_EQ(f, (QStringList{"a", "b \"c\"", "sor\r\nmásik"}));
    EXPECT_EQ(r.line(), 1);
    ASSERT_TRUE(r.next(f, error));
    EXPECT_EQ(f, (QStringList{"", "", ""}));
    EXPECT_EQ(r.line(), 3) << "a quoted line break counts as a line";
    ASSERT_TRUE(r.next(f, error));
    EXPECT_EQ(f, (QStringList{"x", "y"}));
    ASSERT_TRUE(r.next(f, error));
    EXPECT_EQ(error, "a(z) 5. sorban kezdődő idézőjel nem záródik");
    EXPECT_FALSE(r.next(f, error));

    // A quote never closed in a large file is refused at the length limit, and reading goes
    // on with the next line.
    const QString big = QStringLiteral("\"nyitott,1\n") + QString(CsvRecordLimit + 10, QLatin1Char('x')) +
                        QStringLiteral("\nrendes,2\n");
    CsvReader long1(big, QLatin1Char(','));
    ASSERT_TRUE(long1.next(f, error));
    EXPECT_EQ(error, "a(z) 1. sorban kezdődő idézőjel nem záródik");
    ASSERT_TRUE(long1.next(f, error));
    EXPECT_EQ(error, "a sor hosszabb 1 MB-nál");
    ASSERT_TRUE(long1.next(f, error));
    EXPECT_EQ(f, (QStringList{"rendes", "2"}));
    EXPECT_EQ(long1.line(), 3);
}

// A file is read a piece at a time: wherever a piece ends (inside quotes, between CR and LF,
// on a doubled quote), the records and their line numbers are those of the whole text.
TEST(CsvReaderTest, ATextReadInPiecesGivesTheRecordsOfTheWhole) {
    const QString text = QStringLiteral("cím,\"meg\"\"jegyzés\"\r\nEgy,\"két\r\nsoros\"\r\n\"\",\"\"\"\"\r\rHárom,x\n"
                                        "\"nyitott,y\n");
    const auto records = [](CsvReader &r) {
        QStringList out;
        QStringList f;
        QString error;
        while (r.next(f, error))
            out << QStringLiteral("%1:%2%3").arg(r.line()).arg(f.join(QLatin1Char('|')), error);
        return out;
    };
    CsvReader whole(text, QLatin1Char(','));
    const QStringList expected = records(whole);
    ASSERT_EQ(expected.size(), 6) << expected.join(QLatin1Char('/')).toStdString();
    for (int piece = 1; piece <= 7; ++piece) {
        qsizetype at = 0;
        CsvReader pieces(
            [&] {
                const QString p = text.mid(at, piece);
                at += p.size();
                return p;
            },
            QLatin1Char(','));
        EXPECT_EQ(records(pieces), expected) << piece;
    }
    // And a file through its decoder, as the run reads it.
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("f.csv")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("\xEF\xBB\xBF") + text.toUtf8());
    f.close();
    CsvFile file(f.fileName(), Encoding::Utf8);
    CsvReader fromFile([&file] { return file.next(); }, QLatin1Char(','));
    EXPECT_EQ(records(fromFile), expected);
}

TEST(CsvReaderTest, EncodingAndDelimiterAreGuessedFromTheStart) {
    const QString hu = QStringLiteral("Cím;Szerző;Ár\nŐszi fény;Árvíztűrő Tükörfúrógép;1 990 Ft\nÉjjel;Kiss, Anna;500\n");
    QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    const struct {
        QByteArray bytes;
        Encoding encoding;
        QChar delimiter;
    } cases[] = {
        {EncodeCp1250(hu), Encoding::Windows1250, QLatin1Char(';')},
        {hu.toUtf8(), Encoding::Utf8, QLatin1Char(';')},
        {QByteArray("\xEF\xBB\xBF") + QString(hu).replace(';', '\t').toUtf8(), Encoding::Utf8, QLatin1Char('\t')},
        {QByteArray(utf16.encode(QString(hu).replace(';', '|'))), Encoding::Utf16LE, QLatin1Char('|')},
        {QStringLiteral("Title,Author,Pages\n\"A, B\",C,1\nD,\"E, F\",2\n").toUtf8(), Encoding::Utf8, QLatin1Char(',')},
    };
    for (const auto &c : cases) {
        const Dialect d = SniffDialect(c.bytes);
        EXPECT_EQ(EncodingName(d.encoding), EncodingName(c.encoding));
        EXPECT_EQ(d.delimiter, c.delimiter) << EncodingName(c.encoding).toStdString();
        EXPECT_TRUE(DecodeCsv(c.bytes, d.encoding).startsWith(QStringLiteral("Cím")) ||
                    DecodeCsv(c.bytes, d.encoding).startsWith(QStringLiteral("Title")));
    }
    // Latin-2 only when its own letters are there and Windows-1250's are not.
    QStringEncoder latin2("ISO-8859-2");
    EXPECT_EQ(SniffDialect(latin2.encode(QStringLiteral("cím;név\nŚląsk;Łódź\n"))).encoding, Encoding::Latin2);
}

TEST_F(CsvImportTest, ThePreviewReadsTheStartOfALargeFile) {
    QByteArray file = EncodeCp1250(QStringLiteral("Cím;Szerző\n"));
    for (int i = 0; i < 200000; ++i)
        file += EncodeCp1250(QStringLiteral("Könyv %1;Író Ödön\n").arg(i));
    writeFile("nagy.csv", file);
    const Preview p = ReadPreview(path("nagy.csv"));
    EXPECT_EQ(p.dialect.encoding, Encoding::Windows1250);
    EXPECT_EQ(p.dialect.delimiter, QLatin1Char(';'));
    EXPECT_EQ(p.header, (QStringList{"Cím", "Szerző"}));
    ASSERT_EQ(p.rows.size(), 20);
    EXPECT_EQ(p.rows[19], (QStringList{"Könyv 19", "Író Ödön"}));
    // The user's own choice is followed: as UTF-8 the accents do not read.
    const Preview asUtf8 = ReadPreview(path("nagy.csv"), Dialect{Encoding::Utf8, QLatin1Char(';')}, 3);
    EXPECT_EQ(asUtf8.rows.size(), 3);
    EXPECT_NE(asUtf8.header.value(0), QStringLiteral("Cím"));
    writeFile("hibas.csv", "a,b\n1,2,3\n");
    EXPECT_EQ(ReadPreview(path("hibas.csv")).problems, QStringList{"2. sor: több mező van benne (3), mint a fejlécben (2)"});
}

TEST(CsvMappingTest, HeadersOfOtherProgramsAndOurOwnFilesAreRecognised) {
    CsvReader r(QString::fromUtf8(BookSite), QLatin1Char(','));
    QStringList h;
    QString error;
    r.next(h, error);
    const QVector<Field> site = SuggestMapping(h);
    const auto at = [&](const QString &name) { return FieldKey(site[h.indexOf(name)]); };
    EXPECT_EQ(at("Title"), "cim");
    EXPECT_EQ(at("Author"), "szerzo_nev");
    EXPECT_EQ(at("Author l-f"), "szerzo_csaladnev");
    EXPECT_EQ(at("Additional Authors"), "szerkesztok");
    EXPECT_EQ(at("ISBN"), "isbn");
    EXPECT_EQ(at("ISBN13"), "isbn");
    EXPECT_EQ(at("Number of Pages"), "terjedelem");
    EXPECT_EQ(at("Date Added"), "dat_besz");
    EXPECT_EQ(at("Bookshelves"), "kulcsszavak");
    EXPECT_EQ(at("My Review"), "tartalom");
    EXPECT_EQ(at("Private Notes"), "tartalom");
    EXPECT_EQ(at("Year Published"), "-");
    EXPECT_EQ(at("Exclusive Shelf"), "-");

    EXPECT_EQ(SuggestMapping({"Title", "Author", "Publisher", "ISBN#", "Pages", "Keywords", "Loaned"}),
              (QVector<Field>{Field::Title, Field::Authors, Field::Publisher, Field::Isbn, Field::Pages, Field::Keywords,
                              Field::LentTo}));
    EXPECT_EQ(SuggestMapping({"Cím", "Szerző", "Oldalszám", "Ár", "Vásárlás dátuma", "Megjegyzés"}),
              (QVector<Field>{Field::Title, Field::Authors, Field::Pages, Field::Price, Field::PurchaseDate, Field::Contents}));
    // Our own "Excelbe..." labels: a lookup's key column and its name share a label, and the
    // name is the later one; the lending flag and its date share one too.
    const QStringList excel{"id", "polc", "polc", "beszerzés", "kolcsonadva", "szerkesztők", "cím", "isbn", "kiado", "kiadó",
                            "nyelv", "nyelv", "kölcsönadva", "kinek", "szerzo", "szerző", "szerzo_nevs"};
    const QVector<Field> ours = SuggestMapping(excel);
    EXPECT_EQ(ours, (QVector<Field>{Field::Skip, Field::Skip, Field::Shelf, Field::PurchaseDate, Field::Skip, Field::Editors,
                                    Field::Title, Field::Isbn, Field::Skip, Field::Publisher, Field::Skip, Field::Language,
                                    Field::LentOn, Field::LentTo, Field::Skip, Field::Authors, Field::Skip}));

    // A mapping file names the columns by header item; an unknown field is refused by line.
    const QString text = MappingText(excel, ours);
    EXPECT_TRUE(text.startsWith("id=-\npolc=-\npolc=polc_nev\n"));
    EXPECT_EQ(MappingFromText({"Szerző", "Más"}, "# megjegyzés\nSzerző=szerzo_nev\n"), (QVector<Field>{Field::Authors, Field::Skip}));
    try {
        MappingFromText({"a"}, "a=cim\nb=nincsilyen\n");
        ADD_FAILURE() << "no error";
    } catch (const Error &e) {
        EXPECT_TRUE(e.message().contains("2. sora")) << e.message().toStdString();
    }
}

TEST(CsvValuesTest, NamesIsbnsDatesNumbersAndMarkup) {
    EXPECT_EQ(SplitNames("Jókai, Mór", false), QStringList{"Jókai Mór"});
    EXPECT_EQ(SplitNames("Jókai Mór; Mikszáth Kálmán & Arany János", false),
              (QStringList{"Jókai Mór", "Mikszáth Kálmán", "Arany János"}));
    EXPECT_EQ(SplitNames("Kiss Anna és Nagy Béla", false), (QStringList{"Kiss Anna", "Nagy Béla"}));
    EXPECT_EQ(SplitNames("Terry Pratchett and Neil Gaiman", false), (QStringList{"Terry Pratchett", "Neil Gaiman"}));
    EXPECT_EQ(SplitNames("Pratchett, Terry, Gaiman, Neil", false), (QStringList{"Pratchett Terry", "Gaiman Neil"}));
    EXPECT_EQ(SplitNames("Kiss Anna, Nagy Béla", false), (QStringList{"Kiss Anna", "Nagy Béla"}));
    EXPECT_EQ(SplitNames("Tolkien, J. R. R.", true), QStringList{"Tolkien J. R. R."});

    const auto isbn = [](const QString &s) { return ReadIsbn(s).value_or(Isbn{"-", false, {}}); };
    EXPECT_TRUE(isbn("=\"963-123-456-8\"").valid);
    EXPECT_EQ(isbn("=\"963-123-456-8\"").written, "9631234568");
    EXPECT_EQ(isbn("9631234568").isbn13, "9789631234565");
    EXPECT_TRUE(isbn("0-8044-2957-X").valid);
    EXPECT_FALSE(isbn("9631234567").valid);
    EXPECT_EQ(isbn("9631234567").written, "9631234567") << "a bad one is kept as written";
    EXPECT_EQ(isbn("9631234567, 978-0-00-000000-2").written, "9780000000002") << "the first valid one";
    EXPECT_FALSE(ReadIsbn("=\"\"").has_value());

    for (const char *d : {"2021-03-14", "2021/03/14", "2021. 03. 14.", "14.03.2021", "2021-03-14T10:00:00Z"})
        EXPECT_EQ(ReadDate(d, false), QDate(2021, 3, 14)) << d;
    EXPECT_EQ(ReadDate("2021", true), QDate(2021, 1, 1));
    EXPECT_FALSE(ReadDate("2021", false).has_value());
    EXPECT_FALSE(ReadDate("03/14/2021", true).has_value());
    EXPECT_FALSE(ReadDate("2021-02-30", true).has_value());

    EXPECT_EQ(ReadCount("320 p."), 320);
    EXPECT_EQ(ReadCount("xii, 1 200 oldal"), 1200);
    EXPECT_FALSE(ReadCount("sok").has_value());
    EXPECT_EQ(ReadPrice("1 990 Ft"), 1990);
    EXPECT_EQ(ReadPrice("12,50 €"), 13);
    EXPECT_EQ(ReadPrice("$1,299.99"), 1300);
    EXPECT_EQ(ReadPrice("2.500 Ft"), 2500);

    EXPECT_EQ(PlainText("<p>Első <b>rész</b></p><p>Második&nbsp;&amp; &#337;</p>"), "Első rész\nMásodik & ő");
    EXPECT_EQ(MatchKey("A  kőszívű ember-fiai"), MatchKey("a koszivu emberfiai"));
}

TEST_F(CsvImportTest, ABookSiteExportComesInCleanedAndTheSameFileAgainAddsNothing) {
    openCatalogue();
    const CsvSummary s = run(QString::fromUtf8(BookSite));
    EXPECT_EQ(s.read, 3);
    EXPECT_EQ(s.added, 3);
    EXPECT_EQ(books("cim || '|' || szerzo_nev || '|' || isbn || '|' || ifnull(terjedelem, '') || '|' || dat_besz"),
              "A kőszívű ember fiai|Jókai Mór|9631234568|520|2021-03-14 / Die Verwandlung|Kafka Franz|9780000000002|96|2020-01-02"
              " / Rossz szám|Próba Péter|9631234567|320|2022-05-06");
    EXPECT_EQ(books("kulcsszavak || '|' || tartalom", "konyvek = 1"), "klasszikus, regény|Remek.\nÚjra & újra");
    EXPECT_EQ(books("tartalom", "konyvek = 2"), "a polcon, \"fent\"");
    EXPECT_EQ(books("kiado_nev || (kiadas IS NULL)", "konyvek = 1"), "Móra1");
    EXPECT_EQ(s.warnings, QStringList{"4. sor: az ISBN ellenőrző jegye hibás: 9631234567 (így tárolva)"});
    EXPECT_EQ(db.scalar("SELECT count(*) FROM szerzo").toInt(), 3);

    // The same file again: every row is a book already there.
    const CsvSummary again = run(QString::fromUtf8(BookSite));
    EXPECT_EQ(again.matches, 3);
    EXPECT_EQ(again.skipped, 3);
    EXPECT_EQ(again.added, 0);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM konyvek").toInt(), 3);
    EXPECT_TRUE(SummaryText(again).contains("Kihagyott másodpéldányok: 3"));
}

TEST_F(CsvImportTest, DuplicatesByIsbnInEitherFormOrByTitleAndAuthorAndTheRunsChoice) {
    openCatalogue();
    AddBook(db, {.cim = "Egri csillagok", .szerzo = "Gárdonyi Géza"});
    db.exec("UPDATE konyvek SET isbn = '963-99999-9-7', kulcsszavak = 'régi', dat_besz = NULL");
    // The site's ISBN-13 is the same book as our ISBN-10; Publication gives the publisher.
    CsvSummary s = run(QString::fromUtf8(Social), Duplicates::Fill);
    EXPECT_EQ(s.matches, 1);
    EXPECT_EQ(s.filled, 1);
    EXPECT_EQ(books("kiado_nev || '|' || kulcsszavak || '|' || dat_besz"), "Móra|régi|2004-09-12")
        << "only the empty fields are filled";

    dialect.delimiter = QLatin1Char(';');
    const QString byTitle = QStringLiteral("Cím;Szerző;Kulcsszavak\nEGRI  csillagok;gárdonyi géza;új\n");
    s = run(byTitle, Duplicates::Replace);
    EXPECT_EQ(s.replaced, 1);
    EXPECT_EQ(books("cim || '|' || szerzo_nev || '|' || kulcsszavak"), "EGRI csillagok|Gárdonyi Géza|új")
        << "one author whatever the case";
    EXPECT_EQ(db.scalar("SELECT count(*) FROM szerzo").toInt(), 1);

    s = run(byTitle, Duplicates::Add);
    EXPECT_EQ(s.added, 1);
    // Within the file too, and an ISBN of another title is a conflict listed in the summary.
    const QString file = QStringLiteral("Cím;Szerző;ISBN\nÚj könyv;Kovács;\núj  KÖNYV;kovács;\n"
                                        "Egészen más;Valaki;9639999997\n");
    s = run(file);
    EXPECT_EQ(s.added, 1);
    EXPECT_EQ(s.skipped, 2);
    EXPECT_EQ(s.conflicts, QStringList{"4. sor: az ISBN (9789639999992) egy más című könyvé: „Egészen más”"});
    EXPECT_EQ(db.scalar("SELECT count(*) FROM konyvek").toInt(), 3);
}

TEST_F(CsvImportTest, ADryRunAndACancelChangeNothingAndBadRowsAreNamed) {
    openCatalogue(true);
    const QString before = books("konyvek || cim || ifnull(kulcsszavak, '')");
    const qint64 authors = db.scalar("SELECT count(*) FROM szerzo").toLongLong();
    dialect.delimiter = QLatin1Char(';');
    QString file = QStringLiteral("Cím;Szerző;Oldalszám;Beszerzés\n");
    for (int i = 0; i < 600; ++i)
        file += QStringLiteral("Könyv %1;Szerző %1;%1 oldal;2020-01-01\n").arg(i);
    file += QStringLiteral("Túl;sok;mező;van;itt\n;;;\nDátum;Valaki;12;tavaly\n") + QString(200, QLatin1Char('H')) +
            QStringLiteral(";x;;\n");
    const CsvSummary dry = run(file, Duplicates::Skip, true);
    EXPECT_EQ(dry.added, 602);
    EXPECT_EQ(dry.blank, 1);
    EXPECT_EQ(dry.refused, QStringList{"602. sor: több mező van benne (5), mint a fejlécben (4)"});
    EXPECT_EQ(dry.warnings, (QStringList{"604. sor: a(z) beszerzés dátuma nem érthető dátum: tavaly (üresen marad)",
                                         "605. sor: a(z) cím 128 karakterre vágva"}));
    EXPECT_TRUE(SummaryText(dry).startsWith("Próbafuttatás: a katalógus nem változott.\n"));
    EXPECT_EQ(books("konyvek || cim || ifnull(kulcsszavak, '')"), before);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM szerzo").toLongLong(), authors);

    CsvReader header(file, QLatin1Char(';'));
    QStringList h;
    QString error;
    header.next(h, error);
    int asked = 0;
    const CsvSummary cancelled = RunCsvImport(db, file, {dialect, SuggestMapping(h), Duplicates::Skip, false, QDate(2026, 1, 1)},
                                              [&](qsizetype, qsizetype) { return ++asked < 2; });
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_EQ(books("konyvek || cim || ifnull(kulcsszavak, '')"), before);
    EXPECT_THROW(run(QStringLiteral(";;\nx;y;z\n")), Error);
}
