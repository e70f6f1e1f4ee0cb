#pragma once
// Readable gtest failure output for Qt strings, and a modal-window helper that makes the
// window active first, as the desktop does, so its shortcuts reach it.

#include "support/Fixture.h"

#include <QApplication>
#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList &l, std::ostream *os) {
    *os << '{';
    for (qsizetype i = 0; i < l.size(); ++i)
        *os << (i ? ", \"" : "\"") << l[i].toStdString() << '"';
    *os << '}';
}

namespace kodexa::test {
inline void WhenActiveModal(std::function<void(QWidget *)> action) {
    WhenModal([action = std::move(action)](QWidget *w) {
        QApplication::setActiveWindow(w);
        action(w);
    });
}
} // namespace kodexa::test
