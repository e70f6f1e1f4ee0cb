#pragma once
// Peak memory is measured in a child process of the benchmark program, so that what other
// benchmarks allocated does not count: the child is this program started again with an
// environment variable naming what to probe; it prints its figures on one line.

#include <QByteArray>
#include <QList>

namespace kodexa::bench {

// Peak resident size of this process so far, in kB (-1 when unknown).
long VmHWMkB();
// Starts the peak resident size again from the present size (Linux 4.0 and later:
// clear_refs 5 resets VmHWM).
void ResetPeak();
// Starts this program with envVar=books, waits for it and returns the numbers it printed.
QList<QByteArray> RunProbe(const char *envVar, int books);

} // namespace kodexa::bench
