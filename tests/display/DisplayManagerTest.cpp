#include "Config.h"
#include "DisplayManager.h"
#include "DisplayTestSupport.h"
#include "EventStep.h"
#include "GameManager.h"
#include "InputManager.h"
#include "LogManager.h"
#include "TestEnv.h"
#include "WorldManager.h"
#include "XServer.h"

#include <SFML/Graphics.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

using vk::DisplayManager;
using vk::Vector;

namespace {

// Loads the configuration and opens the log as the game manager would, then
// leaves the display manager to the test.
struct Engine {
    vktest::TestEnv env;
    explicit Engine(const std::string &config, int log_level = 5) : env(config) {
        vk::Config::getInstance().loadConfig("");
        vk::LogManager::getInstance().startUp();
        vk::LogManager::getInstance().setLogLevel(log_level);
    }
    ~Engine() {
        DisplayManager::getInstance().shutDown();
        vk::LogManager::getInstance().shutDown();
    }
};

// A display manager with a window on a private X server.
struct Window {
    vktest::XServer x_server;
    Engine engine;
    explicit Window(const std::string &config = "", int log_level = 5) : engine(config, log_level) {}
    [[nodiscard]] bool start() {
        if (!x_server.ok()) {
            ADD_FAILURE() << "no X server: " << x_server.error();
            return false;
        }
        return DisplayManager::getInstance().startUp() == 0;
    }
};

const sf::Color RED_PIXEL(255, 0, 0);
const sf::Color GREEN_PIXEL(0, 255, 0);
const sf::Color WHITE_PIXEL(255, 255, 255);

// The pixel rectangle of a cell with the default geometry (12.8 x 32).
struct CellRect {
    int x0, y0, x1, y1;
};
CellRect cellRect(int col, int row) {
    return {static_cast<int>(std::floor(col * 12.8f)), row * 32, static_cast<int>(std::ceil((col + 1) * 12.8f)),
            (row + 1) * 32};
}

int countInCell(const sf::Image &image, int col, int row, sf::Color color) {
    const CellRect r = cellRect(col, row);
    return vktest::countPixels(image, r.x0, r.y0, r.x1, r.y1, color);
}

int countAll(const sf::Image &image, sf::Color color) {
    return vktest::countPixels(image, 0, 0, static_cast<int>(image.getSize().x), static_cast<int>(image.getSize().y),
                               color);
}

} // namespace

TEST(DisplayManager, HeadlessStartsWithoutAnyDisplayKnowsTheCellsAndDrawsNothing) {
    // the graphics library would end the process if headless mode touched it
    unsetenv("DISPLAY");
    Engine engine("headless:true,window_horizontal_pixels:800,window_vertical_pixels:600,"
                  "window_horizontal_chars:100,window_vertical_chars:20,");
    DisplayManager &display = DisplayManager::getInstance();
    ASSERT_EQ(display.startUp(), 0);
    EXPECT_TRUE(display.isStarted());
    EXPECT_EQ(display.getWindow(), nullptr);
    EXPECT_EQ(display.getHorizontal(), 100);
    EXPECT_EQ(display.getVertical(), 20);
    EXPECT_FLOAT_EQ(vk::charWidth(), 8.0f);
    EXPECT_FLOAT_EQ(vk::charHeight(), 30.0f);
    EXPECT_TRUE(engine.env.logHas("DisplayManager::startUp(): no graphics in headless mode."));
    EXPECT_TRUE(engine.env.logHas("DisplayManager::startUp(): successfully started."));

    const std::size_t lines = engine.env.logMessages().size();
    EXPECT_EQ(display.drawCh(Vector(1, 1), 'x', vk::RED, 0), -1);
    EXPECT_EQ(display.drawCh(Vector(1, 1), 'x', 1, 2, 3, 0), -1);
    EXPECT_EQ(display.drawString(Vector(1, 1), "text", vk::LEFT_JUSTIFIED, vk::RED), -1);
    EXPECT_EQ(display.swapBuffers(), -1);
    EXPECT_EQ(display.flush(), -1);
    EXPECT_EQ(engine.env.logMessages().size(), lines);
    EXPECT_FALSE(display.getFrameText().at(1, 1).drawn);
}

