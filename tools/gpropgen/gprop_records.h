// The 207 fixed-column records of GPROP.DAT, written with the solvers' own output forms.
//
//   1        title
//   2        constants: label, GRCAL, label, CALTOJ, label, PSATM (10 columns each)
//   3-158    per species: name (20 columns), SM, ENTR, HTO, DHTO (10 columns each);
//            6 records of enthalpy points, 6 of heat-capacity points
//   159-207  per reaction: "REACTION NUMBER" and its digit in column 16, then the
//            reaction's text; 6 records of log10 K points
// A table run of 50 points fills 6 records of 8-column values, 9 to a record.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "edit.h"
#include "gprop_tables.h"

namespace gpropgen {

constexpr int kConstantsWidth = 10;
constexpr int kPointWidth = 8;
constexpr int kPointsPerRecord = 9;

// The decimals of a value in a field of w columns: as many as the field holds while one
// leading blank remains, so that neighbouring fields never run together.
inline int decimals_for(double v, int w) {
    for (int d = w - 2; d >= 0; --d) {
        std::string text;
        core::put_F(text, v, w, d);
        if (text[0] == ' ') return d;
    }
    throw std::runtime_error("value " + std::to_string(v) + " does not fit in " + std::to_string(w) + " columns");
}

inline core::Record& fitted(core::Record& r, double v, int w) { return r.F(v, w, decimals_for(v, w)); }

inline void add_points(std::vector<std::string>& records, const double (&points)[kPoints]) {
    for (int first = 0; first < kPoints; first += kPointsPerRecord) {
        core::Record r;
        for (int j = first; j < kPoints && j < first + kPointsPerRecord; ++j) fitted(r, points[j], kPointWidth);
        records.push_back(r.text());
    }
}

inline std::vector<std::string> gprop_records(const GpropTables& g) {
    std::vector<std::string> records;
    records.push_back("PRODUCT SPECIES PROPERTIES FROM THE NASA GLENN COEFFICIENTS (TP-2002-211556)");

    core::Record c;
    c.lit(" GRCAL   =");
    fitted(c, g.GRCAL, kConstantsWidth).lit(" CALTOJ  =");
    fitted(c, g.CALTOJ, kConstantsWidth).lit(" PSATM   =");
    fitted(c, g.PSATM, kConstantsWidth);
    records.push_back(c.text());

    for (const SpeciesTables& s : g.species) {
        core::Record h;
        std::string name = s.name.substr(0, 20);
        h.lit(name).X(20 - static_cast<int>(name.size()));
        for (double v : {s.SM, s.ENTR, s.HTO, s.DHTO}) fitted(h, v, kConstantsWidth);
        records.push_back(h.text());
        add_points(records, s.HT);
        add_points(records, s.CT);
    }
    for (const ReactionTable& t : g.reactions) {
        records.push_back(core::Record().lit("REACTION NUMBER").I(t.number, 1).X(3).lit(t.text).text());
        add_points(records, t.CKP);
    }
    return records;
}

// The whole file: every record ends in CR LF.
inline std::string gprop_text(const GpropTables& g) {
    std::string text;
    for (const std::string& r : gprop_records(g)) text += r + "\r\n";
    return text;
}

}  // namespace gpropgen
