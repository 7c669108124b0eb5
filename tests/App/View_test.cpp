// The diagram view: the page centred on grey at each zoom, the zoom and page
// commands with their scroll sizes, the mouse and keys through the real
// input path, and the edit commands on editable and read-only pages.
#include "ElementNamed.h"
#include "OwnTimers.h"
#include "ShellHarness.h"

#include "App/HelpSeam.h"
#include "App/ShellServices.h"
#include "App/VexalView.h"
#include "File/ProjectStore.h"
#include "MemDB/ModelSchema.h"
#include "MemDB/UndoLog.h"
#include "MemDB/dbCursor.h"
#include "Controls/CommandImageList.h"
#include "Platform/Playback.h"
#include "Platform/TickCount.h"
#include "Pub/SYSConfig.h"
#include "UML/Model/DiagramController.h"
#include "UML/Model/PageState.h"
#include "UML/Model/PageZoom.h"
#include "UML/Model/PlacementTool.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

const COLORREF kGrey = RGB(0x96, 0x96, 0x96);
const UINT kZoomIn = 32787, kZoomOut = 32788, kActualSize = 32789, kNextPage = 32793, kForePage = 32794;
const UINT kDelete = 32773, kSelectAll = 57642, kCopy = 57634, kCut = 57635, kPaste = 57637;
const UINT kUndo = 57643, kRedo = 57644, kSaveAll = 32783, kFileClose = 57602;
const char* kSaveQuestion = "The project files were changed, save it or not?";

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
    // A mouse message at a client point of the view.
    void MouseAt(UINT message, POINT client, UINT keys = 0)
    {
        CPoint p = client;
        view->ClientToScreen(&p);
        PlayMouse(message, p, keys);
        shell.Pump();
    }

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
        {0.5f, 1000, 1200}, {1.0f, 1000, 1200}, {2.0f, 1800, 2400},
        {0.5f, 300, 300},   {1.0f, 500, 400},   {2.0f, 1000, 1200},
    };
    const COLORREF background = theSysConfig.m_clrDiagramBg;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.zoom) + " in " + std::to_string(c.width) + "x" + std::to_string(c.height));
        shell.SizeView(c.width, c.height);
        ZoomTo(c.zoom);
        EXPECT_FLOAT_EQ(GetZoom(), c.zoom);
        MouseAt(WM_MOUSEMOVE, POINT{60, 200});
        const COLORREF underStrip = shell.ViewPixel(60, 15);
        MouseAt(WM_MOUSEMOVE, POINT{60, 5});
        ASSERT_TRUE(view->IsCaptionStripOpen());
        EXPECT_EQ(shell.ViewPixel(60, 15), underStrip ^ 0x0A1E1E) << "the strip tints what it covers";
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
        EXPECT_EQ(shell.ViewPixel(std::max<int>(topLeft.x, 0) + 2, std::max<int>(topLeft.y, 28) + 2), background)
            << "the page's margin, below the strip";
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

