#pragma once

#include "LogManager.h"
#include "ResourceManager.h"
#include "Sprite.h"
#include "TestEnv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vktest {

// A started log and resource manager with a scratch folder for sprite files.
struct ResourceFixture : ::testing::Test {
    TestEnv env;
    vk::LogManager &log = vk::LogManager::getInstance();
    vk::ResourceManager &rm = vk::ResourceManager::getInstance();

    void SetUp() override {
        ASSERT_EQ(log.startUp(), 0);
        ASSERT_EQ(rm.startUp(), 0);
    }
    void TearDown() override {
        rm.shutDown();
        log.setLogLevel(0);
        log.shutDown();
    }

    // Writes `content` to a scratch file and loads it as a sprite.
    int loadText(const std::string &content, const std::string &label = "s", const std::string &name = "sprite.txt") {
        env.writeFile(name, content);
        return rm.loadSprite(env.path(name), label);
    }
};

// Every frame holds width x height characters and the count is within the
// capacity: what any loaded sprite must satisfy, whatever its file held.
inline void expectConsistent(const vk::Sprite &sprite) {
    EXPECT_GE(sprite.getWidth(), 1);
    EXPECT_GE(sprite.getHeight(), 1);
    EXPECT_GE(sprite.getFrameCount(), 1);
    EXPECT_LE(sprite.getFrameCount(), sprite.getMaxFrameCount());
    for (int i = 0; i < sprite.getFrameCount(); i++) {
        const vk::Frame frame = sprite.getFrame(i);
        EXPECT_EQ(frame.getWidth(), sprite.getWidth());
        EXPECT_EQ(frame.getHeight(), sprite.getHeight());
        EXPECT_EQ(frame.getString().size(), static_cast<std::size_t>(sprite.getWidth() * sprite.getHeight()));
    }
}

// The frames of a sprite as their strings.
inline std::vector<std::string> frameStrings(const vk::Sprite &sprite) {
    std::vector<std::string> frames;
    for (int i = 0; i < sprite.getFrameCount(); i++)
        frames.push_back(sprite.getFrame(i).getString());
    return frames;
}

} // namespace vktest
