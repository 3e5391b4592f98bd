// Both programs with odd files and streams: started with standard streams closed, the
// input file is only read and the report holds only the report; a FIFO as the input
// file does not make a run wait; a report file that is the null device is written.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "scratch.h"

using testing_support::RunResult;
using testing_support::ScratchDir;

namespace {

struct Program {
    const char* exe;
    const char* input;
    const char* report;
    const char* example;  // data/examples file, a complete input
};

const Program kPrograms[] = {
    {ZORVATH_EXE, "INPUT.TP", "OUTPUT.TP", "examples/methane.tp"},
    {BRASKOT2_EXE, "INPUT.UV", "OUTPUT.UV", "examples/methane.uv"},
};

constexpr int IN = 1 << 0, OUT = 1 << 1, ERR = 1 << 2;

// The report of a run with all streams open, for comparison.
std::string normal_report(const Program& p) {
    ScratchDir dir;
    dir.copy_data("GPROP.DAT", "GPROP.DAT");
    dir.copy_data(p.example, p.input);
    EXPECT_EQ(testing_support::run_in(dir, p.exe).status, 0);
    return dir.read(p.report);
}

TEST(ClosedStandardStreams, InputIsOnlyReadAndTheReportHoldsOnlyTheReport) {
    const std::string old_report = "an old report\r\n";
    for (const Program& p : kPrograms) {
        const std::string good = testing_support::read_file(std::string(SUITE_DATA_DIR) + "/" + p.example);
        const std::string expected = normal_report(p);
        // The first line of the example alone: the run fails at the end of the file,
        // with its error report on standard error.
        const std::string short_input = good.substr(0, good.find('\n') + 1);
        for (int closed : {OUT, ERR, IN | ERR, IN | OUT | ERR}) {
            const std::string what = std::string(p.exe) + " closed streams " + std::to_string(closed);
            {
                ScratchDir dir;
                dir.copy_data("GPROP.DAT", "GPROP.DAT");
                dir.write(p.input, good);
                const RunResult r = testing_support::run_in(dir, p.exe, false, closed);
                EXPECT_EQ(r.status, 0) << what;
                EXPECT_EQ(dir.read(p.input), good) << what;
                EXPECT_EQ(dir.read(p.report), expected) << what;
            }
            {
                ScratchDir dir;
                dir.copy_data("GPROP.DAT", "GPROP.DAT");
                dir.write(p.input, short_input);
                dir.write(p.report, old_report);
                const RunResult r = testing_support::run_in(dir, p.exe, false, closed);
                EXPECT_EQ(r.status, 1) << what;
                EXPECT_EQ(dir.read(p.input), short_input) << what;
                EXPECT_EQ(dir.read(p.report), old_report) << what;
            }
            {
                ScratchDir dir;  // no input file: created empty, and it stays empty
                dir.copy_data("GPROP.DAT", "GPROP.DAT");
                const RunResult r = testing_support::run_in(dir, p.exe, false, closed);
                EXPECT_EQ(r.status, 1) << what;
                EXPECT_TRUE(dir.exists(p.input)) << what;
                EXPECT_EQ(dir.read(p.input), "") << what;
                EXPECT_EQ(dir.read(p.report), "") << what;
            }
        }
    }
}

TEST(OddFiles, FifoAsInputEndsAtTheEndOfFile) {
    for (const Program& p : kPrograms) {
        ScratchDir dir;
        dir.copy_data("GPROP.DAT", "GPROP.DAT");
        ASSERT_EQ(mkfifo(dir.file(p.input).c_str(), 0644), 0);
        const RunResult r = testing_support::run_in(dir, p.exe);
        EXPECT_EQ(r.status, 1) << p.exe;  // not -1: the run ended by itself
        EXPECT_NE(r.err.find("run-time error F2002: READ(" + std::string(p.input) + ")"), std::string::npos) << r.err;
    }
}

TEST(OddFiles, ReportOnTheNullDeviceIsWrittenWithoutError) {
    for (const Program& p : kPrograms) {
        ScratchDir dir;
        dir.copy_data("GPROP.DAT", "GPROP.DAT");
        dir.copy_data(p.example, p.input);
        ASSERT_EQ(symlink("/dev/null", dir.file(p.report).c_str()), 0);
        const RunResult r = testing_support::run_in(dir, p.exe);
        EXPECT_EQ(r.status, 0) << p.exe;
        EXPECT_EQ(r.err, "") << p.exe;
        EXPECT_NE(r.out.find("Stop - Program terminated."), std::string::npos) << p.exe;
    }
}

}  // namespace
