#include "reports/core/ReportEngine.h"

#include "data/Seged.h"
#include "data/TextFile.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextLayout>

#include <cmath>

namespace kodexa::report {

namespace {

QString &homePageLine() {
    static QString line;
    return line;
}

// Texts are measured on a fine reference device and converted to report units, so the
// cut of a text does not depend on the screen or the printer it later goes to.
constexpr int MeasureDotsPerMeter = 47244; // 1200 dpi
constexpr double MeasureToUnits = UnitsPerInch / (MeasureDotsPerMeter * 0.0254);

QPaintDevice &measureDevice() {
    static QImage img = [] {
        QImage i(1, 1, QImage::Format_RGB32);
        i.setDotsPerMeterX(MeasureDotsPerMeter);
        i.setDotsPerMeterY(MeasureDotsPerMeter);
        return i;
    }();
    return img;
}

struct Measure {
    QFont font;
    QFontMetricsF metrics;
    explicit Measure(const QFont &f) : font(f), metrics(f, &measureDevice()) {}
};

const Measure &measureFor(const Font &f) {
    // Kept for the life of the process: fonts must not be released after the application object.
    static auto *cache = new QHash<QString, Measure *>;
    const QString key = QStringLiteral("%1|%2|%3|%4").arg(f.family).arg(f.points).arg(f.bold).arg(f.italic);
    auto it = cache->find(key);
    if (it == cache->end())
        it = cache->insert(key, new Measure(MakeQFont(f)));
    return **it;
}

double widthUnits(const Measure &m, const QString &s) { return m.metrics.horizontalAdvance(s) * MeasureToUnits; }

// The longest beginning of the first line of s that fits the width: whole characters only.
QString cutLine(const Font &font, const QString &s, double width) {
    QString line = s;
    const qsizetype br = line.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    if (br >= 0)
        line.truncate(br);
    const Measure &m = measureFor(font);
    if (widthUnits(m, line) <= width)
        return line;
    qsizetype lo = 0, hi = line.size();
    while (lo < hi) {
        const qsizetype mid = (lo + hi + 1) / 2;
        if (widthUnits(m, line.left(mid)) <= width)
            lo = mid;
        else
            hi = mid - 1;
    }
    // A surrogate pair is never split.
    if (lo > 0 && line[lo - 1].isHighSurrogate())
        --lo;
    return line.left(lo);
}

// Wraps s at the width and keeps the lines that fit the height whole.
QString wrapLines(const Font &font, const QString &s, double width, double height) {
    QString text = s;
    text.remove(QLatin1Char('\r'));
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    const Measure &m = measureFor(font);
    QTextLayout layout(text, m.font, &measureDevice());
    QTextOption opt;
    opt.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(opt);
    layout.beginLayout();
    QStringList lines;
    double y = 0;
    const double lineHeight = m.metrics.lineSpacing() * MeasureToUnits;
    while (true) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width / MeasureToUnits);
        if (y + lineHeight > height + 0.01)
            break;
        QString part = text.mid(line.textStart(), line.textLength());
        while (!part.isEmpty() && (part.back() == QChar::LineSeparator || part.back().isSpace()))
            part.chop(1);
        lines << part;
        y += lineHeight;
    }
    layout.endLayout();
    return lines.join(QLatin1Char('\n'));
}

// A caption wider than its box (a long heading) is set in smaller sizes of the same face,
// half a point at a time down to six points, and cut if even that is too wide.
QString fitCaption(Font &font, const QString &text, double width) {
    constexpr double smallest = 6;
    double wide = widthUnits(measureFor(font), text);
    if (wide <= width)
        return text;
    while (font.points - 0.5 >= smallest && wide > width) {
        font.points -= 0.5;
        wide = widthUnits(measureFor(font), text);
    }
    return wide <= width ? text : cutLine(font, text, width);
}

} // namespace

double TextWidth(const Font &font, const QString &line) { return widthUnits(measureFor(font), line); }

