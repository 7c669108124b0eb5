// Message lines on a sequence diagram: where an end lands on a lifeline or on
// another target, what creation refuses, that lifelines moved or resized keep
// their message ends on the centre line in their order (and undo brings the
// rows back), that a lifeline dragged on the page takes its stop and message
// ends along, the type a text is checked against, and the mirrored method
// call.
#include "MemDB/ModelStore/ModelStoreFixture.h"
#include "PageFile.h"
#include "SymbolFixture.h"
#include "TestFolder.h"

#include "Platform/Messages.h"
#include "Pub/SyntaxRunCodec.h"
#include "Pub/TextPool.h"
#include "UML/Model/DiagramController.h"
#include "UML/Model/PageState.h"
#include "UML/Model/PageZoom.h"

#include <climits>
#include <string>
#include <vector>

namespace {

std::string Num(int v)
{
    return std::to_string(v);
}

class MessageLines : public SymbolFixture {
protected:
    MessageLines() : SymbolFixture("Sequencediagram") {}

    void SetUp() override
    {
        SymbolFixture::SetUp();
        p = DrawResources::PixelSize;
        ASSERT_GT(p, 0);
    }

    void Box(int id, RECT r)
    {
        ASSERT_TRUE(UpdateSymbolFields(id, {"x1", Num(r.left).c_str(), "y1", Num(r.top).c_str(), "x2",
                                            Num(r.right).c_str(), "y2", Num(r.bottom).c_str()}));
    }

    // A line row of key from symbol from to symbol to with the given ends,
    // written as it stands.
    int Line(const char* key, int from, int to, RECT ends)
    {
        const SymbolT a = Row(from), b = Row(to);
        const std::string src = a.SGUID, dest = b.SGUID;
        return Prototype(key)->InsertSymbolFields({"PID", Num(page).c_str(), "SrcID", src.c_str(), "DestID",
                                                   dest.c_str(), "x1", Num(ends.left).c_str(), "y1",
                                                   Num(ends.top).c_str(), "x2", Num(ends.right).c_str(), "y2",
                                                   Num(ends.bottom).c_str()});
    }

    // Puts end 0 or 1 of the line on the target at point as a drag does:
    // connected, laid out and stored.
    void Attach(int line, int end, int target, POINT point)
    {
        SymbolT row;
        oid_t oid = 0;
        ASSERT_TRUE(FetchSymbolById(line, row, &oid));
        HitSymbol t;
        t.Set(Row(target));
        CSymbol* prototype = Prototype(row.Type);
        ASSERT_TRUE(prototype->ConnectLineEnd(row, &t.rec, point, &canvas.dc, end));
        ASSERT_TRUE(prototype->Layout(row, &canvas.dc, &t.rec));
        MemDbUpdate(&SymbolT::TableInfo, &row, oid);
    }

    int Typed(const char* key, RECT box, const char* name, const std::string& typeGuid)
    {
        const int id = Place(key, box, 0, name);
        if (!typeGuid.empty()) {
            EXPECT_TRUE(Prototype(key)->UpdateElementFields(ElementOf(id).ID, {"Use", typeGuid.c_str()}));
        }
        return id;
    }

