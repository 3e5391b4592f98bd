// NASA Glenn 9-coefficient species entries: reading them and evaluating Cp, H and S.
//
// Source of the data and of the formulas: B. J. McBride, M. J. Zehe, S. Gordon, "NASA
// Glenn Coefficients for Calculating Thermodynamic Properties of Individual Species",
// NASA TP-2002-211556 (2002). Standard state 1 bar.
//
// Header-only so that the tests can regenerate the property file in-process.
#pragma once

#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace gpropgen {

// The gas constant the coefficients were fitted with, J/(mol K).
constexpr double kRFit = 8.314510;

struct Nasa9Interval {
    double tmin = 0, tmax = 0;  // K
    double a[7] = {};           // Cp/R = a1 T^-2 + a2 T^-1 + a3 + a4 T + ... + a7 T^4
    double b1 = 0;              // integration constant of H/(RT), K
    double b2 = 0;              // integration constant of S/R
    double h298_minus_h0 = 0;   // H(298.15) - H(0), J/mol
};

struct Nasa9Species {
    std::string name;
    double molar_mass = 0;  // g/mol (= kg/kmol)
    double h298 = 0;        // assigned enthalpy H(298.15), the enthalpy of formation, J/mol
    std::vector<std::pair<std::string, double>> elements;  // symbol and count, as listed
    std::vector<Nasa9Interval> intervals;

    // The first interval that holds T; neighbouring intervals agree at their shared bound.
    const Nasa9Interval& interval_at(double T) const {
        for (const auto& iv : intervals)
            if (T >= iv.tmin && T <= iv.tmax) return iv;
        throw std::runtime_error(name + ": no coefficients at " + std::to_string(T) + " K");
    }

    double cp_R(double T) const {
        const double* a = interval_at(T).a;
        return a[0] / (T * T) + a[1] / T + a[2] + T * (a[3] + T * (a[4] + T * (a[5] + T * a[6])));
    }

    double h_RT(double T) const {
        const Nasa9Interval& iv = interval_at(T);
        const double* a = iv.a;
        return -a[0] / (T * T) + a[1] * std::log(T) / T + a[2] +
               T * (a[3] / 2 + T * (a[4] / 3 + T * (a[5] / 4 + T * a[6] / 5))) + iv.b1 / T;
    }

    double s_R(double T) const {
        const Nasa9Interval& iv = interval_at(T);
        const double* a = iv.a;
        return -a[0] / (2 * T * T) - a[1] / T + a[2] * std::log(T) +
               T * (a[3] + T * (a[4] / 2 + T * (a[5] / 3 + T * a[6] / 4))) + iv.b2;
    }
};

namespace detail {

inline std::string trimmed(std::string_view s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos) return {};
    size_t e = s.find_last_not_of(" \t\r");
    return std::string(s.substr(b, e - b + 1));
}

// Columns first..last (1-based, inclusive) of a line; short lines give what they have.
inline std::string_view columns(std::string_view line, size_t first, size_t last) {
    if (line.size() < first) return {};
    return line.substr(first - 1, last - first + 1);
}

// A number field; the Fortran exponent letter D is read as E.
inline double number(std::string_view line, size_t first, size_t last, int line_no) {
    std::string text = trimmed(columns(line, first, last));
    for (char& c : text)
        if (c == 'D' || c == 'd') c = 'E';
    char* end = nullptr;
    double v = text.empty() ? 0.0 : std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0')
        throw std::runtime_error("line " + std::to_string(line_no) + ", columns " +
                                 std::to_string(first) + "-" + std::to_string(last) +
                                 ": not a number: \"" + text + "\"");
    return v;
}

inline std::vector<std::string_view> lines_of(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        size_t lf = text.find('\n');
        std::string_view line = text.substr(0, lf);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (lf == std::string_view::npos) break;
        text.remove_prefix(lf + 1);
    }
    return lines;
}

}  // namespace detail

// Reads every entry of a file of NASA 9-coefficient entries. Blank lines and comment
// lines (starting with '!' or '#') between entries are passed over.
// Entry layout: line 1 the name (columns 1-18); line 2 the number of intervals (1-2),
// the molar mass (53-65) and the assigned enthalpy (66-80); then per interval
// Tmin, Tmax (1-22) and H(298.15)-H(0) (66-80); a1..a5 (16 columns each); a6, a7
// (1-32), b1 (49-64), b2 (65-80).
inline std::vector<Nasa9Species> parse_nasa9(std::string_view text) {
    using detail::number;
    std::vector<std::string_view> lines = detail::lines_of(text);
    std::vector<Nasa9Species> out;
    size_t i = 0;
    auto need = [&](size_t n) {
        if (i + n > lines.size())
            throw std::runtime_error("line " + std::to_string(lines.size()) +
                                     ": the file ends inside the entry of " + out.back().name);
    };
    while (i < lines.size()) {
        std::string head = detail::trimmed(lines[i]);
        if (head.empty() || head[0] == '!' || head[0] == '#') {
            ++i;
            continue;
        }
        Nasa9Species sp;
        sp.name = detail::trimmed(detail::columns(lines[i], 1, 18));
        out.push_back(sp);
        need(2);
        int no = static_cast<int>(i) + 2;
        std::string_view l2 = lines[i + 1];
        double count = number(l2, 1, 2, no);
        Nasa9Species& s = out.back();
        // Up to five elements: a 2-column symbol and a 6-column count each, from column 11.
        for (size_t k = 0; k < 5; ++k) {
            std::string symbol = detail::trimmed(detail::columns(l2, 11 + 8 * k, 12 + 8 * k));
            const double n = number(l2, 13 + 8 * k, 18 + 8 * k, no);
            if (!symbol.empty() && n != 0) s.elements.emplace_back(symbol, n);
        }
        s.molar_mass = number(l2, 53, 65, no);
        s.h298 = number(l2, 66, 80, no);
        i += 2;
        if (count < 1 || count > 10 || count != std::floor(count))
            throw std::runtime_error("line " + std::to_string(no) + ": bad number of intervals");
        for (int k = 0; k < static_cast<int>(count); ++k) {
            need(3);
            Nasa9Interval iv;
            int na = static_cast<int>(i) + 1;
            iv.tmin = number(lines[i], 1, 11, na);
            iv.tmax = number(lines[i], 12, 22, na);
            iv.h298_minus_h0 = number(lines[i], 66, 80, na);
            for (size_t c = 0; c < 5; ++c) iv.a[c] = number(lines[i + 1], 1 + 16 * c, 16 + 16 * c, na + 1);
            iv.a[5] = number(lines[i + 2], 1, 16, na + 2);
            iv.a[6] = number(lines[i + 2], 17, 32, na + 2);
            iv.b1 = number(lines[i + 2], 49, 64, na + 2);
            iv.b2 = number(lines[i + 2], 65, 80, na + 2);
            if (!(iv.tmin < iv.tmax))
                throw std::runtime_error("line " + std::to_string(na) + ": empty temperature interval");
            s.intervals.push_back(iv);
            i += 3;
        }
    }
    return out;
}

}  // namespace gpropgen