// A replay changes the model as an edit does: the unit is marked, so that
// Save writes the replayed state and Close asks the save question.
TEST_F(View, AfterASaveUndoAndRedoMakeCloseAskTheSaveQuestion)
{
    ASSERT_NE(SymbolButton("Class"), 0u);
    Click(POINT{12000, 20000});
    const std::string unit = shell.Folder() + "Sample/Sample.uml";
    auto savedClasses = [&] {
        std::ifstream in(unit);
        std::stringstream text;
        text << in.rdbuf();
        const std::string xml = text.str();
        int count = 0;
        for (size_t at = xml.find("<Class "); at != std::string::npos; at = xml.find("<Class ", at + 1))
            ++count;
        return count;
    };
    struct Case {
        UINT command;
        int classes;
    } cases[] = {{kUndo, 3}, {kRedo, 4}, {kUndo, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        shell.Command(kSaveAll);
        ASSERT_FALSE(ProjectStore::IsModified());
        shell.Command(c.command);
        EXPECT_TRUE(ProjectStore::IsModified());
        shell.Command(kSaveAll);
        EXPECT_EQ(savedClasses(), 2 * c.classes) << "elements and symbols as replayed";
    }
    shell.Command(kRedo);
    shell.Queue({DialogKind::MessageBox, IDNO, {}});
    shell.Command(kFileClose);
    ASSERT_FALSE(shell.Questions().empty());
    EXPECT_EQ(shell.Questions().back().text, kSaveQuestion);
    EXPECT_TRUE(ProjectStore::IsClosed());
}

// Undoing the creation of a diagram takes it out of the Window list and off
// the view, which shows the diagram opened before it, or grey.
TEST_F(View, UndoingTheCreationOfTheDiagramOnShowClosesIt)
{
    CSymbol* prototype = nullptr;
    ASSERT_TRUE(FindMetaclass("Classdiagram", prototype));
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    ASSERT_GT(c.SelectByKey("Name", "D"), 0);
    const int owner = c->FID;
    for (bool otherOpen : {true, false}) {
        SCOPED_TRACE(otherOpen);
        if (!otherOpen)
            CloseDiagram(0);
        UndoLog::NewGroup();
        const int created = prototype->CreateElement(owner, "D2", "G9", nullptr);
        ASSERT_GT(created, 0);
        ASSERT_TRUE(OpenDiagram(created, 0));
        ASSERT_EQ(view->GetDiagramId(), created);
        shell.Command(kUndo);
        EXPECT_EQ(ElementNamed("D2"), 0);
        EXPECT_EQ(view->GetDiagramId(), otherOpen ? ElementNamed("D") : 0);
        if (!otherOpen) {
            EXPECT_EQ(shell.ViewPixel(10, 10), kGrey) << "nothing is drawn for a diagram that is gone";
        }
        EXPECT_TRUE(ProjectStore::IsModified());
    }
}

// The strip opens while the mouse rests in the top band away from the side
// edges, stays open down to its own height and closes below it.
TEST_F(View, TheCaptionStripOpensInTheTopBandAndClosesBelowIt)
{
    CRect client;
    view->GetClientRect(&client);
    const COLORREF before = shell.ViewPixel(60, 15);
    struct Case {
        int x, y;
        bool open;
    } cases[] = {
        {60, 15, false}, {3, 5, false}, {client.right - 3, 5, false}, {60, 3, false}, {60, 5, true},
        {60, 20, true},  {60, 27, true}, {60, 28, false},            {60, 10, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        MouseAt(WM_MOUSEMOVE, POINT{c.x, c.y});
        EXPECT_EQ(view->IsCaptionStripOpen(), c.open);
        EXPECT_EQ(shell.ViewPixel(60, 15), c.open ? before ^ 0x0A1E1E : before);
    }
    ASSERT_TRUE(shell.ViewScreenshot("view-strip-open"));
    // The strip's tint is an exclusive or: drawn twice, nothing is left.
    CClientDC screen(view);
    CDC memory;
    CBitmap bitmap;
    ASSERT_TRUE(memory.CreateCompatibleDC(&screen));
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 200, 40));
    CBitmap* old = memory.SelectObject(&bitmap);
    const COLORREF background = theSysConfig.m_clrDiagramBg;
    memory.FillSolidRect(0, 0, 200, 40, background);
    view->DrawCaptionStrip(&memory, CRect(0, 0, 200, 40));
    EXPECT_EQ(memory.GetPixel(30, 15), background ^ 0x0A1E1E);
    view->DrawCaptionStrip(&memory, CRect(0, 0, 200, 40));
    EXPECT_EQ(memory.GetPixel(30, 15), background);
    memory.SelectObject(old);
}

