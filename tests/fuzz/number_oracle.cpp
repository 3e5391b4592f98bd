#include "number_oracle.h"

#include <algorithm>
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

FreeReads reference_free_reads(std::string_view file, int n) {
    FreeReads r;
    size_t pos = 0;
    // The next record: up to an LF, its text cut at the first CR; none at the end.
    auto record = [&](std::string_view& rec) {
        if (pos >= file.size()) return false;
        const size_t lf = file.find('\n', pos);
        rec = file.substr(pos, (lf == std::string_view::npos ? file.size() : lf) - pos);
        rec = rec.substr(0, rec.find('\r'));
        pos = lf == std::string_view::npos ? file.size() : lf + 1;
        return true;
    };
    for (int k = 0; k < n; ++k) {
        std::string_view rec;
        size_t first = std::string_view::npos;
        while (first == std::string_view::npos) {
            if (!record(rec)) {
                r.error = 2002;  // end of file
                return r;
            }
            first = rec.find_first_not_of(" \t");
        }
        rec = rec.substr(first);
        double value = 0;
        if (rec[0] != ',' && rec[0] != '/') {
            const size_t end = std::min(rec.find_first_of(" \t,/"), rec.size());
            std::string_view text = rec.substr(0, end);
            if (text.size() > 260) {
                r.error = 2005;
                return r;
            }
            const size_t star = text.find('*');
            if (star != std::string_view::npos) {
                const std::string_view count = text.substr(0, star);
                text = text.substr(star + 1);
                if (count.empty() || count.find_first_not_of("0123456789") != std::string_view::npos ||
                    count.find_first_not_of('0') == std::string_view::npos || text.find('*') != std::string_view::npos) {
                    r.error = 2004;
                    return r;
                }
            }
            if (!text.empty()) {
                // Not a number, or a number followed by a decimal comma ("2200,5").
                if (!reference_number(text, 0, value) || (end + 1 < rec.size() && rec[end] == ',' && digit(rec[end + 1]))) {
                    r.error = 2003;
                    return r;
                }
            }
        }
        r.values.push_back(value);
    }
    return r;
}

void check_number(std::string_view text, int implied_decimals) {
    if (text.size() > 280) return;  // longer texts are refused before any conversion
    double expected = 0, got = 0;
    const bool ok = reference_number(text, implied_decimals, expected);
    require(core::parse_number(text, got, implied_decimals) == ok, "a text taken or refused as a number wrongly");
    require(!ok || got == expected, "a number converted to another value than the correctly rounded one");
}

}  // namespace fuzz
