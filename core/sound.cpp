// Speeds of sound and isentropic exponents, frozen and at shifting equilibrium.
//
// The isentropic exponent is gamma_s = (d ln P / d ln rho)_s, and a^2 = (dP/drho)_s =
// gamma_s P / rho = gamma_s R T with the products' own R = RJOUL / AVM.
//
// Frozen (composition fixed): R is constant, and for an ideal gas gamma = cp / cv with
// cp = sum X Cp_i / AVM and cv = cp - R.
//
// Equilibrium: rho = P / (R T) with R moving with the composition, so
//   d ln rho = d ln P - (DRT / R + 1 / T) dT - (DRP / R) dP,
// and along the isentrope dT = tau dP with tau = -DSP / DST; hence
//   1 / gamma_s = 1 - P [(DRT / R + 1 / T) tau + DRP / R].
// With R fixed (DRT = DRP = 0, DST = cp / T, DSP = -R / P) this is cp / cv again.
//
// Neither is the reports' Cp/Cv, which is DHT / DUT with DUT taken at constant pressure.
#include <cmath>

#include "entropy.h"

namespace core {

SPROP_t sound_from_entropy(SPROP_t s, double cpf, const PROP_t& p, double T, double P) {
    s.CPF = cpf;
    s.GAMF = cpf / (cpf - p.R);
    s.AF = std::sqrt(s.GAMF * p.R * T);
    const double tau = -s.DSP / s.DST;
    s.GAMS = 1.0 / (1.0 - P * ((p.DRT / p.R + 1.0 / T) * tau + p.DRP / p.R));
    s.AE = std::sqrt(s.GAMS * p.R * T);
    return s;
}

}  // namespace core
