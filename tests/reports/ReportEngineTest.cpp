// The report engine and the reports on their laid-out pages (positions in report units)
// and as real PDF files read back with poppler's tools.
#include "data/Catalogue.h"
#include "data/Kozos.h"
#include "reports/core/Reports.h"
#include "support/Fixture.h"

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

using namespace kodexa;
using namespace kodexa::report;

namespace {

QString runTool(const QString &tool, const QStringList &args) {
    QProcess p;
    p.start(tool, args);
    if (!p.waitForFinished(60000))
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Items of one band kind on a page, by their left edge and text.
QVector<const PlacedItem *> textsAtTop(const PageLayout &page, double top) {
    QVector<const PlacedItem *> out;
    for (const PlacedItem *t : page.texts())
        if (qFuzzyCompare(t->rect.top() + 1, top + 1))
            out << t;
    return out;
}

QStringList textsOf(const PageLayout &page) {
    QStringList out;
    for (const PlacedItem *t : page.texts())
        out << t->text;
    return out;
}

} // namespace

class ReportTest : public test::CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        openCatalogue();
    }
    qint64 add(BookInput b) { return AddBook(db, b); }
    std::unique_ptr<Report> compact(int kind, qint64 key = -1) {
        auto r = MakeQueryReport(db, CompactListDef(kind, QDateTime(QDate(2024, 5, 6), QTime(10, 0))), CompactListQuery(kind, key));
        r->paginate();
        return r;
    }
    // The texts of the detail blocks' first lines (the bold keys) on a page, in order.
    static QStringList keysOn(const PageLayout &page) {
        QStringList out;
        for (const PlacedItem *t : page.texts())
            if (t->font.bold && t->font.family == QLatin1String("Tahoma") && t->text.size() == 5 && t->text[0].isDigit())
                out << t->text;
        return out;
    }
};

TEST_F(ReportTest, QueriesReadAsTheReportsShowThem) {
    EXPECT_EQ(CompactListQuery(0, 12).sql(), "SELECT\n konyvek.*\nFROM konyvek\nWHERE szerzo=12\nORDER BY konyvek.szerzo_nevs;");
    EXPECT_EQ(CompactListQuery(5, -1).sql(), "SELECT\n konyvek.*\nFROM konyvek\nORDER BY konyvek.polc_nev;");
    EXPECT_EQ(DataSheetQuery(7, "szerzo_nev").sql(), "SELECT\n konyvek.*\nFROM konyvek\nWHERE konyvek=7\nORDER BY szerzo_nev;");
    EXPECT_EQ(LendingQuery().sql(),
              "SELECT\n konyvek.*\nFROM konyvek\nWHERE kolcsonadva='I'\nORDER BY kolcsonadva_kinek, kolcsonadva_dat;");
    EXPECT_EQ(PurchasesQuery(QDate(2024, 1, 1), QDate(2024, 1, 31)).sql(),
              "SELECT\n konyvek.*\nFROM konyvek\nWHERE dat_besz BETWEEN :d1 AND :d2\nORDER BY dat_besz, konyvek;");
}

TEST_F(ReportTest, FormatsKeysAmountsAndDates) {
    EXPECT_EQ(FormatValue(42, Format::Key5), "00042");
    EXPECT_EQ(FormatValue(1234567, Format::Thousands), "1 234 567");
    EXPECT_EQ(FormatValue(0, Format::Thousands), "0");
    EXPECT_EQ(FormatValue(999, Format::Thousands), "999");
    EXPECT_EQ(FormatValue(-1234, Format::Thousands), "-1 234");
    EXPECT_EQ(FormatValue(QVariant(), Format::Thousands), "");
    EXPECT_EQ(FormatValue("2024-03-05", Format::ShortDate), QLocale().toString(QDate(2024, 3, 5), QLocale::ShortFormat));
    EXPECT_EQ(OneMonthBack(QDate(2024, 3, 31)), QDate(2024, 2, 29));
    EXPECT_EQ(OneMonthBack(QDate(2023, 3, 31)), QDate(2023, 2, 28));
    EXPECT_EQ(OneMonthBack(QDate(2024, 1, 15)), QDate(2023, 12, 15));
}

