// Symbol layout in the running program: symbols stored without a text box
// are laid out when their page is first painted, and a class placed with the
// mouse, from the symbol toolbar or dragged from the model browser, is as
// wide as its name measured in the page's font.
#include "ElementNamed.h"
#include "ShellHarness.h"

#include "App/ScriptSeam.h"
#include "App/ShellServices.h"
#include "App/VexalView.h"
#include "File/ProjectStore.h"
#include "MemDB/ModelSchema.h"
#include "MemDB/UndoLog.h"
#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "Platform/CommonDialogs.h"
#include "Platform/Dc.h"
#include "Platform/TickCount.h"
#include "UML/Model/DrawResources.h"
#include "UML/Model/PageState.h"
#include "UML/Model/PlacementTool.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Model/SymbolRows.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Two classes, the first with an attribute, and an initial node; the page
// file stores no text box ("txtarea") for any of them.
const char* kStoredWithoutTextBoxes =
    "<Class Name=\"Order\" GUID=\"G2\">\r\n"
    "<Attribute Name=\"total\" GUID=\"G9\"/>\r\n"
    "</Class>\r\n"
    "<Class Name=\"Item\" GUID=\"G3\"/>\r\n"
    "<Class Name=\"AnOrderLineWithALongName\" GUID=\"G10\"/>\r\n"
    "<Classdiagram Name=\"Overview\" GUID=\"G4\">\r\n"
    "<Page Name=\"P1\" GUID=\"G5\">\r\n"
    "<Class sid=\"S1\" mid=\"G2\" area=\"7D0,7D0,1F40,1770\" text=\"Order\">\r\n"
    "<Attribute sid=\"S3\" mid=\"G9\" area=\"7D0,7D0,7D0,7D0\" text=\"total\"/>\r\n"
    "</Class>\r\n"
    "<Class sid=\"S2\" mid=\"G3\" area=\"2EE0,7D0,3A98,1770\" text=\"Item\"/>\r\n"
    "<Initial sid=\"S4\" area=\"2EE0,2710,3070,28A0\" text=\"\"/>\r\n"
    "</Page>\r\n"
    "</Classdiagram>\r\n";

SymbolT SymbolWithSguid(const char* sguid)
{
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    SymbolT row{};
    if (c.SelectByKey("SGUID", sguid) > 0)
        row = *c.GetRecord();
    return row;
}

// The newest symbol of the page.
SymbolT NewestSymbol(int pageId)
{
    SymbolT newest{};
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    for (int n = c.SelectByKey("PID", pageId); n > 0; --n, c.Next())
        if (c->ID > newest.ID)
            newest = *c.GetRecord();
    return newest;
}

DWORD fakeNow = 1000;
DWORD FakeClock() { return fakeNow; }

class SymbolLayout : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetTickCountSource(FakeClock);
        ASSERT_TRUE(shell.Start({ shell.MakeProject("Sample", kStoredWithoutTextBoxes) }));
        ASSERT_TRUE(OpenDiagram(ElementNamed("Overview"), 0));
        view = GetMainView();
        ASSERT_NE(view, nullptr);
        shell.SizeView(1000, 1200);
    }
    void TearDown() override { SetTickCountSource(nullptr); }

    // The name's width in page units, measured as the page draws it at zoom 1.
    int NameWidth(const char* name)
    {
        CClientDC dc(view);
        dc.SetMapMode(MM_HIMETRIC);
        PrepareSymbolDC(&dc);
        return dc.GetTextExtent(name, int(std::strlen(name))).cx;
    }

    ShellHarness shell;
    CVexalView* view = nullptr;
};

} // namespace

// The stored boxes stay; each text box lies inside its box, the member's
// inside its class; the initial node, which shows no text, is left as it
// was. Opening the page neither marks the project changed nor gives Undo
// anything to take back.
TEST_F(SymbolLayout, APagesFirstPaintLaysOutSymbolsStoredWithoutTextBoxes)
{
    shell.ViewScreenshot("symbol-layout-opened");
    const struct {
        const char* sguid;
        RECT area;
    } boxes[] = { { "S1", { 2000, 2000, 8000, 6000 } }, { "S2", { 12000, 2000, 15000, 6000 } } };
    for (const auto& b : boxes) {
        const SymbolT row = SymbolWithSguid(b.sguid);
        EXPECT_EQ(CRect(row.x1, row.y1, row.x2, row.y2), CRect(b.area)) << b.sguid;
        EXPECT_LT(row.x1, row.tx1) << b.sguid;
        EXPECT_LT(row.tx1, row.tx2) << b.sguid;
        EXPECT_LT(row.tx2, row.x2) << b.sguid;
        EXPECT_LT(row.y1, row.ty1) << b.sguid;
        EXPECT_LT(row.ty1, row.ty2) << b.sguid;
        EXPECT_LT(row.ty2, row.y2) << b.sguid;
    }
    const SymbolT order = SymbolWithSguid("S1"), member = SymbolWithSguid("S3");
    EXPECT_GT(member.ty1, order.ty2) << "the attribute lies below the class name";
    EXPECT_GT(member.tx1, order.x1);
    EXPECT_LT(member.ty2, order.y2);
    const SymbolT initial = SymbolWithSguid("S4");
    EXPECT_EQ(CRect(initial.x1, initial.y1, initial.x2, initial.y2), CRect(12000, 10000, 12400, 10400));
    EXPECT_EQ(CRect(initial.tx1, initial.ty1, initial.tx2, initial.ty2), CRect(0, 0, 0, 0));

    EXPECT_FALSE(ProjectStore::IsModified());
    EXPECT_EQ(UndoLog::UndoDepth(), 0u);
}

