// The model browser in the running shell: its rows and expand boxes, the
// selection by clicks and keys, dropping rows onto rows and onto the
// diagram view, renaming in place and scrolling.
#include "BrowserDriver.h"

#include "App/ShellServices.h"
#include "App/VexalView.h"
#include "File/ModifiedUnits.h"
#include "File/ProjectStore.h"
#include "MemDB/UndoLog.h"
#include "Platform/Dc.h"
#include "Platform/SysColors.h"
#include "Pub/TextHelpers.h"
#include "UML/Model/PageState.h"
#include "Platform/Menu.h"
#include "UML/Model/ShellHooks.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const UINT kSelectAll = 57642, kUndo = 57643, kLoadLibrary = 32800;

const char* kElements = "<Package Name=\"Pkg\" GUID=\"G10\">\r\n"
                        "<Class Name=\"Alpha\" GUID=\"G11\"/>\r\n"
                        "<Class Name=\"Beta\" GUID=\"G12\"/>\r\n"
                        "</Package>\r\n"
                        "<Class Name=\"Gamma\" GUID=\"G13\"/>\r\n"
                        "<Classdiagram Name=\"D\" GUID=\"G6\">\r\n"
                        "<Page Name=\"P1\" GUID=\"G7\"/>\r\n"
                        "</Classdiagram>\r\n";

class Browser : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(shell.Start({shell.MakeProject("Tree", Elements())}));
        shell.Frame()->MoveWindow(0, 0, 1000, 800);
        shell.Pump();
        ui.Expand(theProjectRootId);
        ui.Expand(theModelRootId);
    }
    virtual std::string Elements() const { return kElements; }

    CModelBrowser& browser() const { return ui.Browser(); }
    static int Id(const char* name) { return BrowserDriver::Id(name); }

    ShellHarness shell;
    BrowserDriver ui{shell};
};

// The width and height of a label in the browser's font.
CSize LabelSize(CWnd* window, const char* text)
{
    LOGFONT lf{};
    lf.lfHeight = 16;
    SafeStrCopy(lf.lfFaceName, "Arial", sizeof lf.lfFaceName);
    CFont font;
    font.CreateFontIndirect(&lf);
    CClientDC dc(window);
    CFont* old = dc.SelectObject(&font);
    const CSize size = dc.GetTextExtent(text);
    dc.SelectObject(old);
    return size;
}

TEST_F(Browser, RowsLieIndentedOneBelowTheOtherWithIconsAndSubtreeEnds)
{
    ui.Expand(Id("Pkg"));
    struct Expected {
        const char* name;
        int depth;
        bool last;
        bool children;
        const char* subtreeEndsBefore; // null: at the row's own bottom; "": at the end
    } const rows[] = {
        {"Tree", 0, true, true, ""},           {"Model", 1, false, true, "Library"},
        {"Pkg", 2, false, true, "Gamma"},       {"Alpha", 3, false, false, nullptr},
        {"Beta", 3, true, false, nullptr},      {"Gamma", 2, false, false, nullptr},
        {"D", 2, true, true, nullptr},          {"Library", 1, false, false, nullptr},
        {"Predefined", 1, true, true, nullptr},
    };
    const auto& all = browser().GetRows();
    ASSERT_EQ(all.size(), std::size(rows));
    const int height = std::max(int(LabelSize(&browser(), "Tree").cy), 16);
    const int end = 1 + height * int(all.size());
    for (size_t i = 0; i < all.size(); ++i) {
        const Expected& e = rows[i];
        SCOPED_TRACE(e.name);
        const CModelBrowser::Row& r = all[i];
        const ModelT element = BrowserDriver::Element(r.id);
        ASSERT_EQ(BrowserDriver::Name(r.id), e.name);
        const int left = 1 + 16 * e.depth, top = 1 + height * int(i);
        EXPECT_EQ(r.left, left);
        EXPECT_EQ(r.top, top);
        EXPECT_EQ(r.bottom, top + height);
        EXPECT_EQ(r.textX, left + 18 + 16 + 2) << "the icon stands between the tree line and the label";
        EXPECT_EQ(r.right, left + LabelSize(&browser(), e.name).cx + 20 + 16 + 2 + 2);
        const int lineEnd = !e.subtreeEndsBefore ? r.bottom : *e.subtreeEndsBefore ? ui.RowOf(Id(e.subtreeEndsBefore)).top : end;
        EXPECT_EQ(r.lineEnd, lineEnd);
        EXPECT_EQ((element.ItemState & 16) != 0, e.last);
        EXPECT_EQ((element.ItemState & ITEM_HAS_CHILDREN) != 0, e.children);
    }
}

