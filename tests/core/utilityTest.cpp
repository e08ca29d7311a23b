#include "TestEnv.h"

#include <vessik/core/LogManager.h>
#include <vessik/core/utility.h>

#include <gtest/gtest.h>

#include <sstream>

using vk::match;

TEST(Match, FindsValuesByExactKey) {
    EXPECT_EQ(match("a:1,b:2", "b"), "2");
    EXPECT_EQ(match("a:1,b:2", "z"), "");
    EXPECT_EQ(match("a:1,b:2", "B"), "");
    EXPECT_EQ(match("a:1,a:2", "a"), "1");
    EXPECT_EQ(match("a:1:2", "a"), "1");
    EXPECT_EQ(match(" a : 1 ,\tb\n:\r2 ", "b"), "2");
}

TEST(Match, EmptyPiecesAreSkippedAndLoneKeysHaveNoValue) {
    EXPECT_EQ(match("a:1,,b:2", "b"), "2");
    EXPECT_EQ(match(",,a:1,,", "a"), "1");
    EXPECT_EQ(match("lonely,a:1", "lonely"), "");
    EXPECT_EQ(match("lonely,a:1", "a"), "1");
    EXPECT_EQ(match("::a:1", "a"), "1");
}

TEST(Match, AColonOnlyEntryEndsTheParse) {
    EXPECT_EQ(match("a:1,:,b:2", "a"), "1");
    EXPECT_EQ(match("a:1,:,b:2", "b"), "");
    EXPECT_EQ(match("a:1,:::,b:2", "b"), "");
}

TEST(Match, EmptyTextSearchesThePreviousParse) {
    EXPECT_EQ(match("x:9,y:8", "x"), "9");
    EXPECT_EQ(match("", "y"), "8");
    EXPECT_EQ(match("", "x"), "9");
    EXPECT_EQ(match("q:1", "q"), "1");
    EXPECT_EQ(match("", "x"), "");
}

TEST(Match, TracesTheParseAtHighVerbosity) {
    vktest::TestEnv env;
    vk::LogManager &log = vk::LogManager::getInstance();
    ASSERT_EQ(log.startUp(), 0);
    log.setLogLevel(28);
    match("a:1,,b:2", "b");
    log.shutDown();
    EXPECT_TRUE(env.logHas("match(\"a:1,,b:2\", \"b\")"));
    EXPECT_TRUE(env.logHas("match(): number of elements allocated is 3"));
    EXPECT_TRUE(env.logHas("\titem number 1"));
    EXPECT_TRUE(env.logHas("\tkey b"));
    EXPECT_TRUE(env.logHas("\tval 2"));
    EXPECT_TRUE(env.logHas("\t1  b : 2"));
    EXPECT_TRUE(env.logHas("match(): Looking for match 'b' among 2 items."));
    EXPECT_TRUE(env.logHas("match(): 1: b == b?"));
}

TEST(CheckStream, NamesTheFirstProblemFound) {
    vktest::TestEnv env;
    vk::LogManager &log = vk::LogManager::getInstance();
    ASSERT_EQ(log.startUp(), 0);

    std::stringstream good("data");
    EXPECT_EQ(vk::checkStream("Good::read()", good), 0);

    std::stringstream at_end("");
    char c = 0;
    at_end.get(c);
    EXPECT_EQ(vk::checkStream("Shape::deserialize()", at_end), -1);

    std::stringstream failed("abc");
    int number = 0;
    failed >> number;
    EXPECT_EQ(vk::checkStream("Box::deserialize()", failed), -1);

    std::stringstream bad;
    bad.setstate(std::ios::badbit);
    EXPECT_EQ(vk::checkStream("Path::serialize()", bad), -1);
    log.shutDown();

    EXPECT_EQ(env.logMessages(), (std::vector<std::string>{"Shape::deserialize(): Error! Stream eof.",
                                                          "Box::deserialize(): Error! Stream fail.",
                                                          "Path::serialize(): Error! Stream bad."}));
}

TEST(NameTables, KnownAndUnknownValues) {
    EXPECT_EQ(vk::toString(vk::HARD), "hard");
    EXPECT_EQ(vk::toString(vk::SOFT), "soft");
    EXPECT_EQ(vk::toString(vk::SPECTRAL), "spectral");
    EXPECT_EQ(vk::toString(static_cast<vk::Solidness>(7)), "undefined");

    EXPECT_EQ(vk::toString(vk::NONE), "NONE");
    EXPECT_EQ(vk::toString(vk::VERTICAL), "VERTICAL");
    EXPECT_EQ(vk::toString(vk::HORIZONTAL), "HORIZONTAL");
    EXPECT_EQ(vk::toString(vk::BOTH), "BOTH");
    EXPECT_EQ(vk::toString(static_cast<vk::Transform>(-1)), "UNKNOWN");

    const char *const places[] = {"top-left",     "top-center", "top-right",  "center-left", "center-center",
                                  "center-right", "bot-left",   "bot-center", "bot-right"};
    for (int i = 0; i < 9; i++)
        EXPECT_EQ(vk::toString(static_cast<vk::ViewObjectLocation>(i)), places[i]);
    EXPECT_EQ(vk::toString(static_cast<vk::ViewObjectLocation>(9)), "unknown");
    EXPECT_EQ(vk::toString(static_cast<vk::ViewObjectLocation>(-1)), "unknown");
}

TEST(NumberText, IntsAndFloats) {
    EXPECT_EQ(vk::toString(-42), "-42");
    EXPECT_EQ(vk::toString(0), "0");
    EXPECT_EQ(vk::toString(0.5f), "0.5");
    EXPECT_EQ(vk::toString(1.0f / 3.0f), "0.333333");
    EXPECT_EQ(vk::toString(1e9f), "1e+09");
    EXPECT_EQ(vk::toString(12.0f), "12");
}

TEST(ValueInRange, BothEndsIncluded) {
    EXPECT_TRUE(vk::valueInRange(4, 0, 4));
    EXPECT_TRUE(vk::valueInRange(0, 0, 4));
    EXPECT_FALSE(vk::valueInRange(4.5f, 0, 4));
    EXPECT_FALSE(vk::valueInRange(-0.1f, 0, 4));
}
