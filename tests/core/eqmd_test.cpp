// EQMD: the converged composition meets its balances and equilibrium relations, the
// sensitivities match finite differences of the composition, and the solver's
// branches (PHI substitution, carbon check, warm and cold starts, range checks and
// failure codes) behave as the solver promises.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "eqmd.h"
#include "eqmd_support.h"
#include "lookup.h"
#include "routines.h"
#include "state.h"

using namespace core;
using namespace eqmd_testing;

namespace {

// Tolerances, relative unless said otherwise.
constexpr double TOL_CLOSURE = 1e-9;     // sum of the mole fractions against 1
constexpr double TOL_RATIO = 1e-9;       // atom ratios against the fuel's
constexpr double TOL_RELATION = 1e-13;   // the seven equilibrium relations
constexpr double TOL_DERIV = 1e-6;       // a derivative against its central difference
// Derivatives are compared as v dX/dv (mole fraction per unit change of ln v); below
// these absolute floors a difference is rounding in near-cancelling terms.
constexpr double FLOOR_DERIV = 1e-9;     // against central differences
constexpr double FLOOR_ZERO_SUM = 1e-14; // sum of a derivative array
constexpr double STEP_T = 0.1, STEP_LNP = 1e-4, STEP_F = 1e-5;  // central-difference steps

// States with T away from the 100 K grid, so that a central difference of a few
// kelvin stays inside one table interval.
const std::vector<Problem>& states() {
    static const std::vector<Problem> s = {
        {1, 4, 0, 0, 0.8, 2250, ATM},              // methane, lean
        {1, 4, 0, 0, 1.25, 2650, 10 * ATM},        // methane, rich
        {7, 16, 0, 0, 0.6, 1850, 40 * ATM},        // heptane, lean, high pressure
        {2, 6, 1, 0, 1.5, 2950, 0.5 * ATM},        // ethanol, rich, hot, low pressure
        {1, 3, 2, 1, 2.0, 1450, 20 * ATM},         // nitromethane, rich
        {12, 23, 0, 0, 2.0, 1150, 100 * ATM},      // kerosene, very rich, cool
        {1, 4, 0, 0, 1.0, 3350, ATM},              // methane at PHI = 0.9995, strongly dissociated
        {1, 4, 0, 0, 1.0, 3650, 0.1 * ATM},        // hot and thin: solved by continuation
        {8, 18, 0, 0, 1.6, 3950, 0.01 * ATM},      // the same, rich
    };
    return s;
}

// The converged composition of a cold start.
Vec1<13> composition(const Problem& p) {
    fresh_run_state();
    EXPECT_EQ(solve(p), 0) << describe(p);
    return BLOC.X;
}

class Converged : public testing::TestWithParam<Problem> {
protected:
    void SetUp() override {
        ASSERT_TRUE(fresh_run_state()) << "GPROP.DAT could not be loaded";
        ASSERT_EQ(solve(GetParam()), 0) << describe(GetParam());
    }
};

TEST_P(Converged, FractionsSumToOneAndMeetTheFuelsAtomRatios) {
    const Problem& p = GetParam();
    const Vec1<13>& X = BLOC.X;
    double sum = 0;
    for (int i = 1; i <= 12; ++i) {
        EXPECT_GE(X(i), 0) << "species " << i;
        sum += X(i);
    }
    EXPECT_NEAR(sum, 1, TOL_CLOSURE);

    const double phi = std::abs(p.F - 1) <= double(5E-4f) ? double(0.9995f) : p.F;
    const double o2 = (p.AN + p.AM / 4 - p.AL / 2) / phi;  // O2 supplied per fuel molecule
    const double C = X(6) + X(10);
    const double H = X(1) + 2 * X(4) + X(5) + 2 * X(9);
    const double O = X(2) + X(5) + X(6) + X(7) + 2 * X(8) + X(9) + 2 * X(10);
    const double N = X(3) + X(7) + 2 * X(11);
    EXPECT_NEAR(H / C / (p.AM / p.AN), 1, TOL_RATIO);
    EXPECT_NEAR(O / C / ((p.AL + 2 * o2) / p.AN), 1, TOL_RATIO);
    EXPECT_NEAR(N / C / ((p.AK + 2 * 3.76 * o2) / p.AN), 1, TOL_RATIO);
    EXPECT_NEAR(X(13) * p.AN / C, 1, 1e-15);  // fuel per mole of products, from carbon
    EXPECT_EQ(X(12), 0);                      // no argon in air as the tables set it
}

TEST_P(Converged, SevenEquilibriumRelationsHoldExactly) {
    const Problem& p = GetParam();
    const Vec1<13>& X = BLOC.X;
    const double atm = p.P / DDCON.PSATM;
    auto K = [&](int k) { return std::pow(10.0, log10K_at(k, p.T, int(p.T / 100)).log10K); };
    // Each as Kp written with partial pressures x*p.
    const double kp[7] = {
        X(1) * std::sqrt(atm) / std::sqrt(X(4)),
        X(2) * std::sqrt(atm) / std::sqrt(X(8)),
        X(3) * std::sqrt(atm) / std::sqrt(X(11)),
        X(5) / (std::sqrt(X(4)) * std::sqrt(X(8))),
        X(7) / (std::sqrt(X(8)) * std::sqrt(X(11))),
        X(9) / (X(4) * std::sqrt(X(8)) * std::sqrt(atm)),
        X(10) / (X(6) * std::sqrt(X(8)) * std::sqrt(atm)),
    };
    for (int k = 1; k <= 7; ++k) EXPECT_NEAR(kp[k - 1] / K(k), 1, TOL_RELATION) << "reaction " << k;
}

// The three derivative arrays with the scale of their variable (T, P, F).
struct Sensitivity {
    const char* name;
    const Vec1<NSPEC>& d;
    double scale;
};

TEST_P(Converged, DerivativeArraysSumToZeroWithoutArgon) {
    const Problem& p = GetParam();
    for (const Sensitivity& s : {Sensitivity{"DXT", TAB.DXT, p.T}, Sensitivity{"DXP", TAB.DXP, p.P},
                                 Sensitivity{"DXF", TAB.DXF, p.F}}) {
        double sum = 0, big = 0;
        for (int i = 1; i <= NSPEC; ++i) {
            sum += s.d(i);
            big = std::max(big, std::abs(s.d(i)));
        }
        EXPECT_GT(big, 0) << s.name;
        EXPECT_LE(std::abs(sum) * s.scale, FLOOR_ZERO_SUM) << s.name;
        EXPECT_EQ(s.d(12), 0) << s.name;
    }
}

// dX/dv against (X(v + h) - X(v - h)) / 2h of cold-started solutions.
void expect_matches_difference(const Sensitivity& s, Problem lo, Problem hi, double h2) {
    const Vec1<13> xl = composition(lo), xh = composition(hi);
    for (int i = 1; i <= NSPEC; ++i) {
        const double fd = (xh(i) - xl(i)) / h2;
        EXPECT_NEAR(s.d(i), fd, TOL_DERIV * std::abs(fd) + FLOOR_DERIV / s.scale)
            << s.name << " of species " << i;
    }
}

TEST_P(Converged, SensitivitiesMatchCentralDifferences) {
    const Problem p = GetParam();
    const TAB_t d = TAB;
    Problem lo = p, hi = p;
    lo.T -= STEP_T, hi.T += STEP_T;
    expect_matches_difference({"DXT", d.DXT, p.T}, lo, hi, 2 * STEP_T);
    const double hP = STEP_LNP * p.P;
    lo = hi = p;
    lo.P -= hP, hi.P += hP;
    expect_matches_difference({"DXP", d.DXP, p.P}, lo, hi, 2 * hP);
    if (std::abs(p.F - 1) > 1e-3) {  // inside the band around 1 PHI does not move with F
        lo = hi = p;
        lo.F -= STEP_F, hi.F += STEP_F;
        expect_matches_difference({"DXF", d.DXF, p.F}, lo, hi, 2 * STEP_F);
    }
}

INSTANTIATE_TEST_SUITE_P(States, Converged, testing::ValuesIn(states()));

class Eqmd : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fresh_run_state()) << "GPROP.DAT could not be loaded"; }
};

