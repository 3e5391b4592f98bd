// The general equilibrium method: the same twelve species, the same tables and the same
// seven equilibrium relations as EQMD, solved for any element amounts of the charge.
//
// The seven relations express every species through the base species H2, O2, N2 and
// CO (argon is inert). The unknowns are the logarithms of the base mole fractions, so
// that no mole fraction can become negative and none is cut off however small; the
// element balances are taken relative to oxygen, which every charge with an oxidizer
// holds, so that carbon, hydrogen and nitrogen may each be absent: a base species whose
// element the charge lacks is exactly zero and drops out with its balance. Steps (each in
// its own file): the element amounts and the constants (equil_general_setup.cpp), the
// first estimate (equil_general_start.cpp), the Newton iteration
// (equil_general_newton.cpp), the completion and the sensitivities
// (equil_general_sensitivity.cpp); the entry and its warm start in equil_general.cpp.
//
// EQMD hands the states it refuses or fails to this method (see EQMD); it solves F
// itself, with no shift of PHI off stoichiometric.
#pragma once

#include "state.h"

namespace core {

// Solves the state of BLOC (AN..AK, F, T, P) with the oxidizer of DDAIR. On success
// fills BLOC.X(1..13) and TAB as EQMD does and returns 0; on failure returns one of
// EQMD's status codes (TOO_MUCH_CARBON, NO_FIRST_ESTIMATE, NO_CONVERGENCE,
// SINGULAR_SENS) and leaves BLOC and TAB untouched. Writes no message and does not
// range-check T, P, F (EQMD does).
int equil_general();

// How the last call went, for tests and benchmarks.
struct GeneralTrace {
    bool warm = false;     // it started from its own kept solution
    int newton_steps = 0;  // Newton steps of the solve that succeeded (or of the last try)
};
const GeneralTrace& equil_general_last_call();

namespace general_detail {

// Base species (the unknowns) and the element each one stands for, in one order:
// H2 for hydrogen, O2 for oxygen, N2 for nitrogen, CO for carbon.
inline constexpr int NBASE = 4;
enum Base { BH = 0, BO = 1, BN = 2, BC = 3 };
inline constexpr int BASE_SPECIES[NBASE] = {4, 8, 11, 6};  // their indices in X

inline constexpr int NGAS = 11;  // species 1..11 (argon, 12, is inert)

// Per species i = 1..11 (index i-1): the exponents of the base mole fractions in its
// mole fraction (H = K1 H2^1/2, ..., CO2 = K7 CO O2^1/2), its atoms of H, O, N, C, the
// reaction that forms it (0: a base species), and the exponent of the pressure in its
// mole-fraction constant (H, O, N lose sqrt(p), H2O and CO2 gain it).
struct SpeciesRow {
    double nu[NBASE];
    double atoms[NBASE];
    int reaction;
    double p_exponent;
};
extern const SpeciesRow SPECIES[NGAS];

// The charge per mole of fuel and how it changes with F.
struct Charge {
    double b[NBASE] = {};   // atoms of H, O, N, C
    double Ar = 0;          // argon atoms
    double db[NBASE] = {};  // d b/dF
    double dAr = 0;         // d Ar/dF
    // The oxygen beyond complete combustion, counted in valences: 2 O - 4 C - H (of
    // nitrogen none) = 4 R0 (1 - F), formed without the cancellation of the atom
    // amounts it is the difference of. Zero at F = 1, where the O2 left and the CO and
    // H2 unburnt are all minor species that the atom balances alone resolve no better
    // than round-off of the major ones.
    double E = 0, dE = 0;
    bool present[NBASE] = {};
};

// The valence of each element in the balance of E, per atom of H, O, N, C.
inline constexpr double VALENCE[NBASE] = {-1, 2, 0, -4};

// Everything one solve forms.
struct Work {
    Charge c;
    double r[NBASE] = {};  // b(e)/b(O): the atom ratios relative to oxygen
    double rAr = 0;        // Ar/b(O)
    // Balance k >= 1: sum over species of (weight . atoms - ratio * O atoms) X = 0. Each is
    // the balance of the element of unknown k (weight its unit vector, ratio r(e)),
    // except that of hydrogen, or carbon without hydrogen, which is replaced by the
    // balance of E (weight VALENCE, ratio E/b(O)): the same solution, well conditioned
    // at F = 1 too.
    double weight[NBASE][NBASE] = {};
    double ratio[NBASE] = {};
    double dratio[NBASE] = {};  // d ratio/dF
    double lnK[NGAS] = {}; // ln of the pressure-scaled constant of each species (0: base)
    double dlnK[NGAS] = {};// d lnK/dT of the interval in use, 1/K
    bool on[NGAS] = {};    // species present (all its base species present)
    int n = 0;             // unknowns: O2 first, then the present ones of H2, N2, CO
    int var[NBASE] = {};   // base species of unknown k
    double y[NBASE] = {};  // ln of each base mole fraction (per Base)
    double X[NGAS] = {};   // mole fractions of species 1..11 at y
    double AO = 0;         // oxygen atoms per mole of products at y
    // Fixed for the solve (prepare_balances): the constants, each species' exponents as
    // counts of square roots, the coefficient of each species in each balance and its
    // exponent of each unknown.
    double K[NGAS] = {};
    int halves[NGAS][NBASE] = {};
    double coef[NBASE][NGAS] = {};
    double nu[NGAS][NBASE] = {};
    double J[NBASE][NBASE] = {};  // Jacobian of the n balances by the n unknowns
    double g[NBASE] = {};         // residuals of the balances
    double dy[3][NBASE] = {};     // d y/dT, d y/dP, d y/dF per Base, once converged
    double scale[NBASE] = {};     // each balance divided by this (a size of its terms)
};

// equil_general_setup.cpp
// Element amounts of BLOC's charge at its F; false when the charge holds no oxygen or
// a negative amount (nothing the method can solve).
bool charge_of_state(Charge& c);
void constants_of_state(Work& w);  // lnK, dlnK, presence, unknowns

// equil_general_start.cpp
void cold_start(Work& w);  // y from the products of complete combustion

// equil_general_newton.cpp
void species_at(Work& w);         // X and AO at y
double coefficient(const Work& w, int k, int i);  // of species i (0-based) in balance k
void prepare_balances(Work& w);   // K, halves, coef and nu from the set-up
void assemble(Work& w);           // g, J and scale at the current X
int solve_linear(int n, double A[NBASE][NBASE], double* rhs, int nrhs);  // rhs n x nrhs, row-major
int newton(Work& w, int& steps);  // OK or NO_CONVERGENCE

// equil_general_sensitivity.cpp
// X(1..13) and TAB from the converged work; OK or SINGULAR_SENS.
int complete_and_sensitivities(Work& w, Vec1<13>& X, TAB_t& tab);

}  // namespace general_detail
}  // namespace core
