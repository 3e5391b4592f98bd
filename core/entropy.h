// Entropy of the products and what follows from it: the species' standard entropies on
// the tables' grid, the mixture's entropy and its derivatives at shifting equilibrium
// (entropy.cpp), and the speeds of sound and isentropic exponents (sound.cpp).
//
// Standard state. The species entropies here are at the tables' standard pressure of
// one standard atmosphere (PSATM), the pressure unit of the equilibrium constants CKP.
// GPROP.DAT gives ENTR = S(298.15 K) at 1 bar, the standard state of the NASA Glenn
// coefficients it was written from; TABLES moves it to 1 atm on loading:
//   S(1 atm) = S(1 bar) - RJOUL ln(PSATM / 1E5).
// The mixture entropy does not depend on the choice, since its pressure term takes P
// in the same unit.
//
// Consistency with the heat capacity. The core reads Cp linear in T between the 100 K
// points (property_at); S is its exact integral of Cp/T along the same lines, so that
// dS/dT = Cp/T holds at every T, across the points too:
//   on [T_J, T_J+1] with Cp = a + b T:  S(T) = S(T_J) + a ln(T/T_J) + b (T - T_J).
// (The enthalpy table is interpolated linearly on its own, so its slope is not quite
// Cp: H and S agree with each other as closely as the tables do.)
#pragma once

#include "state.h"

namespace core {

inline constexpr double P_BAR = 1.0E5;  // Pa: the standard pressure of ENTR in GPROP.DAT
inline constexpr double T_ENTR = 298.15;  // K: where ENTR holds

// Standard entropies, written by TABLES after the heat-capacity tables.
struct DDENT_t {
    Vec1<NSPEC> ENTR;          // S(298.15 K) at 1 atm, J/(kmol K)
    Table1<NTEMP, NSPEC> ST;   // S(100 J K) at 1 atm, J/(kmol K), integrated from ENTR
};
extern DDENT_t DDENT;

// Fills DDENT from ENTR as GPROP.DAT holds it (cal/(mol K) at 1 bar per species) and the
// loaded CT; TABLES calls it.
void load_entropy_tables(const Vec1<NSPEC>& entr_cal_bar);

// S of a species at T (K) and 1 atm, J/(kmol K), on the rule above. Like property_at it
// extends the end intervals outside 100 K..5000 K.
double standard_entropy(int species, double T);

// Entropy and sound, written by PERS.
struct SPROP_t {
    double S = 0;     // specific entropy of the products, J/(kg K)
    double DST = 0;   // dS/dT at fixed P, F, composition shifting, J/(kg K^2)
    double DSP = 0;   // dS/dP at fixed T, F, composition shifting, J/(kg K Pa)
    double DSF = 0;   // dS/dF at fixed T, P, composition shifting, J/(kg K)
    double CPF = 0;   // cp at fixed composition (frozen), J/(kg K)
    double GAMF = 0;  // frozen isentropic exponent cp/cv at fixed composition
    double GAMS = 0;  // equilibrium isentropic exponent (d ln P / d ln rho)_s
    double AF = 0;    // frozen speed of sound, m/s
    double AE = 0;    // equilibrium speed of sound, m/s
};
extern SPROP_t SPROP;

// The entropy of a composition X at T, P per kg, J/(kg K):
//   S = sum_i X(i) [S_i(T) - RJOUL ln(X(i) P / PSATM)] / AVM,  AVM = sum X(i) SM(i),
// species with X(i) <= 0 left out (their term tends to 0).
double mixture_entropy(const Vec1<13>& X, double T, double P);
// cp at fixed composition, J/(kg K): sum X(i) Cp_i(T) / AVM.
double frozen_cp(const Vec1<13>& X, double T);

// SPROP for the state PER has just solved (BLOC, TAB, PROP in place). PERS reads and
// writes nothing else; call it only after a PER that succeeded (IERQ = 0).
void PERS();

// The sound speeds and exponents of a state whose S, DST, DSP are in s (sound.cpp):
// the frozen ones from cpf, the equilibrium ones from the entropy's derivatives and
// PROP's R, DRT, DRP (p). Returns s with CPF, GAMF, GAMS, AF, AE filled in.
SPROP_t sound_from_entropy(SPROP_t s, double cpf, const PROP_t& p, double T, double P);

// SPROP at a fixed composition X at T, P: the derivatives and the exponent are the
// frozen ones (DSF = 0).
SPROP_t frozen_entropy_properties(const Vec1<13>& X, double T, double P);

}  // namespace core
