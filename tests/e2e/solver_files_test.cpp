// The programs with missing and odd files and streams: a missing input file is created
// empty and reported; started with standard streams closed, the input file is only read
// and the report holds only the report; a FIFO as the input file does not make a run
// wait; a report file that is the null device is written.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "programs.h"
#include "scratch.h"

using testing_support::RunResult;
using testing_support::ScratchDir;

namespace {

using e2e::Program;

RunResult run(const ScratchDir& dir, const Program& p, int closed_streams = 0) {
    dir.copy_data("GPROP.DAT", "GPROP.DAT");
    return testing_support::run_in(dir, p.exe, false, closed_streams);
}

TEST(MissingInputFile, IsCreatedEmptyAndReportedWithNoReport) {
    for (const Program* p : e2e::kAllPrograms) {
        ScratchDir dir;
        const RunResult r = run(dir, *p);
        EXPECT_EQ(r.status, 1) << p->name;
        EXPECT_EQ(r.out, std::string("The results are stored in the file ") + p->report + "\r\n");
        EXPECT_EQ(r.err, std::string("\r\nrun-time error F2002: READ(") + p->input + ")\r\n- end of file: " + p->input +
                             " is empty, the program reads " + p->reads + "\r\n");
        EXPECT_TRUE(dir.exists(p->input));
        EXPECT_EQ(dir.read(p->input), "");
        EXPECT_TRUE(dir.exists(p->report));
        EXPECT_EQ(dir.read(p->report), "");
    }
}

TEST(ClosedStandardStreams, InputIsOnlyReadAndTheReportHoldsOnlyTheReport) {
    for (const Program* program : e2e::kAllPrograms) {
        const Program& p = *program;
        const std::string good = testing_support::read_file(std::string(SUITE_DATA_DIR) + "/examples/" + p.example);
        ScratchDir normal;
        normal.write(p.input, good);
        ASSERT_EQ(run(normal, p).status, 0);
        // A complete input; its first line alone (the error report goes to standard
        // error); no input file at all (created empty).
        struct Input {
            bool present;
            std::string bytes, report_after;
            int status;
        } inputs[] = {{true, good, normal.read(p.report), 0},
                      {true, good.substr(0, good.find('\n') + 1), "old report\r\n", 1},
                      {false, "", "old report\r\n", 1}};
        for (int closed : {2, 4, 1 | 4, 1 | 2 | 4}) {  // bit 1 << fd: out, err, in and err, all
            for (const Input& in : inputs) {
                ScratchDir dir;
                if (in.present) dir.write(p.input, in.bytes);
                dir.write(p.report, "old report\r\n");
                const std::string what = std::string(p.exe) + " closed " + std::to_string(closed);
                EXPECT_EQ(run(dir, p, closed).status, in.status) << what;
                EXPECT_EQ(dir.read(p.input), in.bytes) << what;
                EXPECT_EQ(dir.read(p.report), in.report_after) << what;
            }
        }
    }
}

TEST(OddFiles, FifoAsInputEndsTheRunAndANullDeviceReportIsWritten) {
    for (const Program* program : e2e::kAllPrograms) {
        const Program& p = *program;
        ScratchDir fifo;
        ASSERT_EQ(mkfifo(fifo.file(p.input).c_str(), 0644), 0);
        const RunResult f = run(fifo, p);
        EXPECT_EQ(f.status, 1) << p.exe;  // not -1: the run ended by itself
        EXPECT_NE(f.err.find("run-time error F2002: READ(" + std::string(p.input) + ")"), std::string::npos) << f.err;

        ScratchDir null;
        null.copy_data(std::string("examples/") + p.example, p.input);
        ASSERT_EQ(symlink("/dev/null", null.file(p.report).c_str()), 0);
        const RunResult n = run(null, p);
        EXPECT_EQ(n.status, 0) << p.exe;
        EXPECT_EQ(n.err, "") << p.exe;
    }
}

}  // namespace