QFont MakeQFont(const Font &f) {
    // Where the named face is missing, its metric-compatible or nearest free face stands in
    // (fontconfig alone would give Tahoma a much wider face, and captions would run into values).
    // The choice is the report's own: the windows' fonts are left to the desktop.
    static const QHash<QString, QString> standIns = [] {
        QHash<QString, QString> m;
        const QPair<const char *, const char *> pairs[] = {
            {"Tahoma", "Liberation Sans"}, {"Arial", "Liberation Sans"}, {"Courier New", "Liberation Mono"}};
        for (const auto &[named, free] : pairs)
            if (!QFontDatabase::hasFamily(QLatin1String(named)) && QFontDatabase::hasFamily(QLatin1String(free)))
                m.insert(QLatin1String(named), QLatin1String(free));
        return m;
    }();
    QFont q(standIns.value(f.family, f.family));
    q.setPointSizeF(f.points);
    q.setBold(f.bold);
    q.setItalic(f.italic);
    q.setHintingPreference(QFont::PreferNoHinting);
    q.setKerning(false);
    return q;
}

QString FormatValue(const QVariant &v, Format format) {
    if (v.isNull() || !v.isValid())
        return QString();
    switch (format) {
    case Format::Key5:
        return QStringLiteral("%1").arg(v.toLongLong(), 5, 10, QLatin1Char('0'));
    case Format::Thousands: {
        bool ok = false;
        const double d = v.toDouble(&ok);
        return ok ? FormatGrouped(qint64(std::llround(d))) : VarToText(v);
    }
    case Format::ShortDate: {
        const QDate d = StoredDate(v);
        return d.isValid() ? QLocale().toString(d, QLocale::ShortFormat) : VarToText(v);
    }
    case Format::None:
        break;
    }
    return VarToText(v);
}

const PlacedItem *PageLayout::findText(const QString &text) const {
    for (const auto &i : items)
        if (i.kind == ItemKind::Text && i.text == text)
            return &i;
    return nullptr;
}

QVector<const PlacedItem *> PageLayout::texts() const & {
    QVector<const PlacedItem *> out;
    for (const auto &i : items)
        if (i.kind == ItemKind::Text)
            out << &i;
    return out;
}

BandItem Label(double left, double top, double width, double height, const QString &text, const Font &font,
               Qt::Alignment align) {
    BandItem b;
    b.rect = QRectF(left, top, width, height);
    b.text = text;
    b.font = font;
    b.align = align;
    return b;
}

BandItem FieldItem(double left, double top, double width, double height, const QString &field, const Font &font,
                   Qt::Alignment align, Format format) {
    BandItem b = Label(left, top, width, height, field, font, align);
    b.value = ValueKind::Field;
    b.format = format;
    return b;
}

BandItem Rule(double left, double top, double width, double thickness, QColor colour) {
    BandItem b;
    b.kind = ItemKind::Rule;
    b.rect = QRectF(left, top, width, thickness);
    b.colour = colour;
    return b;
}

void SetFooterHomePage(const QString &line) { homePageLine() = line; }
QString FooterHomePage() { return homePageLine(); }

void AddHeading(Band &pageHeader, const QString &heading) {
    // The heading sits between two rules at the top left: a box 229 units wide, 55 high.
    pageHeader.items << Rule(0, 0, 229, 1, Qt::black) << Rule(0, 55, 229, 1, Qt::black)
                     << Label(0, 2, 229, 24, heading, {QStringLiteral("Arial"), 16, true});
}

Band StandardFooter(const QString &title, const QString &name, const QString &homePage, const QDateTime &printed) {
    Band b;
    b.height = 44;
    const Font courier{QStringLiteral("Courier New"), 8};
    b.items << Rule(0, 0, PageWidth, 1);
    BandItem logo;
    logo.kind = ItemKind::Logo;
    logo.rect = QRectF(0, 6, 32, 32);
    b.items << logo;
    b.items << Label(150, 3, 275, 13, QStringLiteral("Kodexa"), courier, Qt::AlignHCenter);
    BandItem page = Label(150, 16, 275, 13, QStringLiteral("oldal: "), courier, Qt::AlignHCenter);
    page.value = ValueKind::PageNumber;
    b.items << page;
    b.items << Label(150, 29, 275, 13, homePage, courier, Qt::AlignHCenter);
    b.items << Label(375, 3, 200, 13, QLocale().toString(printed, QLocale::ShortFormat), courier, Qt::AlignRight)
            << Label(375, 16, 200, 13, title, courier, Qt::AlignRight)
            << Label(375, 29, 200, 13, name, courier, Qt::AlignRight);
    return b;
}

// ---- Report ----

Report::Report(ReportDef def, std::unique_ptr<ReportSource> source) : def_(std::move(def)), source_(std::move(source)) {}
Report::~Report() = default;

