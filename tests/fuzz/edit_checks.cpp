#include "edit_checks.h"

#include <cmath>
#include <string>

#include "edit.h"
#include "fuzz_support.h"
#include "numtext.h"

namespace fuzz {

namespace {

struct Form {
    int w, d;
};
// The forms of the echo and results lines; their decimals are 1, 2, 3, 4 and 8.
constexpr Form kF[] = {{5, 1}, {6, 3}, {7, 1}, {7, 3}, {8, 3}, {8, 4}, {9, 4}, {10, 1}, {10, 2}, {10, 8}, {11, 1}};
constexpr Form kE[] = {{12, 4}, {13, 6}};
constexpr int kWide = 400;  // wide enough for any double in F with up to 8 decimals

bool digits(const std::string& s, size_t from, size_t count) {
    if (from + count > s.size()) return false;
    for (size_t i = from; i < from + count; ++i)
        if (s[i] < '0' || s[i] > '9') return false;
    return true;
}

std::string trim(const std::string& s) { return s.substr(std::min(s.find_first_not_of(' '), s.size())); }

// The field in w columns is the wide field's text right-justified, or w asterisks.
void check_width(const std::string& field, const std::string& text, int w) {
    require(static_cast<int>(field.size()) == w, "an edit field of another width than its form");
    if (static_cast<int>(text.size()) <= w)
        require(field == std::string(static_cast<size_t>(w) - text.size(), ' ') + text, "a field that fits is not its text");
    else
        require(field == std::string(static_cast<size_t>(w), '*'), "a field that does not fit is not asterisks");
}

// The printed text reads back as the value within half a unit of its last digit (and
// the rounding of the value to 16 significant digits).
void check_reads_back(const std::string& text, double v, double half_unit) {
    double back = 0;
    if (!core::parse_number(text, back)) {
        require(text.size() > 280 || std::fabs(v) > 1e307, "a printed number does not read back");
        return;
    }
    require(std::fabs(back - v) <= half_unit * (1 + 1e-9) + 1e-15 * std::fabs(v) + 1e-307,
            "a printed number reads back as another value");
}

// One fixed-point text per number of decimals, checked for its shape and value, then
// every form with those decimals against it.
void check_F(double v, int d) {
    std::string wide;
    core::put_F(wide, v, kWide, d);
    std::string t = trim(wide);
    // -?digits.decimals, no leading zero; "0." only for d = 0 and a value that rounds to 0.
    size_t i = 0;
    if (t[0] == '-') {
        require(v < 0, "a minus sign on a value that is not negative");
        ++i;
    }
    size_t point = t.find('.');
    require(point != std::string::npos && digits(t, i, point - i) && digits(t, point + 1, static_cast<size_t>(d)) &&
                t.size() == point + 1 + static_cast<size_t>(d),
            "a fixed-point field of the wrong shape");
    require(point == i || t[i] != '0' || t == "0.", "a leading zero in a fixed-point field");
    require(!(t[0] == '-' && t.find_first_of("123456789") == std::string::npos), "a minus sign on a printed zero");
    check_reads_back(t, v, 0.5 * std::pow(10.0, -d));
    for (Form f : kF) {
        if (f.d != d) continue;
        std::string field;
        core::put_F(field, v, f.w, f.d);
        check_width(field, t, f.w);
    }
}

void check_E(double v, Form f) {
    std::string field, wide;
    core::put_E(field, v, f.w, f.d);
    core::put_E(wide, v, 40, f.d);
    std::string t = trim(wide);
    check_width(field, t, f.w);
    size_t i = t[0] == '-' ? 1 : 0;
    require(i == 0 || v < 0, "a minus sign on a value that is not negative");
    size_t d = static_cast<size_t>(f.d);
    require(t[i] == '.' && digits(t, i + 1, d), "an exponent field of the wrong mantissa");
    std::string x = t.substr(i + 1 + d);
    require((x.size() == 4 && x[0] == 'E' && (x[1] == '+' || x[1] == '-') && digits(x, 2, 2)) ||
                (x.size() == 4 && (x[0] == '+' || x[0] == '-') && digits(x, 1, 3) && x[1] != '0'),
            "an exponent field of the wrong exponent");
    require((t[i + 1] != '0') == (v != 0), "a mantissa with a leading zero");
    check_reads_back(t, v, 5 * std::pow(10.0, -f.d) * std::fabs(v));
}

}  // namespace

void check_edit_forms(double v) {
    require(std::isfinite(v), "a value read is not finite");
    for (int d : {1, 2, 3, 4, 8}) check_F(v, d);
    for (Form f : kE) check_E(v, f);
}

}  // namespace fuzz
