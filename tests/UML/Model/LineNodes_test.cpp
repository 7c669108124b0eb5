#include "UML/Model/LineNodes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(LineNodes, NextLineNodeWalksThePairs)
{
    struct Case {
        const char* text;
        int pos;
        int result, x, y;
    } const cases[] = {
        {"1F4,-3E8", 0, 8, 500, -1000},  // y ends the text: the terminator's position
        {"1F4,-3E8", 8, -1, 7, 7},       // at the end
        {"A,B,E,F", 0, 4, 10, 11},
        {"A,B,E,F", 4, 7, 14, 15},
        {"a,b,", 0, 4, 10, 11},
        {"0,0", 0, 3, 0, 0},
        {"", 0, -1, 7, 7},
        {"1F4", 0, -1, 7, 7},            // no comma after x
        {"1,2", -1, -1, 7, 7},
        {"1,2", 9, -1, 7, 7},
    };
    for (const auto& c : cases) {
        int x = 7, y = 7;
        EXPECT_EQ(NextLineNode(c.text, x, y, c.pos), c.result) << c.text << " @" << c.pos;
        EXPECT_EQ(x, c.x) << c.text << " @" << c.pos;
        EXPECT_EQ(y, c.y) << c.text << " @" << c.pos;
    }
    int x = 7, y = 7;
    EXPECT_EQ(NextLineNode(nullptr, x, y, 0), -1);
}

TEST(LineNodes, NumbersLongerThanSixtyFourCharactersAreRefused)
{
    const std::string longX = std::string(65, '0') + "1,2";
    const std::string longY = "1," + std::string(65, '0') + "2";
    const std::string widest = std::string(63, '0') + "1," + std::string(63, '0') + "2";
    int x = 7, y = 7;
    EXPECT_EQ(NextLineNode(longX.c_str(), x, y, 0), -1);
    EXPECT_EQ(NextLineNode(longY.c_str(), x, y, 0), -1);
    EXPECT_EQ(x, 7);
    EXPECT_EQ(y, 7);
    EXPECT_EQ(NextLineNode(widest.c_str(), x, y, 0), static_cast<int>(widest.size()));
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 2);
}

TEST(LineNodes, GetLineNodeByIndex)
{
    struct Case {
        const char* text;
        int n;
        bool found;
        int x, y;
    } const cases[] = {
        {"A,B,E,F", -1, true, 14, 15}, {"A,B,E,F", 0, true, 10, 11}, {"A,B,E,F", 1, true, 14, 15},
        {"A,B,E,F", 2, false, 7, 7},   {"", -1, false, 7, 7},         {"", 0, false, 7, 7},
        {"-64,3E8", -1, true, -100, 1000},
    };
    for (const auto& c : cases) {
        int x = 7, y = 7;
        EXPECT_EQ(GetLineNode(c.text, x, y, c.n), c.found) << c.text << " #" << c.n;
        EXPECT_EQ(x, c.x) << c.text << " #" << c.n;
        EXPECT_EQ(y, c.y) << c.text << " #" << c.n;
    }
}

} // namespace
