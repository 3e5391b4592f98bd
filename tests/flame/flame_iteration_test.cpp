// The flame-temperature iteration that both flame programs share, run through the
// shared driver of each program with a stand-in for PER whose energy is chosen so that
// each correction is known exactly.
//
// Each program's input makes the reactants' energy per kg exactly zero: RMOLES = 1 and
// TREAC = 1000 K, and HREAC = 8314.509765625 kJ/kmol (the single-precision gas constant
// times 1000 K) at constant volume, HREAC = 0 at constant pressure. With a derivative of
// 1 every correction DELT then equals the energy that the stand-in reports. The fuel
// CH4O4 needs no oxygen, so that one mole of reactants of molar mass 28 is no charge
// the programs warn about.
#include <gtest/gtest.h>

#include <string>

#include "hp.h"
#include "scratch.h"
#include "sermsg.h"
#include "state.h"
#include "uv.h"

using testing_support::RunResult;
using testing_support::ScratchDir;

namespace {

// One flame program and what its report shows on the stand-in's runs.
struct Program {
    const char* name;
    const flame::FlameProgram* program;
    const char* hreac;         // the input line that zeroes the reactants' energy
    const char* hreac_echo;    // its echo field
    const char* temperature;   // the label of the first results line
    const char* p_one_pass;    // the pressure after one correction of 0.005 K
    const char* p_25_passes;   // the pressure after 25 corrections of 0.5 K
};

const Program kPrograms[] = {
    {"ConstantVolume", &uv::PROGRAM, "8314.509765625", "     8314.5", "Const-vol Flame Temperature [K] =    ",
     ".202649E+06", ".201383E+06"},
    {"ConstantPressure", &hp::PROGRAM, "0", "         .0", "Const-pres Flame Temperature [K] =   ",
     ".101325E+06", ".101325E+06"},
};

void PrintTo(const Program& p, std::ostream* os) { *os << p.name; }

std::string input(const Program& p) {
    return std::string("title one\r\ntitle two\r\ntitle three\r\n"
                       "1\r\n4\r\n4\r\n0\r\n1\r\n"
                       "2000      final temperature guess\r\n"
                       "1000      reactant temperature\r\n"
                       "101325    reactant pressure\r\n") +
           p.hreac + "\r\n"
           "1         moles of reactants\r\n"
           "28        molar mass of reactants\r\n";
}

// What the stand-in does on each pass.
struct Script {
    double E = 0;             // the energy it reports, U and H alike, J/kg (= the correction)
    int fail_from_pass = 0;   // from this pass on it fails like a failed equilibrium
    int passes = 0;           // how often it was called
} script;

const Program* current = nullptr;

void stand_in_PER() {
    ++script.passes;
    if (script.fail_from_pass != 0 && script.passes >= script.fail_from_pass) {
        core::SERMSG(0, "EQMD  ", "GE08");  // PROP is left as the last pass left it
        core::SERMSG(0, "PER   ", "GP03");
        return;
    }
    core::PROP.U = core::PROP.H = script.E;
    core::PROP.DUT = core::PROP.DHT = 1.0;
    core::PROP.AVM = 28.0;  // as the reactants: at constant volume P follows PREAC*T/TREAC
}

void flame_program() { flame::run_flame_program(*current->program, stand_in_PER); }

class FlameIteration : public ::testing::TestWithParam<Program> {
protected:
    void run(double E, int fail_from_pass = 0) {
        current = &GetParam();
        script = Script{E, fail_from_pass, 0};
        dir.copy_data("GPROP.DAT", "GPROP.DAT");
        dir.write(current->program->input_name, input(GetParam()));
        result = testing_support::run_inprocess_in(dir, flame_program);
        report = dir.read(current->program->report_name);
    }
    std::string console_ok() const {
        return std::string("The results are stored in the file ") + GetParam().program->report_name +
               "\r\nStop - Program terminated.\r\n";
    }
    ScratchDir dir;
    RunResult result;
    std::string report;
};

const std::string kNotConverged = "Iterations reached 25 - Solution has not converged!\r\n";
const std::string kResultsTitle = "  FLAME TEMP. & COMBUSTION PRODUCTS PROPERTIES\r\n";

size_t count(const std::string& s, const std::string& what) {
    size_t n = 0;
    for (size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
    return n;
}

// An echo value line: two blanks, the label padded to 40 columns, the field.
std::string line(const std::string& label, const std::string& field) {
    return "  " + label + std::string(40 - label.size(), ' ') + field + "\r\n";
}

TEST_P(FlameIteration, EchoOfTheThreeTitlesAndElevenValues) {
    run(0.005);
    const std::string echo =
        "title one" + std::string(63, ' ') + "\r\n" +
        "title two" + std::string(63, ' ') + "\r\n" +
        " \r\n" +
        "title three" + std::string(61, ' ') + "\r\n" +
        " \r\n"
        "  Data below are as read from the input file. Compare \r\n"
        "  with " + GetParam().program->input_name + ". If they do not agree, your input\r\n"
        "  data have not been entered correctly.\r\n"
        "\r\n" +
        line("CARBON ATOMS", "  1.0") + line("HYDROGEN ATOMS", "  4.0") + line("OXYGEN ATOMS", "  4.0") +
        line("NITROGEN ATOMS", "   .0") + line("EQUIVALENCE RATIO", "  1.000") +
        line("FINAL TEMPERATURE (K) guess", " 2000.0") + line("REACTANT TEMPERATURE (K)", " 1000.0") +
        line("REACTANT PRESSURE (Pa)", "   101325.0") +
        line("ENTHALPY OF REACTANTS (kJ/kmol of fuel)", GetParam().hreac_echo) +
        line("MOLES OF REACTANTS (kmol/kmol of fuel)", "   1.000") +
        line("MOLEC WT OF REACTANTS (kg/kmol)", "  28.000") +
        "\r\n";
    EXPECT_EQ(report.substr(0, echo.size()), echo);
    EXPECT_EQ(report.substr(echo.size(), kResultsTitle.size() + 2), kResultsTitle + "\r\n");
}

TEST_P(FlameIteration, OnePassWhenTheFirstCorrectionIsSmall) {
    run(0.005);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, console_ok());
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(script.passes, 1);
    EXPECT_EQ(count(report, kNotConverged), 0u);
    // T = 2000 - 0.005 = 1999.995 rounds half up on its decimal digits to 2000.00; the
    // pressure is the one after the correction.
    EXPECT_NE(report.find(std::string("  ") + GetParam().temperature + "   2000.00\r\n" +
                          "  Pressure [Pa] =                        " + GetParam().p_one_pass + "\r\n"),
              std::string::npos)
        << report;
}

TEST_P(FlameIteration, SinglePrecisionConvergenceBound) {
    run(0.009999999776482582);  // the bound itself: converged
    EXPECT_EQ(script.passes, 1);
    EXPECT_EQ(count(report, kNotConverged), 0u);
    run(0.01);  // just above the single-precision bound: never converges
    EXPECT_EQ(script.passes, 25);
}

TEST_P(FlameIteration, TwentyFivePassesWithoutConvergence) {
    run(0.5);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(script.passes, 25);
    EXPECT_EQ(count(report, kNotConverged), 1u);
    // The line stands directly before the results section, which shows T after the
    // 25th correction: 2000 - 25 * 0.5.
    size_t at = report.find(kNotConverged);
    EXPECT_EQ(report.substr(at + kNotConverged.size(), kResultsTitle.size()), kResultsTitle);
    EXPECT_NE(report.find(std::string("  ") + GetParam().temperature + "   1987.50\r\n"), std::string::npos);
    EXPECT_NE(report.find(std::string("\r\n    .198750E+04\r\n    ") + GetParam().p_25_passes + "\r\n"),
              std::string::npos);
}

TEST_P(FlameIteration, FailedPassesRepeatTheCorrectionUntilTheEleventhWarning) {
    run(1.0, 2);  // pass 1 succeeds, every later pass fails
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, console_ok());
    // Five failed passes give ten warnings; the sixth ends the run at its first warning.
    EXPECT_EQ(script.passes, 7);
    EXPECT_EQ(count(report, "**GE08**"), 6u);
    EXPECT_EQ(count(report, "**GP03**"), 5u);
    EXPECT_NE(report.find("**10 WARNINGS ISSUED - EXECUTION CONTINUES **"), std::string::npos);
    const std::string end = "** (10) WARNINGS ISSUED - EXECUTION ENDING **\r\n\r\n";
    ASSERT_GE(report.size(), end.size());
    EXPECT_EQ(report.substr(report.size() - end.size()), end);
    EXPECT_EQ(report.find("FLAME TEMP."), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(BothEnergies, FlameIteration, ::testing::ValuesIn(kPrograms),
                         [](const ::testing::TestParamInfo<Program>& info) { return info.param.name; });

}  // namespace