bool Report::fits(const Cursor &c, double need) const {
    // A band taller than a whole column still goes at the top of one.
    return !c.columnUsed || c.y + need <= bodyBottom() + 1e-6;
}

void Report::advance(Cursor &c, bool &newPage) const {
    newPage = false;
    if (++c.column >= def_.columns) {
        c.column = 0;
        newPage = true;
    }
    c.y = bodyTop();
    c.columnUsed = false;
}

void Report::paginate() {
    source_->scan(def_.groupHeader.present() ? def_.groupColumn : QString(), def_.sumColumn);
    pageFirstRow_ = {0};
    summaryPage_ = -1;
    Cursor c{bodyTop(), 0, false};
    bool newPage = false;
    const int n = source_->rowCount();
    const bool grouped = def_.groupHeader.present();
    for (int i = 0; i < n; ++i) {
        const double need = (grouped && source_->groupStarts(i) ? def_.groupHeader.height : 0) + def_.detail.height;
        if (!fits(c, need)) {
            advance(c, newPage);
            if (newPage)
                pageFirstRow_ << i;
        }
        c.y += need;
        c.columnUsed = true;
    }
    if (def_.summary.present()) {
        if (!fits(c, def_.summary.height)) {
            advance(c, newPage);
            if (newPage)
                pageFirstRow_ << n;
        }
        summaryPage_ = int(pageFirstRow_.size()) - 1;
    }
    paginated_ = true;
}

void Report::placeBand(const Band &band, const Record *row, QPointF origin, int page, QVector<PlacedItem> &out) {
    for (const BandItem &b : band.items) {
        PlacedItem p;
        p.kind = b.kind;
        p.rect = b.rect.translated(origin);
        p.font = b.font;
        p.align = b.align;
        p.colour = b.colour;
        if (b.kind == ItemKind::Text) {
            QString text;
            switch (b.value) {
            case ValueKind::Literal:
                text = b.text;
                break;
            case ValueKind::Field:
                text = row && row->has(b.text) ? FormatValue(row->value(b.text), b.format) : QString();
                break;
            case ValueKind::PageNumber:
                text = b.text + QString::number(page);
                break;
            case ValueKind::Sum:
                text = FormatValue(QVariant(source_->sum()), b.format);
                break;
            }
            // A caption too wide for its box is set smaller; values are cut at their boxes.
            if (b.value == ValueKind::Literal)
                p.text = fitCaption(p.font, text, b.rect.width());
            else
                p.text = b.wrap ? wrapLines(b.font, text, b.rect.width(), b.rect.height())
                                : cutLine(b.font, text, b.rect.width());
            if (p.text.isEmpty())
                continue;
        }
        out << p;
    }
    if (band.bottomRule) {
        PlacedItem r;
        r.kind = ItemKind::Rule;
        const double width = &band == &def_.pageHeader || &band == &def_.pageFooter ? PageWidth : def_.columnWidth;
        r.rect = QRectF(origin.x(), origin.y() + band.height - band.ruleThickness, width, band.ruleThickness);
        r.colour = Silver;
        out << r;
    }
    if (band.perRow && row)
        band.perRow(*row, origin, out);
}

PageLayout Report::layoutPage(int index) {
    ensurePaginated();
    PageLayout page;
    page.number = index + 1;
    if (index < 0 || index >= pageCount())
        return page;
    placeBand(def_.pageHeader, nullptr, {0, 0}, page.number, page.items);
    placeBand(def_.pageFooter, nullptr, {0, bodyBottom()}, page.number, page.items);
    const int from = pageFirstRow_[index];
    const int to = index + 1 < pageCount() ? pageFirstRow_[index + 1] : source_->rowCount();
    const bool grouped = def_.groupHeader.present();
    const double columnStep = def_.columns > 1 ? (PageWidth - def_.columnWidth) / (def_.columns - 1) : 0;
    Cursor c{bodyTop(), 0, false};
    bool newPage = false;
    auto place = [&](const Band &band, const Record *row, double need) {
        if (!fits(c, need))
            advance(c, newPage);
        placeBand(band, row, {c.column * columnStep, c.y}, page.number, page.items);
    };
    if (from < to)
        source_->read(from, to, [&](int row, const Record &r) {
            const bool starts = grouped && source_->groupStarts(row);
            const double need = (starts ? def_.groupHeader.height : 0) + def_.detail.height;
            if (!fits(c, need))
                advance(c, newPage);
            const QPointF at(c.column * columnStep, c.y);
            if (starts)
                placeBand(def_.groupHeader, &r, at, page.number, page.items);
            placeBand(def_.detail, &r, at + QPointF(0, starts ? def_.groupHeader.height : 0), page.number, page.items);
            c.y += need;
            c.columnUsed = true;
        });
    if (index == summaryPage_)
        place(def_.summary, nullptr, def_.summary.height);
    return page;
}

