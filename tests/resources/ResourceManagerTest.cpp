#include "GameManager.h"
#include "LogManager.h"
#include "ResourceManager.h"
#include "Sprite.h"
#include "TestEnv.h"
#include "WaveOutput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <ctime>
#include <functional>
#include <random>
#include <regex>
#include <string>
#include <thread>
#include <vector>

using Lines = std::vector<std::string>;

namespace {

// Rows 10-11 and 13-14 are the frames; line numbers matter to the messages.
const std::string ROBUST = "<HEADER>\nframes 2\nwidth 3\nheight 2\ncolor green\ntransparency #\nslowdown 4\n</HEADER>\n"
                           "<BODY>\n#o#\nooo\nend\no#o\n###\nend\n</BODY>\n<FOOTER>\nversion 1\n</FOOTER>\n";
const std::string ROBUST_SPRITE = "3x2 slowdown 4 Green '#': #o#ooo o#o###";
const std::string SIMPLE = "2\n3\n2\n5\ncyan\n/^\\\n| |\n\\_/\n|_|\n";
const std::string SIMPLE_SPRITE = "3x2 slowdown 5 Cyan '': /^\\| | \\_/|_|";
const std::string ONE_CELL = "1\n1\n1\n0\nred\nx\n";
const char *const VALID_COLORS = "  Valid colors are: black, red, green, yellow,";
const std::string NO_DEVICE =
    "audioDeviceAvailable(): Warning! No audio device could be opened: sounds and music will not play.";

std::string replaced(std::string text, const std::string &from, const std::string &to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

std::string withCRLF(const std::string &text) { return std::regex_replace(text, std::regex("\n"), "\r\n"); }

// What a sprite holds, after checking what any loaded sprite must satisfy
// whatever its file held: frames of width x height, no more than it has room for.
std::string describe(const vk::Sprite &sprite) {
    EXPECT_TRUE(sprite.getWidth() >= 1 && sprite.getHeight() >= 1 && sprite.getFrameCount() >= 1);
    EXPECT_LE(sprite.getFrameCount(), sprite.getMaxFrameCount());
    std::string text = std::to_string(sprite.getWidth()) + "x" + std::to_string(sprite.getHeight()) + " slowdown " +
                       std::to_string(sprite.getSlowdown()) + " " + vk::toString(sprite.getColor()) + " '" +
                       std::string(sprite.getTransparency() ? 1 : 0, sprite.getTransparency()) + "':";
    for (int i = 0; i < sprite.getFrameCount(); i++) {
        const vk::Frame frame = sprite.getFrame(i);
        EXPECT_TRUE(frame.getWidth() == sprite.getWidth() && frame.getHeight() == sprite.getHeight());
        EXPECT_EQ(frame.getString().size(), static_cast<std::size_t>(sprite.getWidth() * sprite.getHeight()));
        text += " " + frame.getString();
    }
    return text;
}

// A sprite file, and what loading it logs at level 1 but the "Loading" line
// and, when it is refused, the closing "NOT loaded"; then what the sprite holds.
struct SpriteCase {
    const char *name;
    std::string text;
    Lines outcome;
};

// A started log and resource manager with a scratch folder for sprite files.
struct ResourceManagerTest : ::testing::Test {
    vktest::TestEnv env;
    vk::ResourceManager &rm = vk::ResourceManager::getInstance();

    void SetUp() override {
        ASSERT_EQ(vk::LogManager::getInstance().startUp(), 0);
        ASSERT_EQ(rm.startUp(), 0);
    }
    void TearDown() override {
        rm.shutDown();
        vk::LogManager::getInstance().shutDown();
    }
    int loadText(const std::string &content, const std::string &label, const std::string &name = "sprite.txt") {
        env.writeFile(name, content);
        return rm.loadSprite(env.path(name), label);
    }
    // A refused file must leave no sprite behind.
    void expectOutcomes(const std::vector<SpriteCase> &cases) {
        vk::LogManager::getInstance().setLogLevel(1);
        for (const SpriteCase &c : cases) {
            SCOPED_TRACE(c.name);
            const std::size_t before = env.logMessages().size();
            const bool loaded = loadText(c.text, c.name) == 0;
            const Lines all = env.logMessages();
            Lines outcome(all.begin() + static_cast<long>(before) + 1, all.end());
            const std::string refused = "RM::loadSprite(): Sprite '" + std::string(c.name) + "' NOT loaded.";
            if (!loaded && !outcome.empty() && outcome.back() == refused)
                outcome.pop_back();
            else
                outcome.push_back(loaded ? describe(*rm.getSprite(c.name)) : "(no closing line)");
            EXPECT_EQ(outcome, c.outcome);
            EXPECT_EQ(rm.getSprite(c.name) != nullptr, loaded);
        }
    }
};

} // namespace

TEST_F(ResourceManagerTest, SimpleSpriteFiles) {
    const std::string row(vk::MAX_SPRITE_LINE, 'w');
    const std::string unknown = "RM::loadSprite(): Error! Unknown sprite file format.";
    const std::string eof = "RM::loadSimpleSprite(): Error! Unexpected end of file.";
    const std::string line = "RM::loadSimpleSprite(): Error line ";
    expectOutcomes({
        {"simple", SIMPLE, {SIMPLE_SPRITE}},
        {"CRLF", withCRLF(SIMPLE), {SIMPLE_SPRITE}},
        {"slowdown 0", replaced(SIMPLE, "\n5\n", "\n0\n"), {replaced(SIMPLE_SPRITE, "slowdown 5", "slowdown 0")}},
        {"longest line", "1\n4096\n1\n0\nblue\n" + row + "\r\n", {"4096x1 slowdown 0 Blue '': " + row}},
        {"first line 0", "0\n3\n1\n0\nred\nabc\n", {unknown, "RM::loadSprite(): First line is '0'."}},
        {"empty", "", {unknown, "RM::loadSprite(): First line is ''."}},
        {"width x", "1\nx\n1\n0\nred\nabc\n", {line + "2! Width is 'x'."}},
        {"height 0", "1\n3\n0\n0\nred\nabc\n", {line + "3! Height is '0'."}},
        {"slowdown -1", "1\n3\n1\n-1\nred\nabc\n", {line + "4! Slowdown is '-1'."}},
        {"colour Red", "1\n3\n1\n0\nRed\nabc\n",
         {line + "5! Unrecognized color 'Red'.", VALID_COLORS, "                    blue, magenta, cyan or white."}},
        {"cut in the width", "1\n3",
         {"getLine(): Error! Unexpected end of file.", eof, "\tMissing height (an integer)."}},
        {"blank colour", "1\n3\n1\n0\n\nabc\n", {eof, "\tMissing color (a string)."}},
        {"short row", "1\n3\n2\n0\nred\nabc\nab\n", {line + "7!", "\tLine  7: 'ab'", "\tWidth is 2, expected 3."}},
        {"frames claimed", "2147483647\n1\n1\n0\nwhite\nx\n", {eof, "\tReading frame 2 of 2147483647, row 1 of 1."}},
        {"huge size", "1\n2147483647\n2147483647\n0\nred\nabc\n",
         {line + "6!", "\tLine  6: 'abc'", "\tWidth is 3, expected 2147483647."}},
        {"blank line at the end", "1\n3\n1\n0\nred\nabc\n\n", {line + "7!", "\tExtra file data: ''"}},
        {"extra row", "1\n3\n1\n0\nred\nabc\ndef\r\n", {line + "7!", "\tExtra file data: 'def'"}},
    });
}

TEST_F(ResourceManagerTest, RobustSpriteFiles) {
    const std::string bare = replaced(replaced(ROBUST, "color green\n", ""), "transparency #\nslowdown 4\n", "");
    const std::string unused = replaced(replaced(ROBUST, "4\n", "4\nauthor me\n"), "1\n", "1\ndate x\n");
    const std::string error = "RM::loadRobustSprite(): Error! ";
    const std::string no_frame = error + "No frame data to add.";
    const std::string warning = "RM::loadRobustSprite(): Warning! ";
    expectOutcomes({
        {"robust", ROBUST, {ROBUST_SPRITE}},
        {"CRLF", withCRLF(ROBUST), {ROBUST_SPRITE}},
        {"keywords in another order",
         replaced(ROBUST, "frames 2\nwidth 3\nheight 2\ncolor green\ntransparency #\nslowdown 4",
                  "slowdown 4\ncolor green\nheight 2\nwidth 3\nframes 2\ntransparency #"),
         {ROBUST_SPRITE}},
        {"defaults", bare, {"3x2 slowdown 0 White '': #o#ooo o#o###"}},
        {"quoted blank", replaced(ROBUST, "#\nslow", "\" \"\nslow"), {replaced(ROBUST_SPRITE, "'#'", "' '")}},
        {"first character", replaced(ROBUST, "#\nslow", "*xy\nslow"), {replaced(ROBUST_SPRITE, "'#'", "'*'")}},
        {"later value wins", replaced(ROBUST, "width 3\n", "width 9\nwidth 3\n"),
         {"matchLineInt(): Warning! 'width 3' matches multiple lines.", ROBUST_SPRITE}},
        {"unused lines", unused,
         {warning + "Unused HEADER lines:", "\t'author me'", warning + "Unused FOOTER lines:", "\t'date x'",
          ROBUST_SPRITE}},
        {"colour Red", replaced(ROBUST, "color green", "color Red"),
         {error + "Unrecognized color 'Red'.", VALID_COLORS, "                    blue, magenta, cyan and white."}},
        {"no frames", replaced(ROBUST, "frames 2\n", ""), {error + "Missing 'frames' in header."}},
        {"width alone", replaced(ROBUST, "width 3", "width"), {error + "Missing 'width' in header."}},
        {"height blank", replaced(ROBUST, "height 2", "height "), {error + "Missing 'height' in header."}},
        {"height 0", replaced(ROBUST, "height 2", "height 0"), {error + "'height' is 0, must be at least 1."}},
        {"width -7", replaced(ROBUST, "width 3", "width -7"), {error + "'width' is -7, must be at least 1."}},
        {"extra body", replaced(ROBUST, "end\n<", "end\nxyz\n<"), {error + "Extra BODY:", "\tLine 16: xyz"}},
        {"frames 0", replaced(ROBUST, "frames 2", "frames 0"),
         {error + "Extra BODY:", "\tLine 10: #o#", "\tLine 11: ooo", "\tLine 12: end", "\tLine 13: o#o",
          "\tLine 14: ###", "\tLine 15: end"}},
        {"no footer", ROBUST.substr(0, ROBUST.find("<FOOTER>")),
         {"readData(): Error line 17! Expected '<FOOTER>', have ''."}},
        {"no version", replaced(ROBUST, "version 1", "author me"), {error + "Missing 'version' in FOOTER (line 19)."}},
        {"short row", replaced(ROBUST, "ooo\n", "oo\n"),
         {"\tError! Line 11: Line length is 2 (frame width is 3).", "\tLine 11: 'oo'", no_frame}},
        {"no end", replaced(ROBUST, "ooo\nend", "ooo\nxyz"),
         {"\tError! Line 12: Expected 'end'.", "\tLine 12: 'xyz'", no_frame}},
        {"frames claimed", replaced(ROBUST, "frames 2", "frames 2147483647"),
         {"\tError! Line 16: No more frame data before 'end'.", no_frame}},
        {"huge width", replaced(ROBUST, "width 3", "width 2147483647"),
         {"\tError! Line 10: Line length is 3 (frame width is 2147483647).", "\tLine 10: '#o#'", no_frame}},
        {"blank body line", replaced(ROBUST, "ooo\nend", "ooo\n\nend"),
         {"readData(): Error! Stop at line 12, never encountered '</BODY>'."}},
        {"misspelt tag", replaced(ROBUST, "<BODY>", "<BDY>"),
         {"readData(): Error line 9! Expected '<BODY>', have '<BDY>'."}},
        {"cut in the header", "<HEADER>\nframes 1",
         {"getLine(): Error! Unexpected end of file.",
          "readData(): Error! Stop at line 2, never encountered '</HEADER>'."}},
    });
}

// Every prefix of a good file is a file cut off somewhere: only the whole file
// (with or without its last line end) may load.
TEST_F(ResourceManagerTest, SpriteFileCutOffAnywhereIsRefused) {
    for (const std::string &whole : {SIMPLE, ROBUST, withCRLF(SIMPLE), withCRLF(ROBUST)}) {
        const std::size_t line_end = whole.find('\r') != std::string::npos ? 2 : 1;
        for (std::size_t length = 0; length <= whole.size(); length++) {
            const std::string label = "cut" + std::to_string(length);
            const int result = loadText(whole.substr(0, length), label);
            EXPECT_EQ(result, length + line_end >= whole.size() ? 0 : -1) << whole.substr(0, length);
            if (result == 0) {
                EXPECT_EQ(describe(*rm.getSprite(label)), whole[0] == '<' ? ROBUST_SPRITE : SIMPLE_SPRITE);
            }
        }
        rm.shutDown();
        ASSERT_EQ(rm.startUp(), 0);
    }
}

// Random bytes, alone or behind a valid start so that each reader is reached:
// every load ends cleanly, and whatever loads is sound.
TEST_F(ResourceManagerTest, RandomBytesNeverBreakTheSpriteReaders) {
    std::mt19937 random(12345);
    const std::string prefixes[] = {"", "1\n", "3\n2\n2\n1\nred\n", "<HEADER>\n", "<HEADER>\nframes 1\nwidth 1\n"};
    for (int i = 0; i < 300; i++) {
        std::string text = prefixes[i % 5];
        // mostly printable text and line ends, so that the readers get far
        for (unsigned k = random() % 400; k > 0; k--) {
            const unsigned r = random() % 100;
            text += r < 10 ? '\n' : r < 15 ? static_cast<char>(random() % 256) : static_cast<char>('!' + r % 90);
        }
        if (loadText(text, "rnd") == 0) {
            describe(*rm.getSprite("rnd"));
        } else {
            EXPECT_EQ(env.logMessages().back(), "RM::loadSprite(): Sprite 'rnd' NOT loaded.");
        }
    }
}

TEST_F(ResourceManagerTest, OverlongSpriteLineIsRefusedWithoutReadingItWhole) {
    const std::string name = env.path("long.txt");
    std::ofstream out(name, std::ios::binary);
    out << "1\n3\n1\n0\nred\n";
    for (int i = 0; i < 100; i++)
        out << std::string(1 << 20, 'x');
    out.close();
    EXPECT_EQ(rm.loadSprite(name, "long"), -1);
    EXPECT_EQ(env.logMessages(),
              (Lines{"getLine(): Error! Line 6 is longer than 4096 characters.",
                     "RM::loadSimpleSprite(): Error! Unexpected end of file.", "\tReading frame 1 of 1, row 1 of 1.",
                     "RM::loadSprite(): Sprite 'long' NOT loaded."}));
    // one enormous first line: neither format, and the log never holds it
    std::ofstream(name, std::ios::binary) << std::string(1 << 20, '7');
    EXPECT_EQ(rm.loadSprite(name, "long"), -1);
    EXPECT_TRUE(env.logHas("getLine(): Error! Line 1 is longer than 4096 characters."));
    EXPECT_LT(env.readLog().size(), 4096u);
}

// Keyword lines are matched in one pass: very many repeated lines cost time
// in proportion to their number, not to its square.
TEST_F(ResourceManagerTest, EveryGameSpriteLoadsAndLongHeadersLoadQuickly) {
    int count = 0;
    for (const auto &entry : std::filesystem::directory_iterator(vktest::sourceDir() + "/sprites")) {
        ASSERT_EQ(rm.loadSprite(entry.path().string(), entry.path().string()), 0) << env.readLog();
        describe(*rm.getSprite(entry.path().string()));
        count++;
    }
    EXPECT_GE(count, 7);
    std::string repeats;
    for (int i = 0; i < 200000; i++)
        repeats += "width 3\n";
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(loadText(replaced(ROBUST, "width 3\n", repeats), "many"), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST_F(ResourceManagerTest, LookupIsExactTheFirstLoadedWinsAndARestartBeginsEmpty) {
    ASSERT_EQ(loadText(ONE_CELL, "ship", "a.txt"), 0);
    ASSERT_EQ(loadText("1\n1\n1\n0\nblue\ny\n", "ship", "b.txt"), 0);
    EXPECT_EQ(rm.loadSprite(env.path("none.txt"), "none"), -1);
    EXPECT_EQ(rm.startUp(), -1);
    ASSERT_NE(rm.getSprite("ship"), nullptr);
    EXPECT_EQ(rm.getSprite("ship")->getColor(), vk::RED);
    EXPECT_EQ(rm.getSprite("Ship"), nullptr);
    EXPECT_EQ(rm.getSound("boom"), nullptr);
    EXPECT_EQ(rm.getMusic("tune"), nullptr);
    EXPECT_EQ(env.logMessages(),
              (Lines{"RM::loadSprite(): Error! Cannot open file '" + env.path("none.txt") + "'.",
                     "RM::loadSprite(): Sprite 'none' not loaded.",
                     "ResourceManager::startup(): Warning! ResourceManager already started.",
                     "RM::getSprite(): Warning! Sprite 'Ship' not found.",
                     "RM::getSound(): Warning! Sound 'boom' not found.",
                     "RM::getMusic(): Warning! Music 'tune' not found."}));
    rm.shutDown();
    EXPECT_EQ(loadText(ONE_CELL, "one"), -1);
    EXPECT_EQ(rm.loadSound("any.wav", "s"), -1);
    EXPECT_EQ(rm.loadMusic("any.ogg", "m"), -1);
    EXPECT_EQ(env.logCount("ResourceManager not started!"), 3);
    ASSERT_EQ(rm.startUp(), 0);
    EXPECT_EQ(rm.getSprite("ship"), nullptr);
}

// A refused load takes no place: each limit still admits exactly its number.
TEST_F(ResourceManagerTest, EachKindStopsAtItsLimitAndRefusedFilesTakeNoPlace) {
    env.writeFile("one.txt", ONE_CELL);
    env.writeFile("text.wav", "not a sound at all\n");
    const std::string sprite = env.path("one.txt");
    const std::string bad = env.path("text.wav");
    const std::string tone = vktest::makeTone(env, "tone.wav", 0.05);
    EXPECT_EQ(rm.loadSprite(bad, "bad"), -1);
    EXPECT_EQ(rm.loadSound(bad, "bad"), -1);
    EXPECT_EQ(rm.loadMusic(bad, "bad"), -1);
    EXPECT_EQ(rm.loadMusic(tone, ""), -1);
    EXPECT_TRUE(env.logHas("RM::loadSound(): Error! Cannot load sound from file '" + bad + "'."));
    EXPECT_TRUE(env.logHas("RM::loadmusic(): Error! Cannot load music from file '" + bad + "'."));
    EXPECT_TRUE(env.logHas("RM::loadMusic(): Error! Must provide label for music."));
    const struct {
        int max;
        std::function<int(const std::string &)> load;
        const char *full;
    } kinds[] = {
        {vk::MAX_SPRITES, [&](const std::string &label) { return rm.loadSprite(sprite, label); },
         "RM::loadRobustSprite(): Error! Cannot add more Sprites (max is 1000)."},
        {vk::MAX_SOUNDS, [&](const std::string &label) { return rm.loadSound(tone, label); },
         "RM::loadSound(): Error! Unable to add more sounds (max is 100)."},
        {vk::MAX_MUSICS, [&](const std::string &label) { return rm.loadMusic(tone, label); },
         "RM::loadMusic(): Error! Unable to add more musics (max is 50)."},
    };
    for (const auto &kind : kinds) {
        SCOPED_TRACE(kind.full);
        for (int i = 0; i < kind.max; i++)
            ASSERT_EQ(kind.load("k" + std::to_string(i)), 0) << i;
        EXPECT_EQ(kind.load("extra"), -1);
        EXPECT_TRUE(env.logHas(kind.full));
    }
    EXPECT_EQ(rm.getSound("k99")->getLabel(), "k99");
    EXPECT_EQ(rm.getMusic("extra"), nullptr);
}

// Without a sound card everything loads as it would with one (bad files are
// still refused) and plays into nothing: no spinning, no complaints on
// standard error, and one line in the log saying why, however many starts.
TEST(ResourceManagerAudio, WithoutADeviceLoadsStillCheckFilesAndPlayIsSilent) {
    vktest::TestEnv env;
    setenv("ALSOFT_DRIVERS", "no-such-back-end", 1);
    ASSERT_EQ(vk::LogManager::getInstance().startUp(), 0);
    vk::ResourceManager &rm = vk::ResourceManager::getInstance();
    ::testing::internal::CaptureStderr();
    ASSERT_EQ(rm.startUp(), 0);
    EXPECT_EQ(env.logMessages(), Lines{NO_DEVICE});
    env.writeFile("text.ogg", "not music\n");
    EXPECT_EQ(rm.loadSound(env.path("text.ogg"), "bad"), -1);
    EXPECT_EQ(rm.loadMusic(env.path("text.ogg"), "bad"), -1);
    for (const auto &entry : std::filesystem::directory_iterator(vktest::sourceDir() + "/sounds")) {
        const std::string file = entry.path().string();
        EXPECT_EQ(rm.loadSound(file, file), 0) << file;
        EXPECT_EQ(rm.loadMusic(file, file), 0) << file;
        rm.getSound(file)->play(true);
        rm.getMusic(file)->play(true);
    }
    const std::clock_t cpu_before = std::clock();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_LT(std::clock() - cpu_before, CLOCKS_PER_SEC / 5);
    rm.shutDown();
    ASSERT_EQ(rm.startUp(), 0);
    rm.shutDown();
    const std::string err = ::testing::internal::GetCapturedStderr();
    // the decoder may have its say about the broken file; nothing more
    EXPECT_LT(err.size(), 1000u) << err;
    EXPECT_EQ(env.logCount(NO_DEVICE), 1);
    vk::LogManager::getInstance().shutDown();
}

TEST(ResourceManagerInTheEngine, StartsBetweenNetworkAndWorldAndStopsAfterTheWorld) {
    vktest::TestEnv env("headless:true,\n");
    setenv("VESSIK_LOG_LEVEL", "1", 1);
    vk::GameManager &game = vk::GameManager::getInstance();
    ASSERT_EQ(game.startUp(), 0);
    unsetenv("VESSIK_LOG_LEVEL");
    game.shutDown();
    EXPECT_FALSE(vk::ResourceManager::getInstance().isStarted());
    const Lines log = env.logMessages();
    std::vector<long> at;
    for (const char *line : {"Network manager started.", "Resource manager started.", "World manager started.",
                             "World manager stopped", "Resource manager stopped", "Network manager stopped"})
        at.push_back(std::find(log.begin(), log.end(), line) - log.begin());
    EXPECT_TRUE(std::is_sorted(at.begin(), at.end()) && at.back() < static_cast<long>(log.size())) << env.readLog();
}