// Each way of placing a class with the mouse gives a box that holds its name
// as the page measures it, with the name inside the box.
TEST_F(SymbolLayout, AClassPlacedWithTheMouseIsAsWideAsItsName)
{
    const int page = thePageState.PageId;
    const struct {
        const char* way;
        POINT at;
    } ways[] = { { "symbol toolbar", { 3000, 12000 } }, { "browser drop", { 3000, 18000 } } };
    for (const auto& w : ways) {
        if (std::strcmp(w.way, "symbol toolbar") == 0) {
            for (UINT id = 2024; id < 2124 && !(PlacementTool::GetMetaclassName() &&
                                                std::strcmp(PlacementTool::GetMetaclassName(), "Class") == 0);
                 ++id)
                shell.Command(id);
            ASSERT_STREQ(PlacementTool::GetMetaclassName(), "Class");
        } else {
            PlacementTool::BeginDrag(ElementNamed("AnOrderLineWithALongName"), "Class");
        }
        // A browser drag was pressed in the browser: the view sees the
        // move and the release only.
        const bool drop = PlacementTool::GetDraggedElement() != 0;
        fakeNow += 1000;
        shell.ViewMouse(WM_MOUSEMOVE, w.at);
        if (!drop)
            shell.ViewMouse(WM_LBUTTONDOWN, w.at);
        shell.ViewMouse(WM_LBUTTONUP, w.at);
        const SymbolT row = NewestSymbol(page);
        ASSERT_TRUE(row.Text && *row.Text) << w.way;
        EXPECT_NEAR(row.x1, w.at.x, 300) << w.way;
        EXPECT_GE(row.tx2 - row.tx1, NameWidth(row.Text)) << w.way << ": " << row.Text;
        EXPECT_GE(row.tx1, row.x1) << w.way;
        EXPECT_LE(row.tx2, row.x2) << w.way;
    }
    shell.ViewScreenshot("symbol-layout-placed");
}

// A renamed element's symbols are laid out again for the new name, as the
// property pane and the browser do after writing the element.
TEST_F(SymbolLayout, ARenamedElementsSymbolsAreLaidOutForTheNewName)
{
    shell.ViewScreenshot("symbol-layout-before-rename");
    const char* longName = "ItemOfAnOrderWithAMuchLongerName";
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    ASSERT_GT(c.SelectByKey("Name", "Item"), 0);
    ModelT element = *c.GetRecord();
    element.Name = longName;
    ASSERT_EQ(MemDbUpdate(&ModelT::TableInfo, &element, c.GetCurrentOid()), 1);
    ASSERT_TRUE(RefreshSymbolsOfElement(element));
    const SymbolT row = SymbolWithSguid("S2");
    ASSERT_STREQ(row.Text, longName);
    EXPECT_GE(row.tx2 - row.tx1, NameWidth(longName));
    EXPECT_LE(row.tx2, row.x2);
    shell.ViewScreenshot("symbol-layout-renamed");
}

// A script run from the Tools menu writes rows onto the page on screen; the
// page lays them out when it paints next, not only when opened again.
TEST_F(SymbolLayout, SymbolsAScriptPutsOnTheShownPageAreLaidOut)
{
    static int pageId;
    pageId = thePageState.PageId;
    theScriptSeam.RunFile = [](ScriptHost*, const char*) {
        CSymbol* prototype = nullptr;
        if (!FindMetaclass("Class", prototype))
            return false;
        const std::string page = std::to_string(pageId);
        prototype->InsertSymbolFields({ "PID", page.c_str(), "GUID", "G10", "SGUID", "S9", "Text",
                                        "AnOrderLineWithALongName", "x1", "2000", "y1", "8000", "x2",
                                        "12000", "y2", "11000" });
        return true;
    };
    shell.Queue({ DialogKind::FileOpen, IDOK, [&](DialogRequest& request) {
                     auto* ofn = static_cast<OPENFILENAME*>(request.data);
                     std::snprintf(ofn->lpstrFile, ofn->nMaxFile, "%s", (shell.Folder() + "add.js").c_str());
                 } });
    shell.Command(32795);
    ResetScriptSeam();
    shell.ViewScreenshot("symbol-layout-after-script");
    const SymbolT row = SymbolWithSguid("S9");
    ASSERT_EQ(row.PID, pageId);
    EXPECT_LT(row.x1, row.tx1);
    EXPECT_GE(row.tx2 - row.tx1, NameWidth("AnOrderLineWithALongName"));
    EXPECT_LT(row.tx2, row.x2);
}
