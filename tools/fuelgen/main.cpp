// fuelgen: writes FUELS.DAT, the named fuels of the Python module, from the NASA Glenn
// coefficients of the fuels and of the oxidizer's species.
//
//   fuelgen <fuels.nasa9> <products.nasa9> <FUELS.DAT>
#include <fstream>
#include <iostream>
#include <sstream>

#include "fuel_records.h"

namespace {

bool read_whole(const char* path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    text = s.str();
    return static_cast<bool>(in);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: fuelgen <fuels.nasa9> <products.nasa9> <FUELS.DAT>\n";
        return 2;
    }
    std::string fuels, products, text;
    for (auto [path, into] : {std::pair{argv[1], &fuels}, std::pair{argv[2], &products}})
        if (!read_whole(path, *into)) {
            std::cerr << "fuelgen: cannot read " << path << "\n";
            return 1;
        }
    try {
        text = fuelgen::fuels_text(fuels, products);
    } catch (const std::exception& e) {
        std::cerr << "fuelgen: " << e.what() << "\n";
        return 1;
    }
    std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        std::cerr << "fuelgen: cannot write " << argv[3] << "\n";
        return 1;
    }
    return 0;
}
