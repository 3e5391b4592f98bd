// EQMD's Newton iteration on X(4) H2, X(6) CO, X(8) O2, X(11) N2, in four named
// steps: assemble the system, solve it, update the variables, test the update.
#include <algorithm>
#include <cmath>

#include "eqmd.h"

namespace core::eqmd_detail {

using namespace eqmd_const;

void dependent_species(Work& w) {
    Vec1<13>& X = BLOC.X;
    const Vec1<NREACT>& K = w.AKC;
    w.SQX4 = std::sqrt(X(4));
    w.SQX8 = std::sqrt(X(8));
    w.SQX11 = std::sqrt(X(11));
    X(1) = K(1) * w.SQX4;
    X(2) = K(2) * w.SQX8;
    X(3) = K(3) * w.SQX11;
    X(5) = K(4) * w.SQX4 * w.SQX8;
    X(7) = K(5) * w.SQX8 * w.SQX11;
    X(9) = K(6) * X(4) * w.SQX8;
    X(10) = K(7) * X(6) * w.SQX8;
}

void assemble_jacobian(Work& w) {
    const Vec1<13>& X = BLOC.X;
    const Vec1<NREACT>& K = w.AKC;
    Slopes& s = w.s;
    s.T14 = K(1) * 0.5 / w.SQX4;
    s.T28 = K(2) * 0.5 / w.SQX8;
    s.T311 = K(3) * 0.5 / w.SQX11;
    s.T54 = K(4) * w.SQX8 * 0.5 / w.SQX4;
    s.T58 = K(4) * w.SQX4 * 0.5 / w.SQX8;
    s.T78 = K(5) * w.SQX11 * 0.5 / w.SQX8;
    s.T711 = K(5) * w.SQX8 * 0.5 / w.SQX11;
    s.T94 = K(6) * w.SQX8;
    s.T98 = X(4) * K(6) * 0.5 / w.SQX8;
    s.T106 = K(7) * w.SQX8;
    s.T108 = X(6) * K(7) * 0.5 / w.SQX8;

    // Rows: hydrogen, oxygen, nitrogen, closure; each the derivative of its left side
    // minus its right side. Columns: X(4), X(6), X(8), X(11).
    Mat4& A = w.A;
    const double D1 = w.D1, D2 = w.D2, D3 = w.D3, D4 = w.D4;
    A(1, 1) = 2 + s.T14 + s.T54 + 2 * s.T94;
    A(1, 2) = -D1 * (1 + s.T106);
    A(1, 3) = s.T58 + 2 * s.T98 - D1 * s.T108;
    A(1, 4) = 0;
    A(2, 1) = s.T54 + s.T94;
    A(2, 2) = 1 + 2 * s.T106 - D2 * (1 + s.T106);
    A(2, 3) = 2 + s.T28 + s.T58 + s.T78 + s.T98 + 2 * s.T108 - D2 * s.T108;
    A(2, 4) = s.T711;
    A(3, 1) = 0;
    A(3, 2) = -D3 * (1 + s.T106);
    A(3, 3) = s.T78 - D3 * s.T108;
    A(3, 4) = 2 + s.T311 + s.T711;
    A(4, 1) = 1 + s.T14 + s.T54 + s.T94;
    A(4, 2) = (1 + s.T106) * (1 + D4);
    A(4, 3) = 1 + s.T28 + s.T58 + s.T78 + s.T98 + s.T108 * (1 + D4);
    A(4, 4) = 1 + s.T311 + s.T711;
}

// Right side minus left side of the four balances:
//   hydrogen  X1 + 2 X4 + X5 + 2 X9                 = D1 (X6 + X10)
//   oxygen    X2 + X5 + X6 + X7 + 2 X8 + X9 + 2 X10 = D2 (X6 + X10)
//   nitrogen  X3 + X7 + 2 X11                       = D3 (X6 + X10)
//   closure   X1 + ... + X11 + D4 (X6 + X10)        = 1   (the last term is argon)
void assemble_residuals(Work& w) {
    const Vec1<13>& X = BLOC.X;
    const double carbon = X(6) + X(10);
    w.B(1) = w.D1 * carbon - (X(1) + 2 * X(4) + X(5) + 2 * X(9));
    w.B(2) = w.D2 * carbon - (X(2) + X(5) + X(6) + X(7) + 2 * X(8) + X(9) + 2 * X(10));
    w.B(3) = w.D3 * carbon - (X(3) + X(7) + 2 * X(11));
    double sum = 0;
    for (int i = 1; i <= 11; ++i) sum += X(i);
    w.B(4) = 1 - sum - w.D4 * carbon;
}

// Gaussian elimination of A.Delta = B in place, Delta into B. Rows are exchanged only
// when a pivot is small; only a column of exact zeros is singular.
int solve_newton_system(Work& w) {
    Mat4& A = w.A;
    Vec1<4>& B = w.B;
    for (int k = 1; k <= 3; ++k) {
        if (std::abs(A(k, k)) < PIVOT_SMALL) {
            double big = std::abs(A(k, k));
            int ibig = k;
            for (int i = k + 1; i <= 4; ++i)
                if (std::abs(A(i, k)) > big) {
                    big = std::abs(A(i, k));
                    ibig = i;
                }
            if (!(big > 0)) return SINGULAR;
            if (ibig != k) {
                for (int j = k; j <= 4; ++j) std::swap(A(k, j), A(ibig, j));
                std::swap(B(k), B(ibig));
            }
        }
        for (int i = k + 1; i <= 4; ++i) {
            const double term = A(i, k) / A(k, k);
            for (int j = k + 1; j <= 4; ++j) A(i, j) = A(i, j) - A(k, j) * term;
            B(i) = B(i) - B(k) * term;
        }
    }
    if (!(std::abs(A(4, 4)) > 0)) return SINGULAR;
    B(4) = B(4) / A(4, 4);
    B(3) = (B(3) - A(3, 4) * B(4)) / A(3, 3);
    B(2) = (B(2) - A(2, 3) * B(3) - A(2, 4) * B(4)) / A(2, 2);
    B(1) = (B(1) - A(1, 2) * B(2) - A(1, 3) * B(3) - A(1, 4) * B(4)) / A(1, 1);
    return OK;
}

namespace {

constexpr int VARIABLE[4] = {4, 6, 8, 11};

// Applies the correction; true when some variable moved by more than PREC of its
// new value (all four are looked at).
bool update(Work& w) {
    Vec1<13>& X = BLOC.X;
    bool moved = false;
    for (int n = 1; n <= 4; ++n) {
        const int i = VARIABLE[n - 1];
        X(i) = X(i) + w.B(n);
        if (std::abs(w.B(n) / X(i)) > PREC) moved = true;
    }
    return moved;
}

// H2, O2 and N2 must stay positive; CO may pass through negative values on the way.
// A variable that is no longer a finite number has left the physical range as well.
bool out_of_range() {
    const Vec1<13>& X = BLOC.X;
    for (int i : VARIABLE)
        if (!std::isfinite(X(i))) return true;
    return X(4) <= 0 || X(8) <= 0 || X(11) <= 0;
}

}  // namespace

int newton_iteration(Work& w, int& steps) {
    for (steps = 1;; ++steps) {
        dependent_species(w);
        assemble_jacobian(w);
        assemble_residuals(w);
        if (solve_newton_system(w) != OK) return SINGULAR;
        const bool moved = update(w);
        if (out_of_range()) return NON_POSITIVE;
        if (!moved) break;
        if (steps >= NEWTON_STEPS) return NO_CONVERGENCE;
    }
    if (BLOC.X(6) < 0) return NON_POSITIVE;
    return OK;
}

// The composition of a converged solve: the dependent species again from the final
// variables, so that the seven equilibrium relations hold exactly, then the fuel per
// mole of products (carbon balance) and argon.
void complete(Work& w) {
    Vec1<13>& X = BLOC.X;
    dependent_species(w);
    X(13) = (X(6) + X(10)) / w.R3;
    X(12) = X(13) * w.R2;
}

void to_fixed_point() {
    Work w;
    atom_sums(w);
    ratios_and_constants(w);
    for (int step = 0; step < 20; ++step) {
        dependent_species(w);
        assemble_jacobian(w);
        assemble_residuals(w);
        if (solve_newton_system(w) != OK) break;
        double largest = 0;
        for (int n = 1; n <= 4; ++n) {
            double& x = BLOC.X(VARIABLE[n - 1]);
            x += w.B(n);
            largest = std::max(largest, std::abs(w.B(n) / x));
        }
        if (largest < 1e-15) break;
    }
    complete(w);
}

}  // namespace core::eqmd_detail
