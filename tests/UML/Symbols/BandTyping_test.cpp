// Member lines made and edited through the page controller and its in-place
// editor, as the view drives them: a click on a box's insertion band opens
// the editor there, the committed text becomes a member under the box's
// element; an emptied line goes and its element stays; every gesture undoes
// and redoes row for row.
#include "MemDB/ModelStore/ModelStoreFixture.h"
#include "SymbolFixture.h"

#include "Controls/ColorEdit.h"
#include "Platform/Messages.h"
#include "Platform/Wnd.h"
#include "Pub/TextHelpers.h"
#include "UML/Model/DiagramController.h"
#include "UML/Model/PageState.h"
#include "UML/Model/PageZoom.h"
#include "UML/Model/PlacementTool.h"
#include "UML/Symbols/ExtendedElement.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using modelstore::SameTables;
using modelstore::Snapshot;
using modelstore::TakeSnapshot;

class BandTyping : public SymbolFixture {
protected:
    void SetUp() override
    {
        SymbolFixture::SetUp();
        SetZoom(1.0f);
        ASSERT_TRUE(host.CreateEx(0, nullptr, "view", WS_POPUP, 0, 0, 600, 600, nullptr, nullptr));
        LOGFONT font{};
        font.lfHeight = 300;
        SafeStrCopy(font.lfFaceName, "Arial", sizeof font.lfFaceName);
        ASSERT_TRUE(editor.Create(WS_CHILD, &host, CRect(0, 0, 10, 10), 1, 4, font, 0));
        editor.SetMapMode(MM_HIMETRIC);
        editor.HideEdit();
        controller = ShowPage(&editor);
        ASSERT_NE(controller, nullptr);
    }
    void TearDown() override
    {
        controller->CommitTextEdit(nullptr);
        controller->Attach(owner, diagram, nullptr);
    }

    // The middle of the insertion band of member key, down the middle of the
    // box: the points whose hit is a new-member hit on the box.
    bool BandPoint(int box, const char* key, POINT& point)
    {
        const SymbolT row = Row(box);
        const int x = (row.x1 + row.x2) / 2;
        int first = 0, last = 0;
        for (int y = row.y1; y <= row.y2; y += 5) {
            HitSymbol out;
            const bool band = controller->HitTest(POINT{x, y}, out) && out.rec.ID == 0 && out.rec.FID == box &&
                              std::string(out.rec.Type) == key;
            if (band && !first)
                first = y;
            if (band)
                last = y;
        }
        point = POINT{x, (first + last) / 2};
        return first != 0;
    }
    // A click as the view sends it: an undo group for the press and one for
    // the release.
    void Click(POINT p)
    {
        UndoLog::NewGroup();
        controller->OnMouseDown(MK_LBUTTON, p, &canvas.dc);
        UndoLog::NewGroup();
        controller->OnMouseUp(0, p, &canvas.dc);
    }
    // Replaces the open editor's text and ends the edit with Enter.
    bool Commit(const char* text)
    {
        const CString old = editor.GetBuffer().GetJoinedText();
        editor.SetSelection(0, 0, old.GetLength(), editor.GetBuffer().GetLineCount() - 1);
        editor.InsertText(text);
        UndoLog::NewGroup();
        return controller->CommitTextEdit(&canvas.dc);
    }
    ModelT ElementOf(int symbolId)
    {
        ModelT element;
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        EXPECT_GT(c.SelectByKey("GUID", Row(symbolId).GUID), 0);
        if (c.GetRecord())
            element = *c.GetRecord();
        return element;
    }
    // The member lines of box in ID order.
    std::vector<SymbolT> Lines(int box)
    {
        std::vector<SymbolT> lines;
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        if (c.SelectByKey("FID", box) > 0)
            do
                lines.push_back(*c.GetRecord());
            while (c.Next());
        std::sort(lines.begin(), lines.end(), [](const SymbolT& a, const SymbolT& b) { return a.ID < b.ID; });
        return lines;
    }
    // Undo takes the tables back to before, redo forward to after.
    void ExpectUndoRowForRow(const Snapshot& before)
    {
        const Snapshot after = TakeSnapshot();
        UndoLog::Undo();
        EXPECT_TRUE(SameTables(TakeSnapshot(), before)) << "undo";
        UndoLog::Redo();
        EXPECT_TRUE(SameTables(TakeSnapshot(), after)) << "redo";
    }

    CWnd host;
    CColorEdit editor;
    CDiagramController* controller = nullptr;
};

struct BandCase {
    const char* box;
    const char* member;
    const char* typed;
    const char* name;      // the new element's Name
    const char* typeName;  // the Name of the classifier its Use names; "" none
};

const BandCase kBands[] = {
    {"Class", "Attribute", "+ size : Integer [0..1]", "size", "Integer"},
    {"Class", "Operation", "# area(s : Integer) : Integer", "area", "Integer"},
    {"Interface", "Attribute", "limit", "limit", ""},
    {"Interface", "Operation", "run()", "run", ""},
    {"Artifact", "Attribute", "path : Integer", "path", "Integer"},
    {"Enumeration", "Literal", "Red", "Red", ""},
    {"Stereotype", "Attribute", "table : Integer", "table", "Integer"},
};

