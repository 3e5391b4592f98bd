// The processes in the core: an isentrope's end state keeps the start's entropy and
// meets its target, targets beyond the tables end the process without a terminal
// message (PER is never asked outside its range), and a detonation or a shock satisfies
// the conservation laws it was solved on.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "entropy.h"
#include "eqmd_support.h"
#include "processes.h"
#include "routines.h"
#include "state.h"

using namespace core;
using namespace eqmd_testing;

namespace {

class Processes : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fresh_run_state()) << "GPROP.DAT could not be loaded";
        report_.emplace();  // after the reset, which closes the units
    }
    std::optional<ReportUnit> report_;  // the GE01 warnings of cold states on the way
};

struct IsentropeCase {
    IsentropicTarget kind;
    double target;
    bool frozen;
    ProcessEnd end;
};

TEST_F(Processes, IsentropesKeepTheEntropyAndMeetTheirTargetOrStopAtTheTables) {
    const IsentropeCase cases[] = {
        {IsentropicTarget::P, 0.05 * ATM, false, ProcessEnd::Solved},
        {IsentropicTarget::P, 40 * ATM, true, ProcessEnd::Solved},
        {IsentropicTarget::T, 1400, false, ProcessEnd::Solved},
        {IsentropicTarget::VolumeRatio, 8.0, false, ProcessEnd::Solved},
        {IsentropicTarget::VolumeRatio, 0.2, true, ProcessEnd::Solved},
        {IsentropicTarget::P, 1e12, false, ProcessEnd::AboveTables},
        {IsentropicTarget::P, 1e-9, true, ProcessEnd::BelowTables},
    };
    for (const IsentropeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.kind) << " " << c.target << " frozen " << c.frozen);
        pose({3, 8, 0, 0, 0.9, 2300, 5 * ATM});
        PER();
        ASSERT_EQ(GGCNTL.IERQ, 0);
        PERS();
        const double S0 = SPROP.S, v0 = PROP.R * 2300 / (5 * ATM), CO2 = BLOC.X(10);
        pose({3, 8, 0, 0, 0.9, 2300, 5 * ATM});
        ASSERT_EQ(isentrope(c.kind, c.target, c.frozen), c.end);
        if (c.end != ProcessEnd::Solved) continue;
        EXPECT_NEAR(SPROP.S, S0, 1e-8 * S0);
        const double reached = c.kind == IsentropicTarget::P   ? BLOC.P
                               : c.kind == IsentropicTarget::T ? BLOC.T
                                                               : PROP.R * BLOC.T / BLOC.P / v0;
        EXPECT_NEAR(reached, c.target, 1e-9 * c.target);
        if (c.frozen) EXPECT_NEAR(BLOC.X(10), CO2, 1e-9 * CO2);  // the start, solved again
        else EXPECT_GT(std::abs(BLOC.X(10) / CO2 - 1), 1e-4);
    }
}

TEST_F(Processes, DetonationSolvesTheRankineHugoniotRelationsWithTheCjCondition) {
    pose({1, 4, 0, 0, 1.1, 0, 0});
    // Methane-air at 298.15 K, 1 atm: HREAC of the charge (formation included), J/kmol.
    const double r0 = 2.0 / 1.1;
    FUEL = {(-74600.0 + r0 * (0.0 + 3.76 * 0.0)) * 1000, 298.15, ATM, 1 + 4.76 * r0,
            (16.04246 + r0 * (31.9988 + 3.76 * 28.0134)) / (1 + 4.76 * r0)};
    const DetonationResult d = chapman_jouguet(1.39);
    ASSERT_EQ(d.end, ProcessEnd::Solved);
    const double v1 = DDCON.RJOUL * 298.15 / (FUEL.AVMR * ATM), v2 = PROP.R * BLOC.T / BLOC.P;
    const double h1 = FUEL.HREAC / (FUEL.RMOLES * FUEL.AVMR);
    EXPECT_NEAR(d.D / v1, d.u2 / v2, 1e-12 * d.D / v1);                                 // mass
    EXPECT_NEAR(ATM + d.D * d.D / v1, BLOC.P + d.u2 * d.u2 / v2, 1e-12 * BLOC.P);      // momentum
    EXPECT_NEAR(h1 + d.D * d.D / 2, PROP.H + d.u2 * d.u2 / 2, 1e-6 * PROP.R * BLOC.T);  // energy
    EXPECT_NEAR(d.u2, SPROP.AE, 1e-8 * d.u2);                                           // CJ
    EXPECT_GT(d.P_ratio, 10);
    EXPECT_NEAR(d.Mach, d.D / std::sqrt(1.39 * DDCON.RJOUL / FUEL.AVMR * 298.15), 1e-12 * d.Mach);

    // Far below what the products hold at 298.15 K (lean: EQMD solves them that cold).
    BLOC.F = 0.8;
    FUEL.HREAC -= 3e9;
    EXPECT_EQ(chapman_jouguet(1.39).end, ProcessEnd::DoesNotBurn);
}

TEST_F(Processes, FrozenShockIsSubsonicBehindAndNoneBelowTheSpeedOfSound) {
    pose({1, 4, 0, 0, 0.9, 1200, ATM});
    PER();
    ASSERT_EQ(GGCNTL.IERQ, 0);
    PERS();
    const Vec1<13> X = BLOC.X;
    const double a = SPROP.AF;
    EXPECT_EQ(frozen_shock(X, 1200, ATM, 0.99 * a).end, ProcessEnd::Subsonic);
    const ShockResult s = frozen_shock(X, 1200, ATM, 2.5 * a);
    ASSERT_EQ(s.end, ProcessEnd::Solved);
    EXPECT_GT(s.P_ratio, 5);
    EXPECT_LT(s.u2, SPROP.AF);  // subsonic behind the shock
}

}  // namespace