// A closed row with children shows a box with a plus; a click in it opens
// the row without touching the selection; once the children are gone the
// box goes.
TEST_F(Browser, ExpandBoxesOpenAndCloseRowsAndGoWithTheLastChild)
{
    const int pkg = Id("Pkg");
    ui.Click(ui.Label(Id("Gamma")));
    ASSERT_EQ(ui.Selected(), std::vector<std::string>{"Gamma"});
    auto pixel = [&](int dx, int dy) {
        ui.Paint();
        const POINT box = ui.Box(pkg);
        CClientDC dc(&browser());
        return dc.GetPixel(box.x + dx, box.y + dy);
    };
    const COLORREF black = RGB(0, 0, 0);
    EXPECT_EQ(pixel(0, -2), black) << "the plus bar of a closed row";
    EXPECT_EQ(pixel(-3, -4), GetSysColor(COLOR_BTNSHADOW)) << "the box's top edge";
    ui.Click(ui.Box(pkg));
    EXPECT_TRUE(BrowserDriver::Element(pkg).ItemState & ITEM_EXPANDED);
    EXPECT_GE(browser().RowOf(Id("Alpha")), 0);
    EXPECT_NE(pixel(0, -2), black) << "a minus only";
    EXPECT_EQ(ui.Selected(), std::vector<std::string>{"Gamma"});
    ui.Click(ui.Box(pkg));
    EXPECT_FALSE(BrowserDriver::Element(pkg).ItemState & ITEM_EXPANDED);
    EXPECT_LT(browser().RowOf(Id("Alpha")), 0);

    DeleteElementTree(Id("Alpha"), false);
    DeleteElementTree(Id("Beta"), false);
    RefreshModelTree();
    EXPECT_FALSE(BrowserDriver::Element(pkg).ItemState & ITEM_HAS_CHILDREN);
    EXPECT_EQ(pixel(-3, -4), GetSysColor(COLOR_WINDOW)) << "no box";
}

TEST_F(Browser, SelectAllTakesNoRootNorLibraryNorPredefinedRow)
{
    shell.WriteFile("Tree/lib.uml", "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                                    "<uml version=\"UML2.0\" tool=\"Vexal 1.10.00\">\r\n"
                                    "<Class Name=\"Shelf\"/>\r\n</uml>\r\n");
    shell.Queue({DialogKind::FileOpen, IDOK, [&](DialogRequest& request) {
                     auto* ofn = static_cast<OPENFILENAME*>(request.data);
                     std::snprintf(ofn->lpstrFile, ofn->nMaxFile, "%s", (shell.Folder() + "Tree/lib.uml").c_str());
                 }});
    ui.Command(kLoadLibrary);
    ASSERT_GT(Id("Shelf"), 0);
    for (int id : {Id("Pkg"), Id("D"), theLibraryRootId, Id("lib"), thePredefinedRootId})
        ui.Expand(id);
    ASSERT_GT(browser().RowOf(Id("Shelf")), 0);
    ui.Command(kSelectAll);
    EXPECT_EQ(ui.Selected(), (std::vector<std::string>{"Pkg", "Alpha", "Beta", "Gamma", "D", "P1"}));
}

