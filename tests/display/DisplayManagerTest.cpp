#include "DisplayTestSupport.h"
#include "inFreshProcess.h"

#include <vessik/core/EventStep.h>
#include <vessik/display/DisplayManager.h>
#include <vessik/world/WorldManager.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using vk::DisplayManager;
using vk::Vector;
using vktest::countPixels;
using vktest::is;

namespace {

const sf::Color RED_PIXEL(255, 0, 0);

// Pixels of the colour in a cell of the default geometry (12.8 x 32).
int countInCell(const sf::Image &image, int col, int row, sf::Color color) {
    return countPixels(image, is(color), static_cast<int>(std::floor(col * 12.8f)), row * 32,
                       static_cast<int>(std::ceil((col + 1) * 12.8f)), (row + 1) * 32);
}

// Writes the step count's last digit at (0, 0) in every step and ends the
// game at step 3.
struct Painter : vk::Object {
    Painter() { registerInterest(vk::STEP_EVENT); }
    int eventHandler(const vk::Event *p_event) override {
        const int step = dynamic_cast<const vk::EventStep *>(p_event)->getStepCount();
        DisplayManager::getInstance().drawCh(Vector(0, 0), static_cast<char>('0' + step % 10), vk::WHITE, 0);
        if (step >= 3)
            vk::GameManager::getInstance().setGameOver();
        return 1;
    }
};

} // namespace

TEST(DisplayManager, HeadlessStartsWithoutADisplayKnowsTheCellsAndKeepsOnlyTheFrameText) {
    // the graphics library would end the process if headless mode touched it
    unsetenv("DISPLAY");
    vktest::Engine engine("headless:true,window_horizontal_pixels:800,window_vertical_pixels:600,"
                          "window_horizontal_chars:100,window_vertical_chars:20,",
                          false, 30);
    DisplayManager &display = DisplayManager::getInstance();
    ASSERT_EQ(display.startUp(), 0);
    EXPECT_TRUE(engine.env.logHas("DisplayManager::startUp(): no graphics in headless mode."));
    EXPECT_EQ(display.startUp(), -1);
    EXPECT_TRUE(engine.env.logHas("DisplayManager::startup(): Warning! DisplayManager already started."));
    // cells of 8 x 30 pixels
    EXPECT_EQ(vk::spacesToPixels(Vector(10, 2)), Vector(80, 60));
    EXPECT_EQ(vk::pixelsToSpaces(Vector(4, 15)), Vector(0.5f, 0.5f));
    EXPECT_TRUE(engine.env.logHas("spacesToPixels(int): spaces (10.00,2.00) = pixels (80.00,60.00)"));
    EXPECT_TRUE(engine.env.logHas("pixelsToSpaces(): pixels (4.00,15.00) = spaces (0.50,0.50)"));

    const std::size_t lines = engine.env.logMessages().size();
    EXPECT_EQ(display.drawCh(Vector(1, 1), 'x', vk::RED, 0), -1);
    EXPECT_EQ(display.drawString(Vector(1, 1), "text", vk::LEFT_JUSTIFIED, vk::RED), -1);
    EXPECT_EQ(display.swapBuffers(), -1);
    EXPECT_EQ(engine.env.logMessages().size(), lines) << "headless drawing is silent";
    // but the frame text is kept, for replays to check
    EXPECT_EQ(display.getShownText().lines()[1].substr(0, 6), " text ");
    EXPECT_EQ(display.getShownText().at(1, 1).r, 255);
    EXPECT_FALSE(display.getFrameText().at(1, 1).drawn);
    // colours without bytes of their own are white
    EXPECT_EQ(vk::colorToSFML(vk::YELLOW), sf::Color(255, 255, 0, 255));
    EXPECT_EQ(vk::colorToSFML(static_cast<vk::Color>(-1)), sf::Color::White);
    EXPECT_TRUE(engine.env.logHas("colorToSFML(): Color -1 not supported."));
}

