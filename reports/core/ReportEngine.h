#pragma once
// The banded report engine: a report is bands of placed texts, rules and pictures on an
// A4 page frame. Pagination is one pass over the rows (band heights are fixed, so only
// group changes decide where pages break); a page is laid out on demand by reading its
// own rows, as data (placed items in report units) that a painter, a test or the
// preview reads. Painting goes to any QPainter: a printer, a PDF writer or a preview image.

#include "data/Dataset.h"

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QRectF>
#include <QString>
#include <QVector>
#include <functional>
#include <memory>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace kodexa::report {

// Report units: 1/96 inch at 80 % scale, 76.8 to the inch (about 0.33 mm).
constexpr double UnitsPerInch = 76.8;
constexpr double UnitsPerMm = UnitsPerInch / 25.4;
// A4 less 10 mm margins on every side: 190 x 277 mm.
constexpr int PageWidth = 575;
constexpr int PageHeight = 837;
constexpr double MarginMm = 10.0;
inline const QColor Silver{192, 192, 192};

struct Font {
    QString family = QStringLiteral("Tahoma");
    double points = 8;
    bool bold = false;
    bool italic = false;
    bool operator==(const Font &) const = default;
};
QFont MakeQFont(const Font &f);

enum class Format { None, Key5, Thousands, ShortDate };
// The width of one line of text in report units, as the engine measures it for placing.
double TextWidth(const Font &font, const QString &line);

// "00000" for keys, "### ### ##0" with spaces for amounts, the desktop's short date.
QString FormatValue(const QVariant &v, Format format);

enum class ItemKind { Text, Rule, Picture, Logo };

// One thing on a page, in report units from the printable area's top left.
struct PlacedItem {
    ItemKind kind = ItemKind::Text;
    QRectF rect;          // the box; for a rule its band of ink
    QString text;         // already cut to the box (lines joined by '\n' when wrapped)
    Font font;
    Qt::Alignment align = Qt::AlignLeft;
    QColor colour = Qt::black;
    QString picture;      // picture file
    QRectF pictureRect;   // where the picture is drawn (inside rect)
};

struct PageLayout {
    int number = 0; // 1-based
    QVector<PlacedItem> items;
    // The first text item showing exactly this text; nullptr when none.
    const PlacedItem *findText(const QString &text) const;
    // Pointers into items: only on a layout that outlives them, never on a temporary.
    QVector<const PlacedItem *> texts() const &;
    QVector<const PlacedItem *> texts() && = delete;
};

enum class ValueKind { Literal, Field, PageNumber, Sum };

// One item of a band, relative to the band's top left.
struct BandItem {
    ItemKind kind = ItemKind::Text;
    QRectF rect;
    ValueKind value = ValueKind::Literal;
    QString text;   // the literal, or the field's name
    Font font;
    Qt::Alignment align = Qt::AlignLeft;
    Format format = Format::None;
    bool wrap = false; // wrapped over lines and cut below; otherwise one line cut at its width
    QColor colour = Qt::black;
};

// Band texts: a literal at (left, top, width, height).
BandItem Label(double left, double top, double width, double height, const QString &text, const Font &font,
               Qt::Alignment align = Qt::AlignLeft);
// A field's value with its display format.
BandItem FieldItem(double left, double top, double width, double height, const QString &field, const Font &font,
                   Qt::Alignment align = Qt::AlignLeft, Format format = Format::None);
BandItem Rule(double left, double top, double width, double thickness, QColor colour = Silver);

struct Band {
    double height = 0;
    bool bottomRule = false;
    double ruleThickness = 1;
    QVector<BandItem> items;
    // Extra items worked out per row (the data sheet's picture); origin is the band's top left.
    std::function<void(const Record &, QPointF origin, QVector<PlacedItem> &)> perRow;
    bool present() const { return height > 0; }
};

struct ReportDef {
    QString title;       // the footer's report title
    QString name;        // the footer's name line
    Band pageHeader;
    Band groupHeader;    // printed where groupColumn's value changes; absent when height 0
    Band detail;
    Band summary;        // after the last row; absent when height 0
    Band pageFooter;
    int columns = 1;     // filled top to bottom, left first
    double columnWidth = PageWidth;
    QString groupColumn;
    QString sumColumn;   // summed for ValueKind::Sum; a NULL counts as nothing
};

// The rows a report reads: their count and group starts for the pass, their values by
// blocks when a page is laid out.
class ReportSource {
public:
    virtual ~ReportSource() = default;
    // Runs the pass over the rows: counts them, marks group starts and sums sumColumn.
    virtual void scan(const QString &groupColumn, const QString &sumColumn) = 0;
    virtual int rowCount() const = 0;
    virtual bool groupStarts(int row) const = 0;
    virtual qint64 sum() const = 0;
    // Reads rows from..to-1 in report order.
    virtual void read(int from, int to, const std::function<void(int row, const Record &)> &fn) = 0;
};

// The shared page frame: the heading box at the top of the page header, the footer band.
void AddHeading(Band &pageHeader, const QString &heading);
Band StandardFooter(const QString &title, const QString &name, const QString &homePage, const QDateTime &printed);
// The footer's third centred line; the program sets it once at start.
void SetFooterHomePage(const QString &line);
QString FooterHomePage();

class Report {
public:
    Report(ReportDef def, std::unique_ptr<ReportSource> source);
    ~Report();

    const ReportDef &def() const { return def_; }
    ReportSource &source() { return *source_; }

    // The one pass that decides every page break.
    void paginate();
    void ensurePaginated() {
        if (!paginated_)
            paginate();
    }
    int pageCount() const { return int(pageFirstRow_.size()); }
    // Lays out one page (0-based index), reading only its rows.
    PageLayout layoutPage(int index);

    // Paints pages from..to (0-based, inclusive) onto a paged device (printer or PDF
    // writer) set to A4 portrait with 10 mm margins; returns false when painting could not start.
    bool print(QPagedPaintDevice &device, int from = 0, int to = -1);
    // Writes the whole report as a PDF file (through a save-file, whole or nothing).
    void writePdf(const QString &path);

private:
    struct Cursor {
        double y;
        int column;
        bool columnUsed;
    };
    // Places a band of `need` units at the cursor, moving to the next column or page when it
    // does not fit; returns false when a new page is needed.
    bool fits(const Cursor &c, double need) const;
    void advance(Cursor &c, bool &newPage) const;
    void placeBand(const Band &band, const Record *row, QPointF origin, int page, QVector<PlacedItem> &out);
    double bodyTop() const { return def_.pageHeader.height; }
    double bodyBottom() const { return PageHeight - def_.pageFooter.height; }

    ReportDef def_;
    std::unique_ptr<ReportSource> source_;
    QVector<int> pageFirstRow_;
    int summaryPage_ = -1;
    bool paginated_ = false;
};

// Paints one laid-out page: origin is where the printable area's top left lands on the
// device, unitsToDevice the device pixels per report unit. Fonts take their point size
// from the device's resolution, so the device must report it (printer, PDF writer, or an
// image with its dots per metre set).
void PaintPage(QPainter &p, const PageLayout &page, QPointF origin, double unitsToDevice);

} // namespace kodexa::report
