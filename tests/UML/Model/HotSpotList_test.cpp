#include "UML/Model/HotSpotList.h"

#include <gtest/gtest.h>

namespace {

TEST(HotSpotList, HitsTheFirstRegisteredRectangleWithItsOpenEdges)
{
    HotSpotList::Clear();
    EXPECT_EQ(HotSpotList::Hit(POINT{0, 0}), -1);
    // A bend point at (1000, 1000) registers the square centred on it.
    HotSpotList::Add(RECT{900, 900, 1100, 1100}, 2);
    HotSpotList::Add(RECT{1000, 1000, 1200, 1200}, 3);
    HotSpotList::Add(RECT{-50, -50, 150, 150}, 0);
    EXPECT_EQ(HotSpotList::Count(), 3);
    struct Case {
        int x, y, id;
    } const cases[] = {
        {900, 900, 2},   {1099, 1099, 2}, {1100, 1050, 3}, {1050, 1100, 3}, {1100, 1100, 3},
        {1200, 1100, -1}, {899, 1000, -1}, {-50, 149, 0},  {150, 0, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HotSpotList::Hit(POINT{c.x, c.y}), c.id) << c.x << "," << c.y;
    HotSpotList::Clear();
    EXPECT_EQ(HotSpotList::Count(), 0);
    EXPECT_EQ(HotSpotList::Hit(POINT{1000, 1000}), -1);
}

} // namespace
