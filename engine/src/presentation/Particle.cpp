#include <vessik/presentation/Particle.h>

#include <vessik/core/Event.h>
#include <vessik/core/LogManager.h>
#include <vessik/presentation/Shape.h>
#include <vessik/world/WorldManager.h>

namespace vk {

Particle::Particle(float size, int age, unsigned char opacity, unsigned char r, unsigned char g, unsigned char b)
    : m_age(age) {
    setType("Particle");
    setSolidness(SPECTRAL);
    setAltitude(MAX_ALTITUDE);

    // bursts of hundreds must not use up or shift the ids of game objects
    setId(0);
    setNextId(getNextId() - 1);

    Shape shape = getShape();
    shape.setColor(r, g, b);
    shape.setType(CIRCLE);
    shape.setSize(size);
    shape.setAlpha(opacity);
    setShape(shape);

    registerInterest(STEP_EVENT);
}

int Particle::eventHandler(const Event *p_event) {
    const std::string type = p_event->getType();
    if (type == STEP_EVENT) {
        m_age--;
        if (m_age <= 0)
            WorldManager::getInstance().markForDelete(this);
        return 1;
    }
    if (type == OUT_EVENT) {
        WorldManager::getInstance().markForDelete(this);
        return 1;
    }
    return 0;
}

int Particle::serialize(std::ostream &out, unsigned attr) {
    LogManager::getInstance().writeLog(1, "Particle::serialize(): Warning!  Particles attributes are not serialized.");
    return Object::serialize(out, attr);
}

int Particle::deserialize(std::istream &in, unsigned *p_attr_out) {
    LogManager::getInstance().writeLog(1, "Particle::deserialize(): Warning!  Cannot deserialize particles.");
    return Object::deserialize(in, p_attr_out);
}

} // namespace vk