TEST_F(Eqmd, EquivalenceRatiosNearOneAreSolvedAtPhi09995) {
    Problem p{1, 4, 0, 0, 1.0, 2450, ATM};
    const Vec1<13> at_one = composition(p);
    for (double F : {1 - 4e-4, 1 + 4e-4, 1 + 5e-4}) {
        p.F = F;
        const Vec1<13> x = composition(p);
        for (int i = 1; i <= 13; ++i) EXPECT_EQ(x(i), at_one(i)) << "F=" << F << " species " << i;
    }
    p.F = 0.9995;  // PHI itself, written as a double: the same single-precision value
    EXPECT_EQ(composition(p)(8), at_one(8));
    p.F = 1 + 6e-4;
    EXPECT_NE(composition(p)(8), at_one(8));
}

TEST_F(Eqmd, CarbonCheckRejectsAsManyCarbonAsOxygenAtoms) {
    ReportUnit report;
    Problem p{1, 4, 0, 0, 4.0, 2000, ATM};  // O2 = 2/4: one O per C
    BLOC.X(13) = 0.125;
    EXPECT_EQ(solve(p), 3);
    EXPECT_EQ(BLOC.X(13), 0.125);  // nothing computed
    EXPECT_EQ(count(report.text(), message_line("GE05", "EQMD")), 1);

    p.F = 3.99;
    EXPECT_NE(solve(p), 3);
    EXPECT_EQ(count(report.text(), message_line("GE05", "EQMD")), 1);
}

