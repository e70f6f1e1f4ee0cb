#include "gui/CoverPicture.h"

#include "data/Error.h"
#include "data/TextFile.h"
#include "data/Kozos.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>

namespace kodexa {

QImage ReadCoverPicture(qint64 key) {
    const QString path = PicturePath(key);
    if (!QFileInfo::exists(path))
        return {};
    // The content decides the format, whatever the name says.
    QImageReader reader(path);
    return reader.read();
}

void StoreCoverPicture(const QString &source, qint64 key) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("A kép nem olvasható: %1\n%2").arg(source, in.errorString()));
    const QByteArray bytes = in.readAll();
    in.close();
    if (QImage::fromData(bytes).isNull())
        throw FileError(QStringLiteral("A kiválasztott állomány nem betölthető kép: %1").arg(source));
    const QString target = PicturePath(key);
    QSaveFile out(target);
    if (out.open(QIODevice::WriteOnly))
        out.write(bytes);
    QString why;
    if (!CommitWhole(out, why))
        throw FileError(QStringLiteral("A kép nem másolható ide: %1\n%2").arg(target, why));
}

bool HasCoverPicture(qint64 key) { return QFileInfo::exists(PicturePath(key)); }

void DeleteCoverPicture(qint64 key) {
    const QString path = PicturePath(key);
    if (QFileInfo::exists(path) && !QFile::remove(path))
        throw FileError(QStringLiteral("A kép nem törölhető: %1").arg(path));
}

} // namespace kodexa
