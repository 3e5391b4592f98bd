// eqmd_sweep: how many states of a wide grid the fixed-T,P solve fails, by message id.
//
// Methane and n-octane in air, F 0.6 to 1.6 in steps of 0.1, T 300 K to 4000 K in
// steps of 10 K, P 0.01 to 100 atm by decades: every state solved as the first and
// only equilibrium of a run (a cold solver, as zorvath meets it), three times: EQMD's
// own scheme with the cold start alone and with the continuation that follows a failed
// cold start, then with the general method taking what is left. Prints for
// each the count of failures by id, the time of the sweep and, for each fuel, pressure
// and id, the equivalence ratios and the temperature range of its failures.
//   eqmd_sweep [--list]     (--list: every failing state on a line of its own)
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <utility>

#include "bench_support.h"
#include "eqmd.h"
#include "routines.h"
#include "state.h"
#include "units.h"

namespace {

struct Fuel {
    const char* name;
    double AN, AM;
};

constexpr Fuel kFuels[] = {{"CH4", 1, 4}, {"C8H18", 8, 18}};
constexpr double kPressuresAtm[] = {0.01, 0.1, 1, 10, 100};
constexpr double ATM = 101325;
const char* const kIds[] = {"GE05", "GE06", "GE07", "GE08", "GE09", "GE10"};

struct Span {
    double tmin = 1e9, tmax = 0;
    std::string phis;  // the equivalence ratios met, in order
    int count = 0;
};

// One sweep over the grid with the solver as it is set; the report as described above.
void sweep(const char* title, bool list) {
    const core::DDATA_t data = core::DDATA;
    const core::DDCON_t con = core::DDCON;
    const core::DDAIR_t air = core::DDAIR;

    std::map<std::string, int> by_id;
    std::map<std::string, Span> spans;  // "fuel P id"
    long states = 0;
    const auto t0 = std::chrono::steady_clock::now();
    for (const Fuel& fuel : kFuels)
        for (double patm : kPressuresAtm)
            for (int f = 6; f <= 16; ++f)
                for (int T = 300; T <= 4000; T += 10) {
                    // A fresh run: cold solver, no warnings counted yet.
                    core::reset_run_state();
                    core::DDATA = data;
                    core::DDCON = con;
                    core::DDAIR = air;
                    core::open_unit(core::UNIT_REPORT, "SWEEP.OUT", core::OpenStatus::Unknown);
                    core::BLOC_t& b = core::BLOC;
                    b.AN = fuel.AN;
                    b.AM = fuel.AM;
                    b.F = f / 10.0;
                    b.T = T;
                    b.P = patm * ATM;
                    core::PER();
                    ++states;
                    const int code = core::GGCNTL.IERQ;
                    if (code == 0) continue;
                    const std::string id = code >= 3 && code <= 8 ? kIds[code - 3] : "other";
                    ++by_id[id];
                    char key[64];
                    std::snprintf(key, sizeof key, "%-6s %6g atm %s", fuel.name, patm, id.c_str());
                    Span& s = spans[key];
                    ++s.count;
                    s.tmin = std::min(s.tmin, double(T));
                    s.tmax = std::max(s.tmax, double(T));
                    char phi[8];
                    std::snprintf(phi, sizeof phi, " %.1f", b.F);
                    if (s.phis.find(phi) == std::string::npos) s.phis += phi;
                    if (list) std::printf("%s F=%.1f T=%d\n", key, b.F, T);
                }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    core::release_all_units();
    core::DDATA = data;
    core::DDCON = con;
    core::DDAIR = air;

    int failures = 0;
    for (const auto& [id, n] : by_id) failures += n;
    std::printf("%s: %ld states, %d failures", title, states, failures);
    for (const auto& [id, n] : by_id) std::printf(", %s %d", id.c_str(), n);
    std::printf("\n%.2f s in all, %.1f us a state\n", seconds, 1e6 * seconds / double(states));
    for (const auto& [key, s] : spans)
        std::printf("  %s: %5d states, T %4.0f-%4.0f K, F%s\n", key.c_str(), s.count, s.tmin, s.tmax, s.phis.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    const bool list = argc > 1 && std::strcmp(argv[1], "--list") == 0;
    bench::load_tables();
    core::set_eqmd_general_method(false);
    core::set_eqmd_continuation(false);
    sweep("cold start alone", list);
    core::set_eqmd_continuation(true);
    sweep("with continuation", list);
    core::set_eqmd_general_method(true);
    sweep("with continuation and the general method", list);
    return 0;
}
