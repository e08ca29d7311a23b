#include "ResourceFixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

using vktest::frameStrings;
using Lines = std::vector<std::string>;

namespace {

struct SpriteFile : vktest::ResourceFixture {};

// Rows 10-11 and 13-14 are the frames; line numbers matter to the messages.
const std::string ROBUST = "<HEADER>\n"       // 1
                           "frames 2\n"       // 2
                           "width 3\n"        // 3
                           "height 2\n"       // 4
                           "color green\n"    // 5
                           "transparency #\n" // 6
                           "slowdown 4\n"     // 7
                           "</HEADER>\n"      // 8
                           "<BODY>\n"         // 9
                           "#o#\n"            // 10
                           "ooo\n"            // 11
                           "end\n"            // 12
                           "o#o\n"            // 13
                           "###\n"            // 14
                           "end\n"            // 15
                           "</BODY>\n"        // 16
                           "<FOOTER>\n"       // 17
                           "version 1\n"      // 18
                           "</FOOTER>\n";     // 19

const std::string SIMPLE = "2\n3\n2\n5\ncyan\n/^\\\n| |\n\\_/\n|_|\n";

std::string replaced(std::string text, const std::string &from, const std::string &to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

std::string withCRLF(const std::string &text) {
    std::string out;
    for (char c : text)
        out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
}

} // namespace

TEST_F(SpriteFile, SimpleFormatGivesSizeSlowdownColourAndFrames) {
    ASSERT_EQ(loadText(SIMPLE, "cup"), 0);
    ASSERT_EQ(loadText(withCRLF(SIMPLE), "crlf"), 0);
    for (const char *label : {"cup", "crlf"}) {
        const vk::Sprite *p_s = rm.getSprite(label);
        ASSERT_NE(p_s, nullptr);
        EXPECT_EQ(p_s->getWidth(), 3);
        EXPECT_EQ(p_s->getHeight(), 2);
        EXPECT_EQ(p_s->getSlowdown(), 5);
        EXPECT_EQ(p_s->getColor(), vk::CYAN);
        EXPECT_EQ(p_s->getTransparency(), 0);
        EXPECT_EQ(p_s->getLabel(), label);
        EXPECT_EQ(frameStrings(*p_s), (Lines{"/^\\| |", "\\_/|_|"}));
    }
    ASSERT_EQ(loadText(replaced(SIMPLE, "\n5\n", "\n0\n"), "still"), 0);
    EXPECT_EQ(rm.getSprite("still")->getSlowdown(), 0);
}

TEST_F(SpriteFile, RobustFormatGivesHeaderValuesAndFrames) {
    ASSERT_EQ(loadText(ROBUST, "r"), 0);
    const vk::Sprite *p_s = rm.getSprite("r");
    ASSERT_NE(p_s, nullptr);
    EXPECT_EQ(p_s->getWidth(), 3);
    EXPECT_EQ(p_s->getHeight(), 2);
    EXPECT_EQ(p_s->getSlowdown(), 4);
    EXPECT_EQ(p_s->getColor(), vk::GREEN);
    EXPECT_EQ(p_s->getTransparency(), '#');
    EXPECT_EQ(p_s->getMaxFrameCount(), 2);
    EXPECT_EQ(frameStrings(*p_s), (Lines{"#o#ooo", "o#o###"}));
    // nothing above level 0 was asked for, and nothing went wrong
    EXPECT_EQ(env.logMessages(), Lines{});
}

TEST_F(SpriteFile, RobustOptionalKeywordsFallBackToTheirDefaults) {
    log.setLogLevel(5);
    std::string text = replaced(ROBUST, "color green\n", "");
    text = replaced(text, "transparency #\n", "");
    text = replaced(text, "slowdown 4\n", "");
    ASSERT_EQ(loadText(text, "plain"), 0);
    const vk::Sprite *p_s = rm.getSprite("plain");
    EXPECT_EQ(p_s->getColor(), vk::WHITE);
    EXPECT_EQ(p_s->getTransparency(), 0);
    EXPECT_EQ(p_s->getSlowdown(), 0);
    EXPECT_TRUE(env.logHas("RM::loadRobustSprite(): Warning! No 'color' in header."));
    EXPECT_TRUE(env.logHas("RM::loadRobustSprite(): Note! No 'transparency' in header."));
    EXPECT_TRUE(env.logHas("RM::loadRobustSprite(): Note! No 'slowdown' in header."));
    EXPECT_TRUE(env.logHas("\tTransparency: (none)"));
    EXPECT_TRUE(env.logHas("\t       Color: White"));
}

TEST_F(SpriteFile, RobustTransparencyTakesTheFirstCharacterOrAQuotedBlank) {
    log.setLogLevel(5);
    ASSERT_EQ(loadText(replaced(ROBUST, "transparency #", "transparency \" \""), "blank"), 0);
    EXPECT_EQ(rm.getSprite("blank")->getTransparency(), ' ');
    EXPECT_TRUE(env.logHas("RM::loadRobustSprite(): transparency is 'space'"));
    ASSERT_EQ(loadText(replaced(ROBUST, "transparency #", "transparency *xyz"), "star"), 0);
    EXPECT_EQ(rm.getSprite("star")->getTransparency(), '*');
    EXPECT_TRUE(env.logHas("\tTransparency: '*'"));
}

TEST_F(SpriteFile, RobustRepeatedKeywordTakesTheLaterValueAndWarnsOnce) {
    log.setLogLevel(1);
    ASSERT_EQ(loadText(replaced(ROBUST, "width 3\n", "width 9\nwidth 3\n"), "w"), 0);
    EXPECT_EQ(rm.getSprite("w")->getWidth(), 3);
    EXPECT_EQ(env.logCount("matchLineInt(): Warning! 'width 3' matches multiple lines."), 1);
    EXPECT_EQ(env.logCount("matchLineInt(): Warning! 'width 9' matches multiple lines."), 0);
}

TEST_F(SpriteFile, RobustUnusedHeaderAndFooterLinesAreReportedButLoad) {
    log.setLogLevel(1);
    std::string text = replaced(ROBUST, "slowdown 4\n", "slowdown 4\nauthor me\n");
    text = replaced(text, "version 1\n", "version 1\ndate today\n");
    ASSERT_EQ(loadText(text, "u"), 0);
    const Lines messages = env.logMessages();
    const Lines expected = {"RM::loadSprite(): Loading sprite '" + env.path("sprite.txt") + "'.",
                            "RM::loadRobustSprite(): Warning! Unused HEADER lines:", "\t'author me'",
                            "RM::loadRobustSprite(): Warning! Unused FOOTER lines:", "\t'date today'"};
    EXPECT_EQ(messages, expected);
}

TEST_F(SpriteFile, FramesAreLoggedRowByRowAtLevel15) {
    log.setLogLevel(15);
    ASSERT_EQ(loadText(ROBUST, "dump"), 0);
    const Lines messages = env.logMessages();
    const Lines expected = {"RM::loadSprite(): Sprite 'dump' frames:",
                            "\tFrame 1:",
                            "\t#o#",
                            "\tooo",
                            "\tFrame 2:",
                            "\to#o",
                            "\t###",
                            "RM::loadSprite(): Sprite 'dump' loaded."};
    ASSERT_GE(messages.size(), expected.size());
    EXPECT_EQ(Lines(messages.end() - static_cast<long>(expected.size()), messages.end()), expected);
}

// A rejected file: its text and the unconditional log lines it must produce,
// the final "NOT loaded" line excepted.
struct BadFile {
    const char *name;
    std::string text;
    Lines messages;
};

void PrintTo(const BadFile &bad, std::ostream *p_os) { *p_os << bad.name; }

struct RejectedSpriteFile : vktest::ResourceFixture, ::testing::WithParamInterface<BadFile> {};

TEST_P(RejectedSpriteFile, IsReportedWithItsLineAndLeavesTheTablesAlone) {
    ASSERT_EQ(loadText(ROBUST, "bad", "first.txt"), 0);
    vk::Sprite *p_first = rm.getSprite("bad");
    const std::size_t before = env.logMessages().size();

    EXPECT_EQ(loadText(GetParam().text, "bad"), -1);
    Lines expected = GetParam().messages;
    expected.push_back("RM::loadSprite(): Sprite 'bad' NOT loaded.");
    const Lines messages = env.logMessages();
    EXPECT_EQ(Lines(messages.begin() + static_cast<long>(before), messages.end()), expected);

    // the earlier sprite under the same label is still the one found
    EXPECT_EQ(rm.getSprite("bad"), p_first);
    EXPECT_EQ(frameStrings(*p_first), (Lines{"#o#ooo", "o#o###"}));
}

const char *const VALID_COLORS = "  Valid colors are: black, red, green, yellow,";
const char *const SIMPLE_COLORS_END = "                    blue, magenta, cyan or white.";
const char *const ROBUST_COLORS_END = "                    blue, magenta, cyan and white.";

INSTANTIATE_TEST_SUITE_P(
    Simple, RejectedSpriteFile,
    ::testing::Values(
        BadFile{"FirstLineZero", "0\n3\n1\n0\nred\nabc\n",
                {"RM::loadSprite(): Error! Unknown sprite file format.", "RM::loadSprite(): First line is '0'."}},
        BadFile{"FirstLineLetters", "abc\n",
                {"RM::loadSprite(): Error! Unknown sprite file format.", "RM::loadSprite(): First line is 'abc'."}},
        BadFile{"EmptyFile", "",
                {"RM::loadSprite(): Error! Unknown sprite file format.", "RM::loadSprite(): First line is ''."}},
        BadFile{"WidthNotANumber", "1\nx\n1\n0\nred\nabc\n", {"RM::loadSimpleSprite(): Error line 2! Width is 'x'."}},
        BadFile{"HeightZero", "1\n3\n0\n0\nred\nabc\n", {"RM::loadSimpleSprite(): Error line 3! Height is '0'."}},
        BadFile{"NegativeSlowdown", "1\n3\n1\n-1\nred\nabc\n",
                {"RM::loadSimpleSprite(): Error line 4! Slowdown is '-1'."}},
        BadFile{"CapitalisedColour", "1\n3\n1\n0\nRed\nabc\n",
                {"RM::loadSimpleSprite(): Error line 5! Unrecognized color 'Red'.", VALID_COLORS,
                 SIMPLE_COLORS_END}},
        BadFile{"EndsBeforeHeight", "1\n3\n",
                {"RM::loadSimpleSprite(): Error! Unexpected end of file.", "\tMissing height (an integer)."}},
        BadFile{"CutInsideWidthLine", "1\n3",
                {"getLine(): Error! Unexpected end of file.", "RM::loadSimpleSprite(): Error! Unexpected end of file.",
                 "\tMissing height (an integer)."}},
        BadFile{"BlankColourLine", "1\n3\n1\n0\n\nabc\n",
                {"RM::loadSimpleSprite(): Error! Unexpected end of file.", "\tMissing color (a string)."}},
        BadFile{"ShortRow", "1\n3\n2\n0\nred\nabc\nab\n",
                {"RM::loadSimpleSprite(): Error line 7!", "\tLine  7: 'ab'", "\tWidth is 2, expected 3."}},
        BadFile{"MissingFrame", "2\n3\n1\n0\nred\nabc\n",
                {"RM::loadSimpleSprite(): Error! Unexpected end of file.", "\tReading frame 2 of 2, row 1 of 1."}},
        BadFile{"FrameCountOfIntMax", "2147483647\n1\n1\n0\nwhite\nx\n",
                {"RM::loadSimpleSprite(): Error! Unexpected end of file.",
                 "\tReading frame 2 of 2147483647, row 1 of 1."}},
        BadFile{"HugeWidthAndHeight", "1\n2147483647\n2147483647\n0\nred\nabc\n",
                {"RM::loadSimpleSprite(): Error line 6!", "\tLine  6: 'abc'", "\tWidth is 3, expected 2147483647."}},
        BadFile{"BlankLineAfterTheLastRow", "1\n3\n1\n0\nred\nabc\n\n",
                {"RM::loadSimpleSprite(): Error line 7!", "\tExtra file data: ''"}},
        BadFile{"ExtraRow", "1\n3\n1\n0\nred\nabc\ndef\r\n",
                {"RM::loadSimpleSprite(): Error line 7!", "\tExtra file data: 'def'"}}),
    [](const auto &param_info) { return std::string(param_info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Robust, RejectedSpriteFile,
    ::testing::Values(
        BadFile{"CapitalisedColour", replaced(ROBUST, "color green", "color Red"),
                {"RM::loadRobustSprite(): Error! Unrecognized color 'Red'.", VALID_COLORS, ROBUST_COLORS_END}},
        BadFile{"MissingFrames", replaced(ROBUST, "frames 2\n", ""),
                {"RM::loadRobustSprite(): Error! Missing 'frames' in header."}},
        BadFile{"WidthWithoutValue", replaced(ROBUST, "width 3", "width"),
                {"RM::loadRobustSprite(): Error! Missing 'width' in header."}},
        BadFile{"HeightWithOnlyASeparator", replaced(ROBUST, "height 2", "height "),
                {"RM::loadRobustSprite(): Error! Missing 'height' in header."}},
        BadFile{"HeightZero", replaced(ROBUST, "height 2", "height 0"),
                {"RM::loadRobustSprite(): Error! 'height' is 0, must be at least 1."}},
        BadFile{"NegativeWidth", replaced(ROBUST, "width 3", "width -7"),
                {"RM::loadRobustSprite(): Error! 'width' is -7, must be at least 1."}},
        BadFile{"ExtraBodyLine", replaced(ROBUST, "end\n</BODY>", "end\nxyz\n</BODY>"),
                {"RM::loadRobustSprite(): Error! Extra BODY:", "\tLine 16: xyz"}},
        BadFile{"ZeroFrames", replaced(ROBUST, "frames 2", "frames 0"),
                {"RM::loadRobustSprite(): Error! Extra BODY:", "\tLine 10: #o#", "\tLine 11: ooo", "\tLine 12: end",
                 "\tLine 13: o#o", "\tLine 14: ###", "\tLine 15: end"}},
        BadFile{"NoFooter", ROBUST.substr(0, ROBUST.find("<FOOTER>")),
                {"readData(): Error line 17! Expected '<FOOTER>', have ''."}},
        BadFile{"NoVersion", replaced(ROBUST, "version 1", "author me"),
                {"RM::loadRobustSprite(): Error! Missing 'version' in FOOTER (line 19)."}},
        BadFile{"ShortRow", replaced(ROBUST, "ooo\n", "oo\n"),
                {"\tError! Line 11: Line length is 2 (frame width is 3).", "\tLine 11: 'oo'",
                 "RM::loadRobustSprite(): Error! No frame data to add."}},
        BadFile{"MissingEnd", replaced(ROBUST, "ooo\nend\n", "ooo\nxyz\n"),
                {"\tError! Line 12: Expected 'end'.", "\tLine 12: 'xyz'",
                 "RM::loadRobustSprite(): Error! No frame data to add."}},
        BadFile{"FrameCountOfIntMax", replaced(ROBUST, "frames 2", "frames 2147483647"),
                {"\tError! Line 16: No more frame data before 'end'.",
                 "RM::loadRobustSprite(): Error! No frame data to add."}},
        BadFile{"HugeWidth", replaced(ROBUST, "width 3", "width 2147483647"),
                {"\tError! Line 10: Line length is 3 (frame width is 2147483647).", "\tLine 10: '#o#'",
                 "RM::loadRobustSprite(): Error! No frame data to add."}},
        BadFile{"BlankLineInBody", replaced(ROBUST, "ooo\nend\n", "ooo\n\nend\n"),
                {"readData(): Error! Stop at line 12, never encountered '</BODY>'."}},
        BadFile{"MissingHeaderTag", replaced(ROBUST, "<BODY>", "<BDY>"),
                {"readData(): Error line 9! Expected '<BODY>', have '<BDY>'."}},
        BadFile{"CutInsideHeader", "<HEADER>\nframes 1",
                {"getLine(): Error! Unexpected end of file.",
                 "readData(): Error! Stop at line 2, never encountered '</HEADER>'."}}),
    [](const auto &param_info) { return std::string(param_info.param.name); });

TEST_F(SpriteFile, MissingFileIsReported) {
    const std::string name = env.path("nowhere.txt");
    EXPECT_EQ(rm.loadSprite(name, "n"), -1);
    EXPECT_EQ(env.logMessages(), (Lines{"RM::loadSprite(): Error! Cannot open file '" + name + "'.",
                                        "RM::loadSprite(): Sprite 'n' not loaded."}));
}

// Every prefix of a good file is a file cut off somewhere: only the whole file
// (with or without its last line end) may load, and nothing may go wrong.
TEST_F(SpriteFile, FileCutOffAnywhereIsRejected) {
    for (const std::string &whole : {SIMPLE, ROBUST, withCRLF(SIMPLE), withCRLF(ROBUST)}) {
        const bool crlf = whole.find('\r') != std::string::npos;
        const std::size_t line_end = crlf ? 2 : 1;
        for (std::size_t length = 0; length <= whole.size(); length++) {
            const std::string label = "cut" + std::to_string(length);
            const bool complete = length + line_end >= whole.size();
            const int result = loadText(whole.substr(0, length), label);
            EXPECT_EQ(result, complete ? 0 : -1) << whole.substr(0, length);
            if (result == 0)
                vktest::expectConsistent(*rm.getSprite(label));
        }
        rm.shutDown();
        ASSERT_EQ(rm.startUp(), 0);
    }
}

// Random bytes, alone or behind a valid first line so that each reader is
// reached: every load must end cleanly, and whatever loads must be sound.
TEST_F(SpriteFile, RandomBytesNeverBreakTheReaders) {
    std::mt19937 random(12345);
    const std::string prefixes[] = {"", "1\n", "3\n2\n2\n1\nred\n", "<HEADER>\n", "<HEADER>\nframes 1\nwidth 1\n"};
    for (int i = 0; i < 300; i++) {
        std::string text = prefixes[i % 5];
        const int length = static_cast<int>(random() % 400);
        // mostly printable text and line ends, so that the readers get far
        for (int k = 0; k < length; k++) {
            const unsigned r = random() % 100;
            text += r < 10 ? '\n' : r < 15 ? static_cast<char>(random() % 256) : static_cast<char>('!' + r % 90);
        }
        const int result = loadText(text, "rnd");
        if (result == 0)
            vktest::expectConsistent(*rm.getSprite("rnd"));
        const Lines messages = env.logMessages();
        ASSERT_FALSE(messages.empty());
        if (result != 0) {
            EXPECT_EQ(messages.back(), "RM::loadSprite(): Sprite 'rnd' NOT loaded.");
        }
    }
}

TEST_F(SpriteFile, OverlongLineIsRefusedWithoutReadingItWhole) {
    const std::string name = env.path("long.txt");
    {
        std::ofstream out(name, std::ios::binary);
        out << "1\n3\n1\n0\nred\n";
        const std::string chunk(1 << 20, 'x');
        for (int i = 0; i < 100; i++)
            out << chunk;
        out << "\n";
    }
    EXPECT_EQ(rm.loadSprite(name, "long"), -1);
    EXPECT_EQ(env.logMessages(),
              (Lines{"getLine(): Error! Line 6 is longer than 4096 characters.",
                     "RM::loadSimpleSprite(): Error! Unexpected end of file.", "\tReading frame 1 of 1, row 1 of 1.",
                     "RM::loadSprite(): Sprite 'long' NOT loaded."}));

    // one enormous first line: neither format
    std::ofstream(name, std::ios::binary) << std::string(1 << 20, '7');
    EXPECT_EQ(rm.loadSprite(name, "long"), -1);
    EXPECT_TRUE(env.logHas("getLine(): Error! Line 1 is longer than 4096 characters."));
    EXPECT_TRUE(env.logHas("RM::loadSprite(): First line is ''."));
    // the log never holds the line itself
    EXPECT_LT(env.readLog().size(), 4096u);
}

TEST_F(SpriteFile, LineOfExactlyTheLimitIsRead) {
    const std::string row(vk::MAX_SPRITE_LINE, 'w');
    ASSERT_EQ(loadText("1\n" + std::to_string(vk::MAX_SPRITE_LINE) + "\n1\n0\nblue\n" + row + "\r\n", "wide"), 0);
    EXPECT_EQ(rm.getSprite("wide")->getFrame(0).getString(), row);
}

TEST_F(SpriteFile, EveryGameSpriteLoads) {
    int count = 0;
    for (const auto &entry : std::filesystem::directory_iterator(vktest::sourceDir() + "/sprites")) {
        const std::string label = entry.path().stem().string();
        ASSERT_EQ(rm.loadSprite(entry.path().string(), label), 0) << entry.path() << "\n" << env.readLog();
        vktest::expectConsistent(*rm.getSprite(label));
        count++;
    }
    EXPECT_GE(count, 7);
}

// Keyword lines are matched in one pass: a header of very many repeated lines
// costs time in proportion to its length, not to its square.
TEST_F(SpriteFile, HeaderOfManyRepeatedKeywordsLoadsQuickly) {
    std::string repeats;
    for (int i = 0; i < 200000; i++)
        repeats += "width 3\n";
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(loadText(replaced(ROBUST, "width 3\n", repeats), "many"), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(rm.getSprite("many")->getWidth(), 3);
}
