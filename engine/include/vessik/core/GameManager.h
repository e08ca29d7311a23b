#pragma once

#include <vessik/export.h>

#include <vessik/core/Manager.h>

#include <cstdint>

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

    // A paused loop goes on showing frames, reading input and drawing the
    // world, but sends no step event, does not update the world (nothing
    // moves, collides or is deleted) and holds every animation on its frame;
    // the step count stands still too. Resuming carries on from the same
    // state, with no steps to catch up. Input still arrives, so the objects
    // that listen to keys decide what a key means while paused. Asked for
    // during a loop iteration, a pause or resume takes effect at the next
    // one. Cleared by startUp() and shutDown().
    void setPaused(bool paused = true);
    [[nodiscard]] bool isPaused() const noexcept { return m_paused; }
    // Whether the loop iteration under way steps the world: false in the
    // iterations a pause holds; true outside run().
    [[nodiscard]] bool isStepping() const noexcept { return m_stepping; }

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
    // The seed start-up gave the random generator (1, the C library's own
    // start, when the configuration left it alone).
    [[nodiscard]] std::uint32_t getRandomSeed() const noexcept { return m_random_seed; }

  private:
    GameManager();

    bool m_game_over = false;
    bool m_quit_requested = false;
    bool m_paused = false;
    bool m_stepping = true;
    int m_frame_time = 0;
    int m_step_count = 0;
    std::uint32_t m_random_seed = 1;
};

} // namespace vk
