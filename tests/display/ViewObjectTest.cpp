#include "../world/WorldSupport.h"
#include "DisplayTestSupport.h"

#include <vessik/presentation/EventView.h>
#include <vessik/presentation/ViewObject.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using vk::Vector;
using vk::ViewObject;
using worldtest::box;
using worldtest::World;

TEST(ViewObject, NewObjectIsASpectralTopLayerHudAtTheTopCentre) {
    World world(box(0, 0, 80, 24), "headless:true,");
    auto *p_vo = new ViewObject;
    EXPECT_EQ(p_vo->getType(), "ViewObject");
    EXPECT_EQ(p_vo->getColor(), vk::WHITE);
    EXPECT_EQ(p_vo->getSolidness(), vk::SPECTRAL);
    EXPECT_EQ(p_vo->getAltitude(), vk::MAX_ALTITUDE);
    EXPECT_EQ(p_vo->getPosition(), Vector(40, 1));
    EXPECT_EQ(p_vo->getLocation(), vk::TOP_CENTER);
    EXPECT_EQ(p_vo->getText(), "  0 ") << "border and value shown";
    EXPECT_EQ(p_vo->getModified(), vk::attr::ALL_OBJECT | vk::attr::VALUE | vk::attr::APPEARANCE);

    ASSERT_EQ(vk::DisplayManager::getInstance().startUp(), 0);
    EXPECT_EQ(p_vo->draw(), -5) << "without a window the text, two dash lines and two bars fail";
    p_vo->setBorder(false);
    EXPECT_EQ(p_vo->draw(), -1);
    vk::DisplayManager::getInstance().shutDown();
}

TEST(ViewObject, NinePlacesWithAndWithoutBorderFollowTheViewSize) {
    struct Place {
        float width, height;
        int location;
        float x, y_border, y_plain;
    };
    const Place places[] = {
        {80, 24, vk::TOP_LEFT, 80.0f / 6, 1, 0},         {80, 24, vk::TOP_CENTER, 40, 1, 0},
        {80, 24, vk::TOP_RIGHT, 400.0f / 6, 1, 0},       {80, 24, vk::CENTER_LEFT, 80.0f / 6, 12, 11},
        {80, 24, vk::CENTER_CENTER, 40, 12, 11},         {80, 24, vk::CENTER_RIGHT, 400.0f / 6, 12, 11},
        {80, 24, vk::BOTTOM_LEFT, 80.0f / 6, 22, 23},    {80, 24, vk::BOTTOM_CENTER, 40, 22, 23},
        {80, 24, vk::BOTTOM_RIGHT, 400.0f / 6, 22, 23},  {121, 41, vk::TOP_CENTER, 363.0f / 6, 1, 0},
        {121, 41, vk::CENTER_RIGHT, 605.0f / 6, 20.5f, 19.5f}, {121, 41, vk::BOTTOM_LEFT, 121.0f / 6, 39, 40},
    };
    for (const Place &place : places) {
        SCOPED_TRACE("location " + std::to_string(place.location) + " in width " + std::to_string(place.width));
        World world(box(0, 0, place.width, place.height));
        // placed with the border then without, and the other way round
        for (bool border : {true, false}) {
            auto *p_vo = new ViewObject;
            p_vo->setBorder(border);
            ASSERT_EQ(p_vo->setLocation(place.location), 0);
            for (bool now : {border, !border}) {
                p_vo->setBorder(now);
                EXPECT_EQ(p_vo->getLocation(), place.location);
                EXPECT_EQ(p_vo->getPosition(), Vector(place.x, now ? place.y_border : place.y_plain));
            }
        }
    }
}

TEST(ViewObject, ExplicitPositionsDetachFromThePlaceAndBadPlacesAreRefused) {
    World world;
    auto *p_vo = new ViewObject;
    p_vo->setModified(0);
    EXPECT_EQ(p_vo->setPosition(Vector(40, 1)), 0);
    EXPECT_EQ(p_vo->getLocation(), vk::TOP_CENTER) << "an unchanged position keeps the place";
    EXPECT_EQ(p_vo->getModified(), 0u);
    EXPECT_EQ(p_vo->setPosition(Vector(5, 7)), 0);
    EXPECT_EQ(p_vo->getLocation(), -1);
    EXPECT_EQ(p_vo->getModified(), vk::attr::POSITION | vk::attr::APPEARANCE);
    p_vo->setBorder(false);
    EXPECT_EQ(p_vo->getPosition(), Vector(5, 7));

    // a place is computed once: a later view change leaves it where it is
    ASSERT_EQ(p_vo->setLocation(vk::BOTTOM_RIGHT), 0);
    vk::WorldManager::getInstance().setView(vk::Box(Vector(0, 0), 40, 12));
    for (int bad : {9, -1}) {
        EXPECT_EQ(p_vo->setLocation(bad), -1);
        EXPECT_TRUE(world.env.logHas("ViewObject::setLocation(): Warning! Location out of range (" +
                                     std::to_string(bad) + "). Ignored."));
    }
    EXPECT_EQ(p_vo->getLocation(), vk::BOTTOM_RIGHT);
    EXPECT_EQ(p_vo->getPosition(), Vector(400.0f / 6, 23));
}

