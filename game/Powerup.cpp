#include "Powerup.h"

#include "SpeedManager.h"
#include "Surfer.h"
#include "randomBelow.h"
#include "setSpriteBox.h"

#include <vessik/core/Event.h>
#include <vessik/core/LogManager.h>
#include <vessik/display/Color.h>
#include <vessik/presentation/particles.h>
#include <vessik/resources/ResourceManager.h>
#include <vessik/resources/Sound.h>
#include <vessik/world/Box.h>
#include <vessik/world/EventCollision.h>
#include <vessik/world/ObjectList.h>
#include <vessik/world/Solidness.h>
#include <vessik/world/WorldManager.h>

namespace {

vk::Vector seaVelocity() { return vk::Vector(-0.25f * SpeedManager::getInstance().getEffectiveSpeed(), 0.0f); }

} // namespace

Powerup::Powerup() {
    setType("PowerUp");
    setSpriteBox(*this, "powerup");
    setSolidness(vk::SOFT);
    registerInterest(vk::STEP_EVENT);
    setVelocity(seaVelocity());

    vk::WorldManager &world = vk::WorldManager::getInstance();
    const vk::Box boundary = world.getBoundary();
    const float w = boundary.getHorizontal();
    const float h = boundary.getVertical();
    // y is drawn before x, the other way round from the obstacles
    const float y = randomBelow(h - 1.0f) + 1.0f;
    float x = randomBelow(w) + w + 4.0f;
    for (int i = 0; i < PLACEMENT_TRIES; i++) {
        if (world.getCollisions(this, vk::Vector(x, y)).isEmpty())
            break;
        x += 5.0f;
    }
    world.moveObject(this, vk::Vector(x, y));
}

int Powerup::eventHandler(const vk::Event *p_event) {
    const std::string type = p_event->getType();
    if (type == vk::OUT_EVENT) {
        if (getPosition().getX() < 0.0f)
            vk::WorldManager::getInstance().markForDelete(this);
        return 1;
    }
    if (type == vk::COLLISION_EVENT) {
        onCollision(p_event);
        return 1;
    }
    if (type == vk::STEP_EVENT) {
        setVelocity(seaVelocity());
        return 1;
    }
    return 0;
}

void Powerup::onCollision(const vk::Event *p_event) {
    // one pick-up however long the surfer overlaps before the deletion
    if (m_picked_up)
        return;
    const auto *p_collision = dynamic_cast<const vk::EventCollision *>(p_event);
    if (!p_collision)
        return;
    vk::Object *p_other =
        p_collision->getObject1() == this ? p_collision->getObject2() : p_collision->getObject1();
    auto *p_surfer = dynamic_cast<Surfer *>(p_other);
    if (!p_surfer)
        return;

    m_picked_up = true;
    vk::LogManager::getInstance().writeLog(1, "Powerup::onCollision(): Boost picked up.");
    if (vk::Sound *p_sound = vk::ResourceManager::getInstance().getSound("pick up"))
        p_sound->play(false);
    if (!p_surfer->isBoosting()) {
        SpeedManager &speed = SpeedManager::getInstance();
        speed.setBoosting(true);
        speed.updateSpeedDisplay();
        p_surfer->setBoosting(true);
    }
    p_surfer->setBoostCountdown(Surfer::BOOST_STEPS);
    vk::addParticleEffect(vk::SPARKS, getPosition(), 6.0f, vk::YELLOW);
    vk::WorldManager::getInstance().markForDelete(this);
}
