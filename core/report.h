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

// A labelled result line: two blanks, the label, the value in Fw.d or Ew.d.
struct ResultLine {
    std::string_view label;
    double value;
    char form;  // 'F' or 'E'
    int w, d;
};

// The results section after a solution: the title, the program's own head lines (the
// UV program's flame temperature and pressure), the mixture properties, the mole
// fractions, and all of them once more in a column for copying into other tools, the
// head values first. Reads PROP and BLOC.
void write_results(std::string_view title, std::span<const ResultLine> head);

}  // namespace core
