#include "numtext.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace core {

bool parse_number(std::string_view s, double& value, int implied_decimals) {
    // Rebuilt in C form ("-d.dddE+x"), then converted by strtod, which rounds correctly.
    char buf[320];
    size_t n = 0;
    size_t i = 0;
    if (s.size() > 280) return false;
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
