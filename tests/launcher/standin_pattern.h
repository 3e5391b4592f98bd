// The bytes a stand-in solver writes to its error stream: the letters a to z over and
// over, so that any prefix tells its own length.
#pragma once

#include <string>

namespace standin {

inline std::string Pattern(size_t length) {
    std::string bytes(length, ' ');
    for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>('a' + i % 26);
    return bytes;
}

}  // namespace standin