TEST_F(Eqmd, WarmStartWithinTheClosenessTest) {
    const Problem base{1, 4, 0, 0, 0.9, 2150, 5 * ATM};
    ASSERT_EQ(solve(base), 0);
    EXPECT_FALSE(eqmd_last_call().warm);
    const int cold_steps = eqmd_last_call().newton_steps;
    EXPECT_EQ(eqmd_memory().JF, 1);
    EXPECT_EQ(eqmd_memory().TPR, 2150);

    // The same state again starts from its own solution and converges at once.
    ASSERT_EQ(solve(base), 0);
    EXPECT_TRUE(eqmd_last_call().warm);
    EXPECT_LT(eqmd_last_call().newton_steps, cold_steps);

    Problem p = base;
    p.T = base.T * 1.019;  // the memory now holds base; each call compares with the last success
    ASSERT_EQ(solve(p), 0);
    EXPECT_TRUE(eqmd_last_call().warm);
    p.T = base.T * 1.019 * 1.021;
    ASSERT_EQ(solve(p), 0);
    EXPECT_FALSE(eqmd_last_call().warm) << "more than 2 % in T";
    EXPECT_EQ(eqmd_memory().JF, 1);  // cold, but still remembering

    p.P *= 1.049;
    ASSERT_EQ(solve(p), 0);
    EXPECT_TRUE(eqmd_last_call().warm);
    p.P *= 1.051;
    ASSERT_EQ(solve(p), 0);
    EXPECT_FALSE(eqmd_last_call().warm) << "more than 5 % in P";

    p.F += 2e-6;
    ASSERT_EQ(solve(p), 0);
    EXPECT_FALSE(eqmd_last_call().warm) << "PHI moved by more than 1E-6";
}

TEST_F(Eqmd, WarmStartKeepsTheSameSolution) {
    const Problem p{2, 6, 1, 0, 1.3, 2350, 2 * ATM};
    const Vec1<13> cold = composition(p);
    ASSERT_EQ(solve(p), 0);
    ASSERT_TRUE(eqmd_last_call().warm);
    for (int i = 1; i <= 13; ++i) EXPECT_NEAR(BLOC.X(i), cold(i), 1e-6 * cold(i) + 1e-15);
}

