#include <vessik/display/TerminalKeys.h>

#include <gtest/gtest.h>

#include <csignal>
#include <string>

using vk::TerminalKeys;
namespace Key = vk::Keyboard;

namespace {

constexpr std::int64_t MS = 1000;

// What came out, one word per input: "P36" (key 36 pressed), "R36", "C0@10,5"
// (button 0 clicked at a terminal cell), "M@2,3" (moved), "S2" (signal 2).
std::string heard(TerminalKeys &keys) {
    std::string out;
    for (const vk::TerminalInput &in : keys.take()) {
        if (!out.empty())
            out += ' ';
        if (in.kind == vk::TerminalInput::SIGNAL)
            out += "S" + std::to_string(in.signal);
        else if (in.kind == vk::TerminalInput::KEY)
            out += (in.key_action == vk::KEY_PRESSED ? "P" : "R") + std::to_string(in.key);
        else
            out += (in.mouse_action == vk::CLICKED ? "C" + std::to_string(in.button) : std::string("M")) + "@" +
                   std::to_string(in.column) + "," + std::to_string(in.row);
    }
    return out;
}

void feed(TerminalKeys &keys, const std::string &bytes, std::int64_t now_us) {
    keys.feed(bytes.data(), bytes.size(), now_us);
}

std::string P(int key) { return "P" + std::to_string(key); }
std::string PR(int key) { return P(key) + " R" + std::to_string(key); }

} // namespace

TEST(TerminalKeys, BytesAndSequencesBecomeKeysWholeOrByteByByte) {
    const struct {
        std::string bytes;
        std::string keys;
    } cases[] = {
        {"a", P(Key::A)},
        {"Z", P(Key::Z)},
        {"7", P(Key::NUM_7)},
        {"0", P(Key::NUM_0)},
        {" ", P(Key::SPACE)},
        {"\r", P(Key::ENTER)},
        {"\n", P(Key::ENTER)},
        {"\t", P(Key::TAB)},
        {"\x7f", P(Key::BACKSPACE)},
        {"\b", P(Key::BACKSPACE)},
        {"-", P(Key::MINUS)},
        {"`", P(Key::TILDE)},
        {"[", P(Key::LEFT_BRACKET)},
        {"!", PR(Key::UNDEFINED_KEY)},
        {"\xc3\xa9", PR(Key::UNDEFINED_KEY)},
        {"\x1b[A", P(Key::UP_ARROW)},
        {"\x1bOB", P(Key::DOWN_ARROW)},
        {"\x1b[1;5C", P(Key::RIGHT_ARROW)},
        {"\x1b[D", P(Key::LEFT_ARROW)},
        {"\x1bOP", P(Key::F1)},
        {"\x1b[1;2S", P(Key::F4)},
        {"\x1b[[E", P(Key::F5)},
        {"\x1b[15~", P(Key::F5)},
        {"\x1b[21~", P(Key::F10)},
        {"\x1b[24~", P(Key::F12)},
        {"\x1b[3~", PR(Key::UNDEFINED_KEY)},
        {"\x1b[Z", P(Key::TAB)},
        // a lone Escape, one before a sequence, and Escape as Alt
        {"\x1b", P(Key::ESCAPE)},
        {"\x1b\x1b[A", P(Key::ESCAPE) + " " + P(Key::UP_ARROW)},
        {"\x1bw", P(Key::W)},
        {"\x1b[", P(Key::ESCAPE) + " " + P(Key::LEFT_BRACKET)},
        // answers, focus reports and wheels are nobody's keys
        {"\x1b[?62;22c", ""},
        {"\x1b[I\x1b[O", ""},
        {"\x1b[<64;3;3M", ""},
        {"\x1b[<0;11;6M", "C0@10,5"},
        {"\x1b[<2;1;1M\x1b[<2;1;1m", "C1@0,0"},
        {"\x1b[<1;80;24M", "C2@79,23"},
        {"\x1b[<35;3;4M", "M@2,3"},
        {"s\x1b[A" "1", P(Key::S) + " " + P(Key::UP_ARROW) + " " + P(Key::NUM_1)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.bytes));
        TerminalKeys whole;
        whole.feed(c.bytes.data(), c.bytes.size(), 0);
        whole.update(TerminalKeys::ESCAPE_TIMEOUT_US);
        EXPECT_EQ(heard(whole), c.keys);

        // a sequence split across reads waits for its rest
        TerminalKeys split;
        for (std::size_t i = 0; i < c.bytes.size(); i++) {
            split.feed(&c.bytes[i], 1, static_cast<std::int64_t>(i) * MS);
            split.update(static_cast<std::int64_t>(i) * MS);
        }
        split.update(static_cast<std::int64_t>(c.bytes.size()) * MS + TerminalKeys::ESCAPE_TIMEOUT_US);
        EXPECT_EQ(heard(split), c.keys);
    }
}

