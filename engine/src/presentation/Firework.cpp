#include <vessik/presentation/Firework.h>

#include <vessik/core/Event.h>

namespace vk {

Firework::Firework(float size, int age, unsigned char opacity, unsigned char r, unsigned char g, unsigned char b)
    : Particle(size, age, opacity, r, g, b), m_r(r), m_g(g), m_b(b), m_initial_age(age), m_initial_size(size) {
    setType("Firework");
    setAcceleration(Vector(0, 0.01f));
}

int Firework::eventHandler(const Event *p_event) {
    const int result = Particle::eventHandler(p_event);
    if (p_event->getType() != STEP_EVENT)
        return result;
    // the trail goes on to the very step the firework expires in
    auto *p_trail = new Particle(m_initial_size / 2, m_initial_age / 4, 255, m_r, m_g, m_b);
    p_trail->setPosition(getPosition());
    return 1;
}

} // namespace vk