TEST_F(Eqmd, PhiBandSharedByWarmStart) {
    Problem p{1, 4, 0, 0, 1 - 4e-4, 2450, ATM};
    ASSERT_EQ(solve(p), 0);
    p.F = 1.0;
    ASSERT_EQ(solve(p), 0);
    EXPECT_TRUE(eqmd_last_call().warm);
    EXPECT_EQ(eqmd_memory().PHIPR, double(0.9995f));
}

TEST_F(Eqmd, AFailureMakesTheNextCallStartCold) {
    ReportUnit report;
    const Problem p{1, 4, 0, 0, 0.9, 2150, ATM};
    ASSERT_EQ(solve(p), 0);
    ASSERT_EQ(solve({1, 4, 0, 0, 4.0, 2150, ATM}), 3);
    EXPECT_EQ(eqmd_memory().JF, 0);
    ASSERT_EQ(solve(p), 0);
    EXPECT_FALSE(eqmd_last_call().warm);
    EXPECT_EQ(eqmd_memory().JF, 1);
}

TEST_F(Eqmd, StatusOnEntryTakesTheFailureExit) {
    ReportUnit report;
    const Problem p{1, 4, 0, 0, 0.9, 2150, ATM};
    ASSERT_EQ(solve(p), 0);
    const TAB_t before = TAB;

    pose({1, 4, 0, 0, 0.9, 2250, ATM});
    GGCNTL.IERQ = 7;
    EQMD();
    EXPECT_EQ(GGCNTL.IERQ, 7);
    EXPECT_EQ(eqmd_memory().JF, 0);
    EXPECT_EQ(TAB.DXT(4), before.DXT(4));  // derivative arrays not written
    EXPECT_EQ(count(report.text(), message_line("GE09", "EQMD")), 1);

    pose(p);
    GGCNTL.IERQ = 42;  // not a failure code of its own: no message
    EQMD();
    EXPECT_EQ(GGCNTL.IERQ, 42);
    EXPECT_EQ(count(report.text(), "** - ERROR IN SUBROUTINE"), 1);
}

TEST_F(Eqmd, LowTemperatureWarningAndResult) {
    ReportUnit report;
    EXPECT_EQ(solve({1, 4, 0, 0, 0.9, 599.9, ATM}), 0);
    EXPECT_EQ(count(report.text(), message_line("GE01", "EQMD")), 1);
    EXPECT_GT(BLOC.X(9), 0.1);  // water and CO2 at such temperatures
    EXPECT_EQ(solve({1, 4, 0, 0, 0.9, 600, ATM}), 0);
    EXPECT_EQ(count(report.text(), message_line("GE01", "EQMD")), 1);
}

TEST_F(Eqmd, AtTheTopOfTheTableRowFiftyIsUsed) {
    const Problem p{1, 4, 0, 0, 0.6, 5000, 100 * ATM};
    ASSERT_EQ(solve(p), 0);
    const double atm = p.P / DDCON.PSATM;
    const double k6 = std::pow(10.0, DDATA.CKP(50, 6));
    EXPECT_NEAR(BLOC.X(9) / (BLOC.X(4) * std::sqrt(BLOC.X(8)) * std::sqrt(atm)) / k6, 1, 1e-12);
    // The temperature derivatives use the slope of the last interval.
    Problem lo = p;
    lo.T = 4999;
    const Vec1<13> below = composition(lo);
    fresh_run_state();
    ASSERT_EQ(solve(p), 0);
    EXPECT_NEAR(TAB.DXT(9), (BLOC.X(9) - below(9)) / 1.0, 2e-3 * std::abs(TAB.DXT(9)));
}

