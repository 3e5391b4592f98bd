// The states the processes visit, and the Newton iteration they share (process_state.cpp).
#pragma once

#include <functional>

#include "processes.h"
#include "state.h"

namespace core::process_detail {

// The state at T, P with the composition in equilibrium: PER, then PERS. False when
// EQMD failed (GGCNTL.IERQ set; the groups keep the last success).
bool equilibrium_state(double T, double P);

// The state at T, P with the composition X: BLOC.X = X, PROP and SPROP at fixed
// composition, TAB's DXT and DXP zero and DXF NaN.
void frozen_state(const Vec1<13>& X, double T, double P);

// Two residuals of the unknowns T (K) and y = ln(P/Pa), each evaluation posing its state.
// eval returns false when the state has no solution, else fills f and, when J is not
// null, the Jacobian J[i][0] = df_i/dT, J[i][1] = df_i/dy.
using Residuals = std::function<bool(double T, double y, double f[2], double (*J)[2])>;

struct NewtonSettings {
    int max_steps = 60;
    double tol_T = 1e-7;  // relative step in T that ends the iteration
    double tol_y = 1e-9;  // step in ln P that ends it
    double max_step_T = 0.25;  // a step changes T by at most this fraction
    double max_step_y = 1.0;   // and ln P by at most this
    bool numeric_jacobian = false;  // eval gives f only; J by differences
};

// Newton on (T, y) from the guess, T held inside the processes' range. Ends Solved with
// T, y at the root (the last evaluation made at it), or BelowTables / AboveTables when
// the iteration presses against a limit, NoEquilibrium, NotConverged.
ProcessEnd newton(const Residuals& eval, double& T, double& y, const NewtonSettings& s);

}  // namespace core::process_detail
