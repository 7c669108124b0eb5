// The symbols inside a page's element: the attributes written per field,
// nesting, byte-identical round trips and what the reader skips.
#include "PageFile.h"
#include "SymbolFixture.h"
#include "TestFolder.h"

#include <functional>
#include <map>

namespace {

std::string PagePath(const std::string& name)
{
    return std::string(VEXAL_TEST_OUTPUT) + "/symbols/" + name + ".xml";
}

class PageXml : public SymbolFixture {
protected:
    int NewPage() { return Prototype("Page")->CreateElement(diagram, "Copy", NewGuid(true).c_str(), nullptr); }

    int PlaceOn(int pageId, const char* key, RECT box)
    {
        const int shown = page;
        page = pageId;
        const int id = Place(key, box);
        page = shown;
        return id;
    }

    void Edit(int id, const std::function<void(SymbolT&)>& change)
    {
        oid_t oid = 0;
        SymbolT row;
        ASSERT_TRUE(FetchSymbolById(id, row, &oid));
        change(row);
        MemDbUpdate(&SymbolT::TableInfo, &row, oid);
    }

    // The page's symbols by SGUID.
    std::map<std::string, SymbolT> BySguid(int pageId)
    {
        std::map<std::string, SymbolT> rows;
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        if (c.SelectByKey("PID", pageId) > 0)
            do
                rows[c->SGUID ? c->SGUID : ""] = *c.GetRecord();
            while (c.Next());
        return rows;
    }

