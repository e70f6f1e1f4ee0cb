#include "gui/ReadFailures.h"

#include "data/DesktopServices.h"
#include "data/Error.h"

#include <QTimer>
#include <QWidget>

namespace kodexa {

ReadFailures::ReadFailures(DesktopServices &services, QWidget *owner)
    : QObject(owner), services_(services), owner_(owner) {}

void ReadFailures::failed(const QString &message) {
    if (failing_)
        return;
    failing_ = true;
    // Not from inside the paint or the key press that met it: a modal box there would paint
    // the same view again, and read again, before the first box is closed.
    QTimer::singleShot(0, this, [this, message] {
        ++shown_;
        services_.ShowError(message, owner_);
    });
}

bool ReadFailures::guard(const std::function<void()> &read) {
    try {
        read();
        return true;
    } catch (const std::exception &e) {
        failed(ErrorText(e));
    }
    return false;
}

} // namespace kodexa