TEST_F(ReportTest, EmptyReportIsOnePageWithHeaderAndFooter) {
    auto r = compact(5, 999); // a shelf that holds no book
    ASSERT_EQ(r->pageCount(), 1);
    const PageLayout p = r->layoutPage(0);
    const QStringList t = textsOf(p);
    for (const char *s : {"Könyvek", "Polconként", "Kodexa", "oldal: 1", "Böngésző", "qrBongeszo"})
        EXPECT_TRUE(t.contains(QString::fromUtf8(s))) << s;
    EXPECT_TRUE(keysOn(p).isEmpty());
    // The footer's 44 units end at the bottom of the printable area.
    EXPECT_DOUBLE_EQ(p.findText("qrBongeszo")->rect.top(), PageHeight - 44 + 29);
}

TEST_F(ReportTest, CompactListFillsTwoColumnsTopToBottom) {
    for (int i = 0; i < 60; ++i)
        add({.cim = QStringLiteral("Cím %1").arg(i), .szerzo = QStringLiteral("Író Ödön")});
    auto r = compact(0);
    // 734 units between header and footer: one group line (18) and 25 blocks of 28 in the
    // left column, 26 in the right; the rest on page 2.
    ASSERT_EQ(r->pageCount(), 2);
    const PageLayout p1 = r->layoutPage(0);
    const QStringList keys = keysOn(p1);
    ASSERT_EQ(keys.size(), 51);
    const PlacedItem *first = p1.findText(keys[0]);
    EXPECT_EQ(first->rect, QRectF(4, 59 + 18 + 2, 45, 13));
    const PlacedItem *top2 = p1.findText(keys[25]);
    EXPECT_EQ(top2->rect.topLeft(), QPointF(288 + 4, 59 + 2));
    EXPECT_EQ(textsAtTop(p1, 59 + 2).first()->text, "Író Ödön"); // the group line, Arial bold 9 at 16
    EXPECT_EQ(textsAtTop(p1, 59 + 2).first()->rect.left(), 16);
    EXPECT_EQ(keysOn(r->layoutPage(1)).size(), 9);
    EXPECT_EQ(textsOf(r->layoutPage(1)).count("oldal: 2"), 1);
}

TEST_F(ReportTest, GroupLinesAtEveryChangeOfTheGroupValue) {
    // Two authors whose 20-character search keys are equal sort as one: their books
    // alternate, each change gives a group line. Books without an author come first.
    const QString a = QStringLiteral("Nagy Ferenc Ödön Kálmán Első"), b = QStringLiteral("NAGY FERENC ODON KALMAN Második");
    add({.cim = "A1", .szerzo = a});
    add({.cim = "B1", .szerzo = b});
    add({.cim = "A2", .szerzo = a});
    add({.cim = "Névtelen 1"});
    add({.cim = "Névtelen 2"});
    auto r = compact(0);
    const PageLayout p = r->layoutPage(0);
    QStringList order;
    for (const PlacedItem *t : p.texts())
        if (t->rect.left() == 16 || (t->rect.left() == 4 && !t->font.bold && t->font.family == QLatin1String("Tahoma")))
            order << t->text;
    EXPECT_EQ(order, (QStringList{"Névtelen 1", "Névtelen 2", a, "A1", b, "B1", a, "A2"}));
    // The empty group line is there (its rule), taking its 18 units before the first book.
    EXPECT_EQ(p.findText("Névtelen 1")->rect.top(), 59 + 18 + 14);
}

