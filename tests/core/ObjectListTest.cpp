#include "Object.h"
#include "ObjectList.h"
#include "ObjectListIterator.h"
#include "TestEnv.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

using vk::Object;
using vk::ObjectList;
using vk::ObjectListIterator;

namespace {

std::vector<Object *> contents(const ObjectList &list) {
    std::vector<Object *> out;
    ObjectListIterator li(&list);
    for (li.first(); !li.isDone(); li.next())
        out.push_back(li.currentObject());
    return out;
}

// Distinct non-null pointers that are never dereferenced.
Object *fake(int i) { return reinterpret_cast<Object *>(static_cast<std::uintptr_t>(0x1000 + 16 * i)); }

} // namespace

TEST(ObjectList, NewListIsEmptyAndKeepsInsertionOrder) {
    ObjectList list;
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(list.getCount(), 0);
    for (int i = 0; i < 10; i++)
        ASSERT_EQ(list.insert(fake(i)), 0);
    EXPECT_EQ(list.getCount(), 10);
    const std::vector<Object *> got = contents(list);
    for (int i = 0; i < 10; i++)
        EXPECT_EQ(got[static_cast<std::size_t>(i)], fake(i));
}

TEST(ObjectList, NullIsRefusedAndLeavesTheListAlone) {
    ObjectList list;
    list.insert(fake(1));
    EXPECT_EQ(list.insert(nullptr), -1);
    EXPECT_EQ(contents(list), std::vector<Object *>{fake(1)});
}

TEST(ObjectList, RemoveTakesOnlyTheFirstOccurrenceAndKeepsOrder) {
    ObjectList list;
    for (Object *p : {fake(1), fake(2), fake(3), fake(2)})
        list.insert(p);
    EXPECT_EQ(list.remove(fake(2)), 0);
    EXPECT_EQ(contents(list), (std::vector<Object *>{fake(1), fake(3), fake(2)}));
    EXPECT_EQ(list.remove(fake(9)), -1);
    EXPECT_EQ(list.getCount(), 3);

    ObjectList empty;
    EXPECT_EQ(empty.remove(fake(1)), -1);
}

TEST(ObjectList, ClearEmptiesAndAnIteratorIsDoneAtOnce) {
    ObjectList list;
    list.insert(fake(1));
    list.insert(fake(2));
    list.clear();
    ObjectListIterator li(&list);
    EXPECT_TRUE(li.isDone());
    EXPECT_EQ(li.currentObject(), nullptr);
    EXPECT_EQ(list.insert(fake(3)), 0);
    EXPECT_EQ(contents(list), std::vector<Object *>{fake(3)});
}

TEST(ObjectList, IndexOutsideTheListIsLoggedAndThrows) {
    vktest::TestEnv env;
    ObjectList list;
    for (int i = 0; i < 3; i++)
        list.insert(fake(i));
    EXPECT_EQ(list[2], fake(2));
    EXPECT_THROW((void)list[-1], std::out_of_range);
    EXPECT_THROW((void)list[3], std::out_of_range);
    try {
        (void)list[3];
    } catch (const std::out_of_range &e) {
        EXPECT_STREQ(e.what(), "ObjectList::operator[](): Invalid index!");
    }
    // before the log is open the message goes to standard error
    ::testing::internal::CaptureStderr();
    EXPECT_THROW((void)list[-1], std::out_of_range);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("ObjectList::operator[](): Error! Index -1 out of range [0, 2]"), std::string::npos) << err;
}

TEST(ObjectList, SumKeepsBothOrdersAndDuplicates) {
    ObjectList a, b;
    a.insert(fake(1));
    a.insert(fake(2));
    b.insert(fake(2));
    b.insert(fake(3));
    const ObjectList sum = a + b;
    EXPECT_EQ(contents(sum), (std::vector<Object *>{fake(1), fake(2), fake(2), fake(3)}));
    EXPECT_EQ(a.getCount(), 2);
    EXPECT_EQ(contents(ObjectList() + a), contents(a));
}

TEST(ObjectList, CopiesAreIndependentValues) {
    ObjectList a;
    for (int i = 0; i < 5; i++)
        a.insert(fake(i));
    ObjectList b(a);
    ObjectList c;
    c = a;
    a.remove(fake(0));
    a.insert(fake(7));
    EXPECT_EQ(b.getCount(), 5);
    EXPECT_EQ(b[0], fake(0));
    EXPECT_EQ(contents(b), contents(c));
    c = c;
    EXPECT_EQ(c.getCount(), 5);
    // a copy can still grow past its source's capacity
    for (int i = 0; i < 100; i++)
        ASSERT_EQ(b.insert(fake(i)), 0);
    EXPECT_EQ(b.getCount(), 105);
}

TEST(ObjectListIterator, NextStopsAtTheEndAndFirstRestarts) {
    ObjectList list;
    list.insert(fake(1));
    list.insert(fake(2));
    ObjectListIterator li(&list);
    li.next();
    li.next();
    li.next();
    EXPECT_TRUE(li.isDone());
    EXPECT_EQ(li.currentObject(), nullptr);
    list.insert(fake(3));
    // the index stayed at the old count, so the new last element is current
    EXPECT_FALSE(li.isDone());
    EXPECT_EQ(li.currentObject(), fake(3));
    li.first();
    EXPECT_EQ(li.currentObject(), fake(1));
}
