#pragma once
// Long runs (export, import) give the window a turn a few times a second, not after every
// row: on 200,000 rows a turn per row costs seconds.

#include <QElapsedTimer>

namespace kodexa {

class Pacer {
public:
    explicit Pacer(int intervalMs = 150) : interval_(intervalMs) { timer_.start(); }
    // true at most once per interval.
    bool due() {
        if (timer_.elapsed() < interval_)
            return false;
        timer_.restart();
        return true;
    }

private:
    QElapsedTimer timer_;
    int interval_;
};

} // namespace kodexa
