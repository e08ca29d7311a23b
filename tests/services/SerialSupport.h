#pragma once

// Byte-level helpers of the record tests.

#include "serialization.h"

#include <cstdint>
#include <sstream>
#include <string>

namespace serialtest {

// "0a ff ..." for comparing bytes in test output.
inline std::string hex(const std::string &bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        if (!out.empty())
            out += ' ';
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

inline std::string mask(std::uint32_t m) {
    std::ostringstream out;
    vk::writeMask(out, m);
    return out.str();
}

inline std::string int32(int n) {
    std::ostringstream out;
    vk::writeInt(out, n);
    return out.str();
}

inline std::string count(std::uint64_t n) {
    std::ostringstream out;
    vk::writeCount(out, n);
    return out.str();
}

} // namespace serialtest
