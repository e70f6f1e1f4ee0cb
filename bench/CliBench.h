#pragma once
// Benchmarks of kodexa-cli against the sqlite3 shell.

namespace kodexa::bench {

void RegisterCliBenchmarks();

} // namespace kodexa::bench
