// quellin end to end: the real program on INPUT.HP files in a scratch directory.
#include <gtest/gtest.h>

#include <string>

#include "flame_run.h"
#include "scratch.h"

using flame_run::Values;

namespace {

const flame_run::Program kQuellin{QUELLIN_EXE, "INPUT.HP", "OUTPUT.HP"};

TEST(Quellin, ShippedExampleGivesTheBlessedReport) {
    flame_run::Run r;
    flame_run::run(r, kQuellin, testing_support::read_file(std::string(SUITE_DATA_DIR) + "/examples/methane.hp"));
    EXPECT_EQ(r.result.status, 0);
    EXPECT_EQ(r.result.out, kQuellin.console_ok());
    EXPECT_EQ(r.result.err, "");
    EXPECT_EQ(r.report, testing_support::read_file(std::string(GOLDEN_DIR) + "/methane.hp.report"));
}

// Each way the iteration cannot go on: the report ends in its line (after the messages
// that led to it), the run stops normally, and no results are written.
TEST(Quellin, SoundEndings) {
    const std::string kNoMass =
        "\r\nReactant moles or molecular weight is zero - the energy per kg cannot be computed!\r\n";
    const std::string kTerminal = " SEE DATA SET \"ERROR.TXT\" FOR EXPLANATION OF GP02\r\n\r\n"
                                  "** TERMINAL ERROR - EXECUTION ENDING **\r\n\r\n\r\n";
    struct Case {
        const char* what;
        void (*change)(Values&);
        std::string tail;
    } cases[] = {
        {"no moles of reactants", [](Values& v) { v.RMOLES = 0; }, kNoMass},
        {"no molar mass of the reactants", [](Values& v) { v.AVMR = 0; }, kNoMass},
        // Methane with as many carbon as oxygen atoms: no solution attempted.
        {"no equilibrium at the first temperature", [](Values& v) { v.F = 4; },
         "** 2 WARNINGS ISSUED - EXECUTION CONTINUES **\r\n\r\n"
         "No equilibrium solution at the first temperature - the iteration cannot start!\r\n"},
        // The enthalpy in J/kmol overflows: the first correction is not finite.
        {"a temperature beyond the range of numbers", [](Values& v) { v.HREAC = 1.7e308; },
         "\r\nTemperature or pressure beyond the range of numbers - check the reactant values!\r\n"},
        // Far more energy than any flame in the tables, at 20 atm (at 1 atm there is no
        // equilibrium at 3900 K to begin with).
        {"a temperature above the tables", [](Values& v) { v.T = 3900, v.PREAC = 2026500, v.HREAC = 2.0e6; },
         kTerminal},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Values v;
        c.change(v);
        flame_run::Run r;
        flame_run::run(r, kQuellin, flame_run::input(v));
        flame_run::expect_stopped_with(r, kQuellin, c.tail);
    }
}

// The reactant temperature is only echoed: HREAC carries the reactant state, and the
// pressure is the reactant pressure, so a zero there changes nothing.
TEST(Quellin, ReactantTemperatureIsOnlyEchoed) {
    Values v;
    flame_run::Run usual, zero;
    flame_run::run(usual, kQuellin, flame_run::input(v));
    v.TREAC = 0;
    flame_run::run(zero, kQuellin, flame_run::input(v));
    EXPECT_EQ(zero.result.out, kQuellin.console_ok());
    const size_t results = usual.report.find("  FLAME TEMP.");
    ASSERT_NE(results, std::string::npos);
    EXPECT_EQ(zero.report.substr(zero.report.find("  FLAME TEMP.")), usual.report.substr(results));
    EXPECT_NE(zero.report.find("  REACTANT TEMPERATURE (K)" + std::string(16, ' ') + "     .0\r\n"), std::string::npos);
}

}  // namespace
