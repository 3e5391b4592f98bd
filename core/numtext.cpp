#include "numtext.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace core {

namespace {

// Powers of ten that a double holds exactly.
constexpr double kExactPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                  1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr std::uint64_t kExactIntegers = std::uint64_t(1) << 53;  // every integer up to here is exact
constexpr size_t kShortText = 19;  // digits and point: at most 19 digits, no overflow of M

// Nearly every value the programs read is a short decimal without exponent ("-.98442",
// "101325.0"). Its digits make an integer M that a double holds exactly, and its f
// decimals an exact 10^f; one division M / 10^f then rounds correctly, to the same double
// that strtod gives. Anything else (an exponent, more digits, implied decimals) is left
// to the general conversion.
bool convert_short_decimal(std::string_view s, double& value, int implied_decimals) {
    const size_t first = !s.empty() && (s[0] == '-' || s[0] == '+') ? 1 : 0;
    if (s.size() - first > kShortText) return false;
    std::uint64_t M = 0;
    size_t point = std::string_view::npos;
    for (size_t i = first; i < s.size(); ++i) {
        const unsigned digit = static_cast<unsigned char>(s[i]) - unsigned('0');
        if (digit <= 9) M = M * 10 + digit;
        else if (s[i] == '.' && point == std::string_view::npos) point = i;
        else return false;
    }
    const bool has_point = point != std::string_view::npos;
    const size_t digits = s.size() - first - (has_point ? 1 : 0);
    if (digits == 0 || M > kExactIntegers || (!has_point && implied_decimals > 0)) return false;
    const size_t decimals = has_point ? s.size() - point - 1 : 0;
    const double v = static_cast<double>(M) / kExactPow10[decimals];
    value = s[0] == '-' ? -v : v;
    return true;
}

}  // namespace

bool parse_number(std::string_view s, double& value, int implied_decimals) {
    if (s.size() > 280) return false;
    if (convert_short_decimal(s, value, implied_decimals)) return true;
    // Rebuilt in C form ("-d.dddE+x"), then converted by strtod, which rounds correctly.
    char buf[320];
    size_t n = 0;
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) buf[n++] = s[i++];
    size_t mant_start = n;
    int digits = 0;
    bool point = false;
    for (; i < s.size(); ++i) {
        char c = s[i];
        if (c >= '0' && c <= '9') {
            buf[n++] = c;
            ++digits;
        } else if (c == '.' && !point) {
            buf[n++] = c;
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0) return false;
    if (!point && implied_decimals > 0) {
        // The last d digits are decimals: move them behind a point, zero-padded on the left.
        int d = implied_decimals < 30 ? implied_decimals : 30;
        int lead = digits > d ? digits - d : 0;
        char frac[320];
        int m = 0;
        for (int k = digits; k < d; ++k) frac[m++] = '0';
        for (int k = lead; k < digits; ++k) frac[m++] = buf[mant_start + static_cast<size_t>(k)];
        n = mant_start + static_cast<size_t>(lead);
        buf[n++] = '.';
        for (int k = 0; k < m; ++k) buf[n++] = frac[k];
    }
    if (i < s.size()) {
        char c = s[i];
        bool letter = c == 'E' || c == 'e' || c == 'D' || c == 'd';
        if (!letter && c != '+' && c != '-') return false;
        if (letter) ++i;
        buf[n++] = 'e';
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) buf[n++] = s[i++];
        int edigits = 0;
        for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i, ++edigits) buf[n++] = s[i];
        if (edigits == 0 || i != s.size()) return false;
    }
    buf[n] = '\0';
    errno = 0;
    char* end = nullptr;
    double v = std::strtod(buf, &end);
    if (end != buf + n) return false;
    if (!std::isfinite(v) || (errno == ERANGE && std::fabs(v) > 1.0)) return false;
    value = v;
    return true;
}

}  // namespace core
