// EQMD at hot, thin states that its cold start cannot reach: the continuation from a
// lower temperature solves them without a message (their balances and sensitivities are
// checked with the other converged states in eqmd_test.cpp) and, where it fails too,
// leaves everything as the cold start alone leaves it.
#include <gtest/gtest.h>

#include <cmath>
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
    // EQMD's own scheme: the general method, which takes what the continuation leaves,
    // is tested in equil_general_test.cpp.
    void SetUp() override {
        set_eqmd_general_method(false);
        ASSERT_TRUE(fresh_run_state()) << "GPROP.DAT could not be loaded";
    }
    void TearDown() override {
        set_eqmd_continuation(true);
        set_eqmd_general_method(true);
    }
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
            ReportUnit warnings;
            EXPECT_EQ(solve(p), 6) << describe(p) << ": the cold start alone fails";
        }
        set_eqmd_continuation(true);
        ASSERT_TRUE(fresh_run_state());
        ReportUnit report;
        EXPECT_EQ(solve(p), 0) << describe(p);
        EXPECT_GT(eqmd_last_call().continued, 1) << describe(p);
        EXPECT_EQ(report.text(), "") << describe(p);
        // The solution is remembered at the state asked for, for the next call's warm start.
        EXPECT_EQ(eqmd_memory().TPR, p.T);
        EXPECT_EQ(BLOC.T, p.T);
    }
}

// What a failed call leaves behind (status, X, TAB, kept memory, warnings), as bytes.
std::string fail_after_a_success(bool continuation) {
    set_eqmd_continuation(continuation);
    EXPECT_TRUE(fresh_run_state());
    ReportUnit report;
    EXPECT_EQ(solve({1, 4, 0, 0, 1.0, 2000, ATM}), 0);
    pose({1, 4, 0, 0, 1.0, 4000, 1e-4});  // 1E-9 atm: too thin for the continuation as well
    PER();
    EXPECT_EQ(GGCNTL.IERQ, 6);
    EXPECT_EQ(eqmd_memory().TPR, 2000);  // the last success, not a step of the walk
    auto bytes = [](const auto& v) { return std::string(reinterpret_cast<const char*>(&v), sizeof v); };
    const EqmdMemory& m = eqmd_memory();
    const double kept[] = {m.PHIPR, m.TPR, m.PPR, m.X4PR, m.X6PR, m.X8PR, m.X11PR};
    return bytes(BLOC.X) + bytes(TAB) + bytes(m.JF) + bytes(kept) + report.text();
}

TEST_F(Continuation, WhenItFailsTooEverythingIsAsAfterTheColdStartAlone) {
    const std::string both = fail_after_a_success(true);
    EXPECT_EQ(both, fail_after_a_success(false));
    EXPECT_EQ(count(both, "WARNINGS ISSUED"), 2);  // GE08 and GP03, nothing from the walk
}

}  // namespace