    std::string SguidOf(int id) { return id > 0 ? Row(id).SGUID : ""; }
};

bool Same(const char* a, const char* b)
{
    return std::string(a ? a : "") == std::string(b ? b : "");
}

struct AttributeCase {
    const char* what;
    std::function<void(SymbolT&)> edit;
    const char* written;  // expected in the file, or null
    const char* absent;   // must not be in the file, or null
    std::function<void(const SymbolT&)> check;
};

TEST_F(PageXml, EachFieldIsWrittenAsItsAttributeAndReadBack)
{
    const AttributeCase cases[] = {
        {"state keeps the low bits", [](SymbolT& r) { r.ItemState = 0x8B; }, " state=\"B\"", nullptr,
         [](const SymbolT& r) { EXPECT_EQ(r.ItemState, 0x0B); }},
        {"selection alone is no state", [](SymbolT& r) { r.ItemState = 0xF0; }, nullptr, " state=",
         [](const SymbolT& r) { EXPECT_EQ(r.ItemState, 0); }},
        {"no text box, no txtarea",
         [](SymbolT& r) { r.tx1 = r.tx2 = 5; r.ty1 = r.ty2 = 7; }, nullptr, "txtarea",
         [](const SymbolT& r) { EXPECT_EQ(r.tx1, 0); EXPECT_EQ(r.ty2, 0); }},
        {"negatives",
         [](SymbolT& r) { r.x1 = -1000; r.y1 = -5; r.sterey = -16; }, " area=\"-3E8,-5,", nullptr,
         [](const SymbolT& r) { EXPECT_EQ(r.x1, -1000); EXPECT_EQ(r.y1, -5); EXPECT_EQ(r.sterey, -16); }},
        {"text box", [](SymbolT& r) { r.tx1 = 10; r.ty1 = 11; r.tx2 = 255; r.ty2 = 4096; },
         " txtarea=\"A,B,FF,1000\"", nullptr,
         [](const SymbolT& r) { EXPECT_EQ(r.tx2, 255); EXPECT_EQ(r.ty2, 4096); }},
        {"colour", [](SymbolT& r) { r.Color = 0xFFEEDD; }, " color=\"FFEEDD\"", nullptr,
         [](const SymbolT& r) { EXPECT_EQ(r.Color, 0xFFEEDD); }},
        {"multi-line text", [](SymbolT& r) { r.Text = "first\r\n\"second\""; },
         " text=\"first&#x0D;&#x0A;&quot;second&quot;\"", nullptr,
         [](const SymbolT& r) { EXPECT_STREQ(r.Text, "first\r\n\"second\""); }},
        {"model comes first", [](SymbolT& r) { r.Model = "Class"; }, " model=\"Class\" sid=", nullptr,
         [](const SymbolT& r) { EXPECT_STREQ(r.Model, "Class"); }},
        {"line ends and bends", [](SymbolT& r) { r.SrcID = "S"; r.DestID = "D"; r.Nodes = "1,2;3,4"; },
         " src=\"S\" dest=\"D\" node=\"1,2;3,4\"", nullptr,
         [](const SymbolT& r) { EXPECT_STREQ(r.SrcID, "S"); EXPECT_STREQ(r.DestID, "D"); EXPECT_STREQ(r.Nodes, "1,2;3,4"); }},
        {"stereotype", [](SymbolT& r) { r.Stereotype = "VxStereoImport00000003"; },
         " stereotype=\"VxStereoImport00000003\"", nullptr,
         [](const SymbolT& r) { EXPECT_STREQ(r.Stereotype, "VxStereoImport00000003"); }},
    };
    int n = 0;
    for (const AttributeCase& c : cases) {
        SCOPED_TRACE(c.what);
        const int from = NewPage(), to = NewPage();
        const int id = PlaceOn(from, "Fork", RECT{1000, 1000, 2000, 1050});
        Edit(id, c.edit);
        const std::string path = PagePath("attribute-" + std::to_string(n++));
        ASSERT_TRUE(WritePageFile(path, from));
        const std::string text = TestFolder::Read(path);
        if (c.written) {
            EXPECT_NE(text.find(c.written), std::string::npos) << text;
        }
        if (c.absent) {
            EXPECT_EQ(text.find(c.absent), std::string::npos) << text;
        }
        ASSERT_TRUE(ReadPageFile(path, to));
        const auto loaded = BySguid(to);
        ASSERT_EQ(loaded.size(), 1u);
        const SymbolT& back = loaded.begin()->second;
        EXPECT_STREQ(back.Type, "Fork");
        EXPECT_EQ(back.FID, 0);
        EXPECT_EQ(back.MSC, Prototype("Fork")->msc);
        c.check(back);
    }
}

TEST_F(PageXml, NestingThreeDeepComesBackUnderTheNewNumbers)
{
    const int outer = Place("Package", RECT{1000, 1000, 20000, 20000}, 0, "Outer");
    const int middle = Place("Package", RECT{2000, 2000, 15000, 15000}, outer, "Middle");
    const int inner = Place("Package", RECT{3000, 3000, 9000, 9000}, middle, "Inner");
    const int leaf = Place("Initial", RECT{4000, 4000, 4400, 4400}, inner);
    const int sibling = Place("Fork", RECT{10000, 3000, 11000, 3050}, middle);
    const int top = Place("Comment", RECT{22000, 1000, 22100, 1100}, 0, "top\r\nlevel");
    const std::string path = PagePath("nested");
    ASSERT_TRUE(WritePageFile(path, page));
    const int copy = NewPage();
    ASSERT_TRUE(ReadPageFile(path, copy));
    auto original = BySguid(page);
    auto loaded = BySguid(copy);
    ASSERT_EQ(loaded.size(), original.size());
    std::map<int, std::string> sguidOfLoaded;
    for (const auto& entry : loaded)
        sguidOfLoaded[entry.second.ID] = entry.first;
    const std::map<int, int> parents = {{outer, 0}, {middle, outer}, {inner, middle}, {leaf, inner},
                                        {sibling, middle}, {top, 0}};
    for (const auto& [id, parent] : parents) {
        const std::string sguid = SguidOf(id);
        SCOPED_TRACE(sguid);
        ASSERT_TRUE(loaded.count(sguid));
        const SymbolT& back = loaded[sguid];
        EXPECT_EQ(back.FID == 0 ? std::string() : sguidOfLoaded[back.FID], SguidOf(parent));
        const SymbolT& before = original[sguid];
        EXPECT_TRUE(Same(back.Type, before.Type));
        EXPECT_TRUE(Same(back.Text, before.Text));
        EXPECT_TRUE(Same(back.GUID, before.GUID));
        EXPECT_EQ(back.x1, before.x1);
        EXPECT_EQ(back.y2, before.y2);
        EXPECT_EQ(back.ty2, before.ty2);
        EXPECT_EQ(back.sterey, before.sterey);
        EXPECT_EQ(back.ItemState & 0x0F, before.ItemState & 0x0F);
        const bool holds = id == outer || id == middle || id == inner;
        EXPECT_EQ((back.ItemState & SYMBOL_HAS_CHILDREN) != 0, holds);
        // Ascending IDs at every level: a child is read after its parent.
        EXPECT_GT(back.ID, back.FID);
    }
}

TEST_F(PageXml, SaveLoadSaveGivesTheSameBytes)
{
    const int outer = Place("Package", RECT{1000, 1000, 20000, 20000}, 0, "Outer");
    const int inner = Place("Package", RECT{2000, 2000, 9000, 9000}, outer, "Inner");
    Place("Initial", RECT{3000, 3000, 3400, 3400}, inner);
    const int note = Place("Comment", RECT{22000, 1000, 22100, 1100}, 0, "two\r\nlines");
    Edit(note, [](SymbolT& r) {
        r.Color = 0x80FF80;
        r.ItemState |= 0x80 | 0x06;
        r.Stereotype = "VxStereoImport00000003";
    });
    const std::string first = PagePath("bytes-1"), second = PagePath("bytes-2");
    ASSERT_TRUE(WritePageFile(first, page));
    const int copy = NewPage();
    ASSERT_TRUE(ReadPageFile(first, copy));
    ASSERT_TRUE(WritePageFile(second, copy));
    EXPECT_EQ(TestFolder::Read(first), TestFolder::Read(second));
}

TEST_F(PageXml, LongTextsAreKeptWhole)
{
    const std::string note(40000, 'n');
    const std::string nodes = [] {
        std::string text;
        for (int i = 0; i < 3000; ++i)
            text += std::to_string(i) + "," + std::to_string(i) + ";";
        return text;
    }();
    const int id = Place("Comment", RECT{1000, 1000, 1100, 1100}, 0, "x");
    Edit(id, [&](SymbolT& r) {
        r.Text = note.c_str();
        r.Nodes = nodes.c_str();
        r.SrcID = "SourceSymbolIdentifier";
        r.DestID = "TargetSymbolIdentifier";
    });
    const std::string path = PagePath("long");
    ASSERT_TRUE(WritePageFile(path, page));
    const int copy = NewPage();
    ASSERT_TRUE(ReadPageFile(path, copy));
    const auto loaded = BySguid(copy);
    ASSERT_EQ(loaded.size(), 1u);
    const SymbolT& back = loaded.begin()->second;
    EXPECT_EQ(std::string(back.Text), note);
    EXPECT_EQ(std::string(back.Nodes), nodes);
    EXPECT_STREQ(back.SrcID, "SourceSymbolIdentifier");
    EXPECT_STREQ(back.DestID, "TargetSymbolIdentifier");
}

const char kHead[] = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<uml version=\"UML2.0\">\r\n";

TEST_F(PageXml, EveryStartTagOpensALevelItsEndTagCloses)
{
    // The second member of the box must stay in the box, and nothing after
    // the page's own end tag belongs to it.
    const std::string path = PagePath("members");
    TestFolder::Write(path, std::string(kHead) +
                        "<Page>\r\n"
                        "<Class sid=\"box\" area=\"0,0,1000,1000\">\r\n"
                        "<Attribute sid=\"first\" area=\"1,1,2,2\"/>\r\n"
                        "<Attribute sid=\"second\" area=\"1,3,2,4\"/>\r\n"
                        "</Class>\r\n"
                        "<Fork sid=\"top\" area=\"5,5,6,6\"/>\r\n"
                        "</Page>\r\n"
                        "<Fork sid=\"after\" area=\"5,5,6,6\"/>\r\n"
                        "</uml>\r\n");
    const int copy = NewPage();
    ASSERT_TRUE(ReadPageFile(path, copy));
    auto loaded = BySguid(copy);
    ASSERT_EQ(loaded.size(), 4u);
    const int box = loaded["box"].ID;
    EXPECT_EQ(loaded["first"].FID, box);
    EXPECT_EQ(loaded["second"].FID, box);
    EXPECT_EQ(loaded["top"].FID, 0);
    EXPECT_EQ(loaded["box"].ItemState, SYMBOL_HAS_CHILDREN);
    EXPECT_EQ(loaded["first"].ItemState, 0);
    EXPECT_EQ(loaded.count("after"), 0u);
}

TEST_F(PageXml, ElementsThatAreNoSymbolsAreSkippedWithTheirContent)
{
    const std::string path = PagePath("skipped");
    TestFolder::Write(path, std::string(kHead) +
                        "<Page>\r\n"
                        "<Bogus sid=\"bogus\"><Fork sid=\"in-bogus\"/><Fork sid=\"in-bogus-2\"></Fork></Bogus>\r\n"
                        "<Classdiagram sid=\"diagram\"><Fork sid=\"in-diagram\"/></Classdiagram>\r\n"
                        "<Page sid=\"page\"><Fork sid=\"in-page\"/></Page>\r\n"
                        "<Class sid=\"box\"><Stereo SSGUID=\"a\" Value=\"v\"><Fork sid=\"in-stereo\"/></Stereo>"
                        "<Attribute sid=\"member\"/></Class>\r\n"
                        "<Fork sid=\"last\"/>\r\n"
                        "</Page>\r\n</uml>\r\n");
    const int copy = NewPage();
    ASSERT_TRUE(ReadPageFile(path, copy));
    auto loaded = BySguid(copy);
    EXPECT_EQ(loaded.size(), 3u);
    EXPECT_EQ(loaded["member"].FID, loaded["box"].ID);
    EXPECT_EQ(loaded["last"].FID, 0);
}

TEST_F(PageXml, TheSymbolsOfAReadOnlyPageAreReadOnly)
{
    Place("Initial", RECT{1000, 1000, 1400, 1400});
    Place("Fork", RECT{3000, 1000, 4000, 1050});
    const std::string path = PagePath("read-only");
    ASSERT_TRUE(WritePageFile(path, page));
    const int copy = NewPage();
    ASSERT_TRUE(ReadPageFile(path, copy, true));
    for (const auto& entry : BySguid(copy))
        EXPECT_TRUE(entry.second.ItemState & SYMBOL_READONLY) << entry.first;
}

} // namespace
