#include "numtext.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace core {

namespace {

// Most values are already in the form that std::from_chars takes ("-1.5", "1.5e-3"):
// converted directly, correctly rounded like strtod and much faster. Anything else
// (a leading plus, a D exponent, 1.5+3, implied decimals, a value out of range) is
// left to the general conversion. from_chars also takes inf and nan, which are no
// numbers here and are refused by the finiteness test.
bool convert_plain(std::string_view s, double& value, int implied_decimals) {
    double v;
    const char* end = s.data() + s.size();
    auto [p, ec] = std::from_chars(s.data(), end, v);
    if (ec != std::errc() || p != end || !std::isfinite(v)) return false;
    if (implied_decimals > 0 && s.find('.') == std::string_view::npos) return false;
    value = v;
    return true;
}

}  // namespace

bool parse_number(std::string_view s, double& value, int implied_decimals) {
    if (s.size() > 280) return false;
    if (convert_plain(s, value, implied_decimals)) return true;
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
