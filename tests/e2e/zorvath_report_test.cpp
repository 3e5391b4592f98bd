// zorvath end to end: the complete report of a normal run, of a failed equilibrium
// and of a run that the solver's checks end.
#include <gtest/gtest.h>

#include <string>

#include "scratch.h"

using testing_support::RunResult;
using testing_support::ScratchDir;

namespace {

const std::string kConsoleOk = "The results are stored in the file OUTPUT.TP\r\nStop - Program terminated.\r\n";

struct TpRun {
    ScratchDir dir;
    RunResult result;
    std::string report;
};

void run(TpRun& r, const std::string& input) {
    r.result = testing_support::run_solver_in(r.dir, ZORVATH_EXE, "INPUT.TP", input);
    r.report = r.dir.read("OUTPUT.TP");
    EXPECT_EQ(r.result.status, 0);
    EXPECT_EQ(r.result.out, kConsoleOk);
    EXPECT_EQ(r.result.err, "");
}

std::vector<std::string> lines(const std::string& s) {
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t lf = s.find("\r\n"); lf != std::string::npos; lf = s.find("\r\n", start)) {
        out.push_back(s.substr(start, lf - start));
        start = lf + 2;
    }
    EXPECT_EQ(start, s.size()) << "every record ends in CR LF";
    return out;
}

TEST(ZorvathReport, ShippedExampleGivesTheBlessedReport) {
    TpRun r;
    run(r, testing_support::read_file(std::string(SUITE_DATA_DIR) + "/examples/methane.tp"));
    EXPECT_EQ(r.report, testing_support::read_file(std::string(GOLDEN_DIR) + "/methane.tp.report"));
}

// A console window closed during the run (its pipe has no reader): the writes to it
// are dropped, the run completes and its report is the same.
TEST(ZorvathReport, ConsoleGoneDuringTheRunStillGivesTheReport) {
    ScratchDir dir;
    dir.copy_data("GPROP.DAT", "GPROP.DAT");
    dir.copy_data("examples/methane.tp", "INPUT.TP");
    RunResult r = testing_support::run_in(dir, ZORVATH_EXE, true);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(dir.read("OUTPUT.TP"), testing_support::read_file(std::string(GOLDEN_DIR) + "/methane.tp.report"));
}

TEST(ZorvathReport, LineLengthsOfTheResultsSection) {
    TpRun r;
    run(r, "n-octane\r\n8\r\n18\r\n0\r\n0\r\n0.9\r\n2345.6\r\n303975\r\n");
    std::vector<std::string> all = lines(r.report);
    ASSERT_EQ(all.size(), 14u + 33u);  // the echo, then the 33 lines of the results
    const size_t lengths[33] = {43, 0, 51, 52, 47, 48, 50, 0, 48, 0, 51, 51, 51, 34, 0, 61, 0,
                                15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15};
    for (size_t i = 0; i < 33; ++i) EXPECT_EQ(all[14 + i].size(), lengths[i]) << "results line " << i + 1;
    // Mole fractions below 1, in their fields at columns 8, 25 and 42: a blank, the
    // point and eight digits.
    for (size_t i = 10; i < 14; ++i)
        for (size_t field : {7u, 24u, 41u}) {
            if (field < all[14 + i].size()) {
                EXPECT_EQ(all[14 + i].substr(field, 2), " .") << all[14 + i];
            }
        }
}

TEST(ZorvathReport, FailedEquilibriumGivesZerosAndAsterisks) {
    TpRun r;
    run(r, "methane, too rich\r\n1\r\n4\r\n0\r\n0\r\n4.0\r\n2000\r\n101325\r\n");
    std::vector<std::string> all = lines(r.report);
    std::string rest = r.report.substr(r.report.find("  PRESSURE (Pa)"));
    EXPECT_NE(rest.find("**GE05** - ERROR IN SUBROUTINE    EQMD\r\n"), std::string::npos);
    EXPECT_NE(rest.find("** 1 WARNINGS ISSUED - EXECUTION CONTINUES **"), std::string::npos);
    EXPECT_NE(rest.find("**GP03** - ERROR IN SUBROUTINE    PER \r\n"), std::string::npos);
    EXPECT_NE(rest.find("** 2 WARNINGS ISSUED - EXECUTION CONTINUES **"), std::string::npos);
    EXPECT_NE(rest.find("  Mixture Enthalpy [J/kg] =               .0000E+00\r\n"), std::string::npos);
    EXPECT_NE(rest.find("  Specific Heat Ratio, Cp/Cv =         ********\r\n"), std::string::npos);
    EXPECT_NE(rest.find("\r\n    .000000E+00\r\n    .000000E+00\r\n  *************\r\n"), std::string::npos);
}

TEST(ZorvathReport, SolverChecksEndTheRunWithoutResults) {
    const struct {
        const char* values;
        const char* id;
        const char* routine;
    } cases[] = {
        {"1\r\n4\r\n0\r\n0\r\n1\r\n2000\r\n0\r\n", "GE03", "EQMD"},
        {"1\r\n4\r\n0\r\n0\r\n-1\r\n2000\r\n101325\r\n", "GE11", "EQMD"},
        {"0\r\n0\r\n0\r\n2\r\n1\r\n2000\r\n101325\r\n", "GE12", "EQMD"},  // nothing to burn
        {"1\r\n4\r\n0\r\n0\r\n1\r\n100\r\n101325\r\n", "GP01", "PER "},
        {"1\r\n4\r\n0\r\n0\r\n1\r\n4000.01\r\n101325\r\n", "GP02", "PER "},
    };
    for (const auto& c : cases) {
        TpRun r;
        run(r, std::string("t\r\n") + c.values);
        std::string tail = std::string("\r\n\r\n**") + c.id + "** - ERROR IN SUBROUTINE    " + c.routine +
                           "\r\n\r\n SEE DATA SET \"ERROR.TXT\" FOR EXPLANATION OF " + c.id +
                           "\r\n\r\n** TERMINAL ERROR - EXECUTION ENDING **\r\n\r\n\r\n";
        ASSERT_GE(r.report.size(), tail.size());
        EXPECT_EQ(r.report.substr(r.report.size() - tail.size()), tail) << c.id;
        EXPECT_EQ(r.report.find("CALCULATED COMBUSTION"), std::string::npos) << c.id;
    }
}

}  // namespace
