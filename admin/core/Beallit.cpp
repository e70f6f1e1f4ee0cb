#include "admin/core/Beallit.h"

#include "data/Catalogue.h"
#include "data/Db.h"
#include "data/Error.h"
#include "data/Seged.h"

namespace kodexa {

QString DatabasePathProblem(const QString &path) {
    Db probe;
    try {
        OpenCatalogue(probe, path.isEmpty() ? ProgramPath(QStringLiteral("Kodexa.sqb")) : path);
    } catch (const Error &e) {
        return e.message();
    }
    return QString();
}

} // namespace kodexa
