#include "Platform/Cursor.h"
#include "Platform/Resource.h"
#include "Pub/DiagramCursors.h"

#include <gtest/gtest.h>

TEST(DiagramCursors, SlotsAndFallback)
{
    LoadDiagramCursors();
    const HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
    ASSERT_NE(arrow, nullptr);
    struct Case { int slot; HCURSOR cursor; };
    const Case cases[] = {
        {0, arrow},
        {1, nullptr},
        {2, LoadCursor(AfxGetInstanceHandle(), MAKEINTRESOURCE(146))},
        {3, LoadCursor(AfxGetInstanceHandle(), MAKEINTRESOURCE(147))},
        {4, LoadCursor(nullptr, IDC_SIZEALL)},
        {5, nullptr},
        {6, LoadCursor(AfxGetInstanceHandle(), MAKEINTRESOURCE(145))},
        {7, LoadCursor(AfxGetInstanceHandle(), MAKEINTRESOURCE(144))},
        {8, LoadCursor(nullptr, IDC_SIZENWSE)},
        {9, LoadCursor(AfxGetInstanceHandle(), MAKEINTRESOURCE(136))},
        {10, LoadCursor(AfxGetInstanceHandle(), MAKEINTRESOURCE(137))},
        {11, arrow},
        {-1, arrow},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetDiagramCursor(c.slot), c.cursor) << "slot " << c.slot;
    EXPECT_NE(GetDiagramCursor(4), nullptr);
    EXPECT_NE(GetDiagramCursor(4), GetDiagramCursor(8));
}
