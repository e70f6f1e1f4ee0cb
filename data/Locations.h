#pragma once
// Where the program keeps its files. A portable program directory holds them beside the
// executable; an installed program (/usr/bin/kodexa) keeps the user's files in the user's
// data folder and reads what it ships from the share folder beside its bin folder. This is
// the one place that decides; the programs and the tests ask here.

#include <QString>

namespace kodexa {

enum class RunMode { Portable, Installed };

struct Locations {
    RunMode mode = RunMode::Portable;
    // Kodexa.ini, Kodexa.sqb, Html, Images, SQL, Backup.
    QString folder;
    // What the program ships and only reads: Help.
    QString shareDir;
};

// What the rule reads from the environment.
struct LocationEnv {
    QString kodexaHome;  // KODEXA_HOME: the user's folder in either mode
    QString xdgDataHome; // XDG_DATA_HOME
    QString home;        // HOME
    static LocationEnv FromProcess();
};

// Portable when the program's directory holds Kodexa.ini or Kodexa.sqb, or is writable and
// not under /usr; installed otherwise. The user's folder is KODEXA_HOME when set; else the
// program's directory (portable) or $XDG_DATA_HOME/Kodexa, ~/.local/share/Kodexa by default
// (installed). The share folder is the program's directory (portable) or ../share/kodexa
// beside the bin folder (installed).
Locations DecideLocations(const QString &programDir, const LocationEnv &env);

// Makes them the process's: ProgramDir() becomes the user's folder.
void UseLocations(const Locations &locations);
// Decides for the running executable's directory and the process environment, and uses it.
void UseLocationsFor(const QString &programDir);
RunMode CurrentMode();
// The share folder; the program directory when none was set (as the tests run).
QString ShareDir();
// ShareDir() + "/" + name.
QString SharedPath(const QString &name);
// "hordozható" or "telepített".
QString ModeName(RunMode mode);

// The catalogue the program opens: Kodexa.ini's [Database] Path, or Kodexa.sqb in the
// user's folder.
QString CataloguePath();
// Backup beside the catalogue.
QString BackupFolderFor(const QString &cataloguePath);

} // namespace kodexa
