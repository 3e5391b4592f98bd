// The general method's first estimate: the products of complete combustion, with the
// O2 fraction from the oxygen balance (as EQMD's cold start), but solved in the
// logarithm of sqrt(O2) over the whole range of doubles, so that rich, cold products
// with far less O2 than 1E-37 have a start too.
#include <algorithm>
#include <cmath>

#include "equil_general.h"

namespace core::general_detail {

namespace {

// 1/(1 + exp(-a)) and ln(1 + exp(a)) without overflow.
double logistic(double a) { return a >= 0 ? 1 / (1 + std::exp(-a)) : std::exp(a) / (1 + std::exp(a)); }
double softplus(double a) { return a > 0 ? a + std::log1p(std::exp(-a)) : std::log1p(std::exp(a)); }

constexpr double U_LOW = -800;   // ln sqrt(O2) below any double: the balance is short there
constexpr double U_TOL = 1e-3;   // the first estimate needs no more
constexpr int U_STEPS = 100;

}  // namespace

void cold_start(Work& w) {
    const double* b = w.c.b;
    const double lnK6 = w.lnK[8], lnK7 = w.lnK[9];  // H2O, CO2
    // Moles of products per mole of fuel: excess O2 left (lean), or none and all the
    // carbon and hydrogen unburnt as CO and H2 as far as the oxygen lacks (rich: the
    // moles are those of CO and H2 whichever way the oxygen is shared).
    const double E = w.c.E;  // 2 b(O) - 4 b(C) - b(H)
    const double moles = E >= 0 ? b[BO] / 2 + b[BH] / 4 + b[BN] / 2 + w.c.Ar
                                : b[BC] + b[BH] / 2 + b[BN] / 2 + w.c.Ar;
    const double PAR = 1 / moles;

    // Oxygen balance in u = ln sqrt(O2): carbon as CO and CO2, hydrogen as H2 and H2O,
    // the rest as O2, written with E (b(O) = 2 b(C) + b(H)/2 + E/2) so that near F = 1
    // it is a balance of the minor species CO, H2 and O2. Rises with u; below zero at
    // U_LOW (less carbon than oxygen) and not below it at u = 0 (O2 = 1), so a bracketed
    // Newton iteration finds its root.
    auto balance = [&](double u, double& slope) {
        const double c7 = logistic(-lnK7 - u), c6 = logistic(-lnK6 - u), o2 = std::exp(2 * u);
        slope = PAR * (b[BC] * c7 * (1 - c7) + b[BH] / 2 * c6 * (1 - c6)) + 4 * o2;
        return 2 * o2 - PAR * (b[BC] * c7 + b[BH] / 2 * c6 + E / 2);
    };
    double lo = U_LOW, hi = 0;
    double u = E > 0 ? std::max(0.5 * std::log(E / 4 * PAR), U_LOW / 2) : -std::max(lnK6, lnK7);
    u = std::clamp(u, lo, hi);
    for (int step = 0; step < U_STEPS; ++step) {
        double slope;
        const double f = balance(u, slope);
        (f < 0 ? lo : hi) = u;
        double next = slope > 0 ? u - f / slope : 0.5 * (lo + hi);
        if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);  // outside the bracket: bisect
        const bool done = std::abs(next - u) <= U_TOL;
        u = next;
        if (done) break;
    }

    w.y[BO] = 2 * u;
    if (w.c.present[BH]) w.y[BH] = std::log(b[BH] / 2 * PAR) - softplus(lnK6 + u);
    if (w.c.present[BC]) w.y[BC] = std::log(b[BC] * PAR) - softplus(lnK7 + u);
    if (w.c.present[BN]) w.y[BN] = std::log(b[BN] / 2 * PAR);
}

}  // namespace core::general_detail
