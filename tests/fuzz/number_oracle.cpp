#include "number_oracle.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "numtext.h"

namespace fuzz {

namespace {

bool digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool reference_number(std::string_view s, int implied_decimals, double& value) {
    // [sign] digits-with-at-most-one-point [exponent], exponent E/e/D/d [sign] digits, or
    // a sign and digits.
    size_t i = 0;
    std::string sign, ints, fraction, exponent;
    bool point = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) sign = s[i++];
    for (; i < s.size() && (digit(s[i]) || (s[i] == '.' && !point)); ++i) {
        if (s[i] == '.') point = true;
        else (point ? fraction : ints).push_back(s[i]);
    }
    if (ints.empty() && fraction.empty()) return false;
    if (i < s.size()) {
        const char c = s[i];
        if (c == 'E' || c == 'e' || c == 'D' || c == 'd') ++i;
        else if (c != '+' && c != '-') return false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) exponent.push_back(s[i++]);
        size_t first = i;
        for (; i < s.size() && digit(s[i]); ++i) exponent.push_back(s[i]);
        if (i == first || i != s.size()) return false;
    }
    // Without a point the last d digits are decimals.
    if (!point && implied_decimals > 0) {
        const size_t d = static_cast<size_t>(implied_decimals);
        if (ints.size() < d) ints.insert(0, d - ints.size(), '0');
        fraction = ints.substr(ints.size() - d);
        ints.resize(ints.size() - d);
    }
    std::string c = sign + (ints.empty() ? "0" : ints) + "." + fraction + (exponent.empty() ? "" : "e" + exponent);
    errno = 0;
    char* end = nullptr;
    const double v = std::strtod(c.c_str(), &end);
    require(end == c.c_str() + c.size(), "the reference conversion left text over");
    if (!std::isfinite(v) || (errno == ERANGE && std::fabs(v) > 1)) return false;  // overflow
    value = v;
    return true;
}

void check_number(std::string_view text, int implied_decimals) {
    if (text.size() > 280) return;  // longer texts are refused before any conversion
    double expected = 0, got = 0;
    const bool ok = reference_number(text, implied_decimals, expected);
    require(core::parse_number(text, got, implied_decimals) == ok, "a text taken or refused as a number wrongly");
    require(!ok || got == expected, "a number converted to another value than the correctly rounded one");
}

}  // namespace fuzz
