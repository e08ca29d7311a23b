#include "GameScreen.h"
#include "Sea.h"

#include "GameOver.h"

#include "Color.h"
#include "GameManager.h"
#include "Keyboard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace seatest;
namespace kb = vk::Keyboard;

TEST(GameOver, ShowsBannerAndScoreAtOnceAndThePromptsAfterTheDelay) {
    GameScreen screen;
    ASSERT_TRUE(screen.ok);
    new GameOver(123);
    screen.steps(1);
    const char *const banner[] = {
        "  ____    _    __  __ _____    _____     _______ ____  ",
        " / ___|  / \\  |  \\/  | ____|  / _ \\ \\   / / ____|  _ \\ ",
        "| |  _  / _ \\ | |\\/| |  _|   | | | \\ \\ / /|  _| | |_) |",
        "| |_| |/ ___ \\| |  | | |___  | |_| |\\ V / | |___|  _ < ",
        " \\____/_/   \\_\\_|  |_|_____|  \\___/  \\_/  |_____|_| \\_\\",
    };
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(row(3 + i), atColumn(13, banner[i]));
    EXPECT_TRUE(drawnIn(13, 5, vk::RED));
    EXPECT_EQ(row(11), atColumn(32, "FINAL SCORE: 123"));
    EXPECT_TRUE(drawnIn(32, 11, vk::YELLOW));
    EXPECT_EQ(row(15) + row(17), std::string(160, ' '));

    // the way out shows at the 20th step, in the hidden half of the
    // prompt's blink, which shows from the 30th
    screen.steps(18);
    EXPECT_EQ(row(17), std::string(80, ' '));
    screen.steps(1);
    EXPECT_EQ(row(15), std::string(80, ' '));
    EXPECT_EQ(row(17), atColumn(29, "Press Q or ESC to quit"));
    EXPECT_TRUE(drawnIn(29, 17, vk::WHITE));
    screen.steps(10);
    EXPECT_EQ(row(15), atColumn(27, "Press any key to play again"));
    EXPECT_TRUE(drawnIn(27, 15, vk::GREEN));
}

TEST(GameOver, IgnoresKeysForTwentyStepsThenAPressStartsARunAtTheNextStep) {
    Sea sea(true);
    new GameOver(7);
    // a key pressed at every step, one held all along, and the way out
    // early: the press of the 20th step is the first that counts
    std::vector<int> surfers;
    sea.steps(22, [&](int i) {
        press(kb::ENTER);
        key(kb::W, vk::KEY_DOWN);
        if (i == 3) {
            press(kb::Q);
            press(kb::ESCAPE);
        }
        surfers.push_back(count("Surfer"));
    });
    std::vector<int> expected(20, 0);
    expected.insert(expected.end(), {1, 1});
    EXPECT_EQ(surfers, expected);
    EXPECT_EQ(count("GameOver"), 0);
}

TEST(GameOver, QOrEscapeEndsTheProgram) {
    for (const int quit : {kb::Q, kb::ESCAPE}) {
        Sea sea;
        new GameOver(7);
        EXPECT_EQ(sea.steps(40,
                            [&](int i) {
                                if (i == 25)
                                    press(quit);
                            }),
                  26);
        EXPECT_EQ(count("Surfer"), 0);
    }
}
