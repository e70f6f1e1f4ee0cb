#include "edit/core/Picture.h"

#include <cfenv>
#include <cmath>

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
        // nearbyint follows the current rounding mode; make sure it is to-nearest-even.
        const int mode = std::fegetround();
        std::fesetround(FE_TONEAREST);
        w = int(std::nearbyint(w * scale));
        h = int(std::nearbyint(h * scale));
        std::fesetround(mode);
        if (stretched)
            *stretched = true;
    }
    return QRect((frame.width() - w) / 2, (frame.height() - h) / 2, w, h);
}

} // namespace kodexa
