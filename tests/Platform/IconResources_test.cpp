// Icon resources: the program's tab icons and the white transparent colour.
#include "DcFixture.h"

#include "Platform/Icon.h"
#include "Platform/ResourceTable.h"
#include "Platform/SysColors.h"

TEST(IconResources, TheProgramsTabIconsLoadWithWhiteTransparent)
{
    for (WORD id : { 158, 159 }) {
        SCOPED_TRACE(id);
        HICON icon = LoadIcon(nullptr, MAKEINTRESOURCE(id));
        ASSERT_NE(icon, nullptr);
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        CBitmap target;
        target.CreateBitmap(16, 16, 1, 32, nullptr);
        CBitmap* old = dc.SelectObject(&target);
        dc.FillSolidRect(0, 0, 16, 16, RGB(1, 2, 3));
        ASSERT_TRUE(DrawIconEx(dc.GetSafeHdc(), 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL));
        int ink = 0, through = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const COLORREF c = dc.GetPixel(x, y);
                EXPECT_NE(c, RGB(255, 255, 255));
                (c == RGB(1, 2, 3) ? through : ink)++;
            }
        }
        EXPECT_GT(ink, 20);
        EXPECT_GT(through, 20);
        dc.SelectObject(old);
        DestroyIcon(icon);
    }
    EXPECT_EQ(LoadIcon(nullptr, MAKEINTRESOURCE(4711)), nullptr);
}
