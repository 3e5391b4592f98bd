// Entropy: the species' standard entropies against the independent reference values (at
// 1 atm and, converted, at 1 bar), their consistency with the tabulated Cp (dS/dT = Cp/T,
// continuous across the 100 K points), and the mixture's derivatives at fixed and at
// shifting composition against differences of the entropy itself.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "entropy.h"
#include "eqmd_support.h"
#include "json.h"
#include "lookup.h"
#include "routines.h"
#include "scratch.h"
#include "state.h"

using namespace core;
using namespace eqmd_testing;
using testing_support::Json;
using testing_support::JsonReader;

namespace {

const char* const NAMES[NSPEC] = {"H", "O", "N", "H2", "OH", "CO", "NO", "O2", "H2O", "CO2", "N2", "Ar"};

// The tables' linear Cp is integrated exactly: only rounding separates dS/dT from Cp/T.
constexpr double TOL_CP_OVER_T = 1e-7;
// The reference's species entropies come from the coefficients themselves; ours from
// S(298.15) and the 100 K lines of Cp. Their difference grows with the curvature of Cp
// between points, most at low temperature: J/(mol K).
constexpr double TOL_SPECIES_S = 0.1;
// Shifting derivatives against central differences of S with PER at each side.
constexpr double TOL_SHIFTING = 2e-4;

class Entropy : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fresh_run_state()) << "GPROP.DAT could not be loaded"; }

    static SPROP_t solved(const Problem& p) {
        pose(p);
        PER();
        EXPECT_EQ(GGCNTL.IERQ, 0) << describe(p);
        PERS();
        return SPROP;
    }
};

TEST_F(Entropy, SpeciesEntropiesMatchTheReferenceAtBothStandardPressures) {
    const std::string path = std::string(SUITE_SHARED_DIR) + "/reference/cea_sample.json";
    const std::string bytes = testing_support::read_file(path);
    if (bytes.empty()) GTEST_SKIP() << "no reference results at " << path;
    Json doc;
    ASSERT_TRUE(JsonReader(bytes).parse(doc));
    const double to_bar = DDCON.RJOUL * std::log(DDCON.PSATM / P_BAR) / 1000;  // J/(mol K)
    double worst = 0;
    for (const Json& c : doc["entropy"].items) {
        const double T = c["T_K"].number;
        for (int i = 1; i <= 11; ++i) {
            const double atm = c["species_standard_entropy_J_per_molK_1atm"][NAMES[i - 1]].number;
            const double bar = c["species_standard_entropy_J_per_molK_1bar"][NAMES[i - 1]].number;
            const double ours = standard_entropy(i, T) / 1000;
            EXPECT_NEAR(ours, atm, TOL_SPECIES_S) << c["case_id"].text << " " << NAMES[i - 1];
            EXPECT_NEAR(ours + to_bar, bar, TOL_SPECIES_S) << c["case_id"].text << " " << NAMES[i - 1];
            worst = std::fmax(worst, std::abs(ours - atm));
        }
    }
    RecordProperty("worst_species_entropy_J_per_molK", std::to_string(worst));
}

TEST_F(Entropy, HeldAt298IsTheHeadersValueMovedToOneAtmosphere) {
    // N2 and H: 1 bar values of the coefficients (cal/(mol K), as GPROP.DAT writes them).
    for (int i : {1, 11}) {
        EXPECT_NEAR(standard_entropy(i, T_ENTR), DDENT.ENTR(i), 1e-9 * DDENT.ENTR(i));
        const double bar = DDENT.ENTR(i) + DDCON.RJOUL * std::log(DDCON.PSATM / P_BAR);
        EXPECT_NEAR(bar / 4184.0, i == 1 ? 27.418227 : 45.796, 2e-3) << NAMES[i - 1];
    }
}