TEST(DisplayManager, CellConversionsUseTheGeometryAndTraceAtLevelThirty) {
    Engine engine("headless:true,", 30);
    ASSERT_EQ(DisplayManager::getInstance().startUp(), 0);
    EXPECT_FLOAT_EQ(vk::charWidth(), 12.8f);
    EXPECT_FLOAT_EQ(vk::charHeight(), 32.0f);

    EXPECT_EQ(vk::spacesToPixels(Vector(10, 2)), Vector(128, 64));
    EXPECT_EQ(vk::pixelsToSpaces(Vector(128, 64)), Vector(10, 2));
    const Vector half = vk::pixelsToSpaces(Vector(6.4f, 16));
    EXPECT_FLOAT_EQ(half.getX(), 0.5f);
    EXPECT_FLOAT_EQ(half.getY(), 0.5f);
    EXPECT_TRUE(engine.env.logHas("spacesToPixels(int): spaces (10.00,2.00) = pixels (128.00,64.00)"));
    EXPECT_TRUE(engine.env.logHas("pixelsToSpaces(): pixels (128.00,64.00) = spaces (10.00,2.00)"));

    vk::LogManager::getInstance().setLogLevel(29);
    (void)vk::spacesToPixels(Vector(3, 3));
    EXPECT_FALSE(engine.env.logHas("spacesToPixels(int): spaces (3.00,3.00) = pixels (38.40,96.00)"));
}

TEST(DisplayManager, WindowsWithoutCellsOrWithNegativeSizesAreRefused) {
    for (const char *config : {"headless:true,window_horizontal_chars:0,", "window_vertical_chars:0,",
                               "headless:true,window_vertical_chars:-3,"}) {
        Engine engine(config);
        EXPECT_EQ(DisplayManager::getInstance().startUp(), -1) << config;
        EXPECT_FALSE(DisplayManager::getInstance().isStarted());
        bool refused = false;
        for (const std::string &line : engine.env.logMessages())
            refused |= line.rfind("DisplayManager::startUp(): Error! Window of ", 0) == 0 &&
                       line.find("characters has no cells.") != std::string::npos;
        EXPECT_TRUE(refused) << config;
    }
    {
        Engine engine("headless:true,window_vertical_chars:24,window_horizontal_chars:100000,");
        EXPECT_EQ(DisplayManager::getInstance().startUp(), -1);
        EXPECT_TRUE(engine.env.logHas("DisplayManager::startUp(): Error! Window of 100000 x 24 characters has more "
                                      "than 4096 in a row or column."));
    }
    // the configuration keeps what the engines before set
    Engine engine("window_horizontal_chars:80,window_vertical_chars:24,window_horizontal_pixels:-1024,");
    EXPECT_EQ(DisplayManager::getInstance().startUp(), -1);
    EXPECT_TRUE(engine.env.logHas("DisplayManager::startUp(): Error! Window of -1024 x 768 pixels is negative."));
}

TEST(DisplayManager, WithoutADisplayStartUpFailsCleanly) {
    unsetenv("DISPLAY");
    {
        Engine engine("");
        EXPECT_EQ(DisplayManager::getInstance().startUp(), -1);
        EXPECT_FALSE(DisplayManager::getInstance().isStarted());
        EXPECT_EQ(DisplayManager::getInstance().getWindow(), nullptr);
        EXPECT_TRUE(engine.env.logHas(
            "DisplayManager::startUp(): Error! No display: DISPLAY is not set (headless mode runs without one)."));
    }
    setenv("DISPLAY", ":31999", 1);
    Engine engine("");
    EXPECT_EQ(DisplayManager::getInstance().startUp(), -1);
    EXPECT_TRUE(engine.env.logHas("DisplayManager::startUp(): Error! Unable to open display ':31999'."));
    unsetenv("DISPLAY");
}