TEST_F(Browser, ShiftAndCtrlClicksSelectRunsAndAddRows)
{
    ui.Expand(Id("Pkg"));
    ui.Expand(thePredefinedRootId);
    struct Click {
        const char* name; // null: below every row
        UINT keys;
    };
    struct Case {
        const char* name;
        std::vector<Click> clicks;
        std::vector<std::string> selected;
    } const cases[] = {
        {"a click selects the row alone", {{"Alpha", 0}, {"Gamma", 0}}, {"Gamma"}},
        {"Ctrl adds the row", {{"Alpha", 0}, {"Gamma", MK_CONTROL}}, {"Alpha", "Gamma"}},
        {"Shift takes the run downwards", {{"Alpha", 0}, {"D", MK_SHIFT}}, {"Alpha", "Beta", "Gamma", "D"}},
        {"Shift takes the run upwards", {{"Gamma", 0}, {"Pkg", MK_SHIFT}}, {"Pkg", "Alpha", "Beta", "Gamma"}},
        {"a run stops before the Library root", {{"Gamma", 0}, {"Integer", MK_SHIFT}}, {"Gamma", "D"}},
        {"Shift without a selection selects the row", {{nullptr, 0}, {"Beta", MK_SHIFT}}, {"Beta"}},
        {"a click on no row unchecks all", {{"Alpha", 0}, {"Beta", MK_CONTROL}, {nullptr, 0}}, {}},
    };
    CRect client;
    browser().GetClientRect(&client);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        browser().Select(0, 0);
        for (const Click& click : c.clicks) {
            ui.Paint();
            const POINT p = click.name ? ui.Label(Id(click.name)) : POINT{5, client.bottom - 5};
            ui.Click(p, click.keys);
        }
        EXPECT_EQ(ui.Selected(), c.selected);
        for (const CModelBrowser::Entry& e : browser().GetSelection())
            EXPECT_TRUE(BrowserDriver::Element(e.id).ItemState & ITEM_CHECKED);
    }
}

