#include "gui/Pictures.h"

#include <QPainter>
#include <QPixmapCache>

namespace kodexa {

QPixmap CachedPicture(const QString &key, int size, const std::function<void(QPainter &)> &draw) {
    QPixmap pm;
    if (QPixmapCache::find(key, &pm))
        return pm;
    pm = QPixmap(size, size);
    pm.fill(Qt::transparent);
    {
        QPainter p(&pm);
        draw(p);
    }
    QPixmapCache::insert(key, pm);
    return pm;
}

} // namespace kodexa
