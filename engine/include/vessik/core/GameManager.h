#pragma once

#include <vessik/export.h>

#include <vessik/core/Manager.h>

namespace vk {

// The engine's top-level singleton: starts every other manager in a fixed
// order, runs the fixed-rate game loop and shuts everything down in reverse.
class VK_API GameManager : public Manager {
  public:
    static GameManager &getInstance();

    // Loads the configuration, opens the log and starts the managers. On -1
    // the managers started so far stay running; call shutDown() to stop them.
    int startUp() override;
    // Stops the managers in reverse order and closes the log. The step count
    // and the settings return to their initial values: a later startUp()
    // begins as the first one did.
    void shutDown() override;

    // Objects register for step events here, and only here.
    [[nodiscard]] bool isValid(std::string event_type) const override;

    // Runs steps until the game-over flag is set at the end of one.
    void run();

    void setGameOver(bool game_over = true) noexcept { m_game_over = game_over; }
    // Ends the program, not only the current loop (the window was closed):
    // sets the game-over flag as well. Start-up clears the request.
    void requestQuit() noexcept;
    // Whether the window was closed or a quit signal came (see
    // getQuitSignal) since start-up: the program is to end.
    [[nodiscard]] bool quitRequested() const noexcept;
    // The first quit signal (SIGINT, SIGTERM or SIGHUP) that came, 0 when
    // none did; still known after shut-down, for the program's exit status.
    [[nodiscard]] static int getQuitSignal() noexcept;
    [[nodiscard]] bool getGameOver() const noexcept { return m_game_over; }
    [[nodiscard]] int getFrameTime() const noexcept { return m_frame_time; }
    [[nodiscard]] int getStepCount() const noexcept { return m_step_count; }

  private:
    GameManager();

    bool m_game_over = false;
    bool m_quit_requested = false;
    int m_frame_time = 0;
    int m_step_count = 0;
};

} // namespace vk
