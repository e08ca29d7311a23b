#include <vessik/core/Recording.h>

#include <vessik/display/Keyboard.h>
#include <vessik/display/Mouse.h>

#include <cmath>
#include <cstring>
#include <fstream>

namespace vk {

namespace {

constexpr char MAGIC[4] = {'V', 'K', 'R', 'C'};

enum Tag : std::uint8_t { INPUT = 1, CHECK = 2, STEP_END = 3, FINISH = 4 };

// A record has this many steps at most: a run of years at 30 steps a second.
constexpr std::uint32_t MAX_STEPS = 0x7fffffff;
constexpr std::uint32_t MAX_CHECK_EVERY = 1000000;

void putU8(std::string &out, std::uint8_t v) { out.push_back(static_cast<char>(v)); }

void putU16(std::string &out, std::uint16_t v) {
    putU8(out, static_cast<std::uint8_t>(v & 0xff));
    putU8(out, static_cast<std::uint8_t>(v >> 8));
}

void putU32(std::string &out, std::uint32_t v) {
    putU16(out, static_cast<std::uint16_t>(v & 0xffff));
    putU16(out, static_cast<std::uint16_t>(v >> 16));
}

void putU64(std::string &out, std::uint64_t v) {
    putU32(out, static_cast<std::uint32_t>(v & 0xffffffffu));
    putU32(out, static_cast<std::uint32_t>(v >> 32));
}

void putFloat(std::string &out, float f) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    putU32(out, bits);
}

void putText(std::string &out, const std::string &text) {
    // longer texts are cut, so that every record written can be read
    const std::size_t length = std::min(text.size(), Recording::MAX_TEXT_BYTES);
    putU16(out, static_cast<std::uint16_t>(length));
    out.append(text, 0, length);
}

// Reads little-endian fields off the front of the bytes; a read past the end
// marks the reader truncated and yields zeros.
class Reader {
  public:
    explicit Reader(const std::string &bytes) : m_bytes(bytes) {}

    [[nodiscard]] bool truncated() const noexcept { return m_truncated; }
    [[nodiscard]] bool atEnd() const noexcept { return m_at == m_bytes.size(); }
    [[nodiscard]] std::size_t offset() const noexcept { return m_at; }

