#pragma once
// The commands of the main window and where each appears. A layout is a list of command
// names; "-" is a separator, ">Name" opens a submenu and "<" closes it.

#include <QString>
#include <QStringList>
#include <QVector>

namespace kodexa {

struct CommandDef {
    const char *name;
    const char *caption;
    const char *hint;     // nullptr: the caption
    const char *shortcut; // QKeySequence text, nullptr: none
    const char *icon;     // freedesktop icon name
};

const QVector<CommandDef> &CommandDefs();
const CommandDef *FindCommand(const QString &name);

struct MenuLayout {
    QString title;
    QStringList items;
};
QVector<MenuLayout> MenuBarLayout();
QStringList SmallToolbarLayout();
QStringList LargeToolbarLayout();
QStringList PrintDropDownLayout();
QStringList GridContextLayout();

// Keeps only the commands present; drops separators that would lead, trail or double up.
QStringList PresentItems(const QStringList &layout, const QStringList &present);

// Addresses of the maker, used by the help menu.
QString MakerHomePage();
QString MakerMailAddress();

} // namespace kodexa
