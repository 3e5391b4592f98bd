// Species and mixture entropy (see entropy.h for the standard state and the rule).
//
// The mixture's entropy per kmol of products, with the partial pressures X(i) P that
// EQMD balances (PER's AVM = sum X SM is the mass of the same amount):
//   S_mol = sum X(i) s_i,  s_i = S_i(T) - RJOUL ln(X(i) P / PSATM),  S = S_mol / AVM.
// At shifting equilibrium X moves by DXT, DXP, DXF (TAB); since d(X ln X) = (ln X + 1) dX,
//   dS_mol/dT = sum DXT(i) (s_i - RJOUL) + sum X(i) Cp_i / T,
//   dS_mol/dP = sum DXP(i) (s_i - RJOUL) - RJOUL sum X(i) / P,
//   dS_mol/dF = sum DXF(i) (s_i - RJOUL),
// and per kg dS/dq = (dS_mol/dq - S dAVM/dq) / AVM with dAVM/dq = sum SM(i) dX(i)/dq.
#include "entropy.h"

#include <cmath>

#include "lookup.h"

namespace core {

DDENT_t DDENT;
SPROP_t SPROP;

namespace {

const RunStateReset reset_entropy([] {
    DDENT = {};
    SPROP = {};
});

// Cp of a species on the interval IT (from 100 IT K to 100 (IT+1) K) as a + b T.
struct CpLine {
    double a, b;
};
CpLine cp_line(int species, int IT) {
    const double lo = DDATA.CT(IT, species), hi = DDATA.CT(IT + 1, species);
    const double b = (hi - lo) / 100.0;
    return {lo - b * 100.0 * IT, b};
}

// The interval property_at uses at T.
int interval_of(double T) {
    int IT = static_cast<int>(T / 100.0);
    if (IT < 1) IT = 1;
    if (IT > NTEMP - 1) IT = NTEMP - 1;
    return IT;
}

// The integral of Cp/T from T1 to T2 along the line of interval IT.
double cp_over_T(int species, int IT, double T1, double T2) {
    const CpLine c = cp_line(species, IT);
    return c.a * std::log(T2 / T1) + c.b * (T2 - T1);
}

// The mixture's S_mol and its sums, at composition X.
struct MixtureSums {
    double AVM = 0, Smol = 0, Xsum = 0, CP = 0;  // CP: sum X Cp_i, as property_at gives Cp_i
    Vec1<NSPEC> s;  // s_i, 0 for a species that is absent
};
MixtureSums mixture_sums(const Vec1<13>& X, double T, double P) {
    MixtureSums m;
    const double lnP = std::log(P / DDCON.PSATM);
    // standard_entropy() of every species, with the logarithm of T they share taken once.
    const int IT = interval_of(T);
    const double T1 = 100.0 * IT, lnT = std::log(T / T1), FR = T / 100.0 - IT;
    for (int i = 1; i <= NSPEC; ++i) {
        m.AVM += X(i) * DDATA.SM(i);
        if (!(X(i) > 0)) continue;
        const CpLine c = cp_line(i, IT);
        const double S_i = DDENT.ST(IT, i) + (c.a * lnT + c.b * (T - T1));
        m.s(i) = S_i - DDCON.RJOUL * (std::log(X(i)) + lnP);
        const double lo = DDATA.CT(IT, i), hi = DDATA.CT(IT + 1, i);
        m.CP += X(i) * (lo + FR * (hi - lo));
        m.Smol += X(i) * m.s(i);
        m.Xsum += X(i);
    }
    return m;
}

}  // namespace

void load_entropy_tables(const Vec1<NSPEC>& entr_cal_bar) {
    const double to_atm = DDCON.RJOUL * std::log(DDCON.PSATM / P_BAR);
    const int IT_REF = interval_of(T_ENTR);
    for (int i = 1; i <= NSPEC; ++i) {
        DDENT.ENTR(i) = entr_cal_bar(i) * DDCON.CALTOJ * 1000.0 - to_atm;
        // Down to the point below 298.15 K, then point by point up and down the table.
        DDENT.ST(IT_REF, i) = DDENT.ENTR(i) - cp_over_T(i, IT_REF, 100.0 * IT_REF, T_ENTR);
        for (int J = IT_REF; J < NTEMP; ++J)
            DDENT.ST(J + 1, i) = DDENT.ST(J, i) + cp_over_T(i, J, 100.0 * J, 100.0 * (J + 1));
        for (int J = IT_REF; J > 1; --J)
            DDENT.ST(J - 1, i) = DDENT.ST(J, i) - cp_over_T(i, J - 1, 100.0 * (J - 1), 100.0 * J);
    }
}

double standard_entropy(int species, double T) {
    const int IT = interval_of(T);
    return DDENT.ST(IT, species) + cp_over_T(species, IT, 100.0 * IT, T);
}

double mixture_entropy(const Vec1<13>& X, double T, double P) {
    const MixtureSums m = mixture_sums(X, T, P);
    return m.Smol / m.AVM;
}

double frozen_cp(const Vec1<13>& X, double T) {
    double AVM = 0, CP = 0;
    for (int i = 1; i <= NSPEC; ++i) {
        AVM += X(i) * DDATA.SM(i);
        CP += X(i) * property_at(DDATA.CT, i, T);
    }
    return CP / AVM;
}

void PERS() {
    const Vec1<13>& X = BLOC.X;
    const double T = BLOC.T, P = BLOC.P, R = DDCON.RJOUL;
    const MixtureSums m = mixture_sums(X, T, P);
    double ST = 0, SP = -R * m.Xsum / P, SF = 0, DMT = 0, DMP = 0, DMF = 0;
    for (int i = 1; i <= NSPEC; ++i) {
        DMT += DDATA.SM(i) * TAB.DXT(i);
        DMP += DDATA.SM(i) * TAB.DXP(i);
        DMF += DDATA.SM(i) * TAB.DXF(i);
        if (!(X(i) > 0)) continue;
        ST += TAB.DXT(i) * (m.s(i) - R);
        SP += TAB.DXP(i) * (m.s(i) - R);
        SF += TAB.DXF(i) * (m.s(i) - R);
    }
    ST += m.CP / T;
    SPROP_t s;
    s.S = m.Smol / m.AVM;
    s.DST = (ST - s.S * DMT) / m.AVM;
    s.DSP = (SP - s.S * DMP) / m.AVM;
    s.DSF = (SF - s.S * DMF) / m.AVM;
    SPROP = sound_from_entropy(s, m.CP / m.AVM, PROP, T, P);  // frozen_cp(X, T)
}

SPROP_t frozen_entropy_properties(const Vec1<13>& X, double T, double P) {
    const MixtureSums m = mixture_sums(X, T, P);
    SPROP_t s;
    s.S = m.Smol / m.AVM;
    s.CPF = frozen_cp(X, T);
    s.DST = s.CPF / T;
    s.DSP = -DDCON.RJOUL * m.Xsum / (P * m.AVM);
    // At fixed composition R does not move: the equilibrium formula gives cp/cv.
    PROP_t fixed;
    fixed.AVM = m.AVM;
    fixed.R = DDCON.RJOUL / m.AVM;
    return sound_from_entropy(s, s.CPF, fixed, T, P);
}

}  // namespace core
