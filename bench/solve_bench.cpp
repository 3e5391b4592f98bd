// Whole flame solves: each flame program run in-process on the shipped methane example
// (its files read and written, the console captured), and the core's constant-volume
// flame iteration alone, without any file, to tell the solve from the input and output.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "bench_support.h"
#include "eqmd.h"
#include "flame.h"
#include "hp.h"
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

// A whole flame program on the methane charge of methane.uv, which both programs read.
void BM_flame_program_run(benchmark::State& state, const flame::FlameProgram* program, void (*body)()) {
    bench::enter_work_dir();
    bench::copy_data("examples/methane.uv", program->input_name);
    FlameProgramSetting setting;
    std::string out, err;
    core::console_capture(&out, &err);
    int status = 0;
    for (auto _ : state) {
        out.clear();
        err.clear();
        status = core::run_program(body);
        benchmark::DoNotOptimize(status);
    }
    core::console_capture(nullptr, nullptr);
    if (status != 0 || !err.empty() || out.find("Stop - Program terminated.") == std::string::npos)
        state.SkipWithError("the run did not end normally");
}
BENCHMARK_CAPTURE(BM_flame_program_run, BRASKOT2, &uv::PROGRAM, uv::BRASKOT2);
BENCHMARK_CAPTURE(BM_flame_program_run, QUELLIN, &hp::PROGRAM, hp::QUELLIN);

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
        // Through a copy: GCC may clobber a double that DoNotOptimize takes by non-const
        // reference (its "+m,r" operand), and the check below reads BLOC.T.
        const double T = core::BLOC.T;
        benchmark::DoNotOptimize(T);
    }
    state.counters["passes"] = result.passes;
    // The report of the methane example shows 2584.60 K.
    if (result.end != core::FlameEnd::Converged || std::fabs(core::BLOC.T - 2584.60) > 0.01)
        state.SkipWithError("the iteration did not reach the example's flame temperature");
}
BENCHMARK(BM_flame_iteration);

}  // namespace
