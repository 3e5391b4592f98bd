// PER, which runs EQMD: from a cold start, and warm as the flame iteration calls it.
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "eqmd.h"
#include "routines.h"
#include "state.h"

namespace {

// Marks the run as failed unless the last call solved, and started as expected.
bool solved(benchmark::State& state, bool warm) {
    if (core::GGCNTL.IERQ != 0) {
        state.SkipWithError("the equilibrium failed");
        return false;
    }
    if (core::eqmd_last_call().warm != warm) {
        state.SkipWithError(warm ? "a call meant to be warm started cold" : "a call meant to be cold started warm");
        return false;
    }
    return true;
}

// Each call is 500 K away from the previous one, far outside the warm-start band, so
// every call makes the cold start's first estimate before its Newton iteration.
void BM_PER_cold(benchmark::State& state) {
    bench::load_tables();
    bench::set_methane_state(2000);
    bool high = false;
    long steps = 0;
    for (auto _ : state) {
        core::BLOC.T = high ? 2500 : 2000;
        high = !high;
        core::PER();
        benchmark::DoNotOptimize(core::PROP);
        if (!solved(state, false)) break;
        steps += core::eqmd_last_call().newton_steps;
    }
    state.counters["newton_steps"] = benchmark::Counter(double(steps), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PER_cold);

// A hot, thin state that the cold start cannot reach (methane at 0.1 atm, 3500 K and
// 3600 K in turn, more than the warm-start band apart): each call fails its cold start
// and is solved by continuation from a lower temperature. The price of a continuation
// against BM_PER_cold; `solves` counts the continuation's own solves per call.
void BM_PER_continued(benchmark::State& state) {
    bench::load_tables();
    bench::set_methane_state(3500);
    core::BLOC.P = 0.1 * 101325;
    bool high = false;
    long steps = 0, solves = 0;
    for (auto _ : state) {
        core::BLOC.T = high ? 3600 : 3500;
        high = !high;
        core::PER();
        benchmark::DoNotOptimize(core::PROP);
        if (core::GGCNTL.IERQ != 0 || core::eqmd_last_call().continued == 0) {
            state.SkipWithError("the state was not solved by continuation");
            break;
        }
        steps += core::eqmd_last_call().newton_steps;
        solves += core::eqmd_last_call().continued;
    }
    state.counters["newton_steps"] = benchmark::Counter(double(steps), benchmark::Counter::kAvgIterations);
    state.counters["solves"] = benchmark::Counter(double(solves), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PER_continued);

// Successive calls 3 K apart, going up and down between 2200 K and 2260 K: each starts
// from the previous call's solution, as in the flame iteration.
void BM_PER_warm(benchmark::State& state) {
    bench::load_tables();
    bench::set_methane_state(2200);
    core::PER();  // the first call of the series starts cold
    double step = 3;
    long steps = 0;
    for (auto _ : state) {
        if (core::BLOC.T + step > 2260 || core::BLOC.T + step < 2200) step = -step;
        core::BLOC.T += step;
        core::PER();
        benchmark::DoNotOptimize(core::PROP);
        if (!solved(state, true)) break;
        steps += core::eqmd_last_call().newton_steps;
    }
    state.counters["newton_steps"] = benchmark::Counter(double(steps), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PER_warm);

}  // namespace
