// fuelgen: writes FUELS.DAT, the named fuels of the Python module, from the NASA Glenn
// coefficients of the fuels and of the oxidizer's species.
//
//   fuelgen <fuels.nasa9>... <products.nasa9> <FUELS.DAT>
//   (as shipped: fuelgen data/thermo/fuels.nasa9 data/thermo/fuels-extra.nasa9
//                        data/thermo/products.nasa9 data/FUELS.DAT)
#include <iostream>
#include <string>
#include <vector>

#include "../gpropgen/whole_file.h"
#include "fuel_records.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: fuelgen <fuels.nasa9>... <products.nasa9> <FUELS.DAT>\n";
        return 2;
    }
    std::vector<std::string> sources(argc - 2);  // the fuel files, then products.nasa9
    for (int i = 1; i < argc - 1; ++i)
        if (!gpropgen::read_whole_file(argv[i], sources[i - 1])) {
            std::cerr << "fuelgen: cannot read " << argv[i] << "\n";
            return 1;
        }
    std::string text;
    try {
        const std::vector<std::string_view> fuels(sources.begin(), sources.end() - 1);
        text = fuelgen::fuels_text(fuels, sources.back());
    } catch (const std::exception& e) {
        std::cerr << "fuelgen: " << e.what() << "\n";
        return 1;
    }
    if (!gpropgen::write_whole_file(argv[argc - 1], text)) {
        std::cerr << "fuelgen: cannot write " << argv[argc - 1] << "\n";
        return 1;
    }
    return 0;
}
