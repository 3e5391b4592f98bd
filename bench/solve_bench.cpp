// A whole constant-volume solve: the program run in-process on the shipped methane
// example (its files read and written, the console captured), and the flame
// iteration alone, without any file, to tell the solve from the input and output.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "bench_support.h"
#include "eqmd.h"
#include "routines.h"
#include "runend.h"
#include "state.h"
#include "uv.h"

namespace {

// The program's solver setting for the time of one benchmark.
struct FlameProgramSetting {
    FlameProgramSetting() { uv::configure_solver(); }
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

// The reactants of the methane example, as the program reads them.
struct Reactants {
    double T_guess = 2500, TREAC = 298.15, PREAC = 101325, HREAC = -74600, RMOLES = 10.52, AVMR = 27.6332;
};

// The program's iteration after TABLES: PER at the current T and P, then the
// temperature correction and the pressure at constant volume, the same operations in
// the same order as the program (uv/driver.cpp), until the correction is at most 0.01 K.
int flame_iteration(const Reactants& r) {
    core::BLOC_t& b = core::BLOC;
    b.T = r.T_guess;
    b.P = (r.PREAC / r.TREAC) * b.T;
    const double UREAC = r.RMOLES * r.TREAC * (-double(8314.51f)) + r.HREAC * 1000;
    for (int iter = 1; iter <= 25; ++iter) {
        core::PER();
        const core::PROP_t& p = core::PROP;
        const double DELT = (p.U - UREAC / (r.RMOLES * r.AVMR)) / p.DUT;
        b.T = b.T - DELT;
        b.P = ((r.AVMR / (p.AVM * r.TREAC)) * r.PREAC) * b.T;
        if (std::fabs(DELT) <= double(0.01f)) return iter;
    }
    return 25;
}

void BM_flame_iteration(benchmark::State& state) {
    bench::load_tables();
    FlameProgramSetting setting;
    bench::set_methane_state(2500);
    const Reactants r;
    int passes = 0;
    for (auto _ : state) {
        passes = flame_iteration(r);
        benchmark::DoNotOptimize(core::BLOC.T);
    }
    state.counters["passes"] = passes;
    // The report of the methane example shows 2584.60 K.
    if (core::GGCNTL.IERQ != 0 || std::fabs(core::BLOC.T - 2584.60) > 0.01)
        state.SkipWithError("the iteration did not reach the example's flame temperature");
}
BENCHMARK(BM_flame_iteration);

}  // namespace
