// The states of the processes and their Newton iteration.
#include "process_state.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "entropy.h"
#include "lookup.h"
#include "routines.h"

namespace core::process_detail {

namespace {
// The lowest temperature posed: PER stops at 100 K and below.
constexpr double T_FLOOR = PROCESS_T_MIN * (1 + 1e-9);
constexpr double STEP_T = 1e-4;  // relative difference in T for a numeric Jacobian
constexpr double STEP_Y = 1e-4;  // difference in ln P
}  // namespace

bool equilibrium_state(double T, double P) {
    BLOC.T = T;
    BLOC.P = P;
    PER();
    if (GGCNTL.IERQ != 0) return false;
    PERS();
    return true;
}

void frozen_state(const Vec1<13>& X, double T, double P) {
    BLOC.X = X;
    BLOC.T = T;
    BLOC.P = P;
    PROP_t p;
    double H = 0;
    for (int i = 1; i <= NSPEC; ++i) {
        p.AVM += X(i) * DDATA.SM(i);
        H += X(i) * property_at(DDATA.HT, i, T);
    }
    p.H = H / p.AVM;
    p.R = DDCON.RJOUL / p.AVM;
    p.U = p.H - p.R * T;
    SPROP = frozen_entropy_properties(X, T, P);
    p.DHT = SPROP.CPF;
    p.DUT = SPROP.CPF - p.R;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    p.DRF = p.DHF = p.DUF = nan;  // F does not move a frozen composition
    PROP = p;
    for (int i = 1; i <= NSPEC; ++i) {
        TAB.DXT(i) = 0;
        TAB.DXP(i) = 0;
        TAB.DXF(i) = nan;
    }
}

ProcessEnd newton(const Residuals& eval, double& T, double& y, const NewtonSettings& s) {
    int pressed = 0;  // successive steps cut back at a temperature limit
    for (int step = 0; step < s.max_steps; ++step) {
        double f[2], J[2][2];
        if (!eval(T, y, f, s.numeric_jacobian ? nullptr : J)) return ProcessEnd::NoEquilibrium;
        if (s.numeric_jacobian) {
            const double hT = STEP_T * T;
            double fT[2], fy[2];
            if (!eval(T + hT, y, fT, nullptr) || !eval(T, y + STEP_Y, fy, nullptr))
                return ProcessEnd::NoEquilibrium;
            for (int i = 0; i < 2; ++i) {
                J[i][0] = (fT[i] - f[i]) / hT;
                J[i][1] = (fy[i] - f[i]) / STEP_Y;
            }
        }
        // Solve: the step d = -J^-1 f.
        const double det = J[0][0] * J[1][1] - J[0][1] * J[1][0];
        if (!(det != 0) || !std::isfinite(det)) return ProcessEnd::NotConverged;
        double dT = -(f[0] * J[1][1] - f[1] * J[0][1]) / det;
        double dy = -(J[0][0] * f[1] - J[1][0] * f[0]) / det;
        // Update: a limited step, T kept in range.
        const double cut = std::max({1.0, std::abs(dT) / (s.max_step_T * T), std::abs(dy) / s.max_step_y});
        dT /= cut;
        dy /= cut;
        const double wanted = T + dT;
        const double Tn = std::clamp(wanted, T_FLOOR, PROCESS_T_MAX);
        const bool clamped = Tn != wanted;
        if (clamped) {
            if (Tn == T && ++pressed >= 2)
                return Tn == PROCESS_T_MAX ? ProcessEnd::AboveTables : ProcessEnd::BelowTables;
        } else {
            pressed = 0;
        }
        // Test: a step small enough ends it, with the state posed at the new point.
        const bool done = !clamped && std::abs(Tn - T) <= s.tol_T * T && std::abs(dy) <= s.tol_y && cut == 1.0;
        T = Tn;
        y += dy;
        if (done) return eval(T, y, f, nullptr) ? ProcessEnd::Solved : ProcessEnd::NoEquilibrium;
    }
    return ProcessEnd::NotConverged;
}

}  // namespace core::process_detail
