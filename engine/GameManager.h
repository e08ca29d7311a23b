#pragma once

#include "Manager.h"

#include <cstdint>

namespace vk {

// The engine's top-level singleton: starts every other manager in a fixed
// order, runs the fixed-rate game loop and shuts everything down in reverse.
class GameManager : public Manager {
  public:
    static GameManager &getInstance();

    // Loads the configuration, opens the log and starts the managers. On -1
    // the managers started so far stay running; call shutDown() to stop them.
    int startUp() override;
    void shutDown() override;

    // Objects register for step events here, and only here.
    [[nodiscard]] bool isValid(std::string event_type) const override;

    // Runs steps until the game-over flag is set at the end of one.
    void run();

    void setGameOver(bool game_over = true) noexcept { m_game_over = game_over; }
    [[nodiscard]] bool getGameOver() const noexcept { return m_game_over; }
    [[nodiscard]] int getFrameTime() const noexcept { return m_frame_time; }
    [[nodiscard]] int getStepCount() const noexcept { return m_step_count; }
    // The seed start-up gave the random generator (1, the C library's own
    // start, when the configuration left it alone).
    [[nodiscard]] std::uint32_t getRandomSeed() const noexcept { return m_random_seed; }

  private:
    GameManager();

    bool m_game_over = false;
    int m_frame_time = 0;
    int m_step_count = 0;
    std::uint32_t m_random_seed = 1;
};

} // namespace vk
