#include "TestEnv.h"

#include <vessik/core/Event.h>
#include <vessik/core/EventStep.h>
#include <vessik/core/GameManager.h>
#include <vessik/core/LogManager.h>
#include <vessik/core/Manager.h>
#include <vessik/world/Object.h>
#include <vessik/world/WorldManager.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using vk::Event;
using vk::Manager;
using vk::Object;

namespace {

// Serves every event type except those named "refused".
struct OpenManager : Manager {
    OpenManager() { setType("OpenManager"); }
    bool isValid(std::string event_type) const override { return event_type != "refused"; }
};

// Counts what it receives, notes itself in a shared list of receivers when
// given one, and runs an optional action inside its handler.
struct Recorder : Object {
    int handled = 0;
    int result = 1;
    std::vector<const Object *> *p_heard = nullptr;
    std::function<void()> on_event;
    int eventHandler(const Event *) override {
        handled++;
        if (p_heard)
            p_heard->push_back(this);
        if (on_event)
            on_event();
        return result;
    }
};

struct ManagerTest : ::testing::Test {
    vktest::TestEnv env;
    void SetUp() override {
        vk::LogManager::getInstance().startUp();
        vk::LogManager::getInstance().setLogLevel(1);
        // objects live in the world; the tests' own objects leave it when
        // they go out of scope, before the world stops
        vk::WorldManager::getInstance().startUp();
    }
    void TearDown() override {
        vk::WorldManager::getInstance().shutDown();
        vk::LogManager::getInstance().shutDown();
    }
};

Event eventOf(const std::string &type) {
    Event e;
    e.setType(type);
    return e;
}

} // namespace

TEST_F(ManagerTest, BaseManagerAcceptsNoInterestAtAll) {
    Manager plain;
    Recorder o;
    EXPECT_EQ(plain.registerInterest(&o, vk::STEP_EVENT), -1);
    EXPECT_TRUE(env.logHas("Manager(Manager)::registerInterest(): Event 'vk-step' not valid for this Manager"));
    const Event e = eventOf(vk::STEP_EVENT);
    EXPECT_EQ(plain.onEvent(&e), 0);
    EXPECT_EQ(o.handled, 0);
}

TEST_F(ManagerTest, RegisteringTwiceWarnsAndKeepsOneEntry) {
    OpenManager m;
    Recorder a, b;
    a.setType("A");
    EXPECT_EQ(m.registerInterest(&a, "tick"), 0);
    EXPECT_EQ(m.registerInterest(&b, "tick"), 0);
    EXPECT_EQ(m.registerInterest(&a, "tick"), 0);
    const std::string warning =
        "Manager::registerInterest(): Warning! Not adding id " + std::to_string(a.getId()) + " (A) twice for event tick.";
    EXPECT_EQ(env.logCount(warning), 1);
    const Event e = eventOf("tick");
    EXPECT_EQ(m.onEvent(&e), 2);
    EXPECT_EQ(a.handled, 1);
    EXPECT_EQ(b.handled, 1);
}

TEST_F(ManagerTest, DeliveryCountsOnlyHandledEventsAndSkipsInactiveObjects) {
    OpenManager m;
    Recorder handles, ignores, asleep;
    ignores.result = 0;
    asleep.setActive(false);
    for (Recorder *p : {&handles, &ignores, &asleep})
        ASSERT_EQ(m.registerInterest(p, "tick"), 0);
    const Event e = eventOf("tick");
    EXPECT_EQ(m.onEvent(&e), 1);
    EXPECT_EQ(ignores.handled, 1);
    EXPECT_EQ(asleep.handled, 0);

    asleep.setActive(true);
    EXPECT_EQ(m.onEvent(&e), 2);
    EXPECT_EQ(asleep.handled, 1);

    const Event other = eventOf("tock");
    EXPECT_EQ(m.onEvent(&other), 0);
    EXPECT_EQ(handles.handled, 2);
}

TEST_F(ManagerTest, UndefinedAndUnservedEventsReachNobody) {
    OpenManager m;
    Recorder o;
    m.registerInterest(&o, "tick");
    const Event undefined;
    EXPECT_EQ(m.onEvent(&undefined), 0);
    EXPECT_TRUE(env.logHas("Manager(OpenManager)::onEvent(): Warning! Event type vk-undefined is undefined."));
    const Event refused = eventOf("refused");
    EXPECT_EQ(m.onEvent(&refused), 0);
    EXPECT_TRUE(env.logHas("Manager(OpenManager)::onEvent(): Error! Event type refused not valid."));
    EXPECT_EQ(m.registerInterest(&o, "refused"), -1);
    EXPECT_EQ(o.handled, 0);
}

TEST_F(ManagerTest, UnregisteringSomethingUnknownFailsQuietly) {
    OpenManager m;
    Recorder a, b;
    EXPECT_EQ(m.unregisterInterest(&a, "tick"), -1);
    m.registerInterest(&a, "tick");
    EXPECT_EQ(m.unregisterInterest(&b, "tick"), -1);
    EXPECT_EQ(m.unregisterInterest(&a, "tock"), -1);
    EXPECT_EQ(m.unregisterInterest(&a, "tick"), 0);
    EXPECT_EQ(m.unregisterInterest(&a, "tick"), -1);
    for (const std::string &line : env.logMessages())
        EXPECT_EQ(line.find("unregister"), std::string::npos) << line;
}

