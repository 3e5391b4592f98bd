// Output forms: every rendering the reports rely on, character for character.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "edit.h"

using core::Record;

namespace {

std::string F(double v, int w, int d) { return Record().F(v, w, d).text(); }
std::string E(double v, int w, int d) { return Record().E(v, w, d).text(); }
std::string I(long v, int w) { return Record().I(v, w).text(); }

TEST(FixedPoint, RenderingsOfTheExampleTable) {
    EXPECT_EQ(F(0.5, 6, 3), "  .500");
    EXPECT_EQ(F(0.0, 10, 8), " .00000000");
    EXPECT_EQ(F(0.25, 10, 8), " .25000000");
    EXPECT_EQ(F(1.0, 10, 8), "1.00000000");
    EXPECT_EQ(F(-1.0e-9, 10, 8), " .00000000");
    EXPECT_EQ(F(16.0, 5, 1), " 16.0");
    EXPECT_EQ(F(1.0e6, 5, 1), "*****");
}

TEST(FixedPoint, RoundsHalfUpOnTheDecimalString) {
    EXPECT_EQ(F(9.99, 4, 1), "10.0");
    EXPECT_EQ(F(0.125, 5, 2), "  .13");    // exact binary tie
    EXPECT_EQ(F(2.675, 5, 2), " 2.68");    // 2.67499999999999982236431605997495353221893310546875
    EXPECT_EQ(F(0.0005, 5, 3), " .001");   // the only digit dropped is a 5
    EXPECT_EQ(F(0.0004999, 5, 3), " .000");
    EXPECT_EQ(F(-0.0005, 6, 3), " -.001");
    EXPECT_EQ(F(999.96, 6, 1), "1000.0");
    EXPECT_EQ(F(999.96, 5, 1), "*****");   // the carry makes the text too wide
}

TEST(FixedPoint, SixteenDigitsThenZeros) {
    // 0.1 is 0.1000000000000000055511151231257827...: 16 digits give 1000000000000000.
    EXPECT_EQ(F(0.1, 22, 20), " .10000000000000000000");
    EXPECT_EQ(F(123456789012345678.0, 20, 1), "123456789012345700.0");
    EXPECT_EQ(F(1.0 / 3.0, 19, 18), ".333333333333333300");
}

TEST(FixedPoint, ZeroDecimalsAndNegativeValues) {
    EXPECT_EQ(F(0.0, 3, 0), " 0.");
    EXPECT_EQ(F(0.4, 3, 0), " 0.");
    EXPECT_EQ(F(-0.4, 3, 0), " 0.");
    EXPECT_EQ(F(0.5, 3, 0), " 1.");
    EXPECT_EQ(F(-2.5, 4, 0), " -3.");
    EXPECT_EQ(F(-0.5, 5, 1), "  -.5");
    EXPECT_EQ(F(-0.0, 5, 1), "   .0");
    EXPECT_EQ(F(-12.25, 6, 1), " -12.3");
    EXPECT_EQ(F(-12.25, 5, 1), "-12.3");
    EXPECT_EQ(F(-12.25, 4, 1), "****");
}

TEST(FixedPoint, SinglePrecisionUsesSevenDigits) {
    std::string s;
    core::put_F(s, 0.1f, 12, 10);  // 0.100000001490116..., 7 digits: 1000000
    EXPECT_EQ(s, " .1000000000");
    s.clear();
    core::put_F(s, 8314.51f, 10, 4);  // 8314.509765625 -> 8314.510
    EXPECT_EQ(s, " 8314.5100");
}

TEST(ExponentForm, RenderingsOfTheExampleTable) {
    EXPECT_EQ(E(1.5e3, 12, 4), "   .1500E+04");
    EXPECT_EQ(E(1 - 4e-5, 12, 4), "   .1000E+01");
    EXPECT_EQ(E(0.0, 13, 6), "  .000000E+00");
    EXPECT_EQ(E(-0.5, 13, 6), " -.500000E+00");
    EXPECT_EQ(E(-2.5e6, 12, 4), "  -.2500E+07");
    EXPECT_EQ(E(8.5e5, 13, 6), "  .850000E+06");
    EXPECT_EQ(E(1500.0, 13, 6), "  .150000E+04");
}

TEST(ExponentForm, ExponentsOfOneTwoAndThreeDigits) {
    EXPECT_EQ(E(1e-5, 12, 4), "   .1000E-04");
    EXPECT_EQ(E(9.99995e9, 12, 4), "   .1000E+11");  // carry moves the exponent
    EXPECT_EQ(E(1e99, 12, 4), "   .1000+100");       // E left out for three digits
    EXPECT_EQ(E(1.234e-120, 12, 4), "   .1234-119");
    EXPECT_EQ(E(-1e200, 10, 4), "-.1000+201");
    EXPECT_EQ(E(-1e200, 9, 4), "*********");
    EXPECT_EQ(E(0.5, 13, 6), "  .500000E+00");
    EXPECT_EQ(E(std::numeric_limits<double>::denorm_min(), 12, 4), "   .4941-323");
}

TEST(NonFinite, FillsTheFieldWithAsterisks) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(F(nan, 8, 4), "********");
    EXPECT_EQ(F(-inf, 10, 8), "**********");
    EXPECT_EQ(E(inf, 13, 6), "*************");
    EXPECT_EQ(E(nan, 12, 4), "************");
}

TEST(IntegerAndText, FieldsAndTruncation) {
    EXPECT_EQ(I(10, 2), "10");
    EXPECT_EQ(I(100, 2), "**");
    EXPECT_EQ(I(0, 3), "  0");
    EXPECT_EQ(I(-7, 3), " -7");
    EXPECT_EQ(I(-70, 2), "**");
    EXPECT_EQ(Record().A("EQMD", 8).text(), "    EQMD");
    EXPECT_EQ(Record().A("PER   ", 4).text(), "PER ");
    EXPECT_EQ(Record().A("ab").X(3).lit("c").text(), "ab   c");
}

}  // namespace

namespace {

// Leaves digits in the stack memory that the next call's buffers will occupy.
[[gnu::noinline]] void fill_stack_with_digits() {
    volatile char junk[8192];
    for (auto& c : junk) c = '7';
}

TEST(DigitGeneration, ExponentIsReadOnlyFromTheConvertedText) {
    // The decimal string of a value has no terminating zero byte; the exponent must be
    // read from its own characters, whatever lies in memory behind them.
    fill_stack_with_digits();
    EXPECT_EQ(F(23.194327, 8, 4), " 23.1943");
    fill_stack_with_digits();
    EXPECT_EQ(E(1500.0, 13, 6), "  .150000E+04");
    fill_stack_with_digits();
    EXPECT_EQ(E(-2.5e-7, 12, 4), "  -.2500E-06");
}

}  // namespace
