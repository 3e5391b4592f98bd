// fuelgen: writes FUELS.DAT, the named fuels of the Python module, from the NASA Glenn
// coefficients of the fuels and of the oxidizer's species.
//
//   fuelgen <fuels.nasa9> <products.nasa9> <FUELS.DAT>
#include <iostream>

#include "../gpropgen/whole_file.h"
#include "fuel_records.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: fuelgen <fuels.nasa9> <products.nasa9> <FUELS.DAT>\n";
        return 2;
    }
    std::string fuels, products, text;
    for (auto [path, into] : {std::pair{argv[1], &fuels}, std::pair{argv[2], &products}})
        if (!gpropgen::read_whole_file(path, *into)) {
            std::cerr << "fuelgen: cannot read " << path << "\n";
            return 1;
        }
    try {
        text = fuelgen::fuels_text(fuels, products);
    } catch (const std::exception& e) {
        std::cerr << "fuelgen: " << e.what() << "\n";
        return 1;
    }
    if (!gpropgen::write_whole_file(argv[3], text)) {
        std::cerr << "fuelgen: cannot write " << argv[3] << "\n";
        return 1;
    }
    return 0;
}
