#include "ScreenText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using vk::ScreenText;
using vk::Vector;

TEST(ScreenText, CharactersGoToTheNearestCell) {
    ScreenText text(10, 3);
    text.put(Vector(2.4f, 0), 'a', 1, 2, 3);
    text.put(Vector(2.6f, 1.49f), 'b', 0, 0, 0);
    text.put(Vector(-0.4f, 2.4f), 'c', 0, 0, 0);
    text.put(Vector(9.49f, 0), 'd', 0, 0, 0);
    EXPECT_EQ(text.toString(), "  a      d\n   b      \nc         ");
    const vk::ScreenCell a = text.at(2, 0);
    EXPECT_TRUE(a.drawn);
    EXPECT_EQ(a.r, 1);
    EXPECT_EQ(a.g, 2);
    EXPECT_EQ(a.b, 3);
    EXPECT_FALSE(text.at(3, 0).drawn);
}

TEST(ScreenText, PositionsOffTheScreenAreIgnored) {
    ScreenText text(4, 2);
    const float inf = std::numeric_limits<float>::infinity();
    for (const Vector &where : {Vector(-0.6f, 0), Vector(3.5f, 0), Vector(0, 1.5f), Vector(0, -0.51f),
                                Vector(std::nanf(""), 0), Vector(0, std::nanf("")), Vector(inf, 0), Vector(-inf, 1),
                                Vector(1e30f, 1), Vector(-1e30f, -1e30f)})
        text.put(where, 'x', 0, 0, 0);
    EXPECT_EQ(text.toString(), "    \n    ");
    // outside cells read as blank
    EXPECT_EQ(text.at(-1, 0).ch, ' ');
    EXPECT_EQ(text.at(4, 1).ch, ' ');
    EXPECT_FALSE(text.at(0, 2).drawn);
}

TEST(ScreenText, LaterCharactersReplaceEarlierOnesAndClearEmptiesEverything) {
    ScreenText text(3, 1);
    text.put(Vector(1, 0), 'x', 255, 0, 0);
    text.put(Vector(1, 0), 'y', 0, 255, 0);
    EXPECT_EQ(text.at(1, 0).ch, 'y');
    EXPECT_EQ(text.at(1, 0).r, 0);
    EXPECT_EQ(text.at(1, 0).g, 255);
    // a drawn blank is still a drawn cell
    text.put(Vector(2, 0), ' ', 0, 0, 255);
    EXPECT_TRUE(text.at(2, 0).drawn);
    text.clear();
    EXPECT_EQ(text.lines(), std::vector<std::string>{"   "});
    EXPECT_FALSE(text.at(1, 0).drawn);
    EXPECT_FALSE(text.at(2, 0).drawn);
}

TEST(ScreenText, EmptyOrNegativeSizesHoldNothing) {
    ScreenText none;
    none.put(Vector(0, 0), 'x', 0, 0, 0);
    EXPECT_EQ(none.toString(), "");
    EXPECT_TRUE(none.lines().empty());
    ScreenText negative(-3, 5);
    EXPECT_EQ(negative.getWidth(), 0);
    negative.put(Vector(0, 0), 'x', 0, 0, 0);
    EXPECT_EQ(negative.lines(), std::vector<std::string>(5, ""));
}
