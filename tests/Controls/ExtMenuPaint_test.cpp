// Measuring and painting owner-drawn menu items: a popup of every kind of
// item per painter and system, written as PNGs, with pixel checks where the
// layout is exact.
#include "Controls/ExtMenu.h"
#include "Platform/SysColors.h"
#include "PngFile.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Row {
    const char* text;  // null: a separator
    UINT state;
    bool image;
    bool radio;
};

const Row kRows[] = {
    { "&Copy\tCtrl+C", 0, true, false },
    { "Hot item", ODS_SELECTED, true, false },
    { "Grayed", ODS_GRAYED, true, false },
    { "Checked image", ODS_CHECKED, true, false },
    { "Checked", ODS_CHECKED, false, false },
    { "Hot checked", ODS_CHECKED | ODS_SELECTED, false, false },
    { "Radio", ODS_CHECKED, false, true },
    { nullptr, 0, false, false },
    { "Select All\tCtrl+A", 0, false, false },
    { "Plain", 0, false, false },
    { "Hot grayed", ODS_GRAYED | ODS_SELECTED, true, false },
};
const int kRowCount = int(sizeof kRows / sizeof kRows[0]);

// The test image: a blue frame around a red square, on the button face.
void TestImage(CImageList& list)
{
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap bitmap;
    bitmap.CreateBitmap(16, 16, 1, 32, nullptr);
    CBitmap* old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, 16, 16, GetSysColor(COLOR_BTNFACE));
    dc.FillSolidRect(2, 2, 12, 12, RGB(0, 0, 160));
    dc.FillSolidRect(4, 4, 8, 8, RGB(220, 0, 0));
    dc.SelectObject(old);
    list.Create(16, 16, ILC_COLORDDB | ILC_MASK, 1, 1);
    list.Add(&bitmap, GetSysColor(COLOR_BTNFACE));
}

// A popup of every row, painted by one painter on one system.
class PaintedPopup {
public:
    PaintedPopup(int osClass, bool classic, UINT firstId)
    {
        const int oldClass = theMenuOsClass, oldTheme = theMenuClassicTheme;
        theMenuOsClass = osClass;
        theMenuClassicTheme = 0;
        CImageList image;
        TestImage(image);
        m_radio.CreateBitmap(8, 8, 1, 32, nullptr);
        menu.CreatePopupMenu();
        for (int i = 0; i < kRowCount; ++i) {
            const UINT id = kRows[i].text ? firstId + UINT(i) : 0;
            ids.push_back(id);
            menu.AppendItem(kRows[i].text ? kRows[i].text : "", 0, id);
            if (kRows[i].image)
                menu.ModifyItem(static_cast<LPCTSTR>(nullptr), id, &image, 0);
            if (kRows[i].radio)
                menu.SetMenuItemBitmaps(id, MF_BYCOMMAND, nullptr, &m_radio);
        }
        int y = 0;
        for (int i = 0; i < kRowCount; ++i) {
            MEASUREITEMSTRUCT m = { ODT_MENU, 0, ids[size_t(i)], 0, 0,
                                    reinterpret_cast<ULONG_PTR>(menu.GetRecord(i)) };
            menu.MeasureItem(&m);
            rects.emplace_back(0, y, int(m.itemWidth), y + int(m.itemHeight));
            width = std::max(width, int(m.itemWidth));
            y += int(m.itemHeight);
        }
        height = y;
        for (CRect& r : rects)
            r.right = width;
        dc.CreateCompatibleDC(nullptr);
        m_bitmap.CreateBitmap(width, height, 1, 32, nullptr);
        m_old = dc.SelectObject(&m_bitmap);
        // The popup window lays the menu colour under its items; the XP-like
        // painter covers all of it, the classic one leaves the image column.
        dc.FillSolidRect(0, 0, width, height, classic ? GetSysColor(COLOR_MENU) : RGB(255, 0, 255));
        for (int i = 0; i < kRowCount; ++i) {
            DRAWITEMSTRUCT d = { ODT_MENU, 0, ids[size_t(i)], ODA_DRAWENTIRE, kRows[i].state,
                                 reinterpret_cast<HWND>(menu.m_hMenu), dc.GetSafeHdc(), rects[size_t(i)],
                                 reinterpret_cast<ULONG_PTR>(menu.GetRecord(i)) };
            if (classic)
                menu.DrawItemClassic(&d);
            else
                menu.DrawItem(&d);
        }
        theMenuOsClass = oldClass;
        theMenuClassicTheme = oldTheme;
    }
    ~PaintedPopup() { dc.SelectObject(m_old); }

    COLORREF At(int row, int x, int y) { return dc.GetPixel(rects[size_t(row)].left + x, rects[size_t(row)].top + y); }

    CExtMenu menu;
    std::vector<UINT> ids;
    std::vector<CRect> rects;
    int width = 0, height = 0;
    CDC dc;

private:
    CBitmap m_bitmap, m_radio;
    CBitmap* m_old = nullptr;
};

