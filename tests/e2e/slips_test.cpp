// The slips a student makes in an input file, end to end: each either ends the run with
// an input/output error that names the line and the fix, or gives a warning block in
// the report before any result, so that no number that the slip made wrong is printed
// without a word. And flames found from any first guess inside the tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "programs.h"
#include "scratch.h"


namespace {

using e2e::Program;
using e2e::kBraskot2;
using e2e::kQuellin;
using e2e::kZorvath;

std::string example(const Program& p) {
    return testing_support::read_file(std::string(SUITE_DATA_DIR) + "/examples/" + p.example);
}

// The text with the value of line `line` (1-based; its first token) replaced.
std::string with_value(std::string text, int line, const std::string& value) {
    size_t at = 0;
    for (int i = 1; i < line; ++i) at = text.find('\n', at) + 1;
    const size_t end = text.find_first_of(" \r\n", at);
    return text.replace(at, end - at, value);
}

using e2e::ProgramRun;
using e2e::run;

size_t count(const std::string& s, const std::string& what) {
    size_t n = 0;
    for (size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
    return n;
}

struct Change {
    int line;
    const char* value;
};

struct Slip {
    const char* what;
    const Program* program;
    std::vector<Change> changes;  // of the program's shipped example
    const char* error;            // "F2003" for an input/output error, or ""
    std::vector<const char*> warnings;  // the warning ids, in order, when the run goes on
    const char* shown;            // in the error message, or in the report's detail lines
};

const char* const kDecimalComma = "write decimals with a point, ";

TEST(Slips, EachEndsInAnErrorOrWarnsBeforeAnyResult) {
    const Slip slips[] = {
        // Read as 298 before: a flame off by the missing fraction, without a word.
        {"decimal comma in the reactant temperature", &kBraskot2, {{10, "298,15"}}, "F2003", {},
         "line 10 holds '298,15': write decimals with a point, 298.15"},
        // Read as 10 before: a flame some 12 K off.
        {"decimal comma in the moles of reactants", &kQuellin, {{13, "10,52"}}, "F2003", {},
         "line 13 holds '10,52': write decimals with a point, 10.52"},
        // Read as 0 before, which ended in GE11, "equivalence ratio is zero".
        {"decimal comma in the equivalence ratio", &kBraskot2, {{8, "0,8"}}, "F2003", {},
         "line 8 holds '0,8': write decimals with a point, 0.8"},
        {"decimal comma in the temperature", &kZorvath, {{7, "2200,5"}}, "F2003", {},
         "line 7 holds '2200,5': write decimals with a point, 2200.5"},
        {"values separated by commas", &kZorvath, {{7, "2200,1,0"}}, "F2003", {},
         "line 7 holds '2200,1,0': a comma between digits; write one value a line"},
        // 2721 K and 111 bar before, without complaint.
        {"reactant temperature in degrees Celsius", &kBraskot2, {{10, "25"}}, "", {"GR01"},
         " REACTANT TEMPERATURE   25.0 K IS BELOW 200 K: IS IT IN KELVIN?"},
        // The molar mass of F = 1 lies within 1 % of that of F = 0.8: only the moles warn.
        {"the charge of another equivalence ratio", &kQuellin, {{8, "0.8"}}, "", {"GR02"},
         " MOLES OF REACTANTS  10.520 GIVEN,  12.900 FROM THE ATOMS AND F"},
        {"the molar mass of air for the reactants", &kBraskot2, {{14, "28.97"}}, "", {"GR03"},
         " MOLEC WT OF REACTANTS  28.970 GIVEN,  27.633 FROM THE ATOMS AND F"},
        {"the enthalpy in J per kmol", &kQuellin, {{12, "-74600000"}}, "", {"GR04"},
         " ENTHALPY OF REACTANTS -.746000E+08 kJ/kmol IS BEYOND +-  .48080E+07"},
    };
    for (const Slip& s : slips) {
        SCOPED_TRACE(std::string(s.program->name) + ": " + s.what);
        std::string input = example(*s.program);
        for (const Change& c : s.changes) input = with_value(input, c.line, c.value);
        ProgramRun r;
        run(r, *s.program, input);
        if (*s.error) {
            EXPECT_EQ(r.result.status, 1);
            EXPECT_NE(r.result.err.find(std::string("run-time error ") + s.error + ": READ(" + s.program->input + ")"),
                      std::string::npos) << r.result.err;
            EXPECT_NE(r.result.err.find(s.shown), std::string::npos) << r.result.err;
            EXPECT_EQ(r.report, "");  // the read fails before the report is written
            continue;
        }
        EXPECT_EQ(r.result.status, 0);
        EXPECT_EQ(r.result.err, "");
        // The run goes on, and any results it prints come after every warning of the slip
        // (an enthalpy in J ends in GP01: the flame lies below the tables).
        const size_t results = std::min(r.report.find("FLAME TEMP."), r.report.size());
        size_t at = 0;
        for (const char* id : s.warnings) {
            at = r.report.find(std::string("**") + id + "** - ERROR IN SUBROUTINE    REAC", at);
            ASSERT_LT(at, results) << id << "\n" << r.report;
        }
        EXPECT_EQ(count(r.report, "** - ERROR IN SUBROUTINE    REAC"), s.warnings.size()) << r.report;
        EXPECT_NE(r.report.find(std::string(s.shown) + "\r\n"), std::string::npos) << r.report;
    }
}

// A comma followed by anything but a digit still ends the value: labels written after a
// comma read as before, and the report is the example's.
TEST(Slips, CommaBeforeALabelStillEndsTheValue) {
    const std::string plain = example(kBraskot2);
    // Each value line "1.0        carbon atoms" as "1.0,carbon atoms".
    std::string commas;
    int line = 0;
    for (size_t at = 0, end; at < plain.size(); at = end + 1) {
        end = plain.find('\n', at);
        const std::string text = plain.substr(at, end - at + 1);
        const size_t blank = text.find(' ');
        if (++line <= 3 || blank == std::string::npos) {
            commas += text;
            continue;
        }
        commas += text.substr(0, blank);
        commas += ',';
        commas += text.substr(text.find_first_not_of(' ', blank));
    }
    ASSERT_NE(commas.find("1.0,carbon atoms"), std::string::npos) << commas;
    ProgramRun a, b;
    run(a, kBraskot2, plain);
    run(b, kBraskot2, commas);
    EXPECT_EQ(b.result.status, 0) << b.result.err;
    EXPECT_EQ(a.report, b.report);
}

// Preheated, compressed methane with energy added as by an oxygen-richer oxidizer: a
// constant-volume flame near 3800 K, whose first correction from 300 or 2500 K went
// above 4000 K and ended the run in GP02. From every guess inside the tables the same
// flame is printed; with still more energy the flame lies above them and every guess
// says so.
TEST(Slips, HotFlamesAreFoundFromEveryGuessInsideTheTables) {
    const std::string hot = with_value(with_value(with_value(example(kBraskot2), 10, "1000"), 11, "10132500"), 12,
                                       "670895.3");
    for (const Program* p : {&kBraskot2, &kQuellin}) {
        std::vector<std::string> results;
        for (const char* guess : {"300", "2500", "3950"}) {
            SCOPED_TRACE(std::string(p->name) + " from " + guess);
            ProgramRun r;
            run(r, *p, with_value(hot, 9, guess));
            // Only the warning of a first pass below 600 K.
            EXPECT_EQ(count(r.report, "** - ERROR IN SUBROUTINE"), count(r.report, "**GE01**")) << r.report;
            const size_t at = r.report.find("FLAME TEMP.");
            ASSERT_NE(at, std::string::npos) << r.report;
            results.push_back(r.report.substr(at, r.report.find("Pressure", at) - at));
            EXPECT_EQ(results.back(), results.front());
        }
        EXPECT_NE(results.front().find(p == &kBraskot2 ? "3799.38" : "3378.12"), std::string::npos) << results.front();
        for (const char* guess : {"300", "2500", "3950"}) {
            SCOPED_TRACE(std::string(p->name) + " beyond the tables from " + guess);
            ProgramRun r;
            run(r, *p, with_value(with_value(hot, 12, p == &kBraskot2 ? "870895.3" : "1500000"), 9, guess));
            EXPECT_NE(r.report.find("**GP02** - ERROR IN SUBROUTINE    PER "), std::string::npos) << r.report;
            EXPECT_EQ(r.report.find("FLAME TEMP."), std::string::npos);
        }
    }
}

}  // namespace
