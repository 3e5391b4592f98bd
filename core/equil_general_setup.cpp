// The general method's set-up: the element amounts of the charge, and the constants in
// logarithms from the same lookup and the same table row as EQMD.
#include <cmath>
#include <initializer_list>
#include <numbers>

#include "eqmd.h"
#include "equil_general.h"
#include "lookup.h"

namespace core::general_detail {

//                               nu: H2   O2   N2   CO   atoms: H  O  N  C   K  p
const SpeciesRow SPECIES[NGAS] = {{{0.5, 0, 0, 0}, {1, 0, 0, 0}, 1, -0.5},    // 1 H
                                  {{0, 0.5, 0, 0}, {0, 1, 0, 0}, 2, -0.5},    // 2 O
                                  {{0, 0, 0.5, 0}, {0, 0, 1, 0}, 3, -0.5},    // 3 N
                                  {{1, 0, 0, 0}, {2, 0, 0, 0}, 0, 0},         // 4 H2
                                  {{0.5, 0.5, 0, 0}, {1, 1, 0, 0}, 4, 0},     // 5 OH
                                  {{0, 0, 0, 1}, {0, 1, 0, 1}, 0, 0},         // 6 CO
                                  {{0, 0.5, 0.5, 0}, {0, 1, 1, 0}, 5, 0},     // 7 NO
                                  {{0, 1, 0, 0}, {0, 2, 0, 0}, 0, 0},         // 8 O2
                                  {{1, 0.5, 0, 0}, {2, 1, 0, 0}, 6, 0.5},     // 9 H2O
                                  {{0, 0.5, 0, 1}, {0, 2, 0, 1}, 7, 0.5},     // 10 CO2
                                  {{0, 0, 1, 0}, {0, 0, 2, 0}, 0, 0}};        // 11 N2

bool charge_of_state(Charge& c) {
    const BLOC_t& b = BLOC;
    const DDAIR_t& air = DDAIR;
    // As EQMD's atom sums, at F itself: O2 supplied per mole of fuel and its diluents.
    const double R0 = (b.AN + b.AM / 4 - b.AL / 2) / b.F;
    const double dR0 = -R0 / b.F;
    const double o_per_r0 = 2 * (1 + air.QCO2 + air.QH2O / 2);
    c.b[BH] = b.AM + 2 * air.QH2O * R0;
    c.b[BO] = b.AL + o_per_r0 * R0;
    c.b[BN] = b.AK + 2 * air.QN2 * R0;
    c.b[BC] = b.AN + air.QCO2 * R0;
    c.Ar = air.QAR * R0;
    c.db[BH] = 2 * air.QH2O * dR0;
    c.db[BO] = o_per_r0 * dR0;
    c.db[BN] = 2 * air.QN2 * dR0;
    c.db[BC] = air.QCO2 * dR0;
    c.dAr = air.QAR * dR0;
    c.E = 4 * R0 * (1 - b.F);
    c.dE = 4 * (dR0 * (1 - b.F) - R0);
    // A fuel that needs no O2 supplied (R0 <= 0) makes no charge with an oxidizer.
    bool sound = R0 > 0 && c.b[BO] > 0 && std::isfinite(c.b[BO]) && c.Ar >= 0 && std::isfinite(c.Ar);
    for (int e = 0; e < NBASE; ++e) {
        sound = sound && c.b[e] >= 0 && std::isfinite(c.b[e]);
        c.present[e] = c.b[e] > 0;
    }
    return sound;
}

void constants_of_state(Work& w) {
    for (int e = 0; e < NBASE; ++e) w.r[e] = w.c.b[e] / w.c.b[BO];
    w.rAr = w.c.Ar / w.c.b[BO];

    const double ln_p = std::log(BLOC.P / DDCON.PSATM);
    const int NT = eqmd_table_row(BLOC.T);
    for (int i = 0; i < NGAS; ++i) {
        const SpeciesRow& s = SPECIES[i];
        w.on[i] = true;
        for (int j = 0; j < NBASE; ++j)
            if (s.nu[j] > 0 && !w.c.present[j]) w.on[i] = false;
        if (s.reaction == 0) continue;
        const LogKLookup lk = log10K_at(s.reaction, BLOC.T, NT);
        w.lnK[i] = lk.log10K * std::numbers::ln10 + s.p_exponent * ln_p;
        w.dlnK[i] = lk.slope;
    }

    // Oxygen is always an unknown (its balance is the reference); then the others present.
    w.n = 0;
    w.var[w.n++] = BO;
    for (int j : {BH, BN, BC})
        if (w.c.present[j]) w.var[w.n++] = j;

    const double bO = w.c.b[BO], dbO = w.c.db[BO];
    bool valence_row = false;
    for (int k = 1; k < w.n; ++k) {
        const int e = w.var[k];
        if (!valence_row && e != BN) {
            valence_row = true;
            for (int j = 0; j < NBASE; ++j) w.weight[k][j] = VALENCE[j];
            w.ratio[k] = w.c.E / bO;
            w.dratio[k] = (w.c.dE - w.ratio[k] * dbO) / bO;
        } else {
            w.weight[k][e] = 1;
            w.ratio[k] = w.r[e];
            w.dratio[k] = (w.c.db[e] - w.r[e] * dbO) / bO;
        }
    }
    prepare_balances(w);
}

}  // namespace core::general_detail
