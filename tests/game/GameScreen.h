#pragma once

#include "Sea.h"
#include "SpeedManager.h"
#include "TestEnv.h"
#include "XServer.h"

#include "Color.h"
#include "DisplayManager.h"
#include "GameManager.h"
#include "ScreenText.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace seatest {

// The engine with a real window on a private X server, stepped like Sea, for
// what is only seen on the screen: headless, nothing is drawn.
struct GameScreen {
    vktest::XServer x_server;
    vktest::TestEnv env{"networking:false,\nframe_time:0,\nrandom_seed:1,\n"};
    bool ok =
        x_server.ok() && vk::GameManager::getInstance().startUp() == 0 && SpeedManager::getInstance().startUp() == 0;
    ~GameScreen() { vk::GameManager::getInstance().shutDown(); }

    // Runs `iterations` loop iterations; the frame text is then the frame the
    // last one drew.
    void steps(int iterations) {
        int done = 0;
        new Driver(iterations, {}, &done);
        vk::GameManager::getInstance().run();
    }
};

// Row `y` of the last frame drawn.
inline std::string row(int y) {
    return vk::DisplayManager::getInstance().getFrameText().lines().at(static_cast<std::size_t>(y));
}

// `text` alone on its row from `column` on, in an 80-column frame.
inline std::string atColumn(int column, const std::string &text) {
    return std::string(static_cast<std::size_t>(column), ' ') + text +
           std::string(80 - static_cast<std::size_t>(column) - text.size(), ' ');
}

// Whether the cell was drawn in `color`.
inline bool drawnIn(int x, int y, vk::Color color) {
    const vk::ScreenCell cell = vk::DisplayManager::getInstance().getFrameText().at(x, y);
    unsigned char r = 0;
    unsigned char g = 0;
    unsigned char b = 0;
    vk::colorToRGB(color, r, g, b);
    return cell.drawn && cell.r == r && cell.g == g && cell.b == b;
}

} // namespace seatest
