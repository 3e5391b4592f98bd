// EQMD at hot, thin states that its cold start cannot reach: the continuation from a
// lower temperature solves them without a message, finds the solution that a warm
// start from a solved neighbour finds, and, where it fails too, leaves everything as
// the cold start alone leaves it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "eqmd.h"
#include "eqmd_support.h"
#include "routines.h"
#include "state.h"

using namespace core;
using namespace eqmd_testing;

namespace {

class Continuation : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fresh_run_state()) << "GPROP.DAT could not be loaded"; }
    void TearDown() override { set_eqmd_continuation(true); }
};

TEST_F(Continuation, HotThinStatesAreSolvedWithoutAMessage) {
    const Problem hot_thin[] = {
        {1, 4, 0, 0, 1.0, 3500, 0.1 * ATM},  {1, 4, 0, 0, 0.6, 4000, 0.01 * ATM},
        {8, 18, 0, 0, 1.6, 3900, ATM},       {8, 18, 0, 0, 0.8, 3100, 0.01 * ATM},
    };
    for (const Problem& p : hot_thin) {
        set_eqmd_continuation(false);
        ASSERT_TRUE(fresh_run_state());
        {
            ReportUnit report;
            EXPECT_EQ(solve(p), 6) << describe(p) << ": the cold start alone fails";
        }
        set_eqmd_continuation(true);
        ASSERT_TRUE(fresh_run_state());
        ReportUnit report;
        EXPECT_EQ(solve(p), 0) << describe(p);
        EXPECT_GT(eqmd_last_call().continued, 1) << describe(p);
        EXPECT_EQ(report.text(), "") << describe(p);
        // The solution is remembered at the state asked for, for the next call's warm start.
        EXPECT_EQ(eqmd_memory().JF, 1);
        EXPECT_EQ(eqmd_memory().TPR, p.T);
        EXPECT_EQ(BLOC.T, p.T);
    }
}

TEST_F(Continuation, FindsTheSolutionOfAWarmStartFromASolvedNeighbour) {
    // 3850 K is the hottest state of this mixture at 1 atm that the cold start reaches;
    // 3900 K lies inside the warm-start band from it.
    const Problem neighbour{1, 4, 0, 0, 1.0, 3850, ATM}, p{1, 4, 0, 0, 1.0, 3900, ATM};
    ASSERT_EQ(solve(neighbour), 0);
    ASSERT_EQ(solve(p), 0);
    ASSERT_TRUE(eqmd_last_call().warm);
    const Vec1<13> warm = BLOC.X;

    ASSERT_TRUE(fresh_run_state());
    ASSERT_EQ(solve(p), 0);
    ASSERT_GT(eqmd_last_call().continued, 0);
    for (int i = 1; i <= 13; ++i) EXPECT_NEAR(BLOC.X(i), warm(i), 1e-9 * std::abs(warm(i)) + 1e-15) << "species " << i;
}

// What a failed call leaves behind, as bytes.
struct AfterFailure {
    int IERQ;
    Vec1<13> X;
    TAB_t tab;
    EqmdMemory memory;
    std::string report;
};

AfterFailure fail_after_a_success(bool continuation) {
    set_eqmd_continuation(continuation);
    EXPECT_TRUE(fresh_run_state());
    ReportUnit report;
    EXPECT_EQ(solve({1, 4, 0, 0, 1.0, 2000, ATM}), 0);
    pose({1, 4, 0, 0, 1.0, 4000, 1e-4});  // 1E-9 atm: too thin for the continuation as well
    PER();
    return {GGCNTL.IERQ, BLOC.X, TAB, eqmd_memory(), report.text()};
}

TEST_F(Continuation, WhenItFailsTooEverythingIsAsAfterTheColdStartAlone) {
    const AfterFailure cold = fail_after_a_success(false);
    const AfterFailure both = fail_after_a_success(true);
    EXPECT_EQ(cold.IERQ, 6);
    EXPECT_EQ(both.IERQ, cold.IERQ);
    EXPECT_EQ(both.report, cold.report);  // GE08 and GP03 once each, no more warnings
    EXPECT_EQ(count(both.report, "WARNINGS ISSUED"), 2);
    EXPECT_EQ(std::memcmp(&both.X, &cold.X, sizeof cold.X), 0);
    EXPECT_EQ(std::memcmp(&both.tab, &cold.tab, sizeof cold.tab), 0);
    EXPECT_EQ(std::memcmp(&both.memory, &cold.memory, sizeof cold.memory), 0);
    EXPECT_EQ(both.memory.JF, 0);
    EXPECT_EQ(both.memory.TPR, 2000);  // the last success is kept, not a step of the walk
}

}  // namespace
