#include "reports/core/Reports.h"

#include "data/Kozos.h"
#include "data/LookupTables.h"
#include "data/Seged.h"

#include <QFileInfo>
#include <QImageReader>
#include <cmath>

namespace kodexa::report {

namespace {
const Font tahoma{QStringLiteral("Tahoma"), 8};
const Font tahomaBold{QStringLiteral("Tahoma"), 8, true};
const Font tahomaItalic{QStringLiteral("Tahoma"), 8, false, true};
const Font groupFont{QStringLiteral("Arial"), 9, true};
const Font subHeading{QStringLiteral("Arial"), 10, true};

Band header(const QString &heading, double height = 59) {
    Band b;
    b.height = height;
    AddHeading(b, heading);
    return b;
}

// The two-line block of the narrow lists: key and author above, title below.
Band narrowDetail(double authorWidth, double titleWidth) {
    Band d;
    d.height = 28;
    d.bottomRule = true;
    d.items << FieldItem(4, 2, 45, 13, QStringLiteral("konyvek"), tahomaBold, Qt::AlignLeft, Format::Key5)
            << FieldItem(56, 2, authorWidth, 13, QStringLiteral("szerzo_nev"), tahoma)
            << FieldItem(4, 14, titleWidth, 13, QStringLiteral("cim"), tahoma);
    return d;
}

Band groupLine(const QString &field, double width) {
    Band g;
    g.height = 18;
    g.bottomRule = true;
    g.items << FieldItem(16, 2, width, 14, field, groupFont);
    return g;
}

// Compact list kind k is the master data page k of the same lookup table.
const LookupTable &kindOf(int kind) {
    if (kind < 0 || kind >= MasterTableCount)
        throw ProgramError(QStringLiteral("Ismeretlen lista: %1").arg(kind));
    return LookupTables()[kind];
}

QDateTime stamp(const QDateTime &printed) { return printed.isValid() ? printed : QDateTime::currentDateTime(); }

// A report on the shared page frame: heading, footer, one column or two of 287 units.
ReportDef frame(const QString &title, const QString &name, const QString &heading, int columns,
                const QDateTime &printed, double headerHeight = 59) {
    ReportDef d;
    d.title = title;
    d.name = name;
    d.columns = columns;
    d.columnWidth = columns > 1 ? 287 : PageWidth;
    d.pageHeader = header(heading, headerHeight);
    d.pageFooter = StandardFooter(title, name, FooterHomePage(), stamp(printed));
    return d;
}
} // namespace

// ---- Grid print ----

QVector<int> GridPaperWidths(const QVector<GridColumn> &columns, int gridWidth) {
    QVector<int> out;
    for (const auto &c : columns)
        out << (gridWidth > 0 ? RoundHalfEven(PageWidth * (double(c.width) / gridWidth)) : 0);
    return out;
}

ReportDef GridPrintDef(const QVector<GridColumn> &columns, int gridWidth, const QString &title, int fontSize,
                       const QString &groupColumn, const QDateTime &printed) {
    ReportDef d = frame(title, QStringLiteral("qrGridPrint"), title, 1, printed, 91);
    d.pageHeader.bottomRule = true;
    d.pageHeader.ruleThickness = 2;
    const Font base{QStringLiteral("Arial"), double(fontSize)};
    Font italic = base;
    italic.italic = true;
    d.detail.height = 18;
    d.detail.bottomRule = true;
    const QVector<int> widths = GridPaperWidths(columns, gridWidth);
    int left = 0;
    for (int i = 0; i < columns.size(); ++i) {
        const GridColumn &c = columns[i];
        const Format f = c.field == QLatin1String("konyvek") ? Format::Key5 : Format::None;
        d.pageHeader.items << Label(left, 72, widths[i], 16, c.title, italic, c.align);
        d.detail.items << FieldItem(left, 2, widths[i], 13, c.field, base, c.align, f);
        left += widths[i] + 4;
    }
    // Dates show the desktop's short date, as on screen.
    for (auto &item : d.detail.items)
        if (item.text == QLatin1String("dat_besz") || item.text == QLatin1String("kolcsonadva_dat"))
            item.format = Format::ShortDate;
    if (!groupColumn.isEmpty()) {
        d.groupColumn = groupColumn;
        d.groupHeader = groupLine(groupColumn, PageWidth - 20);
        d.groupHeader.items[0].rect.moveLeft(20);
    }
    return d;
}

// ---- Compact lists ----

BookQuery CompactListQuery(int kind, qint64 key) {
    const LookupTable &k = kindOf(kind);
    BookQuery q;
    if (key >= 0)
        q.where = QStringLiteral("%1=%2").arg(QLatin1String(k.table)).arg(key);
    q.orderBy = QStringLiteral("konyvek.") + QLatin1String(k.orderColumn());
    return q;
}

ReportDef CompactListDef(int kind, const QDateTime &printed) {
    const LookupTable &k = kindOf(kind);
    ReportDef d = frame(QStringLiteral("Böngésző"), QStringLiteral("qrBongeszo"), QStringLiteral("Könyvek"), 2, printed);
    d.pageHeader.items << Label(0, 28, 229, 16, QString::fromUtf8(k.listHeading), subHeading);
    d.groupColumn = QLatin1String(k.table);
    d.groupHeader = groupLine(QLatin1String(k.nameColumn), 267);
    d.detail = narrowDetail(225, 277);
    return d;
}

// ---- Data sheet ----

BookQuery DataSheetQuery(qint64 key, const QString &sortField) {
    BookQuery q;
    if (key >= 0)
        q.where = QStringLiteral("konyvek=%1").arg(key);
    q.orderBy = sortField;
    return q;
}

PicturePlace FitPicture(QSize px) {
    const double boxLeft = 384, boxTop = 4, boxW = 188, boxH = 169;
    const double w = px.width(), h = px.height();
    if (w >= boxW || h >= boxH) {
        const double scale = std::min(boxW / w, boxH / h);
        const int nw = RoundHalfEven(w * scale), nh = RoundHalfEven(h * scale);
        const QRectF r(boxLeft + (int(boxW) - nw) / 2, boxTop, nw, nh);
        return {r, r};
    }
    const QRectF box(boxLeft, boxTop, boxW, boxH);
    return {box, QRectF(boxLeft + (boxW - w) / 2, boxTop + (boxH - h) / 2, w, h)};
}

ReportDef DataSheetDef(const QDateTime &printed) {
    ReportDef d = frame(QStringLiteral("Adatlap"), QStringLiteral("qrAdatlap"), QStringLiteral("Adatlap"), 1, printed);
    d.pageHeader.bottomRule = true;
    Band &b = d.detail;
    b.height = 181;
    b.bottomRule = true;
    auto label = [&](double top, double left, double width, const char *text) {
        b.items << Label(left, top, width, 13, QString::fromUtf8(text), tahomaItalic);
    };
    auto field = [&](double top, double left, double width, const char *name) {
        b.items << FieldItem(left, top, width, 13, QLatin1String(name), tahoma);
    };
    b.items << FieldItem(4, 4, 45, 13, QStringLiteral("konyvek"), tahomaBold, Qt::AlignLeft, Format::Key5);
    field(4, 56, 225, "cim");
    label(4, 288, 16, "polc");
    field(4, 308, 53, "polc_nev");
    label(20, 12, 26, "szerző");
    field(20, 64, 157, "szerzo_nev");
    label(20, 228, 21, "kiadó");
    field(20, 272, 89, "kiado_nev");
    label(36, 12, 46, "szerkesztők");
    field(36, 64, 157, "szerkesztok");
    label(36, 228, 30, "sorozat");
    field(36, 272, 89, "sorozat_nev");
    label(52, 12, 19, "ISBN");
    field(52, 64, 157, "isbn");
    label(52, 228, 34, "tárgykör");
    field(52, 272, 89, "targykor_nev");
    label(68, 12, 22, "műfaj");
    field(68, 64, 157, "mufaj_nev");
    label(68, 228, 25, "kiadás");
    field(68, 272, 89, "kiadas");
    label(84, 12, 22, "nyelv");
    field(84, 64, 157, "nyelv_nev");
    label(84, 228, 9, "ár");
    b.items << FieldItem(272, 84, 89, 13, QStringLiteral("ar"), tahoma, Qt::AlignHCenter, Format::Thousands);
    label(100, 12, 46, "kulcsszavak");
    field(100, 64, 297, "kulcsszavak");
    BandItem contents = FieldItem(12, 116, 349, 57, QStringLiteral("tartalom"), tahoma);
    contents.wrap = true;
    b.items << contents;
    b.perRow = [](const Record &r, QPointF origin, QVector<PlacedItem> &out) {
        const QString path = PicturePath(r.value(QStringLiteral("konyvek")).toLongLong());
        if (!QFileInfo::exists(path))
            return; // no picture: the box is hidden, the block keeps its height
        const QSize size = QImageReader(path).size();
        if (!size.isValid() || size.isEmpty())
            return;
        const PicturePlace place = FitPicture(size);
        PlacedItem p;
        p.kind = ItemKind::Picture;
        p.rect = place.box.translated(origin);
        p.pictureRect = place.picture.translated(origin);
        p.picture = path;
        out << p;
    };
    return d;
}

// ---- Lending list ----

BookQuery LendingQuery() {
    BookQuery q;
    q.where = QStringLiteral("kolcsonadva='I'");
    q.orderBy = QStringLiteral("kolcsonadva_kinek, kolcsonadva_dat");
    return q;
}

ReportDef LendingDef(const QDateTime &printed) {
    ReportDef d = frame(QStringLiteral("Kölcsönzések"), QStringLiteral("qrKolcsonzes"),
                        QStringLiteral("Kölcsönadott könyvek"), 2, printed);
    d.groupColumn = QStringLiteral("kolcsonadva_kinek");
    d.groupHeader = groupLine(d.groupColumn, 89);
    d.detail = narrowDetail(225, 193);
    d.detail.items << FieldItem(204, 14, 77, 13, QStringLiteral("kolcsonadva_dat"), tahoma, Qt::AlignRight,
                                Format::ShortDate);
    return d;
}

// ---- Purchases in a period ----

BookQuery PurchasesQuery(const QDate &from, const QDate &to) {
    BookQuery q;
    q.where = QStringLiteral("dat_besz BETWEEN :d1 AND :d2");
    q.orderBy = QStringLiteral("dat_besz, konyvek");
    q.params.insert(QStringLiteral("d1"), from.toString(QStringLiteral("yyyy-MM-dd")));
    q.params.insert(QStringLiteral("d2"), to.toString(QStringLiteral("yyyy-MM-dd")));
    return q;
}

ReportDef PurchasesDef(const QDate &from, const QDate &to, const QDateTime &printed) {
    ReportDef d = frame(QStringLiteral("Vásárlások"), QStringLiteral("qrVasarlas"),
                        QStringLiteral("Időszakban vásárolt könyvek"), 2, printed);
    const QString fmt = QStringLiteral("yyyy.MM.dd");
    d.pageHeader.items << Label(0, 24, 229, 16, from.toString(fmt) + QStringLiteral(" - ") + to.toString(fmt), subHeading);
    d.detail = narrowDetail(141, 193);
    d.detail.items << FieldItem(204, 2, 77, 13, QStringLiteral("dat_besz"), tahomaBold, Qt::AlignRight, Format::ShortDate)
                   << FieldItem(204, 14, 77, 13, QStringLiteral("ar"), tahomaBold, Qt::AlignRight, Format::Thousands);
    d.sumColumn = QStringLiteral("ar");
    d.summary.height = 20;
    BandItem sum = Label(204, 4, 77, 13, QString(), tahomaBold, Qt::AlignRight);
    sum.value = ValueKind::Sum;
    sum.format = Format::Thousands;
    d.summary.items << Label(4, 4, 100, 13, QStringLiteral("összesen"), tahomaBold) << sum;
    return d;
}

QDate OneMonthBack(const QDate &day) { return day.addMonths(-1); }

std::unique_ptr<Report> MakeQueryReport(Db &db, ReportDef def, BookQuery query) {
    return std::make_unique<Report>(std::move(def), std::make_unique<QueryRows>(db, std::move(query)));
}

} // namespace kodexa::report