    int p = 0;
};

// Lifelines a and b with their heads at 1000..1600, a frame whose middle
// height is 6500. Expected coordinates are base + n P.
enum Target { A, B, Frame };
struct EndCase {
    const char* name;
    const char* key;
    int end;
    Target target;
    RECT line;  // x1, y1, x2, y2 before
    int px, pxP, py, pyP;
    int x, xP, y, yP;
};

const EndCase kEndCases[] = {
    {"BelowTheHead", "Message", 1, B, {2500, 3000, 8000, 3000}, 8400, 0, 5000, 0, 8500, 0, 5000, 0},
    {"OnTheHead", "Message", 1, B, {2500, 3000, 8000, 3000}, 8500, 0, 1200, 0, 8500, 0, 1600, 1},
    {"LevelledWithin2P", "Message", 1, B, {2500, 3000, 8000, 3000}, 8300, 0, 3000, 1, 8500, 0, 3000, 0},
    {"Beyond2PNotLevelled", "Message", 1, B, {2500, 3000, 8000, 3000}, 8300, 0, 3000, 2, 8500, 0, 3000, 2},
    {"SourceLevelled", "Message", 0, A, {2000, 1000, 8500, 4000}, 2400, 0, 4000, -1, 2500, 0, 4000, 0},
    {"SourceOnTheHead", "Message", 0, A, {2000, 1000, 8500, 4000}, 2500, 0, 1100, 0, 2500, 0, 1600, 1},
    {"OtherTargetMiddleHeight", "Message", 1, Frame, {2500, 3000, 0, 0}, 5000, 0, 6100, 0, 5000, 0, 6500, 0},
    {"VerticalToOtherTarget", "Message", 1, Frame, {4500, 3000, 0, 0}, 4500, 1, 6100, 0, 4500, 0, 6500, 0},
    {"OtherSourceNotSnapped", "Message", 0, Frame, {0, 0, 4500, 3000}, 4500, 1, 6100, 0, 4500, 1, 6500, 0},
    {"CreateFromTheLeft", "Create", 1, B, {2500, 3000, 0, 0}, 8500, 0, 5000, 0, 8000, 0, 1300, 0},
    {"CreateFromTheRight", "Create", 1, B, {12000, 3000, 0, 0}, 8500, 0, 5000, 0, 9000, 0, 1300, 0},
    {"CreateSourceOnTheHead", "Create", 0, A, {0, 0, 8000, 1300}, 2500, 0, 1200, 0, 2500, 0, 1600, 1},
    {"CreateSourceBelow", "Create", 0, A, {0, 0, 8000, 1300}, 2300, 0, 4000, 0, 2500, 0, 4000, 0},
    {"MethodcallLevelled", "Methodcall", 1, B, {2500, 3000, 8000, 3000}, 8500, 0, 3000, -1, 8500, 0, 3000, 0},
    {"FlowOnTheHead", "Flow", 1, B, {2500, 3000, 8000, 3000}, 8500, 0, 1600, 0, 8500, 0, 1600, 1},
};

class EndPlacement : public MessageLines, public ::testing::WithParamInterface<EndCase> {};

TEST_P(EndPlacement, PutsTheEndWhereTheSequenceNeedsIt)
{
    const EndCase& c = GetParam();
    const int ids[3] = {Place("Lifeline", RECT{2000, 1000, 2100, 1100}, 0, "a"),
                        Place("Lifeline", RECT{8000, 1000, 8100, 1100}, 0, "b"),
                        Place("Inlineframe", RECT{4000, 6000, 4100, 6100}, 0, "")};
    Box(ids[A], RECT{2000, 1000, 3000, 1600});
    Box(ids[B], RECT{8000, 1000, 9000, 1600});
    Box(ids[Frame], RECT{4000, 6000, 6000, 7000});
    SymbolT line;
    line.Type = c.key;
    line.x1 = c.line.left;
    line.y1 = c.line.top;
    line.x2 = c.line.right;
    line.y2 = c.line.bottom;
    const SymbolT target = Row(ids[c.target]);
    const POINT point{c.px + c.pxP * p, c.py + c.pyP * p};
    ASSERT_TRUE(Prototype(c.key)->ConnectLineEnd(line, &target, point, &canvas.dc, c.end));
    EXPECT_EQ(c.end == 1 ? line.x2 : line.x1, c.x + c.xP * p);
    EXPECT_EQ(c.end == 1 ? line.y2 : line.y1, c.y + c.yP * p);
    EXPECT_STREQ(c.end == 1 ? line.DestID : line.SrcID, target.SGUID);
}

INSTANTIATE_TEST_SUITE_P(Cases, EndPlacement, ::testing::ValuesIn(kEndCases),
                         [](const ::testing::TestParamInfo<EndCase>& info) { return std::string(info.param.name); });

TEST_F(MessageLines, AnEndWithoutTargetStaysAndABendPointMoves)
{
    SymbolT line;
    line.Type = "Message";
    line.x1 = 100;
    line.y1 = 200;
    line.x2 = 300;
    line.y2 = 400;
    for (const char* key : {"Message", "Create"})
        for (int end : {0, 1}) {
            SymbolT copy = line;
            EXPECT_FALSE(Prototype(key)->ConnectLineEnd(copy, nullptr, POINT{900, 900}, &canvas.dc, end));
            EXPECT_EQ(copy.x1, 100);
            EXPECT_EQ(copy.y2, 400);
        }
    TextPool.Reset();
    line.Nodes = "C8,190";
    EXPECT_TRUE(Prototype("Message")->ConnectLineEnd(line, nullptr, POINT{5000, 6000}, &canvas.dc, 2));
    EXPECT_STREQ(line.Nodes, "1388,1770");
    TextPool.Reset();
}

TEST_F(MessageLines, CreationNeedsShownLifelinesAndMakesNoElement)
{
    const int a = Place("Lifeline", RECT{2000, 1000, 2100, 1100}, 0, "a");
    const int b = Place("Lifeline", RECT{8000, 1000, 8100, 1100}, 0, "b");
    const int elements = theNextElementId;
    for (const char* key : {"Message", "Create", "Methodcall"}) {
        SCOPED_TRACE(key);
        const int id = Connect(key, a, b, "ignored");
        ASSERT_GT(id, 0);
        const SymbolT row = Row(id);
        EXPECT_EQ(row.MMC, MMC_NONE);
        EXPECT_STREQ(row.Text, "");
        EXPECT_STREQ(row.GUID, "");
        EXPECT_STREQ(row.SrcID, Row(a).SGUID);
        EXPECT_STREQ(row.DestID, Row(b).SGUID);
    }
    EXPECT_EQ(theNextElementId, elements);

    // A lifeline row that shows nothing, at either end; no destination.
    const int bare = Prototype("Lifeline")->InsertSymbolFields(
        {"PID", Num(page).c_str(), "x1", "12000", "y1", "1000", "x2", "13000", "y2", "1600"});
    EXPECT_EQ(Connect("Message", a, bare), 0);
    EXPECT_EQ(Connect("Message", bare, b), 0);
    HitSymbol source;
    source.Set(Row(a));
    ASSERT_TRUE(Prototype("Message")->CanConnect(source.rec, true));
    EXPECT_EQ(Prototype("Message")->CreateSymbol(POINT{0, 0}, POINT{1, 1}, page, "", &canvas.dc, nullptr, nullptr), 0);
}

class FlowLines : public SymbolFixture {
protected:
    FlowLines() : SymbolFixture("Activitydiagram") {}
};

TEST_F(FlowLines, JoinAnyTwoSymbolsButNotOneToItself)
{
    const int first = Place("Action", RECT{1000, 1000, 1100, 1100}, 0, "x = 1");
    const int second = Place("Action", RECT{6000, 1000, 6100, 1100}, 0, "x = 2");
    for (const char* key : {"Flow", "Activityline"}) {
        SCOPED_TRACE(key);
        EXPECT_EQ(Connect(key, first, first), 0);
        const int id = Connect(key, first, second);
        ASSERT_GT(id, 0);
        EXPECT_EQ(Row(id).MMC, MMC_NONE);
    }
}

// Twenty messages from a to b and a Create from a to c; b moved, then its
// head dragged down by its top handle, then a moved sideways.
TEST_F(MessageLines, MovedAndResizedLifelinesKeepTheirEndsInOrder)
{
    const int a = Place("Lifeline", RECT{2000, 1000, 2100, 1100}, 0, "a");
    const int b = Place("Lifeline", RECT{8000, 1000, 8100, 1100}, 0, "b");
    const int c = Place("Lifeline", RECT{14000, 1000, 14100, 1100}, 0, "c");
    std::vector<int> messages;
    for (int i = 0; i < 20; ++i) {
        const SymbolT ra = Row(a), rb = Row(b);
        const int y = ra.y2 + 1000 + 400 * i;
        const int id = Line("Message", a, b, RECT{0, 0, 0, 0});
        ASSERT_GT(id, 0);
        Attach(id, 0, a, POINT{(ra.x1 + ra.x2) / 2, y});
        Attach(id, 1, b, POINT{(rb.x1 + rb.x2) / 2, y + p});  // levelled
        messages.push_back(id);
    }
    const int create = Line("Create", a, c, RECT{0, 0, 0, 0});
    Attach(create, 0, a, POINT{0, 2000});
    Attach(create, 1, c, POINT{0, 0});
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(Row(messages[i]).y1, Row(messages[i]).y2) << i;

    const modelstore::Snapshot before = modelstore::TakeSnapshot();
    // Every end on the lifeline's centre line below its head, each message
    // lower than the one before it at both ends.
    auto expectInOrder = [&](const char* step) {
        SCOPED_TRACE(step);
        const SymbolT ra = Row(a), rb = Row(b), rc = Row(c);
        int lastA = ra.y2, lastB = rb.y2;
        for (int id : messages) {
            const SymbolT m = Row(id);
            EXPECT_EQ(m.x1, (ra.x1 + ra.x2) / 2);
            EXPECT_EQ(m.x2, (rb.x1 + rb.x2) / 2);
            EXPECT_GT(m.y1, lastA) << "message " << id;
            EXPECT_GT(m.y2, lastB) << "message " << id;
            lastA = m.y1;
            lastB = m.y2;
        }
        const SymbolT made = Row(create);
        EXPECT_EQ(made.x1, (ra.x1 + ra.x2) / 2);
        EXPECT_EQ(made.x2, made.x1 < rc.x1 ? rc.x1 : rc.x2);
        EXPECT_EQ(made.y2, (rc.y1 + rc.y2) / 2);
    };

    const int y2Before = Row(messages[0]).y2;
    UndoLog::NewGroup();
    MoveSymbol(b, &canvas.dc, SIZE{700, 2000});
    expectInOrder("moved");
    EXPECT_EQ(Row(messages[0]).y2, y2Before + 2000);
    EXPECT_EQ(Row(messages[0]).y1, y2Before);

    UndoLog::NewGroup();
    ResizeSymbol(b, SIZE{0, 5000}, 0, &canvas.dc);
    expectInOrder("head dragged down by its top handle");
    EXPECT_EQ(Row(messages[0]).y2, y2Before + 7000);
    EXPECT_EQ(Row(messages[0]).y1, y2Before);

    UndoLog::NewGroup();
    MoveSymbol(a, &canvas.dc, SIZE{3000, 0});
    expectInOrder("moved across c");

    UndoLog::NewGroup();
    MoveSymbol(c, &canvas.dc, SIZE{-11000, 0});
    expectInOrder("c moved left of a");
    EXPECT_EQ(Row(create).x2, Row(c).x2);

    for (int i = 0; i < 4; ++i)
        EXPECT_GT(UndoLog::Undo(), 0);
    EXPECT_TRUE(modelstore::SameTables(modelstore::TakeSnapshot(), before));
}

// A stereotype makes b's head taller over ends levelled 2P apart just below
// it: each goes P below the new head and 2P below the one before, none
// passing another, while their other ends stay on a.
TEST_F(MessageLines, AHeadGrownOverItsEndsPushesThemBelowInOrder)
{
    const int a = Place("Lifeline", RECT{2000, 1000, 2100, 1100}, 0, "a");
    const int b = Place("Lifeline", RECT{8000, 1000, 8100, 1100}, 0, "b");
    const int first = Row(b).y2 + p;
    std::vector<int> messages;
    for (int i = 0; i < 12; ++i) {
        const int id = Line("Message", a, b, RECT{0, 0, 0, 0});
        Attach(id, 0, a, POINT{0, first + 2 * p * i});
        Attach(id, 1, b, POINT{0, first + 2 * p * i});
        messages.push_back(id);
    }
    const std::string stereotype = NewGuid(true);
    ASSERT_GT(Prototype("Stereotype")->CreateElement(owner, "boundary", stereotype.c_str(), nullptr), 0);
    ASSERT_TRUE(UpdateSymbolFields(b, {"Stereotype", stereotype.c_str()}));
    RelayoutSymbol(b, &canvas.dc);
    const SymbolT head = Row(b);
    ASSERT_GT(head.y2, first) << "the head covers the first end";
    for (int i = 0; i < 12; ++i) {
        const SymbolT m = Row(messages[i]);
        EXPECT_EQ(m.y2, head.y2 + p + 2 * p * i) << "message " << i;
        EXPECT_EQ(m.x2, (head.x1 + head.x2) / 2);
        EXPECT_EQ(m.y1, first + 2 * p * i);
    }
}

// A lifeline b dragged through the page controller by a handle of its head
// or by its line; the head, its stop and its message ends go down the page
// together by headMoves (the bottom handle cannot resize a head that fits its
// text), while the ends on lifeline a stay.
enum Grip { TopHandle, BottomHandle, TheLine };
struct HeadDrag {
    const char* name;
    Grip grip;
    SIZE drag;
    int headMoves;
};

// A drag past the page's foot stops where the stop meets it.
const int kToTheFoot = INT_MIN;

const HeadDrag kHeadDrags[] = {
    {"TopHandleDown", TopHandle, {600, 2500}, 2500},
    {"TopHandleUp", TopHandle, {-600, -1500}, -1500},
    {"BottomHandle", BottomHandle, {600, 2500}, 0},
    {"LineMoved", TheLine, {600, 2500}, 2500},
    {"TopHandlePastTheFoot", TopHandle, {0, 60000}, kToTheFoot},
    {"LinePastTheFoot", TheLine, {0, 60000}, kToTheFoot},
};

class DraggedLifeline : public MessageLines, public ::testing::WithParamInterface<HeadDrag> {};

TEST_P(DraggedLifeline, TakesItsStopAndMessageEndsAlong)
{
    const HeadDrag& c = GetParam();
    SetZoom(1.0f);
    CDiagramController* controller = ShowPage();
    ASSERT_NE(controller, nullptr);
    const int a = Place("Lifeline", RECT{2000, 3000, 2100, 3100}, 0, "a");
    const int b = Place("Lifeline", RECT{8000, 3000, 8100, 3100}, 0, "b");
    const SymbolT headBefore = Row(b);
    const int stop = Place("Lifelinestop", RECT{8200, headBefore.y2 + 4500, 8300, headBefore.y2 + 4600}, b);
    ASSERT_GT(stop, 0);
    std::vector<int> messages;
    for (int i = 1; i <= 3; ++i) {
        const int id = Line("Message", a, b, RECT{0, 0, 0, 0});
        Attach(id, 0, a, POINT{0, headBefore.y2 + 1000 * i});
        Attach(id, 1, b, POINT{0, headBefore.y2 + 1000 * i});
        messages.push_back(id);
    }
    RelayoutSymbol(b, &canvas.dc);  // the stop onto the line
    const SymbolT stopBefore = Row(stop);
    std::vector<SymbolT> before;
    for (int id : messages)
        before.push_back(Row(id));

    controller->SetSelection(page, true, b);
    controller->DrawPage(&canvas.dc);  // the handles
    const int cx = (headBefore.x1 + headBefore.x2) / 2;
    const POINT press = c.grip == TopHandle      ? POINT{headBefore.x1, headBefore.y1}
                        : c.grip == BottomHandle ? POINT{headBefore.x2, headBefore.y2}
                                                 : POINT{cx, headBefore.y2 + 500};
    const POINT release{press.x + c.drag.cx, press.y + c.drag.cy};
    UndoLog::NewGroup();
    controller->OnMouseDown(MK_LBUTTON, press, &canvas.dc);
    controller->OnMouseMove(MK_LBUTTON, release, &canvas.dc);
    controller->OnMouseUp(0, release, &canvas.dc);
    controller->SetSelection(page, false, -1);

    // A drag to the foot is drawn with the whole page, to show where it ended.
    const int shown = c.headMoves == kToTheFoot ? thePageState.PageHeight : 12000;
    PageCanvas picture(PageCanvas::Device(11000), PageCanvas::Device(shown));
    PrepareSymbolDC(&picture.dc);
    controller->DrawPage(&picture.dc);
    picture.Save(std::string("symbols/lifeline-") + c.name);

    const int moves = c.headMoves == kToTheFoot ? thePageState.UsableHeight - stopBefore.y2 : c.headMoves;
    const SymbolT head = Row(b), stopAfter = Row(stop);
    EXPECT_EQ(head.y1, headBefore.y1 + moves);
    EXPECT_EQ(stopAfter.y1, stopBefore.y1 + moves);
    EXPECT_LE(stopAfter.y2, thePageState.UsableHeight);
    const int centre = (head.x1 + head.x2) / 2, bottom = (stopAfter.y1 + stopAfter.y2) / 2;
    for (size_t i = 0; i < messages.size(); ++i) {
        SCOPED_TRACE("message " + std::to_string(i + 1));
        const SymbolT m = Row(messages[i]);
        EXPECT_EQ(m.x1, before[i].x1);
        EXPECT_EQ(m.y1, before[i].y1);
        EXPECT_EQ(m.x2, centre);
        EXPECT_EQ(m.y2, before[i].y2 + moves);
        EXPECT_GT(m.y2, head.y2);
        EXPECT_LT(m.y2, bottom);
    }
}

INSTANTIATE_TEST_SUITE_P(Gestures, DraggedLifeline, ::testing::ValuesIn(kHeadDrags),
                         [](const ::testing::TestParamInfo<HeadDrag>& info) { return std::string(info.param.name); });

TEST_F(MessageLines, TheTextIsCheckedAgainstTheReceivingType)
{
    const int type = Prototype("Class")->CreateElement(owner, "T", NewGuid(true).c_str(), nullptr);
    ModelT t;
    ASSERT_TRUE(FetchElementById(type, t));
    const std::string typeGuid = t.GUID;
    Prototype("Signal")->CreateElement(type, "ping", NewGuid(true).c_str(), nullptr);
    Prototype("Operation")->CreateElement(type, "run", NewGuid(true).c_str(), nullptr);

    const int typed = Typed("Lifeline", RECT{2000, 1000, 2100, 1100}, "t", typeGuid);
    const int untyped = Typed("Lifeline", RECT{8000, 1000, 8100, 1100}, "u", "");
    const int lane = Typed("Timelifeline", RECT{0, 12000, 100, 12100}, "l", typeGuid);
    const std::string laneSguid = Row(lane).SGUID;
    const int timeline = Prototype("Timeline")->InsertSymbolFields(
        {"PID", Num(page).c_str(), "SrcID", laneSguid.c_str(), "x1", "3000", "y1", "13000", "x2", "5000", "y2", "13000"});
    const int defaultId = 99;
    const struct {
        int to;
        int owner;
    } cases[] = {{typed, type}, {untyped, defaultId}, {timeline, type}};
    for (const auto& c : cases) {
        const int id = Line("Message", untyped, c.to, RECT{0, 0, 0, 0});
        EXPECT_EQ(Prototype("Message")->GetOwnerElement(Row(id), defaultId), c.owner) << Row(c.to).Type;
    }
    SymbolT dangling;
    dangling.DestID = "no such symbol";
    EXPECT_EQ(Prototype("Message")->GetOwnerElement(dangling, defaultId), defaultId);

    // The name of a known signal (operation) in the behaviour colour, an
    // unknown one grey.
    const int behaviour = 0xC02040, unknown = 0x969696;
    const struct {
        const char* key;
        const char* text;
        int colour;
    } texts[] = {{"Message", "ping(1)", behaviour}, {"Message", "run(1)", unknown},
                 {"Create", "ping()", behaviour},   {"Flow", "nope()", unknown},
                 {"Methodcall", "run(2)", behaviour}, {"Methodcall", "ping(2)", unknown}};
    for (const auto& c : texts) {
        SymbolT row;
        row.Type = c.key;
        row.Text = c.text;
        row.PID = page;
        SyntaxRunCodec runs;
        runs.Attach(Prototype(c.key)->MakeSyntax(row, type));
        int offset = -1, colour = -1;
        ASSERT_TRUE(runs.NextRun(offset, colour)) << c.text;
        EXPECT_EQ(offset, 0);
        EXPECT_EQ(colour, c.colour) << c.key << " " << c.text;
    }
    SymbolT empty;
    empty.Type = "Message";
    empty.Text = "";
    EXPECT_STREQ(Prototype("Message")->MakeSyntax(empty, type), "");
}

// Left to right the call leaves the caller's box on its right; right to left
// on its left, the boxes mirrored.
TEST_F(MessageLines, AMethodCallFromTheRightMirrorsItsBoxes)
{
    for (bool leftToRight : {true, false}) {
        SCOPED_TRACE(leftToRight ? "left to right" : "right to left");
        PageCanvas picture(450, 200);
        PrepareSymbolDC(&picture.dc);
        SymbolT row;
        row.Type = "Methodcall";
        row.x1 = leftToRight ? 2000 : 9000;
        row.x2 = leftToRight ? 9000 : 2000;
        row.y1 = row.y2 = 3000;
        Prototype("Methodcall")->Draw(row, &picture.dc);
        picture.Save(std::string("symbols/methodcall-") + (leftToRight ? "right" : "left"));
        const int towards = leftToRight ? 1 : -1;
        // Within two pixels across and one up or down: dotted pens leave gaps.
        auto ink = [&](int x, int y) {
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -2; dx <= 2; ++dx)
                    if (picture.IsInk(PageCanvas::Device(x) + dx, PageCanvas::Device(y) + dy))
                        return true;
            return false;
        };
        EXPECT_TRUE(ink(row.x1 + towards * 1000, 3000));
        EXPECT_FALSE(ink(row.x1 - towards * 1000, 3000));
        EXPECT_TRUE(ink(row.x1 + towards * 1000, 3500));  // the return
        EXPECT_TRUE(ink(row.x1 - 150, 3250));              // both sides of each box
        EXPECT_TRUE(ink(row.x1 + 150, 3250));
        EXPECT_TRUE(ink(row.x2 - 150, 3250));
        EXPECT_TRUE(ink(row.x2 + 150, 3250));
        EXPECT_FALSE(ink(row.x2 + towards * 1000, 3000));
    }
}

