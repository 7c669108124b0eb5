// Pictures of a grid filled from a table of rows, in each of its states,
// and of the colour pop-up, written to test-output/ for review; the
// checks read the colours the drawing rules give.
#include "GridFixture.h"

#include "Controls/OptionTreeColorPopup.h"
#include "Platform/Dc.h"
#include "Platform/SysColors.h"

#include <filesystem>
#include <string>

namespace {

std::string Output(const char* name)
{
    std::filesystem::create_directories(VEXAL_TEST_OUTPUT);
    return std::string(VEXAL_TEST_OUTPUT) + "/" + name;
}

COLORREF PixelOf(CWnd* wnd, int x, int y)
{
    CDC* dc = wnd->GetDC();
    const COLORREF color = dc->GetPixel(x, y);
    wnd->ReleaseDC(dc);
    return color;
}

// Every row kind, as the row builders make them.
struct FilledGrid : GridFixture {
    COptionTreeItem* base;
    COptionTreeItem* symbol;
    COptionTreeEditItem* name;
    COptionTreeEditItem* password;
    COptionTreeCheckBoxItem* check;

    explicit FilledGrid(DWORD options = OT_OPT_SHADEMARGIN | OT_OPT_SHADECATEGORIES)
        : GridFixture(330, options)
    {
        base = Category("Base properties");
        name = Edit(base, "Name", "Customer");
        Edit(base, "Type", "Class")->SetReadOnly(TRUE);
        Combo(base, "Visibility", { { "private", nullptr }, { "protected", nullptr }, { "package", nullptr },
                                    { "public", nullptr } },
              3);
        Number(base, "Multiplicity", 42);
        password = Edit(base, "Password", "secret", OT_EDIT_PASSWORD);
        Edit(base, "A label far too long for its column", "value");
        Edit(base, "Comment", "First line of the comment\r\nSecond line, with & ampersand", OT_EDIT_MULTILINE,
             ES_WANTRETURN | ES_AUTOVSCROLL);
        Text(base, "Id", "AAAA-BBBB-CCCC-DDDD-EEEE-FFFF-0000-1111");
        symbol = Category("Symbol Property");
        check = Check(symbol, "Autolayout", TRUE);
        Check(symbol, "Shown", FALSE, OT_CHECK_SHOWBOX | OT_CHECK_SHOWTEXT);
        Color(symbol, "Symbol color", RGB(255, 0, 0));
        Color(symbol, "Border", 0xFFF2F3, 0);
        grid.SetAutoRedraw(FALSE);
        base->Expand(TRUE);
        symbol->Expand(TRUE);
        grid.SetAutoRedraw(TRUE);
    }
    void Save(const char* name) { EXPECT_TRUE(SaveWindowPicture(owner.GetSafeHwnd(), Output(name).c_str())); }
};

TEST(GridPictures, ExpandedShadedAndSelected)
{
    FilledGrid g;
    g.Save("property_grid_expanded.png");
    CWnd* list = g.grid.GetListWnd();
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), PixelOf(list, 8, g.name->GetLocation().y + 10));  // shaded margin
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), PixelOf(list, 200, 3));                         // filled category
    g.Click(g.LabelPoint(g.name));
    g.Save("property_grid_selected.png");
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), PixelOf(list, 18, g.name->GetLocation().y + 2));
    g.Click(g.ValuePoint(g.name));
    g.Save("property_grid_editing.png");
}

TEST(GridPictures, PlainMarginAndCategories)
{
    FilledGrid g(0);
    g.Save("property_grid_plain.png");
    CWnd* list = g.grid.GetListWnd();
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), PixelOf(list, 8, g.name->GetLocation().y + 10));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), PixelOf(list, 200, 3));
}

TEST(GridPictures, CollapsedDisabledAndWithTheDescriptionPane)
{
    {
        FilledGrid g;
        g.base->Expand(FALSE);
        g.grid.UpdateScroll();
        g.Save("property_grid_collapsed.png");
        EXPECT_FALSE(g.grid.IsShown(g.name));
    }
    {
        FilledGrid g;
        g.base->Expand(FALSE);
        g.grid.EnableWindow(FALSE);
        g.Save("property_grid_disabled.png");
        CRect client;
        g.grid.GetListWnd()->GetClientRect(&client);
        const long below = g.grid.GetRootItem()->GetFirstChild()->GetVisibleHeight() +
                           g.symbol->GetVisibleHeight();
        ASSERT_LT(below + 5, client.bottom);
        EXPECT_EQ(GetSysColor(COLOR_BTNFACE), PixelOf(g.grid.GetListWnd(), 200, int(below) + 3));
    }
    {
        FilledGrid g(OT_OPT_SHADEMARGIN | OT_OPT_SHADECATEGORIES | OT_OPT_INFOWINDOW | OT_OPT_NOSELTEXT);
        g.name->SetInfoText("The name of the element, unique within its owner.");
        g.Save("property_grid_info_none.png");
        g.Click(g.LabelPoint(g.name));
        g.Save("property_grid_info.png");
    }
}

TEST(GridPictures, TheColourPopup)
{
    FilledGrid g;
    COptionTreeItem* color = g.symbol->GetFirstChild()->GetNextSibling()->GetNextSibling();
    g.Click(g.ValuePoint(color));
    auto* popup = dynamic_cast<COptionTreeColorPopup*>(CWnd::GetCapture());
    ASSERT_NE(nullptr, popup);
    CPoint cell = popup->GetCellRect(13).CenterPoint();
    popup->ClientToScreen(&cell);
    PlayMouse(WM_MOUSEMOVE, cell);
    EXPECT_TRUE(SaveWindowPicture(popup->GetSafeHwnd(), Output("property_grid_color_popup.png").c_str()));
    CRect window;
    popup->GetWindowRect(&window);
    EXPECT_EQ(8 * 18 + 4, window.Width());
    PlayKey(VK_ESCAPE);
}

} // namespace
