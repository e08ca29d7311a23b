#pragma once

#include "TestEnv.h"
#include "XServer.h"

#include <vessik/core/Config.h>
#include <vessik/core/GameManager.h>
#include <vessik/core/LogManager.h>
#include <vessik/display/DisplayManager.h>
#include <vessik/display/InputManager.h>
#include <vessik/world/WorldManager.h>

#include <SFML/Graphics.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

namespace vktest {

// The configuration and the log started as the game manager would, on a
// private X server when `window` is set; the test starts the display and
// input managers, which are stopped at the end.
struct Engine {
    std::unique_ptr<XServer> p_x_server;
    TestEnv env;
    Engine(const std::string &config, bool window, int log_level = 5)
        : p_x_server(window ? std::make_unique<XServer>() : nullptr), env(config) {
        if (p_x_server && !p_x_server->ok())
            ADD_FAILURE() << "no X server: " << p_x_server->error();
        vk::Config::getInstance().loadConfig("");
        vk::LogManager::getInstance().startUp();
        vk::LogManager::getInstance().setLogLevel(log_level);
        // characters are placed through the world's view, which keeps what
        // a test before set, as the world is not started here
        vk::WorldManager::getInstance().setView(vk::Box());
    }
    ~Engine() {
        vk::InputManager::getInstance().shutDown();
        vk::DisplayManager::getInstance().shutDown();
        vk::LogManager::getInstance().shutDown();
    }
};

// The whole engine started by the game manager on a private X server, with
// a window unless the configuration says headless.
struct Game {
    XServer x_server;
    TestEnv env;
    bool started = false;
    explicit Game(const std::string &config = "") : env("networking:false," + config) {
        setenv("VESSIK_LOG_LEVEL", "5", 1);
        started = x_server.ok() && vk::GameManager::getInstance().startUp() == 0;
    }
    ~Game() {
        vk::GameManager::getInstance().shutDown();
        unsetenv("VESSIK_LOG_LEVEL");
    }
};

// The window's back buffer, with everything drawn so far.
inline sf::Image screenshot() {
    vk::DisplayManager &display = vk::DisplayManager::getInstance();
    display.flush();
    sf::Texture texture;
    texture.create(display.getWindow()->getSize().x, display.getWindow()->getSize().y);
    texture.update(*display.getWindow());
    return texture.copyToImage();
}

// The pixels of [x0, x1) x [y0, y1), clipped to the image, that match.
template <typename Match>
int countPixels(const sf::Image &image, Match match, int x0 = 0, int y0 = 0, int x1 = 1 << 20, int y1 = 1 << 20) {
    int count = 0;
    for (int y = std::max(y0, 0); y < std::min(y1, static_cast<int>(image.getSize().y)); y++)
        for (int x = std::max(x0, 0); x < std::min(x1, static_cast<int>(image.getSize().x)); x++)
            count += match(image.getPixel(static_cast<unsigned>(x), static_cast<unsigned>(y)));
    return count;
}

inline auto is(sf::Color color) {
    return [color](sf::Color pixel) { return pixel == color; };
}

} // namespace vktest
