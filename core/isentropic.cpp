// Isentropic compression and expansion from a state at equilibrium.
//
// The end state has the start's entropy S0 and the target's P, T or specific volume.
// Newton on T and y = ln P (process_state.h) with the residuals
//   f1 = (S - S0) / R0                        (R0 the start's gas constant)
//   f2 = y - ln P_target,  or T - T_target,  or ln(R T / P) - ln(v_target),
// and the Jacobian from the entropy's derivatives at shifting equilibrium (SPROP; the
// frozen ones at fixed composition) and PROP's R derivatives. The guess is the ideal
// gas's isentrope with the start's exponent: T P^((1-g)/g) constant.
#include <cmath>

#include "entropy.h"
#include "process_state.h"
#include "processes.h"

namespace core {

using namespace process_detail;

ProcessEnd isentrope(IsentropicTarget kind, double target, bool frozen, const Vec1<13>* given) {
    const double T1 = BLOC.T, P1 = BLOC.P;
    if (given) frozen_state(*given, T1, P1);
    else if (!equilibrium_state(T1, P1)) return ProcessEnd::NoEquilibrium;
    const Vec1<13> X1 = BLOC.X;
    const double S0 = SPROP.S, R0 = PROP.R;
    const double g = frozen || given ? SPROP.GAMF : SPROP.GAMS;
    const double v1 = PROP.R * T1 / P1;

    double T = T1, y = std::log(P1);
    switch (kind) {
    case IsentropicTarget::P:
        y = std::log(target);
        T = T1 * std::pow(target / P1, (g - 1) / g);
        break;
    case IsentropicTarget::T:
        T = target;
        y = std::log(P1) + g / (g - 1) * std::log(target / T1);
        break;
    case IsentropicTarget::VolumeRatio:
        T = T1 * std::pow(target, 1 - g);
        y = std::log(P1) - g * std::log(target);
        break;
    }
    T = std::fmin(std::fmax(T, PROCESS_T_MIN * 1.01), PROCESS_T_MAX);

    const Residuals eval = [&](double Tk, double yk, double f[2], double (*J)[2]) {
        const double P = std::exp(yk);
        if (frozen) frozen_state(X1, Tk, P);
        else if (!equilibrium_state(Tk, P)) return false;
        const PROP_t& p = PROP;
        const SPROP_t& s = SPROP;
        f[0] = (s.S - S0) / R0;
        if (J) {
            J[0][0] = s.DST / R0;
            J[0][1] = P * s.DSP / R0;
        }
        switch (kind) {
        case IsentropicTarget::P:
            f[1] = yk - std::log(target);
            if (J) J[1][0] = 0, J[1][1] = 1;
            break;
        case IsentropicTarget::T:
            f[1] = (Tk - target) / T1;
            if (J) J[1][0] = 1 / T1, J[1][1] = 0;
            break;
        case IsentropicTarget::VolumeRatio:
            f[1] = std::log(p.R * Tk / P) - std::log(target * v1);
            if (J) J[1][0] = p.DRT / p.R + 1 / Tk, J[1][1] = P * p.DRP / p.R - 1;
            break;
        }
        return true;
    };
    return newton(eval, T, y, NewtonSettings{});
}

}  // namespace core
