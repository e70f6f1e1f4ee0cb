#include "data/Settings.h"

#include "data/Db.h"
#include "data/Seged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace kodexa {

namespace {
int readInt(QSettings &ini, const QString &key, int def) {
    bool ok = false;
    const int v = ini.value(key).toInt(&ok);
    return ok ? v : def;
}
} // namespace

QString IniPath() { return ProgramPath(QStringLiteral("Kodexa.ini")); }

QRect LoadWindowSettings(TBeall &s) {
    QSettings ini(IniPath(), QSettings::IniFormat);
    s.FullScreen = readInt(ini, QStringLiteral("Screen/FullScreen"), 0) != 0;
    const QRect bounds(readInt(ini, QStringLiteral("Screen/Left"), 0), readInt(ini, QStringLiteral("Screen/Top"), 0),
                       readInt(ini, QStringLiteral("Screen/Width"), 777), readInt(ini, QStringLiteral("Screen/Height"), 550));
    s.FontSize = readInt(ini, QStringLiteral("Screen/FontSize"), 8);
    s.DatabasePath = ini.value(QStringLiteral("Database/Path")).toString();
    if (s.DatabasePath.isEmpty())
        s.DatabasePath = ProgramPath(QStringLiteral("Kodexa.sqb"));
    s.HtmlPath = ini.value(QStringLiteral("Defaults/HtmlPath"), ProgramPath(QStringLiteral("Html"))).toString();
    if (s.HtmlPath.isEmpty() || !QFileInfo(s.HtmlPath).isDir())
        s.HtmlPath = ProgramPath(QStringLiteral("Html"));
    return bounds;
}

void WriteIni(QSettings &ini) {
    ini.sync();
    if (ini.status() == QSettings::NoError)
        return;
    // QSettings only says that it failed; the file system says why.
    const QString path = ini.fileName();
    const bool existed = QFileInfo::exists(path);
    QFile probe(path);
    QString reason = QStringLiteral("ismeretlen ok");
    if (!probe.open(QIODevice::Append))
        reason = probe.errorString();
    else if (!existed)
        probe.remove();
    throw FileError(QStringLiteral("A beállítások nem írhatók: %1\n%2").arg(QDir::toNativeSeparators(path), reason));
}

void SaveWindowSettings(const TBeall &s, const QRect &bounds) {
    QSettings ini(IniPath(), QSettings::IniFormat);
    ini.setValue(QStringLiteral("Screen/FullScreen"), s.FullScreen ? 1 : 0);
    ini.setValue(QStringLiteral("Screen/Left"), bounds.left());
    ini.setValue(QStringLiteral("Screen/Top"), bounds.top());
    ini.setValue(QStringLiteral("Screen/Width"), bounds.width());
    ini.setValue(QStringLiteral("Screen/Height"), bounds.height());
    ini.setValue(QStringLiteral("Screen/FontSize"), s.FontSize);
    ini.setValue(QStringLiteral("Database/Path"), s.DatabasePath);
    ini.setValue(QStringLiteral("Defaults/HtmlPath"), s.HtmlPath);
    WriteIni(ini);
}

void LoadDatabaseSettings(Db &db, TBeall &s) {
    Stmt q = db.prepare(QStringLiteral("SELECT vanbelep, sendername, senderemil FROM beallit"));
    if (q.step()) {
        s.LoginRequired = q.text(0) == QLatin1String("I");
        s.SenderName = q.text(1);
        s.SenderEmail = q.text(2);
    } else {
        s.LoginRequired = false;
        s.SenderName.clear();
        s.SenderEmail.clear();
    }
}

int FontSizeUp(int size) { return size == 22 ? size : size + 1; }
int FontSizeDown(int size) { return size == 8 ? size : size - 1; }

} // namespace kodexa
