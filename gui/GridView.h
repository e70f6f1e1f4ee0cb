#pragma once
// View pieces of the book grid: the cell painter, the fixed row-indicator header, the
// lent-flag pictures, and the filter that turns a wheel step into one arrow key.

#include <QHeaderView>
#include <QObject>
#include <QPixmap>
#include <QStyledItemDelegate>

namespace kodexa {

// Column 0: the lent flag drawn as one of two icons on the cell's own background. The text
// cells are drawn here too, as the style would draw them (background or selection, one
// elided line, the focus frame), without the style's general item layout: that layout
// measures and shapes every text several times and made each page of a long list slow.
class BookGridDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

// The row-indicator column is a fixed 12 pixels wide. Its size hint would otherwise measure
// the first and last hundred sections again after every move of the current row.
class RowIndicatorHeader final : public QHeaderView {
public:
    explicit RowIndicatorHeader(QWidget *parent) : QHeaderView(Qt::Vertical, parent) {
        // As the grid's own vertical header.
        setSectionsClickable(true);
        setHighlightSections(true);
    }
    QSize sizeHint() const override { return {minimumWidth(), minimumWidth()}; }
};

// Turns a mouse-wheel step into an arrow key for the focused control: one step, one row.
class WheelToArrowFilter final : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    bool eventFilter(QObject *o, QEvent *e) override;
};

// The two 16 x 16 pictures of the lent-flag column.
QPixmap LentIcon(bool lent);

} // namespace kodexa
