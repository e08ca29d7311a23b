#include "GameScreen.h"
#include "Sea.h"

#include "GameStart.h"

#include "Color.h"
#include "GameManager.h"
#include "Keyboard.h"
#include "ViewObject.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace seatest;
namespace kb = vk::Keyboard;

namespace {

struct Line {
    int row;
    int column;
    std::string text;
    vk::Color color;
};

// Below the title, in an 80 x 24 world.
const Line LINES[] = {
    {10, 17, "Dodge the obstacles and ride as far as you can!", vk::WHITE},
    {12, 34, "- CONTROLS -", vk::CYAN},
    {13, 10, "[W]  move up, [S]  move down, [SPACE] to increase speed", vk::WHITE},
    {14, 36, "- RULES -", vk::CYAN},
    {15, 10, "If you have enough speed you can destroy some obstacles", vk::WHITE},
    {16, 10, "You get points passively and when obstacles are destroyed", vk::WHITE},
    {17, 10, "Your speed automatically increases every 100 points", vk::WHITE},
    {18, 10, "You fail if you lose too much speed, look out for speed boosters", vk::WHITE},
    {19, 29, "Press any key to begin", vk::GREEN},
    {21, 31, "ESC quits the game", vk::WHITE},
};

void expectLine(const Line &line) {
    EXPECT_EQ(row(line.row), atColumn(line.column, line.text));
    EXPECT_TRUE(drawnIn(line.column, line.row, line.color)) << line.text;
}

} // namespace

TEST(GameStart, ShowsTitleControlsRulesAndABlinkingPrompt) {
    GameScreen screen;
    ASSERT_TRUE(screen.ok);
    new GameStart;
    screen.steps(1);

    // the title: five yellow rows lined up in the middle
    std::size_t left = 80;
    std::size_t right = 0;
    for (int y = 3; y <= 7; y++) {
        ASSERT_NE(row(y).find_first_not_of(' '), std::string::npos) << y;
        left = std::min(left, row(y).find_first_not_of(' '));
        right = std::max(right, row(y).find_last_not_of(' '));
        EXPECT_TRUE(drawnIn(static_cast<int>(row(y).find_first_not_of(' ')), y, vk::YELLOW));
    }
    EXPECT_EQ(left, 40 - (right + 1 - left) / 2);
    for (const Line &line : LINES)
        expectLine(line);
    for (const int y : {0, 1, 2, 8, 9, 11, 20, 22, 23})
        EXPECT_EQ(row(y), std::string(80, ' ')) << "row " << y;

    // the prompt hides from the 15th step for 15 steps
    screen.steps(14);
    EXPECT_EQ(row(19), std::string(80, ' '));
    screen.steps(14);
    EXPECT_EQ(row(19), std::string(80, ' '));
    screen.steps(1);
    expectLine(LINES[8]);
}

TEST(GameStart, AKeyPressStartsOneRunAtTheNextStepAndEscapeNone) {
    {
        Sea sea(true);
        new GameStart;
        std::vector<int> surfers;
        // releases and held keys do nothing; two presses start one run
        sea.steps(4, [&](int i) {
            if (i == 0) {
                release(kb::ESCAPE);
                key(kb::ESCAPE, vk::KEY_DOWN);
                key(kb::X, vk::KEY_DOWN);
            }
            if (i == 1) {
                press(kb::Q);
                press(kb::SPACE);
            }
            surfers.push_back(count("Surfer"));
        });
        EXPECT_EQ(surfers, (std::vector<int>{0, 0, 1, 1}));
        EXPECT_EQ(count("GameStart"), 0);
        for (const char *type : {"Surfer", "Waves", "Spawner", "SpeedDisplay"})
            EXPECT_EQ(count(type), 1) << type;
        EXPECT_EQ(first<vk::ViewObject>("SpeedDisplay")->getValue(), 1);
    }
    Sea sea;
    new GameStart;
    EXPECT_EQ(sea.steps(10,
                        [](int i) {
                            if (i == 2)
                                press(kb::ESCAPE);
                        }),
              3);
    EXPECT_EQ(count("Surfer"), 0);
}