bool Report::print(QPagedPaintDevice &device, int from, int to) {
    ensurePaginated();
    if (to < 0 || to >= pageCount())
        to = pageCount() - 1;
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(MarginMm, MarginMm, MarginMm, MarginMm), QPageLayout::Millimeter));
    QPainter p;
    if (!p.begin(&device))
        return false;
    const double scale = device.logicalDpiX() / UnitsPerInch;
    for (int i = from; i <= to; ++i) {
        if (i > from)
            device.newPage();
        PaintPage(p, layoutPage(i), QPointF(0, 0), scale);
    }
    return p.end();
}

void Report::writePdf(const QString &path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(QStringLiteral("Hiba: %1 (%2)").arg(file.errorString(), path));
    {
        QPdfWriter pdf(&file);
        pdf.setCreator(QStringLiteral("Kodexa"));
        pdf.setTitle(def_.title);
        pdf.setResolution(1200);
        if (!print(pdf))
            throw FileError(QStringLiteral("Hiba: a PDF nem írható (%1)").arg(path));
    }
    QString why;
    if (!CommitWhole(file, why))
        throw FileError(QStringLiteral("Hiba: %1 (%2)").arg(why, path));
}

// ---- Painting ----

namespace {
void paintLogo(QPainter &p, const QRectF &r) {
    // An open book: two pages and a spine.
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF b = r.adjusted(r.width() * 0.06, r.height() * 0.2, -r.width() * 0.06, -r.height() * 0.2);
    QPen pen(QColor(60, 60, 60));
    pen.setWidthF(r.width() / 32.0);
    p.setPen(pen);
    p.setBrush(QColor(235, 235, 235));
    QPainterPath left, right;
    const QPointF spineTop(b.center().x(), b.top() + b.height() * 0.1), spineBottom(b.center().x(), b.bottom());
    left.moveTo(spineTop);
    left.quadTo(b.left() + b.width() * 0.25, b.top() - b.height() * 0.05, b.left(), b.top() + b.height() * 0.05);
    left.lineTo(b.left(), b.bottom() - b.height() * 0.1);
    left.quadTo(b.left() + b.width() * 0.25, b.bottom() - b.height() * 0.2, spineBottom.x(), spineBottom.y());
    left.closeSubpath();
    right = QTransform().translate(b.center().x() * 2, 0).scale(-1, 1).map(left);
    p.drawPath(left);
    p.drawPath(right);
    p.restore();
}
} // namespace

void PaintPage(QPainter &p, const PageLayout &page, QPointF origin, double unitsToDevice) {
    auto dev = [&](const QRectF &r) {
        return QRectF(origin.x() + r.x() * unitsToDevice, origin.y() + r.y() * unitsToDevice, r.width() * unitsToDevice,
                      r.height() * unitsToDevice);
    };
    Font current;
    bool fontSet = false;
    for (const PlacedItem &i : page.items) {
        switch (i.kind) {
        case ItemKind::Rule:
            p.fillRect(dev(i.rect), i.colour);
            break;
        case ItemKind::Text:
            if (!fontSet || !(current == i.font)) {
                p.setFont(MakeQFont(i.font));
                current = i.font;
                fontSet = true;
            }
            p.setPen(i.colour);
            p.drawText(dev(i.rect), int(i.align | Qt::AlignTop) | Qt::TextDontClip, i.text);
            break;
        case ItemKind::Picture: {
            QImageReader reader(i.picture);
            const QImage img = reader.read();
            if (!img.isNull()) {
                p.save();
                p.setRenderHint(QPainter::SmoothPixmapTransform);
                p.drawImage(dev(i.pictureRect), img);
                p.restore();
            }
            break;
        }
        case ItemKind::Logo:
            paintLogo(p, dev(i.rect));
            break;
        }
    }
}

} // namespace kodexa::report
