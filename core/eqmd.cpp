// EQMD: the equilibrium composition of the products at T, P and F, and its
// sensitivities. The steps of one call, in order: range checks; PHI and the atom
// sums; carbon check; atom ratios and pressure-scaled constants; warm or cold start;
// Newton iteration; completion; sensitivities. A fuel without carbon or hydrogen, and
// a state this scheme cannot start or converge, go to the general method
// (equil_general.h) instead. Any failure clears the warm-start memory and is reported
// as a warning.
#include <algorithm>
#include <cmath>

#include "eqmd.h"
#include "equil_general.h"
#include "routines.h"
#include "sermsg.h"

namespace core {

using namespace eqmd_const;
using namespace eqmd_detail;

namespace {

TableRowRule g_row_rule = TableRowRule::Divide;
bool g_continuation = true;
bool g_general = true;
EqmdMemory g_memory;
EqmdTrace g_trace;

const RunStateReset g_reset([] {
    g_memory = {};
    g_trace = {};
});

// A temperature outside the tables ends the run, and so does input that neither method
// can work with at all: the square root of the pressure, the division by PHI, and a
// negative atom number would otherwise produce no numbers. Returns the id of the
// terminal message, or nullptr when the state can be solved.
const char* out_of_scope() {
    const BLOC_t& b = BLOC;
    if (b.T < T_MIN) return "GE04";
    if (!(b.T <= T_MAX)) return "GE02";  // also a temperature that is no number
    if (!(b.P > 0)) return "GE03";
    if (!(b.F > 0)) return "GE11";
    if (!(b.AN >= 0) || !(b.AM >= 0) || !(b.AL >= 0) || !(b.AK >= 0)) return "GE12";
    if (!g_general && (b.AN == 0 || b.AM == 0)) return "GE12";  // as before the general method
    return nullptr;
}

// EQMD's own scheme divides by the carbon count and by sqrt(X(4)) and sqrt(X(11)): a
// fuel without carbon or without hydrogen, and a charge without nitrogen (an oxidizer
// without N2 and a fuel without N), go to the general method alone. So does every
// oxidizer other than the programs' air: no report depends on the own scheme there, and
// the general method solves F = 1 itself instead of at PHI = 0.9995.
bool other_than_air() {
    const DDAIR_t& a = DDAIR;
    return a.QN2 != 3.76 || a.QAR != 0 || a.QCO2 != 0 || a.QH2O != 0;
}
bool beyond_own_scheme() { return BLOC.AN == 0 || BLOC.AM == 0 || (BLOC.AK == 0 && DDAIR.QN2 == 0) || other_than_air(); }

// The failures of EQMD's own scheme that the general method takes over: no first
// estimate, and a Newton iteration that left the range or did not converge.
bool handed_over(int code) {
    return g_general && (code == NO_FIRST_ESTIMATE || code == NON_POSITIVE || code == NO_CONVERGENCE);
}

// The general method on the state; on success X and TAB hold its answer. EQMD's warm
// start is cleared, as after a failure: its memory holds EQMD's own solutions only
// (a general solve may be one EQMD cannot start from, with X(4) or X(6) zero), and the
// next call then runs exactly as it ran before the general method took such states.
int by_general_method() {
    const int code = equil_general();
    if (code == OK) {
        g_memory.JF = 0;
        g_trace.general = true;
        g_trace.newton_steps = equil_general_last_call().newton_steps;
    }
    return code;
}

bool close_to_memory(const Work& w) {
    const EqmdMemory& m = g_memory;
    return m.JF == 1 && std::abs(w.PHI - m.PHIPR) <= WARM_PHI &&
           std::abs(BLOC.T / m.TPR - 1) <= WARM_T && std::abs(BLOC.P / m.PPR - 1) <= WARM_P;
}

void warm_start() {
    BLOC.X(4) = g_memory.X4PR;
    BLOC.X(6) = g_memory.X6PR;
    BLOC.X(8) = g_memory.X8PR;
    BLOC.X(11) = g_memory.X11PR;
}

void remember(const Work& w) {
    const Vec1<13>& X = BLOC.X;
    g_memory = {1, w.PHI, BLOC.T, BLOC.P, X(4), X(6), X(8), X(11)};
}

bool all_finite(const Vec1<13>& X) {
    for (int i = 1; i <= 13; ++i)
        if (!std::isfinite(X(i))) return false;
    return true;
}

int complete_checked(Work& w) {
    complete(w);
    return all_finite(BLOC.X) ? OK : NON_POSITIVE;
}

// Clears the memory so that the next call starts cold, then the warning of the code.
// A failed solve leaves its last iterate in X, unless the iterate is no longer made of
// numbers: then X goes back to what it held before the call, so that nothing that is
// not a number can reach a report.
void fail(const Vec1<13>& on_entry) {
    g_memory.JF = 0;
    if (!all_finite(BLOC.X)) BLOC.X = on_entry;
    static const char* const ID[] = {"GE05", "GE06", "GE07", "GE08", "GE09", "GE10"};
    const int code = GGCNTL.IERQ;
    if (code >= TOO_MUCH_CARBON && code <= SINGULAR_SENS)
        SERMSG(0, "EQMD  ", ID[code - TOO_MUCH_CARBON]);
}

// Steps 2 to 12 of a call; the status for IERQ.
int solve_state(Work& w) {
    atom_sums(w);
    if (w.R3 / 2 >= w.R) GGCNTL.IERQ = TOO_MUCH_CARBON;  // no more carbon than oxygen atoms
    if (GGCNTL.IERQ != OK) return GGCNTL.IERQ;
    ratios_and_constants(w);

    g_trace.warm = close_to_memory(w);
    if (g_trace.warm) warm_start();
    else if (int code = cold_start(w); code != OK) return code;

    if (int code = newton_iteration(w, g_trace.newton_steps); code != OK) return code;

    remember(w);
    if (int code = complete_checked(w); code != OK) return code;
    assemble_jacobian(w);
    return sensitivities(w);
}

// One solve at the temperature T, as a call makes it but without a message: the kept
// memory decides between the warm and the cold start, and a success is remembered.
int solve_at(double T, int& newton_steps) {
    BLOC.T = T;
    GGCNTL.IERQ = OK;
    Work w;
    const int code = solve_state(w);
    newton_steps += g_trace.newton_steps;
    ++g_trace.continued;
    return code;
}

// A hot, thin state defeats the cold start: its first estimate (the products of
// complete combustion) lies so far from the dissociated solution that a Newton step
// takes a mole fraction below zero, or 25 steps do not reach it. The same iteration
// converges from the solution at a somewhat lower temperature, so the state is solved
// by continuation: cold at the highest of T*0.9, T*0.81, ... that the cold start
// reaches, then up to T in steps within the warm-start band, each step starting from
// the one before. Nothing is reported on the way. When this fails too, X, TAB, the
// kept memory and the trace go back to what the failed cold start left, and the call
// fails with that start's code, as it always has.
int by_continuation(int cold_code) {
    const double T = BLOC.T;
    const Vec1<13> X_failed = BLOC.X;
    const TAB_t tab = TAB;
    const EqmdMemory memory = g_memory;
    const EqmdTrace trace = g_trace;
    int steps = trace.newton_steps;

    int code = cold_code;
    double T_start = T;
    for (int k = 1; k <= CONT_TRIES && code != OK; ++k) {
        T_start *= CONT_DOWN;
        g_memory.JF = 0;  // a cold start at each try
        code = solve_at(T_start, steps);
    }
    if (code == OK) {
        const int n = static_cast<int>(std::ceil(std::log(T / T_start) / std::log(CONT_UP)));
        for (int i = 1; i < n && code == OK; ++i) code = solve_at(T_start * std::pow(T / T_start, double(i) / n), steps);
        if (code == OK) code = solve_at(T, steps);  // the last step lands on T exactly
    }
    BLOC.T = T;
    const int solves = g_trace.continued;
    g_trace = trace;  // the call started cold
    if (code != OK) {
        BLOC.X = X_failed;
        TAB = tab;
        g_memory = memory;
        return cold_code;
    }
    g_trace.continued = solves;
    g_trace.newton_steps = steps;
    return OK;
}

}  // namespace

void set_eqmd_table_row_rule(TableRowRule rule) { g_row_rule = rule; }
void set_eqmd_continuation(bool on) { g_continuation = on; }
void set_eqmd_general_method(bool on) { g_general = on; }

int eqmd_table_row(double T) {
    const int row = static_cast<int>(g_row_rule == TableRowRule::Divide ? T / 100 : T * ROW_SCALE);
    // The scaled rule puts T = 100 K and the first 2E-7 K above it on a row 0 that the
    // tables do not have; they belong to the first interval.
    return std::max(row, 1);
}

const EqmdMemory& eqmd_memory() { return g_memory; }
const EqmdTrace& eqmd_last_call() { return g_trace; }

void EQMD() {
    if (BLOC.T < T_WARN) SERMSG(0, "EQMD  ", "GE01");
    if (const char* id = out_of_scope()) {
        SERMSG(1, "EQMD  ", id);  // ends the run
        return;
    }
    g_trace = {};
    const Vec1<13> on_entry = BLOC.X;
    const bool cleared = GGCNTL.IERQ == OK;  // a status on entry is a failure of its own
    if (g_general && beyond_own_scheme()) {
        if (cleared) GGCNTL.IERQ = by_general_method();
        if (GGCNTL.IERQ == OK) return;
        // Only a charge with nothing to burn (no carbon, no hydrogen, no O2 supplied)
        // or too much carbon fails here; too much carbon keeps its own warning.
        if (GGCNTL.IERQ != TOO_MUCH_CARBON) {
            g_memory.JF = 0;
            SERMSG(1, "EQMD  ", "GE12");  // ends the run
            return;
        }
        fail(on_entry);
        return;
    }
    Work w;
    GGCNTL.IERQ = solve_state(w);
    const bool newton_failed = GGCNTL.IERQ == NON_POSITIVE || GGCNTL.IERQ == NO_CONVERGENCE;
    if (g_continuation && cleared && newton_failed && !g_trace.warm) GGCNTL.IERQ = by_continuation(GGCNTL.IERQ);
    // The general method solves what is left; when it fails too, the message is EQMD's.
    if (cleared && handed_over(GGCNTL.IERQ) && by_general_method() == OK) GGCNTL.IERQ = OK;
    if (GGCNTL.IERQ != OK) fail(on_entry);
}

}  // namespace core
