#pragma once
// The program-wide settings record and Kodexa.ini's main-window keys.

#include <QList>
#include <QPair>
#include <QRect>
#include <QString>
#include <QVariant>
#include <QVector>

namespace kodexa {

class Db;

struct TBeall {
    bool FullScreen = false;
    QString DatabasePath;
    QString HtmlPath;
    int FontSize = 8;
    bool IsAdmin = false;
    bool LoginRequired = false;
    bool CanEditMasterData = false;
    QString UserCode;
    QString SenderName;
    QString SenderEmail;
};

QString IniPath(); // ProgramDir/Kodexa.ini

// Sets keys ("Section/Key") of the configuration file, keeping every other key: the new file
// is written beside the old one, read back and compared, and only then renamed over it, so
// the file is whole or as it was. FileError with the reason when it cannot be written.
void UpdateIni(const QList<QPair<QString, QVariant>> &values);

// Where the main window may stand: the available area of every screen and the window's
// smallest size. A program without a display knows no screens; then only sizes and positions
// that no window can have (beyond Qt's widget limit) are refused.
struct ScreenSpace {
    QVector<QRect> screens;
    QSize minimum;
};

// The font size, or the default 8 for one no grid can show (outside 6 to 72).
int SaneFontSize(qint64 size);
// The window bounds read from the file with absurd values treated like missing ones: a width
// or height below the minimum or beyond the screens' extent is the default (777, 550); a
// position that leaves the window on no screen is 0, 0. Computed in 64 bits, so the QRect
// built at the end cannot overflow.
QRect SaneWindowBounds(qint64 left, qint64 top, qint64 width, qint64 height, const ScreenSpace &space);

// Reads "Screen", "Database" and "Defaults" with their defaults; returns the window bounds.
// Does not test the database file (the caller reports a missing one).
QRect LoadWindowSettings(TBeall &settings, const ScreenSpace &space = {});
// Writes the eight keys back; other sections of the file stay as they are.
void SaveWindowSettings(const TBeall &settings, const QRect &bounds);
// The first row of beallit: login flag and mail sender.
void LoadDatabaseSettings(Db &db, TBeall &settings);

// The font-size commands stop only at exactly 22 and exactly 8, and never leave 6 to 72.
int FontSizeUp(int size);
int FontSizeDown(int size);

} // namespace kodexa
