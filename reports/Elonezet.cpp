#include "reports/Elonezet.h"

#include "data/DesktopServices.h"
#include "data/Seged.h"
#include "gui/ReadFailures.h"
#include "gui/Widgets.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QStyle>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kodexa {

using namespace report;

namespace {
constexpr double PaperWidthMm = 210, PaperHeightMm = 297;
constexpr double ScreenDpi = 96;
constexpr int Gap = 12; // grey around the page

QToolButton *navButton(QWidget *parent, const char *name, const char *icon, const QString &tip, QStyle::StandardPixmap fallback) {
    auto *b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    QIcon i = QIcon::fromTheme(QLatin1String(icon));
    b->setIcon(i.isNull() ? parent->style()->standardIcon(fallback) : i);
    b->setToolTip(tip);
    b->setAccessibleName(tip);
    b->setAutoRaise(true);
    return b;
}
} // namespace

void PreviewPage::setImage(QImage img) {
    image_ = std::move(img);
    setFixedSize(image_.size() / image_.devicePixelRatio());
    update();
}

void PreviewPage::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.drawImage(0, 0, image_);
}

Tfrm_Elonezet::Tfrm_Elonezet(Report &report, DesktopServices &services, QWidget *parent)
    : QDialog(parent), report_(report), services_(services), failures_(new ReadFailures(services, this)) {
    setObjectName(QStringLiteral("frm_Elonezet"));
    setWindowTitle(QStringLiteral("Nyomtatási kép"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    bFirst = navButton(this, "bFirst", "go-first", QStringLiteral("Első oldal"), QStyle::SP_MediaSkipBackward);
    bPrior = navButton(this, "bPrior", "go-previous", QStringLiteral("Előző oldal"), QStyle::SP_MediaSeekBackward);
    bNext = navButton(this, "bNext", "go-next", QStringLiteral("Következő oldal"), QStyle::SP_MediaSeekForward);
    bLast = navButton(this, "bLast", "go-last", QStringLiteral("Utolsó oldal"), QStyle::SP_MediaSkipForward);
    ePage = new QSpinBox(this);
    ePage->setObjectName(QStringLiteral("ePage"));
    ePage->setAccessibleName(QStringLiteral("Oldal"));
    ePage->setKeyboardTracking(false);
    lPages = new QLabel(this);
    lPages->setObjectName(QStringLiteral("lPages"));
    cZoom = new QComboBox(this);
    cZoom->setObjectName(QStringLiteral("cZoom"));
    cZoom->addItems({QStringLiteral("Teljes oldal"), QStringLiteral("Oldalszélesség"), QStringLiteral("100 %")});
    auto *zoomLabel = new QLabel(QStringLiteral("&Nagyítás:"), this);
    zoomLabel->setBuddy(cZoom);
    bPrint = new QPushButton(QIcon::fromTheme(QStringLiteral("document-print")), QStringLiteral("Nyomtatás..."), this);
    bPrint->setObjectName(QStringLiteral("bPrint"));
    bPdf = new QPushButton(QIcon::fromTheme(QStringLiteral("document-save")), QStringLiteral("PDF mentés"), this);
    bPdf->setObjectName(QStringLiteral("bPdf"));
    bClose = new QPushButton(QStringLiteral("Bezár"), this);
    bClose->setObjectName(QStringLiteral("bClose"));
    for (QPushButton *b : {bPrint, bPdf, bClose})
        b->setAutoDefault(false);

    auto *bar = new QHBoxLayout;
    bar->addWidget(bFirst);
    bar->addWidget(bPrior);
    bar->addWidget(ePage);
    bar->addWidget(lPages);
    bar->addWidget(bNext);
    bar->addWidget(bLast);
    bar->addSpacing(16);
    bar->addWidget(zoomLabel);
    bar->addWidget(cZoom);
    bar->addStretch();
    bar->addWidget(bPrint);
    bar->addWidget(bPdf);
    bar->addWidget(bClose);

    scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("ScrollBox1"));
    scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll->setBackgroundRole(QPalette::Dark);
    pageView = new PreviewPage;
    pageView->setObjectName(QStringLiteral("QRPreview"));
    scroll->setWidget(pageView);
    scroll->viewport()->installEventFilter(this);
    ePage->installEventFilter(this);
    auto *main = new QVBoxLayout(this);
    main->addLayout(bar);
    main->addWidget(scroll, 1);

    report_.ensurePaginated();
    const int pages = report_.pageCount();
    ePage->setRange(1, std::max(1, pages));
    lPages->setText(QStringLiteral("/ %1 oldal").arg(pages));

    connect(bFirst, &QToolButton::clicked, this, [this] { showPage(0); });
    connect(bPrior, &QToolButton::clicked, this, [this] { showPage(page_ - 1); });
    connect(bNext, &QToolButton::clicked, this, [this] { showPage(page_ + 1); });
    connect(bLast, &QToolButton::clicked, this, [this] { showPage(report_.pageCount() - 1); });
    connect(ePage, &QSpinBox::valueChanged, this, [this](int v) { showPage(v - 1); });
    connect(cZoom, &QComboBox::currentIndexChanged, this, [this](int i) { setZoom(Zoom(i)); });
    connect(bPrint, &QPushButton::clicked, this, [this] { Guarded(services_, this, [this] { printWithDialog(); }); });
    connect(bPdf, &QPushButton::clicked, this, [this] { Guarded(services_, this, [this] { savePdf(); }); });
    connect(bClose, &QPushButton::clicked, this, &QDialog::reject);

    // A page and a half tall fits most screens; the window stays inside the desktop.
    QSize want(int(PaperWidthMm / 25.4 * ScreenDpi) + 2 * Gap + 40, 1000);
    if (const QScreen *s = screen())
        want = want.boundedTo(s->availableGeometry().size() - QSize(40, 60));
    resize(want);
    RememberPosition(this, services_);
    cZoom->setCurrentIndex(int(zoom_));
    showPage(0);
}

double Tfrm_Elonezet::dotsPerInch() const {
    const QSize room = scroll->viewport()->size() - QSize(2 * Gap, 2 * Gap);
    switch (zoom_) {
    case Zoom::WholePage:
        return std::max(10.0, std::min(room.width() / (PaperWidthMm / 25.4), room.height() / (PaperHeightMm / 25.4)));
    case Zoom::PageWidth:
        return std::max(10.0, (room.width() - scroll->verticalScrollBar()->sizeHint().width()) / (PaperWidthMm / 25.4));
    case Zoom::Actual:
        break;
    }
    return ScreenDpi;
}

void Tfrm_Elonezet::showPage(int index) {
    const int pages = report_.pageCount();
    index = std::clamp(index, 0, std::max(0, pages - 1));
    if (index == page_ && layout_.number == index + 1)
        return;
    // Read first: a page that cannot be read (a lock held by another program) leaves the
    // page shown and its number as they were, and is reported once, not per key press.
    PageLayout next;
    const bool read = failures_->guard([&] { next = report_.layoutPage(index); });
    {
        const QSignalBlocker block(ePage);
        ePage->setValue(read ? index + 1 : std::max(1, page_ + 1));
    }
    if (!read)
        return;
    failures_->recovered();
    page_ = index;
    layout_ = std::move(next);
    bFirst->setEnabled(index > 0);
    bPrior->setEnabled(index > 0);
    bNext->setEnabled(index + 1 < pages);
    bLast->setEnabled(index + 1 < pages);
    render();
    scroll->verticalScrollBar()->setValue(0);
}

void Tfrm_Elonezet::setZoom(Zoom z) {
    zoom_ = z;
    const QSignalBlocker block(cZoom);
    cZoom->setCurrentIndex(int(z));
    render();
}

void Tfrm_Elonezet::render() {
    const QScopedValueRollback<bool> guard(rendering_, true);
    const double dpi = dotsPerInch();
    const double ratio = devicePixelRatioF();
    const QSize paper(int(PaperWidthMm / 25.4 * dpi * ratio), int(PaperHeightMm / 25.4 * dpi * ratio));
    QImage img(paper + QSize(2 * Gap, 2 * Gap) * ratio, QImage::Format_RGB32);
    const int dpm = int(std::lround(dpi * ratio / 0.0254));
    img.setDotsPerMeterX(dpm);
    img.setDotsPerMeterY(dpm);
    img.fill(palette().color(QPalette::Dark));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRect sheet(QPoint(Gap, Gap) * ratio, paper);
    p.fillRect(sheet.translated(int(3 * ratio), int(3 * ratio)), QColor(80, 80, 80));
    p.fillRect(sheet, Qt::white);
    const double perMm = dpi * ratio / 25.4;
    PaintPage(p, layout_, QPointF(sheet.left() + MarginMm * perMm, sheet.top() + MarginMm * perMm),
              dpi * ratio / UnitsPerInch);
    p.end();
    img.setDevicePixelRatio(ratio);
    pageView->setImage(std::move(img));
}

bool Tfrm_Elonezet::eventFilter(QObject *o, QEvent *e) {
    // Page Up and Page Down turn pages even from the page number box (which would step by ten).
    if (o == ePage && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(e)->key();
        if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            showPage(page_ + (key == Qt::Key_PageDown ? 1 : -1));
            return true;
        }
    }
    // The whole-page and page-width zooms follow the room the page has.
    if (o == scroll->viewport() && e->type() == QEvent::Resize && zoom_ != Zoom::Actual && page_ >= 0 && !rendering_)
        render();
    return QDialog::eventFilter(o, e);
}

