// The programs on fuels without carbon or without hydrogen and on rich, cold products,
// end to end, against the independent results of reference/cea_sample.json (its
// "newfuels" and "richcold" keys): the input files and reports are those of any fuel.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "json.h"
#include "programs.h"
#include "scratch.h"

using testing_support::Json;
using testing_support::JsonReader;

namespace {

constexpr double TOL_MAJOR = 1e-4;  // species above 1E-2, relative (as tests/core/accuracy_test.cpp)
constexpr double TOL_T = 0.1;       // flame temperature, K (as tests/flame/accuracy_test.cpp)
const char* const SPECIES[11] = {"H", "O", "N", "H2", "OH", "CO", "NO", "O2", "H2O", "CO2", "N2"};

// The cases of a key for one problem kind; none when the reference file cannot be read.
std::vector<Json> cases_of(const char* key, const char* problem) {
    std::vector<Json> out;
    Json doc;
    const std::string bytes = testing_support::read_file(SUITE_REFERENCE_FILE);
    if (bytes.empty() || !JsonReader(bytes).parse(doc)) return out;
    for (const Json& c : doc[key].items)
        if (c["problem"].text == problem) out.push_back(c);
    return out;
}

std::string lines_of(const std::string& title_lines, const std::vector<double>& values) {
    std::string s = title_lines;
    for (double v : values) {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.17g\r\n", v);
        s += buf;
    }
    return s;
}

// The values of the report's column for cut and paste.
std::vector<double> column(const std::string& report) {
    std::vector<double> v;
    size_t pos = report.find("column for cut & paste:");
    if (pos == std::string::npos) return v;
    pos = report.find("\r\n", report.find("\r\n", pos) + 2);  // past the blank line
    while (pos != std::string::npos && pos + 2 < report.size()) {
        const size_t end = report.find("\r\n", pos + 2);
        const std::string line = report.substr(pos + 2, end - pos - 2);
        if (line.find_first_not_of(' ') == std::string::npos) break;
        v.push_back(std::strtod(line.c_str(), nullptr));
        pos = end;
    }
    return v;
}

using e2e::ProgramRun;
using e2e::run;

void expect_major_species(const Json& c, const std::vector<double>& col, size_t first, const std::string& id) {
    ASSERT_GE(col.size(), first + 11) << id;
    for (int i = 0; i < 11; ++i) {
        const double ref = c["mole_fractions"][SPECIES[i]].number;
        if (ref > 1e-2) {
            EXPECT_NEAR(col[first + i] / ref, 1, TOL_MAJOR) << id << " " << SPECIES[i];
        }
    }
}

class ZorvathReference : public testing::TestWithParam<const char*> {};

TEST_P(ZorvathReference, SolvesAsTheReference) {
    const std::vector<Json> cases = cases_of(GetParam(), "TP");
    ASSERT_FALSE(cases.empty()) << "no reference results in " << SUITE_REFERENCE_FILE;
    for (const Json& c : cases) {
        const std::string id = c["case_id"].text;
        ProgramRun r;
        run(r, e2e::kZorvath,
            lines_of(id + "\r\n", {c["n_C"].number, c["m_H"].number, c["l_O"].number, c["k_N"].number, c["F"].number,
                                   c["T_K"].number, c["P_Pa"].number}));
        EXPECT_EQ(r.result.status, 0) << id;
        EXPECT_NE(r.report.find("CALCULATED COMBUSTION PRODUCTS PROPERTIES"), std::string::npos) << id << r.report;
        // Below 600 K the one warning is GE01, that the temperature is low.
        EXPECT_EQ(r.report.find("ERROR IN SUBROUTINE    EQMD") == std::string::npos, c["T_K"].number >= 600)
            << id << r.report;
        EXPECT_EQ(r.report.find("GE06"), std::string::npos) << id;
        expect_major_species(c, column(r.report), 5, id);  // after H, cp, Cp/Cv, M, fuel
    }
}

INSTANTIATE_TEST_SUITE_P(Keys, ZorvathReference, testing::Values("newfuels", "richcold"),
                         [](const testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

// Hydrogen, ammonia and CO burnt by both flame programs from the reference's charges:
// quellin's flame as the reference's, braskot2's hotter (no work of expansion).
TEST(NewFuelFlames, BothProgramsBurnTheCharge) {
    const std::vector<Json> cases = cases_of("newfuels", "HP");
    ASSERT_FALSE(cases.empty()) << "no reference results in " << SUITE_REFERENCE_FILE;
    for (const Json& c : cases) {
        const std::string id = c["case_id"].text;
        const std::string input =
            lines_of(id + "\r\nreference case\r\n\r\n",
                     {c["n_C"].number, c["m_H"].number, c["l_O"].number, c["k_N"].number, c["F"].number, 2500,
                      c["TREAC_K"].number, c["P_Pa"].number, c["HREAC_kJ_per_kmol_fuel"].number,
                      c["RMOLES_kmol_per_kmol_fuel"].number, c["AVMR_kg_per_kmol"].number});
        double T[2] = {};
        int k = 0;
        for (const e2e::Program* p : {&e2e::kQuellin, &e2e::kBraskot2}) {
            ProgramRun r;
            run(r, *p, input);
            EXPECT_EQ(r.result.status, 0) << id << " " << p->name;
            EXPECT_NE(r.report.find("FLAME TEMP."), std::string::npos) << id << " " << p->name << r.report;
            EXPECT_EQ(r.report.find("WARNINGS"), std::string::npos) << id << " " << p->name << r.report;
            EXPECT_EQ(r.report.find("not converged"), std::string::npos) << id << " " << p->name;
            const std::vector<double> col = column(r.report);
            ASSERT_FALSE(col.empty()) << id << " " << p->name;
            T[k++] = col[0];
            if (p == &e2e::kQuellin) expect_major_species(c, col, 7, id);  // after T, P, H, cp, Cp/Cv, M, fuel
        }
        EXPECT_NEAR(T[0], c["T_K"].number, TOL_T) << id;
        EXPECT_GT(T[1], T[0] + 100) << id;
    }
}

}  // namespace
