#include <vessik/core/Clock.h>

#include "core/Platform.h"

#include <gtest/gtest.h>

TEST(Clock, SplitKeepsTimingAndDeltaRestartsIt) {
    vk::Clock clock;
    vk::platform::sleepMilliseconds(20);
    const std::int64_t first = clock.split();
    EXPECT_GE(first, 20000);
    EXPECT_GE(clock.split(), first);
    const std::int64_t delta = clock.delta();
    EXPECT_GE(delta, first);
    EXPECT_LT(clock.split(), first);
}

TEST(Platform, TimerResolutionRequestsSucceedAndZeroSleepReturns) {
    EXPECT_EQ(vk::platform::timeBeginPeriod(1), 0);
    EXPECT_EQ(vk::platform::timeEndPeriod(1), 0);
    const std::int64_t before = vk::platform::nowMicroseconds();
    vk::platform::sleepMilliseconds(0);
    vk::platform::sleepMilliseconds(-5);
    EXPECT_GE(vk::platform::nowMicroseconds(), before);
}

TEST(Platform, WorkingDirectoryNeedsRoom) {
    char big[4096];
    ASSERT_TRUE(vk::platform::currentDirectory(big, sizeof big));
    EXPECT_EQ(big[0], '/');
    char tiny[2];
    EXPECT_FALSE(vk::platform::currentDirectory(tiny, sizeof tiny));
}