// The constant-volume program takes its row as T times 0.01 in single precision,
// which falls just below the row at a row temperature: there its temperature
// derivatives are those of the interval below.
TEST_F(Eqmd, TableRowRuleOfTheConstantVolumeProgram) {
    EXPECT_EQ(eqmd_table_row(2000), 20);
    EXPECT_EQ(eqmd_table_row(100), 1);
    Problem p{1, 4, 0, 0, 0.9, 2000, ATM};
    ASSERT_EQ(solve(p), 0);
    const TAB_t above = TAB;
    const Vec1<13> x_above = BLOC.X;
    p.T = std::nextafter(2000.0, 0.0);
    const Vec1<13> x_below = composition(p);
    const TAB_t below = TAB;

    set_eqmd_table_row_rule(TableRowRule::Scale);
    EXPECT_EQ(eqmd_table_row(2000), 19);
    EXPECT_EQ(eqmd_table_row(100), 1);  // row 0 does not exist
    EXPECT_EQ(eqmd_table_row(2000.5), 20);
    p.T = 2000;
    fresh_run_state();
    const int code = solve(p);
    set_eqmd_table_row_rule(TableRowRule::Divide);
    ASSERT_EQ(code, 0);
    EXPECT_NEAR(TAB.DXT(8), below.DXT(8), 1e-9 * std::abs(below.DXT(8)));
    EXPECT_GT(std::abs(TAB.DXT(8) - above.DXT(8)), 1e-3 * std::abs(above.DXT(8)));
    EXPECT_NEAR(BLOC.X(9), x_above(9), 1e-9);  // the composition is continuous
    EXPECT_NEAR(BLOC.X(9), x_below(9), 1e-9);
}

// Runs that end inside EQMD, called directly or through PER: status 0, the stop line,
// the message block and the terminal tail, and no result.
void expect_terminal(const Problem& p, const std::string& id, RunOutcome (*run)(const Problem&)) {
    const RunOutcome o = run(p);
    EXPECT_EQ(o.run.status, 0) << id;
    EXPECT_EQ(o.run.out, "Stop - Program terminated.\r\n") << id;
    EXPECT_EQ(o.run.err, "") << id;
    EXPECT_NE(o.report.find(message_line(id, "EQMD") + "\r\n SEE DATA SET \"ERROR.TXT\" FOR "
                                                      "EXPLANATION OF " + id + "\r\n"),
              std::string::npos)
        << o.report;
    EXPECT_NE(o.report.find("** TERMINAL ERROR - EXECUTION ENDING **\r\n"), std::string::npos) << id;
    EXPECT_EQ(count(o.report, "** - ERROR IN SUBROUTINE"), id == "GE04" ? 2 : 1) << o.report;
    EXPECT_EQ(o.prop.AVM, 0) << id;
}

TEST(EqmdRun, TemperatureOutsideTheTablesEndsTheRun) {
    expect_terminal({1, 4, 0, 0, 0.9, 99.9, ATM}, "GE04", run_eqmd);
    EXPECT_NE(run_eqmd({1, 4, 0, 0, 0.9, 99.9, ATM}).report.find(message_line("GE01", "EQMD")),
              std::string::npos);
    expect_terminal({1, 4, 0, 0, 0.9, 5000.1, ATM}, "GE02", run_eqmd);
    expect_terminal({1, 4, 0, 0, 0.9, std::nan(""), ATM}, "GE02", run_eqmd);
    const RunOutcome top = run_eqmd({1, 4, 0, 0, 0.9, 5000, 100 * ATM});
    EXPECT_EQ(count(top.report, "** - ERROR IN SUBROUTINE"), 0) << top.report;
    const RunOutcome bottom = run_eqmd({1, 4, 0, 0, 0.9, 100, ATM});  // the warning only
    EXPECT_EQ(count(bottom.report, message_line("GE01", "EQMD")), 1) << bottom.report;
    EXPECT_EQ(count(bottom.report, "TERMINAL ERROR"), 0) << bottom.report;
}

