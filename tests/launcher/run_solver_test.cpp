// RunSolver with stand-in solvers: what counts as failure, what is shown, and that a run
// neither hangs nor leaks a handle.
#include <string>

#include "handle_count.h"
#include "launcher_fixture.h"
#include "run_solver.h"
#include "standin_pattern.h"

namespace launcher_test {
namespace {

using orvello::RunFailure;
using orvello::RunResult;
using orvello::RunSuccess;

// A run of the TP kind, with another executable name when given; boxes owned by no window.
RunResult RunSolver(const char* executable, const char* report = "output.tp") {
    const orvello::SolverKind kind{"TP", 0, "input.tp", report, executable};
    return orvello::RunSolver(kind, nullptr);
}

class RunSolverTest : public ScratchTest {
protected:
    // A working directory with the spawner, a solver built as the stand-in, and an input.
    void Prepare(const char* standin) {
        scratch_.CopyProgram("conspawn.exe", "conspawn.exe");
        if (standin) scratch_.CopyProgram(standin, "zorvath.exe");
        scratch_.Write("INPUT.TP", "stand-in input\r\n");
    }
    // The one box a failed run shows: caption "Error!", OK only, owned by no window.
    std::string ErrorShown() {
        EXPECT_EQ(boxes_.seen().size(), 1u);
        if (boxes_.seen().empty()) return "<no box>";
        const SeenBox& box = boxes_.seen()[0];
        EXPECT_EQ(box.caption, "Error!");
        EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_FALSE(box.icon);
        return box.text;
    }
    // The stand-in writes its report as its last act: the run went to its end.
    bool RanToTheEnd() const {
        return scratch_.Read("OUTPUT.TP") == "REPORT\r\nstand-in input\r\n";
    }
};

TEST_F(RunSolverTest, QuietSolverSucceedsAndRanInTheWorkingDirectory) {
    Prepare("standin_quiet.exe");
    EXPECT_EQ(RunSolver("zorvath.exe"), RunSuccess);
    EXPECT_TRUE(boxes_.seen().empty());
    EXPECT_TRUE(RanToTheEnd());
}

TEST_F(RunSolverTest, ErrorTextIsShownUpToItsFirst256Bytes) {
    Prepare(nullptr);
    scratch_.CopyProgram("standin_err40.exe", "short.exe");
    scratch_.CopyProgram("standin_err300.exe", "long.exe");
    boxes_.Answer(IDOK);
    EXPECT_EQ(RunSolver("short.exe"), RunFailure);
    EXPECT_EQ(ErrorShown(), standin::Pattern(40));
    boxes_.Clear();
    boxes_.Answer(IDOK);
    EXPECT_EQ(RunSolver("long.exe"), RunFailure);
    EXPECT_EQ(ErrorShown(), standin::Pattern(256));
}

TEST_F(RunSolverTest, ErrorTextFarLargerThanThePipeNeitherHangsNorLosesItsStart) {
    Prepare("standin_err200k.exe");
    boxes_.Answer(IDOK);
    EXPECT_EQ(RunSolver("zorvath.exe"), RunFailure);
    EXPECT_EQ(ErrorShown(), standin::Pattern(256));
    EXPECT_TRUE(RanToTheEnd());  // the solver got all 200 000 bytes out and finished
}

TEST_F(RunSolverTest, SolverReadingItsStandardInputFindsItsEnd) {
    Prepare("standin_stdin.exe");
    EXPECT_EQ(RunSolver("zorvath.exe"), RunSuccess);
    EXPECT_TRUE(boxes_.seen().empty());
    EXPECT_TRUE(RanToTheEnd());
}

TEST_F(RunSolverTest, MissingSolverCannotBeExecuted) {
    Prepare(nullptr);
    boxes_.Answer(IDOK);
    EXPECT_EQ(RunSolver("zorvath.exe"), RunFailure);
    EXPECT_EQ(ErrorShown(), "Could not execute file zorvath.exe");
    EXPECT_FALSE(scratch_.Exists("OUTPUT.TP"));
}

TEST_F(RunSolverTest, MissingSpawnerIsNamed) {
    scratch_.CopyProgram("standin_quiet.exe", "zorvath.exe");
    boxes_.Answer(IDOK);
    EXPECT_EQ(RunSolver("zorvath.exe"), RunFailure);
    EXPECT_EQ(ErrorShown(), "Could not execute file conspawn.exe");
    EXPECT_FALSE(scratch_.Exists("OUTPUT.TP"));
}

// Quiet on the error stream is not enough: the status must be 0 and the report this run's.
TEST_F(RunSolverTest, QuietRunsThatDidNotSucceedAreFailures) {
    Prepare(nullptr);
    scratch_.CopyProgram("standin_crash.exe", "crash.exe");
    scratch_.CopyProgram("standin_exit3.exe", "exit3.exe");
    scratch_.CopyProgram("standin_quiet.exe", "quiet.exe");
    scratch_.WriteOld("output.hp", "an earlier run's report\r\n");
    scratch_.Write("output.new", "a report written just before the run\r\n");
    const struct {
        const char* executable;
        const char* report;  // the stand-ins write OUTPUT.TP only
        const char* message;
    } cases[] = {
        {"crash.exe", "output.tp", "crash.exe ended abnormally (exit code 0xC0000005)"},
        {"exit3.exe", "output.tp", "exit3.exe ended abnormally (exit code 0x00000003)"},
        {"quiet.exe", "output.hp", "quiet.exe did not write the report output.hp"},
        {"quiet.exe", "output.uv", "quiet.exe did not write the report output.uv"},
        {"quiet.exe", "output.new", "quiet.exe did not write the report output.new"},
    };
    for (const auto& c : cases) {
        boxes_.Clear();
        boxes_.Answer(IDOK);
        EXPECT_EQ(RunSolver(c.executable, c.report), RunFailure) << c.message;
        EXPECT_EQ(ErrorShown(), c.message);
    }
}

TEST_F(RunSolverTest, EveryPathClosesItsHandles) {
    Prepare("standin_quiet.exe");
    scratch_.CopyProgram("standin_err300.exe", "failing.exe");
    auto run_each_path = [&] {
        EXPECT_EQ(RunSolver("zorvath.exe"), RunSuccess);
        boxes_.Answer(IDOK);
        EXPECT_EQ(RunSolver("failing.exe"), RunFailure);
        boxes_.Answer(IDOK);
        EXPECT_EQ(RunSolver("absent.exe"), RunFailure);
    };
    // Once first, so that whatever the system sets up on first use is in place.
    run_each_path();
    const int before = OpenHandleCount();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 3; ++i) run_each_path();
    EXPECT_EQ(OpenHandleCount(), before);
}

}  // namespace
}  // namespace launcher_test
