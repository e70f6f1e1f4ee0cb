#pragma once
// Work the window waits for without freezing: it runs on a thread of its own, the window
// keeps painting, and a small note says what is happening when it takes longer than half a
// second. The work must not touch widgets or the window's own connection.

#include <QString>
#include <functional>

class QWidget;

namespace kodexa {

// Returns when work has ended; an exception it raised is raised here again.
void RunWithNote(QWidget *parent, const QString &note, const std::function<void()> &work);

} // namespace kodexa
