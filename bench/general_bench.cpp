// The general equilibrium method beside EQMD's own scheme, per state: cold (successive
// states 500 K apart, outside both warm-start bands) and warm (3 K steps between 2200 K
// and 2260 K, as the flame iteration calls), on stoichiometric methane in air at 1 atm;
// and hydrogen through EQMD, which hands it to the general method.
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "eqmd.h"
#include "equil_general.h"
#include "routines.h"
#include "state.h"

namespace {

int solve_eqmd() {
    core::GGCNTL.IERQ = 0;
    core::EQMD();
    return core::GGCNTL.IERQ;
}

int solve_general() { return core::equil_general(); }

// Each call 500 K from the one before.
void BM_equilibrium_cold(benchmark::State& state, int (*solve)()) {
    bench::load_tables();
    bench::set_methane_state(2000);
    bool high = false;
    for (auto _ : state) {
        core::BLOC.T = high ? 2500 : 2000;
        high = !high;
        if (solve() != 0) {
            state.SkipWithError("the equilibrium failed");
            break;
        }
        benchmark::DoNotOptimize(core::BLOC.X);
    }
}
BENCHMARK_CAPTURE(BM_equilibrium_cold, EQMD, solve_eqmd);
BENCHMARK_CAPTURE(BM_equilibrium_cold, general, solve_general);

// Each call 3 K from the one before.
void BM_equilibrium_warm(benchmark::State& state, int (*solve)(), double AN, double AM) {
    bench::load_tables();
    bench::set_methane_state(2200);
    core::BLOC.AN = AN;
    core::BLOC.AM = AM;
    solve();  // the first call of the series starts cold
    double step = 3;
    long steps = 0;
    for (auto _ : state) {
        if (core::BLOC.T + step > 2260 || core::BLOC.T + step < 2200) step = -step;
        core::BLOC.T += step;
        if (solve() != 0) {
            state.SkipWithError("the equilibrium failed");
            break;
        }
        benchmark::DoNotOptimize(core::BLOC.X);
        steps += core::equil_general_last_call().newton_steps;
    }
    state.counters["general_steps"] = benchmark::Counter(double(steps), benchmark::Counter::kAvgIterations);
}
BENCHMARK_CAPTURE(BM_equilibrium_warm, EQMD, solve_eqmd, 1, 4);
BENCHMARK_CAPTURE(BM_equilibrium_warm, general, solve_general, 1, 4);
BENCHMARK_CAPTURE(BM_equilibrium_warm, EQMD_hydrogen, solve_eqmd, 0, 2);

}  // namespace
