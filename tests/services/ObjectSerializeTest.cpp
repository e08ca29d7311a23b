#include "../world/WorldSupport.h"
#include "AllocationProbe.h"
#include "PathSupport.h"
#include "SerialSupport.h"
#include "inFreshProcess.h"

#include <vessik/presentation/ViewObject.h>
#include <vessik/resources/Animation.h>
#include <vessik/resources/ResourceManager.h>
#include <vessik/resources/Sprite.h>
#include <vessik/resources/Transform.h>

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using pathtest::World;
using serialtest::hex;
using vk::Object;
using vk::Vector;
namespace attr = vk::attr;

namespace {

const unsigned VIEW_ALL = attr::ALL_OBJECT | attr::VALUE | attr::APPEARANCE;

std::string record(Object *p_o, unsigned attr_mask) {
    std::ostringstream out;
    EXPECT_EQ(p_o->serialize(out, attr_mask), 0);
    return out.str();
}

// Every attribute a record carries, floats to the last bit; the path from
// its first waypoint.
std::string describe(const Object *p_o) {
    std::ostringstream out;
    out << std::hexfloat;
    const auto put = [&out](Vector v) { out << v.getX() << ',' << v.getY() << ' '; };
    out << p_o->getId() << p_o->isActive() << p_o->isVisible() << " events:";
    for (int i = 0; i < p_o->getEventCount(); i++)
        out << p_o->getEventName(i) << ',';
    const vk::Box box = p_o->getBox();
    put(box.getCorner());
    out << box.getHorizontal() << ',' << box.getVertical() << ' ';
    put(p_o->getPosition());
    out << p_o->getType() << '|' << p_o->getAnimation().toString() << '|' << p_o->getAltitude()
        << p_o->getSolidness() << p_o->getNoSoft() << ' ';
    put(p_o->getDirection());
    out << p_o->getSpeed() << ' ';
    put(p_o->getAcceleration());
    const vk::Shape shape = p_o->getShape();
    out << shape.getType() << ',' << shape.getSize() << ',' << shape.getColor() << ',' << int{shape.getAlpha()}
        << ' ' << p_o->getFollowPath() << " path:";
    const vk::Path path = p_o->getPath();
    for (const Vector &w : path.getWaypoints())
        put(w);
    out << path.getIndex() << p_o->getAvoidCollisions();
    if (const auto *p_view = dynamic_cast<const vk::ViewObject *>(p_o))
        out << " view:" << p_view->getValue() << p_view->getViewString() << '|' << p_view->getBorder()
            << p_view->getColor() << p_view->getLocation() << p_view->getDrawValue();
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

    // Changes one attribute other than the path and its following.
    void change(Object *p_o) {
        static const char *const names[] = {"point_event", "alpha", "beta", "vk-step", "vk-network"};
        vk::Animation animation = p_o->getAnimation();
        vk::Shape shape;
        switch (integer(0, 15)) {
        case 0: p_o->setId(integer(1, 100000)); break;
        case 1: p_o->setActive(coin()); break;
        case 2: p_o->setVisible(coin()); break;
        case 3:
            if (coin() && p_o->getEventCount() > 0)
                p_o->unregisterInterest(p_o->getEventName(integer(0, p_o->getEventCount() - 1)));
            else
                p_o->registerInterest(names[integer(0, 4)]);
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
        case 13:
            animation.setIndex(integer(-2, 9));
            animation.setSlowdownCount(integer(-1, 9));
            animation.setTransform(integer(0, 3));
            // the box follows the animation, as it will where the record is read
            p_o->setAnimation(animation, true);
            break;
        case 14:
            shape.setType(integer(vk::SHAPE_NONE, vk::TRIANGLE));
            shape.setSize(number(0, 40));
            shape.setColor(integer(vk::BLACK, vk::CUSTOM));
            shape.setAlpha(static_cast<unsigned char>(integer(0, 255)));
            p_o->setShape(shape);
            break;
        default: p_o->setAvoidCollisions(coin()); break;
        }
    }
    void randomize(Object *p_o) {
        for (int i = 0; i < 40; i++)
            change(p_o);
        std::vector<Vector> waypoints(static_cast<std::size_t>(integer(0, 5)));
        for (Vector &w : waypoints)
            w = vector();
        p_o->setPath(vk::Path(waypoints));
        p_o->setFollowPath(coin());
        if (auto *p_view = dynamic_cast<vk::ViewObject *>(p_o)) {
            p_view->setValue(integer(-1000, 1000) | 1);
            p_view->setViewString(text());
            p_view->setBorder(coin());
            p_view->setColor(static_cast<vk::Color>(integer(vk::BLACK, vk::WHITE)));
            p_view->setDrawValue(coin());
            // at one of the nine places, or put somewhere by hand
            if (coin())
                p_view->setLocation(integer(vk::TOP_LEFT, vk::BOTTOM_RIGHT));
            else
                p_view->setPosition(Vector(40, 1));
        }
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
    EXPECT_EQ(hex(record(p_o, 0).substr(0, 4)), "ff ff 03 00");
    EXPECT_EQ(p_o->getModified(), 0u);
    // nothing changed since: the mask alone
    EXPECT_EQ(hex(record(p_o, 0)), "00 00 00 00");
    p_o->setPosition(Vector(2.5f, 4));
    EXPECT_EQ(hex(record(p_o, 0)), "20 00 00 00 00 00 20 40 00 00 80 40");

    // named attributes go whether changed or not, and only their bits clear;
    // the direction's eight bytes come before the speed's four
    p_o->setType("Rock");
    p_o->setVelocity(Vector(0, -3));
    EXPECT_EQ(hex(record(p_o, attr::SPEED | attr::DIRECTION)), "00 18 00 00 00 00 00 00 00 00 80 bf 00 00 40 40");
    EXPECT_EQ(p_o->getModified(), attr::TYPE);

    // a stream that takes nothing leaves the changes to be sent
    std::ostringstream broken;
    broken.setstate(std::ios::badbit);
    const unsigned before = p_o->getModified();
    EXPECT_EQ(p_o->serialize(broken, 0), -1);
    EXPECT_EQ(p_o->getModified(), before);
}

TEST(ObjectSerialize, RandomObjectsSurviveTheTripWholeAndInChanges) {
    World world(vk::Box(Vector(0, 0), 80, 24));
    for (unsigned seed = 1; seed <= 30; seed++) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Randomizer random(seed);
        const bool view = seed % 2 == 0;
        Object *p_original = view ? new vk::ViewObject() : new Object();
        Object *p_copy = view ? new vk::ViewObject() : new Object();
        random.randomize(p_original);
        const unsigned everything = view ? VIEW_ALL : attr::ALL_OBJECT;
        std::stringstream stream(record(p_original, everything));
        unsigned mask = 0;
        ASSERT_EQ(p_copy->deserialize(stream, &mask), 0);
        EXPECT_EQ(mask, everything);
        EXPECT_EQ(describe(p_copy), describe(p_original));
        // the whole record and nothing more was read
        EXPECT_EQ(stream.peek(), std::char_traits<char>::eof());
        // a view object's setters mark its bits again
        EXPECT_EQ(p_copy->getModified() & (attr::ALL_OBJECT | attr::VALUE), view ? attr::VALUE : 0u);

        p_original->setModified(0);
        for (int round = 0; round < 20 && !view; round++) {
            for (int i = random.integer(1, 3); i > 0; i--)
                random.change(p_original);
            std::stringstream delta(record(p_original, 0));
            ASSERT_EQ(p_copy->deserialize(delta), 0);
            ASSERT_EQ(describe(p_copy), describe(p_original)) << "round " << round;
        }
    }
    EXPECT_EQ(worldtest::checkIndexes(everyObject(), everyType()), "");
}

TEST(ObjectSerialize, ReadingRelinksTheSpriteReplacesInterestsAndRestartsThePath) {
    World world(vk::Box(Vector(0, 0), 80, 24));
    vk::ResourceManager &resources = vk::ResourceManager::getInstance();
    ASSERT_EQ(resources.startUp(), 0);
    ASSERT_EQ(resources.loadSprite(vktest::sourceDir() + "/sprites/Shark_sprite.txt", "shark"), 0);
    auto *p_source = new worldtest::Probe();
    ASSERT_EQ(p_source->setSprite("shark"), 0);
    vk::Animation animation = p_source->getAnimation();
    animation.setIndex(resources.getSprite("shark")->getFrameCount() - 1);
    animation.setTransform(vk::BOTH);
    p_source->setAnimation(animation, false);
    for (const char *name : {"beta", "vk-collision", "gamma"})
        p_source->registerInterest(name);
    p_source->setPath(vk::Path(pathtest::cells({{3, 3}, {4, 4}})));
    std::stringstream stream(record(p_source, attr::ANIMATION | attr::EVENTS | attr::PATH));

    auto *p_copy = new worldtest::Probe();
    p_copy->registerInterest("alpha");
    p_copy->registerInterest("beta");
    p_copy->setPath(vk::Path(pathtest::cells({{1, 1}, {2, 2}})).next());
    ASSERT_EQ(p_copy->deserialize(stream), 0);
    EXPECT_EQ(p_copy->getAnimation().getSprite(), resources.getSprite("shark"));
    EXPECT_EQ(p_copy->getAnimation().toString(), animation.toString());
    EXPECT_EQ(p_copy->getPath().getCurrent(), Vector(3, 3));
    // the managers forgot the interest the record did not hold
    for (const char *name : {"alpha", "beta", "gamma"}) {
        vk::Event event;
        event.setType(name);
        World::wm().onEvent(&event);
    }
    EXPECT_EQ(p_copy->events, (std::vector<std::string>{"beta", "gamma"}));
    World::wm().shutDown();
    resources.shutDown();
}

TEST(ObjectSerialize, CutOrOversizedRecordsStopSafely) {
    using namespace serialtest;
    World world(vk::Box(Vector(0, 0), 80, 24));
    auto *p_source = new vk::ViewObject();
    Randomizer(7).randomize(p_source);
    const std::string full = record(p_source, VIEW_ALL);
    auto *p_target = new vk::ViewObject();
    for (std::size_t cut = 0; cut < full.size(); cut++) {
        std::istringstream in(full.substr(0, cut));
        ASSERT_EQ(p_target->deserialize(in), -1) << cut;
    }

    const std::uint64_t huge = std::uint64_t{1} << 63;
    const std::string padding(64, 'a');
    const struct {
        const char *what;
        std::string bytes;
        int interests_after;
    } crafted[] = {
        {"type length 2^63", mask(attr::TYPE) + count(huge) + padding, 1},
        // the interests go before the count is read; the first name is taken
        {"interest name length 2^63", mask(attr::EVENTS) + int32(2) + count(1) + "b" + count(huge) + padding, 1},
        // more names than bytes: none is registered
        {"interest count 2^31 - 1", mask(attr::EVENTS) + int32(INT_MAX) + count(1) + "b" + padding, 0},
        {"waypoint count 2^63", mask(attr::PATH) + count(huge) + padding, 1},
        {"view string length 2^63", mask(attr::APPEARANCE) + count(huge) + padding, 1},
    };
    for (const auto &c : crafted) {
        SCOPED_TRACE(c.what);
        auto *p_fresh = new vk::ViewObject();
        std::istringstream in(c.bytes);
        const alloctest::AllocationProbe probe;
        EXPECT_EQ(p_fresh->deserialize(in), -1);
        EXPECT_LT(probe.largest(), 4096u);
        EXPECT_EQ(p_fresh->getEventCount(), c.interests_after);
    }
    // random bytes are read or refused, never taken as a reason to allocate much
    std::mt19937 random(3);
    for (int trial = 0; trial < 300; trial++) {
        std::string bytes(random() % 160, '\0');
        for (char &c : bytes)
            c = static_cast<char>(random());
        std::istringstream in(bytes);
        auto *p_fresh = new vk::ViewObject();
        const alloctest::AllocationProbe probe;
        const int result = p_fresh->deserialize(in);
        EXPECT_TRUE(result == 0 || result == -1) << trial;
        EXPECT_LT(probe.largest(), 4096u) << trial;
    }
    EXPECT_EQ(worldtest::checkIndexes(everyObject(), everyType()), "");
}

// The id counter never goes back: a process of its own.
TEST(ObjectSerialize, LargestIdDoesNotOverflowTheCounterOfTheNextOnes) {
    vktest::inFreshProcess([] {
        World world(vk::Box(Vector(0, 0), 80, 24));
        std::istringstream largest(serialtest::mask(attr::ID) + serialtest::int32(INT_MAX));
        ASSERT_EQ((new vk::ViewObject())->deserialize(largest), 0);
        EXPECT_EQ((new Object())->getId(), INT_MAX);
    });
}
