#pragma once
// Views read the catalogue while Qt paints them and moves their current row: inside Qt's
// event handling, where no exception may pass. A read that fails there (another program
// holding a lock, a damaged page) leaves the cell or label empty and is reported here:
// once, in the error box, after the event in progress, and not again while the reads go
// on failing; a repaint or a move simply tries again.

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QWidget;

namespace kodexa {

class DesktopServices;

class ReadFailures final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReadFailures)
public:
    ReadFailures(DesktopServices &services, QWidget *owner);

    // A read failed with this message: shown unless this run of failures was shown already.
    void failed(const QString &message);
    // Reads work again: the next failure is a new one and is shown.
    void recovered() { failing_ = false; }
    // Runs read; false (reported) when it threw.
    bool guard(const std::function<void()> &read);
    // How many boxes were shown (for tests).
    int shown() const { return shown_; }

private:
    DesktopServices &services_;
    QPointer<QWidget> owner_;
    bool failing_ = false;
    int shown_ = 0;
};

} // namespace kodexa
