// The flame-temperature iteration of braskot2, driven by a stand-in for PER whose
// internal energy is chosen so that each correction is known exactly.
//
// The input makes the reactants' internal energy exactly zero: RMOLES = 1,
// TREAC = 1000 K and HREAC = 8314.509765625 kJ/kmol, the program's single-precision gas
// constant times 1000 K. With DUT = 1 every correction DELT then equals the U that the
// stand-in reports.
#include <gtest/gtest.h>

#include <string>

#include "scratch.h"
#include "sermsg.h"
#include "state.h"
#include "uv.h"

using testing_support::RunResult;
using testing_support::ScratchDir;

namespace {

const char* kInput =
    "title one\r\ntitle two\r\ntitle three\r\n"
    "1\r\n4\r\n0\r\n0\r\n1\r\n"
    "2000      final temperature guess\r\n"
    "1000      reactant temperature\r\n"
    "101325    reactant pressure\r\n"
    "8314.509765625\r\n"
    "1         moles of reactants\r\n"
    "28        molar mass of reactants\r\n";

// What the stand-in does on each pass.
struct Script {
    double U = 0;             // the internal energy it reports, J/kg (= the correction)
    int fail_from_pass = 0;   // from this pass on it fails like a failed equilibrium
    int passes = 0;           // how often it was called
} script;

void stand_in_PER() {
    ++script.passes;
    if (script.fail_from_pass != 0 && script.passes >= script.fail_from_pass) {
        core::SERMSG(0, "EQMD  ", "GE08");  // PROP is left as the last pass left it
        core::SERMSG(0, "PER   ", "GP03");
        return;
    }
    core::PROP.U = script.U;
    core::PROP.DUT = 1.0;
    core::PROP.DHT = 1.25;
    core::PROP.AVM = 28.0;  // as the reactants: the pressure follows PREAC*T/TREAC
}

void flame_program() { flame::run_flame_program(uv::PROGRAM, stand_in_PER); }

struct FlameRun {
    ScratchDir dir;
    RunResult result;
    std::string report;
};

void run(FlameRun& r, double U, int fail_from_pass = 0) {
    script = Script{U, fail_from_pass, 0};
    r.dir.copy_data("GPROP.DAT", "GPROP.DAT");
    r.dir.write("INPUT.UV", kInput);
    r.result = testing_support::run_inprocess_in(r.dir, flame_program);
    r.report = r.dir.read("OUTPUT.UV");
}

const std::string kNotConverged = "Iterations reached 25 - Solution has not converged!\r\n";

size_t count(const std::string& s, const std::string& what) {
    size_t n = 0;
    for (size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
    return n;
}

// An echo value line: two blanks, the label padded to 40 columns, the field.
std::string line(const std::string& label, const std::string& field) {
    return "  " + label + std::string(40 - label.size(), ' ') + field + "\r\n";
}

TEST(FlameIteration, EchoOfTheThreeTitlesAndElevenValues) {
    FlameRun r;
    run(r, 0.005);
    const std::string echo =
        "title one" + std::string(63, ' ') + "\r\n" +
        "title two" + std::string(63, ' ') + "\r\n" +
        " \r\n" +
        "title three" + std::string(61, ' ') + "\r\n" +
        " \r\n"
        "  Data below are as read from the input file. Compare \r\n"
        "  with INPUT.UV. If they do not agree, your input\r\n"
        "  data have not been entered correctly.\r\n"
        "\r\n" +
        line("CARBON ATOMS", "  1.0") + line("HYDROGEN ATOMS", "  4.0") + line("OXYGEN ATOMS", "   .0") +
        line("NITROGEN ATOMS", "   .0") + line("EQUIVALENCE RATIO", "  1.000") +
        line("FINAL TEMPERATURE (K) guess", " 2000.0") + line("REACTANT TEMPERATURE (K)", " 1000.0") +
        line("REACTANT PRESSURE (Pa)", "   101325.0") +
        line("ENTHALPY OF REACTANTS (kJ/kmol of fuel)", "     8314.5") +
        line("MOLES OF REACTANTS (kmol/kmol of fuel)", "   1.000") +
        line("MOLEC WT OF REACTANTS (kg/kmol)", "  28.000") +
        "\r\n";
    EXPECT_EQ(r.report.substr(0, echo.size()), echo);
    EXPECT_EQ(r.report.substr(echo.size(), 50), "  FLAME TEMP. & COMBUSTION PRODUCTS PROPERTIES\r\n\r\n");
}

TEST(FlameIteration, OnePassWhenTheFirstCorrectionIsSmall) {
    FlameRun r;
    run(r, 0.005);
    EXPECT_EQ(r.result.status, 0);
    EXPECT_EQ(r.result.out, "The results are stored in the file OUTPUT.UV\r\nStop - Program terminated.\r\n");
    EXPECT_EQ(r.result.err, "");
    EXPECT_EQ(script.passes, 1);
    EXPECT_EQ(count(r.report, kNotConverged), 0u);
    // T = 2000 - 0.005 = 1999.995 rounds half up on its decimal digits to 2000.00.
    EXPECT_NE(r.report.find("  Const-vol Flame Temperature [K] =       2000.00\r\n"), std::string::npos);
    // P = PREAC * T / TREAC after the correction.
    EXPECT_NE(r.report.find("  Pressure [Pa] =                        .202649E+06\r\n"), std::string::npos);
}

TEST(FlameIteration, SinglePrecisionConvergenceBound) {
    {
        FlameRun r;
        run(r, 0.009999999776482582);  // the bound itself: converged
        EXPECT_EQ(script.passes, 1);
        EXPECT_EQ(count(r.report, kNotConverged), 0u);
    }
    {
        FlameRun r;
        run(r, 0.01);  // just above the single-precision bound: never converges
        EXPECT_EQ(script.passes, 25);
    }
}

TEST(FlameIteration, TwentyFivePassesWithoutConvergence) {
    FlameRun r;
    run(r, 0.5);
    EXPECT_EQ(r.result.status, 0);
    EXPECT_EQ(script.passes, 25);
    EXPECT_EQ(count(r.report, kNotConverged), 1u);
    // The line stands directly before the results section, which shows T after the
    // 25th correction: 2000 - 25 * 0.5.
    size_t at = r.report.find(kNotConverged);
    EXPECT_EQ(r.report.substr(at + kNotConverged.size(), 48), "  FLAME TEMP. & COMBUSTION PRODUCTS PROPERTIES\r\n");
    EXPECT_NE(r.report.find("  Const-vol Flame Temperature [K] =       1987.50\r\n"), std::string::npos);
    EXPECT_NE(r.report.find("\r\n    .198750E+04\r\n    .201383E+06\r\n"), std::string::npos);
}

TEST(FlameIteration, FailedPassesRepeatTheCorrectionUntilTheEleventhWarning) {
    FlameRun r;
    run(r, 1.0, 2);  // pass 1 succeeds, every later pass fails
    EXPECT_EQ(r.result.status, 0);
    EXPECT_EQ(r.result.err, "");
    EXPECT_EQ(r.result.out, "The results are stored in the file OUTPUT.UV\r\nStop - Program terminated.\r\n");
    // Five failed passes give ten warnings; the sixth ends the run at its first warning.
    EXPECT_EQ(script.passes, 7);
    EXPECT_EQ(count(r.report, "**GE08**"), 6u);
    EXPECT_EQ(count(r.report, "**GP03**"), 5u);
    EXPECT_NE(r.report.find("**10 WARNINGS ISSUED - EXECUTION CONTINUES **"), std::string::npos);
    const std::string end = "** (10) WARNINGS ISSUED - EXECUTION ENDING **\r\n\r\n";
    ASSERT_GE(r.report.size(), end.size());
    EXPECT_EQ(r.report.substr(r.report.size() - end.size()), end);
    EXPECT_EQ(r.report.find("FLAME TEMP."), std::string::npos);
}

}  // namespace
