// The two table lookups: linear in T for enthalpy and heat capacity, linear in 1/T for
// log10 K, at and between grid points and at the ends of the grid.
#include <gtest/gtest.h>

#include <cmath>

#include "lookup.h"
#include "state.h"

using namespace core;

namespace {

constexpr double ZZ = 2.302585093;

class Lookup : public ::testing::Test {
protected:
    void SetUp() override {
        reset_run_state();
        for (int J = 1; J <= NTEMP; ++J) {
            DDATA.HT(J, 3) = 1000.0 * J * J;  // curved, so a wrong row shows
            DDATA.CKP(J, 4) = 50.0 - J;
        }
        DDATA.HT(15, 3) = 10.0;
        DDATA.HT(16, 3) = 14.0;
        DDATA.CKP(15, 4) = 2.0;
        DDATA.CKP(16, 4) = 1.0;
        DDATA.CKP(49, 4) = 3.0;
        DDATA.CKP(50, 4) = 7.0;
    }
    void TearDown() override { reset_run_state(); }
};

TEST_F(Lookup, PropertyAtAndBetweenGridPoints) {
    EXPECT_EQ(property_at(DDATA.HT, 3, 1500.0), 10.0);
    EXPECT_EQ(property_at(DDATA.HT, 3, 1525.0), 11.0);
    EXPECT_EQ(property_at(DDATA.HT, 3, 1550.0), 12.0);
    EXPECT_EQ(property_at(DDATA.HT, 3, 4000.0), 1.6e6);    // the point of row 40
    EXPECT_EQ(property_at(DDATA.HT, 3, 150.0), 2500.0);    // rows 1 and 2: 1000 and 4000
    EXPECT_EQ(property_at(DDATA.HT, 3, 4950.0), 2.4505e6);  // rows 49 and 50
    EXPECT_EQ(property_at(DDATA.HT, 4, 2000.0), 0.0);      // another column
}

TEST_F(Lookup, PropertyAtTheLastPointStaysInsideTheTable) {
    // 5000 K has no row 51: the last interval is used, which ends at row 50.
    EXPECT_NEAR(property_at(DDATA.HT, 3, 5000.0), 2.5e6, 1e-9);
}

TEST_F(Lookup, Log10KAtGridPointsAndBetween) {
    LogKLookup at = log10K_at(4, 1500.0, 15);
    EXPECT_NEAR(at.log10K, 2.0, 1e-13);
    // Linear in 1/T: at 1550 K the weight of row 16 is (1/1500-1/1550)/(1/1500-1/1600) = 16/31.
    LogKLookup mid = log10K_at(4, 1550.0, 15);
    EXPECT_NEAR(mid.log10K, 2.0 - 16.0 / 31.0, 1e-13);
    // d(ln K)/dT = ln 10 * (C16 - C15) * 1500*1600/100 / T^2, with ln 10 as 2.302585093.
    EXPECT_NEAR(mid.slope, -ZZ * 24000.0 / (1550.0 * 1550.0), 1e-16);
    EXPECT_NEAR(at.slope, -ZZ * 24000.0 / (1500.0 * 1500.0), 1e-16);
    // At the upper row the value is that row's, from the interval below it.
    EXPECT_NEAR(log10K_at(4, 1600.0, 15).log10K, 1.0, 1e-13);
}

TEST_F(Lookup, Log10KUsesTheRowItIsGiven) {
    // The UV program may get row 14 for a temperature a hair below 1500 K: the interval
    // 14-15 then gives C(15) and that interval's slope.
    LogKLookup r = log10K_at(4, 1500.0, 14);
    EXPECT_NEAR(r.log10K, 2.0, 1e-13);
    EXPECT_NEAR(r.slope, -(36.0 - 2.0) * 14 * 15 * 100 * ZZ / (1500.0 * 1500.0), 1e-15);
}

TEST_F(Lookup, Log10KSlopeMatchesTheValuesWithinAnInterval) {
    for (double T : {1510.0, 1537.5, 1590.0}) {
        double h = 0.01;
        double dlog = (log10K_at(4, T + h, 15).log10K - log10K_at(4, T - h, 15).log10K) / (2 * h);
        EXPECT_NEAR(log10K_at(4, T, 15).slope, dlog * ZZ, 1e-8) << T;
    }
}

TEST_F(Lookup, Log10KAt5000KIsRow50WithTheLastIntervalsSlope) {
    LogKLookup r = log10K_at(4, 5000.0, 50);
    EXPECT_EQ(r.log10K, 7.0);
    // Rows 49 and 50: -(3 - 7) * 49 * 50 * 100 * ZZ / 5000^2.
    EXPECT_NEAR(r.slope, 4.0 * 245000.0 * ZZ / 25e6, 1e-15);
    // The same slope as the interval 49-50 gives just below 5000 K.
    EXPECT_NEAR(log10K_at(4, 4999.0, 49).slope * 4999.0 * 4999.0, r.slope * 5000.0 * 5000.0, 1e-9);
}

}  // namespace
