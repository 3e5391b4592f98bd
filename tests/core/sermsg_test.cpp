// SERMSG: the message block, the warning count and its limit, the terminal tail, and the
// stop that ends the run; checked against the exact bytes of the report.
#include <gtest/gtest.h>

#include <string>

#include "runend.h"
#include "scratch.h"
#include "sermsg.h"
#include "units.h"

using namespace core;
using testing_support::RunResult;
using testing_support::ScratchDir;

namespace {

const std::string kStop = "Stop - Program terminated.\r\n";

std::string block(const std::string& line3, const std::string& id) {
    return "\r\n\r\n" + line3 + "\r\n\r\n SEE DATA SET \"ERROR.TXT\" FOR EXPLANATION OF " + id + "\r\n\r\n";
}
std::string eqmd_block(const std::string& id) { return block("**" + id + "** - ERROR IN SUBROUTINE    EQMD", id); }
std::string per_block(const std::string& id) { return block("**" + id + "** - ERROR IN SUBROUTINE    PER ", id); }
std::string count_tail(const std::string& count2) {
    return "\r\n\r\n**" + count2 + " WARNINGS ISSUED - EXECUTION CONTINUES **\r\n\r\n";
}
const std::string kLimitTail = "** (10) WARNINGS ISSUED - EXECUTION ENDING **\r\n\r\n";
const std::string kTerminalTail = "** TERMINAL ERROR - EXECUTION ENDING **\r\n\r\n\r\n";

// Opens the report as the drivers do, runs the calls, and marks a normal return.
RunResult run_with_report(const ScratchDir& dir, void (*calls)()) {
    static void (*body_calls)();
    body_calls = calls;
    return testing_support::run_inprocess_in(dir, [] {
        open_unit(UNIT_REPORT, "OUTPUT.TP", OpenStatus::Unknown);
        body_calls();
        write_record(UNIT_REPORT, "RETURNED");
    });
}

TEST(Sermsg, TenWarningsEachWithItsRunningCount) {
    ScratchDir dir;
    RunResult r = run_with_report(dir, [] {
        for (int i = 0; i < 5; ++i) {
            SERMSG(0, "EQMD  ", "GE09");
            SERMSG(0, "PER   ", "GP03");
        }
    });
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");  // the run goes on: no stop yet
    EXPECT_EQ(r.err, "");
    const char* counts[] = {" 1", " 2", " 3", " 4", " 5", " 6", " 7", " 8", " 9", "10"};
    std::string expected;
    for (int i = 0; i < 10; ++i)
        expected += (i % 2 == 0 ? eqmd_block("GE09") : per_block("GP03")) + count_tail(counts[i]);
    EXPECT_EQ(dir.read("OUTPUT.TP"), expected + "RETURNED\r\n");
}

TEST(Sermsg, EleventhWarningEndsTheRunLikeANormalStop) {
    ScratchDir dir;
    RunResult r = run_with_report(dir, [] {
        for (int i = 0; i < 11; ++i) SERMSG(0, "PER   ", "GP03");
    });
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, kStop);
    EXPECT_EQ(r.err, "");
    std::string report = dir.read("OUTPUT.TP");
    std::string last = per_block("GP03") + kLimitTail;
    ASSERT_GE(report.size(), last.size());
    EXPECT_EQ(report.substr(report.size() - last.size()), last);
    EXPECT_NE(report.find(count_tail("10")), std::string::npos);
    EXPECT_EQ(report.find("RETURNED"), std::string::npos);
    EXPECT_EQ(report.size(), 10 * (per_block("GP03").size() + count_tail("10").size()) + last.size());
}

