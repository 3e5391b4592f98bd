// TABLES: loading GPROP.DAT into the constants and property tables, the file's open
// and read included, as every run of either program does it once.
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "routines.h"
#include "state.h"

namespace {

void BM_TABLES(benchmark::State& state) {
    bench::load_tables();
    for (auto _ : state) {
        core::TABLES();
        benchmark::DoNotOptimize(core::DDATA.CKP(50, 7));
    }
    if (core::DDCON.RJOUL < 8314 || core::DDCON.RJOUL > 8315) state.SkipWithError("tables not loaded");
}
BENCHMARK(BM_TABLES);

}  // namespace