TEST_F(ReportTest, GridPrintColumnsInProportionToTheScreen) {
    // 575 x w / W rounded half to even; each next column 4 units after the previous one.
    const QVector<GridColumn> cols = {{"kolcsonadva", "!", 1}, {"cim", "cím", 3}, {"szerzo_nev", "szerző", 6},
                                      {"konyvek", "id", 2}};
    EXPECT_EQ(GridPaperWidths(cols, 230), (QVector<int>{2, 8, 15, 5})); // 2.5, 7.5, 15, 5
    const QVector<GridColumn> screen = {{"kolcsonadva", "!", 18}, {"cim", "cím", 200}, {"szerzo_nev", "szerző", 100},
                                        {"konyvek", "id", 50}};
    add({.cim = "Egri csillagok", .szerzo = "Gárdonyi Géza"});
    const qint64 lent = add({.cim = "Kölcsönben", .szerzo = "Gárdonyi Géza", .kolcsonKinek = "Péter", .kolcsonDat = "2024-01-02"});
    reopenList();
    Report r(GridPrintDef(screen, 400, "Könyvek", 8, QString(), {}), std::make_unique<BookListRows>(*tbl));
    const PageLayout p = r.layoutPage(0);
    const auto heads = textsAtTop(p, 72);
    ASSERT_EQ(heads.size(), 4);
    EXPECT_EQ(heads[0]->text, "!");
    EXPECT_TRUE(heads[0]->font.italic);
    // 25.875 -> 26, 287.5 -> 288, 143.75 -> 144, 71.875 -> 72: twice as wide stays twice as wide.
    EXPECT_EQ(heads[1]->rect, QRectF(26 + 4, 72, 288, 16));
    EXPECT_EQ(heads[2]->rect.left(), 30 + 288 + 4);
    EXPECT_EQ(heads[2]->rect.width() * 2, heads[1]->rect.width());
    EXPECT_EQ(heads[3]->rect.left(), 322 + 144 + 4);
    // Rows at 91 + 2: the flag prints I or N, the id with five digits.
    const auto row1 = textsAtTop(p, 91 + 2), row2 = textsAtTop(p, 91 + 18 + 2);
    ASSERT_EQ(row1.size(), 4);
    EXPECT_EQ(row1[0]->text, "N");
    EXPECT_EQ(row1[1]->text, "Egri csillagok");
    EXPECT_EQ(row2[0]->text, "I");
    EXPECT_EQ(row2[3]->text, QStringLiteral("%1").arg(lent, 5, 10, QLatin1Char('0')));
    EXPECT_EQ(p.findText("Könyvek")->font, (Font{"Arial", 16, true}));
    EXPECT_TRUE(textsOf(p).contains("qrGridPrint"));
}

TEST_F(ReportTest, GridPrintGroupsOnlyByTheGivenColumn) {
    add({.cim = "K1", .kiado = "Móra"});
    add({.cim = "K2", .kiado = "Európa"});
    add({.cim = "K3", .kiado = "Móra"});
    const QVector<GridColumn> cols = {{"cim", "cím", 100}};
    tbl->open("kiado_nevs", "kiado_nev");
    Report byPublisher(GridPrintDef(cols, 100, "Könyvek", 8, "kiado_nev", {}), std::make_unique<BookListRows>(*tbl));
    QStringList seen;
    const PageLayout publisherPage = byPublisher.layoutPage(0);
    for (const PlacedItem *t : publisherPage.texts())
        if (t->rect.top() >= 91 && t->rect.top() < PageHeight - 44)
            seen << t->text + (t->font.bold ? "*" : "");
    EXPECT_EQ(seen, (QStringList{"Európa*", "K2", "Móra*", "K1", "K3"}));
    reopenList();
    Report byTitle(GridPrintDef(cols, 100, "Könyvek", 8, QString(), {}), std::make_unique<BookListRows>(*tbl));
    const PageLayout titlePage = byTitle.layoutPage(0);
    for (const PlacedItem *t : titlePage.texts()) {
        if (t->rect.top() >= 91 && t->rect.top() < PageHeight - 44) {
            EXPECT_FALSE(t->font.bold) << t->text.toStdString();
        }
    }
}

