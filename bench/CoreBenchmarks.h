#pragma once

// The benchmark topics of the core; each registers its benchmarks and its summary lines.
namespace kanaroll::bench {

void RegisterListInfoBenchmarks();
void RegisterNameListBenchmarks();
void RegisterNameListUtf8Benchmarks();
void RegisterGameOrderBenchmarks();
void RegisterListCheckBenchmarks();

}  // namespace kanaroll::bench
