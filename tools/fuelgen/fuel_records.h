// The records of FUELS.DAT: the fuels of fuels.nasa9 and fuels-extra.nasa9, and the
// oxidizer's species (O2 and its diluents N2, Ar, CO2, H2O) of products.nasa9, each with its atoms, molar mass, enthalpy of formation and the
// coefficients that give its enthalpy at any reactant temperature.
//
//   title line, then per species one head line and one line per temperature interval:
//   role name formula C H O N molar-mass(kg/kmol) hf(J/mol, 298.15 K) intervals
//   Tmin Tmax (K) a1..a7 b1   (H/(RT) of the NASA Glenn 9-coefficient form)
// Fields are separated by blanks; role is "fuel" or "air". Records end in LF.
//
// Header-only so that the tests can regenerate the file in-process.
#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "../gpropgen/nasa9.h"

namespace fuelgen {

// Names by which the module finds a species whose entry names only its formula
// (an entry "C7H16,n-heptane" names itself).
struct CommonName {
    const char* formula;
    const char* name;
};
inline constexpr CommonName kCommonNames[] = {
    {"CH4", "methane"},  {"C3H8", "propane"}, {"CH3OH", "methanol"}, {"C2H5OH", "ethanol"},
    {"C6H6", "benzene"}, {"C2H4", "ethylene"}, {"O2", "oxygen"},     {"N2", "nitrogen"},
    {"H2", "hydrogen"},  {"NH3", "ammonia"},  {"CO", "carbon-monoxide"}, {"N2H4", "hydrazine"},
    {"C2H6", "ethane"},  {"CH3OCH3", "dimethyl-ether"}, {"Ar", "argon"}, {"CO2", "carbon-dioxide"},
    {"H2O", "water"},
};

// Entries whose name is no formula: the formula the file gives them instead (their atoms
// written out) and their common name. Names hold no blanks (the file's fields are
// blank-separated).
struct Surrogate {
    const char* entry;
    const char* formula;
    const char* name;
};
inline constexpr Surrogate kSurrogates[] = {{"Jet-A(g)", "C12H23", "Jet-A"}};

// The oxidizer's species that the reactant enthalpy needs besides the fuel: O2 and the
// diluents an oxidizer may carry per mole of O2 (air: 3.76 N2), O2 and N2 first.
inline constexpr const char* kAirSpecies[] = {"O2", "N2", "Ar", "CO2", "H2O"};

struct Atoms {
    double C = 0, H = 0, O = 0, N = 0;
};

// The species' atoms, from the entry's element counts. Argon, inert and in no fuel, is
// allowed in the oxidizer only and has no column.
inline Atoms atoms_of(const gpropgen::Nasa9Species& s, bool oxidizer = false) {
    Atoms a;
    for (const auto& [symbol, n] : s.elements) {
        if (oxidizer && symbol == "AR") continue;
        if (symbol == "C") a.C = n;
        else if (symbol == "H") a.H = n;
        else if (symbol == "O") a.O = n;
        else if (symbol == "N") a.N = n;
        else throw std::runtime_error(s.name + ": element " + symbol + " is not one of C, H, O, N");
    }
    return a;
}

inline std::string common_name(const std::string& entry_name, std::string& formula) {
    for (const auto& s : kSurrogates)
        if (entry_name == s.entry) {
            formula = s.formula;
            return s.name;
        }
    size_t comma = entry_name.find(',');
    formula = entry_name.substr(0, comma);
    if (comma != std::string::npos) return entry_name.substr(comma + 1);
    for (const auto& c : kCommonNames)
        if (formula == c.formula) return c.name;
    return formula;
}

inline std::string species_records(const char* role, const gpropgen::Nasa9Species& s) {
    std::string formula, name = common_name(s.name, formula);
    Atoms a = atoms_of(s, std::string_view(role) == "air");
    char buf[256];
    std::snprintf(buf, sizeof buf, "%s %s %s %g %g %g %g %.7f %.3f %zu\n", role, name.c_str(), formula.c_str(), a.C,
                  a.H, a.O, a.N, s.molar_mass, s.h298, s.intervals.size());
    std::string out = buf;
    for (const auto& iv : s.intervals) {
        std::snprintf(buf, sizeof buf, "%10.3f %10.3f", iv.tmin, iv.tmax);
        out += buf;
        for (double c : iv.a) {
            std::snprintf(buf, sizeof buf, " %16.9E", c);
            out += buf;
        }
        std::snprintf(buf, sizeof buf, " %16.9E\n", iv.b1);
        out += buf;
    }
    return out;
}

// The whole file from the texts of the fuel files (fuels.nasa9, fuels-extra.nasa9: their
// entries in this order) and of products.nasa9.
inline std::string fuels_text(const std::vector<std::string_view>& fuel_sources, std::string_view products_source) {
    std::string out =
        "FUELS.DAT - fuels and air species, NASA Glenn coefficients (written by tools/fuelgen)\n";
    for (std::string_view source : fuel_sources) {
        std::vector<gpropgen::Nasa9Species> fuels = gpropgen::parse_nasa9(source);
        if (fuels.empty()) throw std::runtime_error("no fuel entries");
        for (const auto& f : fuels) out += species_records("fuel", f);
    }

    std::vector<gpropgen::Nasa9Species> products = gpropgen::parse_nasa9(products_source);
    for (const char* want : kAirSpecies) {
        size_t i = 0;
        while (i < products.size() && products[i].name != want) ++i;
        if (i == products.size()) throw std::runtime_error(std::string("no entry for ") + want);
        out += species_records("air", products[i]);
    }
    return out;
}

}  // namespace fuelgen