TEST_F(ReportTest, DataSheetPicturesAndTheContentsBox) {
    EXPECT_EQ(FitPicture({376, 169}).box, QRectF(384, 4, 188, 84));
    EXPECT_EQ(FitPicture({100, 100}).box, QRectF(384, 4, 188, 169));
    EXPECT_EQ(FitPicture({100, 100}).picture, QRectF(428, 38.5, 100, 100));
    EXPECT_EQ(FitPicture({100, 338}).box, QRectF(384 + 69, 4, 50, 169)); // (188 - 50) / 2

    QString longText;
    for (int i = 0; i < 80; ++i)
        longText += QStringLiteral("szó%1 ").arg(i);
    const qint64 k1 = add({.cim = "Képes", .szerzo = "A", .tartalom = longText, .ar = 1234567});
    const qint64 k2 = add({.cim = "Kép nélkül", .szerzo = "B"});
    const qint64 k3 = add({.cim = "Kicsi kép", .szerzo = "C"});
    QImage wide(376, 169, QImage::Format_RGB32);
    wide.fill(Qt::darkBlue);
    ASSERT_TRUE(wide.save(PicturePath(k1), "JPG"));
    QImage small(100, 100, QImage::Format_RGB32);
    small.fill(Qt::darkRed);
    ASSERT_TRUE(small.save(PicturePath(k3), "JPG"));
    auto r = MakeQueryReport(db, DataSheetDef({}), DataSheetQuery(-1, "szerzo_nev"));
    const PageLayout p = r->layoutPage(0);
    QVector<const PlacedItem *> pics;
    for (const auto &i : p.items)
        if (i.kind == ItemKind::Picture)
            pics << &i;
    ASSERT_EQ(pics.size(), 2);
    EXPECT_EQ(pics[0]->rect, QRectF(384, 59 + 4, 188, 84));
    EXPECT_EQ(pics[1]->rect, QRectF(384, 59 + 2 * 181 + 4, 188, 169));
    EXPECT_EQ(pics[1]->pictureRect, QRectF(428, 59 + 2 * 181 + 38.5, 100, 100));
    // The block without a picture keeps its 181 units.
    EXPECT_EQ(p.findText("Kép nélkül")->rect.top(), 59 + 181 + 4);
    EXPECT_EQ(p.findText("Kicsi kép")->rect.top(), 59 + 362 + 4);
    EXPECT_EQ(p.findText("1 234 567")->align, Qt::AlignHCenter);
    // The contents are wrapped inside 349 x 57 and cut at the box's lower edge.
    const PlacedItem *contents = nullptr;
    for (const PlacedItem *t : p.texts())
        if (t->text.startsWith("szó0 "))
            contents = t;
    ASSERT_NE(contents, nullptr);
    const QStringList lines = contents->text.split('\n');
    EXPECT_GE(lines.size(), 3);
    EXPECT_LE(lines.size(), 6);
    EXPECT_TRUE(longText.startsWith(lines.join(' ')));
    EXPECT_LT(lines.join(' ').size(), longText.trimmed().size());
    EXPECT_EQ(contents->rect, QRectF(12, 59 + 116, 349, 57));
    Q_UNUSED(k2);
}

TEST_F(ReportTest, PurchasesInAPeriod) {
    add({.cim = "Utolsó nap", .ar = 1234567, .datBesz = "2024-03-31"});
    add({.cim = "Másnap", .ar = 5, .datBesz = "2024-04-01"});
    const qint64 a = add({.cim = "Első ugyanaznap", .ar = 100, .datBesz = "2024-03-10"});
    const qint64 b = add({.cim = "Második ugyanaznap", .datBesz = "2024-03-10"}); // no price: counts as nothing
    const qint64 none = add({.cim = "Dátum nélkül", .ar = 7});
    db.exec(QStringLiteral("UPDATE konyvek SET dat_besz=NULL WHERE konyvek=%1").arg(none));
    auto r = MakeQueryReport(db, PurchasesDef(QDate(2024, 3, 1), QDate(2024, 3, 31), {}),
                             PurchasesQuery(QDate(2024, 3, 1), QDate(2024, 3, 31)));
    r->paginate();
    ASSERT_EQ(r->pageCount(), 1);
    const PageLayout p = r->layoutPage(0);
    EXPECT_EQ(keysOn(p), (QStringList{QStringLiteral("%1").arg(a, 5, 10, QChar('0')),
                                      QStringLiteral("%1").arg(b, 5, 10, QChar('0')), "00001"}));
    EXPECT_EQ(p.findText("Másnap"), nullptr);
    EXPECT_EQ(p.findText("Dátum nélkül"), nullptr);
    EXPECT_TRUE(p.findText("2024.03.01 - 2024.03.31"));
    const PlacedItem *sum = p.findText("1 234 667");
    ASSERT_NE(sum, nullptr);
    EXPECT_EQ(sum->rect, QRectF(204, 59 + 3 * 28 + 4, 77, 13));
    EXPECT_TRUE(sum->font.bold);
    EXPECT_TRUE(p.findText("összesen"));

    auto reversed = MakeQueryReport(db, PurchasesDef(QDate(2024, 4, 1), QDate(2024, 3, 1), {}),
                                    PurchasesQuery(QDate(2024, 4, 1), QDate(2024, 3, 1)));
    const PageLayout q = reversed->layoutPage(0);
    EXPECT_TRUE(keysOn(q).isEmpty());
    EXPECT_EQ(q.findText("0")->rect, QRectF(204, 59 + 4, 77, 13));
}