TEST(DisplayManager, GameManagerStopsAtAFailedDisplayAndStopsNothingElse) {
    unsetenv("DISPLAY");
    vktest::TestEnv env("");
    setenv("VESSIK_LOG_LEVEL", "1", 1);
    vk::GameManager &game = vk::GameManager::getInstance();
    EXPECT_EQ(game.startUp(), -1);
    EXPECT_TRUE(env.logHas("GameManager::startUp(): Error! Starting display manager."));
    EXPECT_FALSE(env.logHas("Display manager started."));
    EXPECT_FALSE(vk::InputManager::getInstance().isStarted());
    game.shutDown();
    unsetenv("VESSIK_LOG_LEVEL");
    EXPECT_FALSE(env.logHas("Input manager stopped"));
    EXPECT_FALSE(env.logHas("Display manager stopped"));
}

TEST(DisplayManager, EveryDrawingOperationRefusesBeforeStartUp) {
    Engine engine("");
    DisplayManager &display = DisplayManager::getInstance();
    EXPECT_EQ(display.drawCh(Vector(1, 1), 'a', vk::WHITE, 0), -1);
    EXPECT_EQ(display.drawString(Vector(1, 1), "ab", vk::LEFT_JUSTIFIED, vk::WHITE), -1);
    EXPECT_EQ(display.swapBuffers(), -1);
    EXPECT_EQ(engine.env.logCount("DisplayManager not started!"), 3);
}

TEST(DisplayManager, SecondStartUpIsRefused) {
    Engine engine("headless:true,");
    ASSERT_EQ(DisplayManager::getInstance().startUp(), 0);
    EXPECT_EQ(DisplayManager::getInstance().startUp(), -1);
    EXPECT_TRUE(engine.env.logHas("DisplayManager::startup(): Warning! DisplayManager already started."));
    EXPECT_TRUE(DisplayManager::getInstance().isStarted());
}

TEST(DisplayManager, DefaultWindowHasTheConfiguredSizeAndCharacterSize) {
    Window window("window_title:Cells,");
    ASSERT_TRUE(window.start());
    DisplayManager &display = DisplayManager::getInstance();
    ASSERT_NE(display.getWindow(), nullptr);
    EXPECT_EQ(display.getWindow()->getSize(), sf::Vector2u(1024, 768));
    EXPECT_EQ(display.getCharacterSize(), 25u);
    EXPECT_TRUE(window.engine.env.logHas("DisplayManager::startUp(): window resolution (1280, 1024) pixels."));
    const sf::Image image = vktest::screenshot();
    EXPECT_EQ(image.getSize(), sf::Vector2u(1024, 768));
    // the first frame starts from the background
    EXPECT_EQ(countAll(image, sf::Color::Black), 1024 * 768);
}

TEST(DisplayManager, ZeroPixelsOpenAWindowOfTheDesktopsSize) {
    Window window("window_horizontal_pixels:0,window_vertical_pixels:0,");
    ASSERT_TRUE(window.start());
    EXPECT_EQ(DisplayManager::getInstance().getWindow()->getSize(), sf::Vector2u(1280, 1024));
    EXPECT_FLOAT_EQ(vk::charWidth(), 16.0f);
    EXPECT_FLOAT_EQ(vk::charHeight(), 1024.0f / 24.0f);
}

TEST(DisplayManager, FullScreenCellsDivideTheModeTheScreenOffers) {
    // the private screen offers 1280 x 1024, not the configured 1024 x 768
    Window window("window_state:fullscreen,", 1);
    ASSERT_TRUE(window.start());
    EXPECT_EQ(DisplayManager::getInstance().getWindow()->getSize(), sf::Vector2u(1280, 1024));
    EXPECT_EQ(DisplayManager::getInstance().getHorizontalPixels(), 1280);
    EXPECT_FLOAT_EQ(vk::charWidth(), 16.0f);
    EXPECT_TRUE(window.engine.env.logHas("DisplayManager::startUp(): Warning! Window is 1280 x 1024 pixels, not 1024 x 768."));
    EXPECT_EQ(vk::pixelsToSpaces(Vector(640, 512)), Vector(40, 12));
}

