#include "edit/core/Picture.h"

#include "data/Seged.h"

namespace kodexa {

QRect FitPicture(QSize picture, QSize frame, bool *stretched) {
    if (stretched)
        *stretched = false;
    if (picture.isEmpty() || frame.isEmpty())
        return {};
    int w = picture.width();
    int h = picture.height();
    if (!(w < frame.width() && h < frame.height())) {
        double scale = double(frame.width()) / w;
        const double byHeight = double(frame.height()) / h;
        if (byHeight < scale)
            scale = byHeight;
        w = RoundHalfEven(w * scale);
        h = RoundHalfEven(h * scale);
        if (stretched)
            *stretched = true;
    }
    return QRect((frame.width() - w) / 2, (frame.height() - h) / 2, w, h);
}

} // namespace kodexa
