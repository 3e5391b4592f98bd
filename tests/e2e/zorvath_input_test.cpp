// zorvath end to end: the real program in a scratch directory; exact bytes of
// OUTPUT.TP, the console streams and the exit status for the ways INPUT.TP is written.
#include <gtest/gtest.h>

#include <string>

#include "scratch.h"

using testing_support::RunResult;
using testing_support::ScratchDir;

namespace {

const std::string kConsoleOk = "The results are stored in the file OUTPUT.TP\r\nStop - Program terminated.\r\n";
const std::string kConsoleFirstLine = "The results are stored in the file OUTPUT.TP\r\n";

std::string pad72(const std::string& title) { return title + std::string(72 - title.size(), ' '); }

// The echo as the report must hold it, written out by hand for each value line.
std::string echo(const std::string& title72, const std::string (&values)[7]) {
    return title72 + "\r\n" +
           " \r\n"
           "  Data below are as read from the input file. Compare \r\n"
           "  with INPUT.TP. If they do not agree, your input\r\n"
           "  data have not been entered correctly.\r\n"
           "\r\n"
           "  CARBON ATOMS        " + values[0] + "\r\n"
           "  HYDROGEN ATOMS      " + values[1] + "\r\n"
           "  OXYGEN ATOMS        " + values[2] + "\r\n"
           "  NITROGEN ATOMS      " + values[3] + "\r\n"
           "  EQUIVALENCE RATIO   " + values[4] + "\r\n"
           "  TEMPERATURE (K)     " + values[5] + "\r\n"
           "  PRESSURE (Pa)       " + values[6] + "\r\n"
           "\r\n";
}

const std::string kOctaneValues[7] = {"  8.0", " 18.0", "   .0", "   .0", " 1.000", " 2000.0", "  101325.0"};
const std::string kOctaneInput =
    "n-octane in air\r\n8.0 carbon atoms\r\n18 hydrogen atoms\r\n0\r\n0\r\n1.0\r\n2000\r\n101325\r\n";

struct TpRun {
    ScratchDir dir;
    RunResult result;
    std::string report() const { return dir.read("OUTPUT.TP"); }
};

// Runs zorvath on the given INPUT.TP bytes with the shipped GPROP.DAT beside it.
void run(TpRun& r, const std::string& input, const char* input_name = "INPUT.TP") {
    r.result = testing_support::run_solver_in(r.dir, ZORVATH_EXE, input_name, input);
}

// The report starts with exactly this echo (the results follow it).
void expect_echo(const TpRun& r, const std::string& expected) {
    EXPECT_EQ(r.result.status, 0) << r.result.err;
    EXPECT_EQ(r.result.err, "");
    EXPECT_EQ(r.result.out, kConsoleOk);
    std::string report = r.report();
    ASSERT_GE(report.size(), expected.size());
    EXPECT_EQ(report.substr(0, expected.size()), expected);
}

// An input failure: the console line, the error report, status 1.
void expect_input_failure(const TpRun& r, const std::string& stderr_bytes) {
    EXPECT_EQ(r.result.status, 1);
    EXPECT_EQ(r.result.out, kConsoleFirstLine);
    EXPECT_EQ(r.result.err, stderr_bytes);
}

const std::string kReadFailed = "\r\nrun-time error F2002: READ(INPUT.TP)\r\n- end of file: ";
const std::string kInvalid = "\r\nrun-time error F2003: READ(INPUT.TP)\r\n- invalid number: ";

TEST(ZorvathEcho, TitleLongerShorterAndEmpty) {
    {
        TpRun r;
        run(r, kOctaneInput);
        expect_echo(r, echo(pad72("n-octane in air"), kOctaneValues));
    }
    {
        TpRun r;
        std::string title(71, 'T');
        title += "Z and this is beyond column 72";
        run(r, title + "\n8\n18\n0\n0\n1\n2000\n101325\n");
        expect_echo(r, echo(std::string(71, 'T') + "Z", kOctaneValues));
    }
    {
        TpRun r;
        run(r, "\r\n8\n18\n0\n0\n1\n2000\n101325\n");
        expect_echo(r, echo(std::string(72, ' '), kOctaneValues));
    }
}

TEST(ZorvathEcho, LabelsCommasBlankLinesAndTabs) {
    TpRun r;
    run(r, "octane\n\n8.0 carbon atoms\n18,hydrogen\n\n  \n\t0\toxygen\n  0\n1.0e0\n  2.0+3 K\n\n101325.,Pa\n");
    expect_echo(r, echo(pad72("octane"), kOctaneValues));
}

TEST(ZorvathEcho, FractionalAndOversizedValues) {
    TpRun r;
    run(r, "wide\n1000\n0.5\n-0.04\n12.25\n1.0005\n2000.05\n1e9\n");
    const std::string values[7] = {"*****", "   .5", "   .0", " 12.3", " 1.001", " 2000.1", "**********"};
    // The run itself may stop at the solver's checks; the echo is written before them.
    std::string report = r.report();
    std::string expected = echo(pad72("wide"), values);
    ASSERT_GE(report.size(), expected.size());
    EXPECT_EQ(report.substr(0, expected.size()), expected);
}

TEST(ZorvathEcho, LowerCaseInputFileName) {
    TpRun r;
    run(r, kOctaneInput, "input.tp");
    expect_echo(r, echo(pad72("n-octane in air"), kOctaneValues));
    EXPECT_FALSE(r.dir.exists("INPUT.TP"));  // the existing file was used, none created
}

TEST(ZorvathEcho, LastValueWithoutLineEnd) {
    TpRun r;
    run(r, "t\n8\n18\n0\n0\n1\n2000\n101325");
    expect_echo(r, echo(pad72("t"), kOctaneValues));
}

TEST(ZorvathEcho, ZeroByteAfterTheLastLineEnd) {
    TpRun r;
    const char input[] = "t\r\n8\r\n18\r\n0\r\n0\r\n1\r\n2000\r\n101325\r\n\0";
    run(r, std::string(input, sizeof input - 1));  // the zero byte included
    expect_echo(r, echo(pad72("t"), kOctaneValues));
}

TEST(ZorvathInputFailure, ZeroByteDirectlyAfterTheLastValue) {
    TpRun r;
    r.dir.write("OUTPUT.TP", "old report\r\n");
    const char input[] = "t\r\n8\r\n18\r\n0\r\n0\r\n1\r\n2000\r\n101325\0";
    run(r, std::string(input, sizeof input - 1));
    expect_input_failure(r, kInvalid + "line 8 holds '101325\\x00', which is not a decimal number\r\n");
    EXPECT_EQ(r.report(), "old report\r\n");
}

TEST(ZorvathInputFailure, TooFewLinesLeaveAnOldReportUntouched) {
    TpRun r;
    const std::string old = "an old report\r\nwith two lines\r\n";
    r.dir.write("OUTPUT.TP", old);
    run(r, "t\n8\n18\n0\n0\n1\n2000\n");
    expect_input_failure(r, kReadFailed + "INPUT.TP has 7 lines, the program reads a title and 7 values\r\n");
    EXPECT_EQ(r.report(), old);
}

TEST(ZorvathInputFailure, InvalidToken) {
    TpRun r;
    run(r, "t\n8\n18\n0\n0\n1\n2000K\n101325\n");
    expect_input_failure(r, kInvalid + "line 7 holds '2000K', which is not a decimal number\r\n");
    EXPECT_EQ(r.report(), "");
}

TEST(ZorvathReport, PreviousLongerReportIsCut) {
    TpRun r;
    std::string old;
    for (int i = 0; i < 500; ++i) old += "a line of an old and much longer report\r\n";
    r.dir.write("OUTPUT.TP", old);
    run(r, kOctaneInput);
    EXPECT_EQ(r.result.status, 0);
    std::string report = r.report();
    EXPECT_LT(report.size(), old.size());
    EXPECT_EQ(report.find("old and much longer"), std::string::npos);
    EXPECT_EQ(report.substr(0, 15), "n-octane in air");
}

TEST(ZorvathReport, MissingTablesFileAfterTheEcho) {
    ScratchDir dir;
    dir.write("INPUT.TP", kOctaneInput);
    RunResult res = testing_support::run_in(dir, ZORVATH_EXE);
    EXPECT_EQ(res.status, 1);
    EXPECT_EQ(res.out, kConsoleFirstLine);
    EXPECT_EQ(res.err, "\r\nrun-time error F2001: OPEN(GPROP.DAT)\r\n- file not found\r\n");
    EXPECT_EQ(dir.read("OUTPUT.TP"), echo(pad72("n-octane in air"), kOctaneValues));
}

}  // namespace
