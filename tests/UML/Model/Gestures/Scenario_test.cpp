#include "ClassDiagram.h"
#include "HostView.h"

#include "MemDB/UndoLog.h"
#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "Pub/SYSConfig.h"
#include "Pub/TextHelpers.h"
#include "UML/Model/HotSpotList.h"
#include "UML/Model/LineNodes.h"
#include "UML/Model/PlacementTool.h"
#include "UML/Model/SymbolRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <functional>
#include <string>
#include <vector>

namespace {

// Every row of the symbol and element tables as text, selection bit aside,
// in a stable order: what undo must restore exactly.
std::vector<std::string> Rows()
{
    std::vector<std::string> rows;
    auto text = [](const char* s) { return std::string(s ? s : ""); };
    {
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        if (c.SelectByKeyRange("ID", INT_MIN, INT_MAX) > 0)
            do
                rows.push_back("S " + std::to_string(c->ID) + " " + std::to_string(c->PID) + " " +
                               std::to_string(c->FID) + " " + std::to_string(c->x1) + "," + std::to_string(c->y1) +
                               "," + std::to_string(c->x2) + "," + std::to_string(c->y2) + " " +
                               std::to_string(c->tx1) + "," + std::to_string(c->ty1) + " " +
                               std::to_string(c->ItemState & ~SYMBOL_CHECKED) + " " + text(c->Type) + " " +
                               text(c->Text) + " " + text(c->GUID) + " " + text(c->SGUID) + " " + text(c->SrcID) +
                               " " + text(c->DestID) + " " + text(c->Nodes));
            while (c.Next());
    }
    {
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        if (c.SelectByKeyRange("ID", INT_MIN, INT_MAX) > 0)
            do
                rows.push_back("M " + std::to_string(c->ID) + " " + std::to_string(c->FID) + " " + text(c->Name) +
                               " " + text(c->Type) + " " + text(c->GUID) + " " + text(c->Use));
            while (c.Next());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}


std::vector<SymbolT> SymbolsOf(int pageId, const char* type)
{
    std::vector<SymbolT> out;
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    if (c.SelectByKey("PID", pageId) > 0)
        do
            if (std::string(c->Type) == type)
                out.push_back(*c.GetRecord());
        while (c.Next());
    std::sort(out.begin(), out.end(), [](const SymbolT& a, const SymbolT& b) { return a.ID < b.ID; });
    return out;
}


int PaletteIndex(const char* key)
{
    CSymbol* p = nullptr;
    EXPECT_TRUE(FindMetaclass(key, p)) << key;
    return p ? p->metaIndex + 1 : 0;
}

POINT Centre(const SymbolT& s)
{
    return POINT{(s.x1 + s.x2) / 2, (s.y1 + s.y2) / 2};
}

// A point inside the box above its text box, clear of the corner handle.
POINT Body(const SymbolT& s)
{
    return POINT{s.x1 + 200, s.y1 + 75};
}

bool OnBorder(POINT p, const SymbolT& s)
{
    const bool inX = p.x >= s.x1 && p.x <= s.x2, inY = p.y >= s.y1 && p.y <= s.y2;
    return (inY && (p.x == s.x1 || p.x == s.x2)) || (inX && (p.y == s.y1 || p.y == s.y2));
}

class Scenario : public ::testing::Test {
protected:
    void SetUp() override
    {
        controller = OpenClassDiagram(2);
        ASSERT_NE(controller, nullptr);
        theNextElementId = 10;
        view = std::make_unique<HostView>(controller);
        view->Repaint();
    }
    void TearDown() override
    {
        view.reset();
        PlacementTool::Reset();
        ResetShellHooks();
    }

    // One step of the scenario: its pictures before and after and the rows it
    // leaves, so that undo and redo can be checked afterwards.
    void Step(const std::string& name, const std::function<void()>& gesture)
    {
        SCOPED_TRACE(name);
        view->Repaint();
        view->Save(name + "-before");
        Record r{name, Rows(), {}};
        gesture();
        view->Repaint();
        view->Save(name + "-after");
        r.after = Rows();
        steps.push_back(r);
    }
    int Press(POINT p, UINT flags = 0) { return view->Mouse(WM_LBUTTONDOWN, MK_LBUTTON | flags, p); }
    int Drag(POINT p, UINT flags = 0) { return view->Mouse(WM_MOUSEMOVE, MK_LBUTTON | flags, p); }
    int Release(POINT p, UINT flags = 0) { return view->Mouse(WM_LBUTTONUP, flags, p); }
    int Click(POINT p, UINT flags = 0)
    {
        Press(p, flags);
        return Release(p, flags);
    }

    struct Record {
        std::string name;
        std::vector<std::string> before, after;
    };
    std::vector<Record> steps;
    CDiagramController* controller = nullptr;
    std::unique_ptr<HostView> view;
};

TEST_F(Scenario, GesturesOnAClassDiagramUndoAndRedoExactly)
{
    std::vector<SymbolT> boxes;
    Step("01-place", [&] {
        for (POINT p : {POINT{2000, 2000}, POINT{10000, 2000}, POINT{10000, 9000}}) {
            PlacementTool::SelectKind(PaletteIndex("Class"));
            ASSERT_EQ(PlacementTool::GetMode(), PlacementTool::NodeKind);
            EXPECT_EQ(Press(p), CDiagramController::SymbolCreated);
            EXPECT_EQ(PlacementTool::GetMode(), PlacementTool::None);
            Release(p);
        }
        PlacementTool::SelectKind(PaletteIndex("Comment"));
        EXPECT_EQ(Click(POINT{2000, 12000}), 0) << "a click ends nothing";
        boxes = SymbolsOf(3, "Class");
        ASSERT_EQ(boxes.size(), 3u);
        for (const SymbolT& b : boxes) {
            const ModelT e = ElementRow(b.GUID);
            EXPECT_EQ(e.FID, 1) << "a class drawn on the diagram belongs to the diagram's owner";
            EXPECT_STREQ(e.Name, b.Text);
            EXPECT_GT(b.x2 - b.x1, 300) << "laid out";
        }
        EXPECT_EQ(SymbolsOf(3, "Comment").size(), 1u);
    });
    const SymbolT a0 = boxes[0], b0 = boxes[1], c0 = boxes[2];

    Step("02-band", [&] {
        EXPECT_EQ(Press(POINT{500, 500}), 0);
        EXPECT_EQ(Drag(POINT{17000, 6000}), CDiagramController::BandChanged);
        view->Save("02-band-mid");
        EXPECT_EQ(Release(POINT{17000, 6000}), CDiagramController::BandChanged);
        EXPECT_EQ(controller->GetSelectionCount(), 2);
        EXPECT_TRUE(SymbolRow(a0.ID).ItemState & SYMBOL_CHECKED);
        EXPECT_FALSE(SymbolRow(c0.ID).ItemState & SYMBOL_CHECKED);
    });

    Step("03-move", [&] {
        const POINT from = view->Arrives(Body(a0)), to = view->Arrives(POINT{Body(a0).x + 1000, Body(a0).y + 3000});
        EXPECT_EQ(Press(from), CDiagramController::SelectionChanged) << "a plain press selects anew";
        EXPECT_EQ(controller->Mode, CDiagramController::MoveBoxes);
        EXPECT_EQ(Drag(to), CDiagramController::ModelChanged);
        view->Save("03-move-mid");
        EXPECT_EQ(Release(to), CDiagramController::ModelChanged);
        const SymbolT a = SymbolRow(a0.ID);
        EXPECT_EQ(a.x1 - a0.x1, to.x - from.x);
        EXPECT_EQ(a.y1 - a0.y1, to.y - from.y);
        EXPECT_EQ(SymbolRow(b0.ID).x1, b0.x1) << "the press left only A selected";
    });

    Step("04-resize", [&] {
        const SymbolT a = SymbolRow(a0.ID);
        const POINT corner = view->Arrives(POINT{a.x2 - 40, a.y2 - 40});
        const POINT to = view->Arrives(POINT{a.x2 + 1500, a.y2 + 800});
        EXPECT_EQ(Press(corner), 0);
        EXPECT_EQ(controller->Mode, CDiagramController::ResizeBox);
        EXPECT_EQ(controller->HotHandle, 1);
        Drag(to);
        view->Save("04-resize-mid");
        EXPECT_EQ(Release(to), CDiagramController::ModelChanged);
        const SymbolT r = SymbolRow(a0.ID);
        EXPECT_EQ(r.x2, to.x) << "the corner follows the mouse";
        EXPECT_EQ(r.y2, to.y);
        EXPECT_FALSE(r.ItemState & SYMBOL_AUTOLAYOUT);
    });

    SymbolT line0;
    Step("05-line", [&] {
        const SymbolT a = SymbolRow(a0.ID);
        PlacementTool::SelectKind(PaletteIndex("Association"));
        ASSERT_EQ(PlacementTool::GetMode(), PlacementTool::LineKind);
        EXPECT_EQ(Press(Centre(a)), CDiagramController::SymbolCreated);
        EXPECT_EQ(controller->Mode, CDiagramController::DrawNewLine);
        EXPECT_EQ(PlacementTool::GetMode(), PlacementTool::LineStarted);
        Drag(POINT{7000, 4000});
        view->Save("05-line-mid");
        EXPECT_EQ(Release(Centre(b0)), CDiagramController::SymbolCreated);
        EXPECT_EQ(PlacementTool::GetMode(), PlacementTool::None);
        const std::vector<SymbolT> lines = SymbolsOf(3, "Association");
        ASSERT_EQ(lines.size(), 1u);
        line0 = lines[0];
        EXPECT_STREQ(line0.SrcID, a.SGUID);
        EXPECT_STREQ(line0.DestID, b0.SGUID);
        EXPECT_TRUE(OnBorder(POINT{line0.x1, line0.y1}, a)) << line0.x1 << "," << line0.y1;
        EXPECT_TRUE(OnBorder(POINT{line0.x2, line0.y2}, b0)) << line0.x2 << "," << line0.y2;
        const ModelT e = ElementRow(line0.GUID);
        EXPECT_EQ(e.FID, ElementRow(a.GUID).ID);
        EXPECT_STREQ(e.Use, b0.GUID);
    });

    Step("06-bend", [&] {
        const POINT middle = view->Arrives(POINT{(line0.x1 + line0.x2) / 2, (line0.y1 + line0.y2) / 2});
        EXPECT_EQ(Press(middle, MK_CONTROL), CDiagramController::SymbolCreated);
        Release(middle, MK_CONTROL);
        int x = 0, y = 0;
        ASSERT_TRUE(GetLineNode(SymbolRow(line0.ID).Nodes, x, y, 0));
        EXPECT_EQ(x, middle.x);
        EXPECT_EQ(Press(middle), CDiagramController::SelectionChanged) << "selects the line, showing its handles";
        Release(middle);
        const POINT to = view->Arrives(POINT{middle.x, middle.y + 2500});
        EXPECT_EQ(Press(middle), 0);
        EXPECT_EQ(controller->Mode, CDiagramController::DragLineEnd);
        EXPECT_EQ(controller->HotHandle, 2);
        Drag(to);
        view->Save("06-bend-mid");
        EXPECT_EQ(Release(to), CDiagramController::ModelChanged);
        ASSERT_TRUE(GetLineNode(SymbolRow(line0.ID).Nodes, x, y, 0));
        EXPECT_EQ(y, to.y);
    });

    Step("07-line-end", [&] {
        const SymbolT line = SymbolRow(line0.ID);
        const POINT end = view->Arrives(POINT{line.x2, line.y2});
        EXPECT_EQ(Press(end), 0);
        EXPECT_EQ(controller->HotHandle, 1);
        Drag(Centre(c0));
        EXPECT_EQ(controller->GetCursorIndex(), 7) << "C accepts the end";
        view->Save("07-line-end-mid");
        EXPECT_EQ(Release(Centre(c0)), CDiagramController::ModelChanged);
        const SymbolT moved = SymbolRow(line0.ID);
        EXPECT_STREQ(moved.DestID, c0.SGUID);
        EXPECT_EQ(moved.y2, c0.y1) << "arrives at C's top from the bend point above";
        EXPECT_STREQ(ElementRow(line0.GUID).Use, c0.GUID);
    });

    Step("08-refused", [&] {
        const SymbolT line = SymbolRow(line0.ID);
        const SymbolT comment = SymbolsOf(3, "Comment")[0];
        const POINT end = view->Arrives(POINT{line.x2, line.y2});
        Press(end);
        Drag(Centre(comment));
        EXPECT_EQ(controller->GetCursorIndex(), 6) << "a comment takes no association";
        view->Save("08-refused-mid");
        Release(Centre(comment));
        EXPECT_STREQ(SymbolRow(line0.ID).DestID, c0.SGUID);
    });

    Step("09-edit", [&] {
        const SymbolT a = SymbolRow(a0.ID);
        const POINT name = view->Arrives(POINT{(a.tx1 + a.tx2) / 2, (a.ty1 + a.ty2) / 2});
        Click(name);
        EXPECT_EQ(controller->EditSymbolId, a0.ID);
        EXPECT_TRUE(view->Editor().IsWindowEnabled()) << "the editor is open";
        view->Type("Invoice");
        EXPECT_TRUE(view->EditorKey(VK_RETURN));
        EXPECT_STREQ(SymbolRow(a0.ID).Text, "Invoice");
        EXPECT_STREQ(ElementRow(a0.GUID).Name, "Invoice") << "the element takes the name";
        EXPECT_EQ(controller->EditSymbolId, -1);

        const SymbolT renamed = SymbolRow(a0.ID);
        Click(view->Arrives(POINT{(renamed.tx1 + renamed.tx2) / 2, (renamed.ty1 + renamed.ty2) / 2}));
        view->Type("Dropped");
        view->Save("09-edit-mid");
        EXPECT_TRUE(view->EditorKey(VK_ESCAPE));
        EXPECT_STREQ(SymbolRow(a0.ID).Text, "Invoice") << "Esc drops the typed text";

        // The band under the name makes a member in the box.
        const POINT band = view->Arrives(POINT{(renamed.x1 + renamed.x2) / 2, renamed.y2 - 40});
        Click(band);
        EXPECT_EQ(controller->EditSymbolId, 0);
        view->Type("count");
        EXPECT_TRUE(view->EditorKey(VK_RETURN));
        const std::vector<SymbolT> members = SymbolsOf(3, "Attribute");
        ASSERT_EQ(members.size(), 1u);
        EXPECT_EQ(members[0].FID, a0.ID);
        EXPECT_STREQ(members[0].Text, "count");
    });

    Step("10-copy-paste", [&] {
        Click(Body(SymbolRow(c0.ID)));
        ASSERT_TRUE(view->Copy());
        EXPECT_EQ(view->Paste(), 1);
        const std::vector<SymbolT> here = SymbolsOf(3, "Class");
        ASSERT_EQ(here.size(), 4u);
        EXPECT_EQ(here.back().x1, c0.x1 + 100);
        EXPECT_STREQ(here.back().GUID, c0.GUID) << "a pasted symbol shows the same element";
        ASSERT_TRUE(controller->GoToPage(1));
        EXPECT_EQ(view->Paste(), 1);
        view->Save("10-copy-paste-page2");
        const std::vector<SymbolT> there = SymbolsOf(4, "Class");
        ASSERT_EQ(there.size(), 1u);
        EXPECT_EQ(there[0].x1, c0.x1);
        ASSERT_TRUE(controller->GoToPage(0));
    });

    Step("11-drop", [&] {
        const ModelT a = ElementRow(a0.GUID);
        PlacementTool::BeginDrag(a.ID, "Class");
        const POINT spot{3000, 20000};
        EXPECT_EQ(view->Mouse(WM_MOUSEMOVE, MK_LBUTTON, spot), 0);
        EXPECT_EQ(controller->Mode, CDiagramController::DropAllowed);
        EXPECT_EQ(Release(spot), CDiagramController::SymbolCreated);
        EXPECT_EQ(PlacementTool::GetMode(), PlacementTool::None);
        std::vector<SymbolT> shown;
        for (const SymbolT& s : SymbolsOf(3, "Class"))
            if (std::string(s.GUID) == a0.GUID)
                shown.push_back(s);
        ASSERT_EQ(shown.size(), 2u);
        EXPECT_STREQ(shown[1].Text, a.Name);
    });

    Step("12-shift-delete", [&] {
        Click(Body(b0));
        EXPECT_TRUE(view->Delete(true));
        EXPECT_FALSE(ElementExists(b0.GUID));
        EXPECT_TRUE(SymbolsOf(4, "Class").size() == 1u);
        EXPECT_EQ(controller->GetSelectionCount(), 0);
    });

    // Each step undone in reverse gives back the rows it started from; redone,
    // the rows it left.
    for (auto it = steps.rbegin(); it != steps.rend(); ++it) {
        SCOPED_TRACE("undo " + it->name);
        for (int i = 0; i < 12 && Rows() != it->before; ++i)
            UndoLog::Undo();
        EXPECT_EQ(Rows(), it->before);
    }
    for (const Record& r : steps) {
        SCOPED_TRACE("redo " + r.name);
        for (int i = 0; i < 12 && Rows() != r.after; ++i)
            UndoLog::Redo();
        EXPECT_EQ(Rows(), r.after);
    }
}

} // namespace
