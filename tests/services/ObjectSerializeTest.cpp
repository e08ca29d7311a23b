#include "../world/WorldSupport.h"
#include "AllocationProbe.h"
#include "Animation.h"
#include "Particle.h"
#include "PathSupport.h"
#include "ResourceManager.h"
#include "Sprite.h"
#include "Transform.h"
#include "ViewObject.h"
#include "serialization.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using pathtest::World;
using vk::Object;
using vk::Vector;
namespace attr = vk::attr;

namespace {

std::string hex(const std::string &bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        if (!out.empty())
            out += ' ';
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string record(Object *p_o, unsigned attr_mask) {
    std::ostringstream out;
    EXPECT_EQ(p_o->serialize(out, attr_mask), 0);
    return out.str();
}

std::vector<std::string> interestsOf(const Object *p_o) {
    std::vector<std::string> names;
    for (int i = 0; i < p_o->getEventCount(); i++)
        names.push_back(p_o->getEventName(i));
    return names;
}

// What differs between two objects in any attribute a record carries.
std::string differences(const Object *a, const Object *b) {
    std::ostringstream out;
    const auto check = [&out](const char *what, bool same) {
        if (!same)
            out << what << ' ';
    };
    check("id", a->getId() == b->getId());
    check("active", a->isActive() == b->isActive());
    check("visible", a->isVisible() == b->isVisible());
    check("events", interestsOf(a) == interestsOf(b));
    check("box", a->getBox() == b->getBox());
    check("position", a->getPosition() == b->getPosition());
    check("type", a->getType() == b->getType());
    const vk::Animation anim_a = a->getAnimation();
    const vk::Animation anim_b = b->getAnimation();
    check("animation", anim_a.getName() == anim_b.getName() && anim_a.getIndex() == anim_b.getIndex() &&
                           anim_a.getSlowdownCount() == anim_b.getSlowdownCount() &&
                           anim_a.getTransform() == anim_b.getTransform());
    check("altitude", a->getAltitude() == b->getAltitude());
    check("solidness", a->getSolidness() == b->getSolidness());
    check("no soft", a->getNoSoft() == b->getNoSoft());
    check("direction", a->getDirection() == b->getDirection());
    check("speed", a->getSpeed() == b->getSpeed());
    check("acceleration", a->getAcceleration() == b->getAcceleration());
    const vk::Shape shape_a = a->getShape();
    const vk::Shape shape_b = b->getShape();
    check("shape", shape_a.getType() == shape_b.getType() && shape_a.getSize() == shape_b.getSize() &&
                       shape_a.getColor() == shape_b.getColor() && shape_a.getAlpha() == shape_b.getAlpha());
    check("follow path", a->getFollowPath() == b->getFollowPath());
    check("path", a->getPath().getWaypoints() == b->getPath().getWaypoints() && b->getPath().getIndex() == 0);
    check("avoid collisions", a->getAvoidCollisions() == b->getAvoidCollisions());
    return out.str();
}

struct Randomizer {
    std::mt19937 random;
    explicit Randomizer(unsigned seed) : random(seed) {}

    float number(float low, float high) { return std::uniform_real_distribution<float>(low, high)(random); }
    int integer(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
    bool coin() { return integer(0, 1) == 1; }
    Vector vector() { return {number(-50, 50), number(-50, 50)}; }
    std::string text() {
        std::string s;
        for (int i = integer(0, 12); i > 0; i--)
            s += static_cast<char>(integer(' ', '~'));
        return s;
    }

    // Changes one attribute at random, never the path or following.
    void change(Object *p_o) {
        static const std::vector<std::string> names = {"point_event", "alpha", "beta", vk::STEP_EVENT,
                                                       vk::NETWORK_EVENT};
        switch (integer(0, 15)) {
        case 0: p_o->setId(integer(1, 100000)); break;
        case 1: p_o->setActive(coin()); break;
        case 2: p_o->setVisible(coin()); break;
        case 3:
            if (coin() && p_o->getEventCount() > 0)
                p_o->unregisterInterest(p_o->getEventName(integer(0, p_o->getEventCount() - 1)));
            else
                p_o->registerInterest(names[static_cast<std::size_t>(integer(0, 4))]);
            break;
        case 4: p_o->setBox(vk::Box(vector(), number(0, 9), number(0, 9))); break;
        case 5: p_o->setPosition(vector()); break;
        case 6: p_o->setType(text()); break;
        case 7: p_o->setAltitude(integer(0, vk::MAX_ALTITUDE)); break;
        case 8: p_o->setSolidness(static_cast<vk::Solidness>(integer(0, 2))); break;
        case 9: p_o->setNoSoft(coin()); break;
        case 10: p_o->setVelocity(vector()); break;
        case 11: p_o->setSpeed(number(0, 5)); break;
        case 12: p_o->setAcceleration(vector()); break;
        case 13: {
            vk::Animation animation = p_o->getAnimation();
            animation.setIndex(integer(-2, 9));
            animation.setSlowdownCount(integer(-1, 9));
            animation.setTransform(integer(0, 3));
            // the box follows the animation, as it will where the record is read
            p_o->setAnimation(animation, true);
            break;
        }
        case 14: {
            vk::Shape shape;
            shape.setType(integer(vk::SHAPE_NONE, vk::TRIANGLE));
            shape.setSize(number(0, 40));
            shape.setColor(integer(vk::BLACK, vk::CUSTOM));
            shape.setAlpha(static_cast<unsigned char>(integer(0, 255)));
            p_o->setShape(shape);
            break;
        }
        default: p_o->setAvoidCollisions(coin()); break;
        }
    }
    void randomize(Object *p_o) {
        for (int i = 0; i < 40; i++)
            change(p_o);
        std::vector<Vector> waypoints;
        for (int i = integer(0, 5); i > 0; i--)
            waypoints.push_back(vector());
        p_o->setPath(vk::Path(waypoints));
        p_o->setFollowPath(coin());
    }
};

std::set<Object *> everyObject() {
    std::set<Object *> all;
    const vk::ObjectList list = World::wm().getAllObjects(true);
    for (int i = 0; i < list.getCount(); i++)
        all.insert(list[i]);
    return all;
}

std::set<std::string> everyType() {
    std::set<std::string> types;
    for (Object *p_o : everyObject())
        types.insert(p_o->getType());
    return types;
}

} // namespace

TEST(ObjectSerialize, RecordsCarryWhatIsAskedOrWhatChanged) {
    World world(vk::Box(Vector(0, 0), 80, 24));
    auto *p_o = new Object();
    EXPECT_EQ(p_o->getModified(), attr::ALL_OBJECT);
    const std::string first = record(p_o, 0);
    EXPECT_EQ(hex(first.substr(0, 4)), "ff ff 03 00");
    EXPECT_EQ(p_o->getModified(), 0u);
    // nothing changed since: the mask alone
    EXPECT_EQ(hex(record(p_o, 0)), "00 00 00 00");

    p_o->setPosition(Vector(2.5f, 4));
    EXPECT_EQ(hex(record(p_o, 0)), "20 00 00 00 00 00 20 40 00 00 80 40");

    // named attributes go whether changed or not, and only their bits clear
    p_o->setType("Rock");
    p_o->setAltitude(3);
    EXPECT_EQ(hex(record(p_o, attr::POSITION)), "20 00 00 00 00 00 20 40 00 00 80 40");
    EXPECT_EQ(p_o->getModified(), attr::TYPE | attr::ALTITUDE);

    // the direction's eight bytes come before the speed's four
    p_o->setVelocity(Vector(0, -3));
    EXPECT_EQ(hex(record(p_o, attr::SPEED | attr::DIRECTION)),
              "00 18 00 00 00 00 00 00 00 00 80 bf 00 00 40 40");
    EXPECT_EQ(hex(record(p_o, attr::PATH | attr::FOLLOW_PATH)),
              "00 80 01 00 00 00 00 00 00 00 00 00 00");

    // a stream that takes nothing leaves the changes to be sent
    std::ostringstream broken;
    broken.setstate(std::ios::badbit);
    const unsigned before = p_o->getModified();
    EXPECT_EQ(p_o->serialize(broken, 0), -1);
    EXPECT_EQ(p_o->getModified(), before);
    EXPECT_TRUE(world.env.logHas("Object::serialize(): Error! Stream fail.") ||
                world.env.logHas("Object::serialize(): Error! Stream bad."));
}

TEST(ObjectSerialize, RandomObjectsSurviveTheTripIntoAFreshObject) {
    World world(vk::Box(Vector(0, 0), 80, 24));
    for (unsigned seed = 1; seed <= 25; seed++) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Randomizer random(seed);
        auto *p_original = new Object();
        random.randomize(p_original);
        std::stringstream stream(record(p_original, attr::ALL_OBJECT));

        auto *p_copy = new Object();
        unsigned mask = 0;
        ASSERT_EQ(p_copy->deserialize(stream, &mask), 0);
        EXPECT_EQ(mask, attr::ALL_OBJECT);
        EXPECT_EQ(differences(p_original, p_copy), "");
        EXPECT_EQ(p_copy->getModified(), 0u);
        // the whole record and nothing more was read
        EXPECT_EQ(stream.peek(), std::char_traits<char>::eof());

        // then changes travel as modified-only records
        p_original->setModified(0);
        for (int round = 0; round < 20; round++) {
            for (int i = random.integer(1, 3); i > 0; i--)
                random.change(p_original);
            std::stringstream delta(record(p_original, 0));
            ASSERT_EQ(p_copy->deserialize(delta), 0);
            ASSERT_EQ(differences(p_original, p_copy), "") << "round " << round;
        }
    }
    EXPECT_EQ(worldtest::checkIndexes(everyObject(), everyType()), "");
}

TEST(ObjectSerialize, ReadingReplacesInterestsAndRestartsThePath) {
    World world(vk::Box(Vector(0, 0), 80, 24));
    auto *p_source = new worldtest::Probe();
    p_source->registerInterest("beta");
    p_source->registerInterest("vk-collision");
    p_source->registerInterest("gamma");
    p_source->setPath(vk::Path(pathtest::cells({{3, 3}, {4, 4}})));
    std::stringstream stream(record(p_source, attr::EVENTS | attr::PATH));

    auto *p_copy = new worldtest::Probe();
    p_copy->registerInterest("alpha");
    p_copy->registerInterest("beta");
    vk::Path walked(pathtest::cells({{1, 1}, {2, 2}, {3, 3}}));
    walked.next();
    p_copy->setPath(walked);
    ASSERT_EQ(p_copy->deserialize(stream), 0);
    EXPECT_EQ(interestsOf(p_copy), (std::vector<std::string>{"beta", "gamma"}));
    EXPECT_EQ(p_copy->getPath().getIndex(), 0);
    EXPECT_EQ(p_copy->getPath().getCurrent(), Vector(3, 3));

    // the world manager no longer delivers "alpha" to it
    vk::Event alpha;
    alpha.setType("alpha");
    World::wm().onEvent(&alpha);
    EXPECT_EQ(p_copy->count("alpha"), 0);
    vk::Event gamma;
    gamma.setType("gamma");
    World::wm().onEvent(&gamma);
    EXPECT_EQ(p_copy->count("gamma"), 1);
    EXPECT_EQ(p_source->count("gamma"), 1);
}

TEST(ObjectSerialize, AnimationComesBackLinkedToItsSpriteAtItsFrame) {
    World world(vk::Box(Vector(0, 0), 80, 24));
    vk::ResourceManager &resources = vk::ResourceManager::getInstance();
    ASSERT_EQ(resources.startUp(), 0);
    ASSERT_EQ(resources.loadSprite(vktest::sourceDir() + "/sprites/Shark_sprite.txt", "shark"), 0);
    const vk::Sprite *p_shark = resources.getSprite("shark");
    ASSERT_NE(p_shark, nullptr);

    auto *p_source = new Object();
    ASSERT_EQ(p_source->setSprite("shark"), 0);
    vk::Animation animation = p_source->getAnimation();
    animation.setIndex(p_shark->getFrameCount() - 1);
    animation.setSlowdownCount(1);
    animation.setTransform(vk::BOTH);
    p_source->setAnimation(animation, false);
    std::stringstream only_animation(record(p_source, attr::ANIMATION));
    // a box of its own goes with it when the record carries it
    p_source->setBox(vk::Box(Vector(-1, -1), 2, 2));
    std::stringstream with_box(record(p_source, attr::ANIMATION | attr::BOX));

    for (std::stringstream *p_stream : {&only_animation, &with_box}) {
        auto *p_copy = new Object();
        ASSERT_EQ(p_copy->deserialize(*p_stream), 0);
        const vk::Animation back = p_copy->getAnimation();
        EXPECT_EQ(back.getSprite(), p_shark);
        EXPECT_EQ(back.getName(), "shark");
        EXPECT_EQ(back.getIndex(), p_shark->getFrameCount() - 1);
        EXPECT_EQ(back.getSlowdownCount(), 1);
        EXPECT_EQ(back.getTransform(), vk::BOTH);
        EXPECT_EQ(p_copy->getBox(), p_stream == &with_box ? p_source->getBox() : back.getBox());
    }
    World::wm().shutDown();
    resources.shutDown();
}

TEST(ObjectSerialize, LogShowsTheMaskTheBitsAndEachValue) {
    World world(vk::Box(Vector(0, 0), 80, 24), 25);
    auto *p_o = new Object();
    p_o->setModified(0);
    p_o->setPosition(Vector(2.5f, 4));
    p_o->setType("Rock");
    std::stringstream stream(record(p_o, 0));
    ASSERT_EQ((new Object())->deserialize(stream), 0);
    const std::vector<std::string> expected = {
        "Object::serialize(): attr is 0, modified is 96 (true)",
        "\t" + std::string(32, '0'),
        "\tPOSITION: (2.5,4)",
        "\tTYPE: Rock",
        "Object::deserialize(): attr 96 (" + std::string(25, '0') + "1100000)",
        "\tPOSITION: (2.5,4)",
        "\tTYPE: Rock",
        "Object::deserialize(): done checking all types.",
    };
    std::vector<std::string> log = world.env.logMessages();
    log.erase(log.begin(), log.end() - static_cast<long>(expected.size()));
    EXPECT_EQ(log, expected);
}

TEST(ObjectSerialize, CutOrOversizedRecordsStopSafely) {
    World world(vk::Box(Vector(0, 0), 80, 24));
    auto *p_source = new Object();
    Randomizer(7).randomize(p_source);
    p_source->registerInterest("alpha");
    const std::string full = record(p_source, attr::ALL_OBJECT);
    auto *p_target = new worldtest::Probe();

    for (std::size_t cut = 0; cut < full.size(); cut++) {
        std::istringstream in(full.substr(0, cut));
        ASSERT_EQ(p_target->deserialize(in), -1) << cut;
    }
    EXPECT_EQ(world.env.logCount("Object::deserialize(): Error! Stream eof."), static_cast<int>(full.size()));

    const auto count = [](std::uint64_t n) {
        std::ostringstream out;
        vk::writeCount(out, n);
        return out.str();
    };
    const auto int32 = [](int n) {
        std::ostringstream out;
        vk::writeInt(out, n);
        return out.str();
    };
    const auto mask = [](unsigned m) {
        std::ostringstream out;
        vk::writeMask(out, m);
        return out.str();
    };
    const std::uint64_t huge = std::uint64_t{1} << 63;
    const std::string padding(64, 'a');
    struct Crafted {
        const char *what;
        std::string bytes;
        int interests_after;
    };
    const std::vector<Crafted> crafted = {
        {"type length 2^63", mask(attr::TYPE) + count(huge) + padding, 1},
        // the interests go before the count is read; the first name is taken
        {"interest name length 2^63", mask(attr::EVENTS) + int32(2) + count(1) + "b" + count(huge) + padding, 1},
        // more names than bytes: none is registered
        {"interest count 2^31 - 1", mask(attr::EVENTS) + int32(INT_MAX) + count(1) + "b" + padding, 0},
        {"waypoint count 2^63", mask(attr::PATH) + count(huge) + padding, 1},
    };
    for (const Crafted &c : crafted) {
        SCOPED_TRACE(c.what);
        auto *p_fresh = new worldtest::Probe();
        p_fresh->registerInterest("alpha");
        std::istringstream in(c.bytes);
        const alloctest::AllocationProbe probe;
        EXPECT_EQ(p_fresh->deserialize(in), -1);
        EXPECT_LT(probe.largest(), 4096u);
        EXPECT_EQ(p_fresh->getEventCount(), c.interests_after);
    }
    EXPECT_EQ(worldtest::checkIndexes(everyObject(), everyType()), "");
}

TEST(ObjectSerialize, RandomBytesNeverHurtTheObjectOrTheWorld) {
    World world(vk::Box(Vector(0, 0), 80, 24));
    auto *p_target = new worldtest::Probe();
    std::mt19937 random(99);
    std::uniform_int_distribution<int> byte(0, 255);
    int accepted = 0;
    for (int i = 0; i < 3000; i++) {
        std::string bytes(static_cast<std::size_t>(byte(random) % 160), '\0');
        for (char &c : bytes)
            c = static_cast<char>(byte(random));
        // mostly masks of the object's own bits, so that fields get read
        if (bytes.size() >= 4 && i % 2 == 0)
            bytes[2] = static_cast<char>(bytes[2] & 0x03), bytes[3] = 0;
        std::istringstream in(bytes);
        const alloctest::AllocationProbe probe;
        const int result = p_target->deserialize(in);
        ASSERT_TRUE(result == 0 || result == -1);
        accepted += result == 0;
        ASSERT_LT(probe.largest(), 4096u);
    }
    EXPECT_GT(accepted, 0);
    EXPECT_LE(p_target->getEventCount(), vk::MAX_OBJ_EVENTS);
    EXPECT_EQ(worldtest::checkIndexes(everyObject(), everyType()), "");
}

TEST(ObjectSerialize, LargestIdInARecordDoesNotOverflowTheCounter) {
    World world(vk::Box(Vector(0, 0), 80, 24));
    std::ostringstream out;
    vk::writeMask(out, attr::ID);
    vk::writeInt(out, INT_MAX);
    std::istringstream in(out.str());
    auto *p_o = new Object();
    ASSERT_EQ(p_o->deserialize(in), 0);
    EXPECT_EQ(p_o->getId(), INT_MAX);
    EXPECT_EQ((new Object())->getId(), INT_MAX);
}

namespace {

std::string viewDifferences(const vk::ViewObject *a, const vk::ViewObject *b) {
    std::string out = differences(a, b);
    if (a->getValue() != b->getValue())
        out += "value ";
    if (a->getViewString() != b->getViewString())
        out += "view string ";
    if (a->getBorder() != b->getBorder())
        out += "border ";
    if (a->getColor() != b->getColor())
        out += "colour ";
    if (a->getLocation() != b->getLocation())
        out += "location ";
    if (a->getDrawValue() != b->getDrawValue())
        out += "draw value ";
    return out;
}

const unsigned VIEW_ALL = attr::ALL_OBJECT | attr::VALUE | attr::APPEARANCE;

} // namespace

TEST(ObjectSerialize, ViewObjectsCarryTheirValueAndAppearance) {
    World world(vk::Box(Vector(0, 0), 80, 24));
    for (unsigned seed = 1; seed <= 20; seed++) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Randomizer random(seed);
        auto *p_original = new vk::ViewObject();
        random.randomize(p_original);
        p_original->setValue(random.integer(-1000, 1000) | 1);
        p_original->setViewString(random.text());
        p_original->setBorder(random.coin());
        p_original->setColor(static_cast<vk::Color>(random.integer(vk::BLACK, vk::WHITE)));
        p_original->setDrawValue(random.coin());
        // at one of the nine places, or put somewhere by hand
        if (random.coin())
            p_original->setLocation(random.integer(vk::TOP_LEFT, vk::BOTTOM_RIGHT));
        else
            p_original->setPosition(Vector(40, 1));

        std::stringstream stream(record(p_original, VIEW_ALL));
        auto *p_copy = new vk::ViewObject();
        unsigned mask = 0;
        ASSERT_EQ(p_copy->deserialize(stream, &mask), 0);
        EXPECT_EQ(mask, VIEW_ALL);
        EXPECT_EQ(viewDifferences(p_original, p_copy), "");
        // the view setters mark their bits again
        EXPECT_EQ(p_copy->getModified() & attr::VALUE, attr::VALUE);
    }
}

