// Faults the node and state symbols must not have: colouring a half-typed
// state name writes nothing, and the name is taken on commit or when a page
// is completed; names with quotes are compared as values; a user story
// without its story child draws as one that never had it; use case and
// junction rows apply to what they show; a use case file cannot reshape its
// element; boxes without width or height attach and hit sanely; partitions
// are hit after what is drawn over them.
#include "MemDB/ModelStore/ModelStoreFixture.h"
#include "SymbolFixture.h"
#include "TestFolder.h"
#include "UnitFile.h"

#include "Controls/ColorEdit.h"
#include "Controls/OptionTree.h"
#include "Controls/OptionTreeCheckBoxItem.h"
#include "Platform/Messages.h"
#include "Platform/Wnd.h"
#include "Pub/SyntaxRunCodec.h"
#include "Pub/TextHelpers.h"
#include "UML/Model/DiagramController.h"
#include "UML/Model/PageZoom.h"
#include "UML/Symbols/ExtendedElement.h"

#include <fstream>
#include <string>

namespace {

using modelstore::SameTables;
using modelstore::Snapshot;
using modelstore::TakeSnapshot;

const int kFound = 0xC02040, kGrey = 0x969696;

std::string Num(int v)
{
    return std::to_string(v);
}

int FirstColour(const char* runs)
{
    SyntaxRunCodec reader;
    reader.Attach(runs);
    int offset = 0, colour = -1;
    return reader.NextRun(offset, colour) ? colour : -1;
}

std::string GuidOf(int elementId)
{
    ModelT e;
    EXPECT_TRUE(FetchElementById(elementId, e));
    return e.GUID ? e.GUID : "";
}

// A timing lane typed by class T, whose state machine has the states Id,
// Idle and it's, holding one time state; the page's controller edits texts
// with an offscreen editor.
class StateNames : public SymbolFixture {
protected:
    StateNames() : SymbolFixture("Timingdiagram") {}

