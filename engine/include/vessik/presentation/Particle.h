#pragma once

#include <vessik/export.h>

#include <vessik/world/Object.h>

namespace vk {

// A short-lived spectral object drawn as a small filled circle on the top
// layer: the engine's visual effects. It takes no object id (its id is 0 and
// the number goes back to the next object), counts its age down by one every
// step and marks itself for deletion on its last step or when it leaves the
// world. Its opacity stays as made. Create particles with `new` (usually
// through addParticles); the world manager owns them like any object.
class VK_API Particle : public Object {
  public:
    // Size in pixels (the circle's radius), age in steps, then the opacity
    // and the colour bytes.
    Particle(float size, int age, unsigned char opacity, unsigned char r, unsigned char g, unsigned char b);

    int eventHandler(const Event *p_event) override;

    // A particle's own state (its age) does not travel: both warn, then
    // write or read the record of a plain object.
    int serialize(std::ostream &out, unsigned attr = 0) override;
    int deserialize(std::istream &in, unsigned *p_attr_out = nullptr) override;

    [[nodiscard]] int getAge() const noexcept { return m_age; }

  private:
    int m_age = 0;
};

} // namespace vk
