// The shipped GPROP.DAT and its generator: the file's shape, the published figures it
// must reproduce, its thermodynamic consistency, and a byte-for-byte regeneration from
// the NASA Glenn coefficients when their file is at hand.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "../../tools/gpropgen/gprop_records.h"
#include "../../tools/gpropgen/gprop_tables.h"
#include "../../tools/gpropgen/nasa9.h"
#include "routines.h"
#include "scratch.h"
#include "state.h"

using namespace core;
using testing_support::ScratchDir;

namespace {

const std::string kDataFile = std::string(SUITE_DATA_DIR) + "/GPROP.DAT";
const std::string kSourceFile = std::string(SUITE_THERMO_DIR) + "/products.nasa9";

std::vector<std::string> records_of(const std::string& text) {
    std::vector<std::string> recs;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) {
            recs.push_back(text.substr(pos));  // a last record without its line end
            break;
        }
        recs.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return recs;
}

// Loads the shipped file through TABLES.
void load_shipped() {
    ScratchDir dir;
    dir.copy_data("GPROP.DAT", "GPROP.DAT");
    auto r = testing_support::run_inprocess_in(dir, [] { TABLES(); });
    ASSERT_EQ(r.status, 0) << r.err;
}

double field(const std::string& rec, size_t first, size_t width) { return std::stod(rec.substr(first - 1, width)); }

TEST(GpropFile, HoldsTwoHundredSevenRecordsOfFixedFields) {
    std::string text = testing_support::read_file(kDataFile);
    std::vector<std::string> recs = records_of(text);
    ASSERT_EQ(recs.size(), 207u);
    ASSERT_EQ(text.substr(text.size() - 2), "\r\n");
    for (const auto& r : recs) {
        EXPECT_EQ(r.find('\r'), std::string::npos);
        EXPECT_EQ(r.find('\n'), std::string::npos);
    }
    // Every number written with its point and at least one blank before it.
    auto check_fields = [](const std::string& rec, size_t first, size_t width, int count, int n) {
        for (int k = 0; k < count; ++k) {
            std::string f = rec.substr(first - 1 + k * width, width);
            EXPECT_EQ(f[0], ' ') << "record " << n << ": \"" << f << "\"";
            EXPECT_NE(f.find('.'), std::string::npos) << "record " << n << ": \"" << f << "\"";
        }
    };
    check_fields(recs[1], 11, 10, 1, 2);
    check_fields(recs[1], 31, 10, 1, 2);
    check_fields(recs[1], 51, 10, 1, 2);
    for (int I = 0; I < 12; ++I) {
        int h = 2 + I * 13;
        ASSERT_EQ(recs[h].size(), 60u) << "species header " << h + 1;
        check_fields(recs[h], 21, 10, 4, h + 1);
        for (int k = 1; k <= 12; ++k) {
            bool last = k == 6 || k == 12;
            ASSERT_EQ(recs[h + k].size(), last ? 40u : 72u) << "record " << h + k + 1;
            check_fields(recs[h + k], 1, 8, last ? 5 : 9, h + k + 1);
        }
    }
    for (int K = 0; K < 7; ++K) {
        int h = 158 + K * 7;
        EXPECT_EQ(recs[h][15] - '0', K + 1) << "reaction header " << h + 1;
        for (int k = 1; k <= 6; ++k) check_fields(recs[h + k], 1, 8, k == 6 ? 5 : 9, h + k + 1);
    }
}

TEST(GpropFile, ReproducesThePublishedFigures) {
    std::vector<std::string> recs = records_of(testing_support::read_file(kDataFile));
    ASSERT_EQ(recs.size(), 207u);
    EXPECT_NEAR(field(recs[2 + 8 * 13], 51, 10), -57.798, 0.001);  // H2O enthalpy of formation, kcal/mol

    load_shipped();
    EXPECT_NEAR(DDCON.GRCAL, 1.98722, 1e-5);
    EXPECT_EQ(DDCON.CALTOJ, 4.184);
    EXPECT_EQ(DDCON.PSATM, 101325.0);
    EXPECT_NEAR(DDCON.RJOUL, 8314.51, 1e-3);
    EXPECT_NEAR(DDATA.CT(10, 10) / (DDCON.CALTOJ * 1000), 12.98, 0.005);  // CO2 Cp at 1000 K
    EXPECT_NEAR(DDATA.CKP(20, 6), 3.54, 0.005);  // H2 + 1/2 O2 = H2O at 2000 K, atm basis
    EXPECT_NEAR(DDATA.SM(9), 18.01528, 1e-6);
    // The reference elements have no enthalpy of formation: H2, O2, N2 near 0 at 300 K.
    for (int I : {4, 8, 11}) EXPECT_NEAR(DDATA.HT(3, I), 0.0, 0.1e6) << I;
}

