#include "app/core/ElsoInditas.h"

#include "data/Backup.h"
#include "data/Catalogue.h"
#include "data/Db.h"
#include "data/Error.h"
#include "data/Locations.h"
#include "data/Seged.h"
#include "data/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kodexa {

bool NeedsFirstStart() { return CurrentMode() == RunMode::Installed && !QFileInfo::exists(CataloguePath()); }

QString FirstStartTarget() {
    QDir().mkpath(ProgramDir());
    return ProgramPath(QStringLiteral("Kodexa.sqb"));
}

namespace {
void CopyMissingPictures(const QString &from, const QString &to) {
    const QDir source(from);
    if (!source.exists())
        return;
    QDir().mkpath(to);
    for (const QString &name : source.entryList({QStringLiteral("*.jpg")}, QDir::Files)) {
        const QString target = QDir(to).filePath(name);
        if (!QFileInfo::exists(target))
            QFile::copy(source.filePath(name), target);
    }
}
} // namespace

void AdoptCatalogue(const QString &source, const QString &target) {
    if (QFileInfo::exists(target))
        throw Error(QStringLiteral("Már van katalógus: %1").arg(target));
    Db db;
    OpenCatalogue(db, source);
    // Start-up opens a file with a damaged page and fails later on; a copy should not begin
    // with one, so every page is read before anything is written.
    const QString check = QuickCheckFindings(db);
    if (!check.isEmpty()) {
        db.close();
        throw Error(CannotOpenCatalogue(source, QStringLiteral("a katalógus sérült: %1").arg(check)));
    }
    BackupCatalogue(db, target);
    db.close();
    CopyMissingPictures(QFileInfo(source).absoluteDir().filePath(QStringLiteral("Images")),
                        QFileInfo(target).absoluteDir().filePath(QStringLiteral("Images")));
}

void PointSettingsAt(const QString &target) {
    if (QFileInfo(CataloguePath()).absoluteFilePath() != QFileInfo(target).absoluteFilePath())
        UpdateIni({{QStringLiteral("Database/Path"), target}});
}

} // namespace kodexa
