#include "data/Locations.h"

#include "data/Seged.h"
#include "data/Settings.h"

#include <QDir>
#include <QFileInfo>

namespace kodexa {

namespace {
struct Current {
    RunMode mode = RunMode::Portable;
    QString shareDir;
};
Current &current() {
    static Current c;
    return c;
}

bool UnderUsr(const QString &dir) {
    const QString canonical = QFileInfo(dir).canonicalFilePath();
    const QString path = canonical.isEmpty() ? QDir::cleanPath(QDir(dir).absolutePath()) : canonical;
    return path == QLatin1String("/usr") || path.startsWith(QLatin1String("/usr/"));
}

QString Clean(const QString &path) { return QDir::cleanPath(QDir(path).absolutePath()); }
} // namespace

LocationEnv LocationEnv::FromProcess() {
    return {qEnvironmentVariable("KODEXA_HOME"), qEnvironmentVariable("XDG_DATA_HOME"), qEnvironmentVariable("HOME")};
}

Locations DecideLocations(const QString &programDir, const LocationEnv &env) {
    const QDir dir(programDir);
    const bool ownFiles = QFileInfo::exists(dir.filePath(QStringLiteral("Kodexa.ini"))) ||
                          QFileInfo::exists(dir.filePath(QStringLiteral("Kodexa.sqb")));
    const bool portable = ownFiles || (QFileInfo(programDir).isWritable() && !UnderUsr(programDir));
    Locations l;
    if (portable) {
        l.mode = RunMode::Portable;
        l.folder = Clean(programDir);
        l.shareDir = l.folder;
    } else {
        l.mode = RunMode::Installed;
        // A relative XDG_DATA_HOME is invalid and is ignored, as the base directory rules say.
        const QString data = QDir::isAbsolutePath(env.xdgDataHome) ? env.xdgDataHome
                                                                   : env.home + QStringLiteral("/.local/share");
        l.folder = Clean(data + QStringLiteral("/Kodexa"));
        l.shareDir = Clean(programDir + QStringLiteral("/../share/kodexa"));
    }
    if (!env.kodexaHome.isEmpty())
        l.folder = Clean(env.kodexaHome);
    return l;
}

void UseLocations(const Locations &l) {
    SetProgramDir(l.folder);
    current().mode = l.mode;
    current().shareDir = l.shareDir;
}

void UseLocationsFor(const QString &programDir) { UseLocations(DecideLocations(programDir, LocationEnv::FromProcess())); }

RunMode CurrentMode() { return current().mode; }

QString ShareDir() { return current().shareDir.isEmpty() ? ProgramDir() : current().shareDir; }

QString SharedPath(const QString &name) { return ShareDir() + QLatin1Char('/') + name; }

QString ModeName(RunMode mode) {
    return mode == RunMode::Installed ? QStringLiteral("telepített") : QStringLiteral("hordozható");
}

QString CataloguePath() {
    TBeall settings;
    LoadWindowSettings(settings);
    return settings.DatabasePath;
}

QString BackupFolderFor(const QString &cataloguePath) {
    return QFileInfo(cataloguePath).absoluteDir().filePath(QStringLiteral("Backup"));
}

} // namespace kodexa