TEST(DisplayManager, StartUpFailsCleanlyWithoutCellsOrADisplay) {
    // DISPLAY is unset unless given
    const struct { const char *config, *display, *line; } cases[] = {
        {"headless:true,window_horizontal_chars:0,", nullptr, "Window of 0 x 24 characters has no cells."},
        {"window_vertical_chars:-3,", nullptr, "Window of 80 x -3 characters has no cells."},
        {"headless:true,window_horizontal_chars:100000,", nullptr,
         "Window of 100000 x 24 characters has more than 4096 in a row or column."},
        {"window_horizontal_pixels:-1024,", nullptr, "Window of -1024 x 768 pixels is negative."},
        {"", nullptr, "No display: DISPLAY is not set (headless mode runs without one)."},
        {"", ":31999", "Unable to open display ':31999'."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        c.display ? setenv("DISPLAY", c.display, 1) : unsetenv("DISPLAY");
        vktest::Engine engine(c.config, false);
        DisplayManager &display = DisplayManager::getInstance();
        EXPECT_EQ(display.startUp(), -1);
        EXPECT_TRUE(engine.env.logHas(std::string("DisplayManager::startUp(): Error! ") + c.line));
        EXPECT_EQ(display.drawCh(Vector(1, 1), 'a', 255, 255, 255, 0), -1);
        EXPECT_EQ(engine.env.logCount("DisplayManager not started!"), 1);
    }

    // the game manager stops there and stops nothing that did not start
    unsetenv("DISPLAY");
    vktest::TestEnv env;
    setenv("VESSIK_LOG_LEVEL", "1", 1);
    EXPECT_EQ(vk::GameManager::getInstance().startUp(), -1);
    vk::GameManager::getInstance().shutDown();
    unsetenv("VESSIK_LOG_LEVEL");
    EXPECT_TRUE(env.logHas("Log Manager started."));
    EXPECT_TRUE(env.logHas("GameManager::startUp(): Error! Starting display manager."));
    EXPECT_FALSE(env.logHas("Display manager stopped"));
}

// Every start of the engine on a fresh server that resets when its last
// client leaves, as one started by xvfb-run does, opens its window: a reset
// during start-up would hang up on the next connection, and the graphics
// library ends the process when it cannot connect.
TEST(DisplayManager, OpensItsWindowOnAServerThatResetsWhenIdle) {
    for (int launch = 0; launch < 20; launch++) {
        SCOPED_TRACE("launch " + std::to_string(launch));
        vktest::inFreshProcess([] {
            const vktest::XServer x_server(true);
            ASSERT_TRUE(x_server.ok()) << x_server.error();
            const vktest::TestEnv env("networking:false,");
            EXPECT_EQ(vk::GameManager::getInstance().startUp(), 0);
            EXPECT_NE(DisplayManager::getInstance().getWindow(), nullptr);
            vk::GameManager::getInstance().shutDown();
        });
    }
}

TEST(DisplayManager, WindowTakesTheConfiguredOrTheScreensSizeAndStartsAgainAfterShutDown) {
    vktest::Engine engine("", true);
    DisplayManager &display = DisplayManager::getInstance();
    vk::Config &config = vk::Config::getInstance();
    ASSERT_EQ(display.startUp(), 0);
    EXPECT_EQ(display.getWindow()->getSize(), sf::Vector2u(1024, 768));
    EXPECT_EQ(display.getCharacterSize(), 25u);
    EXPECT_TRUE(engine.env.logHas("DisplayManager::startUp(): window resolution (1280, 1024) pixels."));
    // the first frame starts from the background
    EXPECT_EQ(countPixels(vktest::screenshot(), is(sf::Color::Black)), 1024 * 768);
    display.drawCh(Vector(1, 1), 'a', vk::WHITE, 0);
    display.shutDown();
    display.shutDown();
    EXPECT_EQ(display.getWindow(), nullptr);
    EXPECT_TRUE(engine.env.logHas("DisplayManager::shutDown(): successfully stopped."));

    // zero pixels take the screen's size
    config.loadConfig("window_horizontal_pixels:0,window_vertical_pixels:0,");
    ASSERT_EQ(display.startUp(), 0);
    EXPECT_FALSE(display.getFrameText().at(1, 1).drawn);
    EXPECT_EQ(display.getWindow()->getSize(), sf::Vector2u(1280, 1024));
    ASSERT_EQ(display.drawCh(Vector(1, 1), 'a', vk::WHITE, 0), 0);
    EXPECT_GT(countPixels(vktest::screenshot(), is(sf::Color::White)), 0);
    display.shutDown();

    // full screen takes a mode the screen offers: the cells divide that
    config.loadConfig("window_horizontal_pixels:1024,window_vertical_pixels:768,window_state:fullscreen,");
    ASSERT_EQ(display.startUp(), 0);
    EXPECT_TRUE(
        engine.env.logHas("DisplayManager::startUp(): Warning! Window is 1280 x 1024 pixels, not 1024 x 768."));
    EXPECT_EQ(vk::pixelsToSpaces(Vector(640, 512)), Vector(40, 12));
    display.shutDown();

    config.loadConfig("window_state:default,font_file:no-such-font.ttf,");
    EXPECT_EQ(display.startUp(), -1);
    EXPECT_TRUE(
        engine.env.logHas("DisplayManager::startUp(): Error! Unable to open font from file 'no-such-font.ttf'."));
    EXPECT_NE(display.getWindow(), nullptr) << "kept until shutDown";
}

TEST(DisplayManager, CharactersAppearInTheCellsOfTheViewInTheirColours) {
    vktest::Engine engine("", true);
    DisplayManager &display = DisplayManager::getInstance();
    ASSERT_EQ(display.startUp(), 0);
    ASSERT_EQ(vk::WorldManager::getInstance().setView(vk::Box(Vector(30, 10), 80, 24)), 0);
    ASSERT_EQ(display.drawCh(Vector(33, 12), 'X', vk::RED, 0), 0);
    ASSERT_EQ(display.drawCh(Vector(34, 14), '#', 10, 200, 30, 0), 0);
    ASSERT_EQ(display.drawCh(Vector(50, 20), 'H', static_cast<vk::Color>(42), 0), 0);
    // left of and above the view
    ASSERT_EQ(display.drawCh(Vector(5, 5), 'h', vk::RED, 0), 0);
    ASSERT_EQ(display.drawString(Vector(110, 33), "end", vk::RIGHT_JUSTIFIED, vk::WHITE), 0);

    const vk::ScreenText &frame = display.getFrameText();
    EXPECT_EQ(frame.lines()[2].substr(0, 5), "   X ");
    EXPECT_EQ(frame.lines()[23].substr(77), "end");
    EXPECT_EQ(frame.toString().find('h'), std::string::npos);
    const vk::ScreenCell rgb = frame.at(4, 4);
    EXPECT_TRUE(rgb.ch == '#' && rgb.r == 10 && rgb.g == 200 && rgb.b == 30);
    // colours without bytes of their own draw white
    const vk::ScreenCell unknown = frame.at(20, 10);
    EXPECT_TRUE(unknown.ch == 'H' && unknown.r == 255 && unknown.g == 255 && unknown.b == 255);
    // all the red is in the X's cell
    const sf::Image image = vktest::screenshot();
    EXPECT_GT(countInCell(image, 3, 2, RED_PIXEL), 20);
    EXPECT_EQ(countInCell(image, 3, 2, RED_PIXEL), countPixels(image, is(RED_PIXEL)));
}

TEST(DisplayManager, BoxesEraseTheCellAndDrawingOnlyThoseOverInkChangesNoPixel) {
    vktest::Engine engine("", true);
    DisplayManager &display = DisplayManager::getInstance();
    ASSERT_EQ(display.startUp(), 0);
    // the widest and tallest glyphs on row 2, and drawn over by a blank on row 8
    const std::string glyphs = "W@M#gjy|_";
    for (std::size_t i = 0; i < glyphs.size(); i++) {
        const float x = static_cast<float>(10 + 2 * i);
        display.drawCh(Vector(x, 2), glyphs[i], vk::RED, 0);
        display.drawCh(Vector(x, 8), glyphs[i], vk::RED, 0);
        display.drawCh(Vector(x, 8), ' ', vk::GREEN, 0);
    }
    display.drawCh(Vector(5, 8), 'W', vk::RED, 0);
    display.drawCh(Vector(5, 8), '.', vk::GREEN, 0);
    const sf::Image image = vktest::screenshot();
    auto reddish = [](sf::Color pixel) { return pixel.r > 0; };
    const int drawn = countPixels(image, reddish, 0, 2 * 32, 1024, 3 * 32);
    ASSERT_GT(drawn, 500);
    // the box leaves at most a smoothed pixel column of the widest glyphs
    EXPECT_LT(countPixels(image, reddish, 0, 8 * 32, 1024, 9 * 32), drawn / 10);
    EXPECT_EQ(countPixels(image, is(RED_PIXEL), 0, 8 * 32, 1024, 9 * 32), 0);
    EXPECT_GT(countInCell(image, 5, 8, sf::Color::Green), 0);
    display.swapBuffers();

    // a crowded picture: full rows, overdrawn cells, half-cell positions,
    // rotated characters, characters half off the window or nowhere; the
    // rows three times over, more than one batch of vertices holds
    auto picture = [&display] {
        for (int pass = 0; pass < 3; pass++)
            for (int y = 0; y < 24; y++)
                for (int x = 0; x < 80; x++)
                    display.drawCh(Vector(static_cast<float>(x), static_cast<float>(y)),
                                   "W@M#gjy|_QX%&$"[(x * 7 + y + pass) % 14], static_cast<vk::Color>(1 + (x + y) % 7),
                                   0);
        for (float f = 0; f < 30; f++) {
            display.drawCh(Vector(f * 2.5f, 3.5f), ' ', vk::WHITE, 0);
            display.drawCh(Vector(f * 2.5f + 0.25f, 7.4f), 'o', vk::WHITE, f * 25);
            display.drawCh(Vector(f * 0.5f, 11), '.', vk::RED, 0);
            display.drawCh(Vector(79.6f, f * 0.8f), 'M', vk::GREEN, 0);
            display.drawCh(Vector(-0.4f, f * 0.8f), 'M', vk::BLUE, 0);
            display.drawCh(Vector(std::nanf(""), f), 'M', vk::BLUE, 0);
        }
    };
    picture();
    const sf::Image culled = vktest::screenshot();
    display.swapBuffers();
    // drawing something else first makes every box of the frame draw whole
    ASSERT_EQ(display.draw(sf::RectangleShape(sf::Vector2f(0, 0))), 0);
    picture();
    const sf::Image whole = vktest::screenshot();
    EXPECT_TRUE(std::equal(culled.getPixelsPtr(), culled.getPixelsPtr() + 1024 * 768 * 4, whole.getPixelsPtr()));
    EXPECT_GT(countPixels(whole, is(sf::Color::Black)), 1000);
}

TEST(DisplayManager, StringsJustifyAroundThePositionAndSwapBuffersShowsTheFrame) {
    vktest::Engine engine("window_background_color:blue,", true);
    DisplayManager &display = DisplayManager::getInstance();
    ASSERT_EQ(display.startUp(), 0);
    // a string on each row, and the row's cells 6 to 15 afterwards
    const struct { float x; const char *text; vk::Justification just; const char *cells; } cases[] = {
        {10, "ABCD", vk::CENTER_JUSTIFIED, "  ABCD    "}, {10, "ABCD", vk::RIGHT_JUSTIFIED, "ABCD      "},
        {10, "ABCD", vk::LEFT_JUSTIFIED, "    ABCD  "},   {10, "ABCDE", vk::CENTER_JUSTIFIED, "  ABCDE   "},
        {10, "", vk::CENTER_JUSTIFIED, "          "},     {1, "ABCDEF", vk::RIGHT_JUSTIFIED, "          "},
    };
    for (int row = 0; row < 6; row++) {
        SCOPED_TRACE(cases[row].text);
        EXPECT_EQ(display.drawString(Vector(cases[row].x, row), cases[row].text, cases[row].just, vk::WHITE), 0);
        EXPECT_EQ(display.getFrameText().lines()[static_cast<std::size_t>(row)].substr(6, 10), cases[row].cells);
    }
    // off the left edge the visible part is drawn
    EXPECT_EQ(display.getFrameText().lines()[5].substr(0, 3), "F  ");

    ASSERT_EQ(display.swapBuffers(), 0);
    EXPECT_EQ(display.getShownText().lines()[0].substr(6, 10), "  ABCD    ");
    // the new frame is cleared to the configured background
    EXPECT_EQ(countPixels(vktest::screenshot(), is(sf::Color::Blue)), 1024 * 768);
    display.drawCh(Vector(1, 1), 'b', vk::WHITE, 0);
    ASSERT_EQ(display.swapBuffers(), 0);
    EXPECT_EQ(display.getShownText().lines()[0], std::string(80, ' '));
    EXPECT_EQ(display.getShownText().lines()[1].substr(0, 3), " b ");
    // each frame starts empty
    EXPECT_FALSE(display.getFrameText().at(8, 0).drawn);
}

TEST(DisplayManager, GameManagerStartsDisplayThenInputAndTheLoopShowsEachStep) {
    vktest::Game game("frame_time:0,");
    ASSERT_TRUE(game.started);
    new Painter; // the world manager owns it
    vk::GameManager::getInstance().run();
    // the step's handlers draw before the same step shows the frame
    EXPECT_EQ(DisplayManager::getInstance().getShownText().at(0, 0).ch, '3');

    vk::GameManager::getInstance().shutDown();
    const std::vector<std::string> log = game.env.logMessages();
    const char *order[] = {"Display manager started.", "Input manager started.", "GameManager successfully started.",
                           "Input manager stopped",    "Display manager stopped", "** Game engine stopped **"};
    for (std::size_t i = 1; i < 6; i++)
        EXPECT_LT(std::find(log.begin(), log.end(), order[i - 1]), std::find(log.begin(), log.end(), order[i]))
            << order[i];
    EXPECT_NE(std::find(log.begin(), log.end(), order[5]), log.end());
    // the input manager stops while the window it gives key repeat back to exists
    EXPECT_TRUE(game.env.logHas("InputManager::shutDown(): Keyboard repeat enabled."));
}

TEST(DisplayManager, FullScreenTwiceGivesTheWindowBackWithTheSameCellsAndText) {
    vktest::Game game("frame_time:0,headless:false,window_state:default,window_horizontal_pixels:1024,"
                      "window_vertical_pixels:768,window_horizontal_chars:80,window_vertical_chars:24,font_scale:2,"
                      "font_file:vk-font.ttf,");
    ASSERT_TRUE(game.started);
    DisplayManager &display = DisplayManager::getInstance();
    const auto frame = [&display] {
        display.drawString(Vector(40, 12), "surf", vk::CENTER_JUSTIFIED, vk::YELLOW);
        const sf::Image image = vktest::screenshot();
        const int row_height = static_cast<int>(image.getSize().y) / 24;
        EXPECT_GT(countPixels(image, is(sf::Color::Yellow), 0, 12 * row_height, 1 << 20, 13 * row_height), 0);
        display.swapBuffers();
        return display.getShownText().toString();
    };
    const std::string windowed = frame();
    EXPECT_EQ(display.setFullScreen(false), 0) << "already windowed";
    for (const bool full : {true, false}) {
        ASSERT_EQ(display.setFullScreen(full), 0);
        EXPECT_EQ(display.isFullScreen(), full);
        EXPECT_EQ(display.getWindow()->getSize(), full ? sf::Vector2u(1280, 1024) : sf::Vector2u(1024, 768));
        EXPECT_EQ(display.getCharacterSize(), full ? 32u : 25u);
        EXPECT_EQ(vk::pixelsToSpaces(full ? Vector(640, 512) : Vector(512, 384)), Vector(40, 12));
        EXPECT_EQ(frame(), windowed);
    }
}
