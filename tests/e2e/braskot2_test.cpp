// braskot2 end to end: the real program on INPUT.UV files in a scratch directory.
#include <gtest/gtest.h>

#include <string>

#include "scratch.h"

using testing_support::RunResult;
using testing_support::ScratchDir;

namespace {

const std::string kConsoleOk = "The results are stored in the file OUTPUT.UV\r\nStop - Program terminated.\r\n";

struct UvValues {
    double AN = 1, AM = 4, AL = 0, AK = 0, F = 1, T = 2500, TREAC = 298.15, PREAC = 101325;
    double HREAC = -74600, RMOLES = 10.52, AVMR = 27.6332;
};

std::string input(const UvValues& v) {
    std::string s = "a\r\nb\r\nc\r\n";
    for (double x : {v.AN, v.AM, v.AL, v.AK, v.F, v.T, v.TREAC, v.PREAC, v.HREAC, v.RMOLES, v.AVMR}) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.17g\r\n", x);
        s += buf;
    }
    return s;
}

struct UvRun {
    ScratchDir dir;
    RunResult result;
    std::string report;
};

void run(UvRun& r, const std::string& input_bytes) {
    r.result = testing_support::run_solver_in(r.dir, BRASKOT2_EXE, "INPUT.UV", input_bytes);
    r.report = r.dir.read("OUTPUT.UV");
}

// The run stopped normally, without a results section, the report ending in `tail`.
void expect_stopped_with(const UvRun& r, const std::string& tail) {
    EXPECT_EQ(r.result.status, 0);
    EXPECT_EQ(r.result.err, "");
    EXPECT_EQ(r.result.out, kConsoleOk);
    EXPECT_EQ(r.report.find("FLAME TEMP."), std::string::npos);
    ASSERT_GE(r.report.size(), tail.size());
    EXPECT_EQ(r.report.substr(r.report.size() - tail.size()), tail) << r.report;
    EXPECT_EQ(r.report.find("nan"), std::string::npos);
    EXPECT_EQ(r.report.find("inf"), std::string::npos);
}

TEST(Braskot2, ShippedExampleGivesTheBlessedReport) {
    UvRun r;
    run(r, testing_support::read_file(std::string(SUITE_DATA_DIR) + "/examples/methane.uv"));
    EXPECT_EQ(r.result.status, 0);
    EXPECT_EQ(r.result.out, kConsoleOk);
    EXPECT_EQ(r.result.err, "");
    EXPECT_EQ(r.report, testing_support::read_file(std::string(GOLDEN_DIR) + "/methane.uv.report"));
}

TEST(Braskot2, ZeroReactantTemperature) {
    UvValues v;
    v.TREAC = 0;
    UvRun r;
    run(r, input(v));
    expect_stopped_with(r, "\r\nReactant temperature is zero - the initial pressure cannot be computed!\r\n");
}

TEST(Braskot2, ZeroReactantMolesOrMolarMass) {
    for (int which = 0; which < 2; ++which) {
        UvValues v;
        (which == 0 ? v.RMOLES : v.AVMR) = 0;
        UvRun r;
        run(r, input(v));
        expect_stopped_with(r, "\r\nReactant moles or molecular weight is zero - the energy per kg cannot be computed!\r\n");
    }
}

TEST(Braskot2, FailedFirstPassLeavesNoDerivativeToCorrectWith) {
    UvValues v;
    v.F = 4;  // methane with as many carbon as oxygen atoms: no solution attempted
    UvRun r;
    run(r, input(v));
    expect_stopped_with(r, "** 2 WARNINGS ISSUED - EXECUTION CONTINUES **\r\n\r\n"
                           "No equilibrium solution at the first temperature - the iteration cannot start!\r\n");
    EXPECT_NE(r.report.find("**GE05** - ERROR IN SUBROUTINE    EQMD"), std::string::npos);
    EXPECT_NE(r.report.find("**GP03** - ERROR IN SUBROUTINE    PER "), std::string::npos);
}

TEST(Braskot2, TemperatureLeavingTheTablesEndsTheRun) {
    UvValues v;
    v.T = 3900;
    v.HREAC = 2.0e6;  // far more energy than any flame in the tables
    UvRun r;
    run(r, input(v));
    expect_stopped_with(r, "**GP02** - ERROR IN SUBROUTINE    PER \r\n\r\n"
                           " SEE DATA SET \"ERROR.TXT\" FOR EXPLANATION OF GP02\r\n\r\n"
                           "** TERMINAL ERROR - EXECUTION ENDING **\r\n\r\n\r\n");
}

TEST(Braskot2, NonPositiveReactantPressureReachesTheSolverCheck) {
    UvValues v;
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
    EXPECT_EQ(r.result.err, "\r\nrun-time error F2002: READ(INPUT.UV)\r\n- end of file: INPUT.UV is empty, the program reads three titles and 11 values\r\n");
    EXPECT_EQ(r.dir.read("OUTPUT.UV"), "");
}

}  // namespace