TEST(DisplayManager, CharactersAppearInTheirCellsInTheirColours) {
    Window window;
    ASSERT_TRUE(window.start());
    DisplayManager &display = DisplayManager::getInstance();
    ASSERT_EQ(display.drawCh(Vector(3, 2), 'X', vk::RED, 0), 0);
    ASSERT_EQ(display.drawCh(Vector(10, 5), 'O', vk::GREEN, 0), 0);
    ASSERT_EQ(display.drawCh(Vector(20, 10), 'H', vk::CUSTOM, 0), 0);
    ASSERT_EQ(display.drawCh(Vector(30, 12), 'M', static_cast<vk::Color>(42), 0), 0);

    const vk::ScreenText &frame = display.getFrameText();
    EXPECT_EQ(frame.lines()[2].substr(0, 5), "   X ");
    const vk::ScreenCell o = frame.at(10, 5);
    EXPECT_EQ(o.ch, 'O');
    EXPECT_EQ(o.g, 255);
    EXPECT_EQ(o.r + o.b, 0);
    // colours without bytes of their own draw white
    for (const vk::ScreenCell &cell : {frame.at(20, 10), frame.at(30, 12)})
        EXPECT_TRUE(cell.r == 255 && cell.g == 255 && cell.b == 255);

    const sf::Image image = vktest::screenshot();
    EXPECT_GT(countInCell(image, 3, 2, RED_PIXEL), 20);
    EXPECT_EQ(countInCell(image, 3, 2, RED_PIXEL), countAll(image, RED_PIXEL));
    EXPECT_GT(countInCell(image, 10, 5, GREEN_PIXEL), 20);
    EXPECT_EQ(countInCell(image, 10, 5, GREEN_PIXEL), countAll(image, GREEN_PIXEL));
    EXPECT_GT(countInCell(image, 20, 10, WHITE_PIXEL), 20);
    EXPECT_GT(countInCell(image, 30, 12, WHITE_PIXEL), 20);
    EXPECT_EQ(countInCell(image, 20, 10, WHITE_PIXEL) + countInCell(image, 30, 12, WHITE_PIXEL),
              countAll(image, WHITE_PIXEL));
}

TEST(DisplayManager, RgbColoursAreDrawnAsGiven) {
    Window window;
    ASSERT_TRUE(window.start());
    ASSERT_EQ(DisplayManager::getInstance().drawCh(Vector(4, 4), '#', 10, 200, 30, 0), 0);
    const vk::ScreenCell cell = DisplayManager::getInstance().getFrameText().at(4, 4);
    EXPECT_TRUE(cell.ch == '#' && cell.r == 10 && cell.g == 200 && cell.b == 30);
    EXPECT_GT(countInCell(vktest::screenshot(), 4, 4, sf::Color(10, 200, 30)), 20);
}

TEST(DisplayManager, OverdrawingACellErasesTheEarlierCharacter) {
    Window window;
    ASSERT_TRUE(window.start());
    DisplayManager &display = DisplayManager::getInstance();
    // the wide and tall glyphs once as they are, on row 2, and once drawn
    // over by a blank, on row 8
    const std::string glyphs = "W@M#gjy|_";
    for (int i = 0; i < static_cast<int>(glyphs.size()); i++) {
        const float x = static_cast<float>(10 + 2 * i);
        display.drawCh(Vector(x, 2), glyphs[static_cast<std::size_t>(i)], vk::RED, 0);
        display.drawCh(Vector(x, 8), glyphs[static_cast<std::size_t>(i)], vk::RED, 0);
        display.drawCh(Vector(x, 8), ' ', vk::GREEN, 0);
    }
    display.drawCh(Vector(5, 8), 'W', vk::RED, 0);
    display.drawCh(Vector(5, 8), '.', vk::GREEN, 0);
    EXPECT_EQ(display.getFrameText().at(5, 8).ch, '.');
    EXPECT_EQ(display.getFrameText().at(10, 8).ch, ' ');
    EXPECT_EQ(display.getFrameText().at(10, 2).ch, 'W');

    const sf::Image image = vktest::screenshot();
    auto reddish = [&image](int row) {
        int count = 0;
        for (int y = row * 32; y < (row + 1) * 32; y++)
            for (int x = 0; x < 1024; x++)
                count += image.getPixel(static_cast<unsigned>(x), static_cast<unsigned>(y)).r > 0 ? 1 : 0;
        return count;
    };
    const int drawn = reddish(2);
    ASSERT_GT(drawn, 500);
    // the box leaves at most a smoothed pixel column of the widest glyphs
    EXPECT_LT(reddish(8), drawn / 10);
    EXPECT_EQ(vktest::countPixels(image, 0, 8 * 32, 1024, 9 * 32, RED_PIXEL), 0);
    EXPECT_GT(countInCell(image, 5, 8, GREEN_PIXEL), 0);
}