    void SetUp() override
    {
        SymbolFixture::SetUp();
        SetZoom(1.0f);
        const int type = Prototype("Class")->CreateElement(owner, "T", NewGuid(true).c_str(), nullptr);
        const int machine = Prototype("Statemachine")->CreateElement(type, "M", NewGuid(true).c_str(), nullptr);
        id = Prototype("State")->CreateElement(machine, "Id", NewGuid(true).c_str(), nullptr);
        idle = Prototype("State")->CreateElement(machine, "Idle", NewGuid(true).c_str(), nullptr);
        quoted = Prototype("State")->CreateElement(machine, "it's", NewGuid(true).c_str(), nullptr);
        ASSERT_GT(quoted, 0);
        lane = Place("Timelifeline", RECT{0, 1000, 100, 1100}, 0, "l");
        ASSERT_TRUE(Prototype("Timelifeline")->UpdateElementFields(ElementOf(lane).ID, {"Use", GuidOf(type).c_str()}));
        state = Place("Timestate", RECT{1000, 2000, 2000, 2500}, lane, "Run");
        ASSERT_GT(state, 0);
        RelayoutSymbol(lane, &canvas.dc);

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

    // A click on the state's text opens the editor on it.
    void Open()
    {
        const SymbolT row = Row(state);
        const POINT p{(row.tx1 + row.tx2) / 2, (row.ty1 + row.ty2) / 2};
        UndoLog::NewGroup();
        controller->OnMouseDown(MK_LBUTTON, p, &canvas.dc);
        controller->OnMouseUp(0, p, &canvas.dc);
        ASSERT_EQ(controller->EditSymbolId, state);
    }
    // Empties the open editor and types text a key at a time, each
    // keystroke coloured as the editor colours it.
    void Type(const char* text)
    {
        const CString old = editor.GetBuffer().GetJoinedText();
        editor.SetSelection(0, 0, old.GetLength(), editor.GetBuffer().GetLineCount() - 1);
        editor.InsertText("");
        for (const char* c = text; *c; ++c) {
            editor.InsertText(std::string(1, *c).c_str());
            SymbolT typed = Row(state);
            const CString joined = editor.GetBuffer().GetJoinedText();
            typed.Text = joined;
            Prototype("Timestate")->MakeSyntax(typed, 0);
        }
        UndoLog::NewGroup();
    }

    int id = 0, idle = 0, quoted = 0, lane = 0, state = 0;
    CWnd host;
    CColorEdit editor;
    CDiagramController* controller = nullptr;
};

TEST_F(StateNames, TypingThenEscapeLeavesEveryRowAsItWas)
{
    Open();
    const Snapshot before = TakeSnapshot();
    Type("Idle");
    controller->CommitTextEdit(nullptr);  // Esc
    EXPECT_TRUE(SameTables(TakeSnapshot(), before));
}

TEST_F(StateNames, CommittingTakesTheNamedStateAndRenamesNone)
{
    Open();
    Type("Idle");
    ASSERT_TRUE(controller->CommitTextEdit(&canvas.dc));
    const SymbolT row = Row(state);
    EXPECT_STREQ(row.Text, "Idle");
    EXPECT_EQ(row.GUID, GuidOf(idle));
    ModelT e;
    ASSERT_TRUE(FetchElementById(id, e));
    EXPECT_STREQ(e.Name, "Id");
    ASSERT_TRUE(FetchElementById(idle, e));
    EXPECT_STREQ(e.Name, "Idle");
}

TEST_F(StateNames, PageCompletionKeepsTheStateItTakes)
{
    for (const char* name : {"Idle", "it's"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(UpdateSymbolFields(state, {"Text", name, "GUID", ""}));
        CompletePageSymbols(page);
        const SymbolT row = Row(state);
        EXPECT_EQ(row.GUID, GuidOf(std::string(name) == "Idle" ? idle : quoted));
        EXPECT_EQ(FirstColour(row.Syntax), kFound);
    }
    ASSERT_TRUE(UpdateSymbolFields(state, {"Text", "Nowhere's", "GUID", ""}));
    CompletePageSymbols(page);
    EXPECT_STREQ(Row(state).GUID, "");
    EXPECT_EQ(FirstColour(Row(state).Syntax), kGrey);
}

// Junctions labelled alike belong together across the pages of one
// diagram; one on another diagram is no partner.
class Junctions : public SymbolFixture {
protected:
    Junctions() : SymbolFixture("Activitydiagram") {}

    int Junction(int onPage, const char* label)
    {
        return Prototype("Junction")->InsertSymbolFields(
            {"PID", Num(onPage).c_str(), "Text", label, "x1", "1000", "y1", "1000", "x2", "1500", "y2", "1500"});
    }
    int Colour(int junction) { return FirstColour(Prototype("Junction")->MakeSyntax(Row(junction), 0)); }
};

TEST_F(Junctions, ALabelWithAQuoteFindsItsPartnerOnAnotherPageOnly)
{
    const int first = Junction(page, "it's");
    EXPECT_EQ(Colour(first), 0) << "no line ends here";
    const std::string sguid = Row(first).SGUID;
    ASSERT_GT(Prototype("Flow")->InsertSymbolFields({"PID", Num(page).c_str(), "DestID", sguid.c_str()}), 0);
    EXPECT_EQ(Colour(first), kGrey);

    const int other = Prototype("Activitydiagram")->CreateElement(owner, "other", NewGuid(true).c_str(), nullptr);
    const std::vector<int> otherPages = ChildElements(other);
    ASSERT_EQ(otherPages.size(), 1u);
    Junction(otherPages[0], "it's");
    EXPECT_EQ(Colour(first), kGrey) << "another diagram's junction";

    const int second = Prototype("Page")->CreateElement(diagram, "p2", NewGuid(true).c_str(), nullptr);
    ASSERT_GT(second, 0);
    Junction(second, "its");
    EXPECT_EQ(Colour(first), kGrey);
    Junction(second, "it's");
    EXPECT_EQ(Colour(first), kFound);
}

class UseCases : public SymbolFixture {
protected:
    UseCases() : SymbolFixture("Usecasediagram") {}
    void SetUp() override
    {
        SymbolFixture::SetUp();
        ASSERT_TRUE(pane.CreateEx(0, nullptr, "pane", WS_POPUP, 0, 0, 320, 600, nullptr, nullptr));
        ASSERT_TRUE(grid.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 600), &pane, 0, 1, 90));
    }
    CWnd pane;
    COptionTree grid;
};

const int kStory = 2;

// A pasted user story keeps the has-children bit without its story.
TEST_F(UseCases, AUserStoryWithoutItsStoryDrawsAsOneThatNeverHadIt)
{
    const int id = Place("Usecase", RECT{1000, 1000, 1100, 1100}, 0, "Pay");
    SymbolT row = Row(id);
    row.ItemState = static_cast<int16_t>(kStory | SYMBOL_AUTOLAYOUT);
    PageCanvas plain(300, 300), pasted(300, 300);
    for (PageCanvas* picture : {&plain, &pasted}) {
        PrepareSymbolDC(&picture->dc);
        Prototype("Usecase")->Draw(row, &picture->dc);
        row.ItemState = static_cast<int16_t>(row.ItemState | SYMBOL_HAS_CHILDREN);
    }
    pasted.Save("symbols/usecase-story-missing");
    EXPECT_TRUE(BitmapFromHandle(plain.bitmap.m_hObject)->image == BitmapFromHandle(pasted.bitmap.m_hObject)->image);

    ASSERT_TRUE(UpdateSymbolFields(id, {"ItemState", Num(kStory | SYMBOL_AUTOLAYOUT).c_str()}));
    const int story = Place("Comment", RECT{1200, 2000, 1300, 2100}, id, "As a buyer");
    ASSERT_GT(story, 0);
    RelayoutSymbol(id, &canvas.dc);
    row = Row(id);
    EXPECT_TRUE(row.ItemState & SYMBOL_HAS_CHILDREN);
    PageCanvas told(300, 300);
    PrepareSymbolDC(&told.dc);
    Prototype("Usecase")->Draw(row, &told.dc);
    told.Save("symbols/usecase-story");
    const SymbolT text = Row(story);
    bool inked = false;
    for (int y = PageCanvas::Device(text.ty1); y <= PageCanvas::Device(text.ty2); ++y)
        for (int x = PageCanvas::Device(text.tx1); x <= PageCanvas::Device(text.tx2); ++x)
            inked = inked || told.IsInk(x, y);
    EXPECT_TRUE(inked);
}

TEST_F(UseCases, AUseCaseSwitchesToAStoryInItsRowsAndAJunctionKeepsItsStereotypeRow)
{
    const int usecase = Place("Usecase", RECT{1000, 1000, 1100, 1100}, 0, "Pay");
    SymbolT row = Row(usecase);
    COptionTreeItem* category = Prototype("Usecase")->AddSymbolProperties(row, &grid);
    ASSERT_NE(category, nullptr);
    COptionTreeItem* story = nullptr;
    for (COptionTreeItem* r = category->GetFirstChild(); r; r = r->GetNextSibling())
        if (r->GetKey() && std::string(r->GetKey()) == "Showstory")
            story = r;
    ASSERT_NE(story, nullptr);
    EXPECT_FALSE(Prototype("Usecase")->ApplySymbolProperties(usecase, row, category)) << "untouched";
    dynamic_cast<COptionTreeCheckBoxItem*>(story)->SetCheck(TRUE);
    EXPECT_TRUE(Prototype("Usecase")->ApplySymbolProperties(usecase, row, category));
    EXPECT_TRUE(row.ItemState & kStory);

    grid.DeleteAllItems();
    const int junction = Prototype("Junction")->InsertSymbolFields(
        {"PID", Num(page).c_str(), "Text", "j", "x1", "3000", "y1", "1000", "x2", "3500", "y2", "1500"});
    row = Row(junction);
    const int16_t state = row.ItemState;
    category = Prototype("Junction")->AddSymbolProperties(row, &grid);
    ASSERT_NE(category, nullptr);
    for (COptionTreeItem* r = category->GetFirstChild(); r; r = r->GetNextSibling())
        EXPECT_FALSE(r->GetKey() && std::string(r->GetKey()) == "Showstory");
    Prototype("Junction")->ApplySymbolProperties(junction, row, category);
    EXPECT_EQ(row.ItemState, state) << "the stereotype row is not the story check";
}

TEST_F(UseCases, AUnitFileCannotMoveRetypeOrRecategoriseAUseCase)
{
    TestFolder folder("usecase-unit");
    const std::string path = folder.path + "u.xml";
    {
        std::ofstream out(path);
        out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<uml version=\"UML2.0\" tool=\"Vexal 1.10.00\">"
               "<Usecase Name=\"Pay\" GUID=\""
            << NewGuid(true)
            << "\" FID=\"3E7\" Type=\"Class\" MMC=\"9\" ID=\"7\" Abstract=\"1\" EstimatedSize=\"5\" "
               "Author=\"Ann\"/></uml>\n";
    }
    const std::vector<int> loaded = ReadUnit(path, owner);
    ASSERT_EQ(loaded.size(), 1u);
    ModelT e;
    ASSERT_TRUE(FetchElementById(loaded[0], e));
    EXPECT_EQ(e.FID, owner);
    EXPECT_STREQ(e.Type, "Usecase");
    EXPECT_EQ(e.MMC, MMC_OPERATION);
    EXPECT_STREQ(e.Name, "Pay");
    ModelUsecase u;
    ASSERT_TRUE(FetchExtension(e.ID, u));
    EXPECT_EQ(u.EstimatedSize, 5);
    EXPECT_STREQ(u.Author, "Ann");
    ModelOperation o;
    ASSERT_TRUE(FetchExtension(e.ID, o));
    EXPECT_EQ(o.Abstract, 1);
}

// Boxes without width or height: lines attach at the nearest edge middle,
// a choice is hit within 150 of its bounds.
TEST(FlatBoxes, AttachAtTheNearestEdgeMiddle)
{
    const struct {
        const char* key;
        RECT box;
        POINT ref;
        POINT at;
    } cases[] = {
        {"Action", {1000, 1000, 1000, 2000}, {5000, 1500}, {1000, 1500}},
        {"Action", {1000, 1000, 1000, 2000}, {1000, 9000}, {1000, 2000}},
        {"Action", {1000, 1000, 3000, 1000}, {2000, -4000}, {2000, 1000}},
        {"Choice", {1000, 1000, 3000, 1000}, {-5000, 1200}, {1000, 1000}},
        {"Choice", {1000, 1000, 1000, 1000}, {1000, 900}, {1000, 1000}},
    };
    for (const auto& c : cases) {
        SymbolT row;
        row.Type = c.key;
        row.x1 = c.box.left;
        row.y1 = c.box.top;
        row.x2 = c.box.right;
        row.y2 = c.box.bottom;
        int x = c.ref.x, y = c.ref.y;
        Prototype(c.key)->GetAttachPoint(row, x, y, c.ref.x, c.ref.y);
        EXPECT_EQ(x, c.at.x) << c.key << " towards " << c.ref.x << "," << c.ref.y;
        EXPECT_EQ(y, c.at.y) << c.key << " towards " << c.ref.x << "," << c.ref.y;
    }
    SymbolT flat;
    flat.Type = "Choice";
    flat.x1 = 1000;
    flat.x2 = 3000;
    flat.y1 = flat.y2 = 1000;
    HitSymbol out;
    EXPECT_TRUE(Prototype("Choice")->HitTest(POINT{2000, 1150}, flat, out));
    EXPECT_TRUE(Prototype("Choice")->HitTest(POINT{850, 850}, flat, out));
    EXPECT_FALSE(Prototype("Choice")->HitTest(POINT{2000, 1151}, flat, out));
}

class Partitions : public SymbolFixture {
protected:
    Partitions() : SymbolFixture("Activitydiagram") {}
};

TEST_F(Partitions, AreHitAfterWhatIsDrawnOverThem)
{
    CDiagramController* controller = ShowPage();
    ASSERT_NE(controller, nullptr);
    const int lane = Place("Partition", RECT{1000, 1000, 9000, 20000}, 0, "Lane");
    const int first = Place("Action", RECT{2000, 3000, 2100, 3100}, 0, "a = 1");
    const int second = Place("Action", RECT{6000, 3000, 6100, 3100}, 0, "b = 2");
    const int flow = Connect("Flow", first, second);
    ASSERT_GT(flow, 0);
    const SymbolT a = Row(first), f = Row(flow), l = Row(lane);
    const struct {
        POINT at;
        int found;
    } clicks[] = {{{(a.x1 + a.x2) / 2, (a.y1 + a.y2) / 2}, first},
                  {{(f.x1 + f.x2) / 2, (f.y1 + f.y2) / 2}, flow},
                  {{(l.x1 + l.x2) / 2, l.y2 - 500}, lane}};
    for (const auto& c : clicks) {
        HitSymbol out;
        ASSERT_TRUE(controller->HitTest(c.at, out));
        EXPECT_EQ(out.rec.ID, c.found) << out.rec.Type;
    }
}

} // namespace
