// The diagram view: the page centred on grey at each zoom, the zoom and page
// commands with their scroll sizes, the mouse and keys through the real
// input path, and the edit commands on editable and read-only pages.
#include "ShellHarness.h"

#include "App/ShellServices.h"
#include "App/VexalView.h"
#include "File/ProjectStore.h"
#include "MemDB/ModelSchema.h"
#include "MemDB/dbCursor.h"
#include "Platform/TickCount.h"
#include "Pub/SYSConfig.h"
#include "UML/Model/DiagramController.h"
#include "UML/Model/PageState.h"
#include "UML/Model/PageZoom.h"
#include "UML/Model/PlacementTool.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

const COLORREF kGrey = RGB(0x96, 0x96, 0x96);
const UINT kZoomIn = 32787, kZoomOut = 32788, kActualSize = 32789, kNextPage = 32793, kForePage = 32794;
const UINT kDelete = 32773, kSelectAll = 57642, kCopy = 57634, kCut = 57635, kPaste = 57637;

// Two A4 pages (21000 x 29700, edges 1500); the first holds a box "Box"
// with two boxes inside, the second is empty.
const char* kElements =
    "<Class Name=\"Box\" GUID=\"G1\"/>\r\n"
    "<Class Name=\"In1\" GUID=\"G2\"/>\r\n"
    "<Class Name=\"In2\" GUID=\"G3\"/>\r\n"
    "<Classdiagram Name=\"D\" GUID=\"G6\">\r\n"
    "<Page Name=\"P1\" GUID=\"G7\">\r\n"
    "<Class sid=\"S1\" mid=\"G1\" area=\"7D0,7D0,2710,1770\" text=\"Box\">\r\n"
    "<Class sid=\"S2\" mid=\"G2\" area=\"BB8,FA0,1388,1388\" text=\"In1\"/>\r\n"
    "<Class sid=\"S3\" mid=\"G3\" area=\"1770,FA0,1F40,1388\" text=\"In2\"/>\r\n"
    "</Class>\r\n"
    "</Page>\r\n"
    "<Page Name=\"P2\" GUID=\"G8\"/>\r\n"
    "</Classdiagram>\r\n";

int ElementNamed(const char* name)
{
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    return c.SelectByKey("Name", name) > 0 ? c->ID : 0;
}

struct Box {
    int id, fid, x1, y1;
};

std::vector<Box> SymbolsOnPage(int pageId)
{
    std::vector<Box> boxes;
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    for (int n = c.SelectByKey("PID", pageId); n > 0; --n, c.Next())
        boxes.push_back({c->ID, c->FID, c->x1, c->y1});
    return boxes;
}

Box SymbolById(int id)
{
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    return c.SelectByKey("ID", id) > 0 ? Box{c->ID, c->FID, c->x1, c->y1} : Box{0, 0, 0, 0};
}

DWORD fakeNow = 1000;
DWORD FakeClock() { return fakeNow; }

class View : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetTickCountSource(FakeClock);
        ASSERT_TRUE(shell.Start({ shell.MakeProject("Sample", kElements) }));
        ASSERT_TRUE(OpenDiagram(ElementNamed("D"), 0));
        view = GetMainView();
        ASSERT_NE(view, nullptr);
        page = thePageState.PageId;
        shell.SizeView(1000, 1200);
    }
    void TearDown() override { SetTickCountSource(nullptr); }

    // Actual Size, then Zoom In or Out until the factor is reached.
    void ZoomTo(float factor)
    {
        shell.Command(kActualSize);
        while (GetZoom() < factor)
            shell.Command(kZoomIn);
        while (GetZoom() > factor)
            shell.Command(kZoomOut);
    }
    // A press and release at a page point, the clock moved past the lockout.
    void Click(POINT p, UINT keys = 0)
    {
        fakeNow += 1000;
        shell.ViewMouse(WM_MOUSEMOVE, p, keys);
        shell.ViewMouse(WM_LBUTTONDOWN, p, keys);
        shell.ViewMouse(WM_LBUTTONUP, p, keys);
    }

    // The symbol toolbar's command that arms the metaclass; 0 when none.
    UINT SymbolButton(const char* metaclass)
    {
        for (UINT id = 2024; id < 2124; ++id) {
            shell.Command(id);
            if (PlacementTool::GetMetaclassName() && std::string(PlacementTool::GetMetaclassName()) == metaclass)
                return id;
        }
        return 0;
    }
    int SelectedCount() const { return view->GetController()->GetSelectionCount(); }

    ShellHarness shell;
    CVexalView* view = nullptr;
    int page = 0;
};

} // namespace