TEST_F(BandTyping, TypingInEachBandMakesAMemberOfTheBoxsElementAndUndoesRowForRow)
{
    const int integer = Place("Class", RECT{12000, 1000, 12100, 1100}, 0, "Integer");
    const std::string integerGuid = ElementOf(integer).GUID;
    int x = 1000;
    for (const BandCase& c : kBands) {
        SCOPED_TRACE(std::string(c.box) + " " + c.member);
        const int box = Place(c.box, RECT{x, 1000, x + 100, 1100}, 0, "Holder");
        x += 1500;
        const int holder = ElementOf(box).ID;
        POINT band;
        ASSERT_TRUE(BandPoint(box, c.member, band));
        const Snapshot before = TakeSnapshot();
        Click(band);
        ASSERT_EQ(controller->EditSymbolId, 0) << "the editor opens on the band";
        ASSERT_TRUE(Commit(c.typed));

        const std::vector<SymbolT> lines = Lines(box);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_STREQ(lines[0].Type, c.member);
        EXPECT_EQ(lines[0].PID, page);
        const ModelT member = ElementOf(lines[0].ID);
        EXPECT_EQ(member.FID, holder);
        EXPECT_STREQ(member.Name, c.name);
        EXPECT_STREQ(IsEmpty(member.Use) ? "" : member.Use, *c.typeName ? integerGuid.c_str() : "");
        EXPECT_GT(Row(box).y2, lines[0].y2) << "the box grew around its line";
        ExpectUndoRowForRow(before);
    }
}

TEST_F(BandTyping, AnEmptyCommitRemovesTheLineAndKeepsTheElement)
{
    const int box = Place("Class", RECT{1000, 1000, 1100, 1100}, 0, "Holder");
    POINT band;
    ASSERT_TRUE(BandPoint(box, "Attribute", band));
    Click(band);
    ASSERT_TRUE(Commit("count"));
    const std::vector<SymbolT> lines = Lines(box);
    ASSERT_EQ(lines.size(), 1u);
    const int line = lines[0].ID;
    const int element = ElementOf(line).ID;

    const POINT onLine{(lines[0].tx1 + lines[0].tx2) / 2, (lines[0].ty1 + lines[0].ty2) / 2};
    Click(onLine);
    ASSERT_EQ(controller->EditSymbolId, line) << "the editor opens on the line";
    const Snapshot before = TakeSnapshot();  // the click selected the line, which undo leaves alone
    Commit("");
    EXPECT_EQ(CountSymbols("ID", line), 0);
    ModelT kept;
    EXPECT_TRUE(FetchElementById(element, kept));
    ModelAttribute extension;
    EXPECT_TRUE(FetchExtension(element, extension));
    ExpectUndoRowForRow(before);
}

TEST_F(BandTyping, AnEmptyCommitOnABandMakesNothing)
{
    const int box = Place("Class", RECT{1000, 1000, 1100, 1100}, 0, "Holder");
    POINT band;
    ASSERT_TRUE(BandPoint(box, "Operation", band));
    const Snapshot before = TakeSnapshot();
    Click(band);
    EXPECT_FALSE(Commit(""));
    EXPECT_TRUE(SameTables(TakeSnapshot(), before));
}

// While a member is typed into a band the editor colours it as a line of
// that band's kind, the box's element giving the scope of its types.
TEST_F(BandTyping, TheEditorColoursTheTypedTextAsTheBandsKind)
{
    const int box = Place("Class", RECT{1000, 1000, 1100, 1100}, 0, "Holder");
    Place("Class", RECT{9000, 1000, 9100, 1100}, 0, "Integer");
    const struct {
        const char* member;
        const char* typed;
    } cases[] = {
        {"Attribute", "-count : Integer [0..1]"},
        {"Operation", "+ area(s : Integer) : Nowhere"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.member);
        POINT band;
        ASSERT_TRUE(BandPoint(box, c.member, band));
        Click(band);
        ASSERT_EQ(controller->EditSymbolId, 0);
        const CString old = editor.GetBuffer().GetJoinedText();
        editor.SetSelection(0, 0, old.GetLength(), editor.GetBuffer().GetLineCount() - 1);
        editor.InsertText(c.typed);
        SymbolT line;
        line.Type = c.member;
        line.Text = c.typed;
        const std::string expected = Prototype(c.member)->MakeSyntax(line, ElementOf(box).ID);
        ASSERT_NE(editor.GetBuffer().GetRunText(), nullptr);
        EXPECT_EQ(editor.GetBuffer().GetRunText(), expected);
        controller->CommitTextEdit(nullptr);
    }
}

// A browser drag of an attribute onto a box shows it there when the box's
// element owns it; an attribute of another classifier makes nothing.
TEST_F(BandTyping, DroppingAnAttributeShowsItOnlyInItsOwnersBox)
{
    const int holder = Place("Class", RECT{1000, 1000, 1100, 1100}, 0, "Holder");
    const int other = Place("Class", RECT{9000, 1000, 9100, 1100}, 0, "Other");
    const int own = Prototype("Attribute")->CreateElement(ElementOf(holder).ID, "own", NewGuid(true).c_str(), nullptr);
    const int foreign =
        Prototype("Attribute")->CreateElement(ElementOf(other).ID, "foreign", NewGuid(true).c_str(), nullptr);
    POINT band;
    ASSERT_TRUE(BandPoint(holder, "Attribute", band));
    const auto drop = [&](int element) {
        PlacementTool::BeginDrag(element, "Attribute");
        UndoLog::NewGroup();
        controller->OnMouseMove(MK_LBUTTON, band, &canvas.dc);
        UndoLog::NewGroup();
        controller->OnMouseUp(0, band, &canvas.dc);
    };

    const Snapshot before = TakeSnapshot();
    drop(foreign);
    EXPECT_TRUE(SameTables(TakeSnapshot(), before)) << "nothing is made";

    drop(own);
    const std::vector<SymbolT> lines = Lines(holder);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(ElementOf(lines[0].ID).ID, own);
    EXPECT_STREQ(lines[0].Text, "- own");
    ExpectUndoRowForRow(before);
}

} // namespace