TEST(ObjectSerialize, ViewObjectRecordsCutOrOversizedStopSafely) {
    World world(vk::Box(Vector(0, 0), 80, 24));
    auto *p_source = new vk::ViewObject();
    p_source->setViewString("Points");
    p_source->setValue(12);
    const std::string full = record(p_source, attr::TYPE | attr::VALUE | attr::APPEARANCE);
    auto *p_target = new vk::ViewObject();
    for (std::size_t cut = 0; cut < full.size(); cut++) {
        std::istringstream in(full.substr(0, cut));
        ASSERT_EQ(p_target->deserialize(in), -1) << cut;
    }
    // the object's part fails as the object's, the rest as the view object's
    EXPECT_TRUE(world.env.logHas("ViewObject::deserialize(): Error calling Object::deserialize()."));
    EXPECT_TRUE(world.env.logHas("ViewObject::deserialize(): Error! Stream eof."));

    p_target->setViewString("Points");
    std::ostringstream huge;
    vk::writeMask(huge, attr::APPEARANCE);
    vk::writeCount(huge, std::uint64_t{1} << 63);
    std::istringstream in(huge.str() + std::string(40, 'v'));
    const alloctest::AllocationProbe probe;
    EXPECT_EQ(p_target->deserialize(in), -1);
    EXPECT_LT(probe.largest(), 4096u);
    EXPECT_EQ(p_target->getViewString(), "Points");
}

TEST(ObjectSerialize, ParticlesWarnAndTravelAsPlainObjects) {
    World world(vk::Box(Vector(0, 0), 80, 24), 1);
    auto *p_particle = new vk::Particle(2, 10, 200, 1, 2, 3);
    p_particle->setPosition(Vector(5, 6));
    std::stringstream stream(record(p_particle, attr::POSITION | attr::SHAPE));
    EXPECT_TRUE(world.env.logHas("Particle::serialize(): Warning!  Particles attributes are not serialized."));

    auto *p_plain = new Object();
    ASSERT_EQ(p_plain->deserialize(stream), 0);
    EXPECT_EQ(p_plain->getPosition(), Vector(5, 6));
    EXPECT_EQ(p_plain->getShape().getType(), vk::CIRCLE);
    EXPECT_EQ(p_plain->getShape().getAlpha(), 200);

    std::stringstream again(record(p_plain, attr::POSITION));
    ASSERT_EQ((new vk::Particle(1, 10, 255, 0, 0, 0))->deserialize(again), 0);
    EXPECT_TRUE(world.env.logHas("Particle::deserialize(): Warning!  Cannot deserialize particles."));
}