TEST_F(View, PaintsThePageCentredOnGreyAtEachZoom)
{
    struct Case {
        float zoom;
        int width, height;
    } cases[] = {
        {0.5f, 1000, 1200}, {1.0f, 1000, 1200}, {2.0f, 1000, 1200}, {1.0f, 500, 400},
    };
    const COLORREF background = theSysConfig.m_clrDiagramBg;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.zoom) + " in " + std::to_string(c.width) + "x" + std::to_string(c.height));
        shell.SizeView(c.width, c.height);
        ZoomTo(c.zoom);
        EXPECT_FLOAT_EQ(GetZoom(), c.zoom);
        ASSERT_TRUE(shell.ViewScreenshot("view-zoom" + std::to_string(int(c.zoom * 100)) + "-" +
                                         std::to_string(c.width) + "x" + std::to_string(c.height)));
        CRect client;
        view->GetClientRect(&client);
        const POINT topLeft = shell.PageToClient(POINT{-1500, -1500});
        const POINT bottomRight = shell.PageToClient(POINT{21000 - 1500, 29700 - 1500});
        const int pageWidth = bottomRight.x - topLeft.x;
        if (pageWidth < client.Width()) {
            EXPECT_NEAR(topLeft.x, client.right - bottomRight.x, 1) << "centred across";
            EXPECT_EQ(shell.ViewPixel(topLeft.x / 2, client.Height() / 2), kGrey);
        } else {
            EXPECT_EQ(topLeft.x, 0) << "scrolled to the page's left";
            EXPECT_EQ(view->GetScrollPos(SB_HORZ), 0);
            EXPECT_EQ(view->GetScrollPos(SB_VERT), 0);
        }
        EXPECT_EQ(shell.ViewPixel(std::max<int>(topLeft.x, 0) + 2, std::max<int>(topLeft.y, 0) + 2), background)
            << "the page's margin";
    }
}

TEST_F(View, ZoomAndPageCommandsSetTheFactorAndTheScrollSizes)
{
    struct Case {
        UINT command;
        float before, after;
        int pageIndex;
    } cases[] = {
        {kZoomIn, 1.0f, 1.25f, 0},  {kZoomIn, 1.75f, 2.0f, 0},   {kZoomIn, 2.0f, 2.0f, 0},
        {kZoomOut, 0.75f, 0.5f, 0}, {kZoomOut, 0.5f, 0.5f, 0},   {kActualSize, 0.5f, 1.0f, 0},
        {kNextPage, 1.0f, 1.0f, 1}, {kNextPage, 1.0f, 1.0f, 1},  {kForePage, 1.0f, 1.0f, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        ZoomTo(c.before);
        shell.Command(c.command);
        EXPECT_FLOAT_EQ(GetZoom(), c.after);
        EXPECT_EQ(thePageState.PageIndex, c.pageIndex);
        EXPECT_EQ(view->GetTotalSize(), CSize(ZoomScale(21000), ZoomScale(29700)));
        EXPECT_EQ(view->GetMapMode(), MM_HIMETRIC);
    }
    CloseDiagram(ElementNamed("D"));
    CRect client;
    view->GetClientRect(&client);
    EXPECT_EQ(view->GetTotalSize(), client.Size()) << "no diagram: nothing to scroll";
    EXPECT_EQ(shell.ViewPixel(client.Width() / 2, client.Height() / 2), kGrey);
}

TEST_F(View, AToolbarButtonAndAPressPlaceAClassInOneUndoGroup)
{
    const UINT button = SymbolButton("Class");
    ASSERT_NE(button, 0u);
    ASSERT_FALSE(ProjectStore::IsModified());
    Click(POINT{12000, 20000});
    std::vector<Box> boxes = SymbolsOnPage(page);
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes.back().fid, 0);
    EXPECT_NEAR(boxes.back().x1, 12000, 300);
    EXPECT_TRUE(ProjectStore::IsModified());
    shell.ViewScreenshot("view-placed");
    shell.Command(57643);
    EXPECT_EQ(SymbolsOnPage(page).size(), 3u) << "one Undo takes the symbol and its element back";
}

TEST_F(View, ADragWithinAHundredMillisecondsOfThePressDoesNothing)
{
    const POINT press{3000, 2500}, to{5000, 2500};
    fakeNow += 1000;
    shell.ViewMouse(WM_LBUTTONDOWN, press);
    fakeNow += 50;
    shell.ViewMouse(WM_MOUSEMOVE, to, MK_LBUTTON);
    shell.ViewMouse(WM_LBUTTONUP, press);
    EXPECT_EQ(SymbolById(SymbolsOnPage(page)[0].id).x1, 2000);

    fakeNow += 1000;
    shell.ViewMouse(WM_LBUTTONDOWN, press);
    fakeNow += 150;
    shell.ViewMouse(WM_MOUSEMOVE, to, MK_LBUTTON);
    shell.ViewMouse(WM_LBUTTONUP, to);
    const std::vector<Box> boxes = SymbolsOnPage(page);
    EXPECT_NEAR(boxes[0].x1, 4000, 100) << "a later drag moves the box";
    EXPECT_NEAR(boxes[1].x1, 5000, 100) << "with what it holds";
}

