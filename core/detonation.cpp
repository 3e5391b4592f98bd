// The Chapman-Jouguet detonation of the reactants in FUEL.
//
// In the frame of the front the reactants (1) enter at the detonation velocity D = u1 and
// the burned gas (2) leaves at u2. Mass, momentum and energy across it:
//   rho1 u1 = rho2 u2,  P1 + rho1 u1^2 = P2 + rho2 u2^2,  h1 + u1^2/2 = h2 + u2^2/2,
// with h1 the reactants' enthalpy per kg, formation included (HREAC / (RMOLES AVMR)).
// The first two give the Rayleigh line, u1^2 = v1^2 (P2 - P1) / (v1 - v2); with it the
// third is the Hugoniot relation h2 - h1 = (P2 - P1) (v1 + v2) / 2. The CJ condition, the
// burned gas leaving at its equilibrium speed of sound (u2 = a2, a2^2 = gamma_s P2 v2),
// is the Rayleigh line's tangency: (P2 - P1) / (v1 - v2) = gamma_s P2 / v2. Newton solves
// the Hugoniot relation and the tangency for T2 and ln P2, each state at equilibrium,
// from a guess beyond the constant-pressure flame (the upper, detonation branch).
#include <cmath>
#include <limits>

#include "entropy.h"
#include "process_state.h"
#include "processes.h"

namespace core {

using namespace process_detail;

namespace {
constexpr double T_GUESS_HP = 2000;   // K: start of the constant-pressure flame search
constexpr double T_OVER_HP = 1.2;     // the detonation's T2 guess over the flame temperature
constexpr double RHO_RATIO = 1.8;     // the density ratio of the P2 guess
}  // namespace

DetonationResult chapman_jouguet(double gamma1) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    DetonationResult r{ProcessEnd::NotConverged, nan, nan, nan, nan, nan, nan};
    const FUEL_t& f = FUEL;
    const double T1 = f.TREAC, P1 = f.PREAC;
    const double h1 = f.HREAC / (f.RMOLES * f.AVMR);
    const double R1 = DDCON.RJOUL / f.AVMR;
    const double v1 = R1 * T1 / P1;

    // The constant-pressure flame: where it is no hotter than the reactants, the
    // charge releases no energy and cannot detonate. A search that fails or leaves the
    // tables below the reactant temperature was heading there.
    double T = T_GUESS_HP, y = std::log(P1);
    const Residuals flame = [&](double Tk, double yk, double g[2], double (*J)[2]) {
        if (!equilibrium_state(Tk, P1)) return false;
        g[0] = (PROP.H - h1) / (R1 * T1);
        g[1] = yk - std::log(P1);
        if (J) J[0][0] = PROP.DHT / (R1 * T1), J[0][1] = 0, J[1][0] = 0, J[1][1] = 1;
        return true;
    };
    r.end = newton(flame, T, y, NewtonSettings{});
    const bool failed_low = r.end == ProcessEnd::BelowTables || r.end == ProcessEnd::NoEquilibrium;
    if (T <= T1 && (failed_low || r.end == ProcessEnd::Solved)) {
        r.end = ProcessEnd::DoesNotBurn;
        return r;
    }
    if (r.end == ProcessEnd::AboveTables) T = PROCESS_T_MAX / T_OVER_HP;
    else if (r.end != ProcessEnd::Solved) return r;

    T = std::fmin(T * T_OVER_HP, PROCESS_T_MAX);
    y = std::log(P1 * RHO_RATIO * (T / T1) * (f.AVMR / PROP.AVM));
    const Residuals cj = [&](double Tk, double yk, double g[2], double (*)[2]) {
        const double P2 = std::exp(yk);
        if (!equilibrium_state(Tk, P2)) return false;
        const double v2 = PROP.R * Tk / P2;
        g[0] = (PROP.H - h1 - 0.5 * (P2 - P1) * (v1 + v2)) / (PROP.R * Tk);
        g[1] = (1 - P1 / P2) - SPROP.GAMS * (v1 / v2 - 1);
        return true;
    };
    NewtonSettings s;
    s.numeric_jacobian = true;
    s.max_step_y = 0.5;
    r.end = newton(cj, T, y, s);
    if (r.end != ProcessEnd::Solved) return r;

    const double P2 = BLOC.P, v2 = PROP.R * BLOC.T / P2;
    r.D = v1 * std::sqrt((P2 - P1) / (v1 - v2));
    r.u2 = r.D * v2 / v1;
    r.P_ratio = P2 / P1;
    r.T_ratio = BLOC.T / T1;
    r.rho_ratio = v1 / v2;
    r.Mach = r.D / std::sqrt(gamma1 * R1 * T1);
    return r;
}

}  // namespace core
