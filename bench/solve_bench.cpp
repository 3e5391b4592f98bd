// A whole constant-volume solve: the program run in-process on the shipped methane
// example (its files read and written, the console captured), and the core's flame
// iteration alone, without any file, to tell the solve from the input and output.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "bench_support.h"
#include "eqmd.h"
#include "flame.h"
#include "routines.h"
#include "runend.h"
#include "state.h"
#include "uv.h"

namespace {

// The program's solver setting for the time of one benchmark.
struct FlameProgramSetting {
    FlameProgramSetting() { flame::configure_solver(); }
    ~FlameProgramSetting() { core::set_eqmd_table_row_rule(core::TableRowRule::Divide); }
};

void BM_BRASKOT2_run(benchmark::State& state) {
    bench::enter_work_dir();
    bench::copy_data("examples/methane.uv", "INPUT.UV");
    FlameProgramSetting setting;
    std::string out, err;
    core::console_capture(&out, &err);
    int status = 0;
    for (auto _ : state) {
        out.clear();
        err.clear();
        status = core::run_program(uv::BRASKOT2);
        benchmark::DoNotOptimize(status);
    }
    core::console_capture(nullptr, nullptr);
    if (status != 0 || !err.empty() || out.find("Stop - Program terminated.") == std::string::npos)
        state.SkipWithError("the run did not end normally");
}
BENCHMARK(BM_BRASKOT2_run);

// The methane example's reactants as the program holds them after TABLES, and its guess.
void set_methane_reactants() {
    core::FUEL = {-74600.0 * 1000, 298.15, 101325, 10.52, 27.6332};
    core::BLOC.T = 2500;
}

void BM_flame_iteration(benchmark::State& state) {
    bench::load_tables();
    FlameProgramSetting setting;
    bench::set_methane_state(2500);
    core::FlameResult result{};
    for (auto _ : state) {
        set_methane_reactants();
        core::flame_start(core::FlameEnergy::U);
        result = core::flame_iterate(core::FlameEnergy::U, core::PER);
        benchmark::DoNotOptimize(core::BLOC.T);
    }
    state.counters["passes"] = result.passes;
    // The report of the methane example shows 2584.60 K.
    if (result.end != core::FlameEnd::Converged || std::fabs(core::BLOC.T - 2584.60) > 0.01)
        state.SkipWithError("the iteration did not reach the example's flame temperature");
}
BENCHMARK(BM_flame_iteration);

}  // namespace
