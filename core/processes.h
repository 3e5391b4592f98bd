// Processes built on the entropy: isentropic compression and expansion (isentropic.cpp),
// the Chapman-Jouguet detonation (detonation.cpp) and the normal shock in a gas of fixed
// composition (shock.cpp).
//
// Both work on the groups as PER does: BLOC holds the fuel's atoms and F, and each
// state they visit is posed into BLOC.T and BLOC.P and solved by PER (PERS after it),
// so that every state on the way is at equilibrium; a frozen process keeps the start's
// composition instead and calls neither. Temperatures are kept inside the tables'
// 100-4000 K (PER's range); a process whose end lies outside ends with BelowTables or
// AboveTables, never with a terminal message.
#pragma once

#include "state.h"

namespace core {

enum class ProcessEnd {
    Solved,
    BelowTables,    // the end state lies at or below 100 K
    AboveTables,    // the end state lies above 4000 K
    NoEquilibrium,  // EQMD failed on the way (its message id says why)
    NotConverged,   // the Newton iteration did not settle
    DoesNotBurn,    // detonation: the products at the reactant state hold more energy
    Subsonic,       // shock: the gas enters no faster than its sound speed, no shock
};

// What an isentropic process holds fixed at its end besides the entropy.
enum class IsentropicTarget {
    P,            // the end pressure, Pa
    T,            // the end temperature, K
    VolumeRatio,  // v_end / v_start (specific volumes): > 1 an expansion
};

// The limits of the states the processes visit: PER's range.
inline constexpr double PROCESS_T_MIN = 100;   // K, excluded
inline constexpr double PROCESS_T_MAX = 4000;  // K, included

// An isentrope from the start state in BLOC (T, P, atoms, F) to the target, with
// shifting composition (frozen false) or at the start's composition. The start's
// composition is X1 (X(1..13)) where given, as a frozen state's may be off equilibrium;
// else the start is solved by PER first. On Solved BLOC, PROP, TAB and SPROP describe the end state (for
// frozen: BLOC.X the start's, TAB zero in T and P and NaN in F, PROP and SPROP at
// fixed composition).
ProcessEnd isentrope(IsentropicTarget kind, double target, bool frozen, const Vec1<13>* X1 = nullptr);

// The reactant state of a detonation: FUEL (HREAC in J/kmol, TREAC, PREAC, RMOLES,
// AVMR) with BLOC's atoms and F; gamma1, the reactants' cp/cv, only for the Mach number
// (NaN where unknown).
struct DetonationResult {
    ProcessEnd end;
    double D;         // detonation velocity: the speed of the reactants into the front, m/s
    double u2;        // speed of the burned gas behind it, relative to the front, m/s
    double P_ratio;   // P2 / P1
    double T_ratio;   // T2 / T1
    double rho_ratio; // rho2 / rho1
    double Mach;      // D / a1, a1 = sqrt(gamma1 R1 T1)
};
// The Chapman-Jouguet state on the Rankine-Hugoniot relations of the reactants in FUEL;
// on Solved BLOC, PROP, TAB and SPROP describe the burned gas.
DetonationResult chapman_jouguet(double gamma1);

struct ShockResult {
    ProcessEnd end;
    double u2;         // speed of the shocked gas behind the shock, relative to it, m/s
    double P_ratio;    // P2 / P1
    double T_ratio;    // T2 / T1
    double rho_ratio;  // rho2 / rho1
};
// The normal shock into the gas of composition X at T1, P1 (BLOC's atoms and F kept)
// entering at u1 (m/s), faster than its frozen sound speed; the composition stays
// fixed through it. On Solved BLOC, PROP and SPROP describe the shocked gas (frozen).
ShockResult frozen_shock(const Vec1<13>& X, double T1, double P1, double u1);

}  // namespace core
