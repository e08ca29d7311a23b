#include <vessik/core/Clock.h>

#include "core/Platform.h"

#include <gtest/gtest.h>

TEST(Clock, SleepsUntilASplitSplitKeepsTimingAndDeltaRestartsIt) {
    vk::Clock clock;
    clock.sleepUntil(20500);
    const std::int64_t first = clock.split();
    EXPECT_GE(first, 20500);
    // a split already passed does not sleep: far less than a second
    clock.sleepUntil(-5);
    clock.sleepUntil(first);
    EXPECT_LT(clock.split(), first + 1000000);
    const std::int64_t delta = clock.delta();
    EXPECT_GE(delta, first);
    EXPECT_LT(clock.split(), first);
}

TEST(Platform, TimerResolutionRequestsSucceed) {
    EXPECT_EQ(vk::platform::timeBeginPeriod(1), 0);
    EXPECT_EQ(vk::platform::timeEndPeriod(1), 0);
}

TEST(Platform, WorkingDirectoryNeedsRoom) {
    char big[4096];
    ASSERT_TRUE(vk::platform::currentDirectory(big, sizeof big));
    EXPECT_EQ(big[0], '/');
    char tiny[2];
    EXPECT_FALSE(vk::platform::currentDirectory(tiny, sizeof tiny));
}
