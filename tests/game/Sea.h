#pragma once

#include "TestEnv.h"
#include "swellrun.h"

#include "EventCollision.h"
#include "EventKeyboard.h"
#include "GameManager.h"
#include "InputManager.h"
#include "Keyboard.h"
#include "ResourceManager.h"
#include "Shape.h"
#include "ViewObject.h"
#include "WorldManager.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace seatest {

namespace kb = vk::Keyboard;

// Runs the game loop for a fixed number of iterations. Created last, it hears
// each step after every other object, which is where input arrives in a real
// iteration: `during(i)` runs there, before the world update.
class Driver : public vk::Object {
  public:
    Driver(int iterations, std::function<void(int)> during, int *p_done)
        : m_iterations(iterations), m_during(std::move(during)), m_p_done(p_done) {
        setSolidness(vk::SPECTRAL);
        registerInterest(vk::STEP_EVENT);
    }
    int eventHandler(const vk::Event *p_event) override {
        if (p_event->getType() != vk::STEP_EVENT)
            return 0;
        if (m_during)
            m_during(*m_p_done);
        if (++*m_p_done >= m_iterations) {
            vk::GameManager::getInstance().setGameOver(true);
            vk::WorldManager::getInstance().markForDelete(this);
        }
        return 1;
    }

  private:
    int m_iterations;
    std::function<void(int)> m_during;
    int *m_p_done;
};

// The engine with the speed manager started and, on request, the game's
// sprites loaded; headless unless a test brings its own X server. Randomness
// is seeded with 1.
struct Sea {
    explicit Sea(bool with_sprites = false, bool headless = true)
        // said both ways: the configuration keeps what an earlier test set
        : env(std::string(headless ? "headless:true,\n" : "headless:false,\n") +
              "networking:false,\nframe_time:0,\nrandom_seed:1,\n") {
        EXPECT_EQ(vk::GameManager::getInstance().startUp(), 0);
        EXPECT_EQ(SpeedManager::getInstance().startUp(), 0);
        const std::pair<const char *, const char *> sprites[] = {
            {"Surfer", "surfer"}, {"Trash", "trash"},     {"Buoy", "buoy"},       {"Iceberg", "iceberg"},
            {"Shark", "shark"},   {"Powerup", "powerup"}, {"ded", "surferFail"}};
        for (const auto &[file, label] : sprites) {
            if (with_sprites) {
                const std::string path = vktest::sourceDir() + "/sprites/" + file + "_sprite.txt";
                EXPECT_EQ(vk::ResourceManager::getInstance().loadSprite(path, label), 0) << path;
            }
        }
    }
    ~Sea() { vk::GameManager::getInstance().shutDown(); }

    // Runs up to `iterations` loop iterations; returns how many ran (fewer
    // when something else ended the game).
    int steps(int iterations, std::function<void(int)> during = {}) {
        int done = 0;
        auto *p_driver = new Driver(iterations, std::move(during), &done);
        vk::GameManager::getInstance().run();
        if (done < iterations) {
            // stopped early: silence it now, it is deleted at the next update
            p_driver->setActive(false);
            vk::WorldManager::getInstance().markForDelete(p_driver);
        }
        return done;
    }

    vktest::TestEnv env;
};

// Delivers a key event the way the input manager does.
inline void key(int key, int action) {
    vk::EventKeyboard event;
    event.setKey(key);
    event.setKeyboardAction(action);
    vk::InputManager::getInstance().onEvent(&event);
}
inline void press(int k) { key(k, vk::KEY_PRESSED); }
inline void release(int k) { key(k, vk::KEY_RELEASED); }

inline SpeedManager &speed() { return SpeedManager::getInstance(); }
inline vk::ObjectList all(const std::string &type) { return vk::WorldManager::getInstance().objectsOfType(type); }
inline int count(const std::string &type) { return all(type).getCount(); }

// The first active object of `type` as a T, or null.
template <class T> T *first(const std::string &type) {
    const vk::ObjectList list = all(type);
    return list.isEmpty() ? nullptr : dynamic_cast<T *>(list[0]);
}

template <class T> T *at(float x, float y) {
    auto *p = new T;
    p->setPosition(vk::Vector(x, y));
    return p;
}

inline vk::ViewObject *speedDisplay() {
    auto *p = new vk::ViewObject;
    p->setType("SpeedDisplay");
    return p;
}

// Particles sitting exactly at `where`: a burst made there since the last
// world update (every particle moves at its first update).
inline int particlesAt(vk::Vector where) {
    const vk::ObjectList particles = all("Particle");
    int n = 0;
    for (int i = 0; i < particles.getCount(); i++)
        n += particles[i]->getPosition() == where;
    return n;
}

// The colour of the first particle as 0xRRGGBB.
inline int particleRGB() {
    const vk::Shape shape = all("Particle")[0]->getShape();
    return shape.getR() * 65536 + shape.getG() * 256 + shape.getB();
}

} // namespace seatest