enum RowIndex { Normal, Hot, Grayed, CheckedImage, Checked, HotChecked, Radio, Separator, Accelerator, Plain, HotGrayed };

COLORREF Sys(int index) { return GetSysColor(index); }

} // namespace

TEST(ExtMenuPaint, EveryPainterAndSystemAsPng)
{
    struct Case {
        const char* file;
        int osClass;
        bool classic;
    };
    const Case cases[] = {
        { "menu_xp_modern.png", 1, false },
        { "menu_xp_themed.png", 7, false },
        { "menu_classic_modern.png", 1, true },
        { "menu_classic_win98.png", 3, true },
    };
    UINT first = 41000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        PaintedPopup popup(c.osClass, c.classic, first);
        first += 100;
        EXPECT_TRUE(WritePng(popup.dc, popup.width, popup.height, c.file));
        for (int y = 0; y < popup.height && !c.classic; ++y)
            for (int x = 0; x < popup.width; x += 3)
                ASSERT_NE(popup.dc.GetPixel(x, y), RGB(255, 0, 255)) << x << "," << y;
    }
}

TEST(ExtMenuPaint, MeasuringFollowsTheSystem)
{
    struct Case {
        int osClass;
        int height;
        int separator;
        int extra;  // width beyond the text
    };
    const int m = GetSystemMetrics(SM_CYMENU);
    const Case cases[] = {
        { 1, std::max(20, m), std::max(10, m / 2), 33 },
        { 7, std::max(23, m), 3, 16 + 7 + 8 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.osClass);
        PaintedPopup popup(c.osClass, false, 45000 + UINT(c.osClass) * 100);
        EXPECT_EQ(popup.rects[Plain].Height(), c.height);
        EXPECT_EQ(popup.rects[Separator].Height(), c.separator);
        MEASUREITEMSTRUCT empty = { ODT_MENU, 0, 1, 0, 0, 0 };
        const int oldClass = theMenuOsClass;
        theMenuOsClass = c.osClass;
        popup.menu.MeasureItem(&empty);
        theMenuOsClass = oldClass;
        EXPECT_EQ(int(empty.itemWidth), c.extra);
    }
    // The oldest systems spread the width over the characters; an empty
    // text has none to spread it over.
    const int oldClass = theMenuOsClass;
    theMenuOsClass = 0;
    CExtMenu menu;
    menu.CreatePopupMenu();
    menu.AppendItem("", 0, 5);
    MEASUREITEMSTRUCT empty = { ODT_MENU, 0, 5, 0, 0, reinterpret_cast<ULONG_PTR>(menu.GetRecord(0)) };
    menu.MeasureItem(&empty);
    theMenuOsClass = oldClass;
    EXPECT_EQ(int(empty.itemWidth), 3 + 33);
}

