#pragma once

#include "ScoreTable.h"
#include "Screen.h"

#include <vector>

// The screen after a run: the GAME OVER banner and the final score at once,
// and after INPUT_DELAY steps a blinking prompt to play again and the way
// out. Keys pressed before then are ignored, so that a key still being
// hammered from the run does not skip the screen. Any key but Q or Escape
// starts a new run at the next step; Q or Escape ends the program. The run
// goes into the high score table, and the screen shows its rank, "NEW BEST!"
// when it is the best, and the TOP_SHOWN best runs.
class GameOver : public Screen {
  public:
    static constexpr int INPUT_DELAY = 20;
    // The prompt is shown for BLINK_STEPS steps, hidden for as many.
    static constexpr int BLINK_STEPS = 15;
    static constexpr int TOP_SHOWN = 5;

    // Centred in the world, on the top layer; records the run in the table
    // at ScoreTable::defaultPath().
    explicit GameOver(int score);

    int eventHandler(const vk::Event *p_event) override;
    int draw() override;

    [[nodiscard]] int getScore() const noexcept { return m_score; }
    // Steps until keys count.
    [[nodiscard]] int getInputDelay() const noexcept { return m_input_delay; }
    // The run's place in the table, 0 when it is not among the best.
    [[nodiscard]] int getRank() const noexcept { return m_rank; }

  private:
    int m_score = 0;
    int m_rank = 0;
    std::vector<ScoreTable::Entry> m_top;
    int m_input_delay = INPUT_DELAY;
    int m_step_count = 0;
    bool m_restart = false;
    bool m_leaving = false;
};
