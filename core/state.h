// The thermochemical state of a solver run: eight process-wide record groups.
//
// The core routines (TABLES, EQMD, PER, SERMSG, PRTOUT) take no arguments; they read
// their inputs from these groups and write their results back. Arrays are 1-based as
// in the tables they mirror: X(1)..X(13), HT(J,I) with the temperature point J first.
//
// Species order (every per-species array): 1 H, 2 O, 3 N, 4 H2, 5 OH, 6 CO, 7 NO,
// 8 O2, 9 H2O, 10 CO2, 11 N2, 12 Ar.
// Reaction order (second index of CKP): 1 1/2H2=H, 2 1/2O2=O, 3 1/2N2=N,
// 4 1/2H2+1/2O2=OH, 5 1/2O2+1/2N2=NO, 6 H2+1/2O2=H2O, 7 CO+1/2O2=CO2.
// Temperature point J of HT, CT, CKP stands for 100*J kelvin, J = 1..50.
#pragma once

#include <cstdint>

namespace core {

constexpr int NSPEC = 12;  // product species
constexpr int NREACT = 7;  // equilibrium reactions
constexpr int NTEMP = 50;  // temperature points, 100 K to 5000 K

// A 1-based vector of N values: V(1)..V(N).
template <int N>
struct Vec1 {
    double v[N] = {};
    double& operator()(int i) { return v[i - 1]; }
    double operator()(int i) const { return v[i - 1]; }
};

// A 1-based table of NJ temperature points by NI columns: M(J,I).
template <int NJ, int NI>
struct Table1 {
    double v[NI][NJ] = {};  // column-major, as the tables are read column by column
    double& operator()(int j, int i) { return v[i - 1][j - 1]; }
    double operator()(int j, int i) const { return v[i - 1][j - 1]; }
};

// Control: status of the last equilibrium solution.
struct GGCNTL_t {
    std::int32_t IERQ = 0;  // 0 success; 3..8 the failure kinds of EQMD (messages GE05..GE10)
};

// Reactant data. The TP program declares HREAC and never touches it; the UV program
// reads all five from INPUT.UV.
struct FUEL_t {
    double HREAC = 0;   // reactant enthalpy per kmol of fuel: kJ/kmol as read, J/kmol once tables are loaded
    double TREAC = 0;   // reactant temperature, K
    double PREAC = 0;   // reactant pressure, Pa
    double RMOLES = 0;  // moles of reactants per mole of fuel
    double AVMR = 0;    // molar mass of the reactants, kg/kmol
};

// Constants, written once by TABLES from GPROP.DAT.
struct DDCON_t {
    double GRCAL = 0;   // universal gas constant, cal/(mol K)
    double CALTOJ = 0;  // joules per calorie
    double PSATM = 0;   // Pa per standard atmosphere; reference pressure of CKP
    double RJOUL = 0;   // universal gas constant, J/(kmol K) = GRCAL * CALTOJ * 1000
};

// Oxidizer: moles of each diluent accompanying one mole of O2, set by TABLES.
struct DDAIR_t {
    double QN2 = 0;   // nitrogen (3.76: air)
    double QAR = 0;   // argon
    double QCO2 = 0;  // carbon dioxide
    double QH2O = 0;  // water vapour
};

// Problem and composition.
struct BLOC_t {
    double AN = 0, AM = 0, AL = 0, AK = 0;  // C, H, O, N atoms in one fuel molecule
    Vec1<13> X;  // X(1..12) product mole fractions; X(13) moles of fuel per mole of products
    double F = 0;  // equivalence ratio
    double T = 0;  // product temperature, K
    double P = 0;  // product pressure, Pa
};

// Property tables, written once by TABLES.
struct DDATA_t {
    Table1<NTEMP, NSPEC> HT;   // molar enthalpy incl. enthalpy of formation, J/kmol
    Table1<NTEMP, NSPEC> CT;   // molar heat capacity at constant pressure, J/(kmol K)
    Vec1<NSPEC> SM;            // molar mass, kg/kmol
    Table1<NTEMP, NREACT> CKP; // log10 of the equilibrium constant, pressures in atm
};

// Composition sensitivities, written by EQMD after a converged solution.
struct TAB_t {
    Vec1<NSPEC> DXT;  // dX(I)/dT at fixed P and F, 1/K
    Vec1<NSPEC> DXP;  // dX(I)/dP at fixed T and F, 1/Pa
    Vec1<NSPEC> DXF;  // dX(I)/dF at fixed T and P
};

// Mixture properties, written by PER.
struct PROP_t {
    double AVM = 0;  // mean molar mass, kg/kmol
    double R = 0;    // specific gas constant, J/(kg K)
    double H = 0;    // specific enthalpy (enthalpy-of-formation basis), J/kg
    double U = 0;    // specific internal energy, J/kg
    double DRT = 0, DHT = 0, DUT = 0;  // d/dT at fixed P, F; DHT is the equilibrium cp, J/(kg K)
    double DRP = 0, DHP = 0, DUP = 0;  // d/dP at fixed T, F, per Pa
    double DRF = 0, DHF = 0, DUF = 0;  // d/dF at fixed T, P
};

extern GGCNTL_t GGCNTL;
extern FUEL_t FUEL;
extern DDCON_t DDCON;
extern DDAIR_t DDAIR;
extern BLOC_t BLOC;
extern DDATA_t DDATA;
extern TAB_t TAB;
extern PROP_t PROP;

// Zeroes the groups and every private memory of the core (warm start, warning count,
// open units), as at program start. Lets tests and in-process runs start clean.
void reset_run_state();

// Registers a private memory's reset so that reset_run_state() reaches it.
struct RunStateReset {
    explicit RunStateReset(void (*fn)());
};

}  // namespace core
