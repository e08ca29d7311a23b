#include "Event.h"
#include "EventCollision.h"
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "EventOut.h"
#include "EventStep.h"
#include "WorldSupport.h"

#include <gtest/gtest.h>


using worldtest::Probe;
using worldtest::World;

TEST(Event, EachClassCarriesItsNameFromConstruction) {
    EXPECT_EQ(vk::Event().getType(), "vk-undefined");
    EXPECT_EQ(vk::EventStep(3).getType(), "vk-step");
    EXPECT_EQ(vk::EventOut().getType(), "vk-out");
    EXPECT_EQ(vk::EventCollision().getType(), "vk-collision");
    EXPECT_EQ(vk::EventKeyboard().getType(), "vk-keyboard");
    EXPECT_EQ(vk::EventMouse().getType(), "vk-mouse");
}

TEST(Event, InputEventsStartWithNoKeyButtonOrAction) {
    const vk::EventKeyboard key;
    EXPECT_EQ(key.getKey(), -1);
    EXPECT_EQ(key.getKeyboardAction(), -1);
    const vk::EventMouse mouse;
    EXPECT_EQ(mouse.getMouseAction(), -1);
    EXPECT_EQ(mouse.getMouseButton(), -1);
    EXPECT_EQ(mouse.getMousePosition(), vk::Vector(0, 0));
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
