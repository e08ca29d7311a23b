#include "GameScreen.h"
#include "Sea.h"

#include "Waves.h"

#include "WorldManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace seatest;

TEST(Waves, ScrollWithTheSeaSpeedLowerRowsFaster) {
    Sea sea;
    struct Case {
        float base_speed;
        bool boost;
        float factor;
    };
    // a stopped sea freezes them; a boost (speed 11 at base 1) races them
    for (const Case &c : {Case{1.0f, false, 1.0f}, Case{0.0f, false, 0.0f}, Case{2.0f, false, 1.5f},
                          Case{1.0f, true, 6.0f}, Case{0.0f, true, 5.5f}}) {
        speed().setSpeed(c.base_speed);
        speed().setBoosting(c.boost);
        auto *p_waves = new Waves;
        sea.steps(10);
        const std::vector<float> per_step{0.04f, 0.055f, 0.07f, 0.085f};
        ASSERT_EQ(p_waves->getOffsets().size(), per_step.size());
        for (std::size_t i = 0; i < per_step.size(); i++)
            EXPECT_NEAR(p_waves->getOffsets()[i], 10 * per_step[i] * c.factor, 1e-4)
                << "row " << i << " at base speed " << c.base_speed << (c.boost ? " boosting" : "");
        vk::WorldManager::getInstance().markForDelete(p_waves);
    }
}

TEST(Waves, DrawOneCyanLineCharacterPerColumnWithinARowOfEachBase) {
    GameScreen screen;
    ASSERT_TRUE(screen.ok);
    new Waves;
    std::vector<std::string> pictures;
    for (const float speed_now : {1.0f, 1.0f, 0.0f, 0.0f}) {
        speed().setSpeed(speed_now);
        screen.steps(15);
        std::string picture;
        int cells = 0;
        for (int y = 0; y < 24; y++)
            for (const char ch : row(y))
                cells += ch != ' ';
        EXPECT_EQ(cells, 4 * 80);
        for (int base = 2; base <= 20; base += 6) {
            for (int x = 0; x < 80; x++) {
                for (int y = base - 1; y <= base + 1; y++) {
                    const char ch = row(y)[static_cast<std::size_t>(x)];
                    if (ch != ' ') {
                        picture += ch;
                        EXPECT_NE(std::string("/\\-_").find(ch), std::string::npos) << ch;
                        EXPECT_TRUE(drawnIn(x, y, vk::CYAN));
                    }
                }
                EXPECT_EQ(picture.size(), static_cast<std::size_t>((base / 6) * 80 + x + 1)) << "column " << x;
            }
        }
        pictures.push_back(picture);
    }
    // the first wave rises from its base at the left edge
    EXPECT_EQ(row(2)[0], '/');
    EXPECT_NE(pictures[1], pictures[0]);
    EXPECT_EQ(pictures[3], pictures[2]);
}
