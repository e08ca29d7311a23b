#include <vessik/world/ObjectList.h>
#include <vessik/world/ObjectListIterator.h>

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

TEST(ObjectList, InsertKeepsOrderRefusesNullAndRemoveTakesTheFirstOccurrence) {
    ObjectList list;
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(list.insert(nullptr), -1);
    for (Object *p : {fake(1), fake(2), fake(3), fake(2)})
        ASSERT_EQ(list.insert(p), 0);
    EXPECT_EQ(list.remove(fake(2)), 0);
    EXPECT_EQ(contents(list), (std::vector<Object *>{fake(1), fake(3), fake(2)}));
    EXPECT_EQ(list.remove(fake(9)), -1);
    EXPECT_EQ(ObjectList().remove(fake(1)), -1);

    list.clear();
    ObjectListIterator li(&list);
    EXPECT_TRUE(li.isDone());
    EXPECT_EQ(li.currentObject(), nullptr);
}

TEST(ObjectList, IndexOutsideTheListIsLoggedAndThrows) {
    ObjectList list;
    for (int i = 0; i < 3; i++)
        list.insert(fake(i));
    EXPECT_EQ(list[2], fake(2));
    EXPECT_THROW((void)list[3], std::out_of_range);
    // before the log is open the message goes to standard error
    ::testing::internal::CaptureStderr();
    try {
        (void)list[-1];
        ADD_FAILURE() << "no exception";
    } catch (const std::out_of_range &e) {
        EXPECT_STREQ(e.what(), "ObjectList::operator[](): Invalid index!");
    }
    EXPECT_NE(::testing::internal::GetCapturedStderr().find(
                  "ObjectList::operator[](): Error! Index -1 out of range [0, 2]"),
              std::string::npos);
}

TEST(ObjectList, SumAndCopiesAreIndependentValues) {
    ObjectList a, b;
    a.insert(fake(1));
    a.insert(fake(2));
    b.insert(fake(2));
    b.insert(fake(3));
    EXPECT_EQ(contents(a + b), (std::vector<Object *>{fake(1), fake(2), fake(2), fake(3)}));

    ObjectList copy(a);
    ObjectList assigned;
    assigned = a;
    assigned = assigned;
    a.remove(fake(1));
    EXPECT_EQ(contents(copy), (std::vector<Object *>{fake(1), fake(2)}));
    EXPECT_EQ(contents(assigned), contents(copy));
    // a copy still grows past its source's capacity
    for (int i = 0; i < 100; i++)
        ASSERT_EQ(copy.insert(fake(i)), 0);
    EXPECT_EQ(copy.getCount(), 102);
}

TEST(ObjectListIterator, NextStopsAtTheEndAndSeesLaterInserts) {
    ObjectList list;
    list.insert(fake(1));
    ObjectListIterator li(&list);
    li.next();
    li.next();
    EXPECT_TRUE(li.isDone());
    list.insert(fake(2));
    // the index stayed at the old count, so the new last element is current
    EXPECT_EQ(li.currentObject(), fake(2));
    li.first();
    EXPECT_EQ(li.currentObject(), fake(1));
}
