#include "Event.h"
#include "EventCollision.h"
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "EventOut.h"
#include "EventStep.h"
#include "WorldSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using worldtest::Probe;
using worldtest::World;

TEST(Event, EachClassCarriesItsNameFromConstruction) {
    EXPECT_EQ(vk::Event().getType(), "vk-undefined");
    EXPECT_EQ(vk::EventStep(3).getType(), "vk-step");
    EXPECT_EQ(vk::EventOut().getType(), "vk-out");
    EXPECT_EQ(vk::EventCollision().getType(), "vk-collision");
    EXPECT_EQ(vk::EventKeyboard().getType(), "vk-keyboard");
    EXPECT_EQ(vk::EventMouse().getType(), "vk-mouse");

    // through the base, as handlers see them
    std::vector<std::unique_ptr<vk::Event>> events;
    events.push_back(std::make_unique<vk::EventOut>());
    events.push_back(std::make_unique<vk::EventKeyboard>());
    EXPECT_EQ(events[0]->getType(), vk::OUT_EVENT);
    EXPECT_EQ(events[1]->getType(), vk::KEYBOARD_EVENT);
}

TEST(Event, InputEventsStartWithNoKeyButtonOrAction) {
    vk::EventKeyboard key;
    EXPECT_EQ(key.getKey(), -1);
    EXPECT_EQ(key.getKeyboardAction(), -1);
    key.setKey(22);
    key.setKeyboardAction(1);
    EXPECT_EQ(key.getKey(), 22);
    EXPECT_EQ(key.getKeyboardAction(), 1);

    vk::EventMouse mouse;
    EXPECT_EQ(mouse.getMouseAction(), -1);
    EXPECT_EQ(mouse.getMouseButton(), -1);
    EXPECT_EQ(mouse.getMousePosition(), vk::Vector(0, 0));
    mouse.setMouseAction(2);
    mouse.setMouseButton(0);
    mouse.setMousePosition(vk::Vector(12.5f, 3));
    EXPECT_EQ(mouse.getMouseAction(), 2);
    EXPECT_EQ(mouse.getMouseButton(), 0);
    EXPECT_EQ(mouse.getMousePosition(), vk::Vector(12.5f, 3));
}

TEST(Event, CollisionNamesBothObjectsAndTheTarget) {
    World world;
    auto *a = new Probe(vk::Vector(5, 5));
    auto *b = new Probe(vk::Vector(9, 5));
    const vk::EventCollision c(a, b, vk::Vector(8.5f, 5));
    EXPECT_EQ(c.getObject1(), a);
    EXPECT_EQ(c.getObject2(), b);
    EXPECT_EQ(c.getPosition(), vk::Vector(8.5f, 5));
}

TEST(Event, HandlersTellEventsApartByNameOnly) {
    World world;
    auto *listener = new Probe();
    ASSERT_EQ(listener->registerInterest("point_event"), 0);

    // a plain event and a collision event renamed: both are the game's event
    vk::Event plain;
    plain.setType("point_event");
    vk::EventCollision renamed;
    renamed.setType("point_event");
    EXPECT_EQ(World::wm().onEvent(&plain), 1);
    EXPECT_EQ(World::wm().onEvent(&renamed), 1);
    EXPECT_EQ(listener->count("point_event"), 2);
    EXPECT_EQ(listener->count(vk::COLLISION_EVENT), 0);
}
