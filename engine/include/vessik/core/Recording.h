#pragma once

#include <vessik/export.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vk {

// A recorded run: what the game ran with (engine, game, seed, settings) and,
// step by step, every input the input manager delivered, with a check of the
// frame every `check_every` steps.
//
// On disk, little-endian: "VKRC", the format version (u16), the header
// strings (u16 length + bytes each), the seed (u32) and the check interval
// (u32); then one entry per input, per check and per step end, each a tag
// byte and its fields; and last a finish entry with the step count. A record
// without its finish entry was cut short.
//
// Records come from anywhere, so reading bounds every size by what the bytes
// hold and by the limits below, and says which way a record is unusable.
struct VK_API Recording {
    static constexpr std::uint16_t VERSION = 1;
    // Records are kept whole in memory while they play.
    static constexpr std::size_t MAX_FILE_BYTES = 64u << 20;
    static constexpr std::size_t MAX_TEXT_BYTES = 1024;

    enum InputKind : std::uint8_t { KEYBOARD = 1, MOUSE = 2, CLOSED = 3 };

    // One input as delivered: a keyboard action and key, a mouse action,
    // button and cell position, or the window closing.
    struct Input {
        int step = 0;
        InputKind kind = KEYBOARD;
        int action = 0;
        // the key, or the mouse button
        int code = 0;
        float x = 0;
        float y = 0;
    };

    // What the frame showed at the end of a step.
    struct Check {
        int step = 0;
        std::uint64_t frame_hash = 0;
        int object_count = 0;
    };

    std::string engine_version;
    std::string game_name;
    std::string game_version;
    // the settings that change behaviour, as configuration entries
    std::string config;
    std::uint32_t seed = 0;
    // 0 for a record of inputs only
    int check_every = 1;
    int step_count = 0;
    std::vector<Input> inputs;
    std::vector<Check> checks;

    // Reads a record from `bytes`; 0, or -1 with the reason in `error`.
    int parse(const std::string &bytes, std::string &error);
    // Reads a record from a file; 0, or -1 with the reason in `error`.
    int load(const std::string &path, std::string &error);

    // The encoded pieces a record is written from, in this order: the
    // header, the entries of each step, then the finish.
    [[nodiscard]] std::string encodeHeader() const;
    [[nodiscard]] static std::string encodeInput(const Input &input);
    [[nodiscard]] static std::string encodeCheck(const Check &check);
    [[nodiscard]] static std::string encodeStepEnd();
    [[nodiscard]] static std::string encodeFinish(int step_count);

    // The whole record, as parse() reads it.
    [[nodiscard]] std::string encode() const;
};

} // namespace vk
