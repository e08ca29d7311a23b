#include "TestEnv.h"

#include <vessik/core/Config.h>
#include <vessik/core/LogManager.h>

#include <gtest/gtest.h>

#include <random>
#include <string>

using vk::Config;

namespace {

// Loads `file_text` as the configuration file and returns what went to
// standard error meanwhile (the log is not open while loading).
struct ConfigTest : ::testing::Test {
    vktest::TestEnv env;
    Config &config = Config::getInstance();

    std::string load(const std::string &file_text) {
        env.writeFile("vk-config.txt", file_text);
        ::testing::internal::CaptureStderr();
        config.loadConfig("");
        return ::testing::internal::GetCapturedStderr();
    }
};

} // namespace

// After a reset, as the engine's shut-down makes, nothing of the file loaded
// before comes back when the next file is missing or empty.
TEST_F(ConfigTest, MissingFileIsNamedAtLevelOneAndLeavesTheDefaults) {
    load("frame_time:20,");
    config.reset();
    EXPECT_EQ(config.getFrameTime(), 33);
    setenv("VESSIK_CONFIG", env.path("nowhere.txt").c_str(), 1);
    vk::LogManager::getInstance().setLogLevel(1);
    ::testing::internal::CaptureStderr();
    config.loadConfig("");
    const std::string err = ::testing::internal::GetCapturedStderr();
    vk::LogManager::getInstance().setLogLevel(0);
    EXPECT_NE(err.find("Config::readConfig(): Cannot open Vessik configuration file '" + env.path("nowhere.txt") + "'."),
              std::string::npos)
        << err;
    EXPECT_EQ(config.getFrameTime(), 33);
    load("");
    EXPECT_EQ(config.getFrameTime(), 33);
}

TEST_F(ConfigTest, EveryKeyIsReadAndBlanksAreRemoved) {
    load("# a comment line\n"
         "frame_time: 25,\n"
         "headless : true,\n"
         "font_scale:1.5,\n"
         "window_horizontal_pixels:800,window_vertical_pixels:600,\r\n"
         "window_horizontal_chars:100,\n"
         "window_vertical_chars:30,\n"
         "window_background_color:yellow,\n"
         "window_style:7,\n"
         "window_state:fullscreen,\n"
         "window_title:Surf City,\n"
         "show_mouse:true,\n"
         "\n"
         "font_file:fonts/a.ttf,\n"
         "logfile:other.log,\n"
         "random_seed:-5,\n"
         "networking:false,\n"
         "grid_width:12,grid_height:4,\n"
         "quadtree_depth:3,quadtree_threshold:9,signals:false");
    EXPECT_EQ(config.getFrameTime(), 25);
    EXPECT_TRUE(config.getHeadless());
    EXPECT_FLOAT_EQ(config.getFontScale(), 1.5f);
    EXPECT_EQ(config.getWindowHorizontalPixels(), 800);
    EXPECT_EQ(config.getWindowVerticalPixels(), 600);
    EXPECT_EQ(config.getWindowHorizontalChars(), 100);
    EXPECT_EQ(config.getWindowVerticalChars(), 30);
    EXPECT_EQ(config.getWindowBackgroundColor(), vk::YELLOW);
    EXPECT_EQ(config.getWindowStyle(), 7);
    EXPECT_EQ(config.getWindowState(), 1);
    EXPECT_EQ(config.getWindowTitle(), "SurfCity");
    EXPECT_TRUE(config.getShowMouse());
    EXPECT_EQ(config.getFontFile(), "fonts/a.ttf");
    EXPECT_EQ(config.getLogfile(), "other.log");
    EXPECT_EQ(config.getRandomSeed(), -5);
    EXPECT_FALSE(config.getNetworking());
    EXPECT_EQ(config.getGridWidth(), 12);
    EXPECT_EQ(config.getGridHeight(), 4);
    EXPECT_EQ(config.getQuadtreeDepth(), 3);
    EXPECT_EQ(config.getQuadtreeThreshold(), 9);
    EXPECT_FALSE(config.getSignals());
}

TEST_F(ConfigTest, UnsupportedValuesAreReportedAndIgnored) {
    const std::string err =
        load("window_background_color:Yellow,window_style:wide,window_state:maximised,display:Terminal,");
    EXPECT_NE(err.find("loadConfig(): Unsupported window color 'Yellow'"), std::string::npos) << err;
    EXPECT_NE(err.find("loadConfig(): Unsupported display 'Terminal'"), std::string::npos) << err;
    EXPECT_EQ(config.getDisplay(), "window");
    EXPECT_NE(err.find("loadConfig(): Unsupported window style 'wide'"), std::string::npos) << err;
    EXPECT_NE(err.find("loadConfig(): Unsupported window state 'maximised'"), std::string::npos) << err;
    EXPECT_EQ(config.getWindowBackgroundColor(), vk::BLACK);
    EXPECT_EQ(config.getWindowStyle(), 5);
    EXPECT_EQ(config.getWindowState(), 0);

    load("window_style:none,window_state:default,display:terminal,");
    EXPECT_EQ(config.getWindowStyle(), 0);
    EXPECT_EQ(config.getWindowState(), 0);
    EXPECT_TRUE(config.getTerminal());
    load("display:window,");
    EXPECT_FALSE(config.getTerminal());
}

