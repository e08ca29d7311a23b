#include "Animation.h"
#include "Config.h"
#include "DisplayManager.h"
#include "Frame.h"
#include "LogManager.h"
#include "Object.h"
#include "ResourceManager.h"
#include "Sprite.h"
#include "TestEnv.h"
#include "Transform.h"
#include "WorldManager.h"
#include "XServer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using vk::DisplayManager;
using vk::Frame;
using vk::Vector;
using Lines = std::vector<std::string>;

namespace {

// A log, a world whose view is the 80 x 24 window, and a display manager on
// a private X server, so that what frames draw can be read back cell by cell.
struct Screen {
    vktest::XServer x_server;
    vktest::TestEnv env;
    explicit Screen(const std::string &config = "") : env(config) {
        vk::Config::getInstance().loadConfig("");
        vk::LogManager::getInstance().startUp();
        vk::WorldManager::getInstance().startUp();
        vk::WorldManager::getInstance().setBoundary(vk::Box(Vector(0, 0), 80, 24));
        vk::WorldManager::getInstance().setView(vk::Box(Vector(0, 0), 80, 24));
    }
    ~Screen() {
        DisplayManager::getInstance().shutDown();
        vk::WorldManager::getInstance().shutDown();
        vk::LogManager::getInstance().shutDown();
    }
    [[nodiscard]] bool start() {
        if (!x_server.ok()) {
            ADD_FAILURE() << "no X server: " << x_server.error();
            return false;
        }
        return DisplayManager::getInstance().startUp() == 0;
    }
    // The characters of `height` rows of `width` cells from column x, row y
    // of the frame being drawn; '.' where nothing was drawn.
    static Lines cells(int x, int y, int width, int height) {
        const vk::ScreenText &text = DisplayManager::getInstance().getFrameText();
        Lines rows;
        for (int row = y; row < y + height; row++) {
            std::string line;
            for (int column = x; column < x + width; column++)
                line += text.at(column, row).drawn ? text.at(column, row).ch : '.';
            rows.push_back(line);
        }
        return rows;
    }
};

} // namespace

TEST(Frame, TransformsFlipRowsColumnsOrBoth) {
    Screen screen;
    ASSERT_TRUE(screen.start());
    const Frame frame(2, 2, "1234");
    // a 2 x 2 frame at (x + 0.5, y + 0.5) fills cells x, x + 1 and y, y + 1
    const int transforms[] = {vk::NONE, vk::VERTICAL, vk::HORIZONTAL, vk::BOTH, 7, -1};
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(frame.draw(Vector(2.5f + 4 * i, 3.5f), vk::WHITE, 0, transforms[i]), 0);
    EXPECT_EQ(Screen::cells(2, 3, 22, 2), (Lines{"12..34..21..43..12..12", "34..12..43..21..34..34"}));
}

TEST(Frame, OddSizesCentreOnThePositionEvenOnesHalfACellBeforeIt) {
    Screen screen;
    ASSERT_TRUE(screen.start());
    EXPECT_EQ(Frame(3, 3, "abcdefghi").draw(Vector(10, 10), vk::WHITE, 0, vk::NONE), 0);
    // width 4 at x: x - 1.5 to x + 1.5
    EXPECT_EQ(Frame(4, 1, "wxyz").draw(Vector(20.5f, 10), vk::WHITE, 0, vk::NONE), 0);
    // columns 9 to 11 and rows 9 to 11; columns 19 to 22
    EXPECT_EQ(Screen::cells(8, 8, 16, 5), (Lines{"................", ".abc............", ".def.......wxyz.",
                                                 ".ghi............", "................"}));
}

TEST(Frame, TransparentCharactersLeaveWhatWasDrawnBefore) {
    Screen screen;
    ASSERT_TRUE(screen.start());
    DisplayManager &display = DisplayManager::getInstance();
    for (int x = 4; x <= 6; x++)
        display.drawCh(Vector(static_cast<float>(x), 2), '-', vk::WHITE);
    const Frame frame(3, 1, "#o#");
    EXPECT_EQ(frame.draw(Vector(5, 2), vk::RED, '#', vk::NONE), 0);
    // no transparency: every character is drawn, '#' included
    EXPECT_EQ(frame.draw(Vector(5, 4), vk::RED, 0, vk::NONE), 0);
    EXPECT_EQ(Screen::cells(4, 2, 3, 3), (Lines{"-o-", "...", "#o#"}));
    const vk::ScreenCell o = display.getFrameText().at(5, 2);
    EXPECT_EQ(o.r, 255);
    EXPECT_EQ(o.g, 0);
    EXPECT_EQ(display.getFrameText().at(4, 2).g, 255);
}

