// PER: the mixture properties and their derivatives against finite differences of
// the properties themselves (composition in equilibrium), its temperature limits,
// and PROP left alone when the equilibrium fails.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

#include "eqmd_support.h"
#include "lookup.h"
#include "routines.h"
#include "state.h"

using namespace core;
using namespace eqmd_testing;

namespace {

// Derivatives against central differences of the properties, compared as v dQ/dv
// (change of Q per unit change of ln v): a relative tolerance, and an absolute floor,
// a fraction of R (for R) or of R T (for H and U), below which a difference is
// rounding in near-cancelling sums.
constexpr double TOL_DERIV = 1e-6;
constexpr double FLOOR_DERIV = 1e-9;
constexpr double STEP_T = 0.1, STEP_LNP = 1e-4, STEP_F = 1e-5;

class Per : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fresh_run_state()) << "GPROP.DAT could not be loaded"; }

    // PROP at a state, from a cold start.
    static PROP_t props(const Problem& p) {
        fresh_run_state();
        pose(p);
        PER();
        EXPECT_EQ(GGCNTL.IERQ, 0);
        return PROP;
    }
};

std::array<double, 13> fields(const PROP_t& p) {
    return {p.AVM, p.R, p.H, p.U, p.DRT, p.DHT, p.DUT, p.DRP, p.DHP, p.DUP, p.DRF, p.DHF, p.DUF};
}

// The species enthalpies are linear in T between table points, so a difference of H
// gives the slope of the enthalpy table where DHT takes the tabulated cp. This is
// what the two differ by, per kg of mixture, at the composition in BLOC.
double enthalpy_slope_excess(double T, double AVM) {
    const int it = int(T / 100);
    double excess = 0;
    for (int i = 1; i <= NSPEC; ++i) {
        const double slope = (DDATA.HT(it + 1, i) - DDATA.HT(it, i)) / 100;
        excess += BLOC.X(i) * (slope - property_at(DDATA.CT, i, T));
    }
    return excess / AVM;
}

// One variable v moved by h either side; the derivatives of R, H, U against the
// differences of PROP there.
void expect_derivatives(const char* var, double v, double h, const PROP_t& lo, const PROP_t& hi,
                        std::array<double, 3> analytic, const PROP_t& at, double T) {
    const double fd[3] = {(hi.R - lo.R) / (2 * h), (hi.H - lo.H) / (2 * h), (hi.U - lo.U) / (2 * h)};
    const double scale[3] = {at.R, at.R * T, at.R * T};
    const char* name[3] = {"R", "H", "U"};
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(analytic[k] * v, fd[k] * v,
                    TOL_DERIV * std::abs(fd[k] * v) + FLOOR_DERIV * scale[k])
            << "d" << name[k] << "/d" << var;
}

TEST_F(Per, DerivativesMatchCentralDifferencesOfTheProperties) {
    const Problem states[] = {
        {1, 4, 0, 0, 0.8, 2250, ATM},
        {2, 6, 1, 0, 1.5, 2950, 0.5 * ATM},
        {7, 16, 0, 0, 0.6, 1850, 40 * ATM},
        {1, 3, 2, 1, 2.0, 1450, 20 * ATM},
    };
    for (const Problem& p : states) {
        SCOPED_TRACE(describe(p));
        const PROP_t at = props(p);
        const double excess = enthalpy_slope_excess(p.T, at.AVM);
        Problem lo = p, hi = p;  // steps inside one 100 K interval of the tables
        lo.T -= STEP_T, hi.T += STEP_T;
        expect_derivatives("T", p.T, STEP_T, props(lo), props(hi),
                           {at.DRT, at.DHT + excess, at.DUT + excess}, at, p.T);

        const double hP = STEP_LNP * p.P;
        lo = hi = p;
        lo.P -= hP, hi.P += hP;
        expect_derivatives("P", p.P, hP, props(lo), props(hi), {at.DRP, at.DHP, at.DUP}, at, p.T);

        lo = hi = p;
        lo.F -= STEP_F, hi.F += STEP_F;
        expect_derivatives("F", p.F, STEP_F, props(lo), props(hi), {at.DRF, at.DHF, at.DUF}, at, p.T);
    }
}

TEST_F(Per, InternalEnergyDerivativesFollowFromEnthalpyAndGasConstant) {
    const double T = 2250;
    const PROP_t at = props({1, 4, 0, 0, 0.8, T, ATM});
    EXPECT_NEAR(at.DUT, at.DHT - at.R - T * at.DRT, 1e-12 * at.DHT);
    EXPECT_NEAR(at.DUP, at.DHP - T * at.DRP, 1e-12 * std::abs(at.DHP));
    EXPECT_NEAR(at.DUF, at.DHF - T * at.DRF, 1e-12 * std::abs(at.DHF));
}

