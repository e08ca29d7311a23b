// The golden replays: runs recorded once and replayed headless, frame by
// frame. A change to the rules (the order of random draws, a penalty, a spawn
// weight) makes them diverge; when such a change is meant, re-make them with
// `make golden`, which runs this test with VK_RERECORD=1: each run's inputs
// come from the scripts below, and the game records them again with fresh
// checks.
#include "TestEnv.h"
#include "XServer.h"

#include <vessik/core/Recording.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Inputs = std::vector<vk::Recording::Input>;

constexpr int SPACE = 0;
constexpr int Q = 52;
constexpr int S = 54;
constexpr int W = 58;

void press(Inputs &inputs, int step, int key) {
    inputs.push_back({step, vk::Recording::KEYBOARD, 0, key, 0, 0});
    inputs.push_back({step + 1, vk::Recording::KEYBOARD, 1, key, 0, 0});
}

// Starts a run at step 5; Q every 10 steps from `quit_from` on gives up and
// then leaves the game-over screen.
Inputs startAndQuit(int quit_from, int steps) {
    Inputs inputs;
    press(inputs, 5, SPACE);
    for (int step = quit_from; step + 1 < steps; step += 10)
        press(inputs, step, Q);
    return inputs;
}

// Speeds up every four steps and sweeps the sea up and down.
Inputs sweep(int until) {
    Inputs inputs;
    press(inputs, 5, SPACE);
    std::vector<std::pair<int, int>> keys;
    for (int step = 8; step < until; step += 4)
        keys.emplace_back(step, SPACE);
    for (int step = 62; step < until; step += 80)
        for (const auto &[offset, key] : {std::pair{0, W}, std::pair{40, S}})
            keys.emplace_back(step + offset, key);
    std::sort(keys.begin(), keys.end());
    for (const auto &[step, key] : keys) {
        if (key == SPACE)
            press(inputs, step, key);
        else {
            inputs.push_back({step, vk::Recording::KEYBOARD, 0, key, 0, 0});
            inputs.push_back({step + 20, vk::Recording::KEYBOARD, 1, key, 0, 0});
        }
    }
    std::stable_sort(inputs.begin(), inputs.end(), [](const auto &a, const auto &b) { return a.step < b.step; });
    return inputs;
}

struct Golden {
    const char *file;
    std::uint32_t seed;
    int steps;
    Inputs inputs;
    // log lines the run must show
    std::vector<const char *> shows;
};

std::vector<Golden> goldens() {
    Inputs boost = sweep(1540);
    for (const auto &input : startAndQuit(1550, 1800))
        if (input.step >= 1550)
            boost.push_back(input);
    return {
        {"tests/replays/quit.vkr", 7, 400, startAndQuit(40, 400), {"GAMEOVER"}},
        {"tests/replays/wipeout.vkr", 3, 800, startAndQuit(500, 800), {"GAMEOVER", "startGame(): A new run begins."}},
        {"tests/replays/boost.vkr",
         30,
         1800,
         boost,
         {"Powerup::onCollision(): Boost picked up.", "Points: The speed rises with the score."}},
        // the start screen's demo: it ends on the sea, without leaving
        {"replays/demo.vkr", 19, 450, sweep(450), {"startGame(): A new run begins."}},
    };
}

std::string swellrun(const std::string &args, const std::string &out) {
    return "cd '" + vktest::sourceDir() + "' && VESSIK_LOG_LEVEL=1 " + SWELLRUN + " " + args + " > '" + out + "' 2>&1";
}

void rerecord(const vktest::TestEnv &env, const Golden &golden) {
    vk::Recording script;
    script.game_name = "Swellrun";
    script.seed = golden.seed;
    script.check_every = 0;
    script.step_count = golden.steps;
    script.inputs = golden.inputs;
    const std::string path = env.path("script.vkr");
    std::ofstream(path, std::ios::binary) << script.encode();
    // the game may end before the script does: the record ends with it
    vktest::run(swellrun("--replay '" + path + "' --verify --record '" + golden.file + "'", env.path("rerecord.out")));
}

} // namespace

TEST(GoldenReplay, EveryRecordedRunReplaysFrameByFrame) {
    vktest::TestEnv env;
    for (const Golden &golden : goldens()) {
        SCOPED_TRACE(golden.file);
        if (std::getenv("VK_RERECORD"))
            rerecord(env, golden);
        const std::string out = env.path("verify.out");
        ASSERT_EQ(vktest::run(swellrun(std::string("--replay '") + golden.file + "' --verify", out)), 0)
            << vktest::readFile(out);
        EXPECT_NE(vktest::readFile(out).find("Replay verified: "), std::string::npos) << vktest::readFile(out);
        for (const char *line : golden.shows)
            EXPECT_TRUE(env.logHas(line)) << line;
    }
}
