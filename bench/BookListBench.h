#pragma once
// Hooks of the book-list benchmarks that bench_main calls before any benchmark runs.

namespace kodexa::bench {

// Registers the benchmarks. repeat: the 10,000-book cases run five times (leave it to the
// command line's --benchmark_repetitions when false).
void RegisterBookListBenchmarks(bool repeat);

// Child-process side of the memory figure: opens the main window over the cached
// catalogue of `books` books, prints the peak resident sizes on stdout, returns the exit code.
int MemoryProbe(int books);
// Closes the window the benchmarks kept open; before the application object goes.
void CloseWindows();

} // namespace kodexa::bench
