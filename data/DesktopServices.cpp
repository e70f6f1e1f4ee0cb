#include "data/DesktopServices.h"

#include <QFileInfo>

namespace kodexa {

bool IsAddress(const QString &target) {
    return target.contains(QLatin1String("://")) || target.startsWith(QLatin1String("mailto:"));
}

bool IsWindowsProgram(const QString &path) {
    static const QStringList suffixes{QStringLiteral("exe"), QStringLiteral("com"), QStringLiteral("bat"),
                                      QStringLiteral("cmd")};
    return !IsAddress(path) && suffixes.contains(QFileInfo(path).suffix(), Qt::CaseInsensitive);
}

QString OpenFailureText(const QString &target, OpenFailure why) {
    QString reason;
    switch (why) {
    case OpenFailure::FileMissing:
        reason = QStringLiteral("A fájl nem létezik.");
        break;
    case OpenFailure::ProgramUnavailable:
        reason = IsWindowsProgram(target) ? QStringLiteral("Ez Windows-program, ezen a rendszeren nem érhető el.")
                                          : QStringLiteral("A program ezen a rendszeren nem érhető el.");
        break;
    case OpenFailure::NoOpener:
        reason = QStringLiteral("Nincs telepítve az xdg-open, amely a fájlokat és a címeket a hozzájuk való programmal "
                                "nyitja meg.");
        break;
    case OpenFailure::NoApplication:
        reason = IsAddress(target)             ? QStringLiteral("Ehhez a címhez nincs megnyitó program.")
                 : QFileInfo(target).isDir()   ? QStringLiteral("A mappához nincs megnyitó program (fájlkezelő).")
                                               : QStringLiteral("Ehhez a fájltípushoz nincs megnyitó program.");
        break;
    case OpenFailure::Failed:
        reason = QStringLiteral("A megnyitó program hibát jelzett.");
        break;
    }
    return QStringLiteral("Nem nyitható meg: %1\n%2").arg(target, reason);
}

} // namespace kodexa
