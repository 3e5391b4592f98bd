// gpropgen: writes the solvers' property file GPROP.DAT from the NASA Glenn coefficients
// of the twelve product species.
//
//   gpropgen <products.nasa9> <GPROP.DAT>
#include <fstream>
#include <iostream>
#include <sstream>

#include "gprop_records.h"
#include "gprop_tables.h"
#include "nasa9.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: gpropgen <products.nasa9> <GPROP.DAT>\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "gpropgen: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::ostringstream source;
    source << in.rdbuf();
    std::string text;
    try {
        text = gpropgen::gprop_text(gpropgen::build_gprop(gpropgen::parse_nasa9(source.str())));
    } catch (const std::exception& e) {
        std::cerr << "gpropgen: " << argv[1] << ": " << e.what() << "\n";
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        std::cerr << "gpropgen: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
