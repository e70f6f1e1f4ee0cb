#include "admin/core/Beallit.h"

#include <QFileInfo>

namespace kodexa {

QString DatabasePathProblem(const QString &path) {
    if (path.isEmpty() || QFileInfo(path).isFile())
        return QString();
    return QStringLiteral("Nem létező adatbázis:\n") + path;
}

} // namespace kodexa
