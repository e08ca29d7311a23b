#include "DisplayManager.h"
#include "LogManager.h"
#include "TestEnv.h"

#include <SFML/Graphics/Color.hpp>
#include <gtest/gtest.h>

namespace {

struct Log {
    vktest::TestEnv env;
    Log() {
        vk::LogManager::getInstance().startUp();
        vk::LogManager::getInstance().setLogLevel(5);
    }
    ~Log() { vk::LogManager::getInstance().shutDown(); }
};

} // namespace

TEST(ColorToSFML, NamedColoursAreOpaqueWithTheirBytesAndLogNothing) {
    Log log;
    EXPECT_EQ(vk::colorToSFML(vk::YELLOW), sf::Color(255, 255, 0, 255));
    EXPECT_EQ(vk::colorToSFML(vk::BLACK), sf::Color(0, 0, 0, 255));
    EXPECT_EQ(vk::colorToSFML(vk::WHITE), sf::Color(255, 255, 255, 255));
    EXPECT_TRUE(log.env.logMessages().empty());
}

TEST(ColorToSFML, CustomAndUnknownValuesAreWhiteAndLogged) {
    Log log;
    EXPECT_EQ(vk::colorToSFML(vk::CUSTOM), sf::Color::White);
    EXPECT_EQ(vk::colorToSFML(static_cast<vk::Color>(9)), sf::Color::White);
    EXPECT_EQ(vk::colorToSFML(static_cast<vk::Color>(-1)), sf::Color::White);
    EXPECT_TRUE(log.env.logHas("colorToSFML(): Color is CUSTOM."));
    EXPECT_TRUE(log.env.logHas("colorToSFML(): Color 9 not supported."));
    EXPECT_TRUE(log.env.logHas("colorToSFML(): Color -1 not supported."));

    // the lines are level 5
    vk::LogManager::getInstance().setLogLevel(4);
    (void)vk::colorToSFML(static_cast<vk::Color>(12));
    EXPECT_FALSE(log.env.logHas("colorToSFML(): Color 12 not supported."));
}
