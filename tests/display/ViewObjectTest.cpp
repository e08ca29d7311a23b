#include "Box.h"
#include "Config.h"
#include "DisplayManager.h"
#include "EventStep.h"
#include "EventView.h"
#include "GameManager.h"
#include "LogManager.h"
#include "TestEnv.h"
#include "ViewObject.h"
#include "WorldManager.h"
#include "XServer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using vk::Vector;
using vk::ViewObject;

namespace {

// A started log and world whose view (and boundary) is `width` x `height`
// cells with its corner at the origin.
struct World {
    vktest::TestEnv env;
    World(float width, float height, const std::string &config = "") : env(config) {
        vk::Config::getInstance().loadConfig("");
        vk::LogManager::getInstance().startUp();
        vk::LogManager::getInstance().setLogLevel(1);
        vk::WorldManager::getInstance().startUp();
        const vk::Box box(Vector(0, 0), width, height);
        vk::WorldManager::getInstance().setBoundary(box);
        vk::WorldManager::getInstance().setView(box);
    }
    ~World() {
        vk::WorldManager::getInstance().shutDown();
        vk::LogManager::getInstance().shutDown();
    }
};

// The whole engine with a window on a private X server.
struct Screen {
    vktest::XServer x_server;
    vktest::TestEnv env{"networking:false,"};
    bool started = false;
    Screen() { started = x_server.ok() && vk::GameManager::getInstance().startUp() == 0; }
    ~Screen() { vk::GameManager::getInstance().shutDown(); }

    // What the frame being drawn holds so far, one string per row.
    static std::vector<std::string> rows() { return vk::DisplayManager::getInstance().getFrameText().lines(); }
    static std::string row(int y) { return rows().at(static_cast<std::size_t>(y)); }
};

struct Place {
    int location;
    float x;
    float y_border;
    float y_plain;
};

void expectPlaces(float width, float height, const std::vector<Place> &places) {
    World world(width, height);
    for (const Place &place : places) {
        SCOPED_TRACE("location " + std::to_string(place.location) + " in " + std::to_string(width) + " x " +
                     std::to_string(height));
        auto *p_vo = new ViewObject;
        ASSERT_EQ(p_vo->setLocation(place.location), 0);
        EXPECT_EQ(p_vo->getLocation(), place.location);
        EXPECT_FLOAT_EQ(p_vo->getPosition().getX(), place.x);
        EXPECT_FLOAT_EQ(p_vo->getPosition().getY(), place.y_border);

        p_vo->setBorder(false);
        EXPECT_EQ(p_vo->getLocation(), place.location);
        EXPECT_FLOAT_EQ(p_vo->getPosition().getX(), place.x);
        EXPECT_FLOAT_EQ(p_vo->getPosition().getY(), place.y_plain);

        auto *p_plain = new ViewObject;
        p_plain->setBorder(false);
        ASSERT_EQ(p_plain->setLocation(place.location), 0);
        EXPECT_FLOAT_EQ(p_plain->getPosition().getY(), place.y_plain);
        p_plain->setBorder(true);
        EXPECT_FLOAT_EQ(p_plain->getPosition().getY(), place.y_border);
    }
}

} // namespace

TEST(ViewObject, NewObjectIsASpectralTopLayerHudAtTheTopCentreListeningToViewEvents) {
    World world(80, 24);
    auto *p_vo = new ViewObject;
    EXPECT_EQ(p_vo->getType(), "ViewObject");
    EXPECT_EQ(p_vo->getSolidness(), vk::SPECTRAL);
    EXPECT_EQ(p_vo->getAltitude(), vk::MAX_ALTITUDE);
    EXPECT_EQ(p_vo->getPosition(), Vector(40, 1));
    EXPECT_EQ(p_vo->getLocation(), vk::TOP_CENTER);
    EXPECT_EQ(p_vo->getText(), "  0 ") << "border and value shown";
    EXPECT_EQ(p_vo->getColor(), vk::WHITE);
    EXPECT_EQ(p_vo->getEventName(0), vk::VIEW_EVENT);
    EXPECT_EQ(p_vo->getModified(), vk::attr::ALL_OBJECT | vk::attr::VALUE | vk::attr::APPEARANCE);
}

