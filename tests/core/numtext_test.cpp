// Number conversion: every accepted text gives the double that strtod gives for the same
// number, whichever path converts it; everything else is refused.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "numtext.h"

using core::parse_number;

namespace {

// The same number in C syntax, converted by the C library.
double c_library(const std::string& c_text) { return std::strtod(c_text.c_str(), nullptr); }

void expect_same(const std::string& text, const std::string& c_text, int implied = 0) {
    double v = -12345.0;
    ASSERT_TRUE(parse_number(text, v, implied)) << text;
    const double want = c_library(c_text);
    EXPECT_EQ(v, want) << text;
    EXPECT_EQ(std::signbit(v), std::signbit(want)) << text;
}

TEST(NumberText, EdgesOfTheShortDecimalPath) {
    expect_same("9007199254740992", "9007199254740992");      // 2^53: exact
    expect_same("9007199254740993", "9007199254740993");      // 2^53 + 1: rounds
    expect_same("1234567890123456789", "1234567890123456789"); // 19 digits
    expect_same("12345678901234567890", "12345678901234567890");
    expect_same(".1234567890123456789", ".1234567890123456789");
    expect_same("0.0000000000000000000001", "0.0000000000000000000001");
    expect_same("-0.0", "-0.0");
    expect_same("-.0", "-0.0");
    expect_same("+3.25", "3.25");
    expect_same("101325.0", "101325.0");
    expect_same("-.98442", "-.98442");
    expect_same("2.675", "2.675");
    expect_same("0.1", "0.1");
}

TEST(NumberText, ExponentsAndImpliedDecimals) {
    expect_same("1.5+3", "1.5e+3");
    expect_same("1.5d-3", "1.5e-3");
    expect_same("125", "0.125", 3);
    expect_same("-5", "-0.005", 3);
    expect_same("125.", "125", 3);    // a point: the implied decimals do not apply
    expect_same("125E2", "0.125e2", 3);
    expect_same("1234567", "1234.567", 3);
    expect_same("100", "100", 0);
}

TEST(NumberText, RefusedTexts) {
    double v = 7.0;
    for (const char* bad : {"", "+", "-", ".", "1..2", "1.2.3", "1e", "1e+", "e5", "1x", "1,5", "1 5",
                            "1e400", "-1e400", "0x1p3", "inf", "nan", "1\x1a"}) {
        EXPECT_FALSE(parse_number(bad, v)) << bad;
    }
    EXPECT_EQ(v, 7.0);  // a refused text leaves the value alone
}

TEST(NumberText, RandomShortDecimalsAgreeWithTheCLibrary) {
    std::mt19937_64 rng(20261207);
    for (int n = 0; n < 200000; ++n) {
        std::string text;
        if (rng() % 4 == 0) text += '-';
        int before = static_cast<int>(rng() % 12), after = static_cast<int>(rng() % 12);
        for (int i = 0; i < before; ++i) text += static_cast<char>('0' + rng() % 10);
        text += '.';
        for (int i = 0; i < after; ++i) text += static_cast<char>('0' + rng() % 10);
        if (before + after == 0) text += '0';
        std::string c_text = text;
        if (c_text.back() == '.') c_text += '0';
        expect_same(text, c_text);
        if (HasFailure()) break;
    }
}

}  // namespace