// Each drop as the mouse makes it: a press on the first selected row, a
// move past the drag delay onto the target and the release there.
TEST_F(Browser, DropRulesDecideWhetherTheSelectionMoves)
{
    ui.Expand(Id("Pkg"));
    ui.Expand(thePredefinedRootId);
    struct Case {
        const char* name;
        std::vector<const char*> selection;
        const char* target; // "Model" is the Model root
        std::vector<const char*> moved;
        DWORD hold = 200;
    } const cases[] = {
        {"onto itself", {"Alpha"}, "Alpha", {}},
        {"onto its own descendant", {"Pkg"}, "Beta", {}},
        {"no rule lets a class own a package", {"Pkg"}, "Gamma", {}},
        {"a fixed row", {"Gamma"}, "Predefined", {}},
        {"the fixed Model root accepts", {"Alpha"}, "Model", {"Alpha"}},
        {"a fixed element of the selection stays", {"Gamma", "Integer"}, "Pkg", {"Gamma"}},
        {"a release within 120 ms is no drag", {"Beta"}, "Model", {}, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        browser().Select(0, 0);
        std::vector<int> owners;
        for (const char* name : c.selection) {
            browser().Select(Id(name), CModelBrowser::SelectCheck | CModelBrowser::SelectKeep);
            owners.push_back(BrowserDriver::Element(Id(name)).FID);
        }
        const int target = std::string(c.target) == "Model" ? theModelRootId : Id(c.target);
        ui.Paint();
        ui.Drag(Id(c.selection.front()), target, c.hold);
        EXPECT_EQ(browser().GetState(), CModelBrowser::Idle);
        for (size_t i = 0; i < c.selection.size(); ++i) {
            const bool moved = std::find(c.moved.begin(), c.moved.end(), std::string(c.selection[i])) != c.moved.end();
            EXPECT_EQ(BrowserDriver::Element(Id(c.selection[i])).FID, moved ? target : owners[i]) << c.selection[i];
        }
    }
}

TEST_F(Browser, ADropIsUndoneAsOneStep)
{
    const int gamma = Id("Gamma"), pkg = Id("Pkg");
    ModifiedUnits::Mark(theModelRootId, 0);
    ui.Click(ui.Label(gamma));
    ui.Drag(gamma, pkg);
    ASSERT_EQ(BrowserDriver::Element(gamma).FID, pkg);
    EXPECT_TRUE(ModifiedUnits::IsModified(theModelRootId));
    ui.Command(kUndo);
    EXPECT_EQ(BrowserDriver::Element(gamma).FID, theModelRootId);
    EXPECT_GE(browser().RowOf(gamma), 0) << "the tree was rebuilt";
}

// The drag leaves the browser: the view takes the moves and the release,
// and its page places a symbol of the dragged element.
TEST_F(Browser, ADragOntoTheViewPlacesASymbolOfTheElement)
{
    const int gamma = Id("Gamma");
    ui.Paint();
    BrowserDriver::Wait(1000);
    ui.Mouse(WM_LBUTTONDBLCLK, ui.Label(Id("D")));
    ASSERT_GT(GetMainView()->GetDiagramId(), 0) << "a double click opened the diagram";
    shell.SizeView(700, 600);
    const int page = thePageState.PageId;
    ui.Click(ui.Label(gamma));
    ui.Mouse(WM_MOUSEMOVE, ui.Label(gamma));
    ui.Mouse(WM_LBUTTONDOWN, ui.Label(gamma));
    BrowserDriver::Wait(200);
    ui.Mouse(WM_MOUSEMOVE, ui.Label(Id("Pkg")));
    ASSERT_EQ(browser().GetState(), CModelBrowser::Dragging);
    shell.ViewMouse(WM_MOUSEMOVE, POINT{5000, 5000});
    shell.ViewMouse(WM_LBUTTONUP, POINT{5000, 5000});
    EXPECT_TRUE(ElementHasSymbolOnPage("G13", page));
    EXPECT_EQ(BrowserDriver::Element(gamma).FID, theModelRootId) << "the element itself stays";
}

TEST_F(Browser, RenamingByClickOrF2CommitsOnEnterAndCancelsOnEsc)
{
    ui.Expand(Id("Pkg"));
    ui.Expand(thePredefinedRootId);
    const int alpha = Id("Alpha");
    struct Case {
        const char* name;
        const char* row;
        bool byKey;
        const char* typed; // null: the text left as it is
        UINT end;
        bool editorOpened;
        const char* result;
        bool written;
    } const cases[] = {
        {"a click on the checked label, Enter", "Alpha", false, "Omega", VK_RETURN, true, "Omega", true},
        {"F2, Esc", "Omega", true, "Nothing", VK_ESCAPE, true, "Omega", false},
        {"F2, Enter on the same text", "Omega", true, nullptr, VK_RETURN, true, "Omega", false},
        {"an empty name is taken", "Omega", true, "", VK_RETURN, true, "", true},
        {"a fixed element keeps its name", "Integer", true, "Float2", VK_RETURN, false, "Integer", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int id = std::string(c.row) == "Omega" ? alpha : Id(c.row);
        browser().Select(0, 0);
        ui.Click(ui.Label(id));
        ModifiedUnits::Mark(theModelRootId, 0);
        UndoLog::NewGroup();
        const size_t depth = UndoLog::UndoDepth();
        if (c.byKey)
            ui.Key(VK_F2);
        else
            ui.Click(ui.Label(id));
        EXPECT_EQ(browser().GetState() == CModelBrowser::Renaming, c.editorOpened);
        if (c.typed)
            browser().GetEditor().LoadText(c.typed, -1);
        ui.Key(c.end);
        EXPECT_EQ(browser().GetState(), CModelBrowser::Idle);
        EXPECT_EQ(BrowserDriver::Name(id), c.result);
        EXPECT_EQ(UndoLog::UndoDepth() > depth, c.written);
        EXPECT_EQ(ModifiedUnits::IsModified(theModelRootId) != 0, c.written);
    }
}

TEST_F(Browser, UpAndDownSelectTheNeighbouringRow)
{
    struct Case {
        const char* start; // "Tree" is the project root
        UINT key;
        const char* selected;
    } const cases[] = {
        {"Gamma", VK_DOWN, "D"},
        {"D", VK_DOWN, "Library"},
        {"Library", VK_DOWN, "Predefined"},
        {"Predefined", VK_DOWN, "Predefined"},
        {"Gamma", VK_UP, "Pkg"},
        {"Tree", VK_UP, "Tree"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.start) + (c.key == VK_UP ? " up" : " down"));
        const std::string start = c.start;
        const int id = start == "Tree"      ? theProjectRootId
                       : start == "Library" ? theLibraryRootId
                       : start == "Predefined" ? thePredefinedRootId
                                               : Id(c.start);
        browser().Select(0, 0);
        ui.Click(ui.Label(id));
        ui.Key(c.key);
        const std::vector<std::string> selected = ui.Selected();
        ASSERT_EQ(selected.size(), 1u);
        EXPECT_EQ(selected.front(), c.selected);
    }
    browser().Select(0, 0);
    ui.Key(VK_DOWN);
    EXPECT_TRUE(browser().GetSelection().empty()) << "nothing without a selection";
}

class BrowserScrolling : public Browser {
protected:
    std::string Elements() const override
    {
        std::string classes = "<Package Name=\"Many\" GUID=\"GM\">\r\n";
        for (int i = 0; i < 200; ++i)
            classes += "<Class Name=\"Class" + std::to_string(i) + "\" GUID=\"GC" + std::to_string(i) + "\"/>\r\n";
        return classes + "</Package>\r\n";
    }
};

TEST_F(BrowserScrolling, ScrollBarsWheelAndPageKeysMoveWithinTheContent)
{
    const int many = Id("Many");
    ui.Expand(many);
    CRect client;
    browser().GetClientRect(&client);
    const auto& rows = browser().GetRows();
    const int height = rows.back().bottom - 1;
    const int page = client.Height() - 1;
    const int limit = height - page;
    ASSERT_GT(limit, page) << "the rows are far taller than the pane";
    struct Case {
        const char* name;
        UINT message;
        UINT code; // or the key
        int position;
        int expected;
    } const cases[] = {
        {"line down", WM_VSCROLL, SB_LINEDOWN, 0, 5},
        {"line up", WM_VSCROLL, SB_LINEUP, 0, 0},
        {"line up at the top stays", WM_VSCROLL, SB_LINEUP, 0, 0},
        {"page down", WM_VSCROLL, SB_PAGEDOWN, 0, page},
        {"thumb", WM_VSCROLL, SB_THUMBTRACK, 40, 40},
        {"bottom", WM_VSCROLL, SB_BOTTOM, 0, limit},
        {"past the end stays at the end", WM_VSCROLL, SB_LINEDOWN, 0, limit},
        {"top", WM_VSCROLL, SB_TOP, 0, 0},
        {"wheel towards the user", WM_MOUSEWHEEL, 0, -120, page / 8},
        {"wheel away", WM_MOUSEWHEEL, 0, 120, 0},
        {"Page Down key", WM_KEYDOWN, VK_NEXT, 0, page},
        {"Page Up key", WM_KEYDOWN, VK_PRIOR, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.message == WM_KEYDOWN) {
            browser().SetFocus();
            ui.Key(c.code);
        } else if (c.message == WM_MOUSEWHEEL) {
            browser().SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(short(c.position))), 0);
        } else {
            browser().SendMessage(WM_VSCROLL, MAKEWPARAM(WORD(c.code), WORD(c.position)), 0);
        }
        EXPECT_EQ(browser().GetScrollOffset().y, c.expected);
    }
    browser().SendMessage(WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0);
    ui.Paint();
    const int last = browser().RowOf(Id("Class199"));
    EXPECT_EQ(browser().HitTest(ui.Label(Id("Class199"))), last) << "hit testing follows the offset";
    browser().SendMessage(WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
    ui.Click(ui.Box(many));
    EXPECT_EQ(browser().GetScrollOffset(), CPoint(0, 0)) << "every row fits again";
}

