// braskot2 and quellin end to end: the real programs on their input files in a scratch
// directory. They read the same reactant file and end alike; what differs is tested
// for the program concerned.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "programs.h"
#include "scratch.h"


namespace {

using e2e::Program;
using e2e::kBraskot2;
using e2e::kQuellin;

std::string console_ok(const Program& p) {
    return std::string("The results are stored in the file ") + p.report + "\r\nStop - Program terminated.\r\n";
}

// The eleven values: stoichiometric methane from 298.15 K and 1 atm.
struct Values {
    double AN = 1, AM = 4, AL = 0, AK = 0, F = 1, T = 2500, TREAC = 298.15, PREAC = 101325;
    double HREAC = -74600, RMOLES = 10.52, AVMR = 27.6332;
};

std::string input(const Values& v) {
    std::string s = "a\r\nb\r\nc\r\n";
    for (double x : {v.AN, v.AM, v.AL, v.AK, v.F, v.T, v.TREAC, v.PREAC, v.HREAC, v.RMOLES, v.AVMR}) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.17g\r\n", x);
        s += buf;
    }
    return s;
}

using e2e::ProgramRun;
using e2e::run;

TEST(FlamePrograms, ShippedExampleGivesTheBlessedReport) {
    for (const Program* p : {&kBraskot2, &kQuellin}) {
        SCOPED_TRACE(p->name);
        ProgramRun r;
        run(r, *p, testing_support::read_file(std::string(SUITE_DATA_DIR) + "/examples/" + p->example));
        EXPECT_EQ(r.result.status, 0);
        EXPECT_EQ(r.result.out, console_ok(*p));
        EXPECT_EQ(r.result.err, "");
        EXPECT_EQ(r.report, testing_support::read_file(std::string(GOLDEN_DIR) + "/" + p->example + ".report"));
    }
}

// Each way a run ends without results: it stops normally, the report ending in the line
// or message block that says why (after the messages that led to it).
TEST(FlamePrograms, EndingsWithoutResults) {
    const std::string kTerminal = "** TERMINAL ERROR - EXECUTION ENDING **\r\n\r\n\r\n";
    const std::string kNoMass =
        "\r\nReactant moles or molecular weight is zero - the energy per kg cannot be computed!\r\n";
    struct Case {
        const char* what;
        void (*change)(Values&);
        const Program* only;  // nullptr: both programs
        std::string tail;
        std::string also;  // found earlier in the report
    } cases[] = {
        // quellin only echoes the reactant temperature (ReactantTemperatureIsOnlyEchoed).
        {"zero reactant temperature", [](Values& v) { v.TREAC = 0; }, &kBraskot2,
         "\r\nReactant temperature is zero - the initial pressure cannot be computed!\r\n", ""},
        {"no moles of reactants", [](Values& v) { v.RMOLES = 0; }, nullptr, kNoMass, ""},
        {"no molar mass of the reactants", [](Values& v) { v.AVMR = 0; }, nullptr, kNoMass, ""},
        // Methane with as many carbon as oxygen atoms: no solution attempted (the charge
        // of that equivalence ratio, which gives no warning of its own).
        {"no equilibrium at the first temperature", [](Values& v) { v.F = 4, v.RMOLES = 3.38, v.AVMR = 25.0614; },
         nullptr,
         "**GP03** - ERROR IN SUBROUTINE    PER \r\n\r\n"
         " SEE DATA SET \"ERROR.TXT\" FOR EXPLANATION OF GP03\r\n\r\n\r\n\r\n"
         "** 2 WARNINGS ISSUED - EXECUTION CONTINUES **\r\n\r\n"
         "No equilibrium solution at the first temperature - the iteration cannot start!\r\n",
         "**GE05** - ERROR IN SUBROUTINE    EQMD"},
        // The enthalpy in J/kmol overflows: the first correction is not finite.
        {"a temperature beyond the range of numbers", [](Values& v) { v.HREAC = 1.7e308; }, nullptr,
         "\r\nTemperature or pressure beyond the range of numbers - check the reactant values!\r\n", ""},
        // Far more energy than any flame in the tables (at 20 atm: at 1 atm quellin finds
        // no equilibrium at 3900 K to begin with).
        {"a temperature above the tables", [](Values& v) { v.T = 3900, v.PREAC = 2026500, v.HREAC = 2.0e6; },
         nullptr, kTerminal, "**GP02** - ERROR IN SUBROUTINE    PER "},
        {"no reactant pressure", [](Values& v) { v.PREAC = 0; }, nullptr, kTerminal,
         "**GE03** - ERROR IN SUBROUTINE    EQMD"},
    };
    for (const Program* p : {&kBraskot2, &kQuellin}) {
        for (const Case& c : cases) {
            if (c.only && c.only != p) continue;
            SCOPED_TRACE(std::string(p->name) + ": " + c.what);
            Values v;
            c.change(v);
            ProgramRun r;
            run(r, *p, input(v));
            EXPECT_EQ(r.result.status, 0);
            EXPECT_EQ(r.result.err, "");
            EXPECT_EQ(r.result.out, console_ok(*p));
            EXPECT_EQ(r.report.find("FLAME TEMP."), std::string::npos);
            ASSERT_GE(r.report.size(), c.tail.size());
            EXPECT_EQ(r.report.substr(r.report.size() - c.tail.size()), c.tail) << r.report;
            EXPECT_NE(r.report.find(c.also), std::string::npos);
            EXPECT_EQ(r.report.find("nan"), std::string::npos);
            EXPECT_EQ(r.report.find("inf"), std::string::npos);
        }
    }
}

// The reactant temperature is only echoed by quellin: HREAC carries the reactant state
// and the pressure is the reactant pressure, so a zero there changes no result.
TEST(FlamePrograms, QuellinOnlyEchoesTheReactantTemperature) {
    Values v;
    ProgramRun usual, zero;
    run(usual, kQuellin, input(v));
    v.TREAC = 0;
    run(zero, kQuellin, input(v));
    EXPECT_EQ(zero.result.out, console_ok(kQuellin));
    const size_t results = usual.report.find("  FLAME TEMP.");
    ASSERT_NE(results, std::string::npos);
    EXPECT_EQ(zero.report.substr(zero.report.find("  FLAME TEMP.")), usual.report.substr(results));
    EXPECT_NE(zero.report.find("  REACTANT TEMPERATURE (K)" + std::string(16, ' ') + "     .0\r\n"), std::string::npos);
}

}  // namespace
