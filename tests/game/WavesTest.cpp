#include "Sea.h"

#include <gtest/gtest.h>

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
        SCOPED_TRACE(testing::Message() << "base speed " << c.base_speed << (c.boost ? " boosting" : ""));
        speed().setSpeed(c.base_speed);
        speed().setBoosting(c.boost);
        auto *p_waves = new Waves;
        sea.steps(10);
        const float per_step[] = {0.04f, 0.055f, 0.07f, 0.085f};
        ASSERT_EQ(p_waves->getOffsets().size(), 4u);
        for (std::size_t i = 0; i < 4; i++)
            EXPECT_NEAR(p_waves->getOffsets()[i], 10 * per_step[i] * c.factor, 1e-4) << "row " << i;
        vk::WorldManager::getInstance().markForDelete(p_waves);
    }
}