TEST(Frame, SpriteDrawsInItsColourAndNothingForMissingFrames) {
    Screen screen;
    ASSERT_TRUE(screen.start());
    vk::Sprite sprite(2);
    sprite.setWidth(2);
    sprite.setHeight(1);
    sprite.setColor(vk::BLUE);
    ASSERT_EQ(sprite.pushFrame(Frame(2, 1, "ab")), 0);
    EXPECT_EQ(sprite.draw(0, Vector(3.5f, 1), 0, vk::NONE), 0);
    EXPECT_EQ(sprite.draw(1, Vector(3.5f, 3), 0, vk::NONE), 0);
    EXPECT_EQ(sprite.draw(-1, Vector(3.5f, 5), 0, vk::NONE), 0);
    EXPECT_EQ(Screen::cells(3, 1, 2, 5), (Lines{"ab", "..", "..", "..", ".."}));
    const vk::ScreenCell a = DisplayManager::getInstance().getFrameText().at(3, 1);
    EXPECT_EQ(a.r, 0);
    EXPECT_EQ(a.g, 0);
    EXPECT_EQ(a.b, 255);
}

TEST(Frame, AnimationOnAMissingFrameShowsNothingUntilItWraps) {
    Screen screen;
    ASSERT_TRUE(screen.start());
    vk::Sprite sprite(3);
    sprite.setWidth(1);
    sprite.setHeight(1);
    for (const char *text : {"a", "b", "c"})
        ASSERT_EQ(sprite.pushFrame(Frame(1, 1, text)), 0);
    vk::Animation animation;
    animation.setSprite(&sprite);
    animation.setIndex(7);
    for (int x = 0; x < 3; x++)
        EXPECT_EQ(animation.draw(Vector(static_cast<float>(x), 0)), 0);
    EXPECT_EQ(Screen::cells(0, 0, 3, 1), Lines{".ab"});
}

TEST(Frame, ObjectDrawsItsSpriteAtItsPosition) {
    Screen screen;
    ASSERT_TRUE(screen.start());
    vk::ResourceManager &rm = vk::ResourceManager::getInstance();
    ASSERT_EQ(rm.startUp(), 0);
    screen.env.writeFile("arrow.txt", "2\n3\n1\n1\nyellow\n<->\n>-<\n");
    ASSERT_EQ(rm.loadSprite(screen.env.path("arrow.txt"), "arrow"), 0);
    auto *p_object = new vk::Object();
    ASSERT_EQ(p_object->setPosition(Vector(12, 6)), 0);
    ASSERT_EQ(p_object->setSprite("arrow"), 0);
    EXPECT_EQ(p_object->draw(), 0);
    EXPECT_EQ(p_object->getAnimation().getIndex(), 1);
    EXPECT_EQ(Screen::cells(10, 6, 5, 1), Lines{".<->."});
    vk::WorldManager::getInstance().shutDown();
    rm.shutDown();
}

TEST(Frame, FailingCharacterStopsTheDrawAtOnce) {
    vktest::TestEnv env;
    vk::LogManager::getInstance().startUp();
    // the display manager is not started: its first refusal ends the draw
    EXPECT_EQ(Frame(3, 2, "abcdef").draw(Vector(5, 5), vk::WHITE, 0, vk::NONE), -1);
    EXPECT_EQ(env.logCount("DisplayManager not started!"), 1);
    // an empty frame has nothing to fail on
    EXPECT_EQ(Frame().draw(Vector(5, 5), vk::WHITE, 0, vk::NONE), 0);
    EXPECT_EQ(Frame(3, 0, "abc").draw(Vector(5, 5), vk::WHITE, 0, vk::NONE), 0);
    vk::LogManager::getInstance().shutDown();
}

TEST(Frame, FrameWhoseStringIsTooShortIsRefusedWholly) {
    Screen screen;
    ASSERT_TRUE(screen.start());
    EXPECT_EQ(Frame(3, 2, "abcd").draw(Vector(5, 5), vk::WHITE, 0, vk::NONE), -1);
    EXPECT_EQ(Frame(0, 2, "abcd").draw(Vector(5, 5), vk::WHITE, 0, vk::NONE), -1);
    EXPECT_TRUE(screen.env.logHas("Frame::draw(): Error! A 3 x 2 frame holds only 4 characters."));
    EXPECT_EQ(Screen::cells(3, 4, 5, 3), (Lines{".....", ".....", "....."}));
}

