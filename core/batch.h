// The batch layer under the language bindings (the Python module, the web engine): the
// core's routines over arrays of states.
//
// Each state is posed into BLOC (and FUEL) exactly as the programs' drivers pose it, the
// same PER and flame iteration run, and the groups are copied out into the caller's
// buffers. Messages come through SERMSG's sink instead of a report: the last EQMD message
// of a state is kept as its message id, and a terminal message ends the batch at that
// state. Broadcasting, names and units are the bindings' work.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "processes.h"
#include "state.h"

namespace core::batch {

// Loads a property file (GPROP.DAT format) for every later batch. Empty on success,
// else the solvers' input/output report without its leading line end
// ("run-time error F2001: OPEN(...)").
std::string load(std::string_view path);
bool loaded();

// The oxidizer's diluents per mole of O2 of the batches that follow (air, as the tables'
// loader fixes it, until set); every batch runs with it.
void set_oxidizer(const DDAIR_t& oxidizer);
DDAIR_t oxidizer();

// The species' molar masses (kg/kmol, DDATA's SM) of the loaded tables.
std::array<double, NSPEC> species_masses();

// Message ids as one-byte codes, for bindings that keep a code per state: 0 none, else
// the index here; an id not listed gets the last code.
inline constexpr std::array<std::string_view, 21> MESSAGE_IDS = {
    "",     "GE01", "GE02", "GE03", "GE04", "GE05", "GE06", "GE07", "GE08", "GE09", "GE10",
    "GE11", "GE12", "GP01", "GP02", "GP03", "GR01", "GR02", "GR03", "GR04", "????"};
std::uint8_t message_code(const char id[4]);

// Per state values of the groups written out, in this order.
inline constexpr int N_X = 13;     // X(1..13)
inline constexpr int N_PROP = 13;  // AVM R H U DRT DHT DUT DRP DHP DUP DRF DHF DUF
inline constexpr int N_DX = 3 * NSPEC;  // DXT(1..12), DXP(1..12), DXF(1..12)
inline constexpr int N_SOUND = 9;  // SPROP: S DST DSP DSF CPF GAMF GAMS AF AE
inline constexpr int N_DET = 6;    // D u2 P2/P1 T2/T1 rho2/rho1 Mach (DetonationResult)
inline constexpr int N_SHOCK = 4;  // u2 P2/P1 T2/T1 rho2/rho1 (ShockResult)

// Where a batch of n states writes. X, prop and TP are required; dX may be null (no
// sensitivities copied). A state without a solution gets NaN everywhere.
struct Out {
    double* X = nullptr;     // n x N_X
    double* prop = nullptr;  // n x N_PROP
    double* dX = nullptr;    // n x N_DX, or null
    double* TP = nullptr;    // n x 2: the state's final T and P
    char* ids = nullptr;     // n x 4: the state's last EQMD message id, blank if none, or null
    int* ends = nullptr;     // n: how a flame iteration ended (FlameEnd), 0 for an equilibrium;
                             // for a process its ProcessEnd
    double* sound = nullptr; // n x N_SOUND (entropy and sound, PERS), or null
    std::uint8_t* codes = nullptr;  // n: the state's last EQMD message as its code, or null
};

// How a batch ended: the state a terminal message stopped it at (-1: none) and that
// message's id.
struct End {
    std::ptrdiff_t stopped_at = -1;
    char terminal[4] = {' ', ' ', ' ', ' '};
};

// The states of a fixed-T,P batch (arrays of n values each).
struct EquilibriumStates {
    std::size_t n = 0;
    const double *AN, *AM, *AL, *AK, *F, *T, *P;
};

// The states of a flame batch: the guess T, and the reactant charge as the input files
// hold it (HREAC in kJ/kmol of fuel).
struct FlameStates {
    std::size_t n = 0;
    const double *AN, *AM, *AL, *AK, *F, *T, *TREAC, *PREAC, *HREAC, *RMOLES, *AVMR;
};

// fresh: a clean run state (a new sweep); otherwise the solver's warm start goes on from
// the previous batch of the same sweep.
End equilibria(const EquilibriumStates& s, const Out& out, bool fresh);
End flames(const FlameStates& s, bool constant_volume, const Out& out, bool fresh);

// Isentropes from the start states s to target[i], a pressure (Pa), temperature (K) or
// volume ratio v_end / v_start as kind says; frozen: at the start's composition. X
// (n x N_X) gives the start compositions, or is null: each start solved at its T, P.
// The end states are written; ends holds the ProcessEnd.
End isentropic(const EquilibriumStates& s, const double* X, IsentropicTarget kind, const double* target,
               bool frozen, const Out& out, bool fresh);

// Chapman-Jouguet detonations of the reactant charges s (T is not used; TREAC, PREAC the
// unburned state), gamma1[i] the reactants' cp/cv for the Mach number (NaN if unknown).
// The burned gas is written to out, the detonation's numbers to det (n x N_DET, NaN
// where it has none); ends holds the ProcessEnd.
End detonations(const FlameStates& s, const double* gamma1, const Out& out, double* det, bool fresh);

// Normal shocks at fixed composition into the states s of composition X (n x N_X),
// entering at u1[i] (m/s). The shocked gas is written to out, the shock's numbers to
// shock (n x N_SHOCK, NaN where it has none); ends holds the ProcessEnd.
End shocks(const EquilibriumStates& s, const double* X, const double* u1, const Out& out, double* shock,
           bool fresh);

}  // namespace core::batch
