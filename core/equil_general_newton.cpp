// The general method's Newton iteration on the logarithms of the base mole fractions,
// in named steps: the species at the current unknowns, the balances and their
// Jacobian, the linear solve, and the capped update.
//
// Balances, one per unknown (O2 pairs with the closure):
//   element e of H, N, C   A(e) - r(e) A(O) = 0    A: atoms of e per mole of products
//                          (for H, or C without H: the valences, 2 A(O) - 4 A(C) - A(H)
//                          - (E/b(O)) A(O) = 0; see Charge)
//   closure                X1 + ... + X11 + (Ar/O) A(O) = 1   (the last term is argon)
// With X(i) = K(i) prod_j x(j)^nu(i,j), d X(i)/d ln x(j) = nu(i,j) X(i): every entry of
// the Jacobian is a sum of positive species terms with the balance's coefficients.
#include <algorithm>
#include <cmath>
#include <limits>

#include "eqmd.h"
#include "equil_general.h"

namespace core::general_detail {

using eqmd_detail::NO_CONVERGENCE;
using eqmd_detail::OK;
using eqmd_detail::SINGULAR;

namespace {

constexpr double STEP_CAP = 3;    // largest change of a logarithm in one step (a factor e^3)
// A full step at most this ends the iteration: Newton's error after it is of the order
// of its square, round-off.
constexpr double STEP_TOL = 1e-7;
constexpr int MAX_STEPS = 100;
constexpr double TINIEST = std::numeric_limits<double>::denorm_min();

// The coefficient of species i in balance k (see above).
}  // namespace

void prepare_balances(Work& w) {
    for (int i = 0; i < NGAS; ++i) {
        for (int k = 0; k < w.n; ++k) {
            w.coef[k][i] = coefficient(w, k, i);
            w.nu[i][k] = SPECIES[i].nu[w.var[k]];
        }
        for (int j = 0; j < NBASE; ++j) w.halves[i][j] = static_cast<int>(2 * SPECIES[i].nu[j]);
        w.K[i] = std::exp(w.lnK[i]);
    }
}

double coefficient(const Work& w, int k, int i) {
    const SpeciesRow& s = SPECIES[i];
    if (k == 0) return 1 + w.rAr * s.atoms[BO];
    double c = -w.ratio[k] * s.atoms[BO];
    for (int e = 0; e < NBASE; ++e) c += w.weight[k][e] * s.atoms[e];
    return c;
}

void species_at(Work& w) {
    // X(i) = K(i) prod_j x(j)^nu(i,j) with every nu a multiple of 1/2: from the square
    // roots of the base mole fractions, four exponentials a step.
    double root[NBASE];
    for (int j = 0; j < NBASE; ++j) root[j] = w.c.present[j] ? std::exp(0.5 * w.y[j]) : 0;
    w.AO = 0;
    for (int i = 0; i < NGAS; ++i) {
        if (!w.on[i]) {
            w.X[i] = 0;
            continue;
        }
        double x = w.K[i];
        for (int j = 0; j < NBASE; ++j)
            for (int half = w.halves[i][j]; half > 0; --half) x *= root[j];
        // Below the smallest double a species is still present: it keeps that value.
        w.X[i] = std::max(x, TINIEST);
        w.AO += SPECIES[i].atoms[BO] * w.X[i];
    }
}

// Always NBASE balances and unknowns, so that the loops have a fixed length: a balance
// and an unknown beyond the n in use have zero coefficients and exponents, and an
// identity row of their own that keeps their correction zero.
void assemble(Work& w) {
    for (int k = 0; k < NBASE; ++k) {
        w.g[k] = k == 0 ? -1 : 0;
        w.scale[k] = k == 0 ? 1 : 0;
        for (int m = 0; m < NBASE; ++m) w.J[k][m] = 0;
    }
    for (int i = 0; i < NGAS; ++i) {
        if (!w.on[i]) continue;
        for (int k = 0; k < NBASE; ++k) {
            const double term = w.coef[k][i] * w.X[i];
            w.g[k] += term;
            w.scale[k] += std::abs(term);
            for (int m = 0; m < NBASE; ++m) w.J[k][m] += w.nu[i][m] * term;
        }
    }
    for (int k = w.n; k < NBASE; ++k) {
        w.J[k][k] = 1;
        w.scale[k] = 1;
    }
}

int solve_linear(int n, double A[NBASE][NBASE], double* rhs, int nrhs) {
    for (int k = 0; k < n; ++k) {
        int p = k;
        for (int i = k + 1; i < n; ++i)
            if (std::abs(A[i][k]) > std::abs(A[p][k])) p = i;
        if (!(std::abs(A[p][k]) > 0)) return SINGULAR;
        if (p != k) {
            for (int j = 0; j < n; ++j) std::swap(A[k][j], A[p][j]);
            for (int c = 0; c < nrhs; ++c) std::swap(rhs[k * nrhs + c], rhs[p * nrhs + c]);
        }
        for (int i = k + 1; i < n; ++i) {
            const double t = A[i][k] / A[k][k];
            for (int j = k + 1; j < n; ++j) A[i][j] -= t * A[k][j];
            for (int c = 0; c < nrhs; ++c) rhs[i * nrhs + c] -= t * rhs[k * nrhs + c];
        }
    }
    for (int k = n - 1; k >= 0; --k)
        for (int c = 0; c < nrhs; ++c) {
            double v = rhs[k * nrhs + c];
            for (int j = k + 1; j < n; ++j) v -= A[k][j] * rhs[j * nrhs + c];
            rhs[k * nrhs + c] = v / A[k][k];
        }
    return OK;
}

int newton(Work& w, int& steps) {
    for (steps = 1; steps <= MAX_STEPS; ++steps) {
        species_at(w);
        assemble(w);
        // Each balance divided by the size of its terms: the pivots then compare
        // balances of like scale, whatever the amounts of the elements.
        double A[NBASE][NBASE], d[NBASE];
        for (int k = 0; k < NBASE; ++k) {
            const double inverse = 1 / w.scale[k];
            for (int m = 0; m < NBASE; ++m) A[k][m] = w.J[k][m] * inverse;
            d[k] = -w.g[k] * inverse;
        }
        if (solve_linear(NBASE, A, d, 1) != OK) return NO_CONVERGENCE;
        double largest = 0;
        for (int k = 0; k < NBASE; ++k) largest = std::max(largest, std::abs(d[k]));
        if (!std::isfinite(largest)) return NO_CONVERGENCE;
        // A step longer than the cap keeps its direction and is shortened to the cap.
        const double lambda = largest > STEP_CAP ? STEP_CAP / largest : 1;
        for (int k = 0; k < w.n; ++k) w.y[w.var[k]] += lambda * d[k];
        if (largest <= STEP_TOL) {
            species_at(w);
            return OK;
        }
    }
    return NO_CONVERGENCE;
}

}  // namespace core::general_detail
