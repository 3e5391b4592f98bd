// gpropgen: writes the solvers' property file GPROP.DAT from the NASA Glenn coefficients
// of the twelve product species.
//
//   gpropgen <products.nasa9> <GPROP.DAT>
#include <iostream>

#include "gprop_records.h"
#include "gprop_tables.h"
#include "nasa9.h"
#include "whole_file.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: gpropgen <products.nasa9> <GPROP.DAT>\n";
        return 2;
    }
    std::string source, text;
    if (!gpropgen::read_whole_file(argv[1], source)) {
        std::cerr << "gpropgen: cannot read " << argv[1] << "\n";
        return 1;
    }
    try {
        text = gpropgen::gprop_text(gpropgen::build_gprop(gpropgen::parse_nasa9(source)));
    } catch (const std::exception& e) {
        std::cerr << "gpropgen: " << argv[1] << ": " << e.what() << "\n";
        return 1;
    }
    if (!gpropgen::write_whole_file(argv[2], text)) {
        std::cerr << "gpropgen: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