TEST_F(Entropy, DerivativeIsCpOverTEverywhereAndContinuousAcrossThePoints) {
    for (int i = 1; i <= NSPEC; ++i) {
        for (double T : {150.0, 298.15, 650.0, 1234.5, 2999.0, 3950.0}) {
            const double h = 1e-3 * T;
            const double fd = (standard_entropy(i, T + h) - standard_entropy(i, T - h)) / (2 * h);
            const double cp_T = property_at(DDATA.CT, i, T) / T;
            EXPECT_NEAR(fd, cp_T, 1e-5 * cp_T) << NAMES[i - 1] << " at " << T;
        }
        for (int J = 2; J <= 40; ++J) {  // each point: the same value from either interval
            const double T = 100.0 * J;
            const double below = standard_entropy(i, std::nextafter(T, 0.0));
            EXPECT_NEAR(below, DDENT.ST(J, i), TOL_CP_OVER_T * DDENT.ST(J, i)) << NAMES[i - 1] << " " << T;
            EXPECT_NEAR(standard_entropy(i, T), DDENT.ST(J, i), TOL_CP_OVER_T * DDENT.ST(J, i));
        }
    }
}

TEST_F(Entropy, FrozenDerivativesAndExponentOfAFixedComposition) {
    solved({1, 4, 0, 0, 0.9, 1750, ATM});
    const Vec1<13> X = BLOC.X;
    const double T = 1750, P = 3 * ATM, h = 0.01;
    const SPROP_t f = frozen_entropy_properties(X, T, P);
    EXPECT_NEAR(f.DST, f.CPF / T, 1e-14 * f.DST);
    const double fdT = (mixture_entropy(X, T + h, P) - mixture_entropy(X, T - h, P)) / (2 * h);
    EXPECT_NEAR(fdT, f.DST, 1e-7 * f.DST);
    const double fdP = (mixture_entropy(X, T, P * (1 + 1e-5)) - mixture_entropy(X, T, P * (1 - 1e-5))) / (2e-5 * P);
    EXPECT_NEAR(fdP, f.DSP, 1e-7 * std::abs(f.DSP));
    const double R = DDCON.RJOUL / PROP.AVM;
    EXPECT_NEAR(f.GAMF, f.CPF / (f.CPF - R), 1e-12);
    EXPECT_NEAR(f.GAMS, f.GAMF, 1e-5);  // the same formula, at fixed R
}

TEST_F(Entropy, ShiftingDerivativesMatchDifferencesAtEquilibrium) {
    const Problem states[] = {
        {1, 4, 0, 0, 0.95, 2450, ATM},  // F off 1: EQMD holds F near 1 still
        {3, 8, 0, 0, 0.7, 2850, 0.3 * ATM},
        {2, 6, 1, 0, 1.4, 3350, 15 * ATM},
    };
    for (const Problem& p : states) {
        SCOPED_TRACE(describe(p));
        ASSERT_TRUE(fresh_run_state());
        const SPROP_t at = solved(p);
        const PROP_t prop = PROP;
        auto S = [&](Problem q) { fresh_run_state(); return solved(q).S; };
        Problem lo = p, hi = p;
        lo.T -= 0.1, hi.T += 0.1;
        EXPECT_NEAR((S(hi) - S(lo)) / 0.2, at.DST, TOL_SHIFTING * at.DST);
        lo = hi = p;
        lo.P *= 1 - 1e-4, hi.P *= 1 + 1e-4;
        EXPECT_NEAR((S(hi) - S(lo)) / (2e-4 * p.P), at.DSP, TOL_SHIFTING * std::abs(at.DSP));
        lo = hi = p;
        lo.F -= 1e-5, hi.F += 1e-5;
        EXPECT_NEAR((S(hi) - S(lo)) / 2e-5, at.DSF, TOL_SHIFTING * std::abs(at.DSF) + 1e-3);
        // T ds = dh at fixed P holds as closely as the tables' H, S and K agree.
        EXPECT_NEAR(p.T * at.DST, prop.DHT, 0.01 * prop.DHT);
        // Shifting composition softens the gas: the exponent falls below the frozen one.
        EXPECT_LT(at.GAMS, at.GAMF);
        EXPECT_LT(at.AE, at.AF);
    }
}

}  // namespace
