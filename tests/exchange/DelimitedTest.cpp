// The delimited file as written, byte for byte: Windows-1250 or UTF-8 with its mark, CR LF,
// the qualifier rules, the two main-window exports, stopping, failures, the import reading
// the UTF-8 file back.
#include "data/Catalogue.h"
#include "data/Kozos.h"
#include "data/ShownText.h"
#include "data/TextFile.h"
#include "exchange/core/Delimited.h"
#include "exchange/core/Import.h"
#include "exchange/core/RowSource.h"
#include "support/Fixture.h"

using namespace kodexa;


namespace {
QByteArray Cp(const QString &s) { return EncodeCp1250(s); }
} // namespace

class DelimitedTest : public test::CatalogueTest {
protected:
    QByteArray write(RowSource &src, const DelimitedOptions &o, DelimitedResult *result = nullptr,
                     const std::function<bool(qint64)> &keepGoing = {}) {
        const DelimitedResult r = WriteDelimited(src, path(QStringLiteral("out.csv")), o, keepGoing);
        if (result)
            *result = r;
        return readFile(QStringLiteral("out.csv"));
    }
    DelimitedOptions quoted(QChar delimiter = QLatin1Char(';')) {
        DelimitedOptions o;
        o.delimiter = delimiter;
        o.qualifier = QLatin1Char('"');
        return o;
    }
};

TEST_F(DelimitedTest, EmptyDatasetGivesTheHeaderAloneAndUntickedColumnsGiveEmptyLines) {
    openCatalogue();
    QuerySource empty(db, QStringLiteral("SELECT cim, ar FROM konyvek"));
    EXPECT_EQ(write(empty, quoted()), QByteArray("\"cim\";\"ar\";\r\n"));

    AddBook(db, {.cim = QStringLiteral("Egy")});
    AddBook(db, {.cim = QStringLiteral("Kettő")});
    QuerySource two(db, QStringLiteral("SELECT cim, ar FROM konyvek"));
    DelimitedOptions none = quoted();
    none.ticked = {false, false};
    EXPECT_EQ(write(two, none), QByteArray("\r\n\r\n\r\n"));
}

TEST_F(DelimitedTest, ValuesNumbersNullsMemosAndTheQualifier) {
    openCatalogue();
    const qint64 key = AddBook(db, {.cim = QStringLiteral("A \"nagy\" könyv"), .tartalom = QStringLiteral("a\r\nb"), .ar = 1490});
    db.exec(QStringLiteral("UPDATE konyvek SET konyvek = 42 WHERE konyvek = %1").arg(key));
    QuerySource q(db, QStringLiteral("SELECT konyvek, cim, isbn, ar, tartalom FROM konyvek"));

    DelimitedOptions o = quoted();
    o.multiLine = true;
    EXPECT_EQ(write(q, o), Cp(QStringLiteral("\"konyvek\";\"cim\";\"isbn\";\"ar\";\"tartalom\";\r\n"
                                             "\"42\";\"A \"\"nagy\"\" könyv\";\"\";\"1490\";\"a|b|\";\r\n")));
    // Without the multi-line option a memo is "BLOB"; with no qualifier nothing is escaped.
    DelimitedOptions plain;
    plain.delimiter = QLatin1Char('\t');
    EXPECT_EQ(write(q, plain), Cp(QStringLiteral("konyvek\tcim\tisbn\tar\ttartalom\t\r\n"
                                                 "42\tA \"nagy\" könyv\t\t1490\tBLOB\t\r\n")));
    DelimitedOptions apostrophe = quoted(QLatin1Char('|'));
    apostrophe.qualifier = QLatin1Char('\'');
    apostrophe.ticked = {false, true, false, false, false};
    db.exec(QStringLiteral("UPDATE konyvek SET cim = 'Rock''n''roll | blues'"));
    EXPECT_EQ(write(q, apostrophe), QByteArray("'cim'|\r\n'Rock''n''roll | blues'|\r\n"));
}