TEST(ExtMenuPaint, XpLikePainterOnAModernSystem)
{
    PaintedPopup p(1, false, 42000);
    const COLORREF face = Sys(COLOR_BTNFACE), hl = Sys(COLOR_HIGHLIGHT);
    const COLORREF column = CExtMenu::BlendToWhite(face, 0.25);
    const COLORREF body = CExtMenu::BlendToBlack(Sys(COLOR_WINDOW), 0.02);
    const COLORREF sel = CExtMenu::BlendToWhite(hl, 0.85);
    ASSERT_EQ(p.rects[Normal].Height(), 20);
    // Image at (4, 2): dy is 2.5 truncated; the column is 23 wide.
    EXPECT_EQ(p.At(Normal, 4 + 5, 2 + 5), RGB(220, 0, 0));
    EXPECT_EQ(p.At(Normal, 4 + 2, 2 + 2), RGB(0, 0, 160));
    EXPECT_EQ(p.At(Normal, 22, 10), column);
    EXPECT_EQ(p.At(Normal, 23, 10), body);
    // Hot: the highlight fill outlined in the highlight colour, image in place.
    EXPECT_EQ(p.At(Hot, 0, 0), hl);
    EXPECT_EQ(p.At(Hot, p.width - 4, 3), sel);
    EXPECT_EQ(p.At(Hot, 4 + 5, 2 + 5), RGB(220, 0, 0));
    // Grayed and hot: never highlighted; the image embossed (no grey copy).
    EXPECT_EQ(p.At(HotGrayed, p.width - 4, 3), body);
    EXPECT_EQ(p.At(HotGrayed, 4 + 5, 2 + 5), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(p.At(Grayed, 4 + 6, 2 + 6), p.At(HotGrayed, 4 + 6, 2 + 6));
    // A check without image: a narrow mark in a box of the light highlight.
    const CRect box(1, 1, 23 - 2, 20 - 1);
    const int ox = (box.Width() >> 1) - 3, oy = (box.Height() >> 1) - 3;
    EXPECT_EQ(p.At(Checked, box.left, box.top + 8), hl);
    EXPECT_EQ(p.At(Checked, box.left + 1, box.top + 1), sel);
    EXPECT_EQ(p.At(HotChecked, box.left + 1, box.top + 1), CExtMenu::BlendToWhite(hl, 0.55));
    EXPECT_EQ(p.At(Checked, box.left + ox, box.top + oy + 2), Sys(COLOR_MENUTEXT));
    EXPECT_EQ(p.At(Checked, box.left + ox, box.top + oy + 3), Sys(COLOR_MENUTEXT));
    EXPECT_EQ(p.At(Checked, box.left + ox, box.top + oy + 4), sel);  // narrow: two pixels
    EXPECT_EQ(p.At(Checked, box.left + ox + 6, box.top + oy), Sys(COLOR_MENUTEXT));
    // A radio item: a dot, not a mark.
    EXPECT_EQ(p.At(Radio, box.left + ox + 3, box.top + oy + 3), Sys(COLOR_MENUTEXT));
    EXPECT_EQ(p.At(Radio, box.left + ox + 6, box.top + oy), sel);
    // The separator's line starts a gutter right of the column.
    const int mid = p.rects[Separator].Height() >> 1;
    EXPECT_EQ(p.At(Separator, 10, mid), column);
    EXPECT_EQ(p.At(Separator, 29, mid), body);
    EXPECT_EQ(p.At(Separator, 30, mid), Sys(COLOR_BTNSHADOW));
}

TEST(ExtMenuPaint, XpLikePainterOnAThemedSystemUsesTheDerivedImages)
{
    PaintedPopup p(7, false, 43000);
    const COLORREF face = Sys(COLOR_BTNFACE);
    ASSERT_EQ(p.rects[Normal].Height(), 23);
    // Image at (4, 4) in the 23-pixel column, the faded copy when idle.
    EXPECT_EQ(p.At(Normal, 4 + 5, 4 + 5), CExtMenu::BlendToWhite(RGB(220, 0, 0), 0.3));
    EXPECT_EQ(p.At(Normal, 22, 10), face);
    // Under the mouse: the full image raised one pixel over its shadow.
    EXPECT_EQ(p.At(Hot, 3 + 5, 3 + 5), RGB(220, 0, 0));
    EXPECT_EQ(p.At(Hot, 5 + 13, 5 + 13), Sys(COLOR_BTNSHADOW));
    // Grayed: the grey copy.
    const COLORREF red = RGB(220, 0, 0);
    const int a = (GetRValue(red) + GetGValue(red) + GetBValue(red)) / 3;
    EXPECT_EQ(p.At(Grayed, 4 + 5, 4 + 5), CExtMenu::BlendToWhite(Sys(COLOR_BTNSHADOW), a / 255.0));
    EXPECT_EQ(p.At(Grayed, p.width - 4, 11), CExtMenu::BlendToBlack(Sys(COLOR_WINDOW), 0.02));
}

TEST(ExtMenuPaint, ClassicPainter)
{
    const COLORREF menuColour = Sys(COLOR_MENU), hl = Sys(COLOR_HIGHLIGHT);
    {
        PaintedPopup p(1, true, 44000);
        // dy = 0: the image at (2, 2); a selected item keeps its image column.
        EXPECT_EQ(p.At(Normal, 2 + 5, 2 + 5), RGB(220, 0, 0));
        EXPECT_EQ(p.At(Hot, 16 + 5, 10), hl);
        EXPECT_EQ(p.At(Hot, 16 + 3, 10), menuColour);
        EXPECT_EQ(p.At(Plain, p.width - 4, 10), menuColour);
        // A check without image: the light box and the wide mark, no edge.
        const CRect box(1, 2, 17, 18);
        EXPECT_EQ(p.At(Checked, box.left, box.top), CExtMenu::BlendToWhite(menuColour, 0.6));
        EXPECT_EQ(p.At(Checked, box.left + 4, box.top + 4 + 2), Sys(COLOR_MENUTEXT));
        EXPECT_EQ(p.At(Checked, box.left + 4, box.top + 4 + 4), Sys(COLOR_MENUTEXT));
        EXPECT_EQ(p.At(Radio, box.left + 5 + 3, box.top + 4 + 3), Sys(COLOR_MENUTEXT));
        // A grayed item is highlighted too, its image drawn disabled.
        EXPECT_EQ(p.At(HotGrayed, 16 + 5, 10), hl);
        EXPECT_NE(p.At(HotGrayed, 2 + 5, 2 + 5), RGB(220, 0, 0));
    }
    {
        // A Windows 95 class system outlines images and check boxes in 3-D.
        PaintedPopup p(3, true, 44500);
        EXPECT_EQ(p.At(Hot, 0, 0), Sys(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(p.At(CheckedImage, 0, 0), Sys(COLOR_BTNSHADOW));
        EXPECT_EQ(p.At(Checked, 1, 2), Sys(COLOR_BTNSHADOW));
    }
}
