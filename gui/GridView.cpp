#include "gui/GridView.h"

#include "gui/Pictures.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QWheelEvent>

namespace kodexa {

void BookGridDelegate::paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const {
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup cg = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                    : (option.state & QStyle::State_Active) ? QPalette::Normal
                                                                             : QPalette::Inactive;
    p->fillRect(option.rect, selected ? option.palette.brush(cg, QPalette::Highlight)
                                      : QBrush(index.data(Qt::BackgroundRole).value<QColor>()));
    if (index.column() == 0) {
        p->drawPixmap(option.rect.left() + 1, option.rect.top(), LentIcon(index.data(Qt::UserRole).toString() == "I"));
        return;
    }
    const QWidget *w = option.widget;
    QStyle *style = w ? w->style() : QApplication::style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, w) + 1;
    const QRect r = option.rect.adjusted(margin, 0, -margin, 0);
    const QString text = index.data(Qt::DisplayRole).toString();
    if (!text.isEmpty() && r.width() > 0) {
        const QFontMetricsF fm(option.font);
        const QString shown = fm.horizontalAdvance(text) <= r.width() ? text : fm.elidedText(text, option.textElideMode, r.width());
        p->setFont(option.font);
        p->setPen(option.palette.color(cg, selected ? QPalette::HighlightedText : QPalette::Text));
        // One line centred the way the style centres its text layout.
        const int top = r.top() + (r.height() - int(fm.height())) / 2;
        p->drawText(QPointF(r.left(), top + fm.ascent()), shown);
    }
    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = option.rect;
        focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
        focus.backgroundColor = option.palette.color(cg, selected ? QPalette::Highlight : QPalette::Window);
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, p, w);
    }
}

QPixmap LentIcon(bool lent) {
    return CachedPicture(lent ? QStringLiteral("kodexa-lent-1") : QStringLiteral("kodexa-lent-0"), 16, [lent](QPainter &p) {
        // On the shelf: a small grey dot that the eye passes over. Lent: an orange disc with
        // a white arrow pointing out, the one mark that stands out in a column of dots.
        p.setRenderHint(QPainter::Antialiasing);
        if (lent) {
            p.setPen(QPen(QColor(150, 60, 0), 1));
            p.setBrush(QColor(245, 130, 20));
            p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
            p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawLine(QPointF(4.5, 8), QPointF(11, 8));
            p.drawPolyline(QPolygonF{QPointF(8.5, 5.5), QPointF(11, 8), QPointF(8.5, 10.5)});
        } else {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(190, 190, 190));
            p.drawEllipse(QRectF(6, 6, 4, 4));
        }
    });
}

bool WheelToArrowFilter::eventFilter(QObject *o, QEvent *e) {
    if (e->type() != QEvent::Wheel)
        return false;
    const auto *w = static_cast<QWheelEvent *>(e);
    const int delta = w->angleDelta().y() != 0 ? w->angleDelta().y() : w->angleDelta().x();
    // The key goes where the wheel message was addressed: the focused control.
    QObject *target = QApplication::focusWidget();
    if (!target)
        target = o;
    QKeyEvent key(QEvent::KeyPress, delta <= 0 ? Qt::Key_Down : Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(target, &key);
    return true;
}

} // namespace kodexa
