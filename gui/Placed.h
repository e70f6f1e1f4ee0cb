#pragma once
// Fixed-size forms place their controls by hand: one call makes a child with its component
// name (what tests look it up by) and its place.

#include <QListWidget>
#include <QRect>
#include <QString>
#include <QWidget>
#include <utility>

namespace kodexa {

template <class W, class... Args>
W *Placed(QWidget *parent, const QString &name, const QRect &geometry, Args &&...args) {
    auto *w = new W(std::forward<Args>(args)..., parent);
    w->setObjectName(name);
    w->setGeometry(geometry);
    return w;
}

// A ticked entry of a list of tick boxes.
inline QListWidgetItem *AddTickItem(QListWidget *list, const QString &text) {
    auto *item = new QListWidgetItem(text, list);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    item->setCheckState(Qt::Checked);
    return item;
}

} // namespace kodexa
