// EQMD's final pass: the derivatives of the mole fractions by T, P and F, by implicit
// differentiation of the four balances at the converged state. The matrix is the
// Newton Jacobian there; the three right-hand sides are minus the explicit
// derivatives of the balances; the chain rule then gives the eight dependent species.
#include <cmath>

#include "eqmd.h"

namespace core::eqmd_detail {

namespace {

// Three right-hand sides (T, P, F) of the 4x4 system, 1-based: C(row, column).
struct Rhs {
    double v[4][3] = {};
    double& operator()(int i, int j) { return v[i - 1][j - 1]; }
};

// Explicit derivatives of the dependent species at fixed solution variables.
struct Explicit {
    Vec1<NREACT> DKC;  // by T: reaction K's product times d(ln AKC(K))/dT
    double DC1P = 0, DC2P = 0, DC3P = 0, DC9P = 0, DC10P = 0;  // by P
    double D5AN = 0;   // (X6 + X10)/R3 times dR0/dPHI
    double DD4F = 0;   // argon fraction by PHI
    double DCF = 0;    // the oxidizer's carbon: (X6 + X10)/R3 times dR3/dPHI
};

Explicit explicit_terms(const Work& w) {
    const Vec1<13>& X = BLOC.X;
    Explicit e;
    constexpr int PRODUCT[NREACT + 1] = {0, 1, 2, 3, 5, 7, 9, 10};
    for (int k = 1; k <= NREACT; ++k) e.DKC(k) = w.DLNK(k) * X(PRODUCT[k]);

    const double PP2 = 0.5 / BLOC.P;
    e.DC1P = -PP2 * X(1);  // constants carrying 1/sqrt(p)
    e.DC2P = -PP2 * X(2);
    e.DC3P = -PP2 * X(3);
    e.DC9P = PP2 * X(9);   // constants carrying sqrt(p)
    e.DC10P = PP2 * X(10);

    e.D5AN = -X(13) * w.R0 / w.PHI;
    e.DD4F = DDAIR.QAR * e.D5AN;
    e.DCF = DDAIR.QCO2 * e.D5AN;
    return e;
}

// The atom ratios D = R(k)/R3 depend on PHI through R0 in the numerator and, when the
// oxidizer carries CO2, in R3: dD/dPHI = (dR(k) - D dR3)/R3 times dR0/dPHI. Each term of
// the oxidizer's CO2 and H2O comes last and is a zero for air, so that air's
// derivatives are those of the terms before it to the last bit.
Rhs right_hand_sides(const Work& w, const Explicit& e) {
    const Vec1<NREACT>& K = e.DKC;
    const double D1 = w.D1, D2 = w.D2, D3 = w.D3, D4 = w.D4;
    Rhs C;
    C(1, 1) = -(K(1) + K(4) + 2 * K(6) - D1 * K(7));
    C(2, 1) = -(K(2) + K(4) + K(5) + K(6) + (2 - D2) * K(7));
    C(3, 1) = -(K(3) + K(5) - D3 * K(7));
    C(4, 1) = -(K(1) + K(2) + K(3) + K(4) + K(5) + K(6) + (1 + D4) * K(7));
    C(1, 2) = -(e.DC1P + 2 * e.DC9P - D1 * e.DC10P);
    C(2, 2) = -(e.DC2P + e.DC9P + (2 - D2) * e.DC10P);
    C(3, 2) = -(e.DC3P - D3 * e.DC10P);
    C(4, 2) = -(e.DC1P + e.DC2P + e.DC3P + e.DC9P + (1 + D4) * e.DC10P);
    const DDAIR_t& air = DDAIR;
    C(1, 3) = 2 * air.QH2O * e.D5AN - D1 * e.DCF;
    C(2, 3) = 2 * e.D5AN + (2 * air.QCO2 + air.QH2O) * e.D5AN - D2 * e.DCF;
    C(3, 3) = 2 * air.QN2 * e.D5AN - D3 * e.DCF;
    C(4, 3) = D4 * e.DCF - e.DD4F;
    return C;
}

// Gaussian elimination with partial pivoting on every column; the solution
// overwrites C.
int solve(Mat4& A, Rhs& C) {
    for (int k = 1; k <= 3; ++k) {
        double amax = std::abs(A(k, k));
        int maxmum = k;
        for (int i = k + 1; i <= 4; ++i)
            if (std::abs(A(i, k)) > amax) {
                amax = std::abs(A(i, k));
                maxmum = i;
            }
        if (!(amax > 0)) return SINGULAR_SENS;
        if (maxmum != k) {
            for (int j = k; j <= 4; ++j) std::swap(A(k, j), A(maxmum, j));
            for (int j = 1; j <= 3; ++j) std::swap(C(k, j), C(maxmum, j));
        }
        for (int i = k + 1; i <= 4; ++i) {
            const double term = A(i, k) / A(k, k);
            for (int j = k + 1; j <= 4; ++j) A(i, j) = A(i, j) - A(k, j) * term;
            for (int j = 1; j <= 3; ++j) C(i, j) = C(i, j) - C(k, j) * term;
        }
    }
    if (!(std::abs(A(4, 4)) > 0)) return SINGULAR_SENS;
    for (int j = 1; j <= 3; ++j) {
        C(4, j) = C(4, j) / A(4, 4);
        C(3, j) = (C(3, j) - C(4, j) * A(3, 4)) / A(3, 3);
        C(2, j) = (C(2, j) - C(3, j) * A(2, 3) - C(4, j) * A(2, 4)) / A(2, 2);
        C(1, j) = (C(1, j) - C(2, j) * A(1, 2) - C(3, j) * A(1, 3) - C(4, j) * A(1, 4)) / A(1, 1);
    }
    return OK;
}

// One derivative vector from the solved column and the explicit terms of the dependent
// species (H, O, N, OH, NO, H2O, CO2 in that order).
struct ExplicitColumn {
    double x1, x2, x3, x5, x7, x9, x10, ar;
};

Vec1<NSPEC> chain_rule(const Work& w, Rhs& C, int j, const ExplicitColumn& e) {
    const Slopes& s = w.s;
    Vec1<NSPEC> D;
    D(4) = C(1, j);
    D(6) = C(2, j);
    D(8) = C(3, j);
    D(11) = C(4, j);
    D(1) = s.T14 * D(4) + e.x1;
    D(2) = s.T28 * D(8) + e.x2;
    D(3) = s.T311 * D(11) + e.x3;
    D(5) = s.T58 * D(8) + s.T54 * D(4) + e.x5;
    D(7) = s.T78 * D(8) + s.T711 * D(11) + e.x7;
    D(9) = s.T98 * D(8) + s.T94 * D(4) + e.x9;
    D(10) = s.T108 * D(8) + s.T106 * D(6) + e.x10;
    D(12) = w.D4 * (D(10) + D(6)) + e.ar;
    return D;
}

bool finite(const Vec1<NSPEC>& v) {
    for (int i = 1; i <= NSPEC; ++i)
        if (!std::isfinite(v(i))) return false;
    return true;
}

}  // namespace

int sensitivities(Work& w) {
    const Explicit e = explicit_terms(w);
    Rhs C = right_hand_sides(w, e);
    if (solve(w.A, C) != OK) return SINGULAR_SENS;

    const Vec1<NREACT>& K = e.DKC;
    const Vec1<NSPEC> dxt = chain_rule(w, C, 1, {K(1), K(2), K(3), K(4), K(5), K(6), K(7), 0});
    const Vec1<NSPEC> dxp =
        chain_rule(w, C, 2, {e.DC1P, e.DC2P, e.DC3P, 0, 0, e.DC9P, e.DC10P, 0});
    const Vec1<NSPEC> dxf = chain_rule(w, C, 3, {0, 0, 0, 0, 0, 0, 0, e.DD4F - w.D4 * e.DCF});
    // Derivatives too large to represent (a pressure within a few ulps of zero) are
    // no result; the arrays keep those of the last success.
    if (!finite(dxt) || !finite(dxp) || !finite(dxf)) return SINGULAR_SENS;
    TAB.DXT = dxt;
    TAB.DXP = dxp;
    TAB.DXF = dxf;
    return OK;
}

}  // namespace core::eqmd_detail
