#pragma once
// The program-wide settings record and Kodexa.ini's main-window keys.

#include <QRect>
#include <QString>

class QSettings;

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
// Writes what was set on ini to its file; FileError with the file system's reason when it cannot.
void WriteIni(QSettings &ini);

// Reads "Screen", "Database" and "Defaults" with their defaults; returns the window bounds.
// Does not test the database file (the caller reports a missing one).
QRect LoadWindowSettings(TBeall &settings);
// Writes the eight keys back; other sections of the file stay as they are.
void SaveWindowSettings(const TBeall &settings, const QRect &bounds);
// The first row of beallit: login flag and mail sender.
void LoadDatabaseSettings(Db &db, TBeall &settings);

// The font-size commands stop only at exactly 22 and exactly 8.
int FontSizeUp(int size);
int FontSizeDown(int size);

} // namespace kodexa