TEST(EqmdRun, UnusablePressureEquivalenceRatioOrFuelEndsTheRun) {
    for (auto run : {run_per, run_eqmd}) {
        expect_terminal({1, 4, 0, 0, 0.9, 2000, 0}, "GE03", run);
        expect_terminal({1, 4, 0, 0, 0.9, 2000, -ATM}, "GE03", run);
        expect_terminal({1, 4, 0, 0, 0.0, 2000, ATM}, "GE11", run);
        expect_terminal({1, 4, 0, 0, -1.0, 2000, ATM}, "GE11", run);
        expect_terminal({0, 0, 0, 2, 0.9, 2000, ATM}, "GE12", run);  // nitrogen: nothing to burn
        expect_terminal({0, 0, 2, 0, 0.9, 2000, ATM}, "GE12", run);  // oxygen: needs no O2
        expect_terminal({0, 2, 2, 0, 0.9, 2000, ATM}, "GE12", run);  // H2O2: needs no O2 either
        expect_terminal({1, 4, -1, 0, 0.9, 2000, ATM}, "GE12", run);
        expect_terminal({1, 4, 0, -1, 0.9, 2000, ATM}, "GE12", run);
    }
    // The temperature checks come first, then pressure, equivalence ratio, fuel.
    expect_terminal({0, 0, 0, 0, 0.0, 5001, 0}, "GE02", run_eqmd);
    expect_terminal({0, 0, 0, 0, 0.0, 2000, 0}, "GE03", run_eqmd);
    expect_terminal({0, 0, 0, 0, 0.0, 2000, ATM}, "GE11", run_eqmd);
}

// Extreme inputs that the checks accept end in results made of numbers or in one of
// the solver's own failures; X and PROP never hold anything that is not a number,
// whatever the report writer goes on to print.
TEST_F(Eqmd, ExtremeInputsGiveNumbersOrAFailureCode) {
    const Problem extremes[] = {
        {1, 4, 0, 0, 0.9, 2000, 1e300},   {1, 4, 0, 0, 0.9, 2000, 1e-300},
        {1, 4, 0, 0, 0.9, 2000, 5e-324},  {1, 4, 0, 0, 0.9, 3900, 1e-30},
        {1, 4, 0, 0, 0.9, 600, 1e30},     {1e300, 4e300, 0, 0, 0.9, 2000, ATM},
        {1e-300, 4e-300, 0, 0, 0.9, 2000, ATM}, {1, 1e300, 0, 0, 0.9, 2000, ATM},
        {1, 4, 1e300, 0, 0.9, 2000, ATM}, {1, 4, 0, 1e300, 0.9, 2000, ATM},
        {1, 4, 0, 0, 1e-300, 2000, ATM},  {1, 4, 0, 0, 1e300, 2000, ATM},
        {1, 4, 0, 0, 5e-324, 2000, ATM},  {1, 4, 0, 0, 0.9, 2000, INFINITY},
    };
    for (const Problem& p : extremes) {
        fresh_run_state();
        ReportUnit report;
        pose(p);
        PER();
        const PROP_t& q = PROP;
        for (double v : {q.AVM, q.R, q.H, q.U, q.DRT, q.DHT, q.DUT, q.DRP, q.DHP, q.DUP, q.DRF,
                         q.DHF, q.DUF})
            EXPECT_TRUE(std::isfinite(v)) << describe(p);
        for (int i = 1; i <= 13; ++i) EXPECT_TRUE(std::isfinite(BLOC.X(i))) << describe(p);
        for (int i = 1; i <= 12; ++i)
            EXPECT_TRUE(std::isfinite(TAB.DXT(i)) && std::isfinite(TAB.DXP(i)) &&
                        std::isfinite(TAB.DXF(i)))
                << describe(p) << " species " << i;
        const int code = GGCNTL.IERQ;
        if (code != 0) {
            EXPECT_GE(code, 3) << describe(p);
            EXPECT_LE(code, 8) << describe(p);
            EXPECT_EQ(count(report.text(), "** - ERROR IN SUBROUTINE    EQMD"), 1) << describe(p);
        }
    }
}

}  // namespace