// Stoichiometry of the seven reactions: product and reactants with their coefficients.
struct Stoich {
    int product;
    int r1;
    double n1;
    int r2;
    double n2;
};
constexpr Stoich kStoich[7] = {{1, 4, 0.5, 0, 0},  {2, 8, 0.5, 0, 0},  {3, 11, 0.5, 0, 0}, {5, 4, 0.5, 8, 0.5},
                               {7, 8, 0.5, 11, 0.5}, {9, 4, 1.0, 8, 0.5}, {10, 6, 1.0, 8, 0.5}};

TEST(GpropFile, TablesAreThermodynamicallyConsistent) {
    load_shipped();
    auto T = [](int J) { return 100.0 * J; };
    // Cp is the slope of H: from 400 K up, where Cp bends little, a central difference
    // over 200 K agrees within half a percent.
    for (int I = 1; I <= 12; ++I)
        for (int J = 4; J <= 49; ++J) {
            double slope = (DDATA.HT(J + 1, I) - DDATA.HT(J - 1, I)) / 200.0;
            EXPECT_NEAR(slope, DDATA.CT(J, I), 0.005 * DDATA.CT(J, I)) << "species " << I << " at " << T(J);
        }
    // Van 't Hoff: d(log10 K)/d(1/T) = -dH / (R ln 10), with the reaction enthalpy from
    // the species tables.
    for (int K = 1; K <= 7; ++K) {
        const Stoich& s = kStoich[K - 1];
        for (int J = 3; J <= 49; ++J) {
            double dH = DDATA.HT(J, s.product) - s.n1 * DDATA.HT(J, s.r1) - (s.r2 ? s.n2 * DDATA.HT(J, s.r2) : 0.0);
            double slope = (DDATA.CKP(J + 1, K) - DDATA.CKP(J - 1, K)) / (1 / T(J + 1) - 1 / T(J - 1));
            double expected = -dH / (DDCON.RJOUL * std::log(10.0));
            EXPECT_NEAR(slope, expected, 0.005 * std::fabs(expected)) << "reaction " << K << " at " << T(J);
        }
    }
    // Below 200 K Cp is held and H follows it down.
    for (int I = 1; I <= 12; ++I) {
        EXPECT_EQ(DDATA.CT(1, I), DDATA.CT(2, I)) << I;
        EXPECT_NEAR(DDATA.HT(1, I), DDATA.HT(2, I) - 100.0 * DDATA.CT(2, I), 2e3) << I;
    }
}

// The generator's pieces that do not need the source file.
TEST(GpropGenerator, DecimalsFillTheFieldBehindOneBlank) {
    using gpropgen::decimals_for;
    EXPECT_EQ(decimals_for(-57.7978011, 10), 5);  // " -57.79780"
    EXPECT_EQ(decimals_for(101325.0, 10), 2);     // " 101325.00"
    EXPECT_EQ(decimals_for(0.125, 8), 6);         // " .125000"
    EXPECT_EQ(decimals_for(-0.5, 8), 5);          // " -.50000"
    EXPECT_EQ(decimals_for(9.999996, 8), 4);      // "10.00000" at 5 decimals: " 10.0000"
    EXPECT_EQ(decimals_for(-110.98, 8), 2);       // " -110.98"
    EXPECT_THROW(decimals_for(123456789.0, 8), std::runtime_error);
}

const char* kMonatomic =
    "Ar                Ref-Elm.\n"
    " 1 g 3/98 AR  1.00    0.00    0.00    0.00    0.00 0   39.9480000          0.000\n"
    "    200.000   6000.0007 -2.0 -1.0  0.0  1.0  2.0  3.0  4.0  0.0         6197.428\n"
    " 0.000000000D+00 0.000000000D+00 2.500000000D+00 0.000000000D+00 0.000000000D+00\n"
    " 0.000000000D+00 0.000000000D+00                -7.453750000D+02 4.379674910D+00\n";

