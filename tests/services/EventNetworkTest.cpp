#include "TestEnv.h"

#include <vessik/core/LogManager.h>
#include <vessik/services/EventNetwork.h>

#include <gtest/gtest.h>

using vk::EventNetwork;

TEST(EventNetwork, CarriesNoConnectionUntilToldAndRefusesUndefinedLabels) {
    vktest::TestEnv env;
    ASSERT_EQ(vk::LogManager::getInstance().startUp(), 0);
    const EventNetwork event(vk::NETWORK_CLOSE);
    EXPECT_EQ(event.getType(), vk::NETWORK_EVENT);
    EXPECT_EQ(event.getSocketIndex(), -1);
    EXPECT_EQ(event.getMessage(), nullptr);
    for (const int label : {-1, 3})
        EXPECT_EQ(EventNetwork(label).getLabel(), label);
    for (const int label : {4, -2})
        EXPECT_EQ(EventNetwork(label).getLabel(), -1);
    EventNetwork other(3);
    EXPECT_EQ(other.setLabel(99), -1);
    EXPECT_EQ(other.getLabel(), -1);
    vk::LogManager::getInstance().shutDown();
}
