#include <vessik/world/ObjectList.h>
#include <vessik/world/OrderedObjectSet.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

using vk::Object;
using vk::OrderedObjectSet;

namespace {

// Distinct non-null pointers that are never dereferenced.
Object *fake(int i) { return reinterpret_cast<Object *>(static_cast<std::uintptr_t>(0x1000 + 16 * i)); }

std::vector<Object *> contents(const vk::ObjectList &list) {
    std::vector<Object *> out;
    for (int i = 0; i < list.getCount(); i++)
        out.push_back(list[i]);
    return out;
}

} // namespace

// Random insertions and removals, some of them refused, against a plain
// vector kept in order; the holes removals leave are squeezed out many times.
TEST(OrderedObjectSet, KeepsInsertionOrderThroughRandomInsertsAndRemovals) {
    std::mt19937 random(11);
    OrderedObjectSet set;
    std::vector<Object *> model;
    for (int round = 0; round < 4000; round++) {
        Object *p_o = fake(static_cast<int>(random() % 300));
        const bool held = std::find(model.begin(), model.end(), p_o) != model.end();
        ASSERT_EQ(set.contains(p_o), held);
        // removals win while the set is large, insertions while it is small
        if (random() % 300 < model.size()) {
            ASSERT_EQ(set.remove(p_o), held ? 0 : -1);
            model.erase(std::remove(model.begin(), model.end(), p_o), model.end());
        } else {
            ASSERT_EQ(set.insert(p_o), held ? -1 : 0) << "an object is held once";
            if (!held)
                model.push_back(p_o);
        }
        ASSERT_EQ(set.getCount(), static_cast<int>(model.size()));
        if (round % 50 == 0) {
            ASSERT_EQ(contents(set.toList()), model) << "round " << round;
        }
    }
    EXPECT_EQ(contents(set.toList()), model);
    EXPECT_EQ(set.insert(nullptr), -1);

    set.clear();
    EXPECT_TRUE(set.isEmpty());
    EXPECT_TRUE(set.toList().isEmpty());
    EXPECT_EQ(set.remove(model.front()), -1);
    ASSERT_EQ(set.insert(model.front()), 0);
    EXPECT_EQ(contents(set.toList()), std::vector<Object *>{model.front()});
}
