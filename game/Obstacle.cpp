#include "Obstacle.h"

#include "EventPoint.h"
#include "SpeedManager.h"
#include "randomBelow.h"

#include <vessik/core/Event.h>
#include <vessik/presentation/particles.h>
#include <vessik/resources/Animation.h>
#include <vessik/resources/Sprite.h>
#include <vessik/world/Box.h>
#include <vessik/world/EventCollision.h>
#include <vessik/world/ObjectList.h>
#include <vessik/world/Solidness.h>
#include <vessik/world/WorldManager.h>

namespace {

bool isOfType(const vk::Object *p_o, const char *type) { return p_o && p_o->getType() == type; }

} // namespace

Obstacle::Obstacle() {
    registerInterest(vk::STEP_EVENT);
    setVelocity(vk::Vector(-0.25f * SpeedManager::getInstance().getEffectiveSpeed(), 0.0f));
    setType("Obstacle");
    setSolidness(vk::SOFT);
    moveToStart();
}

Obstacle::~Obstacle() {
    vk::WorldManager &world = vk::WorldManager::getInstance();
    // while the world is being emptied there is no score left to tell, and
    // particles made now would never be owned
    if (!world.isStarted() || !isOnScreen())
        return;
    const EventPoint point(m_points);
    world.onEvent(&point);
    if (SpeedManager::getInstance().getEffectiveSpeed() >= 1.0f)
        burst();
}

int Obstacle::eventHandler(const vk::Event *p_event) {
    const std::string type = p_event->getType();
    if (type == vk::OUT_EVENT) {
        if (getPosition().getX() < 0.0f)
            moveToStart();
        return 1;
    }
    if (type == vk::COLLISION_EVENT) {
        onCollision(dynamic_cast<const vk::EventCollision *>(p_event));
        return 1;
    }
    if (type == vk::STEP_EVENT) {
        updateVelocity();
        return 1;
    }
    return 0;
}

void Obstacle::updateVelocity() {
    setVelocity(vk::Vector(-0.25f * SpeedManager::getInstance().getEffectiveSpeed(), 0.0f));
}

void Obstacle::setSpeedPenalty(float penalty) { m_speed_penalty = penalty; }

void Obstacle::moveToStart() {
    vk::WorldManager &world = vk::WorldManager::getInstance();
    const vk::Box boundary = world.getBoundary();
    const float w = boundary.getHorizontal();
    const float h = boundary.getVertical();

    // x is drawn before y
    float x = randomBelow(w) + w + 4.0f;
    const float y = randomBelow(h - 1.0f) + 1.0f;
    while (!world.getCollisions(this, vk::Vector(x, y)).isEmpty())
        x += 5.0f;
    world.moveObject(this, vk::Vector(x, y));
}

bool Obstacle::isOnScreen() const {
    const float x = getPosition().getX();
    return x >= 0.0f && x < vk::WorldManager::getInstance().getBoundary().getHorizontal() - 1.0f;
}

void Obstacle::burst() const {
    const vk::Sprite *p_sprite = getAnimation().getSprite();
    const vk::Color color = p_sprite ? p_sprite->getColor() : NO_SPRITE_BURST_COLOR;
    vk::addParticleEffect(vk::SPARKS, getPosition(), 2.0f, color);
}

void Obstacle::onCollision(const vk::EventCollision *p_collision) {
    if (!p_collision)
        return;
    const vk::Object *p_o1 = p_collision->getObject1();
    const vk::Object *p_o2 = p_collision->getObject2();
    vk::WorldManager &world = vk::WorldManager::getInstance();
    SpeedManager &speed = SpeedManager::getInstance();

    // an iceberg crushes every other obstacle; at speed the burst comes from
    // the destructor, so an on-screen crush always shows exactly one
    if ((isOfType(p_o1, "Iceberg") || isOfType(p_o2, "Iceberg")) && getType() != "Iceberg") {
        if (speed.getEffectiveSpeed() < 1.0f && isOnScreen())
            burst();
        world.markForDelete(this);
    }

    if (isOfType(p_o1, "Surfer") || isOfType(p_o2, "Surfer")) {
        if (!speed.isBoosting() && !m_has_hit) {
            m_has_hit = true;
            speed.setSpeed(speed.getBaseSpeed() - m_speed_penalty);
        }
        // without speed left the obstacle stays; the surfer fails next step
        if (speed.getEffectiveSpeed() >= 1.0f || speed.isBoosting())
            world.markForDelete(this);
    }
}
