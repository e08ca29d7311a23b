#include "EventNetwork.h"
#include "LogManager.h"
#include "TestEnv.h"

#include <gtest/gtest.h>

using vk::EventNetwork;

TEST(EventNetwork, CarriesItsNameAndNoConnectionUntilTold) {
    const EventNetwork event(vk::NETWORK_CLOSE);
    EXPECT_EQ(event.getType(), vk::NETWORK_EVENT);
    EXPECT_EQ(event.getLabel(), 2);
    EXPECT_EQ(event.getSocketIndex(), -1);
    EXPECT_EQ(event.getBytes(), 0);
    EXPECT_EQ(event.getMessage(), nullptr);
}

TEST(EventNetwork, LabelsOutsideMinusOneToThreeAreLoggedAndBecomeUndefined) {
    vktest::TestEnv env;
    ASSERT_EQ(vk::LogManager::getInstance().startUp(), 0);
    for (const int label : {-1, 0, 1, 2, 3})
        EXPECT_EQ(EventNetwork(label).getLabel(), label);
    EXPECT_EQ(EventNetwork(4).getLabel(), -1);
    EXPECT_EQ(EventNetwork(-2).getLabel(), -1);

    EventNetwork event(3);
    EXPECT_EQ(event.setLabel(99), -1);
    EXPECT_EQ(event.getLabel(), -1);

    const std::vector<std::string> expected = {"EventNetwork::setLabel(): Undefined type (4).",
                                               "EventNetwork::setLabel(): Undefined type (-2).",
                                               "EventNetwork::setLabel(): Undefined type (99)."};
    EXPECT_EQ(env.logMessages(), expected);
    vk::LogManager::getInstance().shutDown();
}
