#include "edit.h"

#include <cmath>

#include "digits.h"

namespace core {

namespace {

void stars(std::string& out, int w) {
    if (w > 0) out.append(static_cast<size_t>(w), '*');
}

// Right-justifies text of len characters in w columns, or w asterisks.
void justify(std::string& out, const char* text, int len, int w) {
    if (len > w) return stars(out, w);
    out.append(static_cast<size_t>(w - len), ' ');
    out.append(text, static_cast<size_t>(len));
}

void layout_F(std::string& out, Digits g, int w, int d) {
    g.round_to(g.exp + d);
    char buf[640];  // sign, up to 309 integer digits, point, up to 300 decimals
    int len = 0;
    if (g.zero) {
        if (d == 0) buf[len++] = '0';
        buf[len++] = '.';
        for (int i = 0; i < d; ++i) buf[len++] = '0';
        return justify(out, buf, len, w);
    }
    int need = (g.negative ? 1 : 0) + (g.exp > 0 ? g.exp : 0) + 1 + d;
    if (need > w) return stars(out, w);
    if (g.negative) buf[len++] = '-';
    for (int i = 0; i < g.exp; ++i) buf[len++] = g.at(i);
    buf[len++] = '.';
    for (int i = g.exp; i < g.exp + d; ++i) buf[len++] = i < 0 ? '0' : g.at(i);
    justify(out, buf, len, w);
}

void layout_E(std::string& out, Digits g, int w, int d) {
    g.round_to(d);
    char buf[64];
    int len = 0;
    if (g.negative) buf[len++] = '-';
    buf[len++] = '.';
    for (int i = 0; i < d; ++i) buf[len++] = g.at(i);
    int x = g.zero ? 0 : g.exp;
    int ax = x < 0 ? -x : x;
    if (ax <= 99) buf[len++] = 'E';
    buf[len++] = x < 0 ? '-' : '+';
    if (ax > 99) buf[len++] = static_cast<char>('0' + ax / 100);
    buf[len++] = static_cast<char>('0' + ax / 10 % 10);
    buf[len++] = static_cast<char>('0' + ax % 10);
    justify(out, buf, len, w);
}

bool bad_field(double v, int w, int d) { return !std::isfinite(v) || d < 0 || d > 300 || w < 0; }

}  // namespace

void put_F(std::string& out, double v, int w, int d) {
    if (bad_field(v, w, d)) return stars(out, w);
    layout_F(out, decimal_digits(v), w, d);
}

void put_F(std::string& out, float v, int w, int d) {
    if (bad_field(v, w, d)) return stars(out, w);
    layout_F(out, decimal_digits(v), w, d);
}

void put_E(std::string& out, double v, int w, int d) {
    if (bad_field(v, w, d) || d < 1 || d > 30) return stars(out, w);
    layout_E(out, decimal_digits(v), w, d);
}

void put_E(std::string& out, float v, int w, int d) {
    if (bad_field(v, w, d) || d < 1 || d > 30) return stars(out, w);
    layout_E(out, decimal_digits(v), w, d);
}

void put_I(std::string& out, std::int64_t v, int w) {
    char buf[24];
    int len = 0;
    std::uint64_t mag = v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    char rev[24];
    int n = 0;
    do {
        rev[n++] = static_cast<char>('0' + mag % 10);
        mag /= 10;
    } while (mag != 0);
    if (v < 0) buf[len++] = '-';
    while (n > 0) buf[len++] = rev[--n];
    justify(out, buf, len, w);
}

void put_A(std::string& out, std::string_view item, int w) {
    int L = static_cast<int>(item.size());
    if (w > L) {
        out.append(static_cast<size_t>(w - L), ' ');
        out.append(item);
    } else {
        out.append(item.substr(0, static_cast<size_t>(w)));
    }
}

}  // namespace core