TEST_F(ConfigTest, EntryRules) {
    // only "true" is true; text that is not a number becomes 0
    load("networking:1,headless:TRUE,show_mouse:true,frame_time:fast,");
    EXPECT_FALSE(config.getNetworking());
    EXPECT_FALSE(config.getHeadless());
    EXPECT_TRUE(config.getShowMouse());
    EXPECT_EQ(config.getFrameTime(), 0);

    // a missing comma merges two lines into one entry
    load("frame_time:33\nrandom_seed:5,\n");
    EXPECT_EQ(config.getFrameTime(), 33);
    EXPECT_EQ(config.getRandomSeed(), 0);

    // only whole-line comments are skipped, and the first entry for a key wins
    load(" #frame_time:10,\nframe_time:20,\nframe_time:30,\nrandom_seed:4 # not a comment,\n");
    EXPECT_EQ(config.getFrameTime(), 20);
    EXPECT_EQ(config.getRandomSeed(), 4);

    // empty values and absent keys keep earlier values
    load("grid_width:3,frame_time:,");
    EXPECT_EQ(config.getFrameTime(), 20);
    config.loadConfig("grid_height:9");
    EXPECT_EQ(config.getGridWidth(), 3);
    EXPECT_EQ(config.getGridHeight(), 9);
}

TEST_F(ConfigTest, HostileFilesLoadWithoutHarm) {
    // binary garbage: nothing it holds is a known key
    std::mt19937 rng(1234);
    std::string garbage;
    for (int i = 0; i < 200000; i++)
        garbage.push_back(static_cast<char>(rng() & 0xff));
    load(garbage);
    EXPECT_EQ(config.getWindowHorizontalChars(), 80);

    // ten thousand entries: the last one is still found
    std::string many;
    for (int i = 0; i < 10000; i++)
        many += "key" + std::to_string(i) + ":" + std::to_string(i) + ",\n";
    many += "frame_time:17,\n";
    load(many);
    EXPECT_EQ(config.getFrameTime(), 17);

    // a 1 MB line followed by an ordinary one
    load(std::string(1 << 20, 'x') + ":y,\ngrid_height:6,\n");
    EXPECT_EQ(config.getGridHeight(), 6);

    // an empty file changes nothing
    load("");
    EXPECT_EQ(config.getGridHeight(), 6);
}

TEST_F(ConfigTest, SummaryListsEverySetting) {
    load("window_state:fullscreen,networking:false,");
    vk::LogManager &log = vk::LogManager::getInstance();
    ASSERT_EQ(log.startUp(), 0);
    log.setLogLevel(1);
    config.writeSummary();
    log.shutDown();
    const std::vector<std::string> expected = {"-----------------------------------",
                                               "Vessik configuration:",
                                               "  Window horizontal pixels: 1024",
                                               "  Window vertical pixels: 768",
                                               "  Window horizontal characters: 80",
                                               "  Window vertical characters: 24",
                                               "  Window background color: 0",
                                               "  Frame time: 33",
                                               "  Window style: 5",
                                               "  Window state: fullscreen",
                                               "  Window title: Vessik",
                                               "  Show mouse: false",
                                               "  Headless: false",
                                               "  Display: window",
                                               "  Font file: vk-font.ttf",
                                               "  Log file: vessik.log",
                                               "  Random seed: 0",
                                               "  Networking: false",
                                               "  Scene graph: grid",
                                               "  Grid width: 20",
                                               "  Grid height: 8",
                                               "-----------------------------------"};
    EXPECT_EQ(env.logMessages(), expected);
}

// The game's file doubles as the reference of the keys: it must say nothing
// but the title that differs from the built-in defaults.
TEST_F(ConfigTest, ShippedFileKeepsEveryDefaultButTitlesTheWindowSwellrun) {
    EXPECT_EQ(load(vktest::readFile(vktest::sourceDir() + "/vk-config.txt")), "");
    EXPECT_EQ(config.getWindowHorizontalPixels(), 1024);
    EXPECT_EQ(config.getWindowVerticalPixels(), 768);
    EXPECT_EQ(config.getWindowHorizontalChars(), 80);
    EXPECT_EQ(config.getWindowVerticalChars(), 24);
    EXPECT_EQ(config.getWindowStyle(), 5);
    EXPECT_EQ(config.getWindowState(), 0);
    EXPECT_EQ(config.getWindowBackgroundColor(), vk::BLACK);
    EXPECT_EQ(config.getFrameTime(), 33);
    EXPECT_EQ(config.getFontScale(), 2.0f);
    EXPECT_EQ(config.getFontFile(), "vk-font.ttf");
    EXPECT_FALSE(config.getShowMouse());
    EXPECT_FALSE(config.getHeadless());
    EXPECT_EQ(config.getLogfile(), "vessik.log");
    EXPECT_EQ(config.getRandomSeed(), 0);
    EXPECT_TRUE(config.getNetworking());
    EXPECT_EQ(config.getGridWidth(), 20);
    EXPECT_EQ(config.getGridHeight(), 8);
    EXPECT_EQ(config.getQuadtreeThreshold(), 1);
    EXPECT_EQ(config.getQuadtreeDepth(), 10);
    EXPECT_TRUE(config.getSignals());
    EXPECT_EQ(config.getWindowTitle(), "Swellrun");
}