TEST_F(View, ArrowsMoveTheSelectionOrScroll)
{
    Click(POINT{3000, 2500});
    ASSERT_EQ(SelectedCount(), 1);
    view->SetFocus();
    struct Case {
        UINT vk, keys;
        int dx, dy;
    } cases[] = {
        {VK_RIGHT, 0, 100, 0}, {VK_DOWN, 0, 0, 100}, {VK_LEFT, MK_CONTROL, -25, 0}, {VK_UP, MK_CONTROL, 0, -25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vk);
        const Box before = SymbolsOnPage(page)[0];
        shell.Key(c.vk, c.keys);
        const Box after = SymbolsOnPage(page)[0];
        EXPECT_EQ(after.x1 - before.x1, c.dx);
        EXPECT_EQ(after.y1 - before.y1, c.dy);
    }
    Click(POINT{15000, 25000});
    ASSERT_EQ(SelectedCount(), 0);
    shell.SizeView(500, 400);
    const Box before = SymbolsOnPage(page)[0];
    shell.Key(VK_DOWN);
    EXPECT_GT(view->GetDeviceScrollPosition().y, 0) << "nothing selected: the view scrolls";
    shell.Key(VK_NEXT);
    const int paged = view->GetDeviceScrollPosition().y;
    shell.Key(VK_PRIOR);
    EXPECT_LT(view->GetDeviceScrollPosition().y, paged);
    EXPECT_EQ(SymbolsOnPage(page)[0].y1, before.y1);
}

TEST_F(View, CopyAndPasteABoxHoldingTwoBoxes)
{
    Click(POINT{3000, 2500});
    shell.Give(kCopy, Via::Menu);
    shell.Give(kPaste, Via::Key, 'V', MK_CONTROL);
    std::vector<Box> boxes = SymbolsOnPage(page);
    ASSERT_EQ(boxes.size(), 6u);
    for (size_t i = 3; i < 6; ++i) {
        EXPECT_EQ(boxes[i].fid, 0) << "pasted at the top level";
        EXPECT_EQ(boxes[i].x1, boxes[i - 3].x1 + 100) << "moved on the page it came from";
    }
    shell.Command(kNextPage);
    const int second = thePageState.PageId;
    shell.Give(kPaste, Via::ToolBar);
    boxes = SymbolsOnPage(second);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].x1, 2000) << "unmoved on another page";
}

// A read-only page keeps its symbols whatever the mouse or the Edit menu
// asks; Copy and Select All still work there.
TEST_F(View, AReadOnlyPageIgnoresPressesDeleteCutAndPaste)
{
    Click(POINT{3000, 2500});
    shell.Command(kCopy);
    thePageState.ReadOnlyPage = 1;
    const UINT button = SymbolButton("Class");
    EXPECT_EQ(button, 0u) << "the placement tool is not armed";
    Click(POINT{12000, 20000});
    shell.Command(kSelectAll);
    EXPECT_EQ(SelectedCount(), 1);
    for (UINT command : {kDelete, kCut, kPaste})
        shell.Command(command);
    shell.Key(VK_DELETE, MK_SHIFT);
    EXPECT_EQ(SymbolsOnPage(page).size(), 3u);
    EXPECT_FALSE(ProjectStore::IsModified());
}

// Cut reads Shift as it runs: Shift+Delete takes the elements with the
// symbols, Ctrl+X only the symbols.
TEST_F(View, ShiftDeleteCutsTheElementsTooCtrlXOnlyTheSymbols)
{
    struct Case {
        UINT vk, keys;
        bool elementKept;
    } cases[] = {{'X', MK_CONTROL, true}, {VK_DELETE, MK_SHIFT, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vk);
        shell.Command(kSelectAll);
        shell.Command(kCopy);
        shell.Command(kPaste);
        const std::vector<Box> before = SymbolsOnPage(page);
        Click(POINT{3000, 2500});
        ASSERT_EQ(SelectedCount(), 1);
        view->SetFocus();
        shell.Key(c.vk, c.keys);
        EXPECT_LT(SymbolsOnPage(page).size(), before.size());
        EXPECT_EQ(ElementNamed("Box") != 0, c.elementKept);
    }
}
