#include "reports/core/DemoCatalogue.h"

#include "data/Catalogue.h"
#include "data/Db.h"
#include "data/Error.h"
#include "data/Seged.h"
#include "data/TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QSaveFile>

namespace kodexa {

namespace {

// Covers for the first books of the demo list: a coloured board with the title and the
// author, so a new user sees the picture panel and the edit dialog's picture page at work.
// They go to the Images folder beside the catalogue (the program directory when the
// catalogue is the program's own); a picture already there is left alone.
int DrawDemoCovers(const QString &catalogue) {
    const QString dir = QFileInfo(catalogue).absolutePath() + QStringLiteral("/Images");
    QDir().mkpath(dir);
    Db db;
    db.open(catalogue);
    Stmt s = db.prepare(QStringLiteral("SELECT konyvek, cim, szerzo_nev FROM konyvek ORDER BY konyvek LIMIT 6"));
    const QColor boards[] = {{128, 32, 40}, {30, 70, 120}, {40, 100, 60}, {150, 110, 30}, {80, 50, 110}, {30, 30, 30}};
    int made = 0;
    while (s.step()) {
        const QString file = dir + QLatin1Char('/') + KeyText(s.int64(0)) + QStringLiteral(".jpg");
        if (QFileInfo::exists(file))
            continue;
        QImage img(240, 360, QImage::Format_RGB32);
        const QColor board = boards[made % 6];
        img.fill(board);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(board.lighter(170), 3));
        p.drawRect(QRectF(12.5, 12.5, 215, 335));
        p.setPen(Qt::white);
        QFont title(QStringLiteral("DejaVu Serif"));
        title.setPixelSize(26);
        title.setBold(true);
        p.setFont(title);
        p.drawText(QRect(24, 60, 192, 180), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, s.text(1));
        QFont author(QStringLiteral("DejaVu Sans"));
        author.setPixelSize(17);
        p.setFont(author);
        p.drawText(QRect(24, 270, 192, 60), Qt::AlignHCenter | Qt::AlignBottom | Qt::TextWordWrap, s.text(2));
        p.end();
        QSaveFile out(file);
        QString why;
        if (out.open(QIODevice::WriteOnly) && !img.save(&out, "JPEG", 85) && out.error() == QFileDevice::NoError)
            out.cancelWriting(); // no JPEG writer: nothing half-made is left
        if (!CommitWhole(out, why))
            throw FileError(QStringLiteral("A file nem írható: %1\n%2").arg(file, why));
        ++made;
    }
    return made;
}

} // namespace

int CreateDemoCatalogue(const QString &path) {
    CreateCatalogue(path, true);
    return DrawDemoCovers(path);
}

} // namespace kodexa
