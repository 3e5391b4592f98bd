// Decimal digit generation for the output forms, kept apart from their layout.
//
// A value is first converted to a correctly rounded decimal string of at most 16
// significant digits (7 for a single-precision value); the forms then round that
// string half up to the digits they need. Rounding twice this way is deliberate: it
// is how the reports have always printed (0.12345 in F7.4 shows .1235 because the
// 16-digit string ends in ...50000).
#pragma once

namespace core {

struct Digits {
    char d[24];     // significant digits, no leading zero unless the value is 0
    int n = 0;      // how many of d are set
    int exp = 0;    // value = 0.d1d2...dn * 10^exp
    bool negative = false;
    bool zero = true;

    // Rounds half up to k significant digits (k may be <= 0: everything is dropped,
    // and only k = 0 with a first digit of 5..9 keeps a carry). Digits beyond n read as 0.
    void round_to(int k);
    // The i-th digit (0-based) as a character, '0' past the end.
    char at(int i) const { return i < n ? d[i] : '0'; }
};

// Digits of a finite value: 16 significant digits for a double, 7 for a float.
Digits decimal_digits(double v);
Digits decimal_digits(float v);

}  // namespace core