void Tfrm_Elonezet::keyPressEvent(QKeyEvent *e) {
    switch (e->key()) {
    case Qt::Key_PageDown:
        showPage(page_ + 1);
        return;
    case Qt::Key_PageUp:
        showPage(page_ - 1);
        return;
    case Qt::Key_Home:
        if (e->modifiers() & Qt::ControlModifier) {
            showPage(0);
            return;
        }
        break;
    case Qt::Key_End:
        if (e->modifiers() & Qt::ControlModifier) {
            showPage(report_.pageCount() - 1);
            return;
        }
        break;
    default:
        break;
    }
    QDialog::keyPressEvent(e);
}

void Tfrm_Elonezet::savePdf() {
    const QString path = services_.saveFileName(QStringLiteral("PDF mentés"), ProgramDir(),
                                                QStringLiteral("PDF állományok (*.pdf)|*.pdf"), QStringLiteral(".pdf"), this);
    if (path.isEmpty())
        return;
    report_.writePdf(path);
}

void Tfrm_Elonezet::printWithDialog() {
    QPrinter printer(QPrinter::HighResolution);
    if (!services_.choosePrinter(printer, report_.pageCount(), this))
        return;
    int from = 0, to = report_.pageCount() - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = printer.fromPage() - 1;
        to = std::max(from, printer.toPage() - 1);
    } else if (printer.printRange() == QPrinter::CurrentPage) {
        from = to = page_;
    }
    if (!report_.print(printer, from, to))
        services_.ShowError(QStringLiteral("A nyomtatás nem indítható el."), this);
}

} // namespace kodexa
