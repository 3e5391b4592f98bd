// The two table lookups of the core, on the 100 K grid of DDATA (row J is 100*J K).
#pragma once

#include "state.h"

namespace core {

// Property lookup, linear in T: TK = T/100, IT = trunc(TK), FR = TK - IT,
// V = V(IT) + FR*(V(IT+1) - V(IT)), for a column of HT or CT. Valid for 100 < T <= 4900.
// Inline: PER asks for every species at one T, and the interval is then found once.
inline double property_at(const Table1<NTEMP, NSPEC>& table, int species, double T) {
    const double TK = T / 100.0;
    int IT = static_cast<int>(TK);
    // Outside 100 K <= T < 5000 K the end interval is extended rather than a row beyond
    // the table read; PER never asks there.
    if (IT < 1) IT = 1;
    if (IT > NTEMP - 1) IT = NTEMP - 1;
    const double FR = TK - IT;
    return table(IT, species) + FR * (table(IT + 1, species) - table(IT, species));
}

// Equilibrium-constant lookup, log10 K linear in 1/T between rows NT and NT+1
// (NT = trunc(T/100), or trunc(T*0.01) where a program asks for it).
struct LogKLookup {
    double log10K;  // log10 of the constant, pressures in atm
    double slope;   // d(ln K)/dT of the interval in use, 1/K
};
LogKLookup log10K_at(int reaction, double T, int NT);

}  // namespace core
