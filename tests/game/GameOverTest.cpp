#include "Sea.h"

#include <gtest/gtest.h>

#include <vector>

using namespace seatest;

// The title and the game-over screen alike start a run at the step after a
// key press, the latter only from its 20th step on, and end the program at
// Escape, the latter at Q too.
TEST(GameOver, LikeTheTitleStartsOneRunAtTheStepAfterAPressOnceItsKeysCountOrEndsTheProgram) {
    for (const bool over : {false, true}) {
        SCOPED_TRACE(over ? "game over" : "title");
        auto screen = [over] { return over ? static_cast<vk::Object *>(new GameOver(7)) : new GameStart; };
        const int first_counted = over ? 19 : 0;
        {
            Sea sea(true);
            screen();
            // a key pressed at every step, two at the first, one held all
            // along, a release, and the way out too early
            std::vector<int> surfers;
            sea.steps(first_counted + 3, [&](int i) {
                press(kb::ENTER);
                key(kb::W, vk::KEY_DOWN);
                if (i == 0) {
                    release(kb::ESCAPE);
                    press(kb::Q);
                }
                if (over && i == 3)
                    press(kb::ESCAPE);
                surfers.push_back(count("Surfer"));
            });
            std::vector<int> expected(static_cast<std::size_t>(first_counted) + 1, 0);
            expected.insert(expected.end(), {1, 1});
            EXPECT_EQ(surfers, expected);
            EXPECT_EQ(count(over ? "GameOver" : "GameStart"), 0);
            for (const char *type : {"Surfer", "Waves", "Spawner", "SpeedDisplay"})
                EXPECT_EQ(count(type), 1) << type;
            EXPECT_EQ(first<vk::ViewObject>("SpeedDisplay")->getValue(), 1);
            EXPECT_EQ(first<vk::ViewObject>("SpeedDisplay")->getViewString(), "SPEED");
        }
        for (const int way_out : {kb::Q, kb::ESCAPE}) {
            Sea sea;
            screen();
            const bool ends = over || way_out == kb::ESCAPE;
            EXPECT_EQ(sea.steps(40,
                                [&](int i) {
                                    if (i == 25)
                                        press(way_out);
                                }),
                      ends ? 26 : 40);
            EXPECT_EQ(count("Surfer"), ends ? 0 : 1);
        }
    }
}
