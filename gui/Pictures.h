#pragma once
// Small pictures the program draws itself, drawn once and kept: a grid asks for one per
// visible row at every paint.

#include <QPixmap>
#include <QString>
#include <functional>

class QPainter;

namespace kodexa {

// The picture kept under key; drawn by draw on a transparent size x size square the first time.
QPixmap CachedPicture(const QString &key, int size, const std::function<void(QPainter &)> &draw);

} // namespace kodexa