TEST(DisplayManager, DrawingOnlyTheBoxesThatCoverInkLooksLikeDrawingThemAll) {
    Window window;
    ASSERT_TRUE(window.start());
    DisplayManager &display = DisplayManager::getInstance();
    // a crowded picture: full rows, overdrawn cells, half-cell positions,
    // rotated characters and characters half off the window
    auto picture = [&display] {
        const std::string glyphs = "W@M#gjy|_QX%&$";
        for (int y = 0; y < 24; y++)
            for (int x = 0; x < 80; x++)
                display.drawCh(Vector(static_cast<float>(x), static_cast<float>(y)),
                               glyphs[static_cast<std::size_t>((x * 7 + y) % 14)],
                               static_cast<vk::Color>(1 + (x + y) % 7), 0);
        for (int i = 0; i < 30; i++) {
            display.drawCh(Vector(static_cast<float>(i) * 2.5f, 3.5f), ' ', vk::WHITE, 0);
            display.drawCh(Vector(static_cast<float>(i) * 2.5f + 0.25f, 7.4f), 'o', vk::WHITE,
                           static_cast<float>(i * 25));
            display.drawCh(Vector(static_cast<float>(i) * 0.5f, 11), '.', vk::RED, 0);
            display.drawCh(Vector(79.6f, static_cast<float>(i) * 0.8f), 'M', vk::GREEN, 0);
            display.drawCh(Vector(-0.4f, static_cast<float>(i) * 0.8f), 'M', vk::BLUE, 0);
        }
    };
    picture();
    const sf::Image culled = vktest::screenshot();
    display.swapBuffers();

    // drawing something else first makes every box of the frame draw whole
    ASSERT_EQ(display.draw(sf::RectangleShape(sf::Vector2f(0, 0))), 0);
    picture();
    const sf::Image whole = vktest::screenshot();

    int differing = 0;
    for (unsigned y = 0; y < 768; y++)
        for (unsigned x = 0; x < 1024; x++)
            differing += culled.getPixel(x, y) != whole.getPixel(x, y) ? 1 : 0;
    EXPECT_EQ(differing, 0);
    EXPECT_GT(countAll(whole, sf::Color::Black), 1000);
}

TEST(DisplayManager, SwapBuffersShowsTheFrameAndStartsAFreshOne) {
    Window window("window_background_color:blue,");
    ASSERT_TRUE(window.start());
    DisplayManager &display = DisplayManager::getInstance();
    display.drawString(Vector(0, 0), "frame one", vk::LEFT_JUSTIFIED, vk::YELLOW);
    ASSERT_EQ(display.swapBuffers(), 0);
    EXPECT_EQ(display.getShownText().lines()[0].substr(0, 10), "frame one ");
    EXPECT_FALSE(display.getFrameText().at(0, 0).drawn);
    // the new frame is cleared to the configured background
    EXPECT_EQ(countAll(vktest::screenshot(), sf::Color::Blue), 1024 * 768);

    display.drawCh(Vector(1, 1), 'b', vk::WHITE, 0);
    ASSERT_EQ(display.swapBuffers(), 0);
    EXPECT_EQ(display.getShownText().at(0, 0).ch, ' ');
    EXPECT_EQ(display.getShownText().at(1, 1).ch, 'b');
}

