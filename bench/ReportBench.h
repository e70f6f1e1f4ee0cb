#pragma once
// Hooks of the report benchmarks that bench_main calls.

#include <QString>

namespace kodexa::bench {

void RegisterReportBenchmarks();
// Child-process side of the report memory figures: runs one case (0 pagination, 1 preview,
// 2 PDF) over the cached 200,000-book catalogue and prints the peak resident size in kB.
int ReportProbe(const QString &which);

} // namespace kodexa::bench