TEST(GpropGenerator, ReadsAnEntryAndEvaluatesIt) {
    std::vector<gpropgen::Nasa9Species> all = gpropgen::parse_nasa9(kMonatomic);
    ASSERT_EQ(all.size(), 1u);
    const auto& ar = all[0];
    EXPECT_EQ(ar.name, "Ar");
    EXPECT_EQ(ar.molar_mass, 39.948);
    ASSERT_EQ(ar.intervals.size(), 1u);
    EXPECT_EQ(ar.intervals[0].h298_minus_h0, 6197.428);
    // Cp = 5/2 R; H = 5/2 R T + b1 R, zero at 298.15 K within the fit.
    EXPECT_EQ(ar.cp_R(1000.0), 2.5);
    EXPECT_NEAR(ar.h_RT(298.15) * gpropgen::kRFit * 298.15, 0.0, 0.01);
    // Held Cp below 200 K: H(100) = H(200) - 100 Cp.
    auto p100 = gpropgen::thermo_point(ar, 100.0), p200 = gpropgen::thermo_point(ar, 200.0);
    EXPECT_NEAR(p100.h, p200.h - 100.0 * 2.5 * gpropgen::kRFit, 1e-9);
    EXPECT_NEAR(p100.s, p200.s - 2.5 * gpropgen::kRFit * std::log(2.0), 1e-12);
    EXPECT_THROW(ar.cp_R(7000.0), std::runtime_error);
}

TEST(GpropGenerator, RejectsBrokenSources) {
    std::string bad_number = kMonatomic;
    bad_number.replace(bad_number.find("2.500000000D+00"), 15, "2.5000000x0D+00");
    EXPECT_THROW(gpropgen::parse_nasa9(bad_number), std::runtime_error);
    std::string cut = kMonatomic;
    cut.resize(cut.rfind(" 0.000000000D+00 0.000000000D+00     "));
    EXPECT_THROW(gpropgen::parse_nasa9(cut), std::runtime_error);
    // A source without all twelve species.
    EXPECT_THROW(gpropgen::build_gprop(gpropgen::parse_nasa9(kMonatomic)), std::runtime_error);
}

// From here on the project's copy of the NASA source file is read.
bool have_source() { return std::filesystem::exists(kSourceFile); }

gpropgen::GpropTables generated() {
    return gpropgen::build_gprop(gpropgen::parse_nasa9(testing_support::read_file(kSourceFile)));
}

TEST(GpropGenerator, RegeneratesTheShippedFileByteForByte) {
    ASSERT_TRUE(have_source()) << "the coefficient file " << kSourceFile << " is missing";
    EXPECT_EQ(gpropgen::gprop_text(generated()), testing_support::read_file(kDataFile));
}

TEST(GpropGenerator, ShippedFileLoadsToTheGeneratedValuesWithinPrintedPrecision) {
    ASSERT_TRUE(have_source()) << "the coefficient file " << kSourceFile << " is missing";
    gpropgen::GpropTables g = generated();
    load_shipped();
    // Half a unit in the last printed decimal of the field.
    auto half_ulp = [](double v, int w) { return 0.5 * std::pow(10.0, -gpropgen::decimals_for(v, w)) * 1.000001; };
    EXPECT_NEAR(DDCON.GRCAL, g.GRCAL, half_ulp(g.GRCAL, 10));
    for (int I = 1; I <= 12; ++I) {
        const auto& s = g.species[I - 1];
        EXPECT_NEAR(DDATA.SM(I), s.SM, half_ulp(s.SM, 10));
        for (int J = 1; J <= 50; ++J) {
            double scale = DDCON.CALTOJ * 1e6;
            EXPECT_NEAR(DDATA.HT(J, I), (s.HT[J - 1] + s.DHTO) * scale,
                        (half_ulp(s.HT[J - 1], 8) + half_ulp(s.DHTO, 10)) * scale)
                << s.name << " " << J;
            EXPECT_NEAR(DDATA.CT(J, I), s.CT[J - 1] * DDCON.CALTOJ * 1e3, half_ulp(s.CT[J - 1], 8) * DDCON.CALTOJ * 1e3)
                << s.name << " " << J;
        }
    }
    for (int K = 1; K <= 7; ++K)
        for (int J = 1; J <= 50; ++J) {
            double v = g.reactions[K - 1].CKP[J - 1];
            EXPECT_NEAR(DDATA.CKP(J, K), v, half_ulp(v, 8)) << K << " " << J;
        }
}

}  // namespace