TEST(DisplayManager, DrawStringJustifiesAroundThePosition) {
    Window window;
    ASSERT_TRUE(window.start());
    DisplayManager &display = DisplayManager::getInstance();
    EXPECT_EQ(display.drawString(Vector(10, 1), "ABCD", vk::CENTER_JUSTIFIED, vk::WHITE), 0);
    EXPECT_EQ(display.drawString(Vector(10, 2), "ABCD", vk::RIGHT_JUSTIFIED, vk::WHITE), 0);
    EXPECT_EQ(display.drawString(Vector(10, 3), "ABCD", vk::LEFT_JUSTIFIED, vk::WHITE), 0);
    EXPECT_EQ(display.drawString(Vector(10, 4), "ABCDE", vk::CENTER_JUSTIFIED, vk::WHITE), 0);
    EXPECT_EQ(display.drawString(Vector(10, 5), "", vk::CENTER_JUSTIFIED, vk::WHITE), 0);
    // off the left edge: the visible part is drawn
    EXPECT_EQ(display.drawString(Vector(1, 6), "ABCDEF", vk::RIGHT_JUSTIFIED, vk::WHITE), 0);

    const std::vector<std::string> lines = display.getFrameText().lines();
    EXPECT_EQ(lines[1].substr(6, 8), "  ABCD  ");
    EXPECT_EQ(lines[2].substr(4, 8), "  ABCD  ");
    EXPECT_EQ(lines[3].substr(8, 8), "  ABCD  ");
    EXPECT_EQ(lines[4].substr(6, 8), "  ABCDE ");
    EXPECT_EQ(lines[5], std::string(80, ' '));
    EXPECT_EQ(lines[6].substr(0, 3), "F  ");
}

TEST(DisplayManager, CharactersLandInTheNearestCellAndOffScreenOnesAreNotRecorded) {
    Window window;
    ASSERT_TRUE(window.start());
    DisplayManager &display = DisplayManager::getInstance();
    EXPECT_EQ(display.drawCh(Vector(79.4f, 23.4f), 'z', vk::WHITE, 0), 0);
    EXPECT_EQ(display.drawCh(Vector(-3, 2), 'q', vk::WHITE, 0), 0);
    EXPECT_EQ(display.drawCh(Vector(80, 2), 'q', vk::WHITE, 0), 0);
    EXPECT_EQ(display.drawCh(Vector(std::nanf(""), 2), 'q', vk::WHITE, 0), 0);
    EXPECT_EQ(display.getFrameText().at(79, 23).ch, 'z');
    EXPECT_EQ(display.getFrameText().toString().find('q'), std::string::npos);
}

TEST(DisplayManager, CharactersAreDrawnWhereTheirWorldPositionIsInTheView) {
    Window window;
    ASSERT_TRUE(window.start());
    DisplayManager &display = DisplayManager::getInstance();
    ASSERT_EQ(vk::WorldManager::getInstance().setView(vk::Box(Vector(30, 10), 80, 24)), 0);
    display.drawCh(Vector(32, 11), 'v', vk::RED, 0);
    // left of and above the view
    display.drawCh(Vector(5, 5), 'h', vk::GREEN, 0);
    display.drawString(Vector(110, 33), "end", vk::RIGHT_JUSTIFIED, vk::WHITE);
    EXPECT_EQ(display.getFrameText().at(2, 1).ch, 'v');
    EXPECT_EQ(display.getFrameText().lines()[23].substr(77), "end");
    EXPECT_EQ(display.getFrameText().toString().find('h'), std::string::npos);

    const sf::Image image = vktest::screenshot();
    EXPECT_GT(countInCell(image, 2, 1, RED_PIXEL), 5);
    EXPECT_EQ(countAll(image, GREEN_PIXEL), 0);
}

