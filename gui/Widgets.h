#pragma once
// Behaviour shared by the program's windows: a dialog's set-up and OK/Cancel buttons, the
// sky-blue focus colour, Enter moving to the next control, the grid font, remembered
// dialog positions and the per-command error handler.

#include <QColor>
#include <QObject>
#include <QSet>
#include <QSize>
#include <QString>
#include <functional>

class QWidget;
class QAbstractItemView;
class QDialog;
class QLineEdit;
class QPushButton;
class QRect;
class QTableView;

namespace kodexa {

class DesktopServices;

inline const QColor FocusColour{166, 202, 240};

// The common start of a dialog: its object name (which also keys its remembered position),
// its caption, the windows' font (Tahoma 8) and, when one is given, its fixed size.
void SetUpDialog(QDialog *dialog, const char *name, const QString &caption, QSize fixedSize = QSize());
// The OK and Cancel buttons of a small dialog at their places: OK accepts, Cancel rejects
// and never takes Enter; OK takes it when okTakesEnter (otherwise Enter presses no button).
void PlaceOkCancel(QDialog *dialog, QPushButton *ok, const QRect &okBox, QPushButton *cancel, const QRect &cancelBox,
                   bool okTakesEnter);
// Paints the focused edit, combo box, spin box or date picker of the window sky blue and
// returns it to the window colour when it loses the focus.
void InstallFocusColour(QWidget *window);
// Turns Enter into a move to the next control in the tab order, except in the widgets listed.
void InstallEnterAsTab(QWidget *window, const QSet<QWidget *> &except = {});
// A password edit: one "*" for each character typed, whatever the style's own mark.
void SetStarEcho(QLineEdit *edit);
// Every data grid takes its font size from the settings record.
void SetGridFont(QAbstractItemView *grid, int pointSize);
// A browse grid: read-only, one whole row selected at a time, no row numbers.
void SetRowGrid(QTableView *grid);
// Restores a dialog's position from Kodexa.ini now and stores it when the dialog finishes;
// a configuration file that cannot be written is reported through services.
void RememberPosition(QDialog *dialog, DesktopServices &services);
// Esc in widget (an editor that would keep the key to itself) rejects the dialog, as Esc
// anywhere else in it does.
void EscapeRejects(QWidget *widget, QDialog *dialog);

// Runs one command; anything it throws is shown in the error box and the program goes on.
void Guarded(DesktopServices &services, QWidget *owner, const std::function<void()> &command);

} // namespace kodexa
