#include "TestEnv.h"

#include <vessik/core/LogManager.h>
#include <vessik/display/Color.h>

#include <gtest/gtest.h>

TEST(Color, RGBOfEveryNamedColour) {
    struct Expected {
        vk::Color color;
        unsigned char r, g, b;
        const char *display, *file;
    };
    const Expected table[] = {
        {vk::BLACK, 0, 0, 0, "Black", "black"},        {vk::RED, 255, 0, 0, "Red", "red"},
        {vk::GREEN, 0, 255, 0, "Green", "green"},      {vk::YELLOW, 255, 255, 0, "Yellow", "yellow"},
        {vk::BLUE, 0, 0, 255, "Blue", "blue"},         {vk::MAGENTA, 255, 0, 255, "Magenta", "magenta"},
        {vk::CYAN, 0, 255, 255, "Cyan", "cyan"},       {vk::WHITE, 255, 255, 255, "White", "white"},
    };
    for (const Expected &e : table) {
        unsigned char r = 1, g = 2, b = 3;
        vk::colorToRGB(e.color, r, g, b);
        EXPECT_EQ(r, e.r) << e.display;
        EXPECT_EQ(g, e.g) << e.display;
        EXPECT_EQ(b, e.b) << e.display;
        EXPECT_EQ(vk::toString(e.color), e.display);
        EXPECT_EQ(vk::colorFromName(e.file), static_cast<int>(e.color));
    }
}

TEST(Color, CustomAndUnknownColoursLeaveTheBytesAlone) {
    vktest::TestEnv env;
    vk::LogManager &log = vk::LogManager::getInstance();
    ASSERT_EQ(log.startUp(), 0);
    log.setLogLevel(5);
    unsigned char r = 10, g = 20, b = 30;
    vk::colorToRGB(vk::CUSTOM, r, g, b);
    vk::colorToRGB(static_cast<vk::Color>(9), r, g, b);
    vk::colorToRGB(static_cast<vk::Color>(-1), r, g, b);
    log.setLogLevel(0);
    log.shutDown();
    EXPECT_EQ(r, 10);
    EXPECT_EQ(g, 20);
    EXPECT_EQ(b, 30);
    EXPECT_EQ(env.logMessages(),
              (std::vector<std::string>{"colorToRGB(): Color 9 not supported.", "colorToRGB(): Color -1 not supported."}));
    EXPECT_EQ(vk::toString(vk::CUSTOM), "Unknown color");
    EXPECT_EQ(vk::toString(static_cast<vk::Color>(42)), "Unknown color");
}

TEST(Color, FileNamesAreExactAndLowerCase) {
    EXPECT_EQ(vk::colorFromName("Yellow"), -1);
    EXPECT_EQ(vk::colorFromName("RED"), -1);
    EXPECT_EQ(vk::colorFromName(" red"), -1);
    EXPECT_EQ(vk::colorFromName("default"), -1);
    EXPECT_EQ(vk::colorFromName(""), -1);
}
