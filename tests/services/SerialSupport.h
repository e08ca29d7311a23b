#pragma once

// Byte-level helpers of the record tests.

#include <vessik/services/serialization.h>

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

// The bytes one writer puts out for `value`.
template <typename T> std::string written(void (*write)(std::ostream &, T), T value) {
    std::ostringstream out;
    write(out, value);
    return out.str();
}
inline std::string mask(std::uint32_t m) { return written(vk::writeMask, m); }
inline std::string int32(int n) { return written(vk::writeInt, n); }
inline std::string count(std::uint64_t n) { return written(vk::writeCount, n); }

} // namespace serialtest