TEST_F(MessageLines, APageOfMessagesComesBackByteForByte)
{
    const int a = Place("Lifeline", RECT{2000, 1000, 2100, 1100}, 0, "a");
    const int b = Place("Lifeline", RECT{8000, 1000, 8100, 1100}, 0, "b");
    const int c = Place("Lifeline", RECT{14000, 1000, 14100, 1100}, 0, "c");
    for (const char* key : {"Message", "Methodcall"}) {
        const int id = Connect(key, a, b);
        ASSERT_GT(id, 0);
        ASSERT_TRUE(UpdateSymbolFields(id, {"Text", "ping(1, \"x\")"}));
    }
    ASSERT_GT(Connect("Create", b, c), 0);
    const std::string dir = std::string(VEXAL_TEST_OUTPUT) + "/symbols/";
    ASSERT_TRUE(WritePageFile(dir + "messages-1.xml", page));
    const int copy = Prototype("Page")->CreateElement(diagram, "Copy", NewGuid(true).c_str(), nullptr);
    ASSERT_TRUE(ReadPageFile(dir + "messages-1.xml", copy));
    ASSERT_TRUE(WritePageFile(dir + "messages-2.xml", copy));
    const std::string first = TestFolder::Read(dir + "messages-1.xml");
    EXPECT_NE(first.find("Methodcall"), std::string::npos);
    EXPECT_EQ(first, TestFolder::Read(dir + "messages-2.xml"));
}

} // namespace
