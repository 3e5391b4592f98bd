// The shipped FUELS.DAT and its generator: element counts read from an entry, foreign
// elements refused, and a byte-for-byte regeneration from the project's copies of the
// NASA Glenn coefficients; those copies and the reference results in step with the
// folder they were copied from, when it is at hand.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

#include "../../tools/fuelgen/fuel_records.h"
#include "scratch.h"

namespace {

const std::string kDataFile = std::string(SUITE_DATA_DIR) + "/FUELS.DAT";
const std::string kThermo = std::string(SUITE_THERMO_DIR) + "/";

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
    " 0.000000000D+00 0.000000000D+00                -1.043559000D+03 1.000000000D+00\n"
    "Ar                Ref-Elm.\n"
    " 1 g 3/98 AR  1.00    0.00    0.00    0.00    0.00 0   39.9480000          0.000\n"
    "    200.000   6000.0007 -2.0 -1.0  0.0  1.0  2.0  3.0  4.0  0.0         6197.428\n"
    " 0.000000000D+00 0.000000000D+00 2.500000000D+00 0.000000000D+00 0.000000000D+00\n"
    " 0.000000000D+00 0.000000000D+00                -7.453750000D+02 4.379674910D+00\n"
    "CO2               Gurvich,1991.\n"
    " 1 g 9/99 C   1.00O   2.00    0.00    0.00    0.00 0   44.0095000    -393510.000\n"
    "    200.000   6000.0007 -2.0 -1.0  0.0  1.0  2.0  3.0  4.0  0.0         9365.469\n"
    " 0.000000000D+00 0.000000000D+00 4.500000000D+00 0.000000000D+00 0.000000000D+00\n"
    " 0.000000000D+00 0.000000000D+00                -4.867000000D+04 1.000000000D+00\n"
    "H2O               Cox,1989.\n"
    " 1 g 8/89 H   2.00O   1.00    0.00    0.00    0.00 0   18.0152800    -241826.000\n"
    "    200.000   6000.0007 -2.0 -1.0  0.0  1.0  2.0  3.0  4.0  0.0         9904.092\n"
    " 0.000000000D+00 0.000000000D+00 4.000000000D+00 0.000000000D+00 0.000000000D+00\n"
    " 0.000000000D+00 0.000000000D+00                -3.029000000D+04 1.000000000D+00\n";

TEST(FuelGenerator, WritesAtomsNamesAndCoefficients) {
    std::string text = fuelgen::fuels_text({kMethanol}, kAir);
    EXPECT_NE(text.find("\nfuel methanol CH3OH 1 4 1 0 32.0418600 -200940.000 1\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nair oxygen O2 0 0 2 0 31.9988000 0.000 1\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nair nitrogen N2 0 0 0 2 28.0134000 0.000 1\n"), std::string::npos) << text;
    // The diluents an oxidizer may carry; argon, in no fuel, has no atom column.
    EXPECT_NE(text.find("\nair argon Ar 0 0 0 0 39.9480000 0.000 1\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nair carbon-dioxide CO2 1 0 2 0 44.0095000 -393510.000 1\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nair water H2O 0 2 1 0 18.0152800 -241826.000 1\n"), std::string::npos) << text;
}

TEST(FuelGenerator, WritesTheFuelFilesInTurnAndNamesASurrogateByItsAtoms) {
    std::string jet = kMethanol;
    jet.replace(0, 8, "Jet-A(g)");
    jet.replace(jet.find("C   1.00H   4.00O   1.00"), 24, "C  12.00H  23.00    0.00");
    std::string text = fuelgen::fuels_text({kMethanol, jet}, kAir);
    const size_t methanol = text.find("\nfuel methanol CH3OH 1 4 1 0 ");
    const size_t surrogate = text.find("\nfuel Jet-A C12H23 12 23 0 0 ");
    EXPECT_NE(methanol, std::string::npos) << text;
    EXPECT_NE(surrogate, std::string::npos) << text;
    EXPECT_LT(methanol, surrogate);
    EXPECT_LT(surrogate, text.find("\nair oxygen"));
    EXPECT_NE(text.find("   200.000   1000.000 -2.416690000E+05  4.032146000E+03"), std::string::npos) << text;
}

TEST(FuelGenerator, RefusesWhatTheSolversCannotBurn) {
    std::string sulphur = kMethanol;
    sulphur.replace(sulphur.find("O   1.00"), 8, "S   1.00");
    EXPECT_THROW(fuelgen::fuels_text({sulphur}, kAir), std::runtime_error);
    std::string argon_fuel = kMethanol;
    argon_fuel.replace(argon_fuel.find("O   1.00"), 8, "AR  1.00");
    EXPECT_THROW(fuelgen::fuels_text({argon_fuel}, kAir), std::runtime_error);
    for (const char* cut : {"N2 ", "H2O "}) {
        std::string without = std::string(kAir).substr(0, std::string(kAir).find(cut));
        EXPECT_THROW(fuelgen::fuels_text({kMethanol}, without), std::runtime_error) << cut;
    }
}

TEST(FuelGenerator, RegeneratesTheShippedFileByteForByte) {
    const std::string fuels = testing_support::read_file(kThermo + "fuels.nasa9");
    const std::string extra = testing_support::read_file(kThermo + "fuels-extra.nasa9");
    ASSERT_FALSE(fuels.empty() || extra.empty()) << "the coefficient files in " << kThermo << " are missing";
    EXPECT_EQ(fuelgen::fuels_text({fuels, extra}, testing_support::read_file(kThermo + "products.nasa9")),
              testing_support::read_file(kDataFile));
}

// The project's copies against the folder they were copied from: a change there must be
// copied here (and the data regenerated). Without that folder there is nothing to compare.
TEST(ProjectCopies, InStepWithTheFolderTheyCameFrom) {
    const std::string shared = SUITE_SHARED_DIR;
    if (!std::filesystem::exists(shared + "/thermo/products.nasa9"))
        GTEST_SKIP() << "no folder " << shared << " to compare the copies with";
    const std::pair<std::string, std::string> copies[] = {
        {shared + "/thermo/products.nasa9", kThermo + "products.nasa9"},
        {shared + "/thermo/fuels.nasa9", kThermo + "fuels.nasa9"},
        {shared + "/thermo/fuels-extra.nasa9", kThermo + "fuels-extra.nasa9"},
        {shared + "/reference/cea_sample.json", SUITE_REFERENCE_FILE},
    };
    for (const auto& [source, copy] : copies) {
        const std::string original = testing_support::read_file(source);
        EXPECT_FALSE(original.empty()) << source;
        EXPECT_EQ(testing_support::read_file(copy), original) << copy << " differs from " << source;
    }
}

}  // namespace
