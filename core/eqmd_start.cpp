// EQMD's set-up: atom sums, atom ratios, equilibrium constants, and the cold start.
#include <cmath>

#include "eqmd.h"
#include "lookup.h"

namespace core::eqmd_detail {

using namespace eqmd_const;

namespace {

bool positive_finite(double v) { return v > 0 && std::isfinite(v); }

}  // namespace

void atom_sums(Work& w) {
    const BLOC_t& b = BLOC;
    const DDAIR_t& air = DDAIR;
    // The solver never works at stoichiometric exactly: there the lean and rich
    // first estimates meet and the CO/O2 pair is badly scaled.
    w.PHI = std::abs(b.F - 1) <= PHI_BAND ? PHI_NEAR_ONE : b.F;
    w.R0 = (b.AN + b.AM / 4 - b.AL / 2) / w.PHI;
    w.R = b.AL / 2 + w.R0 * (1 + air.QCO2 + air.QH2O / 2);
    w.R1 = air.QN2 * w.R0 + b.AK / 2;
    w.R2 = air.QAR * w.R0;
    w.R3 = b.AN + air.QCO2 * w.R0;
    w.R4 = b.AM + 2 * air.QH2O * w.R0;
}

void ratios_and_constants(Work& w) {
    w.D1 = w.R4 / w.R3;
    w.D2 = 2 * w.R / w.R3;
    w.D3 = 2 * w.R1 / w.R3;
    w.D4 = w.R2 / w.R3;
    w.SQP = std::sqrt(BLOC.P / DDCON.PSATM);

    w.NT = eqmd_table_row(BLOC.T);
    for (int k = 1; k <= NREACT; ++k) {
        const LogKLookup lk = log10K_at(k, BLOC.T, w.NT);
        w.AKC(k) = std::pow(10.0, lk.log10K);
        w.DLNK(k) = lk.slope;
    }
    // Constants in mole fractions: H, O, N lose sqrt(p), H2O and CO2 gain it.
    for (int k = 1; k <= 3; ++k) w.AKC(k) = w.AKC(k) / w.SQP;
    for (int k = 6; k <= 7; ++k) w.AKC(k) = w.AKC(k) * w.SQP;
}

namespace {

// The oxygen balance of the cold start as a function of the O2 fraction OX: oxygen
// atoms held by CO and CO2, by H2O and by O2 when the products total 1/PAR moles,
// less the 2R atoms available.
struct OxygenBalance {
    double K6, K7, R3, FUN1, FUN2, FUN3, FUN4;

    double fox(double OX) const {
        const double s = std::sqrt(OX);
        return (R3 + FUN1 * s) / (1 + K7 * s) + FUN2 * s / (1 + K6 * s) + FUN3 * OX - FUN4;
    }
    double dox(double OX) const {
        const double s = std::sqrt(OX);
        const double q7 = 1 + K7 * s;
        const double q6 = 1 + K6 * s;
        return FUN1 / (4 * s * (q7 * q7)) + FUN2 / (2 * s * (q6 * q6)) + FUN3;
    }
};

}  // namespace

int cold_start(Work& w) {
    // Reciprocal of the moles of products per mole of fuel if the products were
    // CO2, H2O, N2, Ar and the excess O2 (lean), or CO, H2, N2, Ar (rich).
    const double PAR = w.PHI <= 1 ? 1 / (w.R + w.R1 + w.R2 + w.R4 / 4)
                                  : 1 / (w.R1 + w.R2 + w.R3 + w.R4 / 2);
    const OxygenBalance ob{w.AKC(6), w.AKC(7), w.R3,
                           2 * w.AKC(7) * w.R3, w.AKC(6) * w.R4 / 2, 2 / PAR, 2 * w.R};

    // Bracketing: from OX = 1 down by decades until the oxygen is short.
    double OX = 1;
    double FOX = ob.fox(OX);
    while (FOX > 0) {
        OX = OX * OX_SHRINK;
        if (OX < OX_FLOOR) return NO_FIRST_ESTIMATE;
        FOX = ob.fox(OX);
    }
    if (std::isnan(FOX)) return NO_FIRST_ESTIMATE;  // the balance cannot be evaluated

    // Newton on OX from below; after the last step the value stands as it is.
    if (FOX < 0) {
        for (int step = 1; step <= OX_STEPS; ++step) {
            const double RAT = ob.fox(OX) / ob.dox(OX);
            OX = OX - RAT;
            if (!positive_finite(OX)) return NO_FIRST_ESTIMATE;
            if (std::abs(RAT / OX) <= OX_TOL) break;
        }
    }

    BLOC_t& b = BLOC;
    const double s = std::sqrt(OX);
    b.X(4) = (w.R4 / 2) * PAR / (1 + w.AKC(6) * s);
    b.X(6) = w.R3 * PAR / (1 + w.AKC(7) * s);
    b.X(8) = OX;
    b.X(11) = w.R1 * PAR;
    return OK;
}

}  // namespace core::eqmd_detail