TEST(ViewObject, NinePlacesWithAndWithoutBorderFollowTheViewSize) {
    expectPlaces(80, 24,
                 {{vk::TOP_LEFT, 80.0f / 6, 1, 0},
                  {vk::TOP_CENTER, 40, 1, 0},
                  {vk::TOP_RIGHT, 400.0f / 6, 1, 0},
                  {vk::CENTER_LEFT, 80.0f / 6, 12, 11},
                  {vk::CENTER_CENTER, 40, 12, 11},
                  {vk::CENTER_RIGHT, 400.0f / 6, 12, 11},
                  {vk::BOTTOM_LEFT, 80.0f / 6, 22, 23},
                  {vk::BOTTOM_CENTER, 40, 22, 23},
                  {vk::BOTTOM_RIGHT, 400.0f / 6, 22, 23}});
    expectPlaces(121, 41,
                 {{vk::TOP_LEFT, 121.0f / 6, 1, 0},
                  {vk::TOP_CENTER, 363.0f / 6, 1, 0},
                  {vk::TOP_RIGHT, 605.0f / 6, 1, 0},
                  {vk::CENTER_LEFT, 121.0f / 6, 20.5f, 19.5f},
                  {vk::CENTER_CENTER, 60.5f, 20.5f, 19.5f},
                  {vk::CENTER_RIGHT, 605.0f / 6, 20.5f, 19.5f},
                  {vk::BOTTOM_LEFT, 121.0f / 6, 39, 40},
                  {vk::BOTTOM_CENTER, 363.0f / 6, 39, 40},
                  {vk::BOTTOM_RIGHT, 605.0f / 6, 39, 40}});
}

