// Conversion of a number's text, shared by the free-form and the fixed-field reads.
#pragma once

#include <string_view>

namespace core {

// The text must be used up entirely: an optional sign; digits with at most one point
// and at least one digit; an optional exponent, E, e, D or d with an optional sign and
// digits, or a sign followed directly by digits (1.5+3 is 1500).
// implied_decimals applies when the text has no point: its last digits are decimals.
// Returns false for anything else, and for a value beyond the range of a double.
bool parse_number(std::string_view text, double& value, int implied_decimals = 0);

}  // namespace core
