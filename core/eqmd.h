// The equilibrium solver EQMD: its program setting, its kept memory, and the named
// steps it is built from (eqmd.cpp, eqmd_start.cpp, eqmd_newton.cpp,
// eqmd_sensitivity.cpp).
//
// Four solution variables X(4) H2, X(6) CO, X(8) O2, X(11) N2 fix the other species
// through the seven equilibrium relations; the Newton iteration drives the hydrogen,
// oxygen and nitrogen atom ratios and the sum of the mole fractions to their targets.
#pragma once

#include <cstdint>

#include "state.h"

namespace core {

// Thresholds and factors of the solver. The single-precision ones are kept as the
// float values they have always been, widened to double: 0.9995 is in effect
// 0.99949997663497925, and results near a threshold depend on that.
namespace eqmd_const {
inline constexpr double PHI_BAND = double(5E-4f);      // |F - 1| up to which PHI is moved off 1
inline constexpr double PHI_NEAR_ONE = double(0.9995f); // the PHI used inside that band
inline constexpr double WARM_PHI = double(1E-6f);      // warm start: |PHI - PHIPR| at most this
inline constexpr double WARM_T = double(0.02f);        // warm start: |T/TPR - 1| at most this
inline constexpr double WARM_P = double(0.05f);        // warm start: |P/PPR - 1| at most this
inline constexpr double OX_SHRINK = double(0.1f);      // bracketing factor on the O2 estimate
inline constexpr double OX_FLOOR = double(1E-37f);     // bracketing gives up below this O2 fraction
inline constexpr double OX_TOL = double(0.01f);        // relative step that ends Newton on OX
inline constexpr double ROW_SCALE = double(0.01f);     // T * ROW_SCALE: table row, constant-volume program
inline constexpr double PIVOT_SMALL = double(1E-5f);   // Newton solve pivots only below this
inline constexpr double PREC = 0.001;                  // relative tolerance of the Newton iteration
inline constexpr double ZZ = 2.302585093;              // ln 10
inline constexpr int OX_STEPS = 20;                    // Newton steps on OX, at most
inline constexpr int NEWTON_STEPS = 25;                // Newton steps on the four variables, at most
inline constexpr double T_WARN = 600;                  // below: warning GE01
inline constexpr double T_MIN = 100;                   // below: fatal GE04
inline constexpr double T_MAX = 5000;                  // above: fatal GE02
// Continuation of a hot state that the cold start cannot reach (see EQMD):
inline constexpr double CONT_DOWN = 0.9;    // each try of a lower start temperature, factor on T
inline constexpr int CONT_TRIES = 8;        // lower start temperatures tried, at most (down to 0.43 T)
inline constexpr double CONT_UP = 1.015;    // each step up, at most; inside the warm-start band WARM_T
}  // namespace eqmd_const

// The one difference between the two programs' solvers: the table row of T.
enum class TableRowRule {
    Divide,  // NT = trunc(T/100): the fixed-T,P program (the default)
    Scale,   // NT = trunc(T*0.01), 0.01 in single precision: the constant-volume
             // program; it takes the row below at a row temperature and just above it
};
// A setting of the program, made once at start-up; it is not run state and
// reset_run_state() leaves it alone.
void set_eqmd_table_row_rule(TableRowRule rule);
int eqmd_table_row(double T);

// Whether a state whose cold start fails with GE08 or GE09 is tried again by
// continuation from a lower temperature (see EQMD; on by default). A setting like the
// table-row rule: the sweep and the tests compare with the cold start alone.
void set_eqmd_continuation(bool on);

// Whether the states EQMD's own scheme refuses or fails go to the general method (see
// EQMD; on by default). Off, they end as they did before it: GE12 for a fuel without
// carbon or hydrogen, GE06, GE08 or GE09. The benchmarks compare the two.
void set_eqmd_general_method(bool on);

// What EQMD keeps from one call to the next (cold at program start and after any
// failure; see reset_run_state()).
struct EqmdMemory {
    std::int32_t JF = 0;  // 1 while the last solution may be reused
    double PHIPR = 0, TPR = 0, PPR = 0;            // PHI, T, P of the last success
    double X4PR = 0, X6PR = 0, X8PR = 0, X11PR = 0; // its solution variables
};
const EqmdMemory& eqmd_memory();

// How the last call went, for tests and benchmarks; EQMD itself never reads it.
struct EqmdTrace {
    bool warm = false;     // it started from the kept solution
    int newton_steps = 0;  // Newton steps on the four variables (IND at the end; all
                           // of them when the call was solved by continuation)
    int continued = 0;     // solves of the continuation that solved the call after its
                           // cold start failed (0: none, or it failed too)
    bool general = false;  // the general method solved the call (equil_general.h);
                           // newton_steps are then its own
};
const EqmdTrace& eqmd_last_call();

namespace eqmd_detail {

// 1-based 4x4 matrix of the Newton system.
struct Mat4 {
    double v[4][4] = {};
    double& operator()(int i, int j) { return v[i - 1][j - 1]; }
    double operator()(int i, int j) const { return v[i - 1][j - 1]; }
};

// Derivatives of the dependent species by the solution variables; the digits name
// the two species (T54: X(5) by X(4)).
struct Slopes {
    double T14 = 0, T28 = 0, T311 = 0, T54 = 0, T58 = 0, T78 = 0, T711 = 0;
    double T94 = 0, T98 = 0, T106 = 0, T108 = 0;
};

// Everything one call forms; nothing of it survives the call.
struct Work {
    double PHI = 0;  // equivalence ratio used by the solver
    double R0 = 0;   // O2 supplied per mole of fuel
    double R = 0;    // half the oxygen atoms per mole of fuel
    double R1 = 0;   // half the nitrogen atoms per mole of fuel
    double R2 = 0;   // argon atoms per mole of fuel
    double R3 = 0;   // carbon atoms per mole of fuel
    double R4 = 0;   // hydrogen atoms per mole of fuel
    double D1 = 0, D2 = 0, D3 = 0, D4 = 0;  // H/C, O/C, N/C, Ar/C atom ratios
    double SQP = 0;  // sqrt of the pressure in atmospheres
    int NT = 0;      // table row at or below T
    Vec1<NREACT> AKC;   // pressure-scaled equilibrium constants
    Vec1<NREACT> DLNK;  // d(ln AKC)/dT of the interval in use, 1/K
    double SQX4 = 0, SQX8 = 0, SQX11 = 0;
    Slopes s;
    Mat4 A;       // Jacobian (rows H, O, N, closure; columns X4, X6, X8, X11)
    Vec1<4> B;    // right-hand side, then the Newton correction
};

// Status codes of IERQ.
inline constexpr int OK = 0;
inline constexpr int TOO_MUCH_CARBON = 3;  // GE05
inline constexpr int NO_FIRST_ESTIMATE = 4; // GE06
inline constexpr int SINGULAR = 5;         // GE07
inline constexpr int NON_POSITIVE = 6;     // GE08
inline constexpr int NO_CONVERGENCE = 7;   // GE09
inline constexpr int SINGULAR_SENS = 8;    // GE10

// eqmd_start.cpp
void atom_sums(Work& w);              // PHI, R0, R, R1..R4
void ratios_and_constants(Work& w);   // D1..D4, SQP, AKC, DLNK
int cold_start(Work& w);              // first estimate of X(4), X(6), X(8), X(11)

// eqmd_newton.cpp
void dependent_species(Work& w);      // X(1..3,5,7,9,10) from the solution variables
void assemble_jacobian(Work& w);      // slopes and A at the current state
void assemble_residuals(Work& w);     // B: right side minus left side of the balances
int solve_newton_system(Work& w);     // A.Delta = B, Delta into B; OK or SINGULAR
int newton_iteration(Work& w, int& steps);
void complete(Work& w);               // X(1..3,5,7,9,10), X(13), X(12) of a converged solve
// From EQMD's solution in BLOC.X on, its iteration carried on until its steps are
// round-off: what its equations and tables give once its tolerance is out of the way,
// for comparison with the general method.
void to_fixed_point();

// eqmd_sensitivity.cpp
int sensitivities(Work& w);           // DXT, DXP, DXF at the converged state

}  // namespace eqmd_detail
}  // namespace core