// Each icon of the open strip gives its command; Window Close goes to the
// main window, which closes the diagram. A press on the strip goes no
// further, on a read-only page as well.
TEST_F(View, TheCaptionStripIconsSendTheirCommands)
{
    thePageState.ReadOnlyPage = 1;
    const UINT order[] = {kZoomIn, kActualSize, kZoomOut, 32785, kNextPage, kForePage};
    auto iconAt = [&](UINT command) {
        CRect client;
        view->GetClientRect(&client);
        int n = 0;
        for (UINT id : order) {
            CommandImageInfo info;
            if (id == command)
                return POINT{client.right - 21 - 20 * n + 8, client.top + 5 + 8};
            n += GetCommandImages().Lookup(id, info) ? 1 : 0;
        }
        return POINT{0, 0};
    };
    struct Case {
        UINT command;
        float zoom;
        int pageIndex;
    } cases[] = {
        {kZoomIn, 1.25f, 0}, {kZoomOut, 1.0f, 0}, {kZoomOut, 0.75f, 0}, {kActualSize, 1.0f, 0},
        {kNextPage, 1.0f, 1}, {kForePage, 1.0f, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        CommandImageInfo info;
        ASSERT_TRUE(GetCommandImages().Lookup(c.command, info));
        const POINT icon = iconAt(c.command);
        MouseAt(WM_MOUSEMOVE, POINT{icon.x, 5});
        MouseAt(WM_MOUSEMOVE, icon);
        ASSERT_TRUE(view->IsCaptionStripOpen());
        MouseAt(WM_LBUTTONDOWN, icon);
        MouseAt(WM_LBUTTONUP, icon);
        EXPECT_FLOAT_EQ(GetZoom(), c.zoom);
        EXPECT_EQ(thePageState.PageIndex, c.pageIndex);
    }
    MouseAt(WM_LBUTTONDOWN, POINT{60, 15});
    MouseAt(WM_LBUTTONUP, POINT{60, 15});
    EXPECT_EQ(view->GetDiagramId(), ElementNamed("D")) << "a press beside the icons does nothing";
    const POINT close = iconAt(32785);
    MouseAt(WM_MOUSEMOVE, POINT{close.x, 5});
    MouseAt(WM_LBUTTONDOWN, close);
    MouseAt(WM_LBUTTONUP, close);
    EXPECT_EQ(view->GetDiagramId(), 0);
    EXPECT_FALSE(view->IsCaptionStripOpen()) << "closing the diagram closes the strip";
}

TEST_F(View, HelpTopicsHandsTheSelectedSymbolsTopicToTheHelpViewer)
{
    static std::vector<std::string> shown;
    shown.clear();
    theHelpSeam.ShowTopic = [](const char* target) { shown.push_back(target); };
    CSymbol* box = nullptr;
    ASSERT_TRUE(FindMetaclass("Class", box));
    ASSERT_NE(box->helpTopic[0], 0);
    view->SetFocus();
    shell.Command(57667);
    Click(POINT{3000, 2500});
    ASSERT_EQ(SelectedCount(), 1);
    view->SetFocus();
    shell.Command(57667);
    ResetHelpSeam();
    const std::string file = shell.Folder() + "help.chm::";
    EXPECT_EQ(shown, (std::vector<std::string>{file + "/Index.htm", file + box->helpTopic}));
}

// A drag held near the bottom (or top) edge scrolls a line each tick until
// the usable area's edge shows, and then the timer stops. The test gives the
// ticks itself, so a slow run cannot scroll between its steps.
TEST_F(View, AutoscrollNearAnEdgeStopsAtThePagesEdge)
{
    OwnTimers timers;
    shell.SizeView(500, 400);
    CRect client;
    view->GetClientRect(&client);
    fakeNow += 1000;
    MouseAt(WM_LBUTTONDOWN, POINT{250, 200});
    fakeNow += 1000;
    struct Case {
        int y;
        UINT timer;
    } cases[] = {{client.bottom - 3, 2}, {client.top + 3, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.timer);
        MouseAt(WM_MOUSEMOVE, POINT{250, c.y}, MK_LBUTTON);
        int steps = 0, last = -1;
        for (; steps < 1000 && view->GetDeviceScrollPosition().y != last; ++steps) {
            last = view->GetDeviceScrollPosition().y;
            view->SendMessage(WM_TIMER, c.timer);
        }
        EXPECT_GT(steps, 2) << "it scrolled";
        EXPECT_FALSE(view->KillTimer(c.timer)) << "the timer stopped at the edge";
        EXPECT_EQ(OwnTimers::Intervals(), std::vector<UINT>(1, 100)) << "one timer started, at a tenth of a second";
        OwnTimers::Forget();
        if (c.timer == 2)
            EXPECT_LE(view->GetUsableRect().bottom, client.bottom);
        else
            EXPECT_GE(view->GetUsableRect().top, client.top);
    }
    MouseAt(WM_MOUSEMOVE, POINT{250, 200}, MK_LBUTTON);
    MouseAt(WM_LBUTTONUP, POINT{250, 200});
}

// The controller's menu, answered with Delete, deletes the symbol clicked.
TEST_F(View, TheRightClickMenusDeleteReachesTheView)
{
    shell.Queue({DialogKind::PopupMenu, INT_PTR(kDelete), {}});
    shell.ViewMouse(WM_RBUTTONDOWN, POINT{3000, 2500});
    shell.ViewMouse(WM_RBUTTONUP, POINT{3000, 2500});
    ASSERT_FALSE(shell.Questions().empty());
    EXPECT_EQ(shell.Questions().back().kind, DialogKind::PopupMenu);
    EXPECT_EQ(shell.Unanswered(), 0u);
    EXPECT_TRUE(SymbolsOnPage(page).empty());
    EXPECT_NE(ElementNamed("Box"), 0) << "Delete takes the symbols only";
    EXPECT_TRUE(ProjectStore::IsModified());
}

// The largest page a file may give, at zoom 2 in a small window: only the
// part in view is rendered, wherever the view is scrolled to.
TEST(ViewPages, AnOversizedPageRendersWithoutFailing)
{
    ShellHarness shell;
    const std::string elements =
        "<Class Name=\"Far\" GUID=\"G3\"/>\r\n"
        "<Classdiagram Name=\"Big\" GUID=\"G1\">\r\n"
        "<Page Name=\"P\" GUID=\"G2\" PageWidth=\"A410\" PageHeight=\"E808\">\r\n"
        "<Class sid=\"S1\" mid=\"G3\" area=\"8CA0,D2F0,9470,DAC0\" text=\"Far\"/>\r\n"
        "</Page>\r\n"
        "</Classdiagram>\r\n";
    ASSERT_TRUE(shell.Start({shell.MakeProject("Sample", elements)}));
    ASSERT_TRUE(OpenDiagram(ElementNamed("Big"), 0));
    ASSERT_EQ(thePageState.PageWidth, 42000);
    CVexalView* view = GetMainView();
    shell.SizeView(400, 300);
    shell.Command(kActualSize);
    for (int i = 0; i < 4; ++i)
        shell.Command(kZoomIn);
    ASSERT_FLOAT_EQ(GetZoom(), 2.0f);
    const COLORREF background = theSysConfig.m_clrDiagramBg;
    EXPECT_EQ(shell.ViewPixel(2, 2), background);
    view->ScrollToPosition(CPoint(view->GetTotalSize().cx, -view->GetTotalSize().cy));
    view->UpdateWindow();
    const POINT far = shell.PageToClient(POINT{36000, 54000});
    CRect client;
    view->GetClientRect(&client);
    ASSERT_TRUE(client.PtInRect(CPoint(far.x - 10, far.y - 2)) && client.PtInRect(CPoint(far.x + 2, far.y + 30)));
    int drawn = 0;
    for (int dx = -2; dx <= 2; ++dx)
        for (int dy = -2; dy <= 2; ++dy)
            drawn += shell.ViewPixel(far.x + dx, far.y + dy) != background;
    EXPECT_GT(drawn, 0) << "the symbol near the far corner is drawn";
    EXPECT_EQ(shell.ViewPixel(far.x - 10, far.y + 30), background) << "the page beside it";
    EXPECT_TRUE(shell.ViewScreenshot("view-oversized-far-corner"));
}
