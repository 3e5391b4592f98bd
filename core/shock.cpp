// The normal shock in a gas of fixed composition (frozen: too fast for the chemistry).
//
// Mass flux m = rho1 u1 through the shock; momentum and energy with v = 1/rho:
//   P2 + m^2 v2 = P1 + m^2 v1,   h2 + m^2 v2^2 / 2 = h1 + m^2 v1^2 / 2,
// h from the tables at the fixed composition. Newton on T2 and ln P2, with the analytic
// Jacobian (dh/dT = cp, dv/dT = R / P, dv/d ln P = -v), from the ideal-gas shock of the
// frozen exponent, which keeps it off the trivial root (no shock, T2 = T1).
#include <cmath>
#include <limits>

#include "entropy.h"
#include "process_state.h"
#include "processes.h"

namespace core {

using namespace process_detail;

ShockResult frozen_shock(const Vec1<13>& X, double T1, double P1, double u1) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    ShockResult r{ProcessEnd::Subsonic, nan, nan, nan, nan};
    frozen_state(X, T1, P1);
    const double R = PROP.R, h1 = PROP.H, v1 = R * T1 / P1, m2 = (u1 / v1) * (u1 / v1);
    const double g = SPROP.GAMF, M2 = u1 * u1 / (SPROP.AF * SPROP.AF);
    if (!(M2 > 1)) return r;

    double y = std::log(P1 * (1 + 2 * g / (g + 1) * (M2 - 1)));
    double T = T1 * std::exp(y) / P1 * ((g - 1) * M2 + 2) / ((g + 1) * M2);
    T = std::fmin(T, PROCESS_T_MAX);
    const Residuals eval = [&](double Tk, double yk, double f[2], double (*J)[2]) {
        const double P2 = std::exp(yk);
        frozen_state(X, Tk, P2);
        const double v2 = R * Tk / P2;
        f[0] = (P2 + m2 * v2 - P1 - m2 * v1) / P1;
        f[1] = (PROP.H + 0.5 * m2 * v2 * v2 - h1 - 0.5 * m2 * v1 * v1) / (R * T1);
        if (J) {
            J[0][0] = m2 * R / P2 / P1;
            J[0][1] = (P2 - m2 * v2) / P1;
            J[1][0] = (SPROP.CPF + m2 * v2 * R / P2) / (R * T1);
            J[1][1] = -m2 * v2 * v2 / (R * T1);
        }
        return true;
    };
    r.end = newton(eval, T, y, NewtonSettings{});
    if (r.end != ProcessEnd::Solved) return r;
    const double v2 = R * T / BLOC.P;
    r.u2 = u1 * v2 / v1;
    r.P_ratio = BLOC.P / P1;
    r.T_ratio = T / T1;
    r.rho_ratio = v1 / v2;
    return r;
}

}  // namespace core
