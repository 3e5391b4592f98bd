// The general method's entry: set-up, warm or cold start, Newton iteration, completion.
//
// It keeps its own warm start, apart from EQMD's: the unknowns of its last success with
// their derivatives by T, P and F, the charge and the state they belong to; a warm start
// moves the kept unknowns along those derivatives to the state asked for. The iteration
// converges to round-off from either start, so the warm start changes the cost of a
// call, not its digits; a warm start that fails is tried again cold.
#include <cmath>

#include "eqmd.h"
#include "equil_general.h"

namespace core {

using namespace general_detail;
using eqmd_detail::NO_CONVERGENCE;
using eqmd_detail::NO_FIRST_ESTIMATE;
using eqmd_detail::OK;
using eqmd_detail::TOO_MUCH_CARBON;

namespace {

// A kept solution is reused for the same charge within these relative bands.
constexpr double WARM_T = 0.05, WARM_P = 0.5, WARM_F = 0.05;

struct Memory {
    bool valid = false;
    double AN = 0, AM = 0, AL = 0, AK = 0, F = 0, T = 0, P = 0;
    DDAIR_t air;
    double y[NBASE] = {};
    double dy[3][NBASE] = {};
};
Memory g_memory;
GeneralTrace g_trace;

const RunStateReset g_reset([] {
    g_memory = {};
    g_trace = {};
});

bool same_air(const DDAIR_t& a, const DDAIR_t& b) {
    return a.QN2 == b.QN2 && a.QAR == b.QAR && a.QCO2 == b.QCO2 && a.QH2O == b.QH2O;
}

bool close_to_memory() {
    const Memory& m = g_memory;
    const BLOC_t& b = BLOC;
    return m.valid && m.AN == b.AN && m.AM == b.AM && m.AL == b.AL && m.AK == b.AK && same_air(m.air, DDAIR) &&
           std::abs(b.T / m.T - 1) <= WARM_T && std::abs(b.P / m.P - 1) <= WARM_P && std::abs(b.F / m.F - 1) <= WARM_F;
}

void remember(const Work& w) {
    const BLOC_t& b = BLOC;
    g_memory = {true, b.AN, b.AM, b.AL, b.AK, b.F, b.T, b.P, DDAIR, {}, {}};
    for (int j = 0; j < NBASE; ++j) {
        g_memory.y[j] = w.y[j];
        for (int col = 0; col < 3; ++col) g_memory.dy[col][j] = w.dy[col][j];
    }
}

}  // namespace

const GeneralTrace& equil_general_last_call() { return g_trace; }

int equil_general() {
    g_trace = {};
    Work w;
    if (!charge_of_state(w.c)) return NO_FIRST_ESTIMATE;
    if (w.c.b[BC] >= w.c.b[BO]) return TOO_MUCH_CARBON;  // no more carbon than oxygen atoms
    constants_of_state(w);

    int code = NO_CONVERGENCE;
    if (close_to_memory()) {
        g_trace.warm = true;
        const Memory& m = g_memory;
        const double change[3] = {BLOC.T - m.T, BLOC.P - m.P, BLOC.F - m.F};
        for (int j = 0; j < NBASE; ++j) {
            w.y[j] = m.y[j];
            for (int col = 0; col < 3; ++col) w.y[j] += m.dy[col][j] * change[col];
        }
        code = newton(w, g_trace.newton_steps);
    }
    if (code != OK) {
        g_trace.warm = false;
        cold_start(w);
        code = newton(w, g_trace.newton_steps);
    }
    if (code != OK) {
        g_memory.valid = false;
        return code;
    }
    Vec1<13> X;
    TAB_t tab;
    code = complete_and_sensitivities(w, X, tab);
    if (code != OK) {
        g_memory.valid = false;
        return code;
    }
    remember(w);
    BLOC.X = X;
    TAB = tab;
    return OK;
}

}  // namespace core