TEST(ViewObject, ExplicitPositionsDetachFromThePlaceAndBadPlacesAreRefused) {
    World world(80, 24);
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

TEST(ViewObject, TextCarriesTheBlanksTheBorderAndValueCallFor) {
    World world(80, 24);
    auto *p_vo = new ViewObject;
    p_vo->setViewString("Speed");
    p_vo->setValue(-3);
    EXPECT_EQ(p_vo->getText(), " Speed -3 ");
    p_vo->setDrawValue(false);
    EXPECT_EQ(p_vo->getText(), " Speed ");
    p_vo->setBorder(false);
    EXPECT_EQ(p_vo->getText(), "Speed");
    p_vo->setDrawValue(true);
    EXPECT_EQ(p_vo->getText(), "Speed -3");

    p_vo->setViewString("");
    p_vo->setValue(7);
    EXPECT_EQ(p_vo->getText(), " 7");
}

TEST(ViewObject, ViewEventsSetOrAddToTheValueOfMatchingObjectsOnly) {
    World world(80, 24);
    auto *p_points = new ViewObject;
    p_points->setViewString("Points");
    p_points->setValue(10);
    auto *p_speed = new ViewObject;
    p_speed->setViewString("Speed");
    p_speed->setValue(2);
    vk::WorldManager &wm = vk::WorldManager::getInstance();

    const vk::EventView add("Points", 5, true);
    EXPECT_EQ(add.getType(), vk::VIEW_EVENT);
    EXPECT_EQ(wm.onEvent(&add), 1);
    EXPECT_EQ(p_points->getValue(), 15);
    EXPECT_EQ(p_speed->getValue(), 2);

    const vk::EventView set("Points", 5, false);
    EXPECT_EQ(wm.onEvent(&set), 1);
    EXPECT_EQ(p_points->getValue(), 5);

    vk::EventView other;
    other.setTag("Lives");
    other.setValue(9);
    EXPECT_EQ(wm.onEvent(&other), 0);
    EXPECT_EQ(p_points->getValue(), 5);
    EXPECT_EQ(p_speed->getValue(), 2);

    // the name alone, without the view event's fields, addresses nobody
    vk::Event bare;
    bare.setType(vk::VIEW_EVENT);
    EXPECT_EQ(p_points->eventHandler(&bare), 0);
    // other events reach the object's own handler
    const vk::EventStep step(3);
    EXPECT_EQ(p_points->eventHandler(&step), 0);
}

TEST(ViewObject, DrawsCentredTextInsideDashesAndBarsAtItsScreenCell) {
    Screen screen;
    ASSERT_TRUE(screen.started);
    // the view has scrolled far from the object's position in the world;
    // the object stays on its screen cells
    vk::WorldManager &wm = vk::WorldManager::getInstance();
    wm.setBoundary(vk::Box(Vector(0, 0), 400, 200));
    wm.setView(vk::Box(Vector(250, 120), 80, 24));
    auto *p_vo = new ViewObject;
    p_vo->setViewString("POINTS");
    p_vo->setValue(42);
    p_vo->setColor(vk::YELLOW);
    p_vo->setPosition(Vector(66, 1));
    wm.draw();

    const std::string blank(80, ' ');
    EXPECT_EQ(Screen::row(0), blank.substr(0, 61) + std::string(11, '-') + blank.substr(0, 8));
    EXPECT_EQ(Screen::row(1), blank.substr(0, 60) + "| POINTS 42 |" + blank.substr(0, 7));
    EXPECT_EQ(Screen::row(2), Screen::row(0));
    EXPECT_EQ(Screen::row(3), blank);
    const vk::ScreenCell cell = vk::DisplayManager::getInstance().getFrameText().at(62, 1);
    EXPECT_EQ(cell.ch, 'P');
    EXPECT_EQ(cell.r, 255);
    EXPECT_EQ(cell.g, 255);
    EXPECT_EQ(cell.b, 0);
    EXPECT_EQ(p_vo->draw(), 0);
}

TEST(ViewObject, DrawsEveryLayoutAtItsNamedPlace) {
    Screen screen;
    ASSERT_TRUE(screen.started);
    auto *p_bottom = new ViewObject;
    p_bottom->setViewString("Speed");
    p_bottom->setValue(3);
    p_bottom->setLocation(vk::BOTTOM_LEFT); // x = 13.33, y = 22
    auto *p_plain = new ViewObject;
    p_plain->setViewString("Hi");
    p_plain->setDrawValue(false);
    p_plain->setBorder(false);
    p_plain->setLocation(vk::TOP_RIGHT); // x = 66.67, y = 0
    vk::WorldManager::getInstance().draw();

    const std::vector<std::string> rows = Screen::rows();
    // " Speed 3 " is 9 long: it starts 4 left of x, dashes over and under it
    EXPECT_EQ(rows[21].substr(8, 11), " --------- ");
    EXPECT_EQ(rows[22].substr(7, 13), " | Speed 3 | ");
    EXPECT_EQ(rows[23].substr(8, 11), " --------- ");
    EXPECT_EQ(rows[0].substr(65, 4), " Hi ");
    EXPECT_EQ(rows[1], std::string(80, ' '));
}

TEST(ViewObject, HeadlessDrawingReportsTheFailedCalls) {
    World world(80, 24, "headless:true,");
    ASSERT_EQ(vk::DisplayManager::getInstance().startUp(), 0);
    auto *p_vo = new ViewObject;
    p_vo->setViewString("x");
    EXPECT_EQ(p_vo->draw(), -5) << "the text, two dash lines and two bars";
    p_vo->setBorder(false);
    EXPECT_EQ(p_vo->draw(), -1);
    vk::DisplayManager::getInstance().shutDown();
}
