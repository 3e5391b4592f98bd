#include "digits.h"

#include <charconv>
#include <cstdio>

namespace core {

namespace {

template <typename V>
Digits from_scientific(V v, int sig) {
    Digits g;
    g.negative = v < 0;  // a negative zero stays "not negative"
    char buf[40];
#ifdef __EMSCRIPTEN__
    // Emscripten's libc++ has no floating-point to_chars; its printf rounds the exact
    // binary value to the same digits and writes the same d.ddde[+-]xx layout.
    const int len = std::snprintf(buf, sizeof buf, "%.*e", sig - 1, static_cast<double>(v));
    const char* end = buf + (len > 0 ? len : 0);
#else
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, sig - 1);
    const char* end = res.ptr;
#endif
    const char* p = buf;
    if (*p == '-') ++p;
    // d.ddddde[+-]xx
    for (; p < end && *p != 'e'; ++p)
        if (*p != '.') g.d[g.n++] = *p;
    int e10 = 0;  // the exponent after 'e'; to_chars leaves no terminating zero byte
    ++p;
    if (p < end && *p == '+') ++p;
    std::from_chars(p, end, e10);
    while (g.n > 0 && g.d[g.n - 1] == '0') --g.n;
    g.zero = g.n == 0;
    g.exp = g.zero ? 0 : e10 + 1;
    if (g.zero) g.negative = false;
    return g;
}

}  // namespace

Digits decimal_digits(double v) { return from_scientific(v, 16); }
Digits decimal_digits(float v) { return from_scientific(v, 7); }

void Digits::round_to(int k) {
    if (zero) return;
    if (k < 0 || (k == 0 && d[0] < '5')) {
        n = 0;
        zero = true;
        exp = 0;
        return;
    }
    if (k == 0) {  // 0.5.. rounds up to one unit of the next place
        d[0] = '1';
        n = 1;
        ++exp;
        return;
    }
    if (k >= n) return;
    bool up = d[k] >= '5';
    n = k;
    if (up) {
        int i = k - 1;
        while (i >= 0 && d[i] == '9') d[i--] = '0';
        if (i >= 0) {
            ++d[i];
        } else {  // 9.99 -> 10.0: the carry adds a leading digit
            for (int j = k; j > 0; --j) d[j] = d[j - 1];
            d[0] = '1';
            ++n;
            ++exp;
        }
    }
    while (n > 0 && d[n - 1] == '0') --n;
    if (n == 0) zero = true;
}

}  // namespace core
