// braskot2 end to end: the real program on INPUT.UV files in a scratch directory.
#include <gtest/gtest.h>

#include <string>

#include "flame_run.h"
#include "scratch.h"

using flame_run::Values;

namespace {

const flame_run::Program kBraskot2{BRASKOT2_EXE, "INPUT.UV", "OUTPUT.UV"};

struct UvRun : flame_run::Run {};

void run(UvRun& r, const std::string& input_bytes) { flame_run::run(r, kBraskot2, input_bytes); }
void expect_stopped_with(const UvRun& r, const std::string& tail) { flame_run::expect_stopped_with(r, kBraskot2, tail); }

TEST(Braskot2, ShippedExampleGivesTheBlessedReport) {
    UvRun r;
    run(r, testing_support::read_file(std::string(SUITE_DATA_DIR) + "/examples/methane.uv"));
    EXPECT_EQ(r.result.status, 0);
    EXPECT_EQ(r.result.out, kBraskot2.console_ok());
    EXPECT_EQ(r.result.err, "");
    EXPECT_EQ(r.report, testing_support::read_file(std::string(GOLDEN_DIR) + "/methane.uv.report"));
}

TEST(Braskot2, ZeroReactantTemperature) {
    Values v;
    v.TREAC = 0;
    UvRun r;
    run(r, input(v));
    expect_stopped_with(r, "\r\nReactant temperature is zero - the initial pressure cannot be computed!\r\n");
}

TEST(Braskot2, ZeroReactantMolesOrMolarMass) {
    for (int which = 0; which < 2; ++which) {
        Values v;
        (which == 0 ? v.RMOLES : v.AVMR) = 0;
        UvRun r;
        run(r, input(v));
        expect_stopped_with(r, "\r\nReactant moles or molecular weight is zero - the energy per kg cannot be computed!\r\n");
    }
}

TEST(Braskot2, FailedFirstPassLeavesNoDerivativeToCorrectWith) {
    Values v;
    v.F = 4;  // methane with as many carbon as oxygen atoms: no solution attempted
    UvRun r;
    run(r, input(v));
    expect_stopped_with(r, "** 2 WARNINGS ISSUED - EXECUTION CONTINUES **\r\n\r\n"
                           "No equilibrium solution at the first temperature - the iteration cannot start!\r\n");
    EXPECT_NE(r.report.find("**GE05** - ERROR IN SUBROUTINE    EQMD"), std::string::npos);
    EXPECT_NE(r.report.find("**GP03** - ERROR IN SUBROUTINE    PER "), std::string::npos);
}

TEST(Braskot2, TemperatureLeavingTheTablesEndsTheRun) {
    Values v;
    v.T = 3900;
    v.HREAC = 2.0e6;  // far more energy than any flame in the tables
    UvRun r;
    run(r, input(v));
    expect_stopped_with(r, "**GP02** - ERROR IN SUBROUTINE    PER \r\n\r\n"
                           " SEE DATA SET \"ERROR.TXT\" FOR EXPLANATION OF GP02\r\n\r\n"
                           "** TERMINAL ERROR - EXECUTION ENDING **\r\n\r\n\r\n");
}

TEST(Braskot2, NonPositiveReactantPressureReachesTheSolverCheck) {
    Values v;
    v.PREAC = 0;
    UvRun r;
    run(r, input(v));
    expect_stopped_with(r, "**GE03** - ERROR IN SUBROUTINE    EQMD\r\n\r\n"
                           " SEE DATA SET \"ERROR.TXT\" FOR EXPLANATION OF GE03\r\n\r\n"
                           "** TERMINAL ERROR - EXECUTION ENDING **\r\n\r\n\r\n");
}

TEST(Braskot2, MissingInputFile) {
    UvRun r;
    r.dir.copy_data("GPROP.DAT", "GPROP.DAT");
    r.result = testing_support::run_in(r.dir, BRASKOT2_EXE);
    EXPECT_EQ(r.result.status, 1);
    EXPECT_EQ(r.result.out, "The results are stored in the file OUTPUT.UV\r\n");
    EXPECT_EQ(r.result.err, "\r\nrun-time error F2002: READ(INPUT.UV)\r\n- end of file: the file has fewer lines than the program reads\r\n");
    EXPECT_EQ(r.dir.read("OUTPUT.UV"), "");
}

}  // namespace
