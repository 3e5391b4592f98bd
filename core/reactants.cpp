// REACHK: the warnings about a reactant charge of the flame programs that cannot be
// what its own input means. A student's slip (degrees Celsius, the moles or molar mass
// of another equivalence ratio, an enthalpy in J) would otherwise give a flame that is
// wrong without a word; the run goes on, with the warning and both values in the report.
#include <cmath>
#include <string>

#include "edit.h"
#include "routines.h"
#include "sermsg.h"
#include "state.h"

namespace core {

namespace {

// Below it a reactant temperature is almost surely in degrees Celsius, K.
constexpr double TREAC_LOW = 200;
// RMOLES and AVMR may differ this much, relative, from what the atoms and F give.
constexpr double CHARGE_TOLERANCE = 0.01;
// The largest |HREAC| per atom of the charge, kJ/kmol. No charge between 100 and 4000 K
// comes near it: the most stable compounds hold some -130 000 kJ/kmol per atom (CO2),
// the least stable fuels some +80 000, and heating to 4000 K adds less than 100 000.
constexpr double HREAC_PER_ATOM = 200000;
// Standard atomic weights of the fuel's atoms, kg/kmol (carbon has no species of its
// own in the tables).
constexpr double WC = 12.011, WH = 1.008, WO = 15.999, WN = 14.007;

// The oxidizer of the tables, per mole of O2: its moles, molar mass and atoms.
struct Oxidizer {
    double moles, mass, atoms;
};

Oxidizer oxidizer() {
    const DDAIR_t& a = DDAIR;
    const Vec1<NSPEC>& SM = DDATA.SM;
    return {1 + a.QN2 + a.QAR + a.QCO2 + a.QH2O,
            SM(8) + a.QN2 * SM(11) + a.QAR * SM(12) + a.QCO2 * SM(10) + a.QH2O * SM(9),
            2 + 2 * a.QN2 + a.QAR + 3 * a.QCO2 + 3 * a.QH2O};
}

// "MOLES OF REACTANTS   10.000 GIVEN,  10.520 FROM THE ATOMS AND F FOR THE OXIDIZER"
std::string given_and_implied(std::string_view what, double given, double implied, int w, int d) {
    return Record().lit(" ").lit(what).F(given, w, d).lit(" GIVEN,").F(implied, w, d)
        .lit(" FROM THE ATOMS AND F").text();
}

bool off(double given, double implied) {
    return !(std::fabs(given - implied) <= CHARGE_TOLERANCE * std::fabs(implied));
}

}  // namespace

void REACHK() {
    const BLOC_t& b = BLOC;
    const FUEL_t& f = FUEL;
    if (f.TREAC < TREAC_LOW)
        SERMSG_INPUT("REACHK", "GR01",
                     Record().lit(" REACTANT TEMPERATURE").F(f.TREAC, 7, 1).lit(" K IS BELOW 200 K: IS IT IN KELVIN?").text());

    // What the atoms and F give; a fuel the equilibrium refuses anyway (GE11, GE12) or
    // one that needs no oxygen is not judged.
    if (!(b.F > 0) || b.AN < 0 || b.AM < 0 || b.AL < 0 || b.AK < 0) return;
    const double R0 = (b.AN + b.AM / 4 - b.AL / 2) / b.F;  // moles of O2 per mole of fuel
    const Oxidizer ox = oxidizer();
    const double RMOLES = 1 + R0 * ox.moles;
    const double AVMR = (WC * b.AN + WH * b.AM + WO * b.AL + WN * b.AK + R0 * ox.mass) / RMOLES;
    const double HMAX = HREAC_PER_ATOM * (b.AN + b.AM + b.AL + b.AK + R0 * ox.atoms);
    if (!(R0 > 0) || !std::isfinite(RMOLES) || !std::isfinite(AVMR) || !std::isfinite(HMAX)) return;
    if (off(f.RMOLES, RMOLES))
        SERMSG_INPUT("REACHK", "GR02", given_and_implied("MOLES OF REACTANTS", f.RMOLES, RMOLES, 8, 3));
    if (off(f.AVMR, AVMR))
        SERMSG_INPUT("REACHK", "GR03", given_and_implied("MOLEC WT OF REACTANTS", f.AVMR, AVMR, 8, 3));
    if (!(std::fabs(f.HREAC) <= HMAX))
        SERMSG_INPUT("REACHK", "GR04",
                     Record().lit(" ENTHALPY OF REACTANTS").E(f.HREAC, 13, 6).lit(" kJ/kmol IS BEYOND +-")
                         .E(HMAX, 12, 5).text());
}

}  // namespace core