TEST_F(Per, PropertiesAreTheMixtureSumsOfTheTables) {
    const Problem p{1, 4, 0, 0, 0.9, 2000, ATM};  // a grid temperature: table points exactly
    const PROP_t at = props(p);
    const Vec1<13>& X = BLOC.X;
    double M = 0, H = 0, CPF = 0;
    for (int i = 1; i <= 12; ++i) {
        M += X(i) * DDATA.SM(i);
        H += X(i) * DDATA.HT(20, i);
        CPF += X(i) * DDATA.CT(20, i);
    }
    EXPECT_NEAR(at.AVM, M, 1e-13 * M);
    EXPECT_NEAR(at.H, H / M, 1e-12 * std::abs(H / M));
    EXPECT_NEAR(at.R, DDCON.RJOUL / M, 1e-13 * at.R);
    EXPECT_NEAR(at.U, at.H - at.R * p.T, 1e-12 * std::abs(at.U) + 1e-6);
    // The equilibrium cp exceeds the frozen one by the heat of the shifting composition.
    EXPECT_GT(at.DHT, CPF / M);
    EXPECT_GT(at.DHT / at.DUT, 1.0);
}

TEST_F(Per, AnEquilibriumFailureLeavesPropUntouched) {
    ReportUnit report;
    pose({1, 4, 0, 0, 0.9, 2000, ATM});
    PER();
    ASSERT_EQ(GGCNTL.IERQ, 0);
    const PROP_t good = PROP;

    pose({1, 4, 0, 0, 4.0, 2200, ATM});  // as much carbon as oxygen
    PER();
    EXPECT_EQ(GGCNTL.IERQ, 3);
    EXPECT_EQ(fields(PROP), fields(good));
    const std::string text = report.text();
    const size_t ge05 = text.find(message_line("GE05", "EQMD"));
    const size_t gp03 = text.find(message_line("GP03", "PER "));
    ASSERT_NE(ge05, std::string::npos) << text;
    ASSERT_NE(gp03, std::string::npos) << text;
    EXPECT_LT(ge05, gp03);
    EXPECT_NE(text.find("** 2 WARNINGS ISSUED - EXECUTION CONTINUES **"), std::string::npos) << text;
}

TEST_F(Per, LowTemperatureGivesAWarningAndResults) {
    ReportUnit report;
    pose({1, 4, 0, 0, 0.9, 500, ATM});
    PER();
    EXPECT_EQ(GGCNTL.IERQ, 0);
    EXPECT_GT(PROP.AVM, 0);
    EXPECT_EQ(count(report.text(), message_line("GE01", "EQMD")), 1);
}

TEST(PerRun, FirstFailureLeavesPropZero) {
    const RunOutcome o = run_per({1, 4, 0, 0, 4.0, 2000, ATM});
    EXPECT_EQ(o.run.status, 0);
    EXPECT_EQ(o.run.out, "Stop - Program terminated.\r\n");
    EXPECT_EQ(fields(o.prop), fields(PROP_t{}));
    EXPECT_EQ(count(o.report, "WARNINGS ISSUED - EXECUTION CONTINUES"), 2) << o.report;
}

// Temperatures outside 100 K < T <= 4000 K end the run before EQMD is reached.
TEST(PerRun, TemperatureLimits) {
    for (double T : {100.0, 50.0}) {
        const RunOutcome o = run_per({1, 4, 0, 0, 0.9, T, ATM});
        EXPECT_EQ(o.run.status, 0);
        EXPECT_EQ(o.run.out, "Stop - Program terminated.\r\n");
        EXPECT_EQ(count(o.report, message_line("GP01", "PER ")), 1) << o.report;
        EXPECT_EQ(count(o.report, "EQMD"), 0) << "EQMD must not run";
        EXPECT_NE(o.report.find("** TERMINAL ERROR - EXECUTION ENDING **"), std::string::npos);
        EXPECT_EQ(o.prop.AVM, 0);
    }
    for (double T : {4000.1, 5000.0}) {
        const RunOutcome o = run_per({1, 4, 0, 0, 0.9, T, ATM});
        EXPECT_EQ(o.run.status, 0);
        EXPECT_EQ(count(o.report, message_line("GP02", "PER ")), 1) << o.report;
        EXPECT_EQ(count(o.report, "EQMD"), 0);
        EXPECT_EQ(o.prop.AVM, 0);
    }
    for (double T : {100.5, 4000.0}) {
        const RunOutcome o = run_per({1, 4, 0, 0, 0.9, T, 100 * ATM});
        EXPECT_EQ(o.run.status, 0);
        EXPECT_EQ(count(o.report, "TERMINAL ERROR"), 0) << o.report;
        EXPECT_GT(o.prop.AVM, 0);
    }
}

}  // namespace
