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

// The emblem in a square of side s whose top left corner is at (x, y).
void paintEmblem(QPainter &p, qreal x, qreal y, qreal s) {
    p.save();
    p.translate(x, y);
    p.scale(s / 100.0, s / 100.0);
    p.setRenderHint(QPainter::Antialiasing);
    // Badge.
    QLinearGradient badge(0, 0, 0, 100);
    badge.setColorAt(0, QColor(38, 96, 140));
    badge.setColorAt(1, QColor(18, 52, 86));
    p.setPen(QPen(QColor(250, 236, 200), 3));
    p.setBrush(badge);
    p.drawEllipse(QRectF(3, 3, 94, 94));
    // Two pages of an open book, slightly bowed.
    p.setPen(QPen(QColor(120, 84, 40), 1.6));
    p.setBrush(QColor(253, 247, 230));
    QPainterPath left;
    left.moveTo(50, 36);
    left.cubicTo(40, 30, 28, 29, 20, 32);
    left.lineTo(20, 70);
    left.cubicTo(28, 67, 40, 68, 50, 74);
    left.closeSubpath();
    QPainterPath right;
    right.moveTo(50, 36);
    right.cubicTo(60, 30, 72, 29, 80, 32);
    right.lineTo(80, 70);
    right.cubicTo(72, 67, 60, 68, 50, 74);
    right.closeSubpath();
    p.drawPath(left);
    p.drawPath(right);
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
    QLinearGradient card(0, 40, 0, 230);
    card.setColorAt(0, QColor(255, 226, 200));
    card.setColorAt(1, QColor(255, 196, 150));
    p.setPen(QPen(QColor(150, 80, 40), 3));
    p.setBrush(card);
    p.drawRoundedRect(QRectF(40, 40, 352, 188), 30, 30);
    // The emblem overlaps the card's corner.
    paintEmblem(p, 4, 4, 150);
    // Name and purpose.
    QFont name(QStringLiteral("Verdana"));
    name.setPixelSize(52);
    name.setBold(true);
    p.setFont(name);
    p.setPen(QColor(18, 52, 86));
    p.drawText(QRectF(160, 60, 225, 70), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Kodexa"));
    QFont sub(QStringLiteral("Verdana"));
    sub.setPixelSize(17);
    p.setFont(sub);
    p.setPen(QColor(110, 50, 20));
    p.drawText(QRectF(160, 130, 225, 26), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Könyvek nyilvántartása"));
    p.setPen(QPen(QColor(150, 80, 40), 1.5));
    p.drawLine(QPointF(60, 172), QPointF(372, 172));
    QFont small(QStringLiteral("Verdana"));
    small.setPixelSize(13);
    p.setFont(small);
    p.setPen(QColor(18, 52, 86));
    p.drawText(QRectF(60, 178, 312, 36), Qt::AlignCenter, QStringLiteral("Egy magánkönyvtár katalógusa"));
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
