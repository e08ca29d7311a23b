#pragma once

#include <vessik/world/Object.h>

#include <vector>

// The sea behind a run: rows of sine-shaped wave lines across the whole world
// in cyan, every row scrolling left at a pace that follows the sea speed,
// lower rows faster, for depth. Pure background: no sprite, never collides,
// drawn first.
class Waves : public vk::Object {
  public:
    // One row for every base row 2, 8, 14, ... above the world's last row.
    Waves();
    ~Waves() override;

    int eventHandler(const vk::Event *p_event) override;
    int draw() override;

    // Row i's scroll offset in columns.
    [[nodiscard]] const std::vector<float> &getOffsets() const noexcept { return m_offsets; }

    // The base row of wave row i: its line stays within one row of it.
    [[nodiscard]] static int baseRow(int row) noexcept { return 6 * row + 2; }

  private:
    std::vector<float> m_offsets;
};
