#include "admin/Logo.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTimer>

namespace kodexa {

namespace {

// Outline pen and a fill running from top to bottom between two colours.
void setShading(QPainter &p, const QPen &outline, qreal top, qreal bottom, const QColor &from, const QColor &to) {
    QLinearGradient fill(0, top, 0, bottom);
    fill.setColorAt(0, from);
    fill.setColorAt(1, to);
    p.setPen(outline);
    p.setBrush(fill);
}

// One page of the open book, bowed, on the left (side -1) or the right (side 1) of the spine.
QPainterPath bookPage(qreal side) {
    const auto x = [side](qreal fromSpine) { return 50 + side * fromSpine; };
    QPainterPath page;
    page.moveTo(50, 36);
    page.cubicTo(x(10), 30, x(22), 29, x(30), 32);
    page.lineTo(x(30), 70);
    page.cubicTo(x(22), 67, x(10), 68, 50, 74);
    page.closeSubpath();
    return page;
}

// A line of Verdana text in the given pixel size and colour.
void drawCaption(QPainter &p, int pixelSize, bool bold, const QColor &colour, const QRectF &box, int align,
                 const QString &text) {
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(box, align, text);
}

// The emblem in a square of side s whose top left corner is at (x, y).
void paintEmblem(QPainter &p, qreal x, qreal y, qreal s) {
    p.save();
    p.translate(x, y);
    p.scale(s / 100.0, s / 100.0);
    p.setRenderHint(QPainter::Antialiasing);
    // Badge.
    setShading(p, QPen(QColor(250, 236, 200), 3), 0, 100, QColor(38, 96, 140), QColor(18, 52, 86));
    p.drawEllipse(QRectF(3, 3, 94, 94));
    // Two pages of an open book, slightly bowed.
    p.setPen(QPen(QColor(120, 84, 40), 1.6));
    p.setBrush(QColor(253, 247, 230));
    p.drawPath(bookPage(-1));
    p.drawPath(bookPage(1));
    // Lines of text on the pages.
    p.setPen(QPen(QColor(150, 140, 120), 1.2));
    for (int i = 0; i < 5; ++i) {
        const qreal yy = 40 + i * 6.5;
        p.drawLine(QPointF(25, yy), QPointF(45, yy + 2));
        p.drawLine(QPointF(55, yy + 2), QPointF(75, yy));
    }
    // The bookmark ribbon.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 40, 40));
    QPolygonF ribbon;
    ribbon << QPointF(62, 31) << QPointF(68, 30) << QPointF(68, 86) << QPointF(65, 81) << QPointF(62, 86);
    p.drawPolygon(ribbon);
    p.restore();
}

} // namespace

QPixmap DrawEmblem(int side) {
    QPixmap pm(side, side);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    paintEmblem(p, 0, 0, side);
    return pm;
}

QPixmap DrawSplashPicture() {
    QPixmap pm(400, 240);
    pm.fill(Tfrm_Logo::TransparentColour);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    // The card.
    setShading(p, QPen(QColor(150, 80, 40), 3), 40, 230, QColor(255, 226, 200), QColor(255, 196, 150));
    p.drawRoundedRect(QRectF(40, 40, 352, 188), 30, 30);
    // The emblem overlaps the card's corner.
    paintEmblem(p, 4, 4, 150);
    // Name and purpose.
    const int left = Qt::AlignLeft | Qt::AlignVCenter;
    drawCaption(p, 52, true, QColor(18, 52, 86), QRectF(160, 60, 225, 70), left, QStringLiteral("Kodexa"));
    drawCaption(p, 17, false, QColor(110, 50, 20), QRectF(160, 130, 225, 26), left, QStringLiteral("Könyvek nyilvántartása"));
    p.setPen(QPen(QColor(150, 80, 40), 1.5));
    p.drawLine(QPointF(60, 172), QPointF(372, 172));
    drawCaption(p, 13, false, QColor(18, 52, 86), QRectF(60, 178, 312, 36), Qt::AlignCenter,
                QStringLiteral("Egy magánkönyvtár katalógusa"));
    return pm;
}

Tfrm_Logo::Tfrm_Logo(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
                          Qt::WindowTransparentForInput),
      picture_(DrawSplashPicture()) {
    setObjectName(QStringLiteral("frm_Logo"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(400, 240);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, TransparentColour);
    setPalette(pal);
    // The window's own grey is left out of its shape: only the picture is seen.
    setMask(picture_.createMaskFromColor(TransparentColour, Qt::MaskInColor));
    if (const QScreen *s = parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(4000);
    timer1_->setSingleShot(true);
    connect(timer1_, &QTimer::timeout, this, &QWidget::close);
}

Tfrm_Logo::~Tfrm_Logo() = default;

void Tfrm_Logo::showEvent(QShowEvent *e) {
    QWidget::showEvent(e);
    if (!timer1_->isActive())
        timer1_->start();
}

void Tfrm_Logo::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.drawPixmap(0, 0, picture_);
}

Tfrm_Logo *ShowSplash(QWidget *parent) {
    auto *logo = new Tfrm_Logo(parent);
    logo->show();
    logo->raise();
    return logo;
}

} // namespace kodexa
