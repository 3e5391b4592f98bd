// The text layer: the free-form read of one value, and the F and E output forms.
#include <benchmark/benchmark.h>

#include <string>

#include "bench_support.h"
#include "edit.h"
#include "reads.h"
#include "units.h"

namespace {

constexpr int kLines = 4096;
constexpr int kUnit = 11;  // a unit the programs do not use

// One value with a label after it, as the lines of INPUT.UV hold them; the file is read
// a line per iteration and rewound when used up.
void BM_read_free(benchmark::State& state) {
    bench::enter_work_dir();
    std::string text;
    for (int i = 0; i < kLines; ++i) text += "101325.0   reactant pressure (Pa)\r\n";
    bench::write_file("VALUES.TXT", text);
    core::open_unit(kUnit, "VALUES.TXT", core::OpenStatus::Old);
    int left = 0;
    double v = 0;
    for (auto _ : state) {
        if (left == 0) {
            state.PauseTiming();
            core::rewind_unit(kUnit);
            left = kLines;
            state.ResumeTiming();
        }
        core::read_free(kUnit, v);
        --left;
        benchmark::DoNotOptimize(v);
    }
    core::close_unit(kUnit);
    if (v != 101325.0) state.SkipWithError("wrong value read");
}
BENCHMARK(BM_read_free);

// Values of the reports' fields: a flame temperature, mole fractions, a pressure.
constexpr double kValues[] = {2584.6049, 0.0009430954, 0.70232856, 891031.27, 1.1580133, 0.0, -0.5, 1.5e-9};
constexpr int kCount = sizeof kValues / sizeof kValues[0];

void BM_put_F(benchmark::State& state) {
    std::string out;
    out.reserve(64);
    int i = 0;
    for (auto _ : state) {
        out.clear();
        core::put_F(out, kValues[i], 10, 8);
        i = i + 1 == kCount ? 0 : i + 1;
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_put_F);

void BM_put_E(benchmark::State& state) {
    std::string out;
    out.reserve(64);
    int i = 0;
    for (auto _ : state) {
        out.clear();
        core::put_E(out, kValues[i], 13, 6);
        i = i + 1 == kCount ? 0 : i + 1;
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_put_E);

}  // namespace
