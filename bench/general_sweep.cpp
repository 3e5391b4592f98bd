// general_sweep: the general equilibrium method against EQMD's own scheme, and over the
// fuels and oxidizers EQMD's own scheme cannot solve.
//
// 1. Agreement: on eqmd_sweep's grid (methane and n-octane in air, F 0.6-1.6, T 300-4000 K
//    by 10 K, P 0.01-100 atm), wherever EQMD's own scheme converges, the largest relative
//    difference of each species above 1E-20 (and of X(13)) between the general method
//    and EQMD: as EQMD stops (its Newton iteration ends on a step below 1E-3 of each
//    variable), and with EQMD's own iteration carried on to its fixed point, which shows
//    what is left of the equations and tables themselves. Near F = 1 both are solved at
//    EQMD's PHI, 0.9995. Unsolved states with the general method off and on.
// 2. Coverage: methane, n-octane, hydrogen, ammonia, CO and a 50/50 methane-hydrogen
//    blend, F 0.3-3.0 by 0.1 (where carbon stays below oxygen), T 300-5000 K by 50 K,
//    P 0.001-1000 atm by decades, in air, pure O2 and an EGR oxidizer (N2 3.76, CO2 0.2,
//    H2O 0.3 per O2): unsolved states by message id, with the general method off and on.
// Every state is the first equilibrium of a run (a cold solver), through EQMD itself
// (PER's range check stops at 4000 K).
//   general_sweep
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "bench_support.h"
#include "eqmd.h"
#include "equil_general.h"
#include "routines.h"
#include "runend.h"
#include "sermsg.h"
#include "state.h"

