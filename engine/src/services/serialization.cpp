#include <vessik/services/serialization.h>

#include <cstring>
#include <istream>
#include <new>
#include <ostream>

namespace vk {

namespace {

template <int N> void writeLittle(std::ostream &out, std::uint64_t value) {
    char bytes[N];
    for (int i = 0; i < N; i++)
        bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    out.write(bytes, N);
}

template <int N> bool readLittle(std::istream &in, std::uint64_t &value) {
    unsigned char bytes[N];
    if (!in.read(reinterpret_cast<char *>(bytes), N))
        return false;
    value = 0;
    for (int i = 0; i < N; i++)
        value |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
    return true;
}

// Characters are read in pieces of this size when the stream cannot say how
// many it holds.
constexpr std::uint64_t PIECE = 4096;

void failAsAtEnd(std::istream &in) { in.setstate(std::ios::eofbit | std::ios::failbit); }

} // namespace

void writeMask(std::ostream &out, std::uint32_t mask) { writeLittle<4>(out, mask); }

void writeInt(std::ostream &out, int value) { writeLittle<4>(out, static_cast<std::uint32_t>(value)); }

void writeFloat(std::ostream &out, float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    writeLittle<4>(out, bits);
}

void writeBool(std::ostream &out, bool value) { writeLittle<1>(out, value ? 1 : 0); }

void writeByte(std::ostream &out, unsigned char value) { writeLittle<1>(out, value); }

void writeCount(std::ostream &out, std::uint64_t count) { writeLittle<8>(out, count); }

void writeString(std::ostream &out, const std::string &text) {
    writeCount(out, text.size());
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

bool readMask(std::istream &in, std::uint32_t &value) {
    std::uint64_t raw = 0;
    if (!readLittle<4>(in, raw))
        return false;
    value = static_cast<std::uint32_t>(raw);
    return true;
}

bool readInt(std::istream &in, int &value) {
    std::uint32_t raw = 0;
    if (!readMask(in, raw))
        return false;
    // two's complement, without relying on the conversion of large values
    value = raw <= 0x7FFFFFFFu ? static_cast<int>(raw) : -static_cast<int>(~raw) - 1;
    return true;
}

bool readFloat(std::istream &in, float &value) {
    std::uint32_t bits = 0;
    if (!readMask(in, bits))
        return false;
    std::memcpy(&value, &bits, sizeof value);
    return true;
}

bool readBool(std::istream &in, bool &value) {
    std::uint64_t raw = 0;
    if (!readLittle<1>(in, raw))
        return false;
    value = raw != 0;
    return true;
}

bool readByte(std::istream &in, unsigned char &value) {
    std::uint64_t raw = 0;
    if (!readLittle<1>(in, raw))
        return false;
    value = static_cast<unsigned char>(raw);
    return true;
}

bool readCount(std::istream &in, std::uint64_t &value) { return readLittle<8>(in, value); }

std::int64_t bytesLeft(std::istream &in) {
    if (!in.good())
        return 0;
    const std::istream::pos_type here = in.tellg();
    if (here == std::istream::pos_type(-1))
        return -1;
    in.seekg(0, std::ios::end);
    const std::istream::pos_type end = in.tellg();
    in.seekg(here);
    if (end == std::istream::pos_type(-1) || !in.good()) {
        in.clear();
        in.seekg(here);
        return -1;
    }
    return static_cast<std::int64_t>(end - here);
}

bool canHold(std::istream &in, std::uint64_t count, std::size_t item_size) {
    if (!in.good())
        return false;
    const std::int64_t left = bytesLeft(in);
    if (left < 0 || item_size == 0)
        return true;
    if (count > static_cast<std::uint64_t>(left) / item_size) {
        failAsAtEnd(in);
        return false;
    }
    return true;
}

CharsRead readChars(std::istream &in, std::uint64_t length, std::string &text) {
    if (!canHold(in, length, 1))
        return CharsRead::SHORT;
    std::string read;
    try {
        if (bytesLeft(in) >= 0) {
            read.resize(static_cast<std::size_t>(length));
            if (!in.read(read.data(), static_cast<std::streamsize>(length)))
                return CharsRead::SHORT;
        } else {
            // the string grows only with what has arrived
            char piece[PIECE];
            for (std::uint64_t done = 0; done < length;) {
                const std::uint64_t want = length - done < PIECE ? length - done : PIECE;
                in.read(piece, static_cast<std::streamsize>(want));
                read.append(piece, static_cast<std::size_t>(in.gcount()));
                if (!in)
                    return CharsRead::SHORT;
                done += want;
            }
        }
    } catch (const std::bad_alloc &) {
        return CharsRead::NO_MEMORY;
    } catch (const std::length_error &) {
        return CharsRead::NO_MEMORY;
    }
    const std::size_t zero = read.find('\0');
    if (zero != std::string::npos)
        read.resize(zero);
    text = std::move(read);
    return CharsRead::OK;
}

std::string bitText(std::uint32_t mask) {
    std::string text(32, '0');
    for (int bit = 0; bit < 32; bit++)
        if (mask & (1u << bit))
            text[static_cast<std::size_t>(31 - bit)] = '1';
    return text;
}

} // namespace vk
