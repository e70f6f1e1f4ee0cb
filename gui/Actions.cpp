#include "gui/Actions.h"

#include <QAction>
#include <QApplication>
#include <QWidget>

namespace kodexa {

QIcon ThemeIcon(const char *name, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QString::fromLatin1(name), QApplication::style()->standardIcon(fallback));
}

QAction *WindowAction(QWidget *window, const char *name, const QString &caption, const QList<QKeySequence> &keys,
                      const QIcon &icon) {
    auto *a = new QAction(icon, caption, window);
    a->setObjectName(QString::fromLatin1(name));
    a->setToolTip(caption);
    a->setStatusTip(caption);
    a->setShortcuts(keys);
    a->setShortcutContext(Qt::WindowShortcut);
    window->addAction(a);
    return a;
}

} // namespace kodexa