namespace {

constexpr double ATM = 101325;
const char* const kNames[13] = {"H", "O", "N", "H2", "OH", "CO", "NO", "O2", "H2O", "CO2", "N2", "Ar", "X13"};

struct Fuel {
    const char* name;
    double AN, AM, AL, AK;
};

struct Saved {
    core::DDATA_t data = core::DDATA;
    core::DDCON_t con = core::DDCON;
    // A fresh run: cold solvers, no warnings counted, the tables and an oxidizer in place.
    void fresh(const core::DDAIR_t& air) const {
        core::reset_run_state();
        core::DDATA = data;
        core::DDCON = con;
        core::DDAIR = air;
    }
};

// Messages go nowhere: a sweep counts the status alone. A terminal message (GE12) ends
// the state, not the sweep.
void ignore_message(std::int32_t, std::string_view, std::string_view) {}

void solve() {
    try {
        core::EQMD();
    } catch (const core::RunEnd&) {
        core::GGCNTL.IERQ = -1;
    }
}

void pose(const Fuel& f, double F, double T, double P) {
    core::BLOC_t& b = core::BLOC;
    b.AN = f.AN, b.AM = f.AM, b.AL = f.AL, b.AK = f.AK, b.F = F, b.T = T, b.P = P;
    core::GGCNTL.IERQ = 0;
}

void agreement(const Saved& saved) {
    const core::DDAIR_t air = core::DDAIR;
    constexpr Fuel fuels[] = {{"CH4", 1, 4, 0, 0}, {"C8H18", 8, 18, 0, 0}};
    double as_stops[13] = {}, fixed[13] = {};
    long states = 0, compared = 0, unsolved_before = 0, unsolved_after = 0;
    for (const Fuel& fuel : fuels)
        for (double patm : {0.01, 0.1, 1.0, 10.0, 100.0})
            for (int f = 6; f <= 16; ++f)
                for (int T = 300; T <= 4000; T += 10) {
                    ++states;
                    saved.fresh(air);
                    pose(fuel, f / 10.0, T, patm * ATM);
                    solve();
                    if (core::GGCNTL.IERQ != 0) ++unsolved_after;
                    if (core::GGCNTL.IERQ != 0 || core::eqmd_last_call().general) {
                        ++unsolved_before;
                        continue;
                    }
                    const core::Vec1<13> eqmd = core::BLOC.X;
                    core::eqmd_detail::to_fixed_point();
                    const core::Vec1<13> eqmd_fixed = core::BLOC.X;
                    // The general method at EQMD's PHI.
                    if (std::abs(core::BLOC.F - 1) <= core::eqmd_const::PHI_BAND)
                        core::BLOC.F = core::eqmd_const::PHI_NEAR_ONE;
                    if (core::equil_general() != 0) {
                        std::printf("general method failed where EQMD converged: %s F=%.1f T=%d P=%g atm\n", fuel.name,
                                    f / 10.0, T, patm);
                        continue;
                    }
                    ++compared;
                    for (int i = 1; i <= 13; ++i) {
                        const double g = core::BLOC.X(i);
                        if (eqmd(i) > 1e-20) as_stops[i - 1] = std::max(as_stops[i - 1], std::abs(g / eqmd(i) - 1));
                        if (eqmd_fixed(i) > 1e-20)
                            fixed[i - 1] = std::max(fixed[i - 1], std::abs(g / eqmd_fixed(i) - 1));
                    }
                }
    std::printf("1. Agreement on eqmd_sweep's grid: %ld states, %ld solved by EQMD's own scheme and compared\n", states,
                compared);
    std::printf("   unsolved: %ld with EQMD's own scheme (with continuation), %ld with the general method\n",
                unsolved_before, unsolved_after);
    std::printf("   largest relative difference, species above 1E-20:\n   %-5s %12s %12s\n", "", "EQMD stops", "fixed point");
    double worst_stop = 0, worst_fixed = 0;
    for (int i = 0; i < 13; ++i) {
        std::printf("   %-5s %12.2E %12.2E\n", kNames[i], as_stops[i], fixed[i]);
        worst_stop = std::max(worst_stop, as_stops[i]);
        worst_fixed = std::max(worst_fixed, fixed[i]);
    }
    std::printf("   %-5s %12.2E %12.2E\n", "all", worst_stop, worst_fixed);
}

const char* id_of(int code) {
    static const char* const ids[] = {"GE05", "GE06", "GE07", "GE08", "GE09", "GE10"};
    return code >= 3 && code <= 8 ? ids[code - 3] : code == -1 ? "GE12" : "other";
}

void coverage(const Saved& saved) {
    constexpr Fuel fuels[] = {{"CH4", 1, 4, 0, 0}, {"C8H18", 8, 18, 0, 0}, {"H2", 0, 2, 0, 0},
                              {"NH3", 0, 3, 0, 1}, {"CO", 1, 0, 1, 0},     {"CH4+H2", 0.5, 3, 0, 0}};
    struct Oxidizer {
        const char* name;
        core::DDAIR_t q;
    };
    const Oxidizer oxidizers[] = {{"air", {3.76, 0, 0, 0}}, {"O2", {0, 0, 0, 0}}, {"EGR", {3.76, 0, 0.2, 0.3}}};
    for (bool general : {false, true}) {
        core::set_eqmd_general_method(general);
        std::map<std::string, long> unsolved;  // "fuel oxidizer id"
        long states = 0, failures = 0, too_much_carbon = 0, worst_steps = 0;
        const auto t0 = std::chrono::steady_clock::now();
        for (const Oxidizer& ox : oxidizers)
            for (const Fuel& fuel : fuels)
                for (double patm : {0.001, 0.01, 0.1, 1.0, 10.0, 100.0, 1000.0})
                    for (int f = 3; f <= 30; ++f)
                        for (int T = 300; T <= 5000; T += 50) {
                            const double F = f / 10.0;
                            // Carbon at or above oxygen (solid carbon) is outside the sweep.
                            const double R0 = (fuel.AN + fuel.AM / 4 - fuel.AL / 2) / F;
                            const double C = fuel.AN + ox.q.QCO2 * R0;
                            const double O = fuel.AL + 2 * R0 * (1 + ox.q.QCO2 + ox.q.QH2O / 2);
                            if (C >= O) {
                                ++too_much_carbon;
                                continue;
                            }
                            ++states;
                            char key[64];
                            std::snprintf(key, sizeof key, "%-6s %-3s", fuel.name, ox.name);
                            if (!general && (fuel.AN == 0 || fuel.AM == 0)) {  // refused: GE12
                                ++failures;
                                ++unsolved[std::string(key) + " GE12"];
                                continue;
                            }
                            saved.fresh(ox.q);
                            pose(fuel, F, T, patm * ATM);
                            solve();
                            if (core::GGCNTL.IERQ != 0) {
                                ++failures;
                                ++unsolved[std::string(key) + " " + id_of(core::GGCNTL.IERQ)];
                                if (getenv("LIST")) std::printf("%s F=%.1f T=%d P=%g\n", key, F, T, patm);
                            } else if (core::eqmd_last_call().general) {
                                worst_steps = std::max<long>(worst_steps, core::eqmd_last_call().newton_steps);
                            }
                        }
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        std::printf("2. Coverage, general method %s: %ld states (%ld more need solid carbon), %ld unsolved; %.2f s\n",
                    general ? "on" : "off", states, too_much_carbon, failures, s);
        if (general) std::printf("   most Newton steps of a general solve: %ld\n", worst_steps);
        for (const auto& [key, n] : unsolved) std::printf("   %s: %ld\n", key.c_str(), n);
    }
    core::set_eqmd_general_method(true);
}

}  // namespace

int main() {
    bench::load_tables();
    core::set_message_sink(ignore_message);
    std::string console;  // what the ends of the states write
    core::console_capture(&console, &console);
    const Saved saved;
    const core::DDAIR_t air = core::DDAIR;
    agreement(saved);
    coverage(saved);
    saved.fresh(air);
    core::console_capture(nullptr, nullptr);
    return 0;
}
