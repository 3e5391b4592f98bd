// The general method's completion and sensitivities. The composition: the species at
// the converged unknowns (the seven relations hold exactly), the fuel per mole of
// products from the oxygen balance, which every charge has (EQMD takes the carbon
// balance: the same number at convergence), and argon. The derivatives by T, P and F:
// implicit differentiation of the balances with the converged Jacobian; the atom
// ratios move with F through all of the oxidizer, its CO2 and H2O included.
#include <cmath>

#include "eqmd.h"
#include "equil_general.h"

namespace core::general_detail {

using eqmd_detail::OK;
using eqmd_detail::SINGULAR_SENS;

namespace {

enum Column { CT = 0, CP = 1, CF = 2, NCOL = 3 };

// d ln X(i)/d(column) at fixed unknowns.
double explicit_log_slope(const Work& w, int i, int col) {
    if (col == CT) return w.dlnK[i];
    if (col == CP) return SPECIES[i].p_exponent / BLOC.P;
    return 0;
}

}  // namespace

int complete_and_sensitivities(Work& w, Vec1<13>& X, TAB_t& tab) {
    const double bO = w.c.b[BO];
    for (int i = 1; i <= NGAS; ++i) X(i) = w.X[i - 1];
    X(13) = w.AO / bO;
    X(12) = X(13) * w.c.Ar;

    // Right-hand sides: minus the explicit derivatives of the balances.
    const double dbO = w.c.db[BO];
    const double drAr = (w.c.dAr - w.rAr * dbO) / bO;
    assemble(w);
    double A[NBASE][NBASE], rhs[NBASE * NCOL] = {};
    for (int k = 0; k < NBASE; ++k) {  // all NBASE: see assemble
        for (int m = 0; m < NBASE; ++m) A[k][m] = w.J[k][m] / w.scale[k];
        for (int i = 0; i < NGAS; ++i) {
            if (!w.on[i]) continue;
            const double term = w.coef[k][i] * w.X[i];
            rhs[k * NCOL + CT] -= term * w.dlnK[i];
            rhs[k * NCOL + CP] -= term * SPECIES[i].p_exponent / BLOC.P;
        }
        rhs[k * NCOL + CF] = k == 0 ? -w.AO * drAr : w.AO * w.dratio[k];
        for (int col = 0; col < NCOL; ++col) rhs[k * NCOL + col] /= w.scale[k];
    }
    if (solve_linear(NBASE, A, rhs, NCOL) != OK) return SINGULAR_SENS;

    for (int col = 0; col < NCOL; ++col)
        for (int m = 0; m < w.n; ++m) w.dy[col][w.var[m]] = rhs[m * NCOL + col];
    Vec1<NSPEC> D[NCOL];
    for (int col = 0; col < NCOL; ++col) {
        double dAO = 0;
        for (int i = 0; i < NGAS; ++i) {
            if (!w.on[i]) continue;
            double slope = explicit_log_slope(w, i, col);
            for (int m = 0; m < NBASE; ++m) slope += w.nu[i][m] * rhs[m * NCOL + col];
            D[col](i + 1) = w.X[i] * slope;
            dAO += SPECIES[i].atoms[BO] * D[col](i + 1);
        }
        D[col](12) = w.rAr * dAO + (col == CF ? w.AO * drAr : 0);
        for (int i = 1; i <= NSPEC; ++i)
            if (!std::isfinite(D[col](i))) return SINGULAR_SENS;
    }
    tab.DXT = D[CT];
    tab.DXP = D[CP];
    tab.DXF = D[CF];
    return OK;
}

}  // namespace core::general_detail