TEST(DisplayManager, MissingFontFailsStartUpWithItsLine) {
    Window window("font_file:no-such-font.ttf,");
    ASSERT_TRUE(window.x_server.ok()) << window.x_server.error();
    EXPECT_EQ(DisplayManager::getInstance().startUp(), -1);
    EXPECT_FALSE(DisplayManager::getInstance().isStarted());
    EXPECT_TRUE(
        window.engine.env.logHas("DisplayManager::startUp(): Error! Unable to open font from file 'no-such-font.ttf'."));
    // the window opened before the font failed stays until shutDown
    EXPECT_NE(DisplayManager::getInstance().getWindow(), nullptr);
    DisplayManager::getInstance().shutDown();
    EXPECT_EQ(DisplayManager::getInstance().getWindow(), nullptr);
}

TEST(DisplayManager, ShutDownClosesTheWindowIsSafeTwiceAndAllowsARestart) {
    Window window;
    ASSERT_TRUE(window.start());
    DisplayManager &display = DisplayManager::getInstance();
    display.drawCh(Vector(1, 1), 'a', vk::WHITE, 0);
    display.shutDown();
    EXPECT_EQ(display.getWindow(), nullptr);
    EXPECT_FALSE(display.isStarted());
    EXPECT_TRUE(window.engine.env.logHas("DisplayManager::shutDown(): successfully stopped."));
    display.shutDown();
    EXPECT_EQ(display.drawCh(Vector(1, 1), 'a', vk::WHITE, 0), -1);

    ASSERT_EQ(display.startUp(), 0);
    EXPECT_FALSE(display.getFrameText().at(1, 1).drawn);
    EXPECT_EQ(display.drawCh(Vector(1, 1), 'a', vk::WHITE, 0), 0);
    EXPECT_GT(countInCell(vktest::screenshot(), 1, 1, WHITE_PIXEL), 0);
}

namespace {

// Writes the step count's last digit at (0, 0) in every step, and ends the
// game after `last_step`.
struct Painter : vk::Object {
    int last_step = 0;
    Painter() { registerInterest(vk::STEP_EVENT); }
    int eventHandler(const vk::Event *p_event) override {
        const int step = dynamic_cast<const vk::EventStep *>(p_event)->getStepCount();
        DisplayManager::getInstance().drawCh(Vector(0, 0), static_cast<char>('0' + step % 10), vk::WHITE, 0);
        if (step >= last_step)
            vk::GameManager::getInstance().setGameOver();
        return 1;
    }
};

} // namespace

TEST(DisplayManager, GameManagerStartsDisplayThenInputAndTheLoopShowsEachStep) {
    vktest::XServer x_server;
    ASSERT_TRUE(x_server.ok()) << x_server.error();
    vktest::TestEnv env("frame_time:0,networking:false,");
    setenv("VESSIK_LOG_LEVEL", "1", 1);
    vk::GameManager &game = vk::GameManager::getInstance();
    ASSERT_EQ(game.startUp(), 0);
    EXPECT_TRUE(DisplayManager::getInstance().isStarted());
    EXPECT_TRUE(vk::InputManager::getInstance().isStarted());

    // the world manager owns and deletes it
    auto *p_painter = new Painter;
    p_painter->last_step = 3;
    game.run();
    // the step's handlers draw before the same step shows the frame
    EXPECT_EQ(DisplayManager::getInstance().getShownText().at(0, 0).ch, '3');

    game.shutDown();
    unsetenv("VESSIK_LOG_LEVEL");
    EXPECT_FALSE(DisplayManager::getInstance().isStarted());
    const std::vector<std::string> log = env.logMessages();
    auto index = [&log](const std::string &message) {
        for (std::size_t i = 0; i < log.size(); i++)
            if (log[i] == message)
                return static_cast<int>(i);
        return -1;
    };
    EXPECT_GE(index("Display manager started."), 0);
    EXPECT_LT(index("Display manager started."), index("Input manager started."));
    EXPECT_LT(index("Input manager started."), index("GameManager successfully started."));
    EXPECT_GE(index("Input manager stopped"), 0);
    EXPECT_LT(index("Input manager stopped"), index("Display manager stopped"));
    EXPECT_LT(index("Display manager stopped"), index("** Game engine stopped **"));
}
