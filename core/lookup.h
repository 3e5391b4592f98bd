// The two table lookups of the core, on the 100 K grid of DDATA (row J is 100*J K).
#pragma once

#include "state.h"

namespace core {

// Property lookup, linear in T: TK = T/100, IT = trunc(TK), FR = TK - IT,
// V = V(IT) + FR*(V(IT+1) - V(IT)), for a column of HT or CT. Valid for 100 < T <= 4900.
double property_at(const Table1<NTEMP, NSPEC>& table, int species, double T);

// Equilibrium-constant lookup, log10 K linear in 1/T between rows NT and NT+1
// (NT = trunc(T/100), or trunc(T*0.01) where a program asks for it).
struct LogKLookup {
    double log10K;  // log10 of the constant, pressures in atm
    double slope;   // d(ln K)/dT of the interval in use, 1/K
};
LogKLookup log10K_at(int reaction, double T, int NT);

}  // namespace core