TEST_F(DelimitedTest, FixedExportOfTheCatalogueInKeyOrder) {
    openCatalogue();
    AddBook(db, {.cim = QStringLiteral("Zsiráf"), .szerzo = QStringLiteral("Őze Ágnes"), .kiado = QStringLiteral("Móra"),
                 .kulcsszavak = QStringLiteral("állat; Afrika"), .kiadas = 2, .terjedelem = 96, .ar = 1990});
    AddBook(db, {.cim = QStringLiteral("Alma")}); // no ISBN: two Tabs in a row at its place
    db.exec(QStringLiteral("UPDATE konyvek SET isbn = '963 11 1234 5' WHERE cim = 'Zsiráf'"));
    auto src = FixedExportSource(db);
    EXPECT_EQ(write(*src, FixedFormatOptions()),
              Cp(QStringLiteral("szerzo_nev\tcim\tszerkesztok\tisbn\talcim\tkiado_nev\tsorozat_nev\ttargykor_nev\tmufaj_nev\t"
                                "kiadas\tkotetszam\tterjedelem\tar\tnyelv_nev\tdedikalt\tkulcsszavak\t\r\n"
                                "Őze Ágnes\tZsiráf\t\t963 11 1234 5\t\tMóra\t\t\t\t2\t\t96\t1990\t\tN\tállat; Afrika\t\r\n"
                                "\tAlma\t\t\t\t\t\t\t\t\t\t\t\t\tN\t\t\r\n")));
}

// The progress bar's maximum of "Adatbázis export" is the table's own count, not a count
// through the export's query: it must still be the number of lines written.
TEST_F(DelimitedTest, TheFixedExportCountsTheRowsItWrites) {
    openCatalogue(true);
    AddBook(db, {.cim = QStringLiteral("Még egy")});
    auto src = FixedExportSource(db);
    qint64 written = 0;
    src->forEach([&](const QVector<QVariant> &) {
        ++written;
        return true;
    });
    EXPECT_GT(written, 1);
    EXPECT_EQ(src->rowCount(), written);
}

TEST_F(DelimitedTest, BookListGivesEveryColumnInTheWindowsOrderAndListOrder) {
    openCatalogue();
    AddBook(db, {.cim = QStringLiteral("Béta"), .datBesz = QStringLiteral("2007-03-15")});
    AddBook(db, {.cim = QStringLiteral("Alfa")});
    reopenList();
    BookListSource src(*tbl);
    DelimitedOptions o;
    DelimitedResult r;
    const QStringList lines = DecodeCp1250(write(src, o, &r)).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines[0], QStringLiteral("id;polc;polc;beszerzés;kolcsonadva;szerkesztők;cím;isbn;alcím;kiado;kiadó;sorozat;"
                                       "sorozat;targykor;tárgykör;mufaj;műfaj;kiadás;kötetszám;terjedelem;ár;nyelv;nyelv;"
                                       "dedikált;kulcsszavak;tartalom;szerzoks;szerkesztoks;cims;alcims;kiado_nevs;"
                                       "sorozat_nevs;targykor_nevs;mufaj_nevs;kölcsönadva;kinek;szerzo;szerző;szerzo_nevs;"
                                       "szerzok;kulcsszavaks;"));
    EXPECT_EQ(src.columns()[39].name, QStringLiteral("szerzok"));
    ASSERT_EQ(lines.size(), 4); // header, two books, the empty rest after the last CR LF
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("2;;;"))) << lines[1].toStdString(); // Alfa first, by title
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("1;;;") + QLocale().toString(QDate(2007, 3, 15), FullYearDateFormat())));
    EXPECT_EQ(r.rows, 2);
}

TEST_F(DelimitedTest, StoppingLeavesAWholeFileOfTheRowsSoFar) {
    openCatalogue(true);
    QuerySource q(db, QStringLiteral("SELECT konyvek FROM konyvek ORDER BY konyvek"));
    DelimitedResult r;
    const QByteArray bytes = write(q, FixedFormatOptions(), &r, [](qint64 rows) { return rows < 2; });
    EXPECT_EQ(bytes, QByteArray("konyvek\t\r\n1\t\r\n2\t\r\n"));
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.rows, 2);
}