TEST(ViewObject, TextAndViewEventsFollowTheNameValueAndBorder) {
    World world;
    struct Layout {
        const char *name;
        bool border, draw_value;
        const char *text;
    };
    auto *p_vo = new ViewObject;
    p_vo->setValue(-3);
    for (const Layout &l : {Layout{"Speed", true, true, " Speed -3 "}, Layout{"Speed", true, false, " Speed "},
                            Layout{"Speed", false, false, "Speed"}, Layout{"Speed", false, true, "Speed -3"},
                            Layout{"", false, true, " -3"}}) {
        p_vo->setViewString(l.name);
        p_vo->setBorder(l.border);
        p_vo->setDrawValue(l.draw_value);
        EXPECT_EQ(p_vo->getText(), l.text);
    }

    p_vo->setViewString("Points");
    p_vo->setValue(10);
    auto *p_speed = new ViewObject;
    p_speed->setViewString("Speed");
    p_speed->setValue(2);
    struct Sent {
        vk::EventView event;
        int handled, points;
    };
    for (const Sent &sent : {Sent{vk::EventView("Points", 5, true), 1, 15},
                             Sent{vk::EventView("Points", 5, false), 1, 5}, Sent{vk::EventView("Lives", 9), 0, 5}}) {
        EXPECT_EQ(vk::WorldManager::getInstance().onEvent(&sent.event), sent.handled);
        EXPECT_EQ(p_vo->getValue(), sent.points);
        EXPECT_EQ(p_speed->getValue(), 2);
    }
    // the name alone, without the view event's fields, addresses nobody
    vk::Event bare;
    bare.setType(vk::VIEW_EVENT);
    EXPECT_EQ(p_vo->eventHandler(&bare), 0);
}

TEST(ViewObject, DrawsEachLayoutAtItsScreenCellsWhereverTheViewIs) {
    vktest::Game game;
    ASSERT_TRUE(game.started);
    // the view has scrolled far from the objects' positions in the world
    vk::WorldManager &wm = vk::WorldManager::getInstance();
    wm.setBoundary(vk::Box(Vector(0, 0), 400, 200));
    wm.setView(vk::Box(Vector(250, 120), 80, 24));
    auto *p_points = new ViewObject;
    p_points->setViewString("POINTS");
    p_points->setValue(42);
    p_points->setColor(vk::YELLOW);
    p_points->setPosition(Vector(66, 1));
    auto *p_speed = new ViewObject;
    p_speed->setViewString("Speed");
    p_speed->setValue(3);
    p_speed->setLocation(vk::BOTTOM_LEFT); // x = 13.33, y = 22
    auto *p_plain = new ViewObject;
    p_plain->setViewString("Hi");
    p_plain->setDrawValue(false);
    p_plain->setBorder(false);
    p_plain->setLocation(vk::TOP_LEFT); // x = 13.33, y = 0
    wm.draw();

    const std::vector<std::string> rows = vk::DisplayManager::getInstance().getFrameText().lines();
    const std::string blank(80, ' ');
    EXPECT_EQ(rows[0], blank.substr(0, 12) + "Hi" + blank.substr(0, 47) + std::string(11, '-') + blank.substr(0, 8));
    EXPECT_EQ(rows[1], blank.substr(0, 60) + "| POINTS 42 |" + blank.substr(0, 7));
    EXPECT_EQ(rows[2], blank.substr(0, 61) + std::string(11, '-') + blank.substr(0, 8));
    EXPECT_EQ(rows[3], blank);
    // " Speed 3 " is 9 long: it starts 4 left of x, dashes over and under it
    EXPECT_EQ(rows[21].substr(8, 11), " --------- ");
    EXPECT_EQ(rows[22].substr(7, 13), " | Speed 3 | ");
    EXPECT_EQ(rows[23].substr(8, 11), " --------- ");
    const vk::ScreenCell cell = vk::DisplayManager::getInstance().getFrameText().at(62, 1);
    EXPECT_EQ(std::vector<int>({cell.ch, cell.r, cell.g, cell.b}), std::vector<int>({'P', 255, 255, 0}));
}