// The context menu as the right button's release tracks it, read from the
// menu handed to the dialog hook; the answer is the command chosen.
struct ContextMenu {
    std::vector<UINT> ids;     // the top level; 0 for the "New" submenu
    std::vector<UINT> created; // the "New" submenu
};

ContextMenu RightClick(BrowserDriver& ui, int id, UINT choose = 0)
{
    ContextMenu seen;
    DialogHook previous = AfxSetDialogHook([&](DialogRequest& request, INT_PTR* answer) {
        if (request.kind != DialogKind::PopupMenu)
            return false;
        CMenu* menu = CMenu::FromHandle(static_cast<PopupMenuRequest*>(request.data)->menu);
        for (int i = 0; i < menu->GetMenuItemCount(); ++i) {
            CMenu* sub = menu->GetSubMenu(i);
            seen.ids.push_back(sub ? 0 : menu->GetMenuItemID(i));
            for (int j = 0; sub && j < sub->GetMenuItemCount(); ++j)
                seen.created.push_back(sub->GetMenuItemID(j));
        }
        *answer = choose;
        return true;
    });
    ui.Paint();
    ui.Mouse(WM_RBUTTONDOWN, ui.Label(id));
    ui.Mouse(WM_RBUTTONUP, ui.Label(id));
    AfxSetDialogHook(previous);
    return seen;
}