TEST(TerminalKeys, EscapeWaitsForItsTimeoutAndButtonsAreHeldUntilReleased) {
    TerminalKeys keys;
    feed(keys, "\x1b", 0);
    keys.update(TerminalKeys::ESCAPE_TIMEOUT_US - 1);
    EXPECT_EQ(heard(keys), "");
    keys.update(TerminalKeys::ESCAPE_TIMEOUT_US);
    EXPECT_EQ(heard(keys), P(Key::ESCAPE));

    feed(keys, "\x1b[<0;5;6M\x1b[<32;7;8M", 0);
    EXPECT_TRUE(keys.isButtonHeld(vk::Mouse::LEFT));
    EXPECT_FALSE(keys.isButtonHeld(vk::Mouse::RIGHT));
    EXPECT_EQ(keys.getMouseColumn(), 6);
    EXPECT_EQ(keys.getMouseRow(), 7);
    feed(keys, "\x1b[<0;7;8m", 0);
    EXPECT_FALSE(keys.isButtonHeld(vk::Mouse::LEFT));
}

TEST(TerminalKeys, AKeyIsHeldUntilItsRepeatsStopAndReleasedOnce) {
    TerminalKeys keys;
    feed(keys, "w", 0);
    EXPECT_EQ(heard(keys), P(Key::W));
    // the first repeat comes after the keyboard's delay
    keys.update(600 * MS);
    EXPECT_TRUE(keys.isHeld(Key::W));
    feed(keys, "ww", 650 * MS);
    EXPECT_EQ(heard(keys), "") << "repeats are not presses";
    keys.update(650 * MS + TerminalKeys::REPEAT_HOLD_US);
    EXPECT_TRUE(keys.isHeld(Key::W));
    keys.update(650 * MS + TerminalKeys::REPEAT_HOLD_US + 1);
    EXPECT_FALSE(keys.isHeld(Key::W));
    EXPECT_EQ(heard(keys), "R" + std::to_string(Key::W));

    // a press that never repeats, and one let go when the terminal is left
    feed(keys, "s", 1000 * MS);
    keys.update(1000 * MS + TerminalKeys::FIRST_HOLD_US);
    EXPECT_TRUE(keys.isHeld(Key::S));
    keys.update(1000 * MS + TerminalKeys::FIRST_HOLD_US + 1);
    EXPECT_EQ(heard(keys), PR(Key::S));
    feed(keys, "q", 3000 * MS);
    keys.releaseAll();
    EXPECT_EQ(heard(keys), PR(Key::Q));
}

TEST(TerminalKeys, ATerminalThatReportsReleasesHoldsKeysUntilThen) {
    TerminalKeys keys;
    EXPECT_FALSE(keys.takeReleaseOffer());
    feed(keys, "\x1b[?0u", 0);
    EXPECT_TRUE(keys.takeReleaseOffer());
    EXPECT_FALSE(keys.takeReleaseOffer()) << "offered once";
    EXPECT_TRUE(keys.hasReleases());

    const std::string bytes = "\x1b[119u"      // w down
                              "\x1b[119;1:2u"  // w repeats
                              "\x1b[57441;2u"  // left shift down
                              "\x1b[1;1:3A"    // an up arrow nobody pressed goes up
                              "\x1b[27u"       // escape
                              "\x1b[27;1:3u";  // escape up
    keys.feed(bytes.data(), bytes.size(), 0);
    EXPECT_EQ(heard(keys), P(Key::W) + " " + P(Key::LEFT_SHIFT) + " " + PR(Key::ESCAPE));
    keys.update(60 * 1000 * MS);
    EXPECT_TRUE(keys.isHeld(Key::W)) << "no timeout once releases are reported";
    feed(keys, "\x1b[119;1:3u", 60 * 1000 * MS);
    EXPECT_EQ(heard(keys), "R" + std::to_string(Key::W));

    // control keys come as keys: Ctrl-C and Ctrl-Z are raised as the terminal would have
    feed(keys, "\x1b[99;5u\x1b[122;5u\x1b[99;5:3u", 0);
    EXPECT_EQ(heard(keys), "S" + std::to_string(SIGINT) + " S" + std::to_string(SIGTSTP));
}
