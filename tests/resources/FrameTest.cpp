#include "TestEnv.h"
#include "XServer.h"

#include <vessik/core/Config.h>
#include <vessik/core/LogManager.h>
#include <vessik/display/DisplayManager.h>
#include <vessik/resources/Animation.h>
#include <vessik/resources/Frame.h>
#include <vessik/resources/ResourceManager.h>
#include <vessik/resources/Transform.h>
#include <vessik/world/Object.h>
#include <vessik/world/WorldManager.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using vk::Frame;
using vk::Vector;
using Lines = std::vector<std::string>;

namespace {

// A log, a world whose view is the 80 x 24 window, and a display manager on a
// private X server (once started), so that what frames draw can be read back.
struct Screen {
    vktest::XServer x_server;
    vktest::TestEnv env;
    vk::DisplayManager &display = vk::DisplayManager::getInstance();
    Screen() {
        vk::Config::getInstance().loadConfig("");
        vk::LogManager::getInstance().startUp();
        vk::WorldManager::getInstance().startUp();
        vk::WorldManager::getInstance().setView(vk::Box(Vector(0, 0), 80, 24));
    }
    ~Screen() {
        display.shutDown();
        vk::WorldManager::getInstance().shutDown();
        vk::LogManager::getInstance().shutDown();
    }
    [[nodiscard]] bool start() {
        EXPECT_TRUE(x_server.ok()) << x_server.error();
        return x_server.ok() && display.startUp() == 0;
    }
    // `height` rows of `width` cells from column x, row y of the frame being
    // drawn; '.' where nothing was drawn.
    [[nodiscard]] Lines cells(int x, int y, int width, int height) const {
        Lines rows(static_cast<std::size_t>(height));
        for (int row = 0; row < height; row++)
            for (int column = x; column < x + width; column++) {
                const vk::ScreenCell &cell = display.getFrameText().at(column, y + row);
                rows[static_cast<std::size_t>(row)] += cell.drawn ? cell.ch : '.';
            }
        return rows;
    }
};

} // namespace

TEST(Frame, TransformsFlipRowsOrColumnsTransparencySkipsAndSizesCentre) {
    Screen screen;
    ASSERT_TRUE(screen.start());
    // a 2 x 2 frame at (x + 0.5, y + 0.5) fills cells x, x + 1 and y, y + 1; unknown transforms draw as NONE
    const int transforms[] = {vk::NONE, vk::VERTICAL, vk::HORIZONTAL, vk::BOTH, 7, -1};
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(Frame(2, 2, "1234").draw(Vector(2.5f + 4 * i, 3.5f), vk::WHITE, 0, transforms[i]), 0);
    EXPECT_EQ(screen.cells(2, 3, 22, 2), (Lines{"12..34..21..43..12..12", "34..12..43..21..34..34"}));

    // odd sizes centre on the position, even ones fall half a cell before it
    EXPECT_EQ(Frame(3, 3, "abcdefghi").draw(Vector(10, 10), vk::WHITE, 0, vk::NONE), 0);
    EXPECT_EQ(Frame(4, 1, "wxyz").draw(Vector(20.5f, 10), vk::WHITE, 0, vk::NONE), 0);
    EXPECT_EQ(screen.cells(8, 8, 16, 5), (Lines{"................", ".abc............", ".def.......wxyz.",
                                                ".ghi............", "................"}));

    // the transparent character leaves what was drawn before; 0 draws them all
    for (int x = 4; x <= 6; x++)
        screen.display.drawCh(Vector(static_cast<float>(x), 15), '-', vk::WHITE);
    EXPECT_EQ(Frame(3, 1, "#o#").draw(Vector(5, 15), vk::RED, '#', vk::NONE), 0);
    EXPECT_EQ(Frame(3, 1, "#o#").draw(Vector(5, 16), vk::RED, 0, vk::NONE), 0);
    EXPECT_EQ(screen.cells(4, 15, 3, 2), (Lines{"-o-", "#o#"}));
    EXPECT_EQ(screen.display.getFrameText().at(5, 15).g, 0);
    EXPECT_EQ(screen.display.getFrameText().at(4, 15).g, 255);
}

// Frames out of range draw nothing, a broken frame draws none of its
// characters, and the first character refused ends the draw.
TEST(Frame, SpritesAnimationsAndObjectsDrawTheRightFrameAndBrokenFramesNothing) {
    Screen screen;
    EXPECT_EQ(Frame(3, 2, "abcdef").draw(Vector(5, 5), vk::WHITE, 0, vk::NONE), -1);
    EXPECT_EQ(screen.env.logCount("DisplayManager not started!"), 1);
    ASSERT_TRUE(screen.start());
    EXPECT_EQ(Frame(3, 2, "abcd").draw(Vector(5, 5), vk::WHITE, 0, vk::NONE), -1);
    // no columns: nothing to draw, and nothing wrong
    for (const Frame &empty : {Frame(), Frame(0, 2, "abcd"), Frame(-3, 2, "abcd"), Frame(2, 0, "abcd")})
        EXPECT_EQ(empty.draw(Vector(5, 5), vk::WHITE, 0, vk::NONE), 0);
    EXPECT_EQ(screen.env.logMessages().back(), "Frame::draw(): Error! A 3 x 2 frame holds only 4 characters.");
    EXPECT_EQ(screen.cells(3, 4, 5, 3), (Lines{".....", ".....", "....."}));

    vk::ResourceManager &rm = vk::ResourceManager::getInstance();
    ASSERT_EQ(rm.startUp(), 0);
    screen.env.writeFile("abc.txt", "3\n1\n1\n1\nblue\na\nb\nc\n");
    ASSERT_EQ(rm.loadSprite(screen.env.path("abc.txt"), "abc"), 0);
    const int indexes[] = {3, 0, -1};
    for (int x = 2; x < 5; x++)
        EXPECT_EQ(rm.getSprite("abc")->draw(indexes[x - 2], Vector(static_cast<float>(x), 2), 0, vk::NONE), 0);
    EXPECT_EQ(screen.display.getFrameText().at(3, 2).b, 255);
    EXPECT_EQ(screen.display.getFrameText().at(3, 2).r, 0);
    // an animation on a frame out of range shows nothing until its next step wraps it
    vk::Animation animation;
    animation.setSprite(rm.getSprite("abc"));
    animation.setIndex(7);
    for (int x = 6; x < 9; x++)
        EXPECT_EQ(animation.draw(Vector(static_cast<float>(x), 2)), 0);
    auto *p_object = new vk::Object();
    ASSERT_EQ(p_object->setPosition(Vector(10, 2)), 0);
    ASSERT_EQ(p_object->setSprite("abc"), 0);
    EXPECT_EQ(p_object->draw(), 0);
    EXPECT_EQ(p_object->draw(), 0);
    EXPECT_EQ(screen.cells(2, 2, 9, 1), Lines{".a...ab.b"});
    vk::WorldManager::getInstance().shutDown();
    rm.shutDown();
}
