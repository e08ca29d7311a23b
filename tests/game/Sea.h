#pragma once

#include "SpeedManager.h"
#include "TestEnv.h"

#include "Event.h"
#include "EventKeyboard.h"
#include "GameManager.h"
#include "InputManager.h"
#include "Keyboard.h"
#include "Object.h"
#include "ObjectList.h"
#include "ResourceManager.h"
#include "Solidness.h"
#include "WorldManager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

namespace seatest {

// Runs the game loop for a fixed number of iterations. Created last, it hears
// each step after every other object, which is where input arrives in a real
// iteration: `during(i)` runs there, before the world update.
class Driver : public vk::Object {
  public:
    Driver(int iterations, std::function<void(int)> during, int *p_done)
        : m_iterations(iterations), m_during(std::move(during)), m_p_done(p_done) {
        setType("Driver");
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

// A headless engine with the speed manager started and, on request, the
// game's sprites loaded. Randomness is seeded with 1.
class Sea {
  public:
    explicit Sea(bool with_sprites = false)
        : env("headless:true,\nnetworking:false,\nframe_time:0,\nrandom_seed:1,\n") {
        EXPECT_EQ(vk::GameManager::getInstance().startUp(), 0);
        EXPECT_EQ(SpeedManager::getInstance().startUp(), 0);
        if (with_sprites) {
            const std::string dir = vktest::sourceDir() + "/sprites/";
            auto &resources = vk::ResourceManager::getInstance();
            for (const auto &[file, label] : {std::pair{"Surfer_sprite.txt", "surfer"}, {"Trash_sprite.txt", "trash"},
                                              {"Buoy_sprite.txt", "buoy"}, {"Iceberg_sprite.txt", "iceberg"},
                                              {"Shark_sprite.txt", "shark"}, {"Powerup_sprite.txt", "powerup"},
                                              {"ded_sprite.txt", "surferFail"}})
                EXPECT_EQ(resources.loadSprite(dir + file, label), 0) << file;
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

inline int count(const std::string &type) { return vk::WorldManager::getInstance().objectsOfType(type).getCount(); }

// The first active object of `type` as a T, or null.
template <class T> T *first(const std::string &type) {
    const vk::ObjectList list = vk::WorldManager::getInstance().objectsOfType(type);
    return list.isEmpty() ? nullptr : dynamic_cast<T *>(list[0]);
}

// Particles sitting exactly at `where`: a burst made there since the last
// world update (every particle moves at its first update).
inline int particlesAt(vk::Vector where) {
    const vk::ObjectList particles = vk::WorldManager::getInstance().objectsOfType("Particle");
    int n = 0;
    for (int i = 0; i < particles.getCount(); i++)
        if (particles[i]->getPosition() == where)
            n++;
    return n;
}

inline SpeedManager &speed() { return SpeedManager::getInstance(); }

} // namespace seatest
