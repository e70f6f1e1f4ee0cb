// kodexa-cli report: any printed report of the program as a PDF, the report engine painting
// onto a PDF writer; no display is needed.
#include "tools/core/CliCommand.h"

#include "app/core/BookView.h"
#include "app/core/CommandLayout.h"
#include "data/BookList.h"
#include "exchange/core/Grid2Html.h"
#include "reports/core/Reports.h"

#include <QDate>
#include <QDateTime>

namespace kodexa::cli {

using namespace report;

namespace {

// The width the grid print takes the list's columns from: the main window's grid at its
// first-start size. Only the columns' proportions reach the paper.
constexpr int GridWidth = 760;

const char *const CompactKinds[] = {"authors", "publishers", "series", "subjects", "genres", "shelves"};

QDate DateArg(const Args &a, const QString &name, const QDate &fallback) {
    if (!a.has(name))
        return fallback;
    const QDate d = QDate::fromString(a.value(name), QStringLiteral("yyyy-MM-dd"));
    if (!d.isValid())
        throw UsageError(QStringLiteral("A(z) --%1 dátum éééé-hh-nn alakú, nem ez: %2").arg(name, a.value(name)));
    return d;
}

qint64 KeyArg(const Args &a) {
    if (!a.has(QStringLiteral("key")))
        return -1;
    bool ok = false;
    const qint64 key = a.value(QStringLiteral("key")).toLongLong(&ok);
    if (!ok || key < 1)
        throw UsageError(QStringLiteral("A --key pozitív egész szám, nem ez: %1").arg(a.value(QStringLiteral("key"))));
    return key;
}

// The list in the program's order, for the grid print and the data sheets' order.
ListSort OpenList(Db &db, BookList &list) {
    ListSort sort = StoredListSort(db);
    try {
        list.open(OrderColumnFor(sort.field), sort.field);
    } catch (const DbError &) {
        sort = {QStringLiteral("konyvek"), BookColumnLabel(QStringLiteral("konyvek")), false};
        list.open(sort.field, sort.field);
    }
    return sort;
}

// A keyed report of no book is a mistyped key, not an empty page to print.
void RequireBooksFor(Db &db, const BookQuery &q, qint64 key) {
    Stmt s = db.prepare(QStringLiteral("SELECT count(*) FROM konyvek WHERE ") + q.where);
    if (!s.step() || s.int64(0) == 0)
        throw Error(QStringLiteral("Nincs könyv a(z) %1 kulccsal; a PDF nem készült el.").arg(key));
}

} // namespace

int RunReport(Session &s, const Args &a) {
    const QString kind = a.positional.first();
    const QString pdf = a.value(QStringLiteral("pdf"));
    if (pdf.isEmpty())
        throw UsageError(QStringLiteral("Hová? Adja meg: --pdf ÁLLOMÁNY"));
    const qint64 key = KeyArg(a);
    int compact = -1;
    for (int i = 0; i < 6; ++i)
        if (kind == QLatin1String(CompactKinds[i]))
            compact = i;
    const bool keyed = compact >= 0 || kind == QLatin1String("sheet");
    const bool dated = kind == QLatin1String("purchases");
    if (compact < 0 && !keyed && !dated && kind != QLatin1String("grid") && kind != QLatin1String("lending"))
        throw UsageError(QStringLiteral("Ismeretlen nyomtatvány: %1").arg(kind));
    if (key > 0 && !keyed)
        throw UsageError(QStringLiteral("A --key csak a tömör listákhoz és az adatlaphoz tartozik."));
    if ((a.has(QStringLiteral("from")) || a.has(QStringLiteral("to"))) && !dated)
        throw UsageError(QStringLiteral("A --from és --to csak a vásárlásokhoz (purchases) tartozik."));
    const QDate to = DateArg(a, QStringLiteral("to"), QDate::currentDate());
    const QDate from = DateArg(a, QStringLiteral("from"), OneMonthBack(to));

    Db &db = s.catalogue();
    if (key > 0)
        RequireBooksFor(db, compact >= 0 ? CompactListQuery(compact, key) : DataSheetQuery(key, QString()), key);
    SetFooterHomePage(MakerHomePage());
    BookList list(db);
    std::unique_ptr<Report> r;
    if (kind == QLatin1String("grid")) {
        const ListSort sort = OpenList(db, list);
        const QVector<ListColumn> shown = ListColumns(db);
        QVector<int> weights;
        for (const ListColumn &c : shown)
            weights << c.weight;
        const QVector<int> widths = SpreadWidths(weights, GridWidth);
        QVector<GridColumn> columns{{QStringLiteral("kolcsonadva"), QStringLiteral("!"), 18, Qt::AlignLeft}};
        for (qsizetype i = 0; i < shown.size(); ++i)
            if (!shown[i].field.isEmpty())
                columns.append({shown[i].field, shown[i].title, widths[i], Qt::AlignLeft});
        r = std::make_unique<Report>(GridPrintDef(columns, GridWidth, QStringLiteral("Könyvek"), 8, GroupFieldFor(sort.field),
                                                  QDateTime::currentDateTime()),
                                     std::make_unique<BookListRows>(list));
    } else if (compact >= 0) {
        r = MakeQueryReport(db, CompactListDef(compact, {}), CompactListQuery(compact, key));
    } else if (kind == QLatin1String("sheet")) {
        r = MakeQueryReport(db, DataSheetDef({}), DataSheetQuery(key, StoredListSort(db).field));
    } else if (kind == QLatin1String("lending")) {
        r = MakeQueryReport(db, LendingDef({}), LendingQuery());
    } else {
        r = MakeQueryReport(db, PurchasesDef(from, to, {}), PurchasesQuery(from, to));
    }
    r->ensurePaginated();
    r->writePdf(pdf);
    s.out << QStringLiteral("%1: %2 oldal.\n").arg(pdf).arg(r->pageCount());
    return Done;
}

int RunHtml(Session &s, const Args &a) {
    Db &db = s.catalogue();
    BookList list(db);
    ListSort sort = OpenList(db, list);
    if (a.has(QStringLiteral("sort"))) {
        sort.field = a.value(QStringLiteral("sort"));
        if (TableFields(db, QStringLiteral("konyvek"))->indexOf(sort.field) < 0)
            throw UsageError(QStringLiteral("Nem létező mező: %1").arg(sort.field));
        list.open(OrderColumnFor(sort.field), sort.field);
    }
    const QVector<ListColumn> shown = ListColumns(db);
    QVector<int> weights;
    for (const ListColumn &c : shown)
        weights << c.weight;
    const QVector<int> widths = SpreadWidths(weights, GridWidth);
    HtmlGrid grid;
    grid.width = GridWidth;
    grid.columns.append({QStringLiteral("kolcsonadva"), QStringLiteral("!"), 18, {}});
    for (qsizetype i = 0; i < shown.size(); ++i)
        grid.columns.append({shown[i].field, shown[i].title, widths[i], {}});
    HtmlPageText page;
    page.title = QStringLiteral("Könyvek");
    page.groupField = GroupFieldFor(sort.field);
    page.now = QDateTime::currentDateTime();
    const int rows = WriteGridHtml(a.positional.first(), list, grid, page);
    s.out << QStringLiteral("%1: %2 sor.\n").arg(a.positional.first()).arg(rows);
    return Done;
}

} // namespace kodexa::cli
