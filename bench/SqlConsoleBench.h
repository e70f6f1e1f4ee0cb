#pragma once
// The SQL console over a large result: time to the first rows shown and peak memory.

namespace kodexa::bench {

// Registers the benchmarks; in the memory probe's child process runs the probe and exits.
void RegisterSqlConsoleBenchmarks();

} // namespace kodexa::bench
