#pragma once

#include <vessik/export.h>

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>

namespace vk {

// The byte forms shared by every serialized record: little-endian whatever
// the machine, a mask and an int in 4 bytes, a float as its IEEE-754 single
// bits, a bool in one byte (0 or 1), a count in 8 bytes, a string as its
// 8-byte length and then its characters, with no terminator.
//
// Records come from elsewhere, so reading trusts nothing: a read that runs
// out of bytes fails the stream and leaves the target unchanged, and a
// length or count is checked against the bytes the stream still holds
// before anything is allocated for it.

VK_API void writeMask(std::ostream &out, std::uint32_t mask);
VK_API void writeInt(std::ostream &out, int value);
VK_API void writeFloat(std::ostream &out, float value);
VK_API void writeBool(std::ostream &out, bool value);
VK_API void writeByte(std::ostream &out, unsigned char value);
VK_API void writeCount(std::ostream &out, std::uint64_t count);
VK_API void writeString(std::ostream &out, const std::string &text);

// Each returns false, with the stream failed and `value` untouched, when the
// bytes are not all there. A bool byte other than 0 reads as true.
VK_API bool readMask(std::istream &in, std::uint32_t &value);
VK_API bool readInt(std::istream &in, int &value);
VK_API bool readFloat(std::istream &in, float &value);
VK_API bool readBool(std::istream &in, bool &value);
VK_API bool readByte(std::istream &in, unsigned char &value);
VK_API bool readCount(std::istream &in, std::uint64_t &value);

// How many bytes the stream still holds, or -1 when it cannot tell (a stream
// that cannot seek).
[[nodiscard]] VK_API std::int64_t bytesLeft(std::istream &in);

// Whether `count` items of at least `item_size` bytes each can still follow.
// When they cannot, the stream is failed as a read past its end would fail
// it. A stream that cannot tell gets the benefit of the doubt.
VK_API bool canHold(std::istream &in, std::uint64_t count, std::size_t item_size);

// What reading a string's characters came to.
enum class CharsRead {
    OK,
    // fewer bytes than the length: the stream is failed
    SHORT,
    // no memory for the characters: they are still unread
    NO_MEMORY,
};

// Reads `length` characters into `text`; the text ends at the first zero
// byte, if any. Memory is taken only for bytes that are present.
VK_API CharsRead readChars(std::istream &in, std::uint64_t length, std::string &text);

// The mask as 32 characters '0' or '1', bit 31 first.
[[nodiscard]] VK_API std::string bitText(std::uint32_t mask);

} // namespace vk
