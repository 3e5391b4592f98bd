// Output edit forms of the solvers' fixed-column records, and a small record builder.
//
//   Fw.d  fixed point: sign, integer digits, point, d decimals; no zero before the
//         point; a value that rounds to zero has no minus sign; "0." only for d = 0.
//   Ew.d  .d1..dd E+xx; with a three-digit exponent the E is left out (.1000+100).
//   Iw    integer; Aw text; nX blanks.
// Every field is right-justified in w columns and filled with asterisks when the text
// does not fit, or when the value is not finite (NaN or infinity never reach a report).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace core {

void put_F(std::string& out, double v, int w, int d);
void put_F(std::string& out, float v, int w, int d);
void put_E(std::string& out, double v, int w, int d);
void put_E(std::string& out, float v, int w, int d);
void put_I(std::string& out, std::int64_t v, int w);
// Aw: w > L gives w - L blanks then the item; otherwise the first w characters.
void put_A(std::string& out, std::string_view item, int w);

// One output record, built left to right.
class Record {
public:
    Record& X(int n) { text_.append(static_cast<size_t>(n), ' '); return *this; }
    Record& lit(std::string_view s) { text_.append(s); return *this; }
    Record& A(std::string_view s) { text_.append(s); return *this; }
    Record& A(std::string_view s, int w) { put_A(text_, s, w); return *this; }
    Record& F(double v, int w, int d) { put_F(text_, v, w, d); return *this; }
    Record& E(double v, int w, int d) { put_E(text_, v, w, d); return *this; }
    Record& I(std::int64_t v, int w) { put_I(text_, v, w); return *this; }
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

}  // namespace core
