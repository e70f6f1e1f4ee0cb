#pragma once
// Where a cover picture goes inside its frame: shared by the edit dialog and the main
// window's picture panel.

#include <QRect>
#include <QSize>

namespace kodexa {

// A picture narrower and lower than the frame keeps its natural size, centred; any other
// is scaled by the smaller of the two side ratios (sides rounded to nearest, halves to
// even) and centred by integer division. stretched tells which case applied. An empty
// picture or frame gives an empty rectangle.
QRect FitPicture(QSize picture, QSize frame, bool *stretched = nullptr);

} // namespace kodexa
