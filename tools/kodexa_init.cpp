// kodexa-init: makes a new, empty catalogue file (with --demo, one filled with real books,
// a handful of them with a cover picture). The program itself never creates a database.
#include "data/Catalogue.h"
#include "data/Db.h"
#include "data/Error.h"
#include "data/TextFile.h"
#include "data/Seged.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QTextStream>

namespace {

// Covers for the first books of the demo list: a coloured board with the title and the
// author, so a new user sees the picture panel and the edit dialog's picture page at work.
// They go to the Images folder beside the catalogue (the program directory when the
// catalogue is the program's own); a picture already there is left alone.
int DrawDemoCovers(const QString &catalogue) {
    const QString dir = QFileInfo(catalogue).absolutePath() + QStringLiteral("/Images");
    QDir().mkpath(dir);
    kodexa::Db db;
    db.open(catalogue);
    kodexa::Stmt s = db.prepare(QStringLiteral("SELECT konyvek, cim, szerzo_nev FROM konyvek ORDER BY konyvek LIMIT 6"));
    const QColor boards[] = {{128, 32, 40}, {30, 70, 120}, {40, 100, 60}, {150, 110, 30}, {80, 50, 110}, {30, 30, 30}};
    int made = 0;
    while (s.step()) {
        const QString file = dir + QLatin1Char('/') + kodexa::KeyText(s.int64(0)) + QStringLiteral(".jpg");
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
        if (!kodexa::CommitWhole(out, why))
            throw kodexa::FileError(QStringLiteral("A file nem írható: %1\n%2").arg(file, why));
        ++made;
        ++made;
    }
    return made;
}

} // namespace

int main(int argc, char **argv) {
    // Pictures are drawn without a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool demo = args.removeAll(QStringLiteral("--demo")) > 0;
    QTextStream err(stderr);
    if (args.size() != 1 || args.first().startsWith(QLatin1Char('-'))) {
        err << "Használat: kodexa-init [--demo] ÁLLOMÁNY\n";
        return 2;
    }
    try {
        kodexa::CreateCatalogue(args.first(), demo);
        if (demo)
            DrawDemoCovers(args.first());
    } catch (const kodexa::Error &e) {
        err << e.message() << '\n';
        return 1;
    } catch (const std::exception &e) {
        err << QString::fromUtf8(e.what()) << '\n';
        return 1;
    }
    QTextStream(stdout) << "Elkészült: " << args.first() << '\n';
    return 0;
}
