#pragma once

#include <vessik/export.h>

#include <vessik/presentation/Particle.h>

namespace vk {

// A particle that falls slowly (acceleration 0.01 cells per step per step)
// and leaves, on every step, a still trail particle of half its size and a
// quarter of its age in its colour, fully opaque.
class VK_API Firework : public Particle {
  public:
    Firework(float size, int age, unsigned char opacity, unsigned char r, unsigned char g, unsigned char b);

    int eventHandler(const Event *p_event) override;

  private:
    unsigned char m_r = 0;
    unsigned char m_g = 0;
    unsigned char m_b = 0;
    int m_initial_age = 0;
    float m_initial_size = 0;
};

} // namespace vk
