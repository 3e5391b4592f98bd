// The core routines called by the drivers. None takes arguments: they work on the
// state groups of state.h.
#pragma once

#include <string_view>

namespace core {

// Loads GPROP.DAT (unit 7): constants, species tables, equilibrium constants, oxidizer.
void TABLES();
// TABLES from a property file of another name or place (the Python module's tables).
void load_tables(std::string_view file);
// Mixture properties at T, P, F with the equilibrium composition (calls EQMD).
// T must lie above PER_T_LOW (else the terminal GP01) and at most PER_T_HIGH (else GP02).
void PER();
constexpr double PER_T_LOW = 100;    // K, the start of the tables
constexpr double PER_T_HIGH = 4000;  // K, the end of the properties calculated
// Equilibrium composition and its sensitivities at T, P, F.
void EQMD();
// The flame programs' warnings about a reactant charge that does not fit its own input
// (GR01..GR04): FUEL as read (HREAC in kJ/kmol) against BLOC's atoms and F and the
// oxidizer and molar masses of the tables. Writes warnings only.
void REACHK();

}  // namespace core
