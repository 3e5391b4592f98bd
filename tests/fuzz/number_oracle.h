// A second conversion of a number's text, for checking the reads against: the text's
// form is checked on its own and the value taken from strtod, which rounds correctly.
#pragma once

#include <string_view>
#include <vector>

namespace fuzz {

// What the conversion of `text` must give: false for a text that is not a number in
// the solvers' form or is beyond the range of a double; else true and the value.
bool reference_number(std::string_view text, int implied_decimals, double& value);

// Converts text with the reads' own conversion and requires the same answer.
void check_number(std::string_view text, int implied_decimals);

// What n free-form reads of a file must give, worked out apart from the reads: the
// values read (a null value leaves 0) up to the read that fails, and the input/output
// error number of that read (0 when all n succeed).
struct FreeReads {
    std::vector<double> values;
    int error = 0;
};
FreeReads reference_free_reads(std::string_view file, int n);

}  // namespace fuzz
