#include <vessik/display/ScreenText.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using vk::ScreenText;
using vk::Vector;

TEST(ScreenText, CharactersGoToTheNearestCellAndPositionsOffTheScreenAreIgnored) {
    ScreenText text(10, 3);
    text.put(Vector(2.4f, 0), 'a', 1, 2, 3);
    text.put(Vector(2.6f, 1.49f), 'b', 0, 0, 0);
    text.put(Vector(-0.4f, 2.4f), 'c', 0, 0, 0);
    text.put(Vector(9.49f, 0), 'd', 0, 0, 0);
    const float inf = std::numeric_limits<float>::infinity();
    for (const Vector &where : {Vector(-0.6f, 0), Vector(9.5f, 0), Vector(0, 2.5f), Vector(0, -0.51f),
                                Vector(std::nanf(""), 0), Vector(0, std::nanf("")), Vector(inf, 0), Vector(-inf, 1),
                                Vector(1e30f, 1), Vector(-1e30f, -1e30f)})
        text.put(where, 'x', 0, 0, 0);
    EXPECT_EQ(text.toString(), "  a      d\n   b      \nc         ");
    const vk::ScreenCell a = text.at(2, 0);
    EXPECT_TRUE(a.drawn && a.r == 1 && a.g == 2 && a.b == 3);
    EXPECT_FALSE(text.at(3, 0).drawn);
    // outside cells read as blank
    EXPECT_EQ(text.at(-1, 0).ch, ' ');
    EXPECT_FALSE(text.at(0, 3).drawn);
}

TEST(ScreenText, LaterCharactersReplaceEarlierOnesClearEmptiesAndNoSizeHoldsNothing) {
    ScreenText text(3, 1);
    text.put(Vector(1, 0), 'x', 255, 0, 0);
    text.put(Vector(1, 0), 'y', 0, 255, 0);
    EXPECT_TRUE(text.at(1, 0).ch == 'y' && text.at(1, 0).r == 0 && text.at(1, 0).g == 255);
    // a drawn blank is still a drawn cell
    text.put(Vector(2, 0), ' ', 0, 0, 255);
    EXPECT_TRUE(text.at(2, 0).drawn);
    text.clear();
    EXPECT_EQ(text.lines(), std::vector<std::string>{"   "});
    EXPECT_FALSE(text.at(1, 0).drawn || text.at(2, 0).drawn);
    // and again, for cells drawn after a clear
    text.put(Vector(0, 0), 'z', 0, 0, 0);
    text.put(Vector(2, 0), 'w', 0, 0, 0);
    text.clear();
    EXPECT_EQ(text.lines(), std::vector<std::string>{"   "});

    ScreenText negative(-3, 5);
    negative.put(Vector(0, 0), 'x', 0, 0, 0);
    EXPECT_EQ(negative.lines(), std::vector<std::string>(5, ""));
    EXPECT_EQ(ScreenText().toString(), "");
}
