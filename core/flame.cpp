#include "flame.h"

#include <cmath>

#include "routines.h"
#include "state.h"

namespace core {

namespace {

// The flame programs' own gas constant, J/(kmol K), held in single precision as it
// always has been (8314.509765625); RJOUL of the tables is not used for the reactants.
constexpr double RGAS_REACTANTS = double(8314.51f);
// The iteration has converged when a correction is at most this, K (single precision:
// 0.009999999776482582).
constexpr double DELT_BOUND = double(0.01f);
constexpr int MAX_PASSES = 25;
// The lowest temperature a shortened step goes to: within the bound of the start of the
// tables, so that a flame between the two is found there.
constexpr double T_FLOOR = PER_T_LOW + DELT_BOUND;

// The reactants' energy per kmol of fuel, J/kmol: HREAC itself at constant pressure;
// at constant volume UREAC = RMOLES x TREAC x (-R) + HREAC, the product first.
double reactant_energy(FlameEnergy energy, const FUEL_t& f) {
    if (energy == FlameEnergy::H) return f.HREAC;
    return f.RMOLES * f.TREAC * (-RGAS_REACTANTS) + f.HREAC;
}

// The temperature after a correction. A step that would leave the temperatures PER
// accepts stops at the end of them, so that the search never fails on its way to a flame
// that lies inside; a step that points out again from that end shows that the flame
// itself lies beyond (the energy rises with the temperature), and is taken whole for
// PER to say so (GP01, GP02). Steps inside, and steps beyond the range of numbers, are
// taken as they are.
double next_temperature(double T, double DELT) {
    const double T_next = T - DELT;
    if (!std::isfinite(T_next)) return T_next;
    if (T_next > PER_T_HIGH && T < PER_T_HIGH) return PER_T_HIGH;
    if (T_next <= PER_T_LOW && T > T_FLOOR) return T_FLOOR;
    return T_next;
}

}  // namespace

std::optional<FlameEnd> flame_start(FlameEnergy energy) {
    BLOC_t& b = BLOC;
    const FUEL_t& f = FUEL;
    if (energy == FlameEnergy::H) {
        b.P = f.PREAC;
    } else {
        if (f.TREAC == 0) return FlameEnd::ZeroReactantTemp;
        b.P = (f.PREAC / f.TREAC) * b.T;
    }
    if (!std::isfinite(b.P)) return FlameEnd::NotFinite;
    return std::nullopt;
}

FlameResult flame_iterate(FlameEnergy energy, void (*per)()) {
    BLOC_t& b = BLOC;
    const FUEL_t& f = FUEL;
    const double EREAC = reactant_energy(energy, f);
    // A first pass whose equilibrium fails leaves PROP as it finds it: cleared here, so
    // that its zero derivative says so even after an earlier flame of the same process.
    PROP = PROP_t{};
    for (int ITER = 1; ITER <= MAX_PASSES; ++ITER) {
        per();
        const PROP_t& p = PROP;
        // The products' energy per kg and its derivative at fixed pressure: DUT even at
        // constant volume, where the pressure moves with T; no other derivative enters.
        const double E = energy == FlameEnergy::H ? p.H : p.U;
        const double DET = energy == FlameEnergy::H ? p.DHT : p.DUT;
        if (f.RMOLES * f.AVMR == 0) return {FlameEnd::ZeroReactantMass, ITER};
        // A failed first pass leaves PROP at zero; a failed later one leaves the previous
        // pass's values, which repeat its correction.
        if (DET == 0) return {FlameEnd::NoFirstSolution, ITER};
        const double DELT = (E - EREAC / (f.RMOLES * f.AVMR)) / DET;
        b.T = next_temperature(b.T, DELT);
        // Constant volume: the ideal-gas pressure of the same mass in the same volume,
        // with the products' current molar mass, in this order.
        if (energy == FlameEnergy::U) b.P = ((f.AVMR / (p.AVM * f.TREAC)) * f.PREAC) * b.T;
        if (!std::isfinite(b.T) || !std::isfinite(b.P)) return {FlameEnd::NotFinite, ITER};
        if (std::fabs(DELT) <= DELT_BOUND) return {FlameEnd::Converged, ITER};
    }
    return {FlameEnd::NotConverged, MAX_PASSES};
}

const char* flame_end_line(FlameEnd end) {
    switch (end) {
    case FlameEnd::Converged: return "";
    case FlameEnd::NotConverged: return "Iterations reached 25 - Solution has not converged!";
    case FlameEnd::ZeroReactantTemp:
        return "Reactant temperature is zero - the initial pressure cannot be computed!";
    case FlameEnd::ZeroReactantMass:
        return "Reactant moles or molecular weight is zero - the energy per kg cannot be computed!";
    case FlameEnd::NoFirstSolution:
        return "No equilibrium solution at the first temperature - the iteration cannot start!";
    case FlameEnd::NotFinite:
        return "Temperature or pressure beyond the range of numbers - check the reactant values!";
    }
    return "";
}

}  // namespace core