    std::uint64_t take(int bytes) {
        if (m_bytes.size() - m_at < static_cast<std::size_t>(bytes)) {
            m_truncated = true;
            m_at = m_bytes.size();
            return 0;
        }
        std::uint64_t v = 0;
        for (int i = 0; i < bytes; i++)
            v |= static_cast<std::uint64_t>(static_cast<unsigned char>(m_bytes[m_at + i])) << (8 * i);
        m_at += static_cast<std::size_t>(bytes);
        return v;
    }
    std::uint8_t u8() { return static_cast<std::uint8_t>(take(1)); }
    std::uint16_t u16() { return static_cast<std::uint16_t>(take(2)); }
    std::uint32_t u32() { return static_cast<std::uint32_t>(take(4)); }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    float f32() {
        const std::uint32_t bits = u32();
        float f = 0;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
    // A length-prefixed text; false when its length passes the limit.
    bool text(std::string &out) {
        const std::uint16_t length = u16();
        if (length > Recording::MAX_TEXT_BYTES)
            return false;
        if (m_bytes.size() - m_at < length) {
            m_truncated = true;
            m_at = m_bytes.size();
            return true;
        }
        out.assign(m_bytes, m_at, length);
        m_at += length;
        return true;
    }

  private:
    const std::string &m_bytes;
    std::size_t m_at = 0;
    bool m_truncated = false;
};

// Whether an input could have come from the input manager.
bool plausible(const Recording::Input &input) {
    switch (input.kind) {
    case Recording::KEYBOARD:
        return input.action >= KEY_PRESSED && input.action <= KEY_DOWN && input.code >= Keyboard::UNDEFINED_KEY &&
               input.code < Keyboard::KEY_VALUES;
    case Recording::MOUSE:
        return input.action >= CLICKED && input.action <= MOVED && input.code >= Mouse::UNDEFINED_MOUSE_BUTTON &&
               input.code <= Mouse::MIDDLE && std::isfinite(input.x) && std::isfinite(input.y);
    case Recording::CLOSED:
        return input.action == 0 && input.code == 0;
    }
    return false;
}

} // namespace

int Recording::parse(const std::string &bytes, std::string &error) {
    *this = Recording{};
    Reader in(bytes);
    const auto corrupt = [&](const char *what) {
        error = "corrupt at byte " + std::to_string(in.offset()) + ": " + what;
        return -1;
    };
    const auto truncated = [&] {
        error = "truncated after " + std::to_string(bytes.size()) + " bytes";
        return -1;
    };

    if (bytes.size() < sizeof MAGIC || bytes.compare(0, sizeof MAGIC, MAGIC, sizeof MAGIC) != 0) {
        error = "not a Vessik record";
        return -1;
    }
    in.take(sizeof MAGIC);
    const std::uint16_t version = in.u16();
    if (in.truncated())
        return truncated();
    if (version != VERSION) {
        error = "format version " + std::to_string(version) + ", not " + std::to_string(VERSION);
        return -1;
    }
    for (std::string *p_text : {&engine_version, &game_name, &game_version, &config})
        if (!in.text(*p_text))
            return corrupt("text too long");
    seed = in.u32();
    const std::uint32_t every = in.u32();
    if (in.truncated())
        return truncated();
    if (every > MAX_CHECK_EVERY)
        return corrupt("check interval out of range");
    check_every = static_cast<int>(every);

    bool checked = false;
    // whether the step being read holds anything yet
    bool started = false;
    std::uint32_t steps = 0;
    while (true) {
        const std::uint8_t tag = in.u8();
        if (in.truncated())
            return truncated();
        if (tag == FINISH) {
            const std::uint32_t count = in.u32();
            if (in.truncated())
                return truncated();
            if (count != steps)
                return corrupt("step count does not match the steps");
            if (started)
                return corrupt("entries after the last step");
            if (!in.atEnd())
                return corrupt("data after the end");
            step_count = static_cast<int>(steps);
            return 0;
        }
        if (tag == STEP_END) {
            if (steps == MAX_STEPS)
                return corrupt("too many steps");
            steps++;
            checked = false;
            started = false;
            continue;
        }
        if (tag == INPUT) {
            Input input;
            input.step = static_cast<int>(steps);
            input.kind = static_cast<InputKind>(in.u8());
            input.action = static_cast<std::int8_t>(in.u8());
            input.code = static_cast<std::int16_t>(in.u16());
            input.x = in.f32();
            input.y = in.f32();
            if (in.truncated())
                return truncated();
            if (!plausible(input))
                return corrupt("impossible input");
            // a step's check is taken after its inputs
            if (checked)
                return corrupt("input after the check");
            inputs.push_back(input);
            started = true;
            continue;
        }
        if (tag == CHECK) {
            Check check;
            check.step = static_cast<int>(steps);
            check.frame_hash = in.take(8);
            check.object_count = in.i32();
            if (in.truncated())
                return truncated();
            if (checked || check_every == 0 || check.object_count < 0)
                return corrupt("unexpected check");
            checked = true;
            started = true;
            checks.push_back(check);
            continue;
        }
        return corrupt("unknown entry");
    }
}

int Recording::load(const std::string &path, std::string &error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot be opened";
        return -1;
    }
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    if (size < 0 || static_cast<std::uint64_t>(size) > MAX_FILE_BYTES) {
        error = "larger than " + std::to_string(MAX_FILE_BYTES) + " bytes";
        return -1;
    }
    file.seekg(0);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!file.read(bytes.data(), size)) {
        error = "cannot be read";
        return -1;
    }
    return parse(bytes, error);
}

std::string Recording::encodeHeader() const {
    std::string out(MAGIC, sizeof MAGIC);
    putU16(out, VERSION);
    for (const std::string *p_text : {&engine_version, &game_name, &game_version, &config})
        putText(out, *p_text);
    putU32(out, seed);
    putU32(out, static_cast<std::uint32_t>(check_every));
    return out;
}

std::string Recording::encodeInput(const Input &input) {
    std::string out;
    putU8(out, INPUT);
    putU8(out, input.kind);
    putU8(out, static_cast<std::uint8_t>(input.action));
    putU16(out, static_cast<std::uint16_t>(input.code));
    putFloat(out, input.x);
    putFloat(out, input.y);
    return out;
}

std::string Recording::encodeCheck(const Check &check) {
    std::string out;
    putU8(out, CHECK);
    putU64(out, check.frame_hash);
    putU32(out, static_cast<std::uint32_t>(check.object_count));
    return out;
}

std::string Recording::encodeStepEnd() { return std::string(1, static_cast<char>(STEP_END)); }

std::string Recording::encodeFinish(int count) {
    std::string out;
    putU8(out, FINISH);
    putU32(out, static_cast<std::uint32_t>(count));
    return out;
}

std::string Recording::encode() const {
    std::string out = encodeHeader();
    std::size_t next_input = 0;
    std::size_t next_check = 0;
    for (int step = 0; step < step_count; step++) {
        for (; next_input < inputs.size() && inputs[next_input].step == step; next_input++)
            out += encodeInput(inputs[next_input]);
        for (; next_check < checks.size() && checks[next_check].step == step; next_check++)
            out += encodeCheck(checks[next_check]);
        out += encodeStepEnd();
    }
    out += encodeFinish(step_count);
    return out;
}

} // namespace vk