// A warning about the input shows its detail line and is counted, but each one lets
// the run pass one warning more: ten of the calculation's still pass, the next ends it.
TEST(Sermsg, InputWarningsAreCountedButNeverEndARun) {
    ScratchDir dir;
    RunResult r = run_with_report(dir, [] {
        SERMSG_INPUT("REACHK", "GR01", " DETAIL ONE");
        SERMSG_INPUT("REACHK", "GR02", " DETAIL TWO");
        for (int i = 0; i < 11; ++i) SERMSG(0, "PER   ", "GP03");
    });
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, kStop);
    const std::string input = block("**GR01** - ERROR IN SUBROUTINE    REAC", "GR01") + " DETAIL ONE\r\n" +
                              count_tail(" 1") + block("**GR02** - ERROR IN SUBROUTINE    REAC", "GR02") +
                              " DETAIL TWO\r\n" + count_tail(" 2");
    std::string calculation;
    for (const char* n : {" 3", " 4", " 5", " 6", " 7", " 8", " 9", "10", "11", "12"})
        calculation += per_block("GP03") + count_tail(n);
    EXPECT_EQ(dir.read("OUTPUT.TP"), input + calculation + per_block("GP03") + kLimitTail);
}

TEST(Sermsg, TerminalErrorAsTheFirstMessage) {
    ScratchDir dir;
    RunResult r = run_with_report(dir, [] { SERMSG(1, "PER   ", "GP02"); });
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, kStop);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(dir.read("OUTPUT.TP"), per_block("GP02") + kTerminalTail);
}

TEST(Sermsg, AnyNonZeroSeverityIsTerminalAndWarningsBeforeItDoNotShow) {
    ScratchDir dir;
    RunResult r = run_with_report(dir, [] {
        SERMSG(0, "EQMD  ", "GE01");
        SERMSG(-3, "EQMD  ", "GE02");
    });
    EXPECT_EQ(r.out, kStop);
    EXPECT_EQ(dir.read("OUTPUT.TP"), eqmd_block("GE01") + count_tail(" 1") + eqmd_block("GE02") + kTerminalTail);
}

TEST(Sermsg, RoutineNameShowsItsFirstFourCharactersRightAligned) {
    ScratchDir dir;
    run_with_report(dir, [] {
        SERMSG(0, "PER   ", "GP03");
        SERMSG(0, "EQMDXX", "GE05");
        SERMSG(0, "AB", "XY");
    });
    std::string report = dir.read("OUTPUT.TP");
    // The example of a call from PER: 38 columns in all.
    std::string per_line = "**GP03** - ERROR IN SUBROUTINE    PER ";
    EXPECT_EQ(per_line.size(), 38u);
    EXPECT_NE(report.find("\r\n" + per_line + "\r\n"), std::string::npos);
    EXPECT_NE(report.find("\r\n**GE05** - ERROR IN SUBROUTINE    EQMD\r\n"), std::string::npos);
    // Short items are padded to four columns.
    EXPECT_NE(report.find("\r\n**XY  ** - ERROR IN SUBROUTINE    AB  \r\n"), std::string::npos);
    EXPECT_NE(report.find("FOR EXPLANATION OF XY  \r\n"), std::string::npos);
}

TEST(Sermsg, WarningCountStartsAgainInEveryRun) {
    for (int run = 0; run < 2; ++run) {
        ScratchDir dir;
        run_with_report(dir, [] { SERMSG(0, "EQMD  ", "GE01"); });
        EXPECT_EQ(dir.read("OUTPUT.TP"), eqmd_block("GE01") + count_tail(" 1") + "RETURNED\r\n") << run;
    }
}

// A sink takes every message instead of the report: twenty warnings pass (no limit), the
// terminal message still ends the run, and the report is never written.
TEST(Sermsg, SinkTakesTheMessagesAndTheReportStaysUntouched) {
    static std::string seen;
    seen.clear();
    set_message_sink([](std::int32_t nsev, std::string_view subr, std::string_view id) {
        seen += std::to_string(nsev) + std::string(subr.substr(0, 4)) + std::string(id) + ";";
    });
    ScratchDir dir;
    RunResult r = run_with_report(dir, [] {
        for (int i = 0; i < 20; ++i) SERMSG(0, "EQMD  ", "GE09");
        SERMSG(1, "PER   ", "GP02");
    });
    set_message_sink(nullptr);
    std::string expected;
    for (int i = 0; i < 20; ++i) expected += "0EQMDGE09;";
    EXPECT_EQ(seen, expected + "1PER GP02;");
    EXPECT_EQ(r.out, kStop);
    EXPECT_EQ(dir.read("OUTPUT.TP"), "");
}

}  // namespace