TEST_F(DelimitedTest, AnUnwritableFileThrowsAndKeepsTheOldFile) {
    openCatalogue(true);
    QuerySource q(db, QStringLiteral("SELECT cim FROM konyvek"));
    EXPECT_THROW(WriteDelimited(q, path(QStringLiteral("nincs/ilyen/mappa.csv")), {}), FileError);
    writeFile(QStringLiteral("old.csv"), "régi");
    // A query that fails half-way (a row the engine refuses) leaves the earlier file whole.
    QuerySource failing(db, QStringLiteral("SELECT CASE WHEN konyvek > 3 THEN json('x') ELSE cim END FROM konyvek"));
    EXPECT_THROW(WriteDelimited(failing, path(QStringLiteral("old.csv")), {}), DbError);
    EXPECT_EQ(readFile(QStringLiteral("old.csv")), QByteArray("régi"));
}

TEST_F(DelimitedTest, CharactersOutsideTheCodePageAreCountedAndWrittenAsQuestionMarks) {
    openCatalogue();
    AddBook(db, {.cim = QStringLiteral("Ωmega – 漢字 €")});
    QuerySource q(db, QStringLiteral("SELECT cim FROM konyvek"));
    DelimitedResult r;
    EXPECT_EQ(write(q, FixedFormatOptions(), &r), QByteArray("cim\t\r\n?mega \x96 ?? \x80\t\r\n"));
    EXPECT_EQ(r.replaced, 3);
}

TEST_F(DelimitedTest, ExpressionColumnsAndFractionsFollowTheirValues) {
    openCatalogue();
    AddBook(db, {.cim = QStringLiteral("X"), .ar = 3});
    QuerySource q(db, QStringLiteral("SELECT ar / 2.0 AS fel, cim || '!' AS c, x'00' AS b, NULL AS n FROM konyvek"));
    DelimitedOptions o;
    EXPECT_EQ(write(q, o), Cp(QStringLiteral("fel;c;b;n;\r\n") + QLocale().toString(1.5) + QStringLiteral(";X!;BLOB;;\r\n")));
}

TEST_F(DelimitedTest, Utf8FileIsTheCodePageFileReencodedBehindOneMark) {
    openCatalogue(true);
    BookListSource list(*tbl);
    // More than one 64 K block, so a mark written per block or a block cut mid-line shows.
    QuerySource many(db, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 4000) "
                                        "SELECT i, 'Őszi árvíztűrő tükörfúrógép ' || i AS cim FROM n"));
    for (RowSource *src : {static_cast<RowSource *>(&list), static_cast<RowSource *>(&many)}) {
        DelimitedOptions o = quoted();
        o.multiLine = true;
        const QByteArray cp = write(*src, o);
        ASSERT_NE(DecodeCp1250(cp).toUtf8(), cp); // accents present: the two files must differ
        o.encoding = TextEncoding::Utf8WithMark;
        EXPECT_EQ(write(*src, o), "\xEF\xBB\xBF" + DecodeCp1250(cp).toUtf8());
    }

    // What the code page cannot hold, UTF-8 keeps.
    AddBook(db, {.cim = QStringLiteral("Ωmega – 漢字 €")});
    QuerySource q(db, QStringLiteral("SELECT cim FROM konyvek WHERE cim LIKE 'Ω%'"));
    DelimitedOptions utf8;
    utf8.encoding = TextEncoding::Utf8WithMark;
    DelimitedResult r;
    EXPECT_EQ(write(q, utf8, &r), QStringLiteral("\uFEFFcim;\r\nΩmega – 漢字 €;\r\n").toUtf8());
    EXPECT_EQ(r.replaced, 0);
}