UINT NewCommand(const char* metaclass)
{
    CSymbol* prototype = nullptr;
    return FindMetaclass(metaclass, prototype) ? 2024 + UINT(prototype->metaIndex) : 0;
}

TEST_F(Browser, TheContextMenuOffersWhatTheRowAllowsAndCreatesElements)
{
    ui.Expand(thePredefinedRootId);
    const std::vector<UINT> model{57637, 57642, 0};
    const std::vector<UINT> package{57634, 57635, 57637, 32773, 57604, 32790, 32791, 57642, 0};
    const std::vector<UINT> klass{57634, 57635, 57637, 32773, 32790, 32791, 57642, 0};
    EXPECT_EQ(RightClick(ui, theModelRootId).ids, model) << "the fixed Model root: Paste, Select All, New";
    EXPECT_EQ(RightClick(ui, Id("Pkg")).ids, package) << "a package may be stored as a unit";
    EXPECT_EQ(RightClick(ui, Id("Gamma")).ids, klass);
    EXPECT_TRUE(RightClick(ui, Id("Integer")).ids.empty()) << "no menu on a fixed element";
    const std::vector<UINT> created = RightClick(ui, Id("Gamma")).created;
    EXPECT_NE(std::find(created.begin(), created.end(), NewCommand("Attribute")), created.end());
    EXPECT_EQ(std::find(created.begin(), created.end(), NewCommand("Package")), created.end());

    const int pkg = Id("Pkg");
    RightClick(ui, pkg, NewCommand("Class"));
    EXPECT_EQ(ChildElementIds(pkg).size(), 3u);
    EXPECT_EQ(ui.Selected(), std::vector<std::string>{"Pkg"});
    RightClick(ui, pkg, NewCommand("Classdiagram"));
    const std::vector<int> children = ChildElementIds(pkg);
    ASSERT_EQ(children.size(), 4u);
    EXPECT_EQ(GetMainView()->GetDiagramId(), children.back()) << "a new diagram opens at once";
}

// The main window with a sample project: the tree open, a diagram shown
// and one of its symbols selected with its properties.
TEST_F(Browser, ScreenshotOfTheMainWindowWithAProject)
{
    ui.Expand(Id("Pkg"));
    ui.Expand(Id("D"));
    ui.Click(ui.Label(Id("Gamma")));
    BrowserDriver::Wait(1000);
    ui.Mouse(WM_LBUTTONDBLCLK, ui.Label(Id("D")));
    ASSERT_GT(GetMainView()->GetDiagramId(), 0);
    ui.Click(ui.Label(Id("Alpha")));
    ui.Mouse(WM_LBUTTONDOWN, ui.Label(Id("Alpha")));
    BrowserDriver::Wait(200);
    ui.Mouse(WM_MOUSEMOVE, ui.Label(Id("Beta")));
    shell.ViewMouse(WM_MOUSEMOVE, POINT{4000, 4000});
    shell.ViewMouse(WM_LBUTTONUP, POINT{4000, 4000});
    ASSERT_TRUE(ElementHasSymbolOnPage("G11", thePageState.PageId));
    BrowserDriver::Wait(1000);
    shell.ViewMouse(WM_LBUTTONDOWN, POINT{4100, 4100});
    shell.ViewMouse(WM_LBUTTONUP, POINT{4100, 4100});
    ui.Paint();
    EXPECT_TRUE(shell.Screenshot("MainWindowWithProject"));
}

} // namespace
