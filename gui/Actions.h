#pragma once
// The named actions of a window: caption (also its hint), shortcuts and icon, added to the
// window so the shortcut works wherever the focus is inside it.

#include <QIcon>
#include <QKeySequence>
#include <QList>
#include <QString>
#include <QStyle>

class QAction;
class QWidget;

namespace kodexa {

// A freedesktop theme icon, or the style's own picture on a machine without a theme.
QIcon ThemeIcon(const char *name, QStyle::StandardPixmap fallback);
QAction *WindowAction(QWidget *window, const char *name, const QString &caption, const QList<QKeySequence> &keys,
                      const QIcon &icon);

} // namespace kodexa
