#include "data/Settings.h"

#include "data/Db.h"
#include "data/Seged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QScopeGuard>
#include <QSettings>
#include <QStorageInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>

namespace kodexa {

namespace {
int readInt(QSettings &ini, const QString &key, int def) {
    bool ok = false;
    const int v = ini.value(key).toInt(&ok);
    return ok ? v : def;
}

// A number of any size: the range checks decide, not the type's limits.
std::optional<qint64> readNumber(QSettings &ini, const QString &key) {
    bool ok = false;
    const qint64 v = ini.value(key).toLongLong(&ok);
    return ok ? std::optional<qint64>(v) : std::nullopt;
}

constexpr int DefaultWidth = 777;
constexpr int DefaultHeight = 550;
constexpr int DefaultFontSize = 8;
// Qt's own bound for a widget's size; positions are held to it as well, so that every sum
// of a position and a size stays far inside int.
constexpr qint64 WidgetLimit = 16777215;

[[noreturn]] void iniFailure(const QString &path, const QString &reason) {
    throw FileError(QStringLiteral("A beállítások nem írhatók: %1\n%2").arg(QDir::toNativeSeparators(path), reason));
}

// Why a write that Qt only calls failed went wrong: the disk that has no room for the file
// is the one cause the file system does not tell in a failed open.
QString writeFailureReason(const QString &folder, qint64 bytes) {
    const QStorageInfo disk(folder);
    if (disk.isValid() && disk.bytesAvailable() < bytes + 4096)
        return qt_error_string(ENOSPC);
    return QStringLiteral("az írás nem sikerült");
}
} // namespace

QString IniPath() { return ProgramPath(QStringLiteral("Kodexa.ini")); }

int SaneFontSize(qint64 size) { return size >= 6 && size <= 72 ? int(size) : DefaultFontSize; }

QRect SaneWindowBounds(qint64 left, qint64 top, qint64 width, qint64 height, const ScreenSpace &space) {
    // The farthest right and bottom edges a window may reach, as full-screen sizes it.
    qint64 maxWidth = WidgetLimit, maxHeight = WidgetLimit;
    if (!space.screens.isEmpty()) {
        maxWidth = maxHeight = 0;
        for (const QRect &s : space.screens) {
            maxWidth = std::max({maxWidth, qint64(s.x()) + s.width(), qint64(s.width())});
            maxHeight = std::max({maxHeight, qint64(s.y()) + s.height(), qint64(s.height())});
        }
    }
    const qint64 minWidth = std::max(1, space.minimum.width());
    const qint64 minHeight = std::max(1, space.minimum.height());
    if (width < minWidth || width > maxWidth)
        width = DefaultWidth;
    if (height < minHeight || height > maxHeight)
        height = DefaultHeight;
    bool placed = left >= -WidgetLimit && left <= WidgetLimit && top >= -WidgetLimit && top <= WidgetLimit;
    if (placed && !space.screens.isEmpty()) {
        // Some part of the window must be on some screen.
        placed = std::any_of(space.screens.begin(), space.screens.end(), [&](const QRect &s) {
            return left < qint64(s.x()) + s.width() && left + width > s.x() && top < qint64(s.y()) + s.height() &&
                   top + height > s.y();
        });
    }
    if (!placed)
        left = top = 0;
    return QRect(int(left), int(top), int(width), int(height));
}

QRect LoadWindowSettings(TBeall &s, const ScreenSpace &space) {
    QSettings ini(IniPath(), QSettings::IniFormat);
    s.FullScreen = readInt(ini, QStringLiteral("Screen/FullScreen"), 0) != 0;
    auto number = [&ini](const char *key, qint64 def) {
        return readNumber(ini, QStringLiteral("Screen/") + QLatin1String(key)).value_or(def);
    };
    const QRect bounds = SaneWindowBounds(number("Left", 0), number("Top", 0), number("Width", DefaultWidth),
                                          number("Height", DefaultHeight), space);
    s.FontSize = SaneFontSize(number("FontSize", DefaultFontSize));
    s.DatabasePath = ini.value(QStringLiteral("Database/Path")).toString();
    if (s.DatabasePath.isEmpty())
        s.DatabasePath = ProgramPath(QStringLiteral("Kodexa.sqb"));
    s.HtmlPath = ini.value(QStringLiteral("Defaults/HtmlPath"), ProgramPath(QStringLiteral("Html"))).toString();
    if (s.HtmlPath.isEmpty() || !QFileInfo(s.HtmlPath).isDir())
        s.HtmlPath = ProgramPath(QStringLiteral("Html"));
    return bounds;
}

void UpdateIni(const QList<QPair<QString, QVariant>> &values) {
    const QString path = QFileInfo(IniPath()).absoluteFilePath();
    const QString folder = QFileInfo(path).absolutePath();
    // Everything the file holds now, with the new values over it. Our own values go in as
    // text, as the file holds them; hand-written ones keep the type they were read as.
    QMap<QString, QVariant> wanted;
    if (QFileInfo::exists(path)) {
        QSettings old(path, QSettings::IniFormat);
        if (old.status() == QSettings::AccessError) {
            QFile probe(path);
            iniFailure(path, probe.open(QIODevice::ReadOnly) ? QStringLiteral("a fájl nem olvasható") : probe.errorString());
        }
        for (const QString &key : old.allKeys())
            wanted.insert(key, old.value(key));
    }
    qint64 bytes = 0;
    for (const auto &[key, value] : values) {
        wanted.insert(key, value.typeId() == QMetaType::QStringList ? value : QVariant(value.toString()));
        bytes += key.size() + value.toString().toUtf8().size() + 2;
    }

    // New names beside the file: the renames replace a file in one step.
    QString written, checked;
    auto dropCopies = qScopeGuard([&] {
        for (const QString &f : {written, checked})
            if (!f.isEmpty())
                QFile::remove(f);
    });
    auto newName = [&path]() {
        QTemporaryFile t(path + QStringLiteral(".XXXXXX"));
        t.setAutoRemove(false);
        if (!t.open())
            iniFailure(path, t.errorString());
        return t.fileName();
    };
    auto rename = [&path](const QString &from, const QString &to) {
        std::error_code ec;
        std::filesystem::rename(QFile::encodeName(from).toStdString(), QFile::encodeName(to).toStdString(), ec);
        if (ec)
            iniFailure(path, QString::fromStdString(ec.message()));
    };
    written = newName();
    {
        QSettings out(written, QSettings::IniFormat);
        for (auto it = wanted.cbegin(); it != wanted.cend(); ++it)
            out.setValue(it.key(), it.value());
        out.sync();
        if (out.status() != QSettings::NoError)
            iniFailure(path, writeFailureReason(folder, bytes));
    }
    // Read back from the disk: a copy cut short by a full disk must not replace the file.
    // Under another name, because QSettings answers from what it wrote to a name as long as
    // the file's size and time have not changed, and a cut file was cut before both were taken.
    checked = newName();
    rename(written, checked);
    written.clear();
    {
        QSettings back(checked, QSettings::IniFormat);
        bool same = back.status() == QSettings::NoError && back.allKeys().size() == wanted.size();
        for (auto it = wanted.cbegin(); same && it != wanted.cend(); ++it)
            same = back.value(it.key()) == it.value();
        if (!same)
            iniFailure(path, writeFailureReason(folder, bytes));
    }
    rename(checked, path);
    checked.clear();
}

void SaveWindowSettings(const TBeall &s, const QRect &bounds) {
    UpdateIni({{QStringLiteral("Screen/FullScreen"), s.FullScreen ? 1 : 0},
               {QStringLiteral("Screen/Left"), bounds.left()},
               {QStringLiteral("Screen/Top"), bounds.top()},
               {QStringLiteral("Screen/Width"), bounds.width()},
               {QStringLiteral("Screen/Height"), bounds.height()},
               {QStringLiteral("Screen/FontSize"), s.FontSize},
               {QStringLiteral("Database/Path"), s.DatabasePath},
               {QStringLiteral("Defaults/HtmlPath"), s.HtmlPath}});
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

int FontSizeUp(int size) { return size == 22 ? size : std::min(size + 1, 72); }
int FontSizeDown(int size) { return size == 8 ? size : std::max(size - 1, 6); }

} // namespace kodexa