TEST_F(DelimitedTest, ValuesHoldingTheDelimiterUnenclosedAreCounted) {
    openCatalogue();
    AddBook(db, {.cim = QStringLiteral("1984"), .kulcsszavak = QStringLiteral("disztópia; Nagy Testvér; Orwell")});
    AddBook(db, {.cim = QStringLiteral("Rock;n;roll"), .kulcsszavak = QStringLiteral("zene, tánc"), .tartalom = QStringLiteral("a\nb")});
    AddBook(db, {.cim = QStringLiteral("Alma")});
    QuerySource q(db, QStringLiteral("SELECT cim, kulcsszavak, tartalom, 'x' AS \"a;b\", 'x;y' AS z FROM konyvek WHERE cim <> 'Alma'"));
    DelimitedOptions o;
    o.ticked = {true, true, true, true, false};
    DelimitedResult r;
    write(q, o, &r);
    // Values, not occurrences: the title with two semicolons is one. The header's labels and
    // the unticked column's values are not counted.
    EXPECT_EQ(r.splitValues, 2);
    EXPECT_EQ(SplitValuesWarning(r), QStringLiteral("Figyelem: 2 értékben szerepel az elválasztó karakter, ezek sorai egy "
                                                    "táblázatkezelőben elcsúszhatnak. Válasszon idézőjelet."));
    o.qualifier = QLatin1Char('"');
    write(q, o, &r);
    EXPECT_EQ(r.splitValues, 0);
    EXPECT_EQ(SplitValuesWarning(r), QString());
    // The memo joined with bars holds the bar delimiter; the comma is in one value.
    DelimitedOptions bar;
    bar.delimiter = QLatin1Char('|');
    bar.multiLine = true;
    write(q, bar, &r);
    EXPECT_EQ(r.splitValues, 1);
    bar.delimiter = QLatin1Char(',');
    write(q, bar, &r);
    EXPECT_EQ(r.splitValues, 1);
}

TEST_F(DelimitedTest, TheImportReadsTheUtf8FileBack) {
    openCatalogue(true);
    const auto exportLines = [this] {
        DelimitedOptions o = FixedFormatOptions();
        o.encoding = TextEncoding::Utf8WithMark;
        auto src = FixedExportSource(db);
        WriteDelimited(*src, path(QStringLiteral("utf8.txt")), o);
        return ReadImportFile(path(QStringLiteral("utf8.txt")));
    };
    const ImportText before = exportLines();
    EXPECT_TRUE(before.utf8);
    EXPECT_EQ(before.encoding, QStringLiteral("UTF-8"));
    const QString header = FirstLine(before.text);
    ASSERT_TRUE(header.startsWith(QStringLiteral("szerzo_nev\t"))); // the mark is not part of the first name
    const ImportResult r = ImportBooks(db, before.text, QLatin1Char('\t'), ImportHeader(header, QLatin1Char('\t')),
                                       QDate(2026, 1, 1));
    const QStringList books = TextLines(before.text).mid(1);
    EXPECT_EQ(r.lines, books.size());

    // Every book comes back as it went out, accents included: each line now stands twice.
    const QStringList after = TextLines(exportLines().text).mid(1);
    ASSERT_EQ(after.size(), 2 * books.size());
    for (const QString &line : books)
        EXPECT_EQ(after.count(line), 2) << line.toStdString();
}

TEST_F(DelimitedTest, AnEmptyMemoIsBlobLikeAFilledOneUnlessItsLinesAreJoined) {
    openCatalogue();
    AddBook(db, {.cim = QStringLiteral("Üres")});
    AddBook(db, {.cim = QStringLiteral("Teli"), .tartalom = QStringLiteral("x")});
    ASSERT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM konyvek WHERE tartalom IS NULL")).toInt(), 1);
    QuerySource q(db, QStringLiteral("SELECT cim, tartalom FROM konyvek ORDER BY konyvek"));
    DelimitedOptions o;
    EXPECT_EQ(write(q, o), Cp(QStringLiteral("cim;tartalom;\r\nÜres;BLOB;\r\nTeli;BLOB;\r\n")));
    o.multiLine = true;
    EXPECT_EQ(write(q, o), Cp(QStringLiteral("cim;tartalom;\r\nÜres;;\r\nTeli;x|;\r\n")));
}
