#include "UML/Model/PageState.h"

#include "Pub/SYSConfig.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(PageState, ResetTakesThePageSizeAndKeepsTitleCountAndOrigin)
{
    theSysConfig.SetDefaults();
    theSysConfig.m_nPageWidth = 42000;
    theSysConfig.m_nPageHeight = 29700;
    thePageState = PageState{7, 8, 2, 5, "Orders", 1, 2, 3, 4, 5, 6, 70, 80, 1};
    ResetPageState();
    EXPECT_EQ(thePageState.DiagramId, -1);
    EXPECT_EQ(thePageState.PageId, -1);
    EXPECT_EQ(thePageState.PageIndex, -1);
    EXPECT_EQ(thePageState.PageWidth, 42000);
    EXPECT_EQ(thePageState.PageHeight, 29700);
    EXPECT_EQ(thePageState.EdgeX, 1500);
    EXPECT_EQ(thePageState.EdgeY, 1500);
    EXPECT_EQ(thePageState.UsableWidth, 39000);
    EXPECT_EQ(thePageState.UsableHeight, 26700);
    EXPECT_EQ(thePageState.ReadOnlyPage, 0);
    EXPECT_EQ(thePageState.PageCount, 5);
    EXPECT_STREQ(thePageState.Title, "Orders");
    EXPECT_EQ(thePageState.OriginX, 70);
    EXPECT_EQ(thePageState.OriginY, 80);
    theSysConfig.SetDefaults();
}

} // namespace