// Every text stays inside its box, and every box inside the page: a heading too long for
// the box between its rules is set smaller there, never drawn over the frame.
TEST_F(ReportTest, NoTextRunsPastItsBox) {
    add({.cim = QString(80, QChar('W')), .szerzo = "Weöres Sándor", .ar = 1234567, .datBesz = "2024-03-10",
         .kolcsonKinek = QString(25, QChar('M')), .kolcsonDat = "2024-03-11"});
    std::vector<std::unique_ptr<Report>> reports;
    reports.push_back(MakeQueryReport(db, PurchasesDef(QDate(2024, 3, 1), QDate(2024, 3, 31), {}),
                                      PurchasesQuery(QDate(2024, 3, 1), QDate(2024, 3, 31))));
    reports.push_back(MakeQueryReport(db, LendingDef({}), LendingQuery()));
    reports.push_back(compact(0));
    for (auto &r : reports) {
        const PageLayout p = r->layoutPage(0);
        for (const PlacedItem *t : p.texts()) {
            for (const QString &line : t->text.split(QLatin1Char('\n')))
                EXPECT_LE(TextWidth(t->font, line), t->rect.width() + 0.01) << line.toStdString();
            EXPECT_GE(t->rect.left(), 0);
            EXPECT_LE(t->rect.right(), PageWidth) << t->text.toStdString();
        }
    }
    const PageLayout purchases = reports[0]->layoutPage(0);
    const PlacedItem *heading = purchases.findText(QStringLiteral("Időszakban vásárolt könyvek"));
    ASSERT_NE(heading, nullptr) << "the whole heading, smaller";
    EXPECT_EQ(heading->rect, QRectF(0, 2, 229, 24));
    EXPECT_EQ(heading->font.family, QStringLiteral("Arial"));
    EXPECT_TRUE(heading->font.bold);
    EXPECT_LT(heading->font.points, 16);
    const PageLayout lending = reports[1]->layoutPage(0);
    ASSERT_NE(lending.findText(QStringLiteral("Kölcsönadott könyvek")), nullptr);
    EXPECT_EQ(lending.findText(QStringLiteral("Kölcsönadott könyvek"))->font.points, 16)
        << "a heading that fits keeps its size";
}

TEST_F(ReportTest, LendingListGroupsByBorrowerEarlierFirst) {
    add({.cim = "Később", .kolcsonKinek = "Anna", .kolcsonDat = "2024-02-10"});
    add({.cim = "Korábban", .kolcsonKinek = "Anna", .kolcsonDat = "2024-01-05"});
    add({.cim = "Bencénél", .kolcsonKinek = "Bence", .kolcsonDat = "2024-01-01"});
    add({.cim = "Otthon"});
    auto r = MakeQueryReport(db, LendingDef({}), LendingQuery());
    const PageLayout p = r->layoutPage(0);
    QStringList order;
    for (const PlacedItem *t : p.texts())
        if (t->rect.top() > 59 && t->rect.top() < PageHeight - 44 && (t->rect.left() == 16 || t->rect.left() == 4) &&
            !t->font.bold)
            order << t->text;
    EXPECT_EQ(order, (QStringList{"Korábban", "Később", "Bencénél"}));
    EXPECT_EQ(p.findText("Anna")->rect, QRectF(16, 59 + 2, 89, 14));
    EXPECT_EQ(p.findText(FormatValue("2024-01-05", Format::ShortDate))->align, Qt::AlignRight);
    EXPECT_TRUE(p.findText("Kölcsönadott könyvek"));
}

