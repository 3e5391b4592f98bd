// Report pieces that the TP and UV programs share: the echo of the input and the
// results section (mixture properties, mole fractions and the cut-and-paste column).
#pragma once

#include <span>
#include <string_view>

namespace core {

// A free-form write with no items: a record holding one blank.
void write_blank_record(int unit);

// The three lines that ask the user to compare the echo with the input file, and an
// empty line.
void write_echo_intro(std::string_view input_name);

// One echoed value: two blanks, the label padded to the label width, the value in Fw.d.
struct EchoLine {
    std::string_view label;
    double value;
    int w, d;
};
// The value lines and the empty line that closes the echo.
void write_echo_values(std::span<const EchoLine> lines, int label_width);

}  // namespace core
