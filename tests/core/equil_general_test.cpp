// The general equilibrium method: its answers against EQMD's own scheme where that
// converges, its sensitivities against central differences, positive mole fractions at
// the corners of the ranges, and the hand-over inside EQMD. Its invariants (elements
// conserved, the seven relations) over random charges and oxidizers are the Python
// module's property test (tests/python/test_properties.py), through the same core.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "eqmd.h"
#include "eqmd_support.h"
#include "equil_general.h"
#include "routines.h"
#include "state.h"

using namespace core;
using namespace eqmd_testing;

namespace {

constexpr DDAIR_t AIR = {3.76, 0, 0, 0};
constexpr DDAIR_t O2 = {0, 0, 0, 0};
constexpr DDAIR_t DRY_AIR = {3.7276, 0.0446, 0.0014, 0};  // N2, Ar, CO2 of standard dry air
constexpr DDAIR_t EGR = {3.76, 0, 0.2, 0.3};

struct Case {
    const char* what;
    Problem p;
    DDAIR_t air;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.what << " " << describe(c.p); }

// A clean run state with the oxidizer, the problem posed; the general method's status.
int solve_general(const Case& c) {
    EXPECT_TRUE(fresh_run_state());
    DDAIR = c.air;
    pose(c.p);
    return equil_general();
}

// The sensitivities against central differences of cold solves, for charges whose
// atom ratios move with F through every part of the oxidizer.
class GeneralSensitivities : public testing::TestWithParam<Case> {};

TEST_P(GeneralSensitivities, MatchCentralDifferences) {
    const Case c = GetParam();
    ASSERT_EQ(solve_general(c), 0);
    const TAB_t d = TAB;
    const Vec1<13> X = BLOC.X;
    struct Column {
        const char* name;
        double Problem::*v;
        double h;
        const Vec1<NSPEC>& analytic;
    } columns[] = {{"DXT", &Problem::T, 0.05, d.DXT},
                   {"DXP", &Problem::P, 1e-4 * c.p.P, d.DXP},
                   {"DXF", &Problem::F, 1e-5, d.DXF}};
    for (const Column& col : columns) {
        Case lo = c, hi = c;
        lo.p.*col.v -= col.h;
        hi.p.*col.v += col.h;
        ASSERT_EQ(solve_general(lo), 0);
        const Vec1<13> xl = BLOC.X;
        ASSERT_EQ(solve_general(hi), 0);
        const Vec1<13> xh = BLOC.X;
        const double scale = c.p.*col.v;
        for (int i = 1; i <= NSPEC; ++i) {
            const double fd = (xh(i) - xl(i)) / (2 * col.h);
            EXPECT_NEAR(col.analytic(i), fd, 1e-6 * (std::abs(fd) + X(i) / scale)) << col.name << " of species " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Charges, GeneralSensitivities,
                         testing::Values(Case{"methane with EGR", {1, 4, 0, 0, 1.2, 2050, 5 * ATM}, EGR},
                                         Case{"hydrogen with EGR at F = 1", {0, 2, 0, 0, 1.0, 2450, ATM}, EGR},
                                         Case{"methane in dry air", {1, 4, 0, 0, 0.8, 2850, 0.1 * ATM}, DRY_AIR},
                                         Case{"ammonia in air", {0, 3, 0, 1, 1.1, 2250, ATM}, AIR},
                                         Case{"CO in O2", {1, 0, 1, 0, 0.7, 3150, ATM}, O2}));

// Where EQMD's own scheme converges, both methods solve the same equations with the same
// tables: with EQMD's iteration carried on to its fixed point they agree to round-off,
// and their sensitivities (each from its own Jacobian) to EQMD's tolerance. Near F = 1
// the general method is given EQMD's PHI.
TEST(GeneralAgreement, WithEqmdsOwnScheme) {
    set_eqmd_general_method(false);
    int compared = 0;
    for (const DDAIR_t& air : {AIR, EGR, DRY_AIR})
        for (const Problem& fuel : {Problem{1, 4, 0, 0}, Problem{8, 18, 0, 0}, Problem{1, 4, 1, 0}, Problem{2, 6, 1, 1}})
            for (double F : {0.6, 1.0, 1.4})
                for (double T : {700.0, 1500.0, 2300.0, 3100.0})
                    for (double patm : {0.1, 10.0}) {
                        Problem p = fuel;
                        p.F = F, p.T = T, p.P = patm * ATM;
                        ASSERT_TRUE(fresh_run_state());
                        DDAIR = air;
                        ReportUnit warnings;
                        if (solve(p) != 0) continue;
                        const TAB_t eqmd_tab = TAB;
                        eqmd_detail::to_fixed_point();
                        const Vec1<13> eqmd = BLOC.X;
                        if (std::abs(F - 1) <= eqmd_const::PHI_BAND) BLOC.F = eqmd_const::PHI_NEAR_ONE;
                        ASSERT_EQ(equil_general(), 0) << describe(p);
                        ++compared;
                        for (int i = 1; i <= 13; ++i) {
                            if (eqmd(i) > 1e-20) {
                                EXPECT_NEAR(BLOC.X(i) / eqmd(i), 1, 1e-11) << describe(p) << " X" << i;
                            }
                        }
                        for (int i = 1; i <= NSPEC; ++i) {
                            const double scale_T = BLOC.X(i) / T + 1e-30, scale_F = BLOC.X(i) + 1e-30;
                            EXPECT_NEAR(TAB.DXT(i), eqmd_tab.DXT(i), 1e-4 * scale_T + 1e-4 * std::abs(eqmd_tab.DXT(i)))
                                << describe(p) << " DXT" << i;
                            EXPECT_NEAR(TAB.DXF(i), eqmd_tab.DXF(i), 1e-4 * scale_F + 1e-4 * std::abs(eqmd_tab.DXF(i)))
                                << describe(p) << " DXF" << i;
                        }
                    }
    set_eqmd_general_method(true);
    EXPECT_GT(compared, 250);
}

// Every present species positive and finite over the corners of the ranges, down to
// values far below single precision's floor.
TEST(GeneralExtremes, MoleFractionsStayPositive) {
    double smallest = 1;
    for (const Case& fuel : {Case{"methane", {1, 4, 0, 0}, AIR}, Case{"hydrogen", {0, 2, 0, 0}, AIR},
                             Case{"ammonia in O2", {0, 3, 0, 1}, O2}, Case{"CO with EGR", {1, 0, 1, 0}, EGR}})
        for (double T : {100.0, 300.0, 5000.0})
            for (double patm : {1e-3, 1e3})
                for (double F : {0.3, 1.0, 3.0}) {
                    Case c = fuel;
                    c.p.F = F, c.p.T = T, c.p.P = patm * ATM;
                    ASSERT_EQ(solve_general(c), 0) << c.what << " " << describe(c.p);
                    double sum = 0;
                    for (int i = 1; i <= NSPEC; ++i) {
                        const double x = BLOC.X(i);
                        EXPECT_TRUE(x >= 0 && std::isfinite(x)) << c.what << " " << describe(c.p) << " X" << i;
                        if (x > 0) smallest = std::min(smallest, x);
                        sum += x;
                    }
                    EXPECT_NEAR(sum, 1, 1e-13) << c.what << " " << describe(c.p);
                }
    EXPECT_LT(smallest, 1e-200);
}

// The kept solution changes the cost of a call, not its answer.
TEST(GeneralWarmStart, GivesTheColdAnswer) {
    const Case first{"hydrogen", {0, 2, 0, 0, 1.0, 2400, ATM}, AIR};
    Case next = first;
    next.p.T = 2450;
    ASSERT_EQ(solve_general(next), 0);
    EXPECT_FALSE(equil_general_last_call().warm);
    const Vec1<13> cold = BLOC.X;
    ASSERT_EQ(solve_general(first), 0);
    pose(next.p);
    ASSERT_EQ(equil_general(), 0);
    EXPECT_TRUE(equil_general_last_call().warm);
    EXPECT_LT(equil_general_last_call().newton_steps, 6);
    for (int i = 1; i <= 13; ++i) EXPECT_NEAR(BLOC.X(i), cold(i), 1e-14 * cold(i)) << i;
}

// The hand-over inside EQMD: what its own scheme refuses or fails, the general method
// solves without a message; EQMD's warm start is cleared after it; too much carbon
// keeps its warning.
TEST(GeneralHandOver, EqmdSolvesWhatItsOwnSchemeCannot) {
    const struct {
        const char* what;
        Problem p;
        int own;  // the status of EQMD's own scheme (12: the run ends with GE12)
    } cases[] = {
        {"hydrogen", {0, 2, 0, 0, 1.0, 2200, ATM}, 12},
        {"CO", {1, 0, 1, 0, 1.2, 2500, 10 * ATM}, 12},
        {"rich, cold: no first estimate", {1, 4, 0, 0, 2.0, 400, 0.1 * ATM}, 4},
        {"too thin for the continuation", {1, 4, 0, 0, 1.0, 4000, 1e-4}, 6},
    };
    for (const auto& c : cases) {
        if (c.own != 12) {
            set_eqmd_general_method(false);
            ASSERT_TRUE(fresh_run_state());
            ReportUnit warnings;
            EXPECT_EQ(solve(c.p), c.own) << c.what;
            set_eqmd_general_method(true);
        }
        ASSERT_TRUE(fresh_run_state());
        ASSERT_EQ(solve({1, 4, 0, 0, 1.0, 2000, ATM}), 0);
        ASSERT_EQ(eqmd_memory().JF, 1);
        ReportUnit report;
        EXPECT_EQ(solve(c.p), 0) << c.what;
        EXPECT_TRUE(eqmd_last_call().general) << c.what;
        EXPECT_EQ(eqmd_memory().JF, 0) << c.what;
        // Nothing but the low-temperature warning GE01.
        EXPECT_EQ(count(report.text(), "ERROR IN SUBROUTINE"), c.p.T < 600 ? 1 : 0) << c.what << report.text();
        // The next call of EQMD's own scheme starts cold, as after a failure.
        EXPECT_EQ(solve({1, 4, 0, 0, 1.0, 2000, ATM}), 0);
        EXPECT_FALSE(eqmd_last_call().warm) << c.what;
    }

    // Carbon (no hydrogen) with more carbon than oxygen atoms: GE05, as for any fuel.
    ASSERT_TRUE(fresh_run_state());
    ReportUnit report;
    EXPECT_EQ(solve({1, 0, 0, 0, 2.5, 2000, ATM}), 3);
    EXPECT_NE(report.text().find(message_line("GE05", "EQMD")), std::string::npos) << report.text();
}

}  // namespace
