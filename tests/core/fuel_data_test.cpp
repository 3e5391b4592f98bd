// The shipped FUELS.DAT and its generator: element counts read from an entry, foreign
// elements refused, and a byte-for-byte regeneration from the NASA Glenn coefficients
// when their files are at hand.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "../../tools/fuelgen/fuel_records.h"
#include "scratch.h"

namespace {

const std::string kDataFile = std::string(SUITE_DATA_DIR) + "/FUELS.DAT";
const std::string kThermo = std::string(SUITE_SHARED_DIR) + "/thermo/";

const char* kMethanol =
    "CH3OH             Hf:TRC(6/87) w5030. Chen,1977.\n"
    " 1 g 7/00 C   1.00H   4.00O   1.00    0.00    0.00 0   32.0418600    -200940.000\n"
    "    200.000   1000.0007 -2.0 -1.0  0.0  1.0  2.0  3.0  4.0  0.0        11426.324\n"
    "-2.416690000D+05 4.032146000D+03-2.346550000D+01 6.897820000D-02-6.001870000D-05\n"
    " 2.875900000D-08-5.876800000D-12                -4.501730000D+04 1.372315000D+02\n";

const char* kAir =
    "O2                Ref-Elm.\n"
    " 1 g 8/89 O   2.00    0.00    0.00    0.00    0.00 0   31.9988000          0.000\n"
    "    200.000   6000.0007 -2.0 -1.0  0.0  1.0  2.0  3.0  4.0  0.0         8680.104\n"
    " 0.000000000D+00 0.000000000D+00 3.500000000D+00 0.000000000D+00 0.000000000D+00\n"
    " 0.000000000D+00 0.000000000D+00                -1.043559000D+03 1.000000000D+00\n"
    "N2                Ref-Elm.\n"
    " 1 g 8/89 N   2.00    0.00    0.00    0.00    0.00 0   28.0134000          0.000\n"
    "    200.000   6000.0007 -2.0 -1.0  0.0  1.0  2.0  3.0  4.0  0.0         8670.104\n"
    " 0.000000000D+00 0.000000000D+00 3.500000000D+00 0.000000000D+00 0.000000000D+00\n"
    " 0.000000000D+00 0.000000000D+00                -1.043559000D+03 1.000000000D+00\n";

TEST(FuelGenerator, WritesAtomsNamesAndCoefficients) {
    std::string text = fuelgen::fuels_text(kMethanol, kAir);
    EXPECT_NE(text.find("\nfuel methanol CH3OH 1 4 1 0 32.0418600 -200940.000 1\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nair oxygen O2 0 0 2 0 31.9988000 0.000 1\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nair nitrogen N2 0 0 0 2 28.0134000 0.000 1\n"), std::string::npos) << text;
    EXPECT_NE(text.find("   200.000   1000.000 -2.416690000E+05  4.032146000E+03"), std::string::npos) << text;
}

TEST(FuelGenerator, RefusesWhatTheSolversCannotBurn) {
    std::string sulphur = kMethanol;
    sulphur.replace(sulphur.find("O   1.00"), 8, "S   1.00");
    EXPECT_THROW(fuelgen::fuels_text(sulphur, kAir), std::runtime_error);
    std::string no_n2 = std::string(kAir).substr(0, std::string(kAir).find("N2 "));
    EXPECT_THROW(fuelgen::fuels_text(kMethanol, no_n2), std::runtime_error);
}

TEST(FuelGenerator, RegeneratesTheShippedFileByteForByte) {
    if (!std::filesystem::exists(kThermo + "fuels.nasa9"))
        GTEST_SKIP() << "skipped: the coefficient files in " << kThermo << " are not present";
    EXPECT_EQ(fuelgen::fuels_text(testing_support::read_file(kThermo + "fuels.nasa9"),
                                  testing_support::read_file(kThermo + "products.nasa9")),
              testing_support::read_file(kDataFile));
}

}  // namespace
