// Whole-file reads and writes of the data generators (gpropgen, fuelgen).
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace gpropgen {

// The file's bytes into text; false when it cannot be read.
inline bool read_whole_file(const char* path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    text = s.str();
    return true;
}

// The text as the file's whole content; false when it cannot be written.
inline bool write_whole_file(const char* path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

}  // namespace gpropgen
