#include "Surfer.h"

#include "SpeedManager.h"
#include "SurferFail.h"
#include "setSpriteBox.h"

#include <vessik/core/Event.h>
#include <vessik/core/GameManager.h>
#include <vessik/display/Color.h>
#include <vessik/display/EventKeyboard.h>
#include <vessik/display/Keyboard.h>
#include <vessik/presentation/particles.h>
#include <vessik/resources/ResourceManager.h>
#include <vessik/resources/Sound.h>
#include <vessik/world/Box.h>
#include <vessik/world/WorldManager.h>

namespace {

// Every third step of a boost leaves a spark.
constexpr int TRAIL_EVERY = 3;

void playSound(const char *label) {
    vk::Sound *p_sound = vk::ResourceManager::getInstance().getSound(label);
    if (p_sound)
        p_sound->play(false);
}

} // namespace

Surfer::Surfer() {
    setSpriteBox(*this, "surfer");
    registerInterest(vk::KEYBOARD_EVENT);
    registerInterest(vk::MSE_EVENT);
    registerInterest(vk::STEP_EVENT);
    setType("Surfer");
    const vk::Box boundary = vk::WorldManager::getInstance().getBoundary();
    setPosition(vk::Vector(5.0f, boundary.getVertical() * 0.5f));
}

Surfer::~Surfer() {
    // particles made while the world is being emptied would never be owned
    if (vk::WorldManager::getInstance().isStarted())
        vk::addParticleEffect(vk::SPARKS, getPosition(), 1.0f, vk::BLUE);
    SpeedManager &speed = SpeedManager::getInstance();
    speed.setBoosting(false);
    speed.updateSpeedDisplay();
    speed.setSpeed(0.0f);
}

int Surfer::eventHandler(const vk::Event *p_event) {
    const std::string type = p_event->getType();
    if (type == vk::KEYBOARD_EVENT) {
        if (!m_leaving)
            keyboard(dynamic_cast<const vk::EventKeyboard *>(p_event));
        return 1;
    }
    if (type == vk::STEP_EVENT) {
        step();
        return 1;
    }
    if (type == vk::MSE_EVENT || type == vk::COLLISION_EVENT)
        return 1;
    return 0;
}

void Surfer::keyboard(const vk::EventKeyboard *p_keyboard) {
    if (!p_keyboard)
        return;
    const int key = p_keyboard->getKey();
    // a paused run takes no moves; which keys are held is still followed,
    // and Escape still quits
    if (vk::GameManager::getInstance().isPaused() && key != vk::Keyboard::W && key != vk::Keyboard::S &&
        key != vk::Keyboard::ESCAPE)
        return;
    const bool pressed = p_keyboard->getKeyboardAction() == vk::KEY_PRESSED;
    const bool released = p_keyboard->getKeyboardAction() == vk::KEY_RELEASED;
    SpeedManager &speed = SpeedManager::getInstance();

    switch (key) {
    case vk::Keyboard::SPACE:
        if (pressed)
            speed.setSpeed(speed.getBaseSpeed() + 0.2f);
        playSound("speed increase");
        break;
    case vk::Keyboard::ESCAPE:
        if (pressed)
            leave();
        vk::GameManager::getInstance().setGameOver(true);
        break;
    case vk::Keyboard::Q:
        if (pressed)
            fail();
        break;
    case vk::Keyboard::S:
        if (pressed && !m_s_held) {
            m_s_held = true;
            m_direction += 1;
        } else if (released && m_s_held) {
            m_s_held = false;
            m_direction -= 1;
        }
        break;
    case vk::Keyboard::W:
        if (pressed && !m_w_held) {
            m_w_held = true;
            m_direction -= 1;
        } else if (released && m_w_held) {
            m_w_held = false;
            m_direction += 1;
        }
        break;
    default:
        break;
    }
}

void Surfer::step() {
    vk::WorldManager &world = vk::WorldManager::getInstance();

    if (--m_move_countdown < 0)
        m_move_countdown = 0;
    if (m_direction != 0 && m_move_countdown == 0) {
        m_move_countdown = m_move_delay;
        const vk::Box boundary = world.getBoundary();
        const vk::Vector target(getPosition().getX(), getPosition().getY() + static_cast<float>(m_direction));
        if (target.getY() > 3.0f && target.getY() < boundary.getVertical() - 1.0f && target.getX() > 3.0f &&
            target.getX() < boundary.getHorizontal() - 1.0f)
            world.moveObject(this, target);
    }

    SpeedManager &speed = SpeedManager::getInstance();
    if (m_boosting) {
        if (--m_boost_countdown > 0) {
            if (m_boost_countdown % TRAIL_EVERY == 0)
                vk::addParticleEffect(vk::SPARKS, getPosition(), 1.0f, vk::YELLOW);
        } else {
            m_boost_countdown = 0;
            m_boosting = false;
            speed.setBoosting(false);
            speed.updateSpeedDisplay();
        }
    }

    // the boost is switched off first: a boost ending at base speed 0 fails
    // in this same step
    if (speed.getEffectiveSpeed() < 1.0f)
        fail();
}

void Surfer::fail() {
    if (m_leaving)
        return;
    auto *p_fail = new SurferFail;
    p_fail->setPosition(getPosition());
    leave();
}

void Surfer::leave() {
    m_leaving = true;
    vk::WorldManager::getInstance().markForDelete(this);
}
