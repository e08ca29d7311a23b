#pragma once

#include <vessik/world/Object.h>

// What spawn() can create.
enum SpawnKind : int {
    TRASH = 0,
    BUOY,
    SHARK,
    ICEBERG,
    POWERUP,
};

// Creates one object of `kind`, which places itself beyond the right edge;
// the world owns it. Any other value creates nothing.
void spawn(int kind);

// Keeps the sea populated: every SPAWN_STEPS steps it picks a kind at random
// (weights 40 : 35 : 10 : 7 : 2 out of 94) and adds one unless that kind is at
// its limit. Invisible; never collides.
class Spawner : public vk::Object {
  public:
    static constexpr int SPAWN_STEPS = 22;

    Spawner();

    int eventHandler(const vk::Event *p_event) override;

  private:
    int m_countdown = SPAWN_STEPS;
};