// A borrower left NULL and one left empty are the same nobody: one group, first.
TEST_F(ReportTest, LendingListPutsNullAndEmptyBorrowersInOneGroup) {
    const qint64 none = add({.cim = "Senkinél", .kolcsonKinek = "x", .kolcsonDat = "2024-01-01"});
    const qint64 empty = add({.cim = "Üresnél", .kolcsonKinek = "x", .kolcsonDat = "2024-01-02"});
    add({.cim = "Annánál", .kolcsonKinek = "Anna", .kolcsonDat = "2024-01-03"});
    db.exec(QStringLiteral("UPDATE konyvek SET kolcsonadva_kinek = NULL WHERE konyvek = %1;"
                           "UPDATE konyvek SET kolcsonadva_kinek = '' WHERE konyvek = %2").arg(none).arg(empty));
    auto r = MakeQueryReport(db, LendingDef({}), LendingQuery());
    const PageLayout p = r->layoutPage(0);
    QVector<double> tops;
    for (const PlacedItem *t : p.texts())
        if (t->font.bold && t->font.family == QLatin1String("Tahoma") && t->text.size() == 5 && t->text[0].isDigit())
            tops << t->rect.top();
    // Group line 18, detail 28: the second book follows the first with no group line between.
    EXPECT_EQ(tops, (QVector<double>{59 + 18 + 2, 59 + 18 + 28 + 2, 59 + 18 + 28 + 28 + 18 + 2}));
}

TEST_F(ReportTest, PdfHasA4PagesWithTheTexts) {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "poppler-utils missing";
    for (int i = 0; i < 120; ++i)
        add({.cim = QStringLiteral("Könyv %1").arg(i, 3, 10, QChar('0')), .szerzo = i < 60 ? "Áprily Lajos" : "Weöres Sándor"});
    auto r = compact(0);
    const QString pdf = path("lista.pdf");
    r->writePdf(pdf);
    const QString info = runTool("pdfinfo", {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+3"))) << info.toStdString();
    EXPECT_TRUE(info.contains("(A4)")) << info.toStdString();
    const QString text = runTool("pdftotext", {"-layout", pdf, "-"});
    for (const char *s : {"Szerzők szerint", "Áprily Lajos", "Weöres Sándor", "Könyv 000", "Könyv 119", "oldal: 3", "qrBongeszo"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(s))) << s;
    // The two columns stand side by side: one line of text holds a title from each.
    bool sideBySide = false;
    for (const QString &line : text.split('\n'))
        sideBySide |= line.count("Könyv ") == 2;
    EXPECT_TRUE(sideBySide);
    // A failed write leaves no torn file.
    EXPECT_THROW(r->writePdf(path("nincs/ilyen/mappa/x.pdf")), FileError);
}

TEST_F(ReportTest, GridRowsThatFillTheBodyExactlyStayOnTheirPage) {
    // 91 (header) + 39 rows of 18 + 44 (footer) = 837: the last row ends on the body's bottom.
    for (int i = 1; i <= 39; ++i)
        add({.cim = QStringLiteral("Sor %1").arg(i, 2, 10, QLatin1Char('0'))});
    const QVector<GridColumn> cols = {{"cim", "cím", 100}};
    reopenList();
    Report exact(GridPrintDef(cols, 100, "Könyvek", 8, QString(), {}), std::make_unique<BookListRows>(*tbl));
    exact.paginate();
    EXPECT_EQ(exact.pageCount(), 1);
    const PageLayout only = exact.layoutPage(0);
    ASSERT_NE(only.findText("Sor 39"), nullptr);
    EXPECT_EQ(only.findText("Sor 39")->rect.top(), 91 + 38 * 18 + 2);

    add({.cim = QStringLiteral("Sor 40")});
    reopenList();
    Report more(GridPrintDef(cols, 100, "Könyvek", 8, QString(), {}), std::make_unique<BookListRows>(*tbl));
    more.paginate();
    ASSERT_EQ(more.pageCount(), 2);
    const PageLayout first = more.layoutPage(0), second = more.layoutPage(1);
    EXPECT_NE(first.findText("Sor 39"), nullptr);
    EXPECT_EQ(first.findText("Sor 40"), nullptr);
    ASSERT_NE(second.findText("Sor 40"), nullptr);
    EXPECT_EQ(second.findText("Sor 40")->rect.top(), 91 + 2);
    EXPECT_EQ(second.findText("Sor 39"), nullptr);
}