TEST_F(ManagerTest, AHundredEventTypesAtMostAndFreedSlotsAreReused) {
    OpenManager m;
    Recorder o, other;
    for (int i = 0; i < vk::MAX_EVENTS; i++)
        ASSERT_EQ(m.registerInterest(&o, "type" + std::to_string(i)), 0) << i;
    EXPECT_EQ(m.registerInterest(&o, "one-too-many"), -1);
    EXPECT_EQ(m.registerInterest(&other, "type50"), 0);

    // type7 loses its only object: its slot is freed for a new type
    ASSERT_EQ(m.unregisterInterest(&o, "type7"), 0);
    EXPECT_EQ(m.registerInterest(&o, "one-too-many"), 0);
    EXPECT_EQ(m.registerInterest(&o, "yet-another"), -1);

    // the types after the freed slot still reach their objects
    const Event e99 = eventOf("type99");
    EXPECT_EQ(m.onEvent(&e99), 1);
    const Event e50 = eventOf("type50");
    EXPECT_EQ(m.onEvent(&e50), 2);
    const Event e7 = eventOf("type7");
    EXPECT_EQ(m.onEvent(&e7), 0);
}

// Each event reaches the objects registered when its delivery began, once
// each and in registration order; what handlers change counts from the next
// event on.
TEST_F(ManagerTest, HandlersChangeInterestsFromTheNextEventOn) {
    OpenManager m;
    std::vector<const Object *> heard;
    Recorder leaver, host, last, joiner;
    Recorder solo, newcomer, bystander;
    for (Recorder *p : {&leaver, &host, &last, &joiner, &solo, &newcomer, &bystander})
        p->p_heard = &heard;
    const auto deliver = [&](const std::string &type) {
        heard.clear();
        const Event e = eventOf(type);
        const int handled = m.onEvent(&e);
        EXPECT_EQ(handled, static_cast<int>(heard.size())) << type;
        return heard;
    };
    using Heard = std::vector<const Object *>;

    leaver.on_event = [&] { m.unregisterInterest(&leaver, "tick"); };
    host.on_event = [&] { m.registerInterest(&joiner, "tick"); };
    for (Recorder *p : {&leaver, &host, &last})
        m.registerInterest(p, "tick");
    EXPECT_EQ(deliver("tick"), (Heard{&leaver, &host, &last}));
    EXPECT_EQ(deliver("tick"), (Heard{&host, &last, &joiner}));

    // the last object of a type leaves and comes back, bringing another: the
    // type's slot closes and reopens behind the type registered after it
    solo.on_event = [&] {
        if (solo.handled > 1)
            return;
        m.unregisterInterest(&solo, "solo");
        m.registerInterest(&solo, "solo");
        m.registerInterest(&newcomer, "solo");
    };
    m.registerInterest(&solo, "solo");
    m.registerInterest(&bystander, "other");
    EXPECT_EQ(deliver("solo"), (Heard{&solo}));
    EXPECT_EQ(deliver("solo"), (Heard{&solo, &newcomer}));
    EXPECT_EQ(deliver("other"), (Heard{&bystander}));
}

TEST_F(ManagerTest, DeliveryFollowsRegistrationOrderThroughRemovals) {
    OpenManager m;
    std::vector<int> heard, expected;
    std::vector<std::unique_ptr<Recorder>> objects;
    for (int i = 0; i < 40; i++) {
        objects.push_back(std::make_unique<Recorder>());
        objects.back()->on_event = [&heard, i] { heard.push_back(i); };
        ASSERT_EQ(m.registerInterest(objects.back().get(), "tick"), 0);
    }
    // all but every third leave, from the back; the first comes back last
    for (int i = 39; i >= 0; i--) {
        if (i % 3 != 0 || i == 0) {
            ASSERT_EQ(m.unregisterInterest(objects[static_cast<std::size_t>(i)].get(), "tick"), 0);
        }
    }
    for (int i = 3; i < 40; i += 3)
        expected.push_back(i);
    ASSERT_EQ(m.registerInterest(objects[0].get(), "tick"), 0);
    expected.push_back(0);

    const Event e = eventOf("tick");
    EXPECT_EQ(m.onEvent(&e), static_cast<int>(expected.size()));
    EXPECT_EQ(heard, expected);
}

TEST_F(ManagerTest, RepeatedStartAndStopOnlyWarn) {
    OpenManager m;
    EXPECT_FALSE(m.isStarted());
    m.shutDown();
    EXPECT_TRUE(env.logHas("Manager::shutDown(): Warning! OpenManager not started."));
    EXPECT_EQ(m.startUp(), 0);
    EXPECT_EQ(m.startUp(), 0);
    EXPECT_TRUE(m.isStarted());
    EXPECT_TRUE(env.logHas("Manager::startUp(): Warning! OpenManager already started."));
    m.shutDown();
    EXPECT_FALSE(m.isStarted());
}

TEST_F(ManagerTest, ObjectsRouteStepInterestsToTheGameManager) {
    Recorder o;
    EXPECT_EQ(o.registerInterest(vk::STEP_EVENT), 0);
    const vk::EventStep step(4);
    EXPECT_EQ(vk::GameManager::getInstance().onEvent(&step), 1);
    EXPECT_EQ(o.unregisterInterest(vk::STEP_EVENT), 0);
    EXPECT_EQ(vk::GameManager::getInstance().onEvent(&step), 0);
    EXPECT_EQ(o.unregisterInterest(vk::STEP_EVENT), -1);
    EXPECT_TRUE(env.logHas("Object::unregisterInterest(): event 'vk-step' not previously registered"));
}
