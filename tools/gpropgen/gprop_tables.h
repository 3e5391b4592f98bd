// The contents of the property file, in the file's own units, computed from the NASA
// Glenn coefficients of the twelve product species.
#pragma once

#include <array>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "nasa9.h"

namespace gpropgen {

constexpr int kSpecies = 12;
constexpr int kReactions = 7;
constexpr int kPoints = 50;  // 100 K to 5000 K in steps of 100 K

constexpr double kCalorie = 4.184;      // J per thermochemical calorie
constexpr double kAtmosphere = 101325;  // Pa
constexpr double kBar = 100000;         // Pa, the standard state of the coefficients
constexpr double kTRef = 298.15;        // K
constexpr double kLowestFit = 200;      // K, the lowest temperature the coefficients reach

// The species in the order of the file (and of the whole solver core).
inline const std::array<const char*, kSpecies> kSpeciesNames = {
    "H", "O", "N", "H2", "OH", "CO", "NO", "O2", "H2O", "CO2", "N2", "Ar"};

// One reaction: its text and the stoichiometric coefficient of each species,
// positive for the product, negative for the reactants.
struct Reaction {
    const char* text;
    std::array<double, kSpecies> nu;
};

//                                                H    O    N    H2    OH   CO   NO   O2    H2O  CO2  N2    Ar
inline const std::array<Reaction, kReactions> kReactionList = {{
    {"1/2 H2 = H", {1, 0, 0, -0.5, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"1/2 O2 = O", {0, 1, 0, 0, 0, 0, 0, -0.5, 0, 0, 0, 0}},
    {"1/2 N2 = N", {0, 0, 1, 0, 0, 0, 0, 0, 0, 0, -0.5, 0}},
    {"1/2 H2 + 1/2 O2 = OH", {0, 0, 0, -0.5, 1, 0, 0, -0.5, 0, 0, 0, 0}},
    {"1/2 O2 + 1/2 N2 = NO", {0, 0, 0, 0, 0, 0, 1, -0.5, 0, 0, -0.5, 0}},
    {"H2 + 1/2 O2 = H2O", {0, 0, 0, -1, 0, 0, 0, -0.5, 1, 0, 0, 0}},
    {"CO + 1/2 O2 = CO2", {0, 0, 0, 0, 0, -1, 0, -0.5, 0, 1, 0, 0}},
}};

// Cp, H (with the enthalpy of formation) and S of one species at T, SI per mole.
struct ThermoPoint {
    double cp;  // J/(mol K)
    double h;   // J/mol
    double s;   // J/(mol K)
};

// Below 200 K, where the coefficients do not reach, Cp is held at its 200 K value and
// H and S are integrated down from 200 K with it.
inline ThermoPoint thermo_point(const Nasa9Species& sp, double T) {
    double t = T < kLowestFit ? kLowestFit : T;
    ThermoPoint p{sp.cp_R(t) * kRFit, sp.h_RT(t) * kRFit * t, sp.s_R(t) * kRFit};
    if (T < kLowestFit) {
        p.h -= p.cp * (kLowestFit - T);
        p.s -= p.cp * std::log(kLowestFit / T);
    }
    return p;
}

struct SpeciesTables {
    std::string name;
    double SM = 0;            // molar mass, kg/kmol
    double ENTR = 0;          // S(298.15), cal/(mol K)
    double HTO = 0;           // H(298.15) - H(0), kcal/mol
    double DHTO = 0;          // H(298.15), the enthalpy of formation, kcal/mol
    double HT[kPoints] = {};  // H(T) - H(298.15), kcal/mol, at 100, 200, ... 5000 K
    double CT[kPoints] = {};  // Cp(T), cal/(mol K)
};

struct ReactionTable {
    int number = 0;
    std::string text;
    double CKP[kPoints] = {};  // log10 K, partial pressures in standard atmospheres
};

struct GpropTables {
    double GRCAL = kRFit / kCalorie;  // cal/(mol K)
    double CALTOJ = kCalorie;         // J/cal
    double PSATM = kAtmosphere;       // Pa/atm
    std::array<SpeciesTables, kSpecies> species;
    std::array<ReactionTable, kReactions> reactions;
};

inline double point_temperature(int j) { return 100.0 * (j + 1); }  // j = 0..49

inline const Nasa9Species& find_species(const std::vector<Nasa9Species>& all, const std::string& name) {
    for (const auto& sp : all)
        if (sp.name == name) return sp;
    throw std::runtime_error("species " + name + " is missing from the coefficient file");
}

inline SpeciesTables species_tables(const Nasa9Species& sp) {
    SpeciesTables s;
    s.name = sp.name;
    s.SM = sp.molar_mass;
    s.ENTR = thermo_point(sp, kTRef).s / kCalorie;
    s.HTO = sp.interval_at(kTRef).h298_minus_h0 / (kCalorie * 1000);
    s.DHTO = sp.h298 / (kCalorie * 1000);
    for (int j = 0; j < kPoints; ++j) {
        ThermoPoint p = thermo_point(sp, point_temperature(j));
        s.HT[j] = (p.h - sp.h298) / (kCalorie * 1000);
        s.CT[j] = p.cp / kCalorie;
    }
    return s;
}

// log10 K from the Gibbs energies G = H - T S at the standard state of 1 bar, then moved
// to standard atmospheres: each mole of gas gained multiplies K(atm) by (1 bar / 1 atm).
inline ReactionTable reaction_table(int number, const Reaction& r, const std::vector<const Nasa9Species*>& sp) {
    ReactionTable t;
    t.number = number;
    t.text = r.text;
    double dn = 0;
    for (double nu : r.nu) dn += nu;
    const double to_atm = dn * std::log10(kBar / kAtmosphere);
    for (int j = 0; j < kPoints; ++j) {
        double T = point_temperature(j);
        double dG = 0;
        for (int i = 0; i < kSpecies; ++i) {
            if (r.nu[i] == 0) continue;
            ThermoPoint p = thermo_point(*sp[i], T);
            dG += r.nu[i] * (p.h - T * p.s);
        }
        t.CKP[j] = -dG / (kRFit * T * std::log(10.0)) + to_atm;
    }
    return t;
}

inline GpropTables build_gprop(const std::vector<Nasa9Species>& all) {
    GpropTables g;
    std::vector<const Nasa9Species*> ordered;
    for (int i = 0; i < kSpecies; ++i) {
        ordered.push_back(&find_species(all, kSpeciesNames[i]));
        g.species[i] = species_tables(*ordered.back());
    }
    for (int k = 0; k < kReactions; ++k) g.reactions[k] = reaction_table(k + 1, kReactionList[k], ordered);
    return g;
}

}  // namespace gpropgen
