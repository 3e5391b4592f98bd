// The adiabatic flame-temperature iteration of the two flame programs, without any file.
//
// The burnt gases keep the energy of the reactants: the internal energy in a closed,
// rigid vessel (constant volume: the pressure follows the ideal-gas law for the same
// mass in the same volume), or the enthalpy at the reactant pressure, which stays
// constant. Newton passes of PER correct the temperature by the energy difference over
// its temperature derivative at fixed pressure, until a correction is at most 0.01 K or
// 25 passes are made. A correction that would take the temperature out of the tables
// (above 4000 K, or to 100 K or below) stops at their end; only a flame that lies
// beyond them itself ends in PER's GP02 or GP01.
//
// Inputs are the state groups as the programs leave them after TABLES: BLOC (fuel
// atoms, F, the temperature guess T) and FUEL (HREAC already in J/kmol, TREAC, PREAC,
// RMOLES, AVMR). The iteration writes BLOC.T and BLOC.P; X and PROP are those of the
// last PER call, made before the last correction. The warnings and terminal messages of
// PER and EQMD go through SERMSG as in any run.
#pragma once

#include <optional>

namespace core {

// The energy the flame keeps, and so what happens to the pressure.
enum class FlameEnergy {
    U,  // internal energy: constant volume, the pressure rises with T
    H,  // enthalpy: constant pressure, P = PREAC throughout
};

// How the iteration ended. Only the first two leave results worth printing.
enum class FlameEnd {
    Converged,            // a correction of at most 0.01 K
    NotConverged,         // 25 passes, T after the 25th correction
    ZeroReactantTemp,     // constant volume with TREAC = 0: no initial pressure
    ZeroReactantMass,     // RMOLES x AVMR = 0: no energy per kg
    NoFirstSolution,      // no equilibrium at the first temperature: a zero derivative
    NotFinite,            // T or P beyond the range of numbers
};

struct FlameResult {
    FlameEnd end;
    int passes;  // PER calls made, 0 to 25
};

// The starting pressure at the guessed temperature: PREAC x T / TREAC at constant volume,
// PREAC at constant pressure. Made before TABLES is called; answers the ending when the
// iteration cannot start (ZeroReactantTemp, NotFinite), nothing when it can.
std::optional<FlameEnd> flame_start(FlameEnergy energy);

// The passes, from BLOC.T and BLOC.P as flame_start left them. `per` is PER in the
// programs; tests of the iteration alone give a stand-in.
FlameResult flame_iterate(FlameEnergy energy, void (*per)());

// The line the report states for each end but Converged, starting in column 1.
const char* flame_end_line(FlameEnd end);

}  // namespace core
